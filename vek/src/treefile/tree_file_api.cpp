// Tree files at the node class and at the host boundary: Load builds the new tree
// beside the node and moves it in only when all of it was read, so a failure leaves
// the node as it was.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "properties/property_list.h"
#include "text/text_view.h"
#include "tree_file.h"

namespace vek::treefile {

namespace {

// Closes a C file on every path.
struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool LooksLikeText(std::string_view source) {
    const size_t first = source.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && source[first] == '{';
}

int32_t ReadFile(const char *path, std::string &text, const char *function) {
    const File file(std::fopen(path, "rb"));
    if (!file)
        return Fail(VEK_E_FILENOTFOUND, function, "Cannot open the tree file \"%.200s\": %s", path,
                    std::strerror(errno));
    char chunk[65536];
    size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0)
        text.append(chunk, count);
    if (std::ferror(file.get()))
        return Fail(VEK_E_FILENOTFOUND, function, "Cannot read the tree file \"%.200s\"", path);
    return 0;
}

}  // namespace

int32_t SourceText(const char *source, int32_t flags, std::string &text, const char *function) {
    if (flags != 0 && flags != VEK_TREE_SOURCE_TEXT && flags != VEK_TREE_SOURCE_FILE)
        return Fail(VEK_E_INVALIDARG, function, "Invalid tree source flags: %d", flags);
    const std::string_view view = ViewOf(source, -1);
    if (flags == VEK_TREE_SOURCE_TEXT || (flags == 0 && LooksLikeText(view))) {
        text.assign(view);
        return 0;
    }
    if (view.empty())
        return Fail(VEK_E_INVALIDARG, function, "No tree source given");
    return ReadFile(source, text, function);
}

}  // namespace vek::treefile

int32_t VekTreeNode::Load(const char *source, int32_t flags) {
    return vek::GuardStatus("TreeNode.Load", [&]() -> int32_t {
        std::string text;
        if (const int32_t status = vek::treefile::SourceText(source, flags, text, "TreeNode.Load"))
            return status;
        const std::unique_ptr<VekTreeNode> staging(NewNode());
        if (!staging)
            return ZamGetLastError();
        if (const int32_t status = vek::treefile::ReadTree(text, *staging))
            return status;
        // Only the name can still fail (memory): take it before anything else changes.
        const std::string_view name = staging->GetName();
        if (const int32_t status = SetName(name.data(), static_cast<int32_t>(name.size())))
            return status;
        DestroyChildren();
        while (VekTreeNode *child = staging->first_child_) {
            child->Unlink();
            LinkChild(child, nullptr);
        }
        VEKPROPS::From(Properties())->TakeOver(*VEKPROPS::From(staging->Properties()));
        SetAttributes(kGroup, staging->attributes_);
        return 0;
    });
}

int32_t VekTreeNode::Save(const char *target, int32_t flags) const {
    constexpr const char *kFunction = "TreeNode.Save";
    return vek::GuardStatus(kFunction, [&]() -> int32_t {
        if (flags != 0)
            return vek::Fail(VEK_E_INVALIDARG, kFunction, "Invalid flags: %d", flags);
        if (target == nullptr || *target == '\0')
            return vek::Fail(VEK_E_INVALIDARG, kFunction, "No tree file path given");
        std::string text;
        if (const int32_t status = vek::treefile::WriteTree(*this, text))
            return status;
        vek::treefile::File file(std::fopen(target, "wb"));
        if (!file)
            return vek::Fail(VEK_E_WRITEFAULT, kFunction,
                             "Cannot create the tree file \"%.200s\": %s", target,
                             std::strerror(errno));
        const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
        if (!written || std::fclose(file.release()) != 0)
            return vek::Fail(VEK_E_WRITEFAULT, kFunction, "Cannot write the tree file \"%.200s\"",
                             target);
        return 0;
    });
}

char *VekTreeNode::SaveToText() const {
    constexpr const char *kFunction = "TreeNode.SaveToText";
    return vek::GuardPointer(kFunction, [&]() -> char * {
        std::string text;
        if (vek::treefile::WriteTree(*this, text) != 0)
            return nullptr;
        if (text.size() > INT32_MAX) {
            vek::Fail(VEK_E_OVERFLOW, kFunction, "The tree text is too long");
            return nullptr;
        }
        return VekTextNewA(text.data(), static_cast<int32_t>(text.size()));
    });
}

VEK_API int32_t VEK_CALL VekTreeGetNodeProps(const VekTreeNode *node, void **props) {
    constexpr const char *kFunction = "VekTreeGetNodeProps";
    return vek::GuardStatus(kFunction, [&]() -> int32_t {
        if (node == nullptr || props == nullptr)
            return vek::Fail(VEK_E_POINTER, kFunction, "No node or no result address given");
        auto copy = std::make_unique<VEKPROPS>();
        if (const int32_t status = copy->CopyOf(*VEKPROPS::From(node->Properties()), kFunction))
            return status;
        *props = copy.release();
        return 0;
    });
}

namespace {

VekTreeNode *NodeOf(int32_t handle, const char *function) {
    VekTreeNode *node = VekTreeNode::FromHandle(handle);
    if (node == nullptr)
        vek::Fail(VEK_E_INVALIDARG, function, "Unknown node handle: %d", handle);
    return node;
}

}  // namespace

VEK_API int32_t VEK_CALL VekTreeLoadA(const char *source, int32_t flags) {
    return vek::GuardStatus("VekTreeLoadA", [&]() -> int32_t {
        std::unique_ptr<VekTreeNode> root(VekTreeNode::Create(0));
        if (!root)
            return ZamGetLastError();
        if (const int32_t status = root->Load(source, flags))
            return status;
        const int32_t handle = root->GetHandle();
        if (handle > 0)
            root.release();  // the host owns it through the handle now
        return handle;
    });
}

VEK_API int32_t VEK_CALL VekTreeSaveA(int32_t handle, const char *path, int32_t flags) {
    return vek::GuardStatus("VekTreeSaveA", [&]() -> int32_t {
        const VekTreeNode *node = NodeOf(handle, "VekTreeSaveA");
        return node == nullptr ? ZamGetLastError() : node->Save(path, flags);
    });
}

VEK_API char *VEK_CALL VekTreeToTextA(int32_t handle) {
    return vek::GuardPointer("VekTreeToTextA", [&]() -> char * {
        const VekTreeNode *node = NodeOf(handle, "VekTreeToTextA");
        return node == nullptr ? nullptr : node->SaveToText();
    });
}
