// Automation objects in the T store: an object written to "Value" is kept as the
// texts "ClassName" and "Value", and reading "Value" as a variant makes a new object
// of that class; objects for other attributes are still refused.
#include <gtest/gtest.h>

#include "dax/framework/script_host.h"
#include "dax/tstore_test_support.h"
#include "script/dax_custom_object.h"

namespace {

using namespace tstore_test;
using dax_test::Language;
using dax_test::ScriptHost;
using dax_test::Value;
using Ostrel::Zam::CustomObject;
using Ostrel::Zam::DaxCustomObject;

const ScriptHost kVBScript(Language::kVBScript);

class TStoreObjectValues : public TStoreTest {
  protected:
    void SetUp() override {
        TStoreTest::SetUp();
        Props config = RootConfig(tree_.Handle());
        VekPropsSetInt32(config.get(), "Allow new attributes", 1);
        ASSERT_EQ(T_Declare(config.get()), 0);
        Add(tree_.Root(), "Port", 0);
    }
    std::string Raw(const char *path) {
        char *text = T_GetA(path, 0x33, 0x19);
        std::string copy = text != nullptr ? std::string(text, VekArrayCountEx_(text)) : "";
        VekTextFree(text);
        return copy;
    }
    HostTree tree_{"Main"};
};

TEST_F(TStoreObjectValues, ObjectIsKeptAsClassNameAndValueText) {
    auto object = DaxCustomObject::Create();
    ASSERT_EQ(kVBScript.Assign(object->AsDispatch(), "Value", Value::I4(115200)).result, S_OK);
    Value stored = Value::Object(object->AsDispatch());
    ASSERT_EQ(T_SetVariantA("Main.Port!value", stored.Get()), 0) << LastError();
    EXPECT_EQ(Raw("Main.Port!ClassName"), "DaxCustomObject");
    EXPECT_EQ(Raw("Main.Port!Value"), "115200");

    Value read;
    ASSERT_EQ(T_GetVariantA("Main.Port!Value", 0x19, read.Get()), 0);
    ASSERT_EQ(read.Type(), VT_DISPATCH);
    ASSERT_NE(read.AsObject(), object->AsDispatch());  // a new object
    EXPECT_EQ(kVBScript.Read(read.AsObject(), "ToString").value.AsText(), "DaxCustomObject");
    const auto value = kVBScript.Read(read.AsObject(), "Value");
    EXPECT_EQ(value.value.Type(), VT_BSTR);
    EXPECT_EQ(value.value.AsText(), "115200");
}

TEST_F(TStoreObjectValues, ObjectWithoutValueAndObjectsElsewhere) {
    auto object = CustomObject::Create();
    Value stored = Value::Object(object->AsDispatch());
    ASSERT_EQ(T_SetVariantA("Main.Port!Value", stored.Get()), 0);
    EXPECT_EQ(Raw("Main.Port!ClassName"), "CustomObject");
    EXPECT_EQ(Raw("Main.Port!Value"), "");
    Value read;
    ASSERT_EQ(T_GetVariantA("Main.Port!Value", 0x19, read.Get()), 0);
    EXPECT_EQ(kVBScript.Read(read.AsObject(), "ToString").value.AsText(), "CustomObject");

    EXPECT_EQ(T_SetVariantA("Main.Port!Other", stored.Get()), Code(0xE2040005));
    // An unknown class name fails with the support library's error.
    ASSERT_EQ(T_SetA("Main.Port!ClassName", "No.Such.Class", 0x33), 0);
    EXPECT_LT(T_GetVariantA("Main.Port!Value", 0x19, read.Get()), 0);
    // Class names ignore letter case, as class names do everywhere.
    ASSERT_EQ(T_SetA("Main.Port!ClassName", "customOBJECT", 0x33), 0);
    ASSERT_EQ(T_GetVariantA("Main.Port!Value", 0x19, read.Get()), 0) << LastError();
    EXPECT_EQ(kVBScript.Read(read.AsObject(), "ToString").value.AsText(), "CustomObject");
    // Without a class name "Value" reads as the value stored.
    ASSERT_EQ(T_SetA("Main.Port!ClassName", "", 0x33), 0);
    ASSERT_EQ(T_GetVariantA("Main.Port!Value", 0x19, read.Get()), 0);
    EXPECT_EQ(read.Type(), VT_BSTR);
}

}  // namespace
