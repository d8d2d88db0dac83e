// Formatted, raw and variant attribute writes and reads on a tree whose attributes
// are declared with every value type. Whatever a write accepts, the value read back
// and written again reads the same, through texts (formatted and raw) and through
// VARIANTs; a retype to any type keeps that property; every failure equals the
// thread's error code.
//
// Input: byte 0 picks the attribute, byte 1 the mode and a type to retype to, the
// rest is the value text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "platform/com.h"
#include "vek64_store.h"

namespace {

constexpr const char *kAttributes[] = {"Count", "Flag", "Data", "When", "Label", "Free", "Name"};
constexpr const char *kTypes[] = {"Binary", "Boolean", "Long", "Date/Time", "String"};
constexpr int32_t kRaw = 0x33;
constexpr int32_t kFormatted = 0x15;
constexpr int32_t kRaise = 0x19;

class DeclaredTree {
  public:
    DeclaredTree() : root_(VekTreeNewA("Main", 128)) {
        void *props = VekPropsNew();
        VekPropsSetInt32(props, "Root Node", root_);
        const char *declarations[][2] = {{"Count", "Long"},   {"Flag", "Boolean"},
                                         {"Data", "Binary"},  {"When", "Date/Time"},
                                         {"Label", "String"}, {"Free", "Variant"}};
        int number = 1;
        for (const auto &[name, type] : declarations) {
            VekPropsSetTextA(props, ("Attribute " + std::to_string(number++)).c_str(), name);
            VekPropsSetTextA(props, ("Attribute " + std::string(name) + " VarType").c_str(), type);
        }
        VekPropsSetInt32(props, "Allow New Attributes", 1);
        T_Declare(props);
        VekPropsFree(props);
        T_AddNodeA("Main.Node", 0, -1, 11);
    }
    DeclaredTree(const DeclaredTree &) = delete;
    DeclaredTree &operator=(const DeclaredTree &) = delete;
    ~DeclaredTree() {
        T_Terminate();
        VekTreeFree(root_);
    }

  private:
    int32_t root_;
};

fuzz::TextOutcome Read(const std::string &path, int32_t mode) {
    return fuzz::CheckedText("T_GetA " + path, [&] { return T_GetA(path.c_str(), mode, kRaise); });
}

// A value read back and written again reads the same.
void CheckStable(const std::string &path, int32_t mode) {
    const fuzz::TextOutcome first = Read(path, mode);
    if (!first.Ok())
        return;
    const int32_t written = fuzz::CheckedInteger(
        "T_SetA again", [&] { return T_SetA(path.c_str(), first.Value().c_str(), mode); });
    fuzz::Check(written >= 0,
                "the value read from " + path + " cannot be written back: " + first.Value());
    const fuzz::TextOutcome second = Read(path, mode);
    fuzz::Check(second.Ok() && second.text == first.text,
                path + " read " + first.Value() + ", then " + second.Value());
}

void CheckVariantStable(const std::string &path) {
    const fuzz::TextOutcome before = Read(path, kFormatted);
    VARIANT value;
    VariantInit(&value);
    const int32_t got = fuzz::CheckedInteger(
        "T_GetVariantA", [&] { return T_GetVariantA(path.c_str(), kRaise, &value); });
    if (got >= 0 && path.find("!Name") == std::string::npos) {
        const int32_t set = fuzz::CheckedInteger(
            "T_SetVariantA", [&] { return T_SetVariantA(path.c_str(), &value); });
        fuzz::Check(set >= 0, "the VARIANT read from " + path + " cannot be written back");
        const fuzz::TextOutcome after = Read(path, kFormatted);
        fuzz::Check(after.text == before.text,
                    path + " read " + before.Value() + ", after a VARIANT round " + after.Value());
    }
    VariantClear(&value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2 || size > 1024)
        return 0;
    const std::string text(reinterpret_cast<const char *>(data + 2), size - 2);
    if (text.find('\0') != std::string::npos)
        return 0;
    const DeclaredTree tree;
    const std::string path = std::string("Main.Node!") +
                             kAttributes[data[0] % (sizeof kAttributes / sizeof *kAttributes)];
    const int32_t mode = data[1] & 1 ? kFormatted : kRaw;
    const int32_t set = fuzz::CheckedInteger(
        "T_SetA " + path + " = " + text, [&] { return T_SetA(path.c_str(), text.c_str(), mode); });
    if (set >= 0 && mode == kRaw && path.find("!Name") == std::string::npos &&
        path.find("!Data") == std::string::npos) {
        const fuzz::TextOutcome raw = Read(path, kRaw);
        fuzz::Check(raw.Ok(), "a raw value written cannot be read: " + path);
    }
    CheckStable(path, kFormatted);
    CheckStable(path, kRaw);
    CheckVariantStable(path);
    const char *type = kTypes[(data[1] >> 1) % 5];
    fuzz::CheckedInteger("T_ChangeAttributeTypeA",
                         [&] { return T_ChangeAttributeTypeA(path.c_str(), type, data[1] >> 4); });
    CheckStable(path, kFormatted);
    CheckStable(path, kRaw);
    CheckVariantStable(path);
    return 0;
}
