// A small class built on the framework for the tests: typed properties, a
// read-only and a write-only one, an object-valued one, an indexed one, a method
// with named parameters and one that fails with a chosen code.
#pragma once

#include <array>
#include <string>

#include "framework/descriptors/descriptor_builder.h"
#include "framework/dispatch/invoke_flags.h"

namespace dax_test {

using namespace Ostrel::Zam;

inline constexpr GUID kTestPortClsId = {
    0x0A1B2C3D, 0x4E5F, 0x6071, {0x82, 0x93, 0xA4, 0xB5, 0xC6, 0xD7, 0xE8, 0xF9}};

class TestPort : public DispatchObject {
  public:
    std::string name = "COM1";
    int32_t baud = 9600;
    bool enabled = false;
    std::string secret;
    platform::ComPtr<IDispatch> peer;
    std::array<int32_t, 8> bits{};

    static CIComponentDescriptorImpl &Class();
    CIComponentDescriptorImpl &ClassDescriptor() override { return Class(); }
    std::string ToString() override { return "Port " + name; }
    platform::ComPtr<IDispatch> CloneObject() override;
};

// An instance of any class descriptor, with no state of its own.
class InstanceOf : public DispatchObject {
  public:
    explicit InstanceOf(ComponentRef descriptor) : descriptor_(std::move(descriptor)) {}
    CIComponentDescriptorImpl &ClassDescriptor() override { return *descriptor_.Get(); }

  private:
    ComponentRef descriptor_;
};

inline platform::ComPtr<TestPort> NewPort() {
    return MakeObject<TestPort>();
}

}  // namespace dax_test
