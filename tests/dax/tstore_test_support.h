// Trees, declarations and the thread's error information for the T store's tests.
#pragma once

#include "support/taken_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "dax64.h"
#include "imports/vek_imports.h"
#include "tstore/table/t_table.h"
#include "tstore/table/t_tree.h"
#include "vek64_store.h"
#include "vek64_tree.h"

namespace tstore_test {

using Ostrel::Zam::tstore::T_Tree;

using test_support::Take;

struct ThreadError {
    int32_t code = 0;
    std::optional<std::string> source;
    std::optional<std::string> description;
    bool operator==(const ThreadError &) const = default;
};

inline std::ostream &operator<<(std::ostream &out, const ThreadError &e) {
    return out << std::hex << "{0x" << static_cast<uint32_t>(e.code) << std::dec << ", "
               << e.source.value_or("<null>") << ", " << e.description.value_or("<null>") << "}";
}

inline ThreadError LastError() {
    return {ZamGetLastError(), Take(ZamGetLastErrorSourceA()), Take(ZamGetLastErrorDescriptionA())};
}

constexpr int32_t Code(uint32_t bits) {
    return static_cast<int32_t>(bits);
}

// A tree made through the host interface, freed at the end of the test.
class HostTree {
  public:
    explicit HostTree(const char *root_name) : handle_(VekTreeNewA(root_name, 128)) {}
    HostTree(const HostTree &) = delete;
    HostTree &operator=(const HostTree &) = delete;
    ~HostTree() { Free(); }

    int32_t Handle() const { return handle_; }
    VekTreeNode &Root() const { return *VekTreeNode::FromHandle(handle_); }
    void Free() {
        if (handle_ > 0)
            VekTreeFree(handle_);
        handle_ = 0;
    }

  private:
    int32_t handle_;
};

// Appends a T_Tree node; the parent's tree owns it.
inline VekTreeNode &Add(VekTreeNode &parent, std::string_view name, uint32_t type = 128) {
    auto *node = new T_Tree(type);
    node->SetName(name.data(), static_cast<int32_t>(name.size()));
    parent.AddChild(node, -1);
    return *node;
}

// The children below a node, as names in sibling order with each group's children
// in parentheses: "A(X,Y),B". Items end with '-' ("B-"). Walks without recursion.
inline std::string Shape(const VekTreeNode &top) {
    std::string text;
    const VekTreeNode *node = top.FirstChild();
    while (node != nullptr) {
        text += node->GetName();
        if (!node->IsGroup())
            text += '-';
        if (node->FirstChild() != nullptr) {
            text += '(';
            node = node->FirstChild();
            continue;
        }
        while (node != &top && node->GetNextSib() == nullptr) {
            node = node->Parent();
            if (node != &top)
                text += ')';
        }
        if (node == &top)
            break;
        text += ',';
        node = node->GetNextSib();
    }
    return text;
}

struct PropsFree {
    void operator()(void *props) const { VekPropsFree(props); }
};
using Props = std::unique_ptr<void, PropsFree>;

inline Props RootConfig(int32_t root_handle) {
    Props props(VekPropsNew());
    VekPropsSetInt32(props.get(), "Root Node", root_handle);
    return props;
}

inline int32_t Declare(int32_t root_handle) {
    return T_Declare(RootConfig(root_handle).get());
}

// Declares a tree whose returned paths leave out every "[1]".
inline int32_t DeclareWithoutFirstIndexes(int32_t root_handle) {
    Props props = RootConfig(root_handle);
    VekPropsSetInt32(props.get(), "Remove First Twin Indexes", 1);
    return T_Declare(props.get());
}

// The T object declared under a name.
inline Ostrel::Zam::tstore::T_Object &Object(std::string_view name) {
    auto *table = Ostrel::Zam::tstore::Existing_T_Table();
    return *table->T_Object_At(table->Find_T_Object(name));
}

// Every test starts and ends without a table.
class TStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { T_Terminate(); }
    void TearDown() override { T_Terminate(); }
};

}  // namespace tstore_test
