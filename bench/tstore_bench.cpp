// The T store's lookups and walks on large trees: locating a path costs the path's
// depth and the siblings passed, and a walk over the k children of a group costs
// O(k) in all.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "dax64.h"
#include "tstore/t_locate.h"
#include "tstore/t_table.h"
#include "tstore/t_tree.h"
#include "tstore/t_walk.h"
#include "vek64_store.h"
#include "vek64_tree.h"

namespace {

using namespace Ostrel::Zam::tstore;

// A declared tree of the host's, built once per benchmark program.
class DeclaredTree {
  public:
    explicit DeclaredTree(const char *root_name) : handle_(VekTreeNewA(root_name, 128)) {
        void *config = VekPropsNew();
        VekPropsSetInt32(config, "Root Node", handle_);
        T_Declare(config);
        VekPropsFree(config);
    }
    DeclaredTree(const DeclaredTree &) = delete;
    DeclaredTree &operator=(const DeclaredTree &) = delete;
    ~DeclaredTree() { VekTreeFree(handle_); }

    VekTreeNode &Root() const { return *VekTreeNode::FromHandle(handle_); }
    T_Object &Object() const {
        T_Table *table = Existing_T_Table();
        return *table->T_Object_At(table->Find_T_Object(Root().GetName()));
    }

  private:
    int32_t handle_;
};

// Appends `count` children named `name`; the tree owns them.
std::vector<VekTreeNode *> AddChildren(VekTreeNode &parent, const char *name, int count) {
    std::vector<VekTreeNode *> children;
    for (int i = 0; i < count; ++i) {
        auto *child = new T_Tree(T_Tree::kGroup);
        child->SetName(name, -1);
        parent.AddChild(child, -1);
        children.push_back(child);
    }
    return children;
}

// Root and six levels of ten twins each: 1 111 111 nodes.
void GrowLevels(VekTreeNode &root, int depth, int fan_out) {
    std::vector<VekTreeNode *> level{&root};
    for (int d = 0; d < depth; ++d) {
        std::vector<VekTreeNode *> next;
        for (VekTreeNode *node : level) {
            const std::vector<VekTreeNode *> children = AddChildren(*node, "N", fan_out);
            next.insert(next.end(), children.begin(), children.end());
        }
        level = std::move(next);
    }
}

const DeclaredTree &WideTree() {
    static const DeclaredTree tree("Wide");
    static const bool grown = (GrowLevels(tree.Root(), 6, 10), true);
    static_cast<void>(grown);
    return tree;
}

std::string DeepPath(const char *index) {
    std::string path = "Wide";
    for (int depth = 0; depth < 6; ++depth)
        path += std::string(".N[") + index + "]";
    return path;
}

void LocateDeepPath(benchmark::State &state, const char *index) {
    T_Object &object = WideTree().Object();
    const std::string path = DeepPath(index);
    for (auto _ : state)
        benchmark::DoNotOptimize(Locate_Node(object, path));
    state.counters["nodes"] = static_cast<double>(WideTree().Root().GetNodeCount() + 1);
}

void BM_LocateLastOfTenTwinsAtSixLevels(benchmark::State &state) {
    LocateDeepPath(state, "10");
}
BENCHMARK(BM_LocateLastOfTenTwinsAtSixLevels);

void BM_LocateMinusOneAtSixLevels(benchmark::State &state) {
    LocateDeepPath(state, "-1");
}
BENCHMARK(BM_LocateMinusOneAtSixLevels);

// A group of 100 000 twins below the root of another tree.
const DeclaredTree &TwinTree() {
    static const DeclaredTree tree("Twins");
    static const bool grown =
        (AddChildren(*AddChildren(tree.Root(), "Group", 1).front(), "Port", 100000), true);
    static_cast<void>(grown);
    return tree;
}

void BM_WalkHundredThousandTwins(benchmark::State &state) {
    T_Object &object = TwinTree().Object();
    int64_t steps = 0;
    for (auto _ : state) {
        Locate_Node(object, "Twins.Group[1]");
        for (bool more = First_Child(object); more; more = Next_Sibling(object))
            ++steps;
    }
    state.SetItemsProcessed(steps);
    if (object.Current_Path() != "Twins.Group[1].Port[100000]")
        state.SkipWithError("the walk did not end at the last twin");
}
BENCHMARK(BM_WalkHundredThousandTwins)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
