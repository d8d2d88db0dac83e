// Tree conversion: DaxTreToCOs on a tree of N nodes (a root with groups of 100
// items, each node with two attributes), and DaxUnpackTree on N packed records of
// the same two values. Reported per node at 10 000 and 100 000 nodes, so that a
// conversion that is not linear in the nodes shows as a rising per-node time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "dax64.h"
#include "platform/com.h"
#include "vek64.h"

namespace {

std::string TreeText(int64_t nodes) {
    std::string text = R"({"name": "Main", "children": [)";
    int64_t made = 1;
    for (int64_t group = 0; made < nodes; ++group) {
        text += group == 0 ? "" : ",";
        text += R"({"name": "G)" + std::to_string(group) + R"(", "children": [)";
        ++made;
        for (int item = 0; item < 100 && made < nodes; ++item, ++made) {
            text += item == 0 ? "" : ",";
            text += R"({"name": "I", "attributes": {"Port": "COM)" + std::to_string(item) +
                    R"(", "Rate": 9600}})";
        }
        text += "]}";
    }
    return text + "]}";
}

std::string PackedRecords(int64_t records) {
    std::string text;
    for (int64_t i = 0; i < records; ++i) {
        const std::string record = "Port=COM" + std::to_string(i % 100) + ";Rate=9600";
        char header[8];
        std::snprintf(header, sizeof header, "%06zu", record.size());
        text += header + record;
    }
    void *packed = nullptr;
    const int32_t size =
        VekCompressData(text.data(), static_cast<int32_t>(text.size()), &packed, VEK_PACK_ZLIB, -1);
    std::string bytes(static_cast<const char *>(packed), static_cast<size_t>(size));
    VekTextFree(static_cast<char *>(packed));
    return bytes;
}

void BM_TreeToObjects(benchmark::State &state) {
    const std::string source = TreeText(state.range(0));
    for (auto _ : state) {
        SAFEARRAY *array = nullptr;
        const int32_t count = DaxTreToCOs(source.c_str(), reinterpret_cast<void **>(&array));
        if (count != state.range(0))
            state.SkipWithError("wrong number of objects");
        SafeArrayDestroy(array);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TreeToObjects)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_UnpackRecords(benchmark::State &state) {
    const std::string packed = PackedRecords(state.range(0));
    for (auto _ : state) {
        SAFEARRAY *array = nullptr;
        const int32_t count = DaxUnpackTree(packed.data(), static_cast<int32_t>(packed.size()),
                                            reinterpret_cast<void **>(&array));
        if (count != state.range(0))
            state.SkipWithError("wrong number of objects");
        SafeArrayDestroy(array);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_UnpackRecords)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
