// Custom objects as scripts fill and read them: a new object given N properties by
// GetDispID (ensuring the name) and InvokeEx puts, then every property read back by
// GetDispID and InvokeEx. Reported per property, at 1 000, 10 000 and 100 000
// properties on one object, so that growth with the count shows.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "script/custom_object.h"

namespace {

using Ostrel::Zam::CustomObject;

std::vector<BSTR> Names(int64_t count) {
    std::vector<BSTR> names;
    names.reserve(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i)
        names.push_back(platform::BstrFromText("Property" + std::to_string(i)));
    return names;
}

void FreeNames(std::vector<BSTR> &names) {
    for (BSTR name : names)
        SysFreeString(name);
}

void Put(CustomObject &object, BSTR name, int32_t value) {
    DISPID id = 0;
    object.GetDispID(name, fdexNameCaseSensitive | fdexNameEnsure, &id);
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_I4;
    argument.lVal = value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS block = {&argument, &named, 1, 1};
    object.InvokeEx(id, 0, DISPATCH_PROPERTYPUT, &block, nullptr, nullptr, nullptr);
}

int32_t Get(CustomObject &object, BSTR name) {
    DISPID id = 0;
    object.GetDispID(name, fdexNameCaseSensitive, &id);
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    object.InvokeEx(id, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
    return result.lVal;
}

void BM_PutNewProperties(benchmark::State &state) {
    std::vector<BSTR> names = Names(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto object = CustomObject::Create();
        state.ResumeTiming();
        for (size_t i = 0; i < names.size(); ++i)
            Put(*object.Get(), names[i], static_cast<int32_t>(i));
        state.PauseTiming();
        object = {};
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    FreeNames(names);
}
BENCHMARK(BM_PutNewProperties)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ReadProperties(benchmark::State &state) {
    std::vector<BSTR> names = Names(state.range(0));
    auto object = CustomObject::Create();
    for (size_t i = 0; i < names.size(); ++i)
        Put(*object.Get(), names[i], static_cast<int32_t>(i));
    int64_t sum = 0;
    for (auto _ : state) {
        for (BSTR name : names)
            sum += Get(*object.Get(), name);
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    FreeNames(names);
}
BENCHMARK(BM_ReadProperties)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
