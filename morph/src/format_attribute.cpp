// Formatted attributes of tree nodes: the exports check their arguments, read the
// attribute through the node's property slot and convert it (attribute_format.h).
// A text that does not parse stores nothing.
#include <string>

#include "attribute_format.h"
#include "export_status.h"
#include "morph64.h"
#include "vek64_tree.h"

namespace {

constexpr char kGetSource[] = "Morph.FormatTGetA";
constexpr char kSetSource[] = "Morph.FormatTSetA";

// The node the arguments name, or null after recording why there is none.
VekTreeNode *NodeOf(void *node, void *same_node, const char *attribute, int32_t flags,
                    const char *source, int32_t &status) {
    status = 0;
    if (node == nullptr)
        status = morph::Fail(MORPH_E_BAD_ARGUMENT, source, "No node given");
    else if (same_node != nullptr && same_node != node)
        status = morph::Fail(MORPH_E_BAD_ARGUMENT, source,
                             "The second node must be the first one or null");
    else if (attribute == nullptr || *attribute == '\0')
        status = morph::Fail(MORPH_E_BAD_ARGUMENT, source, "No attribute name given");
    else if (flags != 0)
        status = morph::Fail(MORPH_E_BAD_ARGUMENT, source,
                             "Flags must be 0, not " + std::to_string(flags));
    return status == 0 ? static_cast<VekTreeNode *>(node) : nullptr;
}

int32_t FormatTGet(void *node, void *same_node, const char *attribute, char **output,
                   int32_t flags) {
    if (output == nullptr)
        return morph::Fail(MORPH_E_BAD_ARGUMENT, kGetSource, "No output address given");
    int32_t status = 0;
    VekTreeNode *tree_node = NodeOf(node, same_node, attribute, flags, kGetSource, status);
    if (tree_node == nullptr)
        return status;
    morph::OwnedVariant value;
    if (const int32_t read = tree_node->_GetProperty(attribute, value.Get()))
        return read;
    std::string text;
    if (const int32_t formatted = morph::FormatAttributeValue(*value, attribute, text))
        return formatted;
    return morph::Store(output, text, kGetSource);
}

int32_t FormatTSet(const char *text, void *node, void *same_node, const char *attribute,
                   int32_t flags) {
    int32_t status = 0;
    VekTreeNode *tree_node = NodeOf(node, same_node, attribute, flags, kSetSource, status);
    if (tree_node == nullptr)
        return status;
    morph::OwnedVariant current;
    if (const int32_t read = tree_node->_GetProperty(attribute, current.Get()))
        return read;
    morph::OwnedVariant parsed;
    if (const int32_t parse =
            morph::ParseAttributeValue(morph::TextOf(text), *current, *parsed.Get()))
        return parse;
    return tree_node->_SetProperty(attribute, parsed.Get());
}

}  // namespace

MORPH_API int32_t MORPH_CALL FormatTGetA(void *node, void *same_node, const char *attribute,
                                         char **output, int32_t flags) {
    return morph::Guarded(kGetSource,
                          [&] { return FormatTGet(node, same_node, attribute, output, flags); });
}

MORPH_API int32_t MORPH_CALL FormatTSetA(const char *text, void *node, void *same_node,
                                         const char *attribute, int32_t flags) {
    return morph::Guarded(kSetSource,
                          [&] { return FormatTSet(text, node, same_node, attribute, flags); });
}
