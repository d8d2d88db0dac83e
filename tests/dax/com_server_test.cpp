// The COM server exports of the shared library, as the system and regsvr32 call them:
// class lookup, the module lock and self-registration. The library serves the class
// "ServerProbe" in testing builds (Answer = 42).
#include <gtest/gtest.h>

#include <string>

#include "dax64_server.h"
#include "platform/class_registry.h"
#include "platform/com.h"
#include "platform/kernel.h"
#include "support/taken_text.h"
#include "vek64_objects.h"

namespace {

using platform::ComPtr;
using test_support::Take;

constexpr GUID kServerProbeClsId = {
    0x0640C0DE, 0x5E7E, 0x4B0B, {0x9E, 0x01, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};
constexpr GUID kUnknownClsId = {
    0x0640C0DE, 0x0000, 0x0000, {0x00, 0x00, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};
constexpr HRESULT kClassNotAvailable = static_cast<HRESULT>(0x80040111);
constexpr const char *kProbeProgId = "dax64.ServerProbe";

int32_t AnswerOf(IDispatch *object) {
    platform::Bstr name(platform::BstrFromText("Answer"));
    LPOLESTR names[] = {name.Get()};
    DISPID id = 0;
    EXPECT_EQ(object->GetIDsOfNames(platform::kGUID_NULL, names, 1, 0, &id), S_OK);
    DISPPARAMS none{};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(object->Invoke(id, platform::kGUID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result,
                             nullptr, nullptr),
              S_OK);
    const int32_t answer = result.vt == VT_I4 ? result.lVal : -1;
    VariantClear(&result);
    return answer;
}

TEST(DllGetClassObject, HandsOutTheClassObjectOfAServedClass) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(
        DllGetClassObject(&kServerProbeClsId, &platform::kIID_IClassFactory, factory.OutVoid()),
        S_OK);
    ComPtr<IDispatch> probe;
    ASSERT_EQ(factory->CreateInstance(nullptr, platform::kIID_IDispatch, probe.OutVoid()), S_OK);
    EXPECT_EQ(AnswerOf(probe.Get()), 42);
}

TEST(DllGetClassObject, RefusesUnknownClassesAndMissingPointers) {
    void *object = &object;
    EXPECT_EQ(DllGetClassObject(&kUnknownClsId, &platform::kIID_IClassFactory, &object),
              kClassNotAvailable);
    EXPECT_EQ(object, nullptr);
    // A served class asked for an interface its class object lacks.
    object = &object;
    EXPECT_EQ(DllGetClassObject(&kServerProbeClsId, &platform::kIID_IErrorInfo, &object),
              kClassNotAvailable);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(DllGetClassObject(&kServerProbeClsId, &platform::kIID_IClassFactory, nullptr),
              E_POINTER);
    EXPECT_EQ(DllGetClassObject(nullptr, &platform::kIID_IClassFactory, &object), E_INVALIDARG);
}

TEST(DllCanUnloadNow, TheClassObjectsKeepTheModuleLockedForItsLife) {
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    EXPECT_EQ(DllLockModule(1), 0);
    EXPECT_EQ(DllLockModule(0), 0);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
}

TEST(DllRegisterServer, EntersTheServedClassesUnderTheModuleName) {
    platform::ComApartment apartment;
    // Under Wine the entries are the prefix's, which the script tests use too.
    char *before = ZamGetCOMClassEntryA(kProbeProgId, ZAM_CLASS_ENTRY_CLASS_ID);
    const bool was_registered = before != nullptr;
    VekTextFree(before);
    ASSERT_EQ(DllRegisterServer(), S_OK);
    const std::string server =
        Take(ZamGetCOMClassEntryA(kProbeProgId, ZAM_CLASS_ENTRY_SERVER)).value_or("");
    const std::string file_name = platform::SharedLibraryFileName("dax64");
    ASSERT_GE(server.size(), file_name.size());
    EXPECT_EQ(server.substr(server.size() - file_name.size()), file_name);
    EXPECT_EQ(Take(ZamGetCOMClassEntryA(kProbeProgId, ZAM_CLASS_ENTRY_CLASS_ID)),
              platform::ClassIdText(kServerProbeClsId));
    EXPECT_EQ(Take(ZamGetCOMClassEntryA(kProbeProgId, ZAM_CLASS_ENTRY_THREADING)), "Both");

    // The registered class is created through the system's class lookup.
    ComPtr<IDispatch> probe;
    ASSERT_EQ(ZamCreateCOMObjectA(kProbeProgId, nullptr, nullptr, 0x17, nullptr, probe.OutVoid()),
              0);
    EXPECT_EQ(AnswerOf(probe.Get()), 42);
    probe = ComPtr<IDispatch>();

    EXPECT_EQ(DllUnregisterServer(), S_OK);
    EXPECT_EQ(ZamGetCOMClassEntryA(kProbeProgId, ZAM_CLASS_ENTRY_CLASS_ID), nullptr);
    EXPECT_EQ(ZamCreateCOMObjectA(kProbeProgId, nullptr, nullptr, 0x17, nullptr, probe.OutVoid()),
              static_cast<int32_t>(0xC0040154));
    // Unregistering again finds nothing to remove, and says so by success.
    EXPECT_EQ(DllUnregisterServer(), S_OK);
    if (was_registered) {
        EXPECT_EQ(DllRegisterServer(), S_OK);
    }
}

}  // namespace
