#include "trees/node_handles.h"

#include <atomic>
#include <mutex>
#include <new>
#include <unordered_map>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "vek64_tree.h"

namespace vek {

namespace {

struct HandleTable {
    std::mutex mutex;
    std::unordered_map<int32_t, VekTreeNode *> nodes;
    int32_t last = 0;
};

// Counts the changes of the table's nodes; written under its mutex, read without
// it by every call that keeps a node it found by handle. Constant-initialised
// beside the table rather than in it, so that a read is one load, not a test of
// the table's construction guard first.
constinit std::atomic<uint64_t> g_generation{1};

// The table is never destroyed: nodes may still be destroyed by other modules'
// static objects after this library's have gone.
HandleTable &Table() {
    struct Holder {
        union {
            HandleTable table;
        };
        Holder() { new (&table) HandleTable(); }
        ~Holder() {}
    };
    static Holder holder;
    return holder.table;
}

}  // namespace

int32_t RegisterNodeHandle(VekTreeNode *node, int32_t &slot) {
    HandleTable &table = Table();
    const std::lock_guard<std::mutex> lock(table.mutex);
    if (slot != 0)
        return slot;
    if (table.nodes.size() >= static_cast<size_t>(INT32_MAX))
        return Fail(VEK_E_OUTOFMEMORY, "TreeNode.GetHandle", "Every node handle is in use");
    int32_t handle = table.last;
    do {
        handle = handle == INT32_MAX ? 1 : handle + 1;
    } while (table.nodes.count(handle) != 0);
    table.nodes.emplace(handle, node);
    g_generation.fetch_add(1, std::memory_order_release);
    table.last = handle;
    slot = handle;
    return handle;
}

void ForgetNodeHandle(int32_t handle) {
    HandleTable &table = Table();
    const std::lock_guard<std::mutex> lock(table.mutex);
    if (table.nodes.erase(handle) != 0)
        g_generation.fetch_add(1, std::memory_order_release);
}

VekTreeNode *NodeOfHandle(int32_t handle) {
    if (handle <= 0)
        return nullptr;
    HandleTable &table = Table();
    const std::lock_guard<std::mutex> lock(table.mutex);
    const auto found = table.nodes.find(handle);
    return found == table.nodes.end() ? nullptr : found->second;
}

uint64_t HandleTableGeneration() {
    return g_generation.load(std::memory_order_acquire);
}

}  // namespace vek

int32_t VekTreeNode::GetHandle() const {
    return vek::GuardStatus("TreeNode.GetHandle", [this] {
        return vek::RegisterNodeHandle(const_cast<VekTreeNode *>(this), handle_);
    });
}

VekTreeNode *VekTreeNode::FromHandle(int32_t handle) {
    return vek::NodeOfHandle(handle);
}

uint64_t VekTreeNode::HandleGeneration() {
    return vek::HandleTableGeneration();
}
