// Tree files: loading and saving a tree of 1 000 000 nodes (1 000 groups of 999
// items, each item with a number, a text and a double), measured in bytes of JSON
// per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "vek64_store.h"
#include "vek64_tree.h"

namespace {

constexpr int kGroups = 1000;
constexpr int kItemsPerGroup = 999;  // with the groups and the root: 1 000 001 nodes

std::unique_ptr<VekTreeNode> BuildTree() {
    std::unique_ptr<VekTreeNode> root(VekTreeNode::Create(VekTreeNode::kGroup));
    root->SetName("Root", -1);
    VEKVARIANT value{};
    for (int g = 0; g < kGroups; ++g) {
        VekTreeNode *group = VekTreeNode::Create(VekTreeNode::kGroup);
        group->SetName(("Group" + std::to_string(g)).c_str(), -1);
        root->AddChild(group, -1);
        for (int i = 0; i < kItemsPerGroup; ++i) {
            VekTreeNode *item = VekTreeNode::Create(0);
            item->SetName("Port", -1);
            VekVarFromInt32(&value, g * kItemsPerGroup + i);
            item->_SetProperty("Index", &value);
            VekVarFromStrA(&value, "COM1", -1);
            item->_SetProperty("Device", &value);
            VekVarFromDouble(&value, i * 0.25);
            item->_SetProperty("Ratio", &value);
            group->AddChild(item, -1);
        }
    }
    VekVarClear(&value);
    return root;
}

const std::string &TreeFilePath() {
    static const std::string path = [] {
        const std::string file = "tree_file_bench.json";
        BuildTree()->Save(file.c_str(), 0);
        return file;
    }();
    return path;
}

long FileSize(const std::string &path) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fclose(file);
    return size;
}

void BM_LoadMillionNodeTreeFile(benchmark::State &state) {
    const std::string &path = TreeFilePath();
    const long size = FileSize(path);
    for (auto _ : state) {
        std::unique_ptr<VekTreeNode> root(VekTreeNode::Create(VekTreeNode::kGroup));
        if (root->Load(path.c_str(), 0) != 0)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(root->FirstChild());
        state.PauseTiming();
        root.reset();  // freeing the tree is not loading it
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["nodes"] = static_cast<double>(kGroups) * (kItemsPerGroup + 1) + 1;
}
BENCHMARK(BM_LoadMillionNodeTreeFile)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveMillionNodeTreeFile(benchmark::State &state) {
    const std::unique_ptr<VekTreeNode> root = BuildTree();
    const std::string path = "tree_file_bench_saved.json";
    for (auto _ : state) {
        if (root->Save(path.c_str(), 0) != 0)
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * FileSize(path));
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveMillionNodeTreeFile)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
