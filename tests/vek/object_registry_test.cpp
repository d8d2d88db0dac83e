// Object registries, COM class registration and the parts of paths.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/class_registry.h"
#include "platform/com.h"
#include "platform/kernel.h"
#include "support/taken_text.h"
#include "vek64_com.h"
#include "vek64_objects.h"

namespace {

using namespace Ostrel::Zam;
using platform::ComPtr;
using test_support::Take;

constexpr GUID kIID_ITestMarker = {
    0x0A0B0C0D, 0x1111, 0x2222, {0x33, 0x33, 0x44, 0x44, 0x44, 0x44, 0x44, 0x44}};

// A counted object that answers IUnknown, and the marker interface when asked to.
class Probe : public IUnknown {
  public:
    explicit Probe(bool marked, std::atomic<int> *alive) : marked_(marked), alive_(alive) {
        ++*alive_;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override {
        if (platform::SameGuid(iid, platform::kIID_IUnknown) ||
            (marked_ && platform::SameGuid(iid, kIID_ITestMarker))) {
            AddRef();
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            --*alive_;
            delete this;
        }
        return left;
    }

  private:
    virtual ~Probe() = default;
    std::atomic<ULONG> references_{1};
    bool marked_;
    std::atomic<int> *alive_;
};

ComPtr<IZamObjectRegistryA> NewRegistry() {
    ComPtr<IZamObjectRegistryA> registry;
    EXPECT_EQ(ZamCreateObjectRegistry(nullptr, &kIID_IZamObjectRegistryA, registry.OutVoid()), 0);
    return registry;
}

std::vector<IUnknown *> Listed(IZamObjectRegistryA *registry, const GUID &iid) {
    void **objects = nullptr;
    const int32_t count = registry->GetObjectsA(iid, &objects);
    std::vector<IUnknown *> listed;
    for (int32_t i = 0; i < count; ++i)
        listed.push_back(static_cast<IUnknown *>(objects[i]));
    EXPECT_EQ(ZamObjsFree(objects), 0);
    return listed;
}

TEST(ObjectRegistry, HoldsObjectsInOrderAndListsThoseOfAnInterface) {
    std::atomic<int> alive{0};
    {
        auto a = ComPtr<IUnknown>::Adopt(new Probe(true, &alive));
        auto b = ComPtr<IUnknown>::Adopt(new Probe(false, &alive));
        auto c = ComPtr<IUnknown>::Adopt(new Probe(true, &alive));
        ComPtr<IZamObjectRegistryA> registry = NewRegistry();
        EXPECT_EQ(registry->AddObject(a.Get()), 1);
        EXPECT_EQ(registry->AddObject(b.Get()), 2);
        EXPECT_EQ(registry->AddObject(c.Get()), 3);
        EXPECT_EQ(Listed(registry.Get(), kIID_ITestMarker),
                  (std::vector<IUnknown *>{a.Get(), c.Get()}));
        EXPECT_EQ(Listed(registry.Get(), platform::kIID_IUnknown).size(), 3u);

        EXPECT_EQ(registry->RemoveObject(a.Get()), 2);
        EXPECT_LT(registry->RemoveObject(a.Get()), 0);
        EXPECT_EQ(ZamGetLastError(), VEK_E_INVALIDARG);
        EXPECT_EQ(registry->GetCount(), 2);
        EXPECT_EQ(Listed(registry.Get(), kIID_ITestMarker), (std::vector<IUnknown *>{c.Get()}));
        // Nothing answers: no list at all.
        void **none = reinterpret_cast<void **>(&alive);
        EXPECT_EQ(registry->GetObjectsA(kIID_IZamObjectRegistryA, &none), 0);
        EXPECT_EQ(none, nullptr);
    }
    // The registry's references went with it, and the lists' with ZamObjsFree.
    EXPECT_EQ(alive.load(), 0);
}

TEST(ObjectRegistry, RefusesWhatItCannotHold) {
    ComPtr<IZamObjectRegistryA> registry = NewRegistry();
    EXPECT_EQ(registry->AddObject(nullptr), VEK_E_POINTER);
    EXPECT_EQ(registry->GetObjectsA(platform::kIID_IUnknown, nullptr), VEK_E_POINTER);

    std::atomic<int> alive{0};
    auto plain = ComPtr<IUnknown>::Adopt(new Probe(false, &alive));
    ComPtr<IZamObjectRegistryA> marked;
    ASSERT_EQ(ZamCreateObjectRegistry(&kIID_ITestMarker, nullptr, marked.OutVoid()), 0);
    EXPECT_EQ(marked->AddObject(plain.Get()), VEK_E_NOINTERFACE);
    EXPECT_EQ(marked->GetCount(), 0);

    EXPECT_EQ(ZamCreateObjectRegistry(nullptr, nullptr, nullptr), VEK_E_POINTER);
    void *other = &alive;
    EXPECT_EQ(ZamCreateObjectRegistry(nullptr, &kIID_ITestMarker, &other), VEK_E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(ZamObjsFree(nullptr), 0);
}

TEST(ObjectRegistry, TheProcessRegistryIsOneForEveryCaller) {
    ComPtr<IZamObjectRegistryA> first, second;
    ASSERT_EQ(ZamGetObjectRegistry(&kIID_IZamObjectRegistryA, first.OutVoid()), 0);
    ASSERT_EQ(ZamGetObjectRegistry(nullptr, second.OutVoid()), 0);
    EXPECT_EQ(first.Get(), second.Get());
    std::atomic<int> alive{0};
    {
        auto probe = ComPtr<IUnknown>::Adopt(new Probe(true, &alive));
        const int32_t before = first->GetCount();
        EXPECT_EQ(first->AddObject(probe.Get()), before + 1);
        EXPECT_EQ(second->RemoveObject(probe.Get()), before);
    }
    EXPECT_EQ(alive.load(), 0);
}

TEST(LocalFileSystem, GivesThePartsOfAPath) {
    ComPtr<IZamLocalFileSystemA> files;
    ASSERT_EQ(ZamGetLocalFileSystem(nullptr, files.OutVoid()), 0);
    auto part = [&](const char *path, int32_t code) {
        char *text = nullptr;
        EXPECT_EQ(files->GetPathPartA(path, code, &text), 0);
        return Take(text).value_or("");
    };
    EXPECT_EQ(part("/opt/lib/libdax64.so", kPathBaseName), "libdax64");
    EXPECT_EQ(part("/opt/lib/libdax64.so", kPathFolder), "/opt/lib/");
    EXPECT_EQ(part("/opt/lib/libdax64.so", kPathFileName), "libdax64.so");
    EXPECT_EQ(part("/opt/lib/libdax64.so", kPathExtension), ".so");
    EXPECT_EQ(part("archive.tar.gz", kPathBaseName), "archive.tar");
    EXPECT_EQ(part("/home/.profile", kPathBaseName), ".profile");
    EXPECT_EQ(part("/home/.profile", kPathExtension), "");
    EXPECT_EQ(part("/a.dir/name", kPathBaseName), "name");
    EXPECT_EQ(part("", kPathBaseName), "");
    if (platform::IsPathSeparator('\\')) {
        EXPECT_EQ(part("C:\\Program Files\\dax\\dax64.dll", kPathBaseName), "dax64");
        EXPECT_EQ(part("C:\\Program Files\\dax\\dax64.dll", kPathDrive), "C:");
        EXPECT_EQ(part("C:\\Program Files\\dax\\dax64.dll", kPathFolder), "\\Program Files\\dax\\");
        EXPECT_EQ(part("\\\\srv\\share\\x\\other.dll", kPathDrive), "\\\\srv\\share");
        EXPECT_EQ(part("c:other.dll", kPathBaseName), "other");
    }
    char *text = nullptr;
    EXPECT_EQ(files->GetPathPartA("x", 9, &text), VEK_E_INVALIDARG);
    EXPECT_EQ(files->GetPathPartA("x", kPathBaseName, nullptr), VEK_E_POINTER);
    EXPECT_EQ(ZamGetLocalFileSystem(nullptr, nullptr), VEK_E_POINTER);
}

constexpr GUID kTestClassId = {
    0x0A0B0C0D, 0x5555, 0x6666, {0x77, 0x77, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88}};
constexpr const char *kTestClassIdText = "{0A0B0C0D-5555-6666-7777-888888888888}";

TEST(ComClassRegistration, WritesReadsAndRemovesTheEntriesOfAClass) {
    ASSERT_EQ(ZamRegisterCOMClassA("VekTest.Registered", 0, &kTestClassId, "A test class",
                                   "/opt/lib/libvektest.so"),
              0);
    EXPECT_EQ(Take(ZamGetCOMClassEntryA("VekTest.Registered", ZAM_CLASS_ENTRY_CLASS_ID)),
              kTestClassIdText);
    EXPECT_EQ(Take(ZamGetCOMClassEntryA("vektest.registered", ZAM_CLASS_ENTRY_SERVER)),
              "/opt/lib/libvektest.so");
    EXPECT_EQ(Take(ZamGetCOMClassEntryA("VekTest.Registered", ZAM_CLASS_ENTRY_DESCRIPTION)),
              "A test class");
    EXPECT_EQ(Take(ZamGetCOMClassEntryA("VekTest.Registered", ZAM_CLASS_ENTRY_THREADING)), "Both");
    EXPECT_EQ(Take(ZamGetCOMClassEntryA("VekTest.Registered", ZAM_CLASS_ENTRY_PROG_ID)),
              "VekTest.Registered");
    EXPECT_EQ(ZamGetCOMClassEntryA("VekTest.Registered", 17), nullptr);
    EXPECT_EQ(ZamGetLastError(), VEK_E_INVALIDARG);

    EXPECT_EQ(ZamUnregisterCOMClassA("VekTest.Registered", 0, &kTestClassId), 0);
    EXPECT_EQ(ZamGetCOMClassEntryA("VekTest.Registered", ZAM_CLASS_ENTRY_CLASS_ID), nullptr);
    EXPECT_EQ(ZamGetLastError(), static_cast<int32_t>(0xC0040154));
    // Removing what is not there is no failure.
    EXPECT_EQ(ZamUnregisterCOMClassA("VekTest.Registered", 0, &kTestClassId), 0);
    // The ProgID alone names the class to remove.
    ASSERT_EQ(ZamRegisterCOMClassA("VekTest.ByName", 0, &kTestClassId, nullptr, "/x.so"), 0);
    EXPECT_EQ(ZamUnregisterCOMClassA("VekTest.ByName", 0, nullptr), 0);
    EXPECT_EQ(ZamGetCOMClassEntryA("VekTest.ByName", ZAM_CLASS_ENTRY_CLASS_ID), nullptr);
}

TEST(ComClassRegistration, RefusesIncompleteEntries) {
    EXPECT_EQ(ZamRegisterCOMClassA(nullptr, 0, &kTestClassId, nullptr, "/x.so"), VEK_E_INVALIDARG);
    EXPECT_EQ(ZamRegisterCOMClassA("VekTest.X", 0, nullptr, nullptr, "/x.so"), VEK_E_POINTER);
    EXPECT_EQ(ZamRegisterCOMClassA("VekTest.X", 0, &kTestClassId, nullptr, ""), VEK_E_INVALIDARG);
    EXPECT_EQ(Take(ZamGetLastErrorDescriptionA()), "No server module given for VekTest.X");
    EXPECT_EQ(ZamUnregisterCOMClassA(nullptr, 0, nullptr), VEK_E_INVALIDARG);
}

TEST(ComObjectCreation, AnUnregisteredClassFailsCleanly) {
    platform::ComApartment apartment;
    void *object = &apartment;
    EXPECT_EQ(
        ZamCreateCOMObjectA("VekTest.NeverRegistered", nullptr, nullptr, 0x17, nullptr, &object),
        static_cast<int32_t>(0xC0040154));
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(Take(ZamGetLastErrorSourceA()), "Vek.ZamCreateCOMObjectA");
    EXPECT_EQ(ZamCreateCOMObjectA("x", nullptr, nullptr, 0x17, nullptr, nullptr), VEK_E_POINTER);
}

}  // namespace
