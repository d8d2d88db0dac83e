// The module's class objects and lock count, from inside the library: a class built
// on the framework (the test port) registered as a class object only here.
#include <gtest/gtest.h>

#include "com/class_objects.h"
#include "com/module_lock.h"
#include "com/server.h"
#include "dax/framework/test_port.h"

namespace {

using namespace Ostrel::Zam;
using dax_test::kTestPortClsId;
using dax_test::TestPort;

constexpr HRESULT kClassNotAvailable = static_cast<HRESULT>(0x80040111);

IUnknown *PortClassObject() {
    return static_cast<IClassFactory *>(&TestPort::Class());
}

int32_t CountInProcessRegistry() {
    platform::ComPtr<IZamObjectRegistryA> process;
    EXPECT_EQ(ZamGetObjectRegistry(nullptr, process.OutVoid()), 0);
    return process->GetCount();
}

TEST(ClassObjects, ARegisteredClassObjectIsFoundByItsClassIdUntilUnregistered) {
    const int32_t in_process = CountInProcessRegistry();
    RegisterClassObject(PortClassObject());
    EXPECT_EQ(CountInProcessRegistry(), in_process + 1);

    platform::ComPtr<IClassFactory> factory;
    ASSERT_EQ(GetClassObject(&kTestPortClsId, &platform::kIID_IClassFactory, factory.OutVoid()),
              S_OK);
    EXPECT_EQ(factory.Get(), static_cast<IClassFactory *>(&TestPort::Class()));
    platform::ComPtr<IDispatch> port;
    EXPECT_EQ(factory->CreateInstance(nullptr, platform::kIID_IDispatch, port.OutVoid()), S_OK);
    EXPECT_NE(FrameworkObjectOf(port.Get()), nullptr);

    UnregisterClassObject(PortClassObject());
    EXPECT_EQ(CountInProcessRegistry(), in_process);
    void *object = &object;
    EXPECT_EQ(GetClassObject(&kTestPortClsId, &platform::kIID_IClassFactory, &object),
              kClassNotAvailable);
    EXPECT_EQ(object, nullptr);
    // Unregistering what is not there changes nothing.
    UnregisterClassObject(PortClassObject());
    EXPECT_EQ(CountInProcessRegistry(), in_process);
}

TEST(ClassObjects, UnregisteringAnUnknownObjectKeepsTheOthersServed) {
    RegisterClassObject(PortClassObject());
    ComponentRef never = NewClassDescriptor("Dax.NeverRegistered", platform::kGUID_NULL, 0);
    UnregisterClassObject(static_cast<IClassFactory *>(never.Get()));
    platform::ComPtr<IClassFactory> factory;
    EXPECT_EQ(GetClassObject(&kTestPortClsId, &platform::kIID_IClassFactory, factory.OutVoid()),
              S_OK);
    UnregisterClassObject(PortClassObject());
}

TEST(ClassObjects, TheLastOneRegisteredWinsForTheSameClassId) {
    ComponentRef second = NewClassDescriptor("Dax.SecondPort", kTestPortClsId, 0);
    RegisterClassObject(PortClassObject());
    RegisterClassObject(static_cast<IClassFactory *>(second.Get()));
    platform::ComPtr<IClassFactory> factory;
    ASSERT_EQ(GetClassObject(&kTestPortClsId, &platform::kIID_IClassFactory, factory.OutVoid()),
              S_OK);
    EXPECT_EQ(factory.Get(), static_cast<IClassFactory *>(second.Get()));
    UnregisterClassObject(static_cast<IClassFactory *>(second.Get()));
    ASSERT_EQ(GetClassObject(&kTestPortClsId, &platform::kIID_IClassFactory, factory.OutVoid()),
              S_OK);
    EXPECT_EQ(factory.Get(), static_cast<IClassFactory *>(&TestPort::Class()));
    UnregisterClassObject(PortClassObject());
}

TEST(ModuleLock, EveryFrameworkObjectHoldsOneLockWhileItLives) {
    TestPort::Class();  // the class descriptor and its members are made once
    const int32_t before = ModuleLockCount();
    EXPECT_GT(before, 0);
    EXPECT_EQ(CanUnloadNow(), S_FALSE);
    {
        platform::ComPtr<TestPort> first = dax_test::NewPort();
        platform::ComPtr<TestPort> second = dax_test::NewPort();
        EXPECT_EQ(ModuleLockCount(), before + 2);
    }
    EXPECT_EQ(ModuleLockCount(), before);
}

TEST(ModuleLock, HostLocksTestOnlyTheLowByte) {
    const int32_t before = ModuleLockCount();
    EXPECT_EQ(LockModuleFromHost(1), 0);
    EXPECT_EQ(LockModuleFromHost(0x101), 0);
    EXPECT_EQ(ModuleLockCount(), before + 2);
    EXPECT_EQ(LockModuleFromHost(0x100), 0);  // low byte 0: false
    EXPECT_EQ(LockModuleFromHost(0), 0);
    EXPECT_EQ(ModuleLockCount(), before);
}

}  // namespace
