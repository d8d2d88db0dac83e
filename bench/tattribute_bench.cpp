// Reading and writing one attribute by path on a tree of 1 111 111 nodes (root and
// six levels of ten twins). A call resolves the path (alias, syntax, T object,
// locating the node through six levels of ten siblings), checks the declaration,
// and converts the value; locating alone is measured beside it for comparison.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "dax64.h"
#include "tstore/nodes/t_locate.h"
#include "tstore/table/t_table.h"
#include "tstore/table/t_tree.h"
#include "vek64_store.h"
#include "vek64_tree.h"

namespace {

using namespace Ostrel::Zam::tstore;

// The host's tree, declared with a String and a Long attribute among eight.
class DeclaredTree {
  public:
    DeclaredTree() : handle_(VekTreeNewA("Wide", 128)) {
        void *config = VekPropsNew();
        VekPropsSetInt32(config, "Root Node", handle_);
        const char *names[] = {"A", "B", "C", "D", "E", "F", "Label", "Count"};
        for (int n = 0; n < 8; ++n)
            VekPropsSetTextA(config, ("Attribute " + std::to_string(n + 1)).c_str(), names[n]);
        VekPropsSetTextA(config, "Attribute Label VarType", "String");
        VekPropsSetTextA(config, "Attribute Count VarType", "Long");
        T_Declare(config);
        VekPropsFree(config);
        Grow(*VekTreeNode::FromHandle(handle_), 6, 10);
    }
    DeclaredTree(const DeclaredTree &) = delete;
    DeclaredTree &operator=(const DeclaredTree &) = delete;
    ~DeclaredTree() { VekTreeFree(handle_); }

    T_Object &Object() const {
        T_Table *table = Existing_T_Table();
        return *table->T_Object_At(table->Find_T_Object("Wide"));
    }

  private:
    // Each level gets `fan_out` twins named N below every node of the level above.
    static void Grow(VekTreeNode &root, int depth, int fan_out) {
        std::vector<VekTreeNode *> level{&root};
        for (int d = 0; d < depth; ++d) {
            std::vector<VekTreeNode *> next;
            for (VekTreeNode *node : level) {
                for (int i = 0; i < fan_out; ++i) {
                    auto *child = new T_Tree(T_Tree::kGroup);
                    child->SetName("N", -1);
                    node->AddChild(child, -1);
                    next.push_back(child);
                }
            }
            level = std::move(next);
        }
    }

    int32_t handle_;
};

const DeclaredTree &Tree() {
    static const DeclaredTree tree;
    return tree;
}

// The last twin at every level: the walk passes all ten siblings six times.
std::string DeepPath() {
    std::string path = "Wide";
    for (int depth = 0; depth < 6; ++depth)
        path += ".N[10]";
    return path;
}

void BM_LocateOnly(benchmark::State &state) {
    T_Object &object = Tree().Object();
    const std::string path = DeepPath();
    for (auto _ : state)
        benchmark::DoNotOptimize(Locate_Node(object, path));
}
BENCHMARK(BM_LocateOnly);

void SetBench(benchmark::State &state, const char *attribute, const char *value) {
    Tree();
    const std::string path = DeepPath() + "!" + attribute;
    for (auto _ : state) {
        if (T_SetA(path.c_str(), value, 0x33) != 0) {
            state.SkipWithError("T_SetA failed");
            break;
        }
    }
}

void GetBench(benchmark::State &state, const char *attribute, const char *value) {
    Tree();
    const std::string path = DeepPath() + "!" + attribute;
    T_SetA(path.c_str(), value, 0x33);
    for (auto _ : state) {
        char *text = T_GetA(path.c_str(), 0x33, 0x19);
        if (text == nullptr) {
            state.SkipWithError("T_GetA failed");
            break;
        }
        VekTextFree(text);
    }
}

void BM_SetText(benchmark::State &state) {
    SetBench(state, "Label", "COM1 at 9600 baud");
}
BENCHMARK(BM_SetText);

void BM_GetText(benchmark::State &state) {
    GetBench(state, "Label", "COM1 at 9600 baud");
}
BENCHMARK(BM_GetText);

void BM_SetLong(benchmark::State &state) {
    SetBench(state, "Count", "-123456");
}
BENCHMARK(BM_SetLong);

void BM_GetLong(benchmark::State &state) {
    GetBench(state, "Count", "-123456");
}
BENCHMARK(BM_GetLong);

}  // namespace

BENCHMARK_MAIN();
