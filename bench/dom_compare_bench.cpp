// The T store beside a DOM (pugixml) doing the same work on the same tree: a root
// and `depth` levels of ten children named N0..N9, each node with one text
// attribute Value holding its number in document order (pugixml: elements with an
// attribute Value). Depths 4, 5 and 6 give 11 111, 111 111 and 1 111 111 nodes, so
// the figures show how each operation grows with the tree.
//
// Measured, each through the exports as a script calls them:
// - locating the last node at the deepest level by path (T_ExistsA against
//   first_element_by_path and against a compiled XPath query);
// - counting every node below the root (T_CountNodesA of "<root>.*" with type 1
//   against a walk that counts the elements);
// - a search by attribute value that visits every node (T_SearchA for the value
//   that only the last node holds, against the XPath //*[@Value='...']);
// - copying a subtree of 11 111 nodes into another tree (T_CopyNodeA with Recurse
//   53 against append_copy); the copy is deleted again outside the timing;
// - the calls scripts make most, each 1 000 times on 1 000 different nodes of the
//   deepest level: reading the attribute Value by path (T_GetA raw, the text
//   freed, against first_element_by_path and attribute().value()), writing it
//   (T_SetA raw against first_element_by_path and set_value) and asking whether
//   the node exists (T_ExistsA against first_element_by_path);
// - building a tree of the same shape node by node (T_AddNodeA and T_SetA of
//   Value for each node, against append_child and append_attribute on the nodes
//   found by their paths); the tree is freed again outside the timing.
// Depth 6 is left out of the rows of single calls and of building: their cost
// per call hardly grows with the tree.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dax64.h"
#include "tstore/table/t_tree.h"
#include "vek64_store.h"
#include "vek64_tree.h"

namespace {

using Ostrel::Zam::tstore::T_Tree;

constexpr int kFanOut = 10;

// A host tree declared as a T object.
class DeclaredRoot {
  public:
    explicit DeclaredRoot(const std::string &name) : handle_(VekTreeNewA(name.c_str(), 128)) {
        void *config = VekPropsNew();
        VekPropsSetInt32(config, "Root Node", handle_);
        VekPropsSetTextA(config, "Attribute 1", "Value");
        T_Declare(config);
        VekPropsFree(config);
    }
    DeclaredRoot(const DeclaredRoot &) = delete;
    DeclaredRoot &operator=(const DeclaredRoot &) = delete;
    ~DeclaredRoot() { VekTreeFree(handle_); }

    VekTreeNode &Node() const { return *VekTreeNode::FromHandle(handle_); }

  private:
    int32_t handle_;
};

void SetValue(VekTreeNode &node, const std::string &text) {
    VEKVARIANT value;
    VekVarInit(&value);
    VekVarFromStrA(&value, text.c_str(), static_cast<int32_t>(text.size()));
    node._SetProperty("Value", &value);
    VekVarClear(&value);
}

// The same tree twice: in the T store and in a pugixml document.
class Trees {
  public:
    explicit Trees(int depth)
        : depth_(depth),
          name_("D" + std::to_string(depth)),
          store_(name_),
          destination_("Copies" + std::to_string(depth)) {
        pugi::xml_node root = document_.append_child(name_.c_str());
        copies_ = copies_document_.append_child("Copies");
        Grow(root);
    }

    int Depth() const { return depth_; }
    const std::string &Name() const { return name_; }
    const DeclaredRoot &Destination() const { return destination_; }
    pugi::xml_document &Document() { return document_; }
    pugi::xml_node Copies() const { return copies_; }
    const std::string &LastValue() const { return last_value_; }
    int64_t NodeCount() const { return node_count_; }

    // The path of the last node at the deepest level, written with `separator`.
    std::string DeepPath(char separator, int levels) const {
        std::string path = name_;
        for (int level = 0; level < levels; ++level)
            path += separator + std::string("N") + std::to_string(kFanOut - 1);
        return path;
    }

  private:
    // Level by level; values are numbered in document (pre-order) position, so the
    // last node in document order holds the highest number.
    void Grow(pugi::xml_node dom_root) {
        std::vector<std::pair<VekTreeNode *, pugi::xml_node>> level{{&store_.Node(), dom_root}};
        for (int d = 0; d < depth_; ++d) {
            std::vector<std::pair<VekTreeNode *, pugi::xml_node>> next;
            next.reserve(level.size() * kFanOut);
            for (auto &[node, element] : level) {
                for (int i = 0; i < kFanOut; ++i) {
                    const std::string name = "N" + std::to_string(i);
                    auto child = std::make_unique<T_Tree>(T_Tree::kGroup);
                    child->SetName(name.c_str(), -1);
                    node->AddChild(child.get(), -1);
                    next.emplace_back(child.release(), element.append_child(name.c_str()));
                }
            }
            level = std::move(next);
        }
        NumberInDocumentOrder(dom_root);
    }

    void NumberInDocumentOrder(pugi::xml_node dom_root) {
        // Both trees have the same shape: walk them side by side in pre-order.
        VekTreeNode *node = &store_.Node();
        pugi::xml_node element = dom_root;
        int64_t number = 0;
        while (node != nullptr) {
            last_value_ = std::to_string(number++);
            SetValue(*node, last_value_);
            element.append_attribute("Value").set_value(last_value_.c_str());
            node = node->GetNextNode();
            element = NextElement(element, dom_root);
        }
        node_count_ = number;
    }

    static pugi::xml_node NextElement(pugi::xml_node element, pugi::xml_node top) {
        if (element.first_child())
            return element.first_child();
        for (; element && element != top; element = element.parent()) {
            if (element.next_sibling())
                return element.next_sibling();
        }
        return {};
    }

    int depth_;
    std::string name_;
    DeclaredRoot store_;
    DeclaredRoot destination_;
    pugi::xml_document document_;
    pugi::xml_document copies_document_;
    pugi::xml_node copies_;
    std::string last_value_;
    int64_t node_count_ = 0;
};

Trees &TreesOfDepth(int depth) {
    static std::map<int, std::unique_ptr<Trees>> built;
    std::unique_ptr<Trees> &trees = built[depth];
    if (trees == nullptr)
        trees = std::make_unique<Trees>(depth);
    return *trees;
}

void Label(benchmark::State &state, const Trees &trees) {
    state.counters["nodes"] = static_cast<double>(trees.NodeCount());
}

// ---- Locating by path --------------------------------------------------------

void BM_Locate_TStore(benchmark::State &state) {
    Trees &trees = TreesOfDepth(static_cast<int>(state.range(0)));
    const std::string path = trees.DeepPath('.', trees.Depth());
    for (auto _ : state)
        benchmark::DoNotOptimize(T_ExistsA(path.c_str()));
    if (T_ExistsA(path.c_str()) != 1)
        state.SkipWithError("the path was not found");
    Label(state, trees);
}

void BM_Locate_Pugixml(benchmark::State &state) {
    Trees &trees = TreesOfDepth(static_cast<int>(state.range(0)));
    const std::string path = trees.DeepPath('/', trees.Depth());
    for (auto _ : state)
        benchmark::DoNotOptimize(trees.Document().first_element_by_path(path.c_str()));
    if (!trees.Document().first_element_by_path(path.c_str()))
        state.SkipWithError("the path was not found");
    Label(state, trees);
}

// The same lookup as a compiled XPath query, the other way a DOM user finds a node
// by its path.
void BM_Locate_PugixmlXPath(benchmark::State &state) {
    Trees &trees = TreesOfDepth(static_cast<int>(state.range(0)));
    const pugi::xpath_query xpath(("/" + trees.DeepPath('/', trees.Depth())).c_str());
    pugi::xpath_node found;
    for (auto _ : state) {
        found = xpath.evaluate_node(trees.Document());
        benchmark::DoNotOptimize(found);
    }
    if (!found)
        state.SkipWithError("the path was not found");
    Label(state, trees);
}

// ---- Counting all descendants -----------------------------------------------

void BM_Count_TStore(benchmark::State &state) {
    Trees &trees = TreesOfDepth(static_cast<int>(state.range(0)));
    const std::string identifier = trees.Name() + ".*";
    for (auto _ : state)
        benchmark::DoNotOptimize(T_CountNodesA(identifier.c_str(), 1));
    if (T_CountNodesA(identifier.c_str(), 1) != trees.NodeCount() - 1)
        state.SkipWithError("wrong count");
    Label(state, trees);
}

int64_t CountDescendants(pugi::xml_node top) {
    int64_t count = 0;
    pugi::xml_node element = top.first_child();
    while (element) {
        ++count;
        if (element.first_child()) {
            element = element.first_child();
            continue;
        }
        while (element != top && !element.next_sibling())
            element = element.parent();
        element = element == top ? pugi::xml_node() : element.next_sibling();
    }
    return count;
}

void BM_Count_Pugixml(benchmark::State &state) {
    Trees &trees = TreesOfDepth(static_cast<int>(state.range(0)));
    const pugi::xml_node root = trees.Document().first_child();
    for (auto _ : state)
        benchmark::DoNotOptimize(CountDescendants(root));
    if (CountDescendants(root) != trees.NodeCount() - 1)
        state.SkipWithError("wrong count");
    Label(state, trees);
}

// ---- Search by attribute value -------------------------------------------------

void BM_Search_TStore(benchmark::State &state) {
    Trees &trees = TreesOfDepth(static_cast<int>(state.range(0)));
    const std::string identifier = trees.Name() + ".*!Value";
    std::string found;
    for (auto _ : state) {
        char *hit = T_SearchA(identifier.c_str(), trees.LastValue().c_str(), "", 0x33, 1, 0);
        found = hit != nullptr ? hit : "";
        VekTextFree(hit);
    }
    if (found.empty() || found.find(".N9[1]") == std::string::npos)
        state.SkipWithError("the last node was not found");
    Label(state, trees);
}

void BM_Search_Pugixml(benchmark::State &state) {
    Trees &trees = TreesOfDepth(static_cast<int>(state.range(0)));
    const std::string query = "//*[@Value='" + trees.LastValue() + "']";
    const pugi::xpath_query xpath(query.c_str());
    pugi::xpath_node found;
    for (auto _ : state) {
        found = xpath.evaluate_node(trees.Document());
        benchmark::DoNotOptimize(found);
    }
    if (!found)
        state.SkipWithError("the last node was not found");
    Label(state, trees);
}

// ---- Copying a subtree of 11 111 nodes -------------------------------------------

// The node whose subtree holds four levels: the same size in every tree.
int SubtreeLevels(const Trees &trees) {
    return trees.Depth() - 4;
}

void BM_CopySubtree_TStore(benchmark::State &state) {
    Trees &trees = TreesOfDepth(static_cast<int>(state.range(0)));
    const std::string source = trees.DeepPath('.', SubtreeLevels(trees));
    const std::string destination(trees.Destination().Node().GetName());
    VekTreeNode &copies = trees.Destination().Node();
    for (auto _ : state) {
        if (T_CopyNodeA(source.c_str(), destination.c_str(), -1, 53) != 0)
            state.SkipWithError("the copy failed");
        state.PauseTiming();
        if (copies.LastChild() != nullptr)
            copies.LastChild()->Delete(true);
        state.ResumeTiming();
    }
    Label(state, trees);
}

void BM_CopySubtree_Pugixml(benchmark::State &state) {
    Trees &trees = TreesOfDepth(static_cast<int>(state.range(0)));
    const std::string source = trees.DeepPath('/', SubtreeLevels(trees));
    const pugi::xml_node subtree = trees.Document().first_element_by_path(source.c_str());
    pugi::xml_node copies = trees.Copies();
    for (auto _ : state) {
        benchmark::DoNotOptimize(copies.append_copy(subtree));
        state.PauseTiming();
        copies.remove_child(copies.last_child());
        state.ResumeTiming();
    }
    Label(state, trees);
}

// ---- Single calls by path on 1 000 deep nodes ---------------------------------

constexpr int kCallsPerRound = 1000;

// The paths of 1 000 nodes of the deepest level, spread over the whole tree
// (a fixed stride through the level, so no two share the last few sections).
std::vector<std::string> DeepPaths(const Trees &trees, char separator) {
    int64_t deepest = 1;
    for (int d = 0; d < trees.Depth(); ++d)
        deepest *= kFanOut;
    std::vector<std::string> paths;
    paths.reserve(kCallsPerRound);
    for (int64_t i = 0; i < kCallsPerRound; ++i) {
        int64_t number = (i * 7919) % deepest;
        std::string sections;
        for (int d = 0; d < trees.Depth(); ++d) {
            sections.insert(0, separator + std::string("N") + std::to_string(number % kFanOut));
            number /= kFanOut;
        }
        paths.push_back(trees.Name() + sections);
    }
    return paths;
}

std::vector<std::string> WithValue(std::vector<std::string> paths) {
    for (std::string &path : paths)
        path += "!Value";
    return paths;
}

void LabelCalls(benchmark::State &state, const Trees &trees) {
    Label(state, trees);
    state.SetItemsProcessed(state.iterations() * kCallsPerRound);
}

void BM_Get_TStore(benchmark::State &state) {
    Trees &trees = TreesOfDepth(static_cast<int>(state.range(0)));
    const std::vector<std::string> paths = WithValue(DeepPaths(trees, '.'));
    for (auto _ : state) {
        for (const std::string &path : paths) {
            char *value = T_GetA(path.c_str(), 0x33, 0x19);
            if (value == nullptr)
                state.SkipWithError("T_GetA failed");
            VekTextFree(value);
        }
    }
    LabelCalls(state, trees);
}

void BM_Get_Pugixml(benchmark::State &state) {
    Trees &trees = TreesOfDepth(static_cast<int>(state.range(0)));
    const std::vector<std::string> paths = DeepPaths(trees, '/');
    for (auto _ : state) {
        for (const std::string &path : paths) {
            const char *value =
                trees.Document().first_element_by_path(path.c_str()).attribute("Value").value();
            if (*value == '\0')
                state.SkipWithError("no value");
            benchmark::DoNotOptimize(value);
        }
    }
    LabelCalls(state, trees);
}

void BM_Set_TStore(benchmark::State &state) {
    Trees &trees = TreesOfDepth(static_cast<int>(state.range(0)));
    const std::vector<std::string> paths = WithValue(DeepPaths(trees, '.'));
    for (auto _ : state) {
        for (const std::string &path : paths) {
            if (T_SetA(path.c_str(), "123456", 0x33) != 0)
                state.SkipWithError("T_SetA failed");
        }
    }
    LabelCalls(state, trees);
}

void BM_Set_Pugixml(benchmark::State &state) {
    Trees &trees = TreesOfDepth(static_cast<int>(state.range(0)));
    const std::vector<std::string> paths = DeepPaths(trees, '/');
    for (auto _ : state) {
        for (const std::string &path : paths) {
            if (!trees.Document()
                     .first_element_by_path(path.c_str())
                     .attribute("Value")
                     .set_value("123456"))
                state.SkipWithError("set_value failed");
        }
    }
    LabelCalls(state, trees);
}

void BM_Exists_TStore(benchmark::State &state) {
    Trees &trees = TreesOfDepth(static_cast<int>(state.range(0)));
    const std::vector<std::string> paths = DeepPaths(trees, '.');
    for (auto _ : state) {
        for (const std::string &path : paths) {
            if (T_ExistsA(path.c_str()) != 1)
                state.SkipWithError("the path was not found");
        }
    }
    LabelCalls(state, trees);
}

void BM_Exists_Pugixml(benchmark::State &state) {
    Trees &trees = TreesOfDepth(static_cast<int>(state.range(0)));
    const std::vector<std::string> paths = DeepPaths(trees, '/');
    for (auto _ : state) {
        for (const std::string &path : paths) {
            if (!trees.Document().first_element_by_path(path.c_str()))
                state.SkipWithError("the path was not found");
        }
    }
    LabelCalls(state, trees);
}

// ---- Building a tree node by node -----------------------------------------------

// The paths of a tree of `depth` levels below a root, parents before children.
std::vector<std::string> PathsToBuild(const std::string &root, int depth) {
    std::vector<std::string> paths;
    std::vector<std::string> level{root};
    for (int d = 0; d < depth; ++d) {
        std::vector<std::string> next;
        for (const std::string &parent : level) {
            for (int i = 0; i < kFanOut; ++i)
                next.push_back(parent + ".N" + std::to_string(i));
        }
        paths.insert(paths.end(), next.begin(), next.end());
        level = std::move(next);
    }
    return paths;
}

void BM_Build_TStore(benchmark::State &state) {
    const int depth = static_cast<int>(state.range(0));
    const DeclaredRoot built("B" + std::to_string(depth));
    const std::vector<std::string> paths = PathsToBuild(std::string(built.Node().GetName()), depth);
    std::vector<std::string> values;
    for (const std::string &path : paths)
        values.push_back(path + "!Value");
    for (auto _ : state) {
        for (size_t i = 0; i < paths.size(); ++i) {
            if (T_AddNodeA(paths[i].c_str(), 128, -1, 3) != 0 ||
                T_SetA(values[i].c_str(), "123456", 0x33) != 0)
                state.SkipWithError("building failed");
        }
        state.PauseTiming();
        while (built.Node().LastChild() != nullptr)
            built.Node().LastChild()->Delete(true);
        state.ResumeTiming();
    }
    state.counters["nodes"] = static_cast<double>(paths.size() + 1);
}

// The same by path, as a script builds: each node's parent found by its path and
// the child appended, then the new node found by its path and its attribute added.
void BM_Build_Pugixml(benchmark::State &state) {
    const int depth = static_cast<int>(state.range(0));
    const std::vector<std::string> paths = PathsToBuild("B", depth);
    std::vector<std::string> dom_paths, parents, names;
    for (const std::string &path : paths) {
        std::string dom_path = path;
        std::replace(dom_path.begin(), dom_path.end(), '.', '/');
        const size_t slash = dom_path.rfind('/');
        parents.push_back(dom_path.substr(0, slash));
        names.push_back(dom_path.substr(slash + 1));
        dom_paths.push_back(std::move(dom_path));
    }
    for (auto _ : state) {
        pugi::xml_document document;
        document.append_child("B");
        for (size_t i = 0; i < paths.size(); ++i) {
            document.first_element_by_path(parents[i].c_str()).append_child(names[i].c_str());
            document.first_element_by_path(dom_paths[i].c_str())
                .append_attribute("Value")
                .set_value("123456");
        }
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.counters["nodes"] = static_cast<double>(paths.size() + 1);
}

// ---- Many children under one parent -----------------------------------------------

// T_AddNodeA of `count` children with different names below one parent, refusing
// twins (Error_Handling 11), so that every call asks whether the parent has a
// child of that name already: the whole should grow with the count, not its square.
void BM_AddChildren_TStore(benchmark::State &state) {
    const int64_t count = state.range(0);
    const DeclaredRoot parent("Wide" + std::to_string(count));
    std::vector<std::string> paths;
    for (int64_t i = 0; i < count; ++i)
        paths.push_back(std::string(parent.Node().GetName()) + ".C" + std::to_string(i));
    for (auto _ : state) {
        for (const std::string &path : paths) {
            if (T_AddNodeA(path.c_str(), 0, -1, 11) != 0)
                state.SkipWithError("T_AddNodeA failed");
        }
        // Adding them again is skipped for every one (Error_Handling 41).
        for (const std::string &path : paths) {
            if (T_AddNodeA(path.c_str(), 0, -1, 41) != 0)
                state.SkipWithError("T_AddNodeA failed");
        }
        state.PauseTiming();
        while (parent.Node().LastChild() != nullptr)
            parent.Node().LastChild()->Delete(true);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

#define DOM_COMPARE(name) BENCHMARK(name)->Arg(4)->Arg(5)->Arg(6)->Unit(benchmark::kMicrosecond)

DOM_COMPARE(BM_Locate_TStore);
DOM_COMPARE(BM_Locate_Pugixml);
DOM_COMPARE(BM_Locate_PugixmlXPath);
DOM_COMPARE(BM_Count_TStore);
DOM_COMPARE(BM_Count_Pugixml);
DOM_COMPARE(BM_Search_TStore);
DOM_COMPARE(BM_Search_Pugixml);
DOM_COMPARE(BM_CopySubtree_TStore);
DOM_COMPARE(BM_CopySubtree_Pugixml);

#define CALL_COMPARE(name) BENCHMARK(name)->Arg(4)->Arg(5)->Unit(benchmark::kMicrosecond)

CALL_COMPARE(BM_Get_TStore);
CALL_COMPARE(BM_Get_Pugixml);
CALL_COMPARE(BM_Set_TStore);
CALL_COMPARE(BM_Set_Pugixml);
CALL_COMPARE(BM_Exists_TStore);
CALL_COMPARE(BM_Exists_Pugixml);
CALL_COMPARE(BM_Build_TStore)->Iterations(3);
CALL_COMPARE(BM_Build_Pugixml)->Iterations(3);
BENCHMARK(BM_AddChildren_TStore)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
