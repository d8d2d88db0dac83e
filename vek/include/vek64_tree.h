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

/* ---- Tree files --------------------------------------------------------------
 * A tree source is a JSON text (RFC 8259, UTF-8) or the path of a file that holds
 * one: with flags 0 a source whose first non-blank character is '{' is the text
 * itself and any other source a path; VEK_TREE_SOURCE_TEXT or VEK_TREE_SOURCE_FILE
 * say which it is. The text is one node:
 *
 *   {"name": "Main", "group": true, "attributes": {"Port": "COM1", "Rate": 9600},
 *    "children": [{"name": "Cfg", "group": false}]}
 *
 * "name" (a text) is required; "group" (true or false) defaults to whether
 * "children" (an array of nodes) is there; "attributes" is an object of named
 * values in order; no other member is allowed. The library's texts are 8-bit: the
 * code points U+0000..U+00FF of a JSON text are the bytes of the same value
 * (Latin-1). Node and attribute names must keep to them; a text value with a code
 * point past U+00FF becomes a wide text. Attribute values keep their kind:
 * - a number without fraction or exponent is a 32-bit integer when it fits, else a
 *   64-bit integer when it fits, else a double; any other number is a double
 *   (a double is always written with a fraction or an exponent: 2.0, 1e+300);
 * - true / false are Booleans, a text is an 8-bit text, null is no value (empty);
 * - the other kinds are an object with one tagged member:
 *   {"$int64": 5} a 64-bit integer that would fit 32 bits;
 *   {"$double": "NaN"} (or "Infinity", "-Infinity") the doubles JSON cannot write;
 *   {"$date": "2026-12-06 08:14:19"} a date (ISO 8601, also "2026-12-06"), or
 *   {"$date": 46362.25} in days since 1899-12-30 when seconds cannot hold it;
 *   {"$bytes": "00FF41"} a blob, two hexadecimal digits per byte;
 *   {"$wtext": "abc"} a wide text; {"$null": null} the null value.
 * Save writes these forms, one node to a line, so loading what it wrote gives the
 * same tree (names, group bits, attribute names, order, kinds and values); an
 * object value cannot be saved (VEK_E_TYPEMISMATCH). Loading refuses, with the
 * node left as it was: a missing or unreadable file (VEK_E_FILENOTFOUND, naming the
 * path), malformed JSON and any text outside this form (VEK_E_BADDATA, naming the
 * line and column), and nesting deeper than VEK_TREE_MAX_DEPTH levels of nodes.
 * Neither loading nor saving recurses, so any depth up to that bound is safe. */
#define VEK_TREE_SOURCE_TEXT 1
#define VEK_TREE_SOURCE_FILE 2
#define VEK_TREE_MAX_DEPTH 100000
#define VEK_E_FILENOTFOUND ((int32_t)0xC0070002)
#define VEK_E_WRITEFAULT ((int32_t)0xC007001D)

#if defined(VEK64_BUILDING)
#define VEK_CLASS PLATFORM_DLL_EXPORT
#else
#define VEK_CLASS PLATFORM_DLL_IMPORT
#endif

// The class's constants are enumerators, not static data members: a data member of
// an imported class is reached through the library's import table, and a caller that
// takes one by reference (std::make_unique, std::max) without optimisation would need
// a symbol that the library does not export.
class VEK_CLASS VekTreeNode {
  public:
    enum : uint32_t { kGroup = 128 };

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
    // Replaces this node's name, group bit, properties and children by the tree of
    // a tree source (see "Tree files" below); `flags` is 0 or one of
    // VEK_TREE_SOURCE_TEXT / VEK_TREE_SOURCE_FILE. Children are made with NewNode.
    // 0 or a status; on failure the node is as it was.
    virtual int32_t Load(const char *source, int32_t flags);
    // Writes this node and its subtree as a tree file at the path `target`; `flags`
    // must be 0. 0 or a status.
    virtual int32_t Save(const char *target, int32_t flags) const;

    // Creates a detached node of the base class (128 = group, 0 = item).
    static VekTreeNode *Create(uint32_t attributes);

    // Names: `length` negative means up to the terminator. 0 or a status. GetName is
    // inline: walks ask every node for its name.
    std::string_view GetName() const {
        if (short_name_length_ != kLongName)
            return std::string_view(short_name_ + (kShortName - short_name_length_),
                                    short_name_length_);
        return std::string_view(name_, static_cast<size_t>(VekTextLength(name_)));
    }
    // The name's length (0xFF for any name longer than 15 bytes) and last byte (0
    // for the empty name) in one number, read from two neighbouring bytes: walks
    // that look for one name among many siblings compare tags first, since two
    // names can only be equal ignoring ASCII case when their tags differ in bit
    // 0x20 at most.
    uint16_t NameTag() const {
        return static_cast<uint16_t>(static_cast<unsigned char>(short_name_[kShortName - 1]) |
                                     short_name_length_ << 8);
    }
    // The tag that a node of that name has.
    static uint16_t NameTagOf(std::string_view name) {
        const unsigned length =
            name.size() > kShortName ? unsigned{kLongName} : static_cast<unsigned>(name.size());
        const unsigned last = name.empty() ? 0 : static_cast<unsigned char>(name.back());
        return static_cast<uint16_t>(last | length << 8);
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
    // A number that changes whenever the handle table changes (a handle given out
    // or forgotten). While it stays the same, FromHandle gives every handle what it
    // gave before, so a caller may keep the node it got instead of asking again.
    static uint64_t HandleGeneration();

    // The node's identifier: a random version-4 UUID made on first request, as the
    // 16 bytes of a GUID (a 32-bit, two 16-bit fields in the machine's order, then 8
    // bytes) that stay the node's for its life; null only when no random number
    // could be drawn, with the thread's error set.
    const unsigned char *GetUuid() const;
    // The identifier as a counted text the caller frees, written by VekUuidToStrnA
    // ("{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}").
    char *GetUuidText() const;

    // The property list (never null after construction).
    const void *Properties() const { return property_list_room_; }
    void *Properties() { return property_list_room_; }

    // The tree as a tree-file text (a counted text the caller frees), or null with
    // the thread's error set.
    char *SaveToText() const;

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

    // Names up to kShortName characters live in the node itself (short_name_,
    // ending at its last byte, so that the last byte of every name sits beside its
    // length for NameTag); a longer one is a counted text (name_), its last byte
    // kept in short_name_'s last place too. Either way a copy of a node with a
    // short name needs no allocation for it.
    enum : size_t { kShortName = 15 };
    enum : uint8_t { kLongName = 0xFF };  // short_name_length_ of a long name
    // Room for the node's property list (the library's VEKPROPS), which is built
    // inside the node so that a node and its list are one allocation.
    enum : size_t { kPropertyListRoom = 80 };

    // What walks read of every node comes first: with the class's table pointer
    // these fields fill the first 64 bytes, so a walk reads one cache line of a
    // node that starts on one. A sibling scan reads a node's name tag and next
    // sibling, bytes 22 to 31 of it (on 64-bit targets): never split between two
    // cache lines at the 16-byte alignment nodes get. The whole node takes at most
    // 200 bytes: walks over large trees cost what their nodes take in memory.
    char short_name_[kShortName] = {};
    uint8_t short_name_length_ = 0;
    VekTreeNode *next_ = nullptr;
    VekTreeNode *first_child_ = nullptr;
    VekTreeNode *parent_ = nullptr;
    uint32_t attributes_ = 0;
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
    alignas(8) mutable unsigned char uuid_[16] = {};
    alignas(8) unsigned char property_list_room_[kPropertyListRoom];
};

// A new property list holding copies of the node's properties, in *props (the caller
// frees it with VekPropsFree). 0 or a status.
VEK_API int32_t VEK_CALL VekTreeGetNodeProps(const VekTreeNode *node, void **props);
