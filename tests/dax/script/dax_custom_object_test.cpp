// Format-checked custom objects: the IFM of a property as scripts set it, the
// exact refusal, the old value kept, and the mask left behind by CopyOnChange.
#include <gtest/gtest.h>

#include "dax/framework/script_host.h"
#include "script/custom_descriptor.h"
#include "script/dax_custom_object.h"

namespace dax_test {
namespace {

using Ostrel::Zam::DaxCustomObject;

const ScriptHost kVBScript(Language::kVBScript);
const ScriptHost kJScript(Language::kJScript);

class FormatChecked : public testing::TestWithParam<Language> {
  protected:
    // o.Class.Properties(name)
    Value PropertyOf(IDispatch *target, const std::string &name) {
        const Outcome cls = host.Read(target, "Class");
        return host.Read(cls.value.AsObject(), "Properties", {Value::Text(name)}).value;
    }
    Outcome SetMask(IDispatch *target, const std::string &name, const std::string &mask) {
        const Value property = PropertyOf(target, name);
        return host.Assign(property.AsObject(), "IFM", Value::Text(mask));
    }

    ScriptHost host{GetParam()};
    platform::ComPtr<DaxCustomObject> object = DaxCustomObject::Create();
    IDispatch *o = object->AsDispatch();
};

INSTANTIATE_TEST_SUITE_P(Hosts, FormatChecked,
                         testing::Values(Language::kVBScript, Language::kJScript),
                         [](const testing::TestParamInfo<Language> &param) {
                             return param.param == Language::kVBScript ? "VBScript" : "JScript";
                         });

TEST_P(FormatChecked, MaskRefusesValuesThatDoNotMatchAndKeepsTheOldOne) {
    // The first assignment is never checked; without a mask anything goes.
    ASSERT_EQ(host.Assign(o, "Code", Value::Text("free text")).result, S_OK);
    ASSERT_EQ(SetMask(o, "Code", "LL-00").result, S_OK);
    EXPECT_EQ(host.Read(PropertyOf(o, "Code").AsObject(), "IFM").value.AsText(), "LL-00");

    // The record carries the raised code with bit 30 cleared, as for every error.
    const Outcome refused = host.Assign(o, "Code", Value::Text("A1-23"));
    EXPECT_EQ(refused.result, DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<uint32_t>(refused.scode), 0xA2100010u);
    EXPECT_EQ(refused.description, "Value \"A1-23\" does not match IFM \"LL-00\"");
    EXPECT_EQ(refused.source, "Ostrel.Zam.DaxCustomObject.Property.DoSetValue");
    EXPECT_EQ(host.Read(o, "Code").value.AsText(), "free text");

    ASSERT_EQ(host.Assign(o, "Code", Value::Text("AB-12")).result, S_OK);
    EXPECT_EQ(host.Read(o, "Code").value.AsText(), "AB-12");
    // Numbers are checked as their text.
    ASSERT_EQ(SetMask(o, "Code", "009").result, S_OK);
    EXPECT_EQ(host.Assign(o, "Code", Value::I4(42)).result, S_OK);
    EXPECT_EQ(host.Read(o, "Code").value.Type(), VT_I4);
    EXPECT_EQ(static_cast<uint32_t>(host.Assign(o, "Code", Value::I4(7)).scode), 0xA2100010u);

    // An empty mask switches the check off.
    ASSERT_EQ(SetMask(o, "Code", "").result, S_OK);
    EXPECT_EQ(host.Assign(o, "Code", Value::Text("anything")).result, S_OK);
}

TEST_P(FormatChecked, MessageCutsValueAndMask) {
    ASSERT_EQ(host.Assign(o, "Long", Value::Text("")).result, S_OK);
    const std::string mask(30, '0');
    ASSERT_EQ(SetMask(o, "Long", mask).result, S_OK);
    const Outcome refused = host.Assign(o, "Long", Value::Text(std::string(250, 'x')));
    EXPECT_EQ(refused.description, "Value \"" + std::string(200, 'x') + "\" does not match IFM \"" +
                                       std::string(25, '0') + "\"");
}

TEST_P(FormatChecked, MalformedMaskReportsTheFormatLibrarysError) {
    ASSERT_EQ(host.Assign(o, "Code", Value::Text("1")).result, S_OK);
    ASSERT_EQ(SetMask(o, "Code", "0\\").result, S_OK);
    const Outcome refused = host.Assign(o, "Code", Value::Text("2"));
    EXPECT_EQ(static_cast<uint32_t>(refused.scode), 0xA2100011u);
    EXPECT_EQ(refused.description,
              "Invalid input format mask \"0\\\": a trailing '\\' escapes nothing");
    EXPECT_EQ(host.Read(o, "Code").value.AsText(), "1");
}

TEST_P(FormatChecked, CloneKeepsTheMasks) {
    ASSERT_EQ(host.Assign(o, "Code", Value::Text("AB")).result, S_OK);
    ASSERT_EQ(SetMask(o, "Code", "LL").result, S_OK);
    const Outcome clone = kVBScript.Read(o, "Clone");
    IDispatch *copy = clone.value.AsObject();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(host.Read(PropertyOf(copy, "Code").AsObject(), "IFM").value.AsText(), "LL");
    EXPECT_EQ(static_cast<uint32_t>(host.Assign(copy, "Code", Value::Text("12")).scode),
              0xA2100010u);
    EXPECT_EQ(host.Read(copy, "Code").value.AsText(), "AB");
}

TEST(FormatCheckedPrototype, CopyOnChangeCopyStartsWithoutMask) {
    auto prototype = DaxCustomObject::Create();
    IDispatch *p = prototype->AsDispatch();
    ASSERT_EQ(kJScript.Assign(p, "Code", Value::Text("AB")).result, S_OK);
    const Outcome cls = kJScript.Read(p, "Class");
    const Outcome property =
        kJScript.Read(cls.value.AsObject(), "Properties", {Value::Text("Code")});
    ASSERT_EQ(kJScript.Assign(property.value.AsObject(), "IFM", Value::Text("LL")).result, S_OK);

    const Outcome made = kJScript.Read(p, "_CreateInstance", {Value::Object(p)});
    IDispatch *o = made.value.AsObject();
    ASSERT_NE(o, nullptr);
    // Without CopyOnChange the write reaches the prototype and its mask.
    EXPECT_EQ(static_cast<uint32_t>(kJScript.Assign(o, "Code", Value::Text("12")).scode),
              0xA2100010u);
    const Outcome own_class = kJScript.Read(o, "Class");
    ASSERT_EQ(kJScript.Assign(own_class.value.AsObject(), "CopyOnChange", Value::Bool(true)).result,
              S_OK);
    ASSERT_EQ(kJScript.Assign(o, "Code", Value::Text("12")).result, S_OK);
    EXPECT_EQ(kJScript.Read(o, "Code").value.AsText(), "12");
    EXPECT_EQ(kJScript.Read(p, "Code").value.AsText(), "AB");
    const Outcome copy =
        kJScript.Read(own_class.value.AsObject(), "Properties", {Value::Text("Code")});
    EXPECT_EQ(kJScript.Read(copy.value.AsObject(), "IFM").value.AsText(), "");
    EXPECT_EQ(kJScript.Read(property.value.AsObject(), "IFM").value.AsText(), "LL");
}

TEST(FormatCheckedPlain, IFMIsOnlyForFormatCheckedProperties) {
    auto plain = Ostrel::Zam::CustomObject::Create();
    IDispatch *o = plain->AsDispatch();
    ASSERT_EQ(kVBScript.Assign(o, "X", Value::I4(1)).result, S_OK);
    const Outcome cls = kVBScript.Read(o, "Class");
    const Outcome property = kVBScript.Read(cls.value.AsObject(), "Properties", {Value::Text("X")});
    // A plain custom property has no IFM member at all.
    EXPECT_NE(kVBScript.Read(property.value.AsObject(), "IFM").result, S_OK);
    EXPECT_EQ(kVBScript.Read(cls.value.AsObject(), "ClsId").value.AsText(),
              "{06428B9F-C0BF-49F4-B9FA-0050042DA9E6}");
    auto checked = DaxCustomObject::Create();
    const Outcome checked_class = kVBScript.Read(checked->AsDispatch(), "Class");
    EXPECT_EQ(kVBScript.Read(checked_class.value.AsObject(), "ClsId").value.AsText(),
              "{064039E4-71E8-490D-8E33-0050042DA9E6}");
}

}  // namespace
}  // namespace dax_test
