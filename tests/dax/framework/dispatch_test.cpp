// The dispatch doors driven as VBScript and JScript drive them, and the call
// shapes they send.
#include <gtest/gtest.h>

#include "dax/frame_test_support.h"
#include "dax/framework/script_host.h"
#include "dax/framework/test_port.h"
#include "framework/descriptors/descriptor_collection.h"
#include "framework/dispatch/invoke_by_name.h"

namespace dax_test {
namespace {

const ScriptHost kVBScript(Language::kVBScript);
const ScriptHost kJScript(Language::kJScript);

class BothHosts : public testing::TestWithParam<Language> {
  protected:
    ScriptHost host{GetParam()};
    platform::ComPtr<TestPort> port = NewPort();
    IDispatch *o = port->AsDispatch();
};

INSTANTIATE_TEST_SUITE_P(Hosts, BothHosts, testing::Values(Language::kVBScript, Language::kJScript),
                         [](const testing::TestParamInfo<Language> &param) {
                             return param.param == Language::kVBScript ? "VBScript" : "JScript";
                         });

TEST_P(BothHosts, ReadsAndAssignsTypedProperties) {
    EXPECT_EQ(host.Read(o, "name").value.AsText(), "COM1");
    ASSERT_EQ(host.Assign(o, "Baud", Value::Text("19200")).result, S_OK);
    EXPECT_EQ(port->baud, 19200);
    ASSERT_EQ(host.Assign(o, "ENABLED", Value::I4(1)).result, S_OK);
    EXPECT_TRUE(port->enabled);
    const Outcome baud = host.Read(o, "Baud");
    EXPECT_EQ(baud.value.Type(), VT_I4);
    EXPECT_EQ(baud.value.AsI4(), 19200);
    ASSERT_EQ(host.Assign(o, "Bits", Value::I4(7), {Value::I4(3)}).result, S_OK);
    EXPECT_EQ(port->bits[2], 7);
    EXPECT_EQ(host.Read(o, "Bits", {Value::I4(3)}).value.AsI4(), 7);
}

TEST_P(BothHosts, CallsMethodsWithDefaultsAndFrameworkMembers) {
    EXPECT_EQ(host.Read(o, "Open", {Value::Text("rw")}).value.AsText(), "COM1:rw:1000");
    EXPECT_EQ(host.Read(o, "Open", {Value::Text("r"), Value::Text("5")}).value.AsText(),
              "COM1:r:5");
    EXPECT_EQ(host.Read(o, "Sum", {Value::I4(2), Value::I4(3)}).value.AsI4(), 5);
    EXPECT_EQ(host.Call(o, "ToString").result, S_OK);
    port->name = "COM7";
    const Outcome copy = host.Read(o, "Clone", {Value::I4(0)});
    EXPECT_NE(copy.result, S_OK);  // Clone takes no argument
    const Outcome clone = kVBScript.Read(o, "Clone");
    ASSERT_EQ(clone.result, S_OK);
    EXPECT_EQ(kVBScript.Read(clone.value.AsObject(), "ToString").value.AsText(), "Port COM7");
    const Outcome cls = kVBScript.Read(o, "Class");
    EXPECT_EQ(kVBScript.Read(cls.value.AsObject(), "ClsId").value.AsText(),
              "{0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9}");
}

TEST_P(BothHosts, ObjectAssignmentsFollowTheFlags) {
    auto other = NewPort();
    other->name = "COM9";
    // VBScript's Set and JScript's object assignment store the object itself.
    ASSERT_EQ(host.Assign(o, "Peer", Value::Object(other->AsDispatch()), {}, true).result, S_OK);
    EXPECT_EQ(port->peer.Get(), other->AsDispatch());
    // VBScript's plain assignment of an object assigns its default value.
    ASSERT_EQ(kVBScript.Assign(o, "Name", Value::Object(other->AsDispatch())).result, S_OK);
    EXPECT_EQ(port->name, "COM9");
    // When reading that default value fails, the assignment fails with its code.
    const Outcome cls = kVBScript.Read(o, "Class");
    const Outcome members = kVBScript.Read(cls.value.AsObject(), "Members");
    const Outcome refused = kVBScript.Assign(o, "Name", members.value);
    EXPECT_EQ(refused.result, DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(refused.scode), 0x80020004u);  // Item misses its index
    EXPECT_EQ(port->name, "COM9");
}

TEST(Dispatch, PlainPutOfNullObjectAndPutRefOfValueAreRefused) {
    auto port = NewPort();
    IDispatch *o = port->AsDispatch();
    const DISPID peer = TestPort::Class().FindMember("Peer")->DispId();
    Outcome null_object = kVBScript.InvokeRaw(o, peer, DISPATCH_PROPERTYPUT,
                                              {Value::Object(nullptr)}, {DISPID_PROPERTYPUT});
    EXPECT_EQ(null_object.result, DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(null_object.scode), 0x80020005u);
    EXPECT_EQ(null_object.description, "Cannot get default property: Instance is Null");
    Outcome put_ref =
        kVBScript.InvokeRaw(o, peer, DISPATCH_PROPERTYPUTREF, {Value::I4(3)}, {DISPID_PROPERTYPUT});
    EXPECT_EQ(put_ref.description, "Bad value type: Long when expecting Object");
    EXPECT_EQ(put_ref.source, "Ostrel.Zam.MemberDescriptorHelper._Invoke");
    // 0xC with a plain value assigns the value.
    ASSERT_EQ(kJScript.InvokeRaw(o, peer, 0xC, {Value::I4(3)}, {DISPID_PROPERTYPUT}).result, S_OK);
    EXPECT_EQ(port->secret, "peer set to a value");
}

TEST(Dispatch, VBScriptNeverCreatesMembersAndJScriptEnsureFindsNone) {
    auto port = NewPort();
    DISPID id = 0;
    EXPECT_EQ(kVBScript.Lookup(port->AsDispatch(), "Missing", true, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
    EXPECT_EQ(kJScript.Lookup(port->AsDispatch(), "Missing", true, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(kJScript.Lookup(port->AsDispatch(), "name", false, &id), S_OK);
    EXPECT_EQ(id, DISPID_VALUE);
    EXPECT_EQ(TestPort::Class().Members().NameCount(), 14u);
}

TEST(Dispatch, JScriptForInListsVisibleMembersAndDeleteKeepsThem) {
    auto port = NewPort();
    const auto names = kJScript.ForIn(port->AsDispatch());
    const std::vector<std::string> expected = {
        "Baud", "Bits", "Class", "Clone",  "Enabled", "Fail",     "Id",
        "Name", "Open", "Peer",  "Secret", "Sum",     "ToString", "_CreateInstance"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(kJScript.Delete(port->AsDispatch(), "Baud"), S_FALSE);
    EXPECT_EQ(kJScript.Delete(port->AsDispatch(), "Nothing"), S_OK);
    EXPECT_EQ(kJScript.Read(port->AsDispatch(), "Baud").value.AsI4(), 9600);
}

TEST(Dispatch, MemberPropertiesFollowAccessAndTheFetchedBits) {
    auto port = NewPort();
    const auto properties = [&](const char *name, DWORD fetch) {
        DWORD found = 0xFFFFFFFF;
        EXPECT_EQ(
            port->GetMemberProperties(TestPort::Class().FindMember(name)->DispId(), fetch, &found),
            S_OK);
        return found;
    };
    const DWORD access = fdexPropCanGet | fdexPropCannotGet | fdexPropCanPut | fdexPropCannotPut;
    EXPECT_EQ(properties("Baud", access), fdexPropCanGet | fdexPropCanPut);
    EXPECT_EQ(properties("Id", access), fdexPropCanGet | fdexPropCannotPut);      // read-only
    EXPECT_EQ(properties("Secret", access), fdexPropCannotGet | fdexPropCanPut);  // write-only
    EXPECT_EQ(properties("Open", fdexPropCanCall | fdexPropCannotCall), fdexPropCanCall);
    EXPECT_EQ(properties("Baud", fdexPropCanCall | fdexPropCannotCall), fdexPropCannotCall);
}

TEST(Dispatch, ArgumentsAreReadThroughReferences) {
    auto port = NewPort();
    // A by-reference VARIANT that refers to a by-reference VARIANT, then a BSTR by reference.
    platform::Bstr mode(platform::BstrFromText("ro"));
    VARIANT inner;
    VariantInit(&inner);
    inner.vt = VT_BYREF | VT_BSTR;
    BSTR mode_text = mode.Get();
    inner.byref = &mode_text;
    VARIANT outer;
    VariantInit(&outer);
    outer.vt = VT_BYREF | VT_VARIANT;
    outer.pvarVal = &inner;
    DISPPARAMS block = {&outer, nullptr, 1, 0};
    Value result;
    ASSERT_EQ(port->Invoke(TestPort::Class().FindMember("Open")->DispId(), platform::kGUID_NULL, 0,
                           DISPATCH_METHOD, &block, result.Get(), nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.AsText(), "COM1:ro:1000");
    // A chain of four references to references is followed; a fifth is refused.
    VARIANT chain[5];
    for (int i = 0; i < 5; ++i) {
        VariantInit(&chain[i]);
        chain[i].vt = VT_BYREF | VT_VARIANT;
        chain[i].pvarVal = i < 4 ? &chain[i + 1] : &inner;
    }
    DISPPARAMS deep = {&chain[1], nullptr, 1, 0};
    ASSERT_EQ(port->Invoke(TestPort::Class().FindMember("Open")->DispId(), platform::kGUID_NULL, 0,
                           DISPATCH_METHOD, &deep, result.Get(), nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.AsText(), "COM1:ro:1000");
    DISPPARAMS deeper = {&chain[0], nullptr, 1, 0};
    EXPECT_EQ(port->Invoke(TestPort::Class().FindMember("Open")->DispId(), platform::kGUID_NULL, 0,
                           DISPATCH_METHOD, &deeper, result.Get(), nullptr, nullptr),
              Code(0xC0004003));
    // A null reference is refused with E_POINTER naming the argument.
    outer.pvarVal = nullptr;
    EXCEPINFO record{};
    UINT bad = 99;
    EXPECT_EQ(port->Invoke(TestPort::Class().FindMember("Open")->DispId(), platform::kGUID_NULL, 0,
                           DISPATCH_METHOD, &block, result.Get(), &record, &bad),
              DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(record.scode), 0x80004003u);
    EXPECT_EQ(bad, 0u);
    SysFreeString(record.bstrSource);
    SysFreeString(record.bstrDescription);
}

TEST(Dispatch, NamedArgumentsGoToTheirPositions) {
    auto port = NewPort();
    const DISPID open = TestPort::Class().FindMember("Open")->DispId();
    // Open Timeout:=7, Mode:="x" (named ids are positions: Timeout 1, Mode 0).
    Outcome named = kJScript.InvokeRaw(port->AsDispatch(), open, DISPATCH_METHOD,
                                       {Value::Text("x"), Value::I4(7)}, {1, 0});
    ASSERT_EQ(named.result, S_OK) << named.description;
    EXPECT_EQ(named.value.AsText(), "COM1:x:7");
    // The names come from GetIDsOfNames.
    platform::Bstr method(platform::BstrFromText("OPEN"));
    platform::Bstr parameter(platform::BstrFromText("timeout"));
    LPOLESTR names[] = {method.Get(), parameter.Get()};
    DISPID ids[2] = {};
    ASSERT_EQ(port->GetIDsOfNames(platform::kGUID_NULL, names, 2, 0, ids), S_OK);
    EXPECT_EQ(ids[0], open);
    EXPECT_EQ(ids[1], 1);
    // An unknown parameter name fails the lookup and alone stays unknown.
    platform::Bstr wrong(platform::BstrFromText("Speed"));
    LPOLESTR with_wrong[] = {method.Get(), wrong.Get()};
    EXPECT_EQ(port->GetIDsOfNames(platform::kGUID_NULL, with_wrong, 2, 0, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], open);
    EXPECT_EQ(ids[1], DISPID_UNKNOWN);
    // A named argument may not name a position the positional ones fill already.
    Outcome repeated = kJScript.InvokeRaw(port->AsDispatch(), open, DISPATCH_METHOD,
                                          {Value::Text("r"), Value::Text("x")}, {0});
    EXPECT_EQ(static_cast<uint32_t>(repeated.scode), 0x80070057u);
    EXPECT_EQ(repeated.description, "Argument 1 is given more than once");
    // A property read refuses named arguments; a write takes only DISPID_PROPERTYPUT.
    const DISPID baud = TestPort::Class().FindMember("Baud")->DispId();
    Outcome read =
        kJScript.InvokeRaw(port->AsDispatch(), baud, DISPATCH_PROPERTYGET, {Value::I4(1)}, {0});
    EXPECT_EQ(static_cast<uint32_t>(read.scode), 0x80020007u);
    Outcome write =
        kJScript.InvokeRaw(port->AsDispatch(), baud, DISPATCH_PROPERTYPUT, {Value::I4(1)}, {5});
    EXPECT_EQ(static_cast<uint32_t>(write.scode), 0x80020007u);
    EXPECT_EQ(write.description, "Cannot invoke 'Dax.TestPort.Baud': No named arguments");
}

TEST(Dispatch, BadInputGetsAClearCode) {
    auto port = NewPort();
    IDispatch *o = port->AsDispatch();
    const DISPID open = TestPort::Class().FindMember("Open")->DispId();
    EXCEPINFO record{};
    auto invoke = [&](DISPPARAMS *block, WORD flags = DISPATCH_METHOD) {
        SysFreeString(record.bstrSource);
        SysFreeString(record.bstrDescription);
        record = EXCEPINFO{};
        return o->Invoke(open, platform::kGUID_NULL, 0, flags, block, nullptr, &record, nullptr);
    };
    DISPPARAMS no_array = {nullptr, nullptr, 2, 0};
    EXPECT_EQ(invoke(&no_array), DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(record.scode), 0x80070057u);
    VARIANT values[2];
    VariantInit(&values[0]);
    VariantInit(&values[1]);
    DISPID named[3] = {0, 1, 2};
    DISPPARAMS too_many_named = {values, named, 2, 3};
    EXPECT_EQ(invoke(&too_many_named), DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(record.scode), 0x80070057u);
    DISPPARAMS no_names = {values, nullptr, 2, 1};
    EXPECT_EQ(invoke(&no_names), DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(record.scode), 0x80070057u);
    DISPID distant[1] = {300};
    DISPPARAMS far_named = {values, distant, 1, 1};
    EXPECT_EQ(invoke(&far_named), DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(record.scode), 0x80000054u);
    EXPECT_EQ(BstrText(record.bstrDescription), "Too many parameters");
    DISPID negative[1] = {-7};
    DISPPARAMS negative_named = {values, negative, 1, 1};
    EXPECT_EQ(invoke(&negative_named), DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(record.scode), 0x80020004u);
    EXPECT_EQ(BstrText(record.bstrDescription), "Missing parameter in call to 'Dax.TestPort.Open'");
    DISPID twice[2] = {0, 0};
    DISPPARAMS twice_named = {values, twice, 2, 2};
    EXPECT_EQ(invoke(&twice_named), DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(record.scode), 0x80070057u);
    // A null block is an empty one: Open then misses its first argument.
    EXPECT_EQ(invoke(nullptr), DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(record.scode), 0x8002000Fu);
    // Null result and record pointers, null names.
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    const DISPID baud = TestPort::Class().FindMember("Baud")->DispId();
    EXPECT_EQ(o->Invoke(baud, platform::kGUID_NULL, 0, DISPATCH_PROPERTYGET, &none, nullptr,
                        nullptr, nullptr),
              S_OK);
    EXPECT_EQ(o->Invoke(baud, platform::kIID_IDispatch, 0, DISPATCH_PROPERTYGET, &none, nullptr,
                        nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
    DISPID id = 0;
    EXPECT_EQ(port->GetDispID(nullptr, 0, &id), E_INVALIDARG);
    EXPECT_EQ(port->GetDispID(nullptr, 0, nullptr), E_POINTER);
    LPOLESTR null_name[] = {nullptr};
    EXPECT_EQ(o->GetIDsOfNames(platform::kGUID_NULL, null_name, 1, 0, &id), E_INVALIDARG);
    EXPECT_EQ(o->GetIDsOfNames(platform::kGUID_NULL, nullptr, 1, 0, &id), E_POINTER);
    EXPECT_EQ(port->DeleteMemberByName(nullptr, 0), E_INVALIDARG);
    EXPECT_EQ(port->GetMemberName(baud, nullptr), E_POINTER);
    EXPECT_EQ(port->GetNextDispID(0, DISPID_STARTENUM, nullptr), E_POINTER);
    EXPECT_EQ(port->GetClassInfo(nullptr), E_POINTER);
    SysFreeString(record.bstrSource);
    SysFreeString(record.bstrDescription);
}

TEST(Dispatch, WithoutARecordTheThreadErrorDescribesTheFailure) {
    auto port = NewPort();
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXPECT_EQ(port->Invoke(4242, platform::kGUID_NULL, 0, DISPATCH_PROPERTYGET, &none, nullptr,
                           nullptr, nullptr),
              Code(0xC0020003));
    EXPECT_EQ(LastDescription(), "Unknown member: Dax.TestPort.#4242");
    EXPECT_EQ(LastSource(), "Ostrel.Zam.AbstractIComponentDescriptorImpl.Invoke");
}

TEST(Dispatch, InvokeByNameAndInvokeMember) {
    auto port = NewPort();
    Value result;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    ASSERT_EQ(InvokeByName(port->AsDispatch(), nullptr, platform::kGUID_NULL, 0,
                           DISPATCH_PROPERTYGET, &none, result.Get(), nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.AsText(), "COM1");  // the default member
    const platform::Bstr missing(platform::BstrFromText("Nope"));
    try {
        InvokeByName(port->AsDispatch(), missing.Get(), platform::kGUID_NULL, 0,
                     DISPATCH_PROPERTYGET, &none, result.Get(), nullptr, nullptr);
        ADD_FAILURE() << "no error";
    } catch (const EZamError &error) {
        EXPECT_EQ(ErrorCodeOf(error), Code(0xC0020003));
        EXPECT_EQ(LastDescription(), "Unknown property or method: 'Dax.TestPort.Nope'");
    }
    EXCEPINFO record{};
    EXPECT_EQ(InvokeByName(port->AsDispatch(), missing.Get(), platform::kGUID_NULL, 0,
                           DISPATCH_PROPERTYGET, &none, result.Get(), &record, nullptr),
              DISP_E_MEMBERNOTFOUND);

    Value arguments[1] = {Value::Text("w")};
    OwnedVariant opened;
    TestPort::Class().InvokeMember(port.Get(), TestPort::Class().FindMember("Open")->DispId(),
                                   0x100, arguments[0].Get(), 1, opened.Get());
    EXPECT_EQ(platform::TextFromBstr((*opened).bstrVal), "COM1:w:1000");
    Value value = Value::I4(300);
    TestPort::Class().InvokeMember(port.Get(), TestPort::Class().FindMember("Baud")->DispId(),
                                   0x2000, value.Get(), 1, nullptr);
    EXPECT_EQ(port->baud, 300);
}

TEST(Dispatch, ComponentDescriptorOfAForeignObjectIsRefused) {
    auto collection = MakeObject<CICollectionImpl>(std::vector<CICollectionImpl::Item>{});
    const platform::ComPtr<IEnumVARIANT> walker = collection->NewEnum();
    try {
        ComponentDescriptorOf(walker.Get());
        ADD_FAILURE() << "no error";
    } catch (const EZamError &error) {
        EXPECT_EQ(ErrorCodeOf(error), Code(0xC0004002));
        EXPECT_EQ(LastDescription(), "GetClassInfo failed: No such interface supported");
    }
    EXPECT_EQ(ComponentDescriptorOf(collection->AsDispatch())->ClassName(),
              "Ostrel.Zam.Collection");
}

TEST(Dispatch, ConstructCallsCreateInstance) {
    auto port = NewPort();
    Outcome made = kJScript.InvokeRaw(port->AsDispatch(), DISPID_VALUE, DISPATCH_CONSTRUCT, {}, {});
    ASSERT_EQ(made.result, S_OK);
    ASSERT_EQ(made.value.Type(), VT_UNKNOWN);
    EXPECT_NE((*made.value).punkVal, nullptr);
}

}  // namespace
}  // namespace dax_test
