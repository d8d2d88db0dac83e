// The support library's costs that a walk over a large tree multiplies by its
// node count: matching one wildcard pattern against a node's path, a short text
// search and comparison per node, and copying and building trees of named nodes
// that each carry one text property.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vek64.h"
#include "vek64_store.h"
#include "vek64_tree.h"

namespace {

// ---- Wildcard matching of one path -----------------------------------------------

const std::string kPath = "Root.N[3].N[7].N[1].N[10].N[2].N[5]";
// The T store's forms of "Root.*.N[#]", "Root.N[#].?[5]", "Root.*.N[2].*" and
// "Root.+[#].*": '?' and '+' become classes of the name characters.
const char *const kPatterns[] = {"Root.*.N[#]", "Root.N[#].{0-9a-zA-Z_()/, :'-}[5]",
                                 "Root.*.N[2].*", "Root.<0-9a-zA-Z_()/, :'->[#].*"};

void PatternLabel(benchmark::State &state) {
    state.SetLabel(kPatterns[state.range(0)]);
}

// The pattern compiled again for every text, as VekStrnWCompA does.
void BM_WildcardPerCall(benchmark::State &state) {
    const char *pattern = kPatterns[state.range(0)];
    for (auto _ : state) {
        benchmark::DoNotOptimize(VekStrnWCompA(kPath.data(), static_cast<int32_t>(kPath.size()),
                                               pattern, -1, VEK_IGNORE_CASE, nullptr));
    }
    PatternLabel(state);
}

// The pattern compiled once and matched against every text.
void BM_WildcardCompiled(benchmark::State &state) {
    void *compiled = VekWildcardCompileA(kPatterns[state.range(0)], -1, VEK_IGNORE_CASE, nullptr);
    if (compiled == nullptr) {
        state.SkipWithError("the pattern did not compile");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            VekWildcardMatchA(compiled, kPath.data(), static_cast<int32_t>(kPath.size())));
    }
    VekWildcardFree(compiled);
    PatternLabel(state);
}

// ---- Short searches and comparisons ----------------------------------------------

void BM_SearchShort(benchmark::State &state) {
    const uint32_t options = static_cast<uint32_t>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(VekStrnSearchA(kPath.data(), static_cast<int32_t>(kPath.size()),
                                                "n[10]", -1, options, 0));
    }
}

// Two names of equal length that differ only in letter case, as the T store compares
// them (lengths given).
void BM_CompareShort(benchmark::State &state) {
    const uint32_t options = static_cast<uint32_t>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(VekStrnCompA("Value", 5, "VALUE", 5, options));
}

// ---- Trees of named nodes with one text property ---------------------------------

constexpr int kFanOut = 10;

void SetValue(VekTreeNode &node, int64_t number) {
    const std::string text = std::to_string(number);
    VEKVARIANT value;
    VekVarInit(&value);
    VekVarFromStrA(&value, text.c_str(), static_cast<int32_t>(text.size()));
    node._SetProperty("Value", &value);
    VekVarClear(&value);
}

VekTreeNode *NewNode(const std::string &name, int64_t number) {
    VekTreeNode *node = VekTreeNode::Create(VekTreeNode::kGroup);
    node->SetName(name.c_str(), static_cast<int32_t>(name.size()));
    SetValue(*node, number);
    return node;
}

// A root and `depth` levels of `kFanOut` children named N0..N9.
std::unique_ptr<VekTreeNode> Grow(int depth) {
    std::unique_ptr<VekTreeNode> root(NewNode("Root", 0));
    std::vector<VekTreeNode *> level{root.get()};
    int64_t number = 1;
    for (int d = 0; d < depth; ++d) {
        std::vector<VekTreeNode *> next;
        for (VekTreeNode *parent : level) {
            for (int i = 0; i < kFanOut; ++i) {
                VekTreeNode *child = NewNode("N" + std::to_string(i), number++);
                parent->AddChild(child, -1);
                next.push_back(child);
            }
        }
        level.swap(next);
    }
    return root;
}

// A walk over every node of a tree of six levels (1 111 111 nodes), built level by
// level: the cost of reading the links of a node.
void BM_CountNodes(benchmark::State &state) {
    const std::unique_ptr<VekTreeNode> tree = Grow(static_cast<int>(state.range(0)));
    int64_t nodes = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(nodes = tree->GetNodeCount());
    state.counters["ns/node"] = benchmark::Counter(
        static_cast<double>(nodes),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Copy(true) of a root with four levels below it: 11 111 nodes.
void BM_CopySubtree(benchmark::State &state) {
    const std::unique_ptr<VekTreeNode> source = Grow(4);
    const int64_t nodes = source->GetNodeCount() + 1;
    for (auto _ : state) {
        std::unique_ptr<VekTreeNode> copy(source->Copy(true));
        if (copy == nullptr)
            state.SkipWithError("the copy failed");
        state.PauseTiming();
        copy.reset();
        state.ResumeTiming();
    }
    state.counters["ns/node"] = benchmark::Counter(
        static_cast<double>(nodes),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A root with 1 000 groups of 999 items each (1 000 001 nodes), every node named
// and given a text property.
void BM_BuildMillion(benchmark::State &state) {
    constexpr int kGroups = 1000;
    constexpr int kItems = 999;
    for (auto _ : state) {
        std::unique_ptr<VekTreeNode> root(NewNode("Root", 0));
        int64_t number = 1;
        for (int g = 0; g < kGroups; ++g) {
            VekTreeNode *group = NewNode("G" + std::to_string(g), number++);
            root->AddChild(group, -1);
            for (int i = 0; i < kItems; ++i)
                group->AddChild(NewNode("Item", number++), -1);
        }
        state.PauseTiming();
        root.reset();
        state.ResumeTiming();
    }
    state.counters["ns/node"] = benchmark::Counter(
        1e6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_WildcardPerCall)->DenseRange(0, 3);
BENCHMARK(BM_WildcardCompiled)->DenseRange(0, 3);
BENCHMARK(BM_SearchShort)->Arg(0)->Arg(VEK_IGNORE_CASE);
BENCHMARK(BM_CompareShort)->Arg(0)->Arg(VEK_IGNORE_CASE);
BENCHMARK(BM_CountNodes)->Arg(5)->Arg(6)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopySubtree)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildMillion)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
