// The exports that declare and remove T objects, end the store, show its overview
// and probe the heap.
#include <cstdint>
#include <memory>
#include <string>

#include "dax64.h"
#include "frame/error_model.h"
#include "tstore/table/t_errors.h"
#include "tstore/table/t_export.h"
#include "tstore/table/t_heap_probe.h"
#include "tstore/table/t_overview.h"
#include "tstore/table/t_table.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

constexpr char kDeclareSource[] = "T.T_Declare";

// The root named by the configuration's "Root Node" handle; a handle that names no
// live node (zero, negative, unknown or stale) is refused.
int32_t CheckedRootHandle(const T_Config &config) {
    const int32_t handle = config.ReadInt32("Root Node");
    const VekTreeNode *root = handle > 0 ? VekTreeNode::FromHandle(handle) : nullptr;
    if (root == nullptr)
        RaiseError(kRootNodeInvalid, kDeclareSource, "Invalid root node");
    if (root->GetName().empty())
        RaiseError(kRootNodeInvalid, kDeclareSource, "Invalid root node (empty name)");
    return handle;
}

void Declare(const void *properties) {
    T_Config config(properties);
    const int32_t handle = CheckedRootHandle(config);
    const std::string name(VekTreeNode::FromHandle(handle)->GetName());
    T_Table &table = Get_T_Table();
    if (table.Find_T_Object(name) >= 0)
        RaiseErrorFormat(kRootNameExists, kDeclareSource, "Duplicate root name: %.234s",
                         name.c_str());
    table.Add(std::make_unique<T_Object>(handle, std::move(config)));
}

void Remove(const std::string &name) {
    T_Table *table = Existing_T_Table();
    const int32_t index = table != nullptr ? table->Find_T_Object(name) : -1;
    if (index < 0)
        RaiseErrorFormat(kTObjectMissing, "T.T_Remove", "T Object doesn't exist: %.231s",
                         name.c_str());
    table->Remove_At(index);
}

void Terminate() {
    T_Table *table = Existing_T_Table();
    if (table == nullptr)
        return;
    while (table->Object_Count() > 0)
        Remove(std::string(table->T_Object_At(0)->Name()));
    Destroy_T_Table();
}

}  // namespace

}  // namespace Ostrel::Zam::tstore

using namespace Ostrel::Zam;

DAX64_API int32_t DAX64_CALL T_Declare(void *properties) {
    return tstore::StoreIntegerExport("dax/t_misc[69]", [&] {
        tstore::Declare(properties);
        return 0;
    });
}

DAX64_API int32_t DAX64_CALL T_RemoveA(const char *name) {
    return tstore::StoreIntegerExport("dax/t_misc[76]", [&] {
        tstore::Remove(TextArgument(name).Str());
        return 0;
    });
}

DAX64_API int32_t DAX64_CALL T_Terminate(void) {
    return tstore::StoreIntegerExport("dax/t_misc[83]", [] {
        tstore::Terminate();
        return 0;
    });
}

DAX64_API char *DAX64_CALL T_Present_T_Table(void) {
    return tstore::StoreTextExport("dax/t_misc[90]", []() -> AnsiString {
        const tstore::T_Table *table = tstore::Existing_T_Table();
        return table != nullptr ? AnsiString(tstore::Present_T_Table(*table)) : AnsiString();
    });
}

DAX64_API int32_t DAX64_CALL TestHeap(const char *label, uint32_t count, int32_t size) {
    return tstore::StoreIntegerExport("dax/t_misc[97]", [&] {
        return tstore::Probe_Heap(TextArgument(label).View(), count, size);
    });
}
