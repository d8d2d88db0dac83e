// DaxTreToCOs and DaxUnpackTree: tree data as a flat array of custom objects, one
// per record, whose properties are the record's named values.
//
// - DaxTreToCOs loads a tree source with the support library's tree node class and
//   walks it in pre-order (root first, each node before its children, children in
//   order); each node's object also gets "UUID", the node's identifier as text, and,
//   below the root, "Parent_UUID", its parent's, so a script can rebuild the tree.
// - DaxUnpackTree unpacks a zlib stream (at most 256 MiB unpacked; a size that
//   disagrees with the stream is refused by the unpacking) into packed record texts
//   (treesupport/record_text.h), each parsed as a ";"-separated property list.
// Both store a new array of dispatch pointers through the result address and return
// the number of objects. The result address is written only once all objects are
// made; a null address is refused (E_POINTER) before any work. The loaded tree and
// the list of made objects are released on every way out.
#include <memory>
#include <string>
#include <string_view>

#include "dax64.h"
#include "frame/error_model.h"
#include "frame/export_frame.h"
#include "imports/vek_imports.h"
#include "treesupport/object_array.h"
#include "treesupport/record_text.h"
#include "vek64_store.h"
#include "vek64_tree.h"

namespace Ostrel::Zam {

namespace {

constexpr char kTreeSource[] = "Ostrel.Zam.DaxTreToCOs";
constexpr char kUnpackSource[] = "Ostrel.Zam.DaxUnpackTree";
constexpr uint32_t kUnpackFlags = 0x40004000u;  // a zlib stream, handed out as text

struct TreeDeleter {
    void operator()(VekTreeNode *root) const { root->Delete(true); }
};
using LoadedTree = std::unique_ptr<VekTreeNode, TreeDeleter>;

struct PropsDeleter {
    void operator()(void *props) const { VekPropsFree(props); }
};
using OwnedProps = std::unique_ptr<void, PropsDeleter>;

struct TextDeleter {
    void operator()(char *text) const { VekTextFree(text); }
};
using OwnedText = std::unique_ptr<char, TextDeleter>;

void CheckResultAddress(void **result, const char *source) {
    if (result == nullptr)
        RaiseError(E_POINTER, source, "The result address is null");
}

std::string UuidText(const VekTreeNode &node) {
    const unsigned char *uuid = node.GetUuid();
    char buffer[VEK_UUID_TEXT_LENGTH + 1];
    if (uuid == nullptr || VekUuidToStrnA(uuid, buffer, sizeof buffer) == nullptr)
        RethrowThreadError();
    return std::string(buffer, VEK_UUID_TEXT_LENGTH);
}

void AddNodeObject(ObjectArrayBuilder &objects, const VekTreeNode &node) {
    void *read = nullptr;
    CheckVekResult(VekTreeGetNodeProps(&node, &read));
    const OwnedProps props(read);
    IDispatch *object = objects.AppendObject();
    objects.PutProperties(object, props.get(), kTreeSource);
    objects.PutText(object, "UUID", UuidText(node), kTreeSource);
    if (node.Parent() != nullptr)
        objects.PutText(object, "Parent_UUID", UuidText(*node.Parent()), kTreeSource);
}

int32_t TreeToObjects(const char *source, void **result) {
    CheckResultAddress(result, kTreeSource);
    ObjectArrayBuilder objects;
    const LoadedTree root(CheckAllocated(VekTreeNode::Create(VekTreeNode::kGroup)));
    CheckVekResult(root->Load(source, 0));
    for (const VekTreeNode *node = root.get(); node != nullptr; node = node->GetNextNode())
        AddNodeObject(objects, *node);
    objects.StoreArray(result, kTreeSource);
    return objects.Count();
}

void AddRecordObject(ObjectArrayBuilder &objects, std::string_view record) {
    const std::string text(record);  // the parser reads up to a terminator
    const OwnedProps props(VekTextToPropsA(text.c_str(), ";", 1, 0));
    if (props == nullptr)
        RethrowThreadError();
    IDispatch *object = objects.AppendObject();
    objects.PutProperties(object, props.get(), kUnpackSource);
}

int32_t UnpackToObjects(const void *data, int32_t size, void **result) {
    CheckResultAddress(result, kUnpackSource);
    ObjectArrayBuilder objects;
    void *unpacked = nullptr;
    const int32_t length =
        CheckVekResult(VekDecompressData(data, size, &unpacked, kUnpackFlags, -1));
    const OwnedText text(static_cast<char *>(unpacked));
    const std::string_view records(text.get() != nullptr ? text.get() : "",
                                   text.get() != nullptr ? static_cast<size_t>(length) : 0);
    ForEachRecord(records, kUnpackSource,
                  [&objects](std::string_view record) { AddRecordObject(objects, record); });
    objects.StoreArray(result, kUnpackSource);
    return objects.Count();
}

}  // namespace

}  // namespace Ostrel::Zam

using namespace Ostrel::Zam;

DAX64_API int32_t DAX64_CALL DaxTreToCOs(const char *source, void **objects) {
    return IntegerExport("dax/tree_conversion[116]",
                         [&] { return TreeToObjects(source, objects); });
}

DAX64_API int32_t DAX64_CALL DaxUnpackTree(const void *data, int32_t size, void **objects) {
    return IntegerExport("dax/tree_conversion[120]",
                         [&] { return UnpackToObjects(data, size, objects); });
}
