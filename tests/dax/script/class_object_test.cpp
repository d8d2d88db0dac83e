// The class objects of the two script-object classes: served by the module's
// class lookup, making objects through IClassFactory and through _CreateInstance
// of the template object, and refusing unknown classes and null out pointers.
#include <gtest/gtest.h>

#include "com/server.h"
#include "dax/framework/script_host.h"
#include "script/dax_custom_object.h"
#include "script/template_object.h"

namespace dax_test {
namespace {

using namespace Ostrel::Zam;

const ScriptHost kVBScript(Language::kVBScript);

platform::ComPtr<IClassFactory> ClassObjectOf(const GUID &class_id) {
    platform::ComPtr<IClassFactory> factory;
    EXPECT_EQ(GetClassObject(&class_id, &platform::kIID_IClassFactory, factory.OutVoid()), S_OK);
    return factory;
}

TEST(ClassObjects, MakeObjectsOfTheirClass) {
    const struct {
        GUID class_id;
        const char *name;
    } classes[] = {{kCLSID_CustomObject, "CustomObject"},
                   {kCLSID_DaxCustomObject, "DaxCustomObject"}};
    for (const auto &cls : classes) {
        const auto factory = ClassObjectOf(cls.class_id);
        ASSERT_TRUE(factory);
        platform::ComPtr<IDispatch> made;
        ASSERT_EQ(factory->CreateInstance(nullptr, platform::kIID_IDispatch, made.OutVoid()), S_OK);
        EXPECT_EQ(kVBScript.Read(made.Get(), "ToString").value.AsText(), cls.name);
        ASSERT_EQ(kVBScript.Assign(made.Get(), "X", Value::I4(3)).result, S_OK);
        // The object answers for its class id as an interface.
        platform::ComPtr<IUnknown> itself;
        EXPECT_EQ(made->QueryInterface(cls.class_id, itself.OutVoid()), S_OK);
    }
}

TEST(ClassObjects, TemplateObjectsMakeInstancesAndAreNeverFreed) {
    CustomObject::ComponentDescriptor &cls = DaxCustomObjectClass();
    platform::ComPtr<IUnknown> made = cls.CreateObject();
    ASSERT_TRUE(made);
    auto *object = dynamic_cast<DaxCustomObject *>(FrameworkObjectOf(made.Get()));
    ASSERT_NE(object, nullptr);
    EXPECT_NE(&object->Descriptor(), &cls);  // each object has its own descriptor
    EXPECT_EQ(object->Descriptor().Prototype(), nullptr);
}

TEST(ClassObjects, UnknownClassAndNullOutPointer) {
    const GUID unknown = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    void *out = reinterpret_cast<void *>(1);
    EXPECT_EQ(static_cast<uint32_t>(GetClassObject(&unknown, &platform::kIID_IClassFactory, &out)),
              0x80040111u);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(static_cast<uint32_t>(
                  GetClassObject(&kCLSID_CustomObject, &platform::kIID_IClassFactory, nullptr)),
              static_cast<uint32_t>(E_POINTER));
}

}  // namespace
}  // namespace dax_test
