// Error-information objects as scripts see them: the reading view of a real
// failure, the creation view's write rules, chaining and clearing.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "dax/framework/script_host.h"
#include "dax64.h"
#include "framework/errors/error_info_view.h"
#include "platform/kernel.h"

namespace dax_test {
namespace {

using namespace Ostrel::Zam;

const ScriptHost kVBScript(Language::kVBScript);

int32_t ReadI4(IDispatch *o, const char *name) {
    return kVBScript.Read(o, name).value.AsI4();
}
std::string ReadText(IDispatch *o, const char *name) {
    return kVBScript.Read(o, name).value.AsText();
}

// Days since 1899-12-30 of the current UTC time.
double UtcNowAsDate() {
    return static_cast<double>(std::time(nullptr)) / 86400.0 + 25569.0;
}

TEST(ErrorInfoView, ReadsTheThreadErrorOfARealFailure) {
    ASSERT_EQ(DaxTestFault(5), static_cast<int32_t>(0xE2090003u));
    const platform::ComPtr<IDispatch> error = ThreadErrorInfoView();
    ASSERT_TRUE(error);
    EXPECT_EQ(ReadI4(error.Get(), "Number"), static_cast<int32_t>(0xE2090003u));
    EXPECT_EQ(ReadText(error.Get(), "Source"), "Test.DaxTestFault");
    EXPECT_EQ(ReadText(error.Get(), "Description"), "Data is invalid");
    EXPECT_EQ(ReadText(error.Get(), "Message"), "Error E2090003h: Data is invalid");
    EXPECT_EQ(ReadI4(error.Get(), "PID"), static_cast<int32_t>(platform::CurrentProcessId()));
    const Outcome stamp = kVBScript.Read(error.Get(), "TimeStamp");
    ASSERT_EQ(stamp.value.Type(), VT_DATE);
    EXPECT_LT(std::fabs((*stamp.value).date - UtcNowAsDate()), 60.0 / 86400.0);
    // The default member is Number; the reading view refuses writes.
    EXPECT_EQ(
        kVBScript.InvokeRaw(error.Get(), DISPID_VALUE, DISPATCH_PROPERTYGET, {}, {}).value.AsI4(),
        static_cast<int32_t>(0xE2090003u));
    EXPECT_NE(kVBScript.Assign(error.Get(), "Number", Value::I4(1)).result, S_OK);
    EXPECT_NE(kVBScript.Call(error.Get(), "Clear").result, S_OK);
}

TEST(ErrorInfoView, FreshAndClearedObjectsHoldTheInitialValues) {
    const platform::ComPtr<IDispatch> error = NewErrorInfoObject();
    ASSERT_TRUE(error);
    const auto expect_initial = [&] {
        EXPECT_EQ(ReadI4(error.Get(), "Number"), 0);
        EXPECT_EQ(ReadText(error.Get(), "Description"), "");
        EXPECT_EQ(ReadText(error.Get(), "Source"), "");
        EXPECT_EQ(ReadText(error.Get(), "Message"), "");
        EXPECT_EQ(ReadI4(error.Get(), "HelpContext"), -1);
        EXPECT_EQ(ReadI4(error.Get(), "PID"), static_cast<int32_t>(platform::CurrentProcessId()));
        const Outcome dump = kVBScript.Read(error.Get(), "Dump");
        ASSERT_EQ(dump.value.Type(), VT_ARRAY | VT_UI1);
        LONG upper = 0;
        SafeArrayGetUBound((*dump.value).parray, 1, &upper);
        EXPECT_EQ(upper, -1);
    };
    expect_initial();
    ASSERT_EQ(kVBScript.Assign(error.Get(), "Description", Value::Text("broken")).result, S_OK);
    ASSERT_EQ(kVBScript.Assign(error.Get(), "Source", Value::Text("Lab.Run")).result, S_OK);
    ASSERT_EQ(kVBScript.Assign(error.Get(), "HelpContext", Value::I4(7)).result, S_OK);
    ASSERT_EQ(kVBScript.Assign(error.Get(), "Dump", Value::Text("\x01\x02")).result, S_OK);
    ASSERT_EQ(kVBScript.Call(error.Get(), "Clear").result, S_OK);
    expect_initial();
}

TEST(ErrorInfoView, NumberWritesFollowTheRaisedCodeRule) {
    const platform::ComPtr<IDispatch> error = NewErrorInfoObject();
    ASSERT_EQ(kVBScript.Assign(error.Get(), "Number", Value::I4(5)).result, S_OK);
    EXPECT_EQ(ReadI4(error.Get(), "Number"), static_cast<int32_t>(0xE20F0005u));
    EXPECT_LT(ReadI4(error.Get(), "Number"), 0);
    ASSERT_EQ(kVBScript.Assign(error.Get(), "Number", Value::I4(static_cast<int32_t>(0x80020003u)))
                  .result,
              S_OK);
    EXPECT_EQ(ReadI4(error.Get(), "Number"), static_cast<int32_t>(0x80020003u));
    EXPECT_EQ(ReadText(error.Get(), "Message"), "Error 80020003h: Member not found");
    EXPECT_EQ(ErrorNumberFromScript(0xFFFF), static_cast<int32_t>(0xE20FFFFFu));
    EXPECT_EQ(ErrorNumberFromScript(0x10000), static_cast<int32_t>(0xC0010000u));
}

TEST(ErrorInfoView, TextsClearWhenEmptyAndTheHelpLinkSplits) {
    const platform::ComPtr<IDispatch> error = NewErrorInfoObject();
    ASSERT_EQ(kVBScript.Assign(error.Get(), "Description", Value::Text("broken")).result, S_OK);
    EXPECT_EQ(ReadText(error.Get(), "Description"), "broken");
    ASSERT_EQ(kVBScript.Assign(error.Get(), "Description", Value::Text("")).result, S_OK);
    EXPECT_EQ(ReadText(error.Get(), "Description"), "");

    ASSERT_EQ(kVBScript.Assign(error.Get(), "HelpLink", Value::Text("lab.chm#Ports")).result, S_OK);
    EXPECT_EQ(ReadText(error.Get(), "HelpFile"), "lab.chm");
    EXPECT_EQ(ReadText(error.Get(), "HelpKeyword"), "Ports");
    ASSERT_EQ(kVBScript.Assign(error.Get(), "HelpFile", Value::Text("new.chm")).result, S_OK);
    EXPECT_EQ(ReadText(error.Get(), "HelpLink"), "new.chm#Ports");
    EXPECT_NE(kVBScript.Assign(error.Get(), "HelpKeyword", Value::Text("x")).result, S_OK);
}

TEST(ErrorInfoView, DumpKeepsItsBytes) {
    const platform::ComPtr<IDispatch> error = NewErrorInfoObject();
    ASSERT_EQ(kVBScript.Assign(error.Get(), "Dump", Value::Text(std::string("a\0b", 3))).result,
              S_OK);
    const Outcome dump = kVBScript.Read(error.Get(), "Dump");
    ASSERT_EQ(dump.value.Type(), VT_ARRAY | VT_UI1);
    void *bytes = nullptr;
    ASSERT_EQ(SafeArrayAccessData((*dump.value).parray, &bytes), S_OK);
    EXPECT_EQ(std::string(static_cast<const char *>(bytes), 3), std::string("a\0b", 3));
    SafeArrayUnaccessData((*dump.value).parray);
}

platform::ComPtr<ICreateErrorInfoExA> WriterOf(IDispatch *view) {
    auto *object = static_cast<CICreateErrorInfoExImpl *>(FrameworkObjectOf(view));
    return platform::ComPtr<ICreateErrorInfoExA>(object->Writer());
}

TEST(ErrorInfoView, CircularInnerChainsAreRefused) {
    const platform::ComPtr<IDispatch> a = NewErrorInfoObject();
    const platform::ComPtr<IDispatch> b = NewErrorInfoObject();
    const auto writer_a = WriterOf(a.Get());
    const auto writer_b = WriterOf(b.Get());
    ASSERT_EQ(writer_a->SetInnerErrorInfo(writer_b.Get()), S_OK);
    EXPECT_LT(writer_b->SetInnerErrorInfo(writer_a.Get()), 0);
    EXPECT_EQ(ZamGetLastError(), static_cast<int32_t>(0xC0000000u));
    char *text = ZamGetLastErrorDescriptionA();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text,
                 "Call to ICreateErrorInfoEx::SetInnerErrorInfo would cause circular reference");
    VekTextFree(text);
    EXPECT_LT(writer_a->SetInnerErrorInfo(writer_a.Get()), 0);
    // B is unchanged; A still leads to B.
    platform::ComPtr<IErrorInfoExA> inner;
    ASSERT_EQ(static_cast<CIErrorInfoExImpl *>(FrameworkObjectOf(b.Get()))
                  ->Info()
                  ->GetInnerError(inner.Out()),
              S_OK);
    EXPECT_FALSE(inner);
    ASSERT_EQ(writer_a->SetInnerErrorInfo(nullptr), S_OK);
    EXPECT_EQ(writer_b->SetInnerErrorInfo(writer_a.Get()), S_OK);
}

TEST(ErrorInfoView, ClearingTheThreadErrorDropsItFromTheThread) {
    ASSERT_LT(DaxTestFault(5), 0);
    platform::ComPtr<IUnknown> current;
    ASSERT_EQ(ZamGetErrorInfo(&kIID_IErrorInfoExA, current.OutVoid()), S_OK);
    const platform::ComPtr<IDispatch> writable = CreateErrorInfoView(current.Get());
    ASSERT_TRUE(writable);
    ASSERT_EQ(kVBScript.Call(writable.Get(), "Clear").result, S_OK);
    EXPECT_EQ(ZamGetLastError(), 0);
    EXPECT_FALSE(ThreadErrorInfoView());
}

}  // namespace
}  // namespace dax_test
