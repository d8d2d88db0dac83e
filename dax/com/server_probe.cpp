// Testing builds only: the class "ServerProbe", served by the module like the script
// object classes, so that registration, class lookup and the module lock can be
// driven by real clients (regsvr32, CreateObject) in any build of the tests. Its
// instances have one read-only property, Answer (42), and the framework's members.
#if defined(DAX_TEST_EXPORTS)

#include "com/class_objects.h"
#include "framework/descriptors/descriptor_builder.h"
#include "framework/dispatch/invoke_flags.h"
#include "framework/dispatch/variant_values.h"
#include "platform/api.h"

namespace Ostrel::Zam {
namespace {

constexpr GUID kServerProbeClsId = {
    0x0640C0DE, 0x5E7E, 0x4B0B, {0x9E, 0x01, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};

class ServerProbe : public DispatchObject {
  public:
    static CIComponentDescriptorImpl &Class();
    CIComponentDescriptorImpl &ClassDescriptor() override { return Class(); }
};

ComponentRef BuildProbeClass() {
    ComponentRef probe = NewClassDescriptor("ServerProbe", kServerProbeClsId,
                                            kClassCreatable | kClassInstanceFactory);
    probe->SetInstanceFactory(
        [] { return platform::ComPtr<IDispatch>(MakeObject<ServerProbe>()->AsDispatch()); });
    AddProperty(
        *probe.Get(), "Answer", VT_I4,
        {Getter<ServerProbe>([](ServerProbe &, VARIANT *result) { SetInt32(result, 42); })});
    return probe;
}

// Built and registered while the module loads, unregistered while it unloads.
class ServerProbeClassObject {
  public:
    ServerProbeClassObject() : descriptor_(BuildProbeClass()) {
        try {
            RegisterClassObject(AsUnknown());
        } catch (...) {
            // Unregistered, the class is simply not served; loading must go on.
        }
    }
    ServerProbeClassObject(const ServerProbeClassObject &) = delete;
    ServerProbeClassObject &operator=(const ServerProbeClassObject &) = delete;
    ~ServerProbeClassObject() { UnregisterClassObject(AsUnknown()); }

    CIComponentDescriptorImpl &Descriptor() { return *descriptor_.Get(); }

  private:
    IUnknown *AsUnknown() { return static_cast<IClassFactory *>(descriptor_.Get()); }
    ComponentRef descriptor_;
};

ServerProbeClassObject g_server_probe PLATFORM_INIT_PRIORITY(1300);

CIComponentDescriptorImpl &ServerProbe::Class() {
    return g_server_probe.Descriptor();
}

}  // namespace
}  // namespace Ostrel::Zam

#endif
