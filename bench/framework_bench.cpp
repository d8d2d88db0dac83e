// The component framework at 100 000 members: adding them one by one, then a name
// lookup plus a property read, through the descriptor and through the automation
// doors as a script host calls them. Beside each, a std::unordered_map doing the
// same work (names to accessor functions).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/descriptors/descriptor_builder.h"
#include "framework/dispatch/invoke_flags.h"

namespace {

using namespace Ostrel::Zam;

constexpr size_t kMembers = 100000;

// The member names in a shuffled order, so that insertions land all over the table.
const std::vector<std::string> &Names() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> made;
        made.reserve(kMembers);
        char text[32];
        for (size_t i = 0; i < kMembers; ++i) {
            std::snprintf(text, sizeof text, "Member%06zu", i);
            made.emplace_back(text);
        }
        std::shuffle(made.begin(), made.end(), std::mt19937(42));
        return made;
    }();
    return names;
}

// One accessor shared by every property, as the properties of one class share theirs.
std::shared_ptr<const PropertyAccessors> ValueAccessor() {
    PropertyAccessors accessors;
    accessors.get = [](DispatchObject &, VARIANT *result) { SetInt32(result, 7); };
    return std::make_shared<const PropertyAccessors>(std::move(accessors));
}

ComponentRef BuildDescriptor() {
    ComponentRef descriptor = MakeObject<CIComponentDescriptorImpl>(
        "Bench.Wide", platform::kGUID_NULL, kClassCreatable | kClassInstanceFactory);
    const auto accessors = ValueAccessor();
    for (const std::string &name : Names())
        AddProperty(*descriptor.Get(), name, VT_I4, accessors);
    return descriptor;
}

class WideObject : public DispatchObject {
  public:
    explicit WideObject(ComponentRef descriptor) : descriptor_(std::move(descriptor)) {}
    CIComponentDescriptorImpl &ClassDescriptor() override { return *descriptor_.Get(); }

  private:
    ComponentRef descriptor_;
};

using Getter = std::function<void(VARIANT *)>;

void BM_AddMembers(benchmark::State &state) {
    for (auto _ : state) {
        ComponentRef descriptor = BuildDescriptor();
        benchmark::DoNotOptimize(descriptor.Get());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kMembers));
}
BENCHMARK(BM_AddMembers)->Unit(benchmark::kMillisecond);

void BM_AddMembers_UnorderedMap(benchmark::State &state) {
    for (auto _ : state) {
        std::unordered_map<std::string, Getter> map;
        for (const std::string &name : Names())
            map.emplace(name, [](VARIANT *result) { SetInt32(result, 7); });
        benchmark::DoNotOptimize(map.size());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kMembers));
}
BENCHMARK(BM_AddMembers_UnorderedMap)->Unit(benchmark::kMillisecond);

// FindMember by name, then a plain read by dispatch id through the descriptor.
void BM_LookupAndRead_Descriptor(benchmark::State &state) {
    const ComponentRef descriptor = BuildDescriptor();
    const auto object = MakeObject<WideObject>(descriptor);
    const auto &names = Names();
    size_t next = 0;
    OwnedVariant value;
    for (auto _ : state) {
        const DISPID id = descriptor->FindMember(names[next])->DispId();
        descriptor->Invoke(object.Get(), id, kInvokeRead, nullptr, value.Get(), false);
        benchmark::DoNotOptimize((*value).lVal);
        next = next + 7919 < kMembers ? next + 7919 : next + 7919 - kMembers;
    }
}
BENCHMARK(BM_LookupAndRead_Descriptor);

// As a script host does it: GetDispID with a BSTR name, then Invoke(PROPERTYGET)
// through the guarded door.
void BM_LookupAndRead_Door(benchmark::State &state) {
    const ComponentRef descriptor = BuildDescriptor();
    const auto object = MakeObject<WideObject>(descriptor);
    std::vector<std::unique_ptr<platform::Bstr>> names;
    names.reserve(kMembers);
    for (const std::string &name : Names())
        names.push_back(std::make_unique<platform::Bstr>(platform::BstrFromText(name)));
    size_t next = 0;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    OwnedVariant value;
    for (auto _ : state) {
        DISPID id = 0;
        object->GetDispID(names[next]->Get(), fdexNameCaseInsensitive, &id);
        object->Invoke(id, platform::kGUID_NULL, 0, DISPATCH_PROPERTYGET, &none, value.Get(),
                       nullptr, nullptr);
        benchmark::DoNotOptimize((*value).lVal);
        next = next + 7919 < kMembers ? next + 7919 : next + 7919 - kMembers;
    }
}
BENCHMARK(BM_LookupAndRead_Door);

void BM_LookupAndRead_UnorderedMap(benchmark::State &state) {
    std::unordered_map<std::string, Getter> map;
    for (const std::string &name : Names())
        map.emplace(name, [](VARIANT *result) { SetInt32(result, 7); });
    const auto &names = Names();
    size_t next = 0;
    OwnedVariant value;
    for (auto _ : state) {
        map.find(names[next])->second(value.Get());
        benchmark::DoNotOptimize((*value).lVal);
        next = next + 7919 < kMembers ? next + 7919 : next + 7919 - kMembers;
    }
}
BENCHMARK(BM_LookupAndRead_UnorderedMap);

// Invocations by dispatch id only (the one-entry cache misses on every call).
void BM_InvokeById(benchmark::State &state) {
    const ComponentRef descriptor = BuildDescriptor();
    const auto object = MakeObject<WideObject>(descriptor);
    std::vector<DISPID> ids;
    for (const std::string &name : Names())
        ids.push_back(descriptor->FindMember(name)->DispId());
    size_t next = 0;
    OwnedVariant value;
    for (auto _ : state) {
        descriptor->Invoke(object.Get(), ids[next], kInvokeRead, nullptr, value.Get(), false);
        benchmark::DoNotOptimize((*value).lVal);
        next = next + 7919 < kMembers ? next + 7919 : next + 7919 - kMembers;
    }
}
BENCHMARK(BM_InvokeById);

}  // namespace

BENCHMARK_MAIN();
