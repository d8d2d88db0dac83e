// Custom objects driven as VBScript and JScript drive them: properties made by
// assignment in both languages, kinds kept, Empty for names never written,
// for...in order, delete, prototypes, CopyOnChange, Clone, typed and
// possible-value properties and the failures scripts see.
#include <gtest/gtest.h>

#include "dax/framework/script_host.h"
#include "dax/framework/test_port.h"
#include "framework/dispatch/invoke_errors.h"
#include "script/custom_descriptor.h"
#include "script/custom_property.h"

namespace dax_test {
namespace {

using Ostrel::Zam::CustomObject;

const ScriptHost kVBScript(Language::kVBScript);
const ScriptHost kJScript(Language::kJScript);

Value Double(double d) {
    Value v;
    v.Get()->vt = VT_R8;
    v.Get()->dblVal = d;
    return v;
}

Value Date(double d) {
    Value v;
    v.Get()->vt = VT_DATE;
    v.Get()->date = d;
    return v;
}

// A read of a name never written: Empty from the object, or (JScript) a name the
// object does not know, which the language reads as undefined.
bool ReadsNothing(const Outcome &read) {
    if (read.result == DISP_E_UNKNOWNNAME)
        return true;
    return read.result == S_OK && read.value.Type() == VT_EMPTY;
}

class BothHosts : public testing::TestWithParam<Language> {
  protected:
    ScriptHost host{GetParam()};
    platform::ComPtr<CustomObject> object = CustomObject::Create();
    IDispatch *o = object->AsDispatch();
};

INSTANTIATE_TEST_SUITE_P(Hosts, BothHosts, testing::Values(Language::kVBScript, Language::kJScript),
                         [](const testing::TestParamInfo<Language> &param) {
                             return param.param == Language::kVBScript ? "VBScript" : "JScript";
                         });

TEST_P(BothHosts, AssignmentMakesPropertiesThatKeepTheirKinds) {
    auto other = CustomObject::Create();
    ASSERT_EQ(host.Assign(o, "Count", Value::I4(5)).result, S_OK);
    ASSERT_EQ(host.Assign(o, "Ratio", Double(1.5)).result, S_OK);
    ASSERT_EQ(host.Assign(o, "Name", Value::Text("COM1")).result, S_OK);
    ASSERT_EQ(host.Assign(o, "On", Value::Bool(true)).result, S_OK);
    ASSERT_EQ(host.Assign(o, "When", Date(46000.25)).result, S_OK);
    ASSERT_EQ(host.Assign(o, "Peer", Value::Object(other->AsDispatch()), {}, true).result, S_OK);

    const Outcome count = host.Read(o, "Count");
    EXPECT_EQ(count.value.Type(), VT_I4);
    EXPECT_EQ(count.value.AsI4(), 5);
    const Outcome ratio = host.Read(o, "Ratio");
    ASSERT_EQ(ratio.value.Type(), VT_R8);
    EXPECT_EQ((*ratio.value).dblVal, 1.5);
    EXPECT_EQ(host.Read(o, "Name").value.AsText(), "COM1");
    EXPECT_EQ(host.Read(o, "On").value.Type(), VT_BOOL);
    const Outcome when = host.Read(o, "When");
    ASSERT_EQ(when.value.Type(), VT_DATE);
    EXPECT_EQ((*when.value).date, 46000.25);
    EXPECT_EQ(host.Read(o, "Peer").value.AsObject(), other->AsDispatch());

    // Overwriting keeps one property and takes the new kind.
    ASSERT_EQ(host.Assign(o, "Count", Value::Text("many")).result, S_OK);
    EXPECT_EQ(host.Read(o, "Count").value.AsText(), "many");
    // Another object of the class does not see these properties.
    EXPECT_TRUE(ReadsNothing(host.Read(other->AsDispatch(), "Count")));
}

TEST_P(BothHosts, NamesNeverWrittenReadAsNothing) {
    EXPECT_TRUE(ReadsNothing(host.Read(o, "Missing")));
    EXPECT_TRUE(ReadsNothing(host.Read(o, "Missing")));  // a reserved name reads the same
    EXPECT_EQ(kJScript.ForIn(o), std::vector<std::string>{});
}

TEST(CustomObjectNames, UnknownNamesAreNoPlaceForArgumentsOrIndexes) {
    auto object = CustomObject::Create();
    IDispatch *o = object->AsDispatch();
    // A read with arguments has nothing to pass them to.
    const Outcome read = kVBScript.Read(o, "Missing", {Value::I4(1)});
    EXPECT_EQ(read.result, DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(read.scode), 0x80020003u);
    // ...but JScript's `this`, named, is no argument: the read gives Empty.
    DISPID id = DISPID_UNKNOWN;
    ASSERT_EQ(kVBScript.Lookup(o, "Missing", false, &id), S_OK);
    const Outcome with_this =
        kJScript.InvokeRaw(o, id, DISPATCH_PROPERTYGET, {Value::Object(o)}, {DISPID_THIS});
    EXPECT_EQ(with_this.result, S_OK) << with_this.description;
    EXPECT_EQ(with_this.value.Type(), VT_EMPTY);
    // An indexed assignment does not make a property.
    EXPECT_NE(kVBScript.Assign(o, "Table", Value::I4(5), {Value::I4(1)}).result, S_OK);
    EXPECT_TRUE(ReadsNothing(kVBScript.Read(o, "Table")));
    EXPECT_EQ(kJScript.ForIn(o), std::vector<std::string>{});
}

TEST_P(BothHosts, NamesIgnoreLetterCase) {
    ASSERT_EQ(host.Assign(o, "Baud", Value::I4(9600)).result, S_OK);
    EXPECT_EQ(kVBScript.Read(o, "BAUD").value.AsI4(), 9600);
    ASSERT_EQ(host.Assign(o, "baud", Value::I4(300)).result, S_OK);
    EXPECT_EQ(kJScript.Read(o, "Baud").value.AsI4(), 300);
    EXPECT_EQ(kJScript.ForIn(o), std::vector<std::string>{"Baud"});
}

TEST(CustomObjectNames, FirstPropertyGetsTheFirstAllocatedId) {
    auto object = CustomObject::Create();
    IDispatch *o = object->AsDispatch();
    ASSERT_EQ(kVBScript.Assign(o, "X", Value::I4(1)).result, S_OK);
    ASSERT_EQ(kJScript.Assign(o, "Y", Value::I4(2)).result, S_OK);
    const Outcome cls = kVBScript.Read(o, "Class");
    EXPECT_EQ(kVBScript.Read(cls.value.AsObject(), "DispId", {Value::Text("X")}).value.AsI4(),
              0x40000000);
    EXPECT_EQ(kVBScript.Read(cls.value.AsObject(), "DispId", {Value::Text("y")}).value.AsI4(),
              0x40000001);
    // IDispatch::GetIDsOfNames with one name reserves it as well.
    DISPID id = 0;
    std::u16string wide = u"Z";
    LPOLESTR names[] = {reinterpret_cast<LPOLESTR>(wide.data())};
    ASSERT_EQ(o->GetIDsOfNames(platform::kGUID_NULL, names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 0x40000002);
}

TEST(CustomObjectEnumeration, ForInListsOwnPropertiesInCreationOrderAndDeleteRemoves) {
    auto object = CustomObject::Create();
    IDispatch *o = object->AsDispatch();
    for (const char *name : {"Zeta", "alpha", "Mid"})
        ASSERT_EQ(kJScript.Assign(o, name, Value::I4(1)).result, S_OK);
    kVBScript.Read(o, "NeverWritten");  // a reservation is no property
    EXPECT_EQ(kJScript.ForIn(o), (std::vector<std::string>{"Zeta", "alpha", "Mid"}));

    EXPECT_EQ(kJScript.Delete(o, "alpha"), S_OK);
    EXPECT_EQ(kJScript.ForIn(o), (std::vector<std::string>{"Zeta", "Mid"}));
    EXPECT_TRUE(ReadsNothing(kJScript.Read(o, "alpha")));
    EXPECT_TRUE(ReadsNothing(kVBScript.Read(o, "alpha")));
    ASSERT_EQ(kJScript.Assign(o, "alpha", Value::I4(7)).result, S_OK);
    EXPECT_EQ(kJScript.Read(o, "alpha").value.AsI4(), 7);
    EXPECT_EQ(kJScript.ForIn(o), (std::vector<std::string>{"Zeta", "Mid", "alpha"}));
    // Deleting a name only looked up drops its reservation.
    kVBScript.Read(o, "Reserved");
    ASSERT_NE(object->Descriptor().FindMember("Reserved"), nullptr);
    EXPECT_EQ(kJScript.Delete(o, "Reserved"), S_OK);
    EXPECT_EQ(object->Descriptor().FindMember("Reserved"), nullptr);
    // The framework's members stay.
    EXPECT_EQ(kJScript.Delete(o, "Class"), S_FALSE);
    EXPECT_EQ(kJScript.Read(o, "ToString").result, S_OK);
}

TEST(CustomObjectPrototype, BorrowsAndCopyOnChangeDecidesWhereWritesGo) {
    auto prototype = CustomObject::Create();
    IDispatch *p = prototype->AsDispatch();
    ASSERT_EQ(kJScript.Assign(p, "A", Value::I4(1)).result, S_OK);
    const Outcome made = kJScript.Read(p, "_CreateInstance", {Value::Object(p)});
    ASSERT_EQ(made.result, S_OK);
    IDispatch *o = made.value.AsObject();
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(kJScript.Read(o, "Prototype").value.AsObject(), p);
    EXPECT_EQ(kJScript.Read(p, "Prototype").value.AsObject(), nullptr);
    EXPECT_EQ(kJScript.Read(o, "A").value.AsI4(), 1);
    EXPECT_EQ(kJScript.ForIn(o), std::vector<std::string>{});  // borrowed, not own

    // CopyOnChange clear: the write goes through to the prototype.
    ASSERT_EQ(kJScript.Assign(o, "A", Value::I4(2)).result, S_OK);
    EXPECT_EQ(kJScript.Read(p, "A").value.AsI4(), 2);

    // CopyOnChange set: the object gets its own copy; the prototype keeps its value.
    const Outcome cls = kJScript.Read(o, "Class");
    EXPECT_FALSE(kJScript.Read(cls.value.AsObject(), "CopyOnChange").value.AsBool());
    ASSERT_EQ(kJScript.Assign(cls.value.AsObject(), "CopyOnChange", Value::Bool(true)).result,
              S_OK);
    EXPECT_TRUE(kJScript.Read(cls.value.AsObject(), "CopyOnChange").value.AsBool());
    ASSERT_EQ(kJScript.Assign(o, "A", Value::I4(3)).result, S_OK);
    EXPECT_EQ(kJScript.Read(o, "A").value.AsI4(), 3);
    EXPECT_EQ(kJScript.Read(p, "A").value.AsI4(), 2);
    EXPECT_EQ(kJScript.ForIn(o), std::vector<std::string>{"A"});
}

TEST(CustomObjectPrototype, BorrowsMembersOfAnyFrameworkClassKeepingIdsUpToZero) {
    auto port = NewPort();
    auto object = CustomObject::Create();
    IDispatch *o = object->AsDispatch();
    object->Descriptor().Aggregate(port->AsDispatch());
    // The port's default member Name (id 0) is the object's default member too.
    const Outcome by_default = kVBScript.InvokeRaw(o, DISPID_VALUE, DISPATCH_PROPERTYGET, {}, {});
    EXPECT_EQ(by_default.value.AsText(), "COM1");
    ASSERT_EQ(kJScript.Assign(o, "Baud", Value::I4(300)).result, S_OK);
    EXPECT_EQ(port->baud, 300);
    // A refusal of the prototype reaches the caller as the prototype made it.
    const Outcome refused = kJScript.Assign(o, "Baud", Value::Text("fast"));
    EXPECT_EQ(refused.result, DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(refused.scode), 0x80020005u);
    EXPECT_EQ(port->baud, 300);
    // An object written through a borrowed member is stored as the object.
    auto other = NewPort();
    ASSERT_EQ(kJScript.Assign(o, "Peer", Value::Object(other->AsDispatch())).result, S_OK);
    EXPECT_EQ(port->peer.Get(), other->AsDispatch());
    ASSERT_EQ(kVBScript.Assign(o, "Peer", Value::Object(port->AsDispatch()), {}, true).result,
              S_OK);
    EXPECT_EQ(port->peer.Get(), port->AsDispatch());
    port->peer = platform::ComPtr<IDispatch>();  // no cycle
    // The object's own members are not borrowed.
    EXPECT_EQ(kVBScript.Read(o, "ToString").value.AsText(), "CustomObject");
}

TEST(CustomObjectPrototype, CreateInstanceChecksItsArguments) {
    auto object = CustomObject::Create();
    IDispatch *o = object->AsDispatch();
    const Outcome two = kJScript.Read(o, "_CreateInstance", {Value::I4(1), Value::I4(2)});
    EXPECT_EQ(two.result, DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(two.scode), 0x8002000Eu);
    EXPECT_EQ(two.description,
              "Invalid number of parameters in call to 'CustomObject._CreateInstance'");
    const Outcome number = kJScript.Read(o, "_CreateInstance", {Value::I4(1)});
    EXPECT_EQ(static_cast<uint32_t>(number.scode), 0x80020005u);
    const Outcome plain = kVBScript.Read(o, "_CreateInstance");
    ASSERT_EQ(plain.result, S_OK);
    EXPECT_EQ(kVBScript.Read(plain.value.AsObject(), "Prototype").value.AsObject(), nullptr);
    // JScript's null (and VBScript's Null) is no prototype.
    Value null;
    null.Get()->vt = VT_NULL;
    const Outcome from_null = kJScript.Read(o, "_CreateInstance", {null});
    ASSERT_EQ(from_null.result, S_OK) << from_null.description;
    EXPECT_EQ(kJScript.Read(from_null.value.AsObject(), "Prototype").value.AsObject(), nullptr);
    // JScript's `new o()` is the construct call.
    const Outcome constructed = kJScript.InvokeRaw(o, DISPID_VALUE, DISPATCH_CONSTRUCT, {}, {});
    ASSERT_EQ(constructed.result, S_OK);
    EXPECT_NE(constructed.value.AsObject(), nullptr);
}

TEST(CustomObjectPrototype, PrototypeCannotBeAssigned) {
    auto object = CustomObject::Create();
    IDispatch *o = object->AsDispatch();
    auto other = CustomObject::Create();
    const Outcome set =
        kVBScript.Assign(o, "Prototype", Value::Object(other->AsDispatch()), {}, true);
    EXPECT_EQ(set.result, DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(set.scode), 0x8002802Du);
    EXPECT_EQ(
        set.description,
        "Cannot add member 'CustomObject.Prototype': another property or event exists already");
    EXPECT_EQ(kVBScript.Read(o, "Prototype").value.AsObject(), nullptr);
}

TEST(CustomObjectClone, CopiesOwnPropertiesAndPrototype) {
    auto prototype = CustomObject::Create();
    auto object = CustomObject::Create();
    IDispatch *o = object->AsDispatch();
    ASSERT_EQ(kJScript.Assign(prototype->AsDispatch(), "Shared", Value::I4(9)).result, S_OK);
    object->Descriptor().Aggregate(prototype->AsDispatch());
    ASSERT_EQ(kJScript.Assign(o, "B", Value::Text("b")).result, S_OK);
    ASSERT_EQ(kJScript.Assign(o, "A", Value::I4(1)).result, S_OK);
    object->Descriptor().SetCopyOnChange(true);
    const Outcome clone = kVBScript.Read(o, "Clone");
    ASSERT_EQ(clone.result, S_OK);
    IDispatch *copy = clone.value.AsObject();
    EXPECT_EQ(kJScript.ForIn(copy), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(kJScript.Read(copy, "Shared").value.AsI4(), 9);
    ASSERT_EQ(kJScript.Assign(copy, "A", Value::I4(2)).result, S_OK);
    EXPECT_EQ(kJScript.Read(o, "A").value.AsI4(), 1);
    // The copy writes borrowed properties as the original does: into its own copy.
    const Outcome copy_class = kJScript.Read(copy, "Class");
    EXPECT_TRUE(kJScript.Read(copy_class.value.AsObject(), "CopyOnChange").value.AsBool());
    ASSERT_EQ(kJScript.Assign(copy, "Shared", Value::I4(10)).result, S_OK);
    EXPECT_EQ(kJScript.Read(prototype->AsDispatch(), "Shared").value.AsI4(), 9);
    // Aggregating the same object twice is refused.
    try {
        object->Descriptor().Aggregate(prototype->AsDispatch());
        ADD_FAILURE() << "aggregated twice";
    } catch (const Ostrel::Zam::EZamError &error) {
        EXPECT_EQ(static_cast<uint32_t>(Ostrel::Zam::ResultCodeOf(error)), 0x80070057u);
    }
}

TEST(CustomObjectTypes, PropertyTypeConvertsLaterWritesAndRefusalsKeepTheValue) {
    auto object = CustomObject::Create();
    IDispatch *o = object->AsDispatch();
    ASSERT_EQ(kVBScript.Assign(o, "N", Value::Text("1")).result, S_OK);
    const Outcome cls = kVBScript.Read(o, "Class");
    const Outcome property = kVBScript.Read(cls.value.AsObject(), "Properties", {Value::Text("N")});
    ASSERT_EQ(property.result, S_OK);
    EXPECT_EQ(kVBScript.Read(property.value.AsObject(), "DisplayName").value.AsText(), "N");
    ASSERT_EQ(kVBScript.Assign(property.value.AsObject(), "PropertyType", Value::I4(VT_I4)).result,
              S_OK);
    ASSERT_EQ(kVBScript.Assign(o, "N", Value::Text("42")).result, S_OK);
    const Outcome n = kVBScript.Read(o, "N");
    EXPECT_EQ(n.value.Type(), VT_I4);
    EXPECT_EQ(n.value.AsI4(), 42);
    const Outcome refused = kVBScript.Assign(o, "N", Value::Text("many"));
    EXPECT_EQ(refused.result, DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(refused.scode), 0x80020005u);
    EXPECT_EQ(kVBScript.Read(o, "N").value.AsI4(), 42);
}

TEST(CustomObjectTypes, PossibleValueTextsStoreTheirValues) {
    VARIANT empty;
    VariantInit(&empty);
    auto property = Ostrel::Zam::MakeObject<CustomObject::Property>("Mode", -1, empty);
    property->SetType(VT_I4);
    property->SetPossibleValues({"0 - Off", "1: On", "2 :Auto", "no separator here"});
    Value on = Value::Text("On");
    property->SetValue(*on);
    EXPECT_EQ(property->Value().vt, VT_I4);
    EXPECT_EQ(property->Value().lVal, 1);
    Value automatic = Value::Text("Auto");
    property->SetValue(*automatic);
    EXPECT_EQ(property->Value().lVal, 2);
    EXPECT_EQ(property->PossibleText(property->Value()), "Auto");
    Value number = Value::Text("0");
    property->SetValue(*number);  // a value itself still converts
    EXPECT_EQ(property->PossibleText(property->Value()), "Off");
    Value wrong = Value::Text("on");  // texts compare with letter case
    EXPECT_THROW(property->SetValue(*wrong), Ostrel::Zam::EZamError);
    EXPECT_EQ(property->Value().lVal, 0);

    // A text property keeps the text given: the list only describes its values.
    auto label = Ostrel::Zam::MakeObject<CustomObject::Property>("Label", -1, empty);
    label->SetType(VT_BSTR);
    label->SetPossibleValues({"1: On"});
    label->SetValue(*on);
    ASSERT_EQ(label->Value().vt, VT_BSTR);
    EXPECT_EQ(BstrText(label->Value().bstrVal), "On");
}

}  // namespace
}  // namespace dax_test
