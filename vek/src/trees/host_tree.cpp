// Tree nodes for hosts: made and freed by handle.
#include <memory>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "vek64_tree.h"

VEK_API int32_t VEK_CALL VekTreeNewA(const char *root_name, int32_t node_type) {
    constexpr const char *kFunction = "VekTreeNewA";
    return vek::GuardStatus(kFunction, [&]() -> int32_t {
        if (node_type != 0 && node_type != static_cast<int32_t>(VekTreeNode::kGroup))
            return vek::Fail(VEK_E_INVALIDARG, kFunction, "Invalid node type: %d", node_type);
        auto node = std::make_unique<VekTreeNode>(static_cast<uint32_t>(node_type));
        if (const int32_t status = node->SetName(root_name, -1))
            return status;
        const int32_t handle = node->GetHandle();
        if (handle > 0)
            node.release();  // the host owns it through the handle now
        return handle;
    });
}

VEK_API int32_t VEK_CALL VekTreeFree(int32_t handle) {
    return vek::GuardStatus("VekTreeFree", [handle]() -> int32_t {
        VekTreeNode *node = VekTreeNode::FromHandle(handle);
        if (node == nullptr)
            return vek::Fail(VEK_E_INVALIDARG, "VekTreeFree", "Unknown node handle: %d", handle);
        delete node;  // detaches it from its parent first
        return 0;
    });
}
