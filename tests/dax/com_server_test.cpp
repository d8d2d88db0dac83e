// The COM server exports of the shared library, found by name as the system and
// regsvr32 find them (the system's headers declare the same names with their own
// types): class lookup, the module lock and self-registration. The library serves
// the class "ServerProbe" in testing builds (Answer = 42).
#include <gtest/gtest.h>

#include <string>

#include "platform/api.h"
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

using GetClassObjectEntry = int32_t(PLATFORM_STDCALL *)(const void *, const void *, void **);
using NoArgumentEntry = int32_t(PLATFORM_STDCALL *)();
using LockEntry = int32_t(PLATFORM_STDCALL *)(int32_t);

// The entry points of the loaded library.
class Server {
  public:
    Server() {
        std::string error;
        EXPECT_TRUE(library_.Open(platform::SharedLibraryFileName("dax64"), &error)) << error;
    }
    template <class Entry>
    Entry Find(const char *name) const {
        void *symbol = library_.Symbol(name);
        EXPECT_NE(symbol, nullptr) << name;
        return reinterpret_cast<Entry>(symbol);
    }

  private:
    platform::DynamicLibrary library_;
};

const Server &TheServer() {
    static const Server server;
    return server;
}

int32_t CallGetClassObject(const void *class_id, const void *iid, void **object) {
    return TheServer().Find<GetClassObjectEntry>("DllGetClassObject")(class_id, iid, object);
}
int32_t CallCanUnloadNow() {
    return TheServer().Find<NoArgumentEntry>("DllCanUnloadNow")();
}
int32_t CallLockModule(int32_t lock) {
    return TheServer().Find<LockEntry>("DllLockModule")(lock);
}
int32_t CallRegisterServer() {
    return TheServer().Find<NoArgumentEntry>("DllRegisterServer")();
}
int32_t CallUnregisterServer() {
    return TheServer().Find<NoArgumentEntry>("DllUnregisterServer")();
}

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
        CallGetClassObject(&kServerProbeClsId, &platform::kIID_IClassFactory, factory.OutVoid()),
        S_OK);
    ComPtr<IDispatch> probe;
    ASSERT_EQ(factory->CreateInstance(nullptr, platform::kIID_IDispatch, probe.OutVoid()), S_OK);
    EXPECT_EQ(AnswerOf(probe.Get()), 42);
}

TEST(DllGetClassObject, RefusesUnknownClassesAndMissingPointers) {
    void *object = &object;
    EXPECT_EQ(CallGetClassObject(&kUnknownClsId, &platform::kIID_IClassFactory, &object),
              kClassNotAvailable);
    EXPECT_EQ(object, nullptr);
    // A served class asked for an interface its class object lacks.
    object = &object;
    EXPECT_EQ(CallGetClassObject(&kServerProbeClsId, &platform::kIID_IErrorInfo, &object),
              kClassNotAvailable);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(CallGetClassObject(&kServerProbeClsId, &platform::kIID_IClassFactory, nullptr),
              E_POINTER);
    EXPECT_EQ(CallGetClassObject(nullptr, &platform::kIID_IClassFactory, &object), E_INVALIDARG);
}

TEST(DllCanUnloadNow, TheClassObjectsKeepTheModuleLockedForItsLife) {
    EXPECT_EQ(CallCanUnloadNow(), S_FALSE);
    EXPECT_EQ(CallLockModule(1), 0);
    EXPECT_EQ(CallLockModule(0), 0);
    EXPECT_EQ(CallCanUnloadNow(), S_FALSE);
}

TEST(DllRegisterServer, EntersTheServedClassesUnderTheModuleName) {
    platform::ComApartment apartment;
    // Under Wine the entries are the prefix's, which the script tests use too.
    char *before = ZamGetCOMClassEntryA(kProbeProgId, ZAM_CLASS_ENTRY_CLASS_ID);
    const bool was_registered = before != nullptr;
    VekTextFree(before);
    ASSERT_EQ(CallRegisterServer(), S_OK);
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

    EXPECT_EQ(CallUnregisterServer(), S_OK);
    EXPECT_EQ(ZamGetCOMClassEntryA(kProbeProgId, ZAM_CLASS_ENTRY_CLASS_ID), nullptr);
    EXPECT_EQ(ZamCreateCOMObjectA(kProbeProgId, nullptr, nullptr, 0x17, nullptr, probe.OutVoid()),
              static_cast<int32_t>(0xC0040154));
    // Unregistering again finds nothing to remove, and says so by success.
    EXPECT_EQ(CallUnregisterServer(), S_OK);
    if (was_registered) {
        EXPECT_EQ(CallRegisterServer(), S_OK);
    }
}

}  // namespace
