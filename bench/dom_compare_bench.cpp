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
//   53 against append_copy); the copy is deleted again outside the timing.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dax64.h"
#include "tstore/t_tree.h"
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

}  // namespace

BENCHMARK_MAIN();
