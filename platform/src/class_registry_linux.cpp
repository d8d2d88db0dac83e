// The class registry off Windows: a process-wide table, and objects made by the
// class objects that a loaded module hands out through its DllGetClassObject (a
// module is never loaded for it: only classes of modules already in the process
// are served).
#include <dlfcn.h>

#include <map>
#include <mutex>

#include "platform/class_registry.h"

namespace platform {
namespace {

constexpr HRESULT kClassNotRegistered = static_cast<HRESULT>(0x80040154);
constexpr HRESULT kServerNotLoaded = static_cast<HRESULT>(0x800401F8);

// Keys compare ignoring ASCII case, as registry keys do.
std::string KeyOf(std::string_view text) {
    std::string key(text);
    for (char &c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return key;
}

struct Table {
    std::mutex mutex;
    std::map<std::string, std::string> class_of_prog_id;  // ProgID key -> class id
    std::map<std::string, ClassEntries> classes;          // class id key -> entries
};

Table &TheTable() {
    static Table table;
    return table;
}

using GetClassObjectFunction = HRESULT (*)(const GUID *, const GUID *, void **);

}  // namespace

long WriteClassEntries(std::string_view prog_id, const ClassEntries &entries) {
    Table &table = TheTable();
    std::lock_guard lock(table.mutex);
    table.class_of_prog_id[KeyOf(prog_id)] = entries.class_id;
    ClassEntries stored = entries;
    stored.prog_id = std::string(prog_id);
    table.classes[KeyOf(entries.class_id)] = std::move(stored);
    return 0;
}

long RemoveClassEntries(std::string_view prog_id, std::string_view class_id) {
    Table &table = TheTable();
    std::lock_guard lock(table.mutex);
    std::string named(class_id);
    if (auto found = table.class_of_prog_id.find(KeyOf(prog_id));
        found != table.class_of_prog_id.end()) {
        if (named.empty())
            named = found->second;
        table.class_of_prog_id.erase(found);
    }
    if (!named.empty())
        table.classes.erase(KeyOf(named));
    return 0;
}

std::optional<ClassEntries> ReadClassEntries(std::string_view prog_id) {
    Table &table = TheTable();
    std::lock_guard lock(table.mutex);
    auto named = table.class_of_prog_id.find(KeyOf(prog_id));
    if (named == table.class_of_prog_id.end())
        return std::nullopt;
    auto found = table.classes.find(KeyOf(named->second));
    if (found == table.classes.end()) {
        ClassEntries only;
        only.class_id = named->second;
        return only;
    }
    return found->second;
}

HRESULT CreateRegisteredObject(std::string_view class_name, uint32_t, REFIID iid, void **object) {
    *object = nullptr;
    std::optional<ClassEntries> entries;
    GUID class_id{};
    if (ClassIdFromText(class_name, &class_id)) {
        Table &table = TheTable();
        std::lock_guard lock(table.mutex);
        if (auto found = table.classes.find(KeyOf(class_name)); found != table.classes.end())
            entries = found->second;
    } else {
        entries = ReadClassEntries(class_name);
        if (entries && !ClassIdFromText(entries->class_id, &class_id))
            entries.reset();
    }
    if (!entries || entries->server.empty())
        return kClassNotRegistered;
    void *module = dlopen(entries->server.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (module == nullptr)
        return kServerNotLoaded;
    HRESULT result = kServerNotLoaded;
    if (auto get = reinterpret_cast<GetClassObjectFunction>(dlsym(module, "DllGetClassObject"))) {
        ComPtr<IClassFactory> factory;
        result = get(&class_id, &kIID_IClassFactory, factory.OutVoid());
        if (SUCCEEDED(result) && factory)
            result = factory->CreateInstance(nullptr, iid, object);
    }
    dlclose(module);  // the module was in the process before and stays there
    return result;
}

ComApartment::ComApartment() = default;
ComApartment::~ComApartment() = default;

}  // namespace platform
