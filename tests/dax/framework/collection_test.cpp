// The descriptors as scripts read them: o.Class.Properties("X"), member
// collections walked with For Each, and the descriptor members.
#include <gtest/gtest.h>

#include "dax/framework/script_host.h"
#include "dax/framework/test_port.h"

namespace dax_test {
namespace {

class Descriptors : public testing::TestWithParam<Language> {
  protected:
    ScriptHost host{GetParam()};
    platform::ComPtr<TestPort> port = NewPort();

    Value Read(const Value &object, const std::string &name, std::vector<Value> arguments = {}) {
        Outcome outcome = host.Read(object.AsObject(), name, arguments);
        EXPECT_EQ(outcome.result, S_OK) << name << ": " << outcome.description;
        return outcome.value;
    }
    Value Class() { return Read(Value::Object(port->AsDispatch()), "Class"); }
};

INSTANTIATE_TEST_SUITE_P(Hosts, Descriptors,
                         testing::Values(Language::kVBScript, Language::kJScript),
                         [](const testing::TestParamInfo<Language> &param) {
                             return param.param == Language::kVBScript ? "VBScript" : "JScript";
                         });

TEST_P(Descriptors, PropertiesWithANameGivesTheItem) {
    const Value baud = Read(Class(), "Properties", {Value::Text("baud")});
    EXPECT_EQ(Read(baud, "Name").AsText(), "Baud");
    EXPECT_EQ(Read(baud, "MemberType").AsText(), "Property");
    EXPECT_EQ(Read(Read(baud, "PropertyType"), "VarType").AsI4(), VT_I4);
    EXPECT_FALSE(Read(baud, "IsReadOnly").AsBool());
    const Value id = Read(Class(), "Properties", {Value::Text("Id")});
    EXPECT_TRUE(Read(id, "IsReadOnly").AsBool());
    EXPECT_EQ(Read(id, "DispId").AsI4(), TestPort::Class().FindMember("Id")->DispId());
    EXPECT_EQ(Read(Class(), "DispId", {Value::Text("ID")}).AsI4(),
              TestPort::Class().FindMember("Id")->DispId());
    const Value bits = Read(Class(), "Properties", {Value::Text("Bits")});
    EXPECT_EQ(Read(Read(bits, "IndexParameters", {Value::I4(1)}), "Name").AsText(), "Bit");
}

TEST_P(Descriptors, CollectionsCountIndexAndWalkInNameOrder) {
    const Value members = Read(Class(), "Members");
    EXPECT_EQ(Read(members, "Count").AsI4(), 14);
    EXPECT_EQ(Read(Read(members, "Item", {Value::I4(1)}), "Name").AsText(), "Baud");
    std::vector<std::string> names;
    for (const Value &item : host.Walk(members.AsObject()))
        names.push_back(Read(item, "Name").AsText());
    ASSERT_EQ(names.size(), 14u);
    EXPECT_EQ(names.front(), "Baud");
    EXPECT_EQ(names.back(), "_CreateInstance");
    const Value methods = Read(Class(), "Methods");
    EXPECT_EQ(Read(methods, "Count").AsI4(), 6);  // Clone Fail Open Sum ToString _CreateInstance
    const Value open = Read(methods, "Item", {Value::Text("open")});
    const Value parameters = Read(open, "Parameters");
    EXPECT_EQ(Read(Read(parameters, "Item", {Value::I4(2)}), "Name").AsText(), "Timeout");
    EXPECT_TRUE(Read(Read(parameters, "Item", {Value::I4(2)}), "IsOptional").AsBool());
    EXPECT_EQ(Read(Read(parameters, "Item", {Value::I4(2)}), "DefaultValue").AsI4(), 1000);
    EXPECT_EQ(Read(Read(Class(), "Properties"), "Count").AsI4(), 8);
    // for...in passes over the hidden _NewEnum.
    EXPECT_EQ(ScriptHost(Language::kJScript).ForIn(members.AsObject()),
              (std::vector<std::string>{"Class", "Clone", "Count", "Item", "ToString",
                                        "_CreateInstance"}));
}

// The enumerator as hosts that fetch several items at a time use it.
TEST_P(Descriptors, EnumeratorSaysWhenItRunsOut) {
    const Value members = Read(Class(), "Members");
    const Value made =
        host.InvokeRaw(members.AsObject(), DISPID_NEWENUM, DISPATCH_METHOD, {}, {}).value;
    ASSERT_EQ(made.Type(), VT_UNKNOWN);
    platform::ComPtr<IEnumVARIANT> walker;
    ASSERT_EQ((*made).punkVal->QueryInterface(platform::kIID_IEnumVARIANT, walker.OutVoid()), S_OK);
    VARIANT items[20];
    ULONG fetched = 0;
    EXPECT_EQ(walker->Next(20, items, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 14u);
    for (ULONG i = 0; i < fetched; ++i)
        VariantClear(&items[i]);
    EXPECT_EQ(walker->Next(1, items, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    ASSERT_EQ(walker->Reset(), S_OK);
    EXPECT_EQ(walker->Skip(14), S_OK);
    EXPECT_EQ(walker->Skip(1), S_FALSE);
}

// A collection called as a function gives its item, and a property called with
// arguments reads through to the item, as both hosts write it.
TEST_P(Descriptors, CollectionsCalledAsFunctionsGiveTheirItems) {
    const Value members = Read(Class(), "Members");
    Outcome first = host.CallObject(members.AsObject(), {Value::I4(1)});
    ASSERT_EQ(first.result, S_OK) << first.description;
    EXPECT_EQ(Read(first.value, "Name").AsText(), "Baud");
    Outcome named = host.CallObject(members.AsObject(), {Value::Text("open")});
    ASSERT_EQ(named.result, S_OK) << named.description;
    EXPECT_EQ(Read(named.value, "Name").AsText(), "Open");
    // With no index there is no item to give (VBScript: a missing parameter;
    // JScript's method call: not callable).
    EXPECT_EQ(host.CallObject(members.AsObject(), {}).result, DISP_E_EXCEPTION);
}

TEST_P(Descriptors, BadIndexesAreRefused) {
    const Value members = Read(Class(), "Members");
    Outcome out_of_range = host.Read(members.AsObject(), "Item", {Value::I4(99)});
    EXPECT_EQ(static_cast<uint32_t>(out_of_range.scode), 0x8002000Bu);
    EXPECT_EQ(out_of_range.description, "Index 99 is out of the range 1 to 14");
    EXPECT_EQ(host.Read(members.AsObject(), "Item", {Value::I4(0)}).description,
              "Index 0 is out of the range 1 to 14");
    // A number with a fraction is no index.
    Value half;
    half.Get()->vt = VT_R8;
    half.Get()->dblVal = 1.5;
    EXPECT_EQ(static_cast<uint32_t>(host.Read(members.AsObject(), "Item", {half}).scode),
              0x80020005u);
    Outcome no_name = host.Read(members.AsObject(), "Item", {Value::Text("Nope")});
    EXPECT_EQ(no_name.description, "No item named 'Nope'");
    Outcome no_member = host.Read(Class().AsObject(), "DispId", {Value::Text("Nope")});
    EXPECT_EQ(no_member.description, "Unknown member: Dax.TestPort.Nope");
}

TEST_P(Descriptors, SettableTypesAndRegistration) {
    auto c = NewClassDescriptor("Dax.Typed", platform::kGUID_NULL, 0);
    auto property = AddProperty(*c.Get(), "Level", VT_I4, PropertyAccessors{});
    const Value descriptor = Value::Object(c->AsDispatch());
    const Value level = Read(descriptor, "Properties", {Value::Text("Level")});
    ASSERT_EQ(host.Assign(level.AsObject(), "PropertyType", Value::I4(VT_BSTR)).result, S_OK);
    EXPECT_EQ(property->Type(), VT_BSTR);
    // A number beyond the variant types is refused and the type stays.
    const Outcome too_big = host.Assign(level.AsObject(), "PropertyType", Value::I4(0x10000 + 3));
    EXPECT_EQ(static_cast<uint32_t>(too_big.scode), 0x80020005u);
    EXPECT_EQ(property->Type(), VT_BSTR);
    // A type descriptor assigned by value gives its default member, VarType.
    const Value bool_type =
        Read(Read(Read(descriptor, "Properties", {Value::Text("Level")}), "Class"), "ClsId");
    EXPECT_EQ(bool_type.AsText(), "{00000000-0000-0000-0000-000000000000}");
    Outcome registered = host.Call(descriptor.AsObject(), "Register");
    EXPECT_EQ(static_cast<uint32_t>(registered.scode), 0x80004001u);
    EXPECT_EQ(registered.description,
              "Registration of class 'Dax.Typed' in the system registry is not available yet");
    // Remove detaches the member from its class.
    ASSERT_EQ(host.Call(level.AsObject(), "Remove").result, S_OK);
    EXPECT_EQ(c->FindMember("Level"), nullptr);
}

}  // namespace
}  // namespace dax_test
