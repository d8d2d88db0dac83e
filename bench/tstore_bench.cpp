// The T store's lookups and walks on large trees: locating a path costs the path's
// depth and the siblings passed, and a walk over the k children of a group costs
// O(k) in all. Counting, searching by wildcard, deleting and adding cost O(n) in
// the nodes they visit: each is measured at two sizes, ten times apart.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "dax64.h"
#include "tstore/nodes/t_locate.h"
#include "tstore/nodes/t_walk.h"
#include "tstore/table/t_table.h"
#include "tstore/table/t_tree.h"
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

// ---- Counting and wildcard searches over every node ------------------------

// Root and `depth` levels of ten twins named N: 111 111 nodes at depth 5,
// 1 111 111 at depth 6.
const DeclaredTree &TreeOfDepth(int64_t depth) {
    if (depth == 6)
        return WideTree();
    static const DeclaredTree tree("Wide5");
    static const bool grown = (GrowLevels(tree.Root(), 5, 10), true);
    static_cast<void>(grown);
    return tree;
}

void CountNodes(benchmark::State &state, int32_t node_type) {
    const DeclaredTree &tree = TreeOfDepth(state.range(0));
    const std::string identifier = std::string(tree.Root().GetName()) + ".*";
    const int64_t nodes = tree.Root().GetNodeCount();
    for (auto _ : state)
        benchmark::DoNotOptimize(T_CountNodesA(identifier.c_str(), node_type));
    state.SetItemsProcessed(state.iterations() * nodes);
    state.counters["nodes"] = static_cast<double>(nodes);
}

// Type 1 over "Root.*" is answered by counting the subtree.
void BM_CountEveryNode(benchmark::State &state) {
    CountNodes(state, 1);
}
BENCHMARK(BM_CountEveryNode)->Arg(5)->Arg(6)->Unit(benchmark::kMillisecond);

// Type 0 matches every node's path on the way.
void BM_CountItemsByWalking(benchmark::State &state) {
    CountNodes(state, 0);
}
BENCHMARK(BM_CountItemsByWalking)->Arg(5)->Arg(6)->Unit(benchmark::kMillisecond);

// A wildcard identifier that only the last node in tree order matches: the
// search walks the whole tree.
void BM_FullPathOfTheLastMatch(benchmark::State &state) {
    const DeclaredTree &tree = TreeOfDepth(state.range(0));
    std::string identifier = std::string(tree.Root().GetName()) + ".*N[10]";
    for (int64_t level = 1; level < state.range(0); ++level)
        identifier += ".N[10]";
    std::string found;
    for (auto _ : state) {
        char *path = T_GetFullPathA(identifier.c_str(), 0x27, 25);
        found = path != nullptr ? path : "";
        VekTextFree(path);
    }
    state.SetItemsProcessed(state.iterations() * tree.Root().GetNodeCount());
    if (found !=
        identifier.substr(0, identifier.find('*')) + identifier.substr(identifier.find('*') + 1))
        state.SkipWithError("the search did not find the last node");
}
BENCHMARK(BM_FullPathOfTheLastMatch)->Arg(5)->Arg(6)->Unit(benchmark::kMillisecond);

// ---- Deleting and adding runs of twins --------------------------------------

const DeclaredTree &BuildTree() {
    static const DeclaredTree tree("Build");
    return tree;
}

// Deletes `count` twins by "Build.X[#]"; each deletion moves to the next twin.
void BM_DeleteEveryTwin(benchmark::State &state) {
    VekTreeNode &root = BuildTree().Root();
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        AddChildren(root, "X", count);
        state.ResumeTiming();
        if (T_DeleteNodeA("Build.X[#]", 7, 25) != 0 || root.FirstChild() != nullptr)
            state.SkipWithError("the twins were not all deleted");
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_DeleteEveryTwin)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Deletes every other child ("Build.X[#]" among X, Y, X, Y, ...): each deletion
// is followed by a step to a sibling of another name, whose twin index the node
// class would have to recount after every deletion; the walk's twin tally keeps
// it linear.
void BM_DeleteTwinsAmongOtherNames(benchmark::State &state) {
    VekTreeNode &root = BuildTree().Root();
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < count / 2; ++i) {
            AddChildren(root, "X", 1);
            AddChildren(root, "Y", 1);
        }
        state.ResumeTiming();
        if (T_DeleteNodeA("Build.X[#]", 7, 25) != 0 || root.ChildCount() != count / 2)
            state.SkipWithError("the twins were not all deleted");
        state.PauseTiming();
        while (VekTreeNode *child = root.FirstChild())
            child->Delete(true);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_DeleteTwinsAmongOtherNames)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Adds `count` twins "Build.X" one call at a time, each appended last.
void BM_AddTwins(benchmark::State &state) {
    VekTreeNode &root = BuildTree().Root();
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (int i = 0; i < count; ++i)
            T_AddNodeA("Build.X", 0, -1, 3);
        state.PauseTiming();
        if (root.ChildCount() != count)
            state.SkipWithError("the twins were not all added");
        while (VekTreeNode *child = root.FirstChild())
            child->Delete(true);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_AddTwins)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
