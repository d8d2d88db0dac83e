// The class registry on Windows: keys below HKEY_CLASSES_ROOT, and CoCreateInstance.
//   HKCR\<ProgID>                      (default) description
//   HKCR\<ProgID>\CLSID                (default) {class id}
//   HKCR\CLSID\{class id}              (default) description
//   HKCR\CLSID\{class id}\ProgID       (default) ProgID
//   HKCR\CLSID\{class id}\InprocServer32  (default) server path, ThreadingModel
#include <windows.h>

#include <vector>

#include "platform/class_registry.h"

namespace platform {
namespace {

constexpr HRESULT kClassNotRegistered = static_cast<HRESULT>(0x80040154);

class Key {
  public:
    Key() = default;
    Key(const Key &) = delete;
    Key &operator=(const Key &) = delete;
    ~Key() {
        if (key_ != nullptr)
            RegCloseKey(key_);
    }
    HKEY *Out() { return &key_; }
    HKEY Get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

long SetText(HKEY key, const char *name, const std::string &text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

// Creates `path` below HKCR and sets its default value (skipped when `value` is null).
long WriteKey(const std::string &path, const std::string *value, Key *key) {
    long status = RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key->Out(), nullptr);
    if (status == ERROR_SUCCESS && value != nullptr)
        status = SetText(key->Get(), nullptr, *value);
    return status;
}

long WriteKey(const std::string &path, const std::string &value) {
    Key key;
    return WriteKey(path, &value, &key);
}

std::optional<std::string> ReadText(const std::string &path, const char *name) {
    Key key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::string();
    std::vector<char> text(size + 1, '\0');
    if (RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE *>(text.data()),
                         &size) != ERROR_SUCCESS)
        return std::string();
    return std::string(text.data());
}

long DeleteTree(const std::string &path) {
    const long status = RegDeleteTreeA(HKEY_CLASSES_ROOT, path.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

std::wstring Widened(std::string_view text) {
    return std::wstring(text.begin(), text.end());  // Latin-1: each byte its own code unit
}

}  // namespace

long WriteClassEntries(std::string_view prog_id, const ClassEntries &entries) {
    const std::string prog(prog_id);
    const std::string clsid_path = "CLSID\\" + entries.class_id;
    long status = WriteKey(prog, entries.description);
    if (status == ERROR_SUCCESS)
        status = WriteKey(prog + "\\CLSID", entries.class_id);
    if (status == ERROR_SUCCESS)
        status = WriteKey(clsid_path, entries.description);
    if (status == ERROR_SUCCESS)
        status = WriteKey(clsid_path + "\\ProgID", prog);
    if (status == ERROR_SUCCESS) {
        Key server;
        status = WriteKey(clsid_path + "\\InprocServer32", &entries.server, &server);
        if (status == ERROR_SUCCESS)
            status = SetText(server.Get(), "ThreadingModel", entries.threading_model);
    }
    return status;
}

long RemoveClassEntries(std::string_view prog_id, std::string_view class_id) {
    const std::string prog(prog_id);
    std::string named(class_id);
    if (named.empty())
        named = ReadText(prog + "\\CLSID", nullptr).value_or("");
    long status = prog.empty() ? ERROR_SUCCESS : DeleteTree(prog);
    if (status == ERROR_SUCCESS && !named.empty())
        status = DeleteTree("CLSID\\" + named);
    return status;
}

std::optional<ClassEntries> ReadClassEntries(std::string_view prog_id) {
    const std::string prog(prog_id);
    std::optional<std::string> class_id = ReadText(prog + "\\CLSID", nullptr);
    if (!class_id)
        return std::nullopt;
    ClassEntries entries;
    entries.class_id = *class_id;
    const std::string clsid_path = "CLSID\\" + entries.class_id;
    entries.description = ReadText(clsid_path, nullptr).value_or("");
    entries.prog_id = ReadText(clsid_path + "\\ProgID", nullptr).value_or("");
    entries.server = ReadText(clsid_path + "\\InprocServer32", nullptr).value_or("");
    entries.threading_model =
        ReadText(clsid_path + "\\InprocServer32", "ThreadingModel").value_or("");
    return entries;
}

HRESULT CreateRegisteredObject(std::string_view class_name, uint32_t class_context, REFIID iid,
                               void **object) {
    *object = nullptr;
    CLSID class_id{};
    if (!ClassIdFromText(class_name, &class_id)) {
        const std::wstring wide = Widened(class_name);
        const HRESULT found = CLSIDFromProgID(wide.c_str(), &class_id);
        if (FAILED(found))
            return found == static_cast<HRESULT>(0x800401F3) ? kClassNotRegistered : found;
    }
    return CoCreateInstance(class_id, nullptr, class_context, iid, object);
}

ComApartment::ComApartment() : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}

ComApartment::~ComApartment() {
    if (entered_)
        CoUninitialize();
}

}  // namespace platform
