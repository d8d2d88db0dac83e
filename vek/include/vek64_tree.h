// vek64: the tree node class (C++ only).
//
// A node has a name, attribute bits (bit 128: group), named properties (variants),
// a parent and ordered children. Children are a doubly linked list, so adding,
// removing and stepping to a sibling cost O(1); a node's index among its siblings
// costs the siblings before it. Twin indexes (rank among same-named siblings,
// names compared ignoring case) are cached per parent and recomputed in one pass
// over the children after the children or their names change, so walking all k
// children of a group costs O(k), not O(k^2).
//
// Handles: a node gets a positive 32-bit handle the first time one is asked for;
// the handle table forgets it when the node is destroyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "vek64.h"
#include "vek64_store.h"

#if defined(VEK64_BUILDING)
#define VEK_CLASS PLATFORM_DLL_EXPORT
#else
#define VEK_CLASS PLATFORM_DLL_IMPORT
#endif

class VEK_CLASS VekTreeNode {
  public:
    static constexpr uint32_t kGroup = 128;

    explicit VekTreeNode(uint32_t attributes = 0);
    VekTreeNode(const VekTreeNode &) = delete;
    VekTreeNode &operator=(const VekTreeNode &) = delete;
    // Detaches the node from its parent and destroys its whole subtree.
    virtual ~VekTreeNode();

    // A new, empty node of the same class (used by Copy).
    virtual VekTreeNode *NewNode() const;
    // The value of a property; a missing one reads as empty. 0 or a status.
    virtual int32_t _GetProperty(const char *name, VEKVARIANT *value) const;
    // Sets (adds or replaces) a property; an empty variant is stored as it is.
    virtual int32_t _SetProperty(const char *name, const VEKVARIANT *value);
    virtual void SetModified(uint32_t flags);
    virtual void ClearModified(uint32_t flags);
    // A deep copy (with_children: the whole subtree) carrying name, attribute bits
    // and properties; null with the thread's error set when memory runs out.
    virtual VekTreeNode *Copy(bool with_children) const;

    // Creates a detached node of the base class (128 = group, 0 = item).
    static VekTreeNode *Create(uint32_t attributes);

    // Names: `length` negative means up to the terminator. 0 or a status. GetName is
    // inline: walks ask every node for its name.
    std::string_view GetName() const {
        if (short_name_length_ != kLongName)
            return std::string_view(short_name_, short_name_length_);
        return std::string_view(name_, static_cast<size_t>(VekTextLength(name_)));
    }
    int32_t SetName(const char *name, int32_t length);

    uint32_t GetAttributes(uint32_t mask) const { return attributes_ & mask; }
    void SetAttributes(uint32_t mask, uint32_t value) {
        attributes_ = (attributes_ & ~mask) | (value & mask);
    }
    bool IsGroup() const { return (attributes_ & kGroup) != 0; }
    uint32_t GetModified() const { return modified_; }

    VekTreeNode *Parent() const { return parent_; }
    VekTreeNode *FirstChild() const { return first_child_; }
    VekTreeNode *LastChild() const { return last_child_; }
    VekTreeNode *GetNextSib() const { return next_; }
    VekTreeNode *GetPrevSib() const { return prev_; }
    int32_t ChildCount() const { return child_count_; }
    // A number that changes whenever a child is added or removed or a child's name
    // changes, so that what a caller worked out from the children can be kept
    // while it stays the same.
    uint32_t ChildrenGeneration() const { return children_generation_; }

    // Inserts a detached node as child at a 0-based index (-1 or the count: last).
    // Returns the index used, or a negative status (node attached elsewhere, node
    // is this node or one of its ancestors, index out of range).
    int32_t AddChild(VekTreeNode *child, int32_t index);
    // Detaches the node from its parent (the caller then owns it).
    void Remove();
    // Detaches and destroys the node; with_subtree false moves its children up into
    // its place first (a root has no place for them: they are destroyed with it).
    void Delete(bool with_subtree);

    // 0-based index among its siblings; -1 for a root.
    int32_t GetChildIndex() const;
    // How many levels `ancestor` stands above this node (0 for the node itself);
    // -1 when it is not an ancestor.
    int32_t GetLevel(const VekTreeNode *ancestor) const;
    // The next node in pre-order within the whole tree; null after the last.
    VekTreeNode *GetNextNode() const;
    // The number of nodes below this one, at every depth.
    int64_t GetNodeCount() const;

    // 1-based rank among the siblings of the same name (1 for a root).
    int32_t GetTwinIndex() const;
    // Number of siblings of the same name, itself included (0 for a root).
    int32_t GetTwinCount() const;

    // The node's handle (assigned on first request): a positive integer, or a
    // status when the table is full.
    int32_t GetHandle() const;
    // The live node of a handle, or null for an unknown or stale one.
    static VekTreeNode *FromHandle(int32_t handle);

    // The node's identifier, made on first request, as a counted text
    // "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" the caller frees.
    char *GetUuidText() const;

    // The property list (never null after construction).
    const void *Properties() const { return property_list_room_; }

  private:
    void RefreshTwinCache() const;
    void ChildrenChanged();
    void Unlink();
    // Links a detached node among the children before `before` (null: last).
    void LinkChild(VekTreeNode *child, VekTreeNode *before);
    // The child at a 0-based index, reached from the nearer end.
    VekTreeNode *ChildAt(int32_t index) const;
    // Moves the children into this node's place among its siblings.
    void MoveChildrenUp();
    // Destroys every child with its subtree, without recursion.
    void DestroyChildren();
    // A detached copy of this node alone (NewNode, name, attribute bits,
    // properties); null with the thread's error set on failure.
    VekTreeNode *CopyNode() const;
    // Gives this node (a copy of `source`) copies of all of source's descendants.
    // 0 or a status.
    int32_t CopyChildrenOf(const VekTreeNode &source);

    // Names up to kShortName characters live in the node itself (short_name_); a
    // longer one is a counted text (name_). Either way a copy of a node with a
    // short name needs no allocation for it.
    static constexpr size_t kShortName = 15;
    static constexpr uint8_t kLongName = 0xFF;  // short_name_length_ of a long name
    // Room for the node's property list (the library's VEKPROPS), which is built
    // inside the node so that a node and its list are one allocation.
    static constexpr size_t kPropertyListRoom = 80;

    // What walks read of every node comes first: with the class's table pointer
    // these fields fill the first 64 bytes, so a walk reads one cache line of a
    // node that starts on one. The whole node takes at most 200 bytes: walks over
    // large trees cost what their nodes take in memory.
    VekTreeNode *parent_ = nullptr;
    VekTreeNode *first_child_ = nullptr;
    VekTreeNode *next_ = nullptr;
    uint32_t attributes_ = 0;
    uint8_t short_name_length_ = 0;
    char short_name_[kShortName] = {};
    int32_t child_count_ = 0;
    // Twin caches: valid while twin_generation_ equals the parent's
    // children_generation_.
    mutable uint32_t twin_generation_ = 0;
    mutable int32_t twin_index_ = 0;

    VekTreeNode *last_child_ = nullptr;
    VekTreeNode *prev_ = nullptr;
    char *name_ = nullptr;  // counted text of a long name, else null
    mutable uint32_t children_generation_ = 1;
    mutable int32_t twin_count_ = 0;
    uint32_t modified_ = 0;
    mutable int32_t handle_ = 0;
    mutable uint64_t uuid_[2] = {0, 0};
    alignas(8) unsigned char property_list_room_[kPropertyListRoom];
};
