// Paths, attribute paths and identifiers: the syntax checks, the canonical form,
// identifier patterns and every path export on a small fixed tree, plus adding and
// deleting nodes by the fuzzed path. Invariants: a negative result equals the
// thread's error code and a success leaves it clear; the canonical form is
// idempotent; a node that exists has a handle whose path is its canonical path,
// which names it again; a node added exists until it is deleted.
//
// Input: byte 0 chooses the node type and the error handling of the additions; the
// rest is the text.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "tstore/paths/t_names.h"
#include "tstore/paths/t_pattern.h"
#include "tstore/paths/t_syntax.h"
#include "vek64_store.h"

namespace {

using namespace Ostrel::Zam::tstore;

template <class Check>
bool Passes(Check &&check) {
    try {
        check();
        return true;
    } catch (...) {
        return false;
    }
}

// Main with Cfg.Port[1..3], Cfg.Sub.Port, A.B.C and an item Leaf; the alias Al
// stands for Main.Cfg.
class FixedTree {
  public:
    FixedTree() : root_(VekTreeNewA("Main", 128)) {
        void *props = VekPropsNew();
        VekPropsSetInt32(props, "Root Node", root_);
        VekPropsSetTextA(props, "Attribute 1", "Value");
        T_Declare(props);
        VekPropsFree(props);
        for (const char *path :
             {"Main.Cfg.Port", "Main.Cfg.Port", "Main.Cfg.Port", "Main.Cfg.Sub.Port", "Main.A.B.C"})
            T_AddNodeA(path, 0, -1, 3);
        T_AddNodeA("Main.Leaf", 0, -1, 11);
        T_SetA("Main.Cfg.Port[2]!Value", "COM2", 0x33);
        T_SetAliasA("Al", "Main.Cfg");
    }
    FixedTree(const FixedTree &) = delete;
    FixedTree &operator=(const FixedTree &) = delete;
    ~FixedTree() {
        T_Terminate();
        VekTreeFree(root_);
    }

  private:
    int32_t root_;
};

constexpr int32_t kNodesInFixedTree = 11;

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}
constexpr int32_t kForeignCharacter = 0x6204000A;

void CheckTexts(const std::string &text) {
    const bool node_path = Passes([&] { Check_Node_Path_Syntax(text); });
    const bool identifier = Passes([&] { Check_Node_Identifier_Syntax(text); });
    Passes([&] { Check_Attribute_Path_Syntax(text); });
    Passes([&] { Check_Attribute_Identifier_Syntax(text); });
    if (node_path)
        fuzz::Check(identifier, "a node path that is no identifier: " + text);

    const std::string canonical = Complete_Twin_Indexes(text);
    fuzz::Check(Complete_Twin_Indexes(canonical) == canonical, "canonical form moves: " + text);
    const std::string stripped = Remove_First_Twin_Indexes(canonical);
    if (node_path)
        fuzz::Check(stripped.find("[1]") == std::string::npos, "a [1] is left: " + text);
    if (identifier) {
        const std::string pattern = Identifier_To_Pattern(text);
        Identifier_Fixed_Prefix(text);
        Passes([&] { Identifier_Pattern(pattern).Matches(canonical); });
    }
    // A foreign character is reported in the error information without a failure;
    // the empty name is no name, reported by nothing.
    ZamSetErrorInfo(nullptr);
    const int32_t name = T_CheckNodeNameA(text.c_str());
    fuzz::Check((name == 1 && ZamGetLastError() == 0) ||
                    (name == 0 && ZamGetLastError() == (text.empty() ? 0 : kForeignCharacter)),
                "T_CheckNodeNameA gave " + std::to_string(name));
}

void CheckQueries(const std::string &text) {
    const char *p = text.c_str();
    const int32_t exists = fuzz::CheckedInteger("T_ExistsA " + text, [&] { return T_ExistsA(p); });
    fuzz::CheckedInteger("T_IsGroupA", [&] { return T_IsGroupA(p); });
    fuzz::CheckedInteger("T_GetNodePositionA", [&] { return T_GetNodePositionA(p); });
    const int32_t count =
        fuzz::CheckedInteger("T_CountNodesA", [&] { return T_CountNodesA(p, 1); });
    fuzz::Check(count <= kNodesInFixedTree + 1000, "more nodes counted than exist: " + text);
    fuzz::CheckedInteger("T_CheckCurrentNodeA", [&] { return T_CheckCurrentNodeA(p); });
    for (int32_t what : {39, 33, 31, 19, 23, 29, 48, 47, 49})
        fuzz::CheckedText("T_GetFullPathA", [&] { return T_GetFullPathA(p, what, 27); });
    fuzz::CheckedText("T_GetChildFullPathA", [&] { return T_GetChildFullPathA(p, 1); });
    fuzz::CheckedText("T_GetA", [&] { return T_GetA(p, 0x33, 0x19); });
    fuzz::CheckedText("T_SearchA", [&] { return T_SearchA(p, "COM", "", 0x33, 0, 1); });
    fuzz::CheckedText("T_SearchNextA", [] { return T_SearchNextA(); });

    if (exists == 1 && text.find('!') == std::string::npos) {
        const int32_t handle =
            fuzz::CheckedInteger("T_GetNodeHandleA", [&] { return T_GetNodeHandleA(p); });
        fuzz::Check(handle > 0, "an existing node without handle: " + text);
        const fuzz::TextOutcome from_handle =
            fuzz::CheckedText("T_GetFullPathFromHA", [&] { return T_GetFullPathFromHA(handle); });
        const fuzz::TextOutcome full =
            fuzz::CheckedText("T_GetFullPathA", [&] { return T_GetFullPathA(p, 39, 25); });
        // The path of a lookup keeps the caller's spelling; names ignore case.
        fuzz::Check(
            from_handle.Ok() && full.Ok() && SameIgnoringCase(from_handle.Value(), full.Value()),
            "two paths for one node: " + text);
        fuzz::Check(T_ExistsA(full.Value().c_str()) == 1 &&
                        T_GetNodeHandleA(full.Value().c_str()) == handle,
                    "the canonical path names another node: " + text + " -> " + full.Value());
    }
}

void CheckBuilding(const std::string &text, uint8_t choice) {
    // Large twin indexes make up to a million missing groups: fine, but slow.
    const bool long_number = std::search_n(text.begin(), text.end(), 3, 0, [](char c, int) {
                                 return std::isdigit(static_cast<unsigned char>(c));
                             }) != text.end();
    if (long_number)
        return;
    const char *p = text.c_str();
    const int32_t type = choice & 1 ? 128 : 0;
    const int32_t handling = (choice & 6) == 0 ? 3 : (choice & 6) == 2 ? 41 : 11;
    const int32_t added = fuzz::CheckedInteger("T_AddNodeA " + text,
                                               [&] { return T_AddNodeA(p, type, -1, handling); });
    if (added >= 0 && handling == 11) {
        fuzz::Check(T_ExistsA(p) == 1, "added but missing: " + text);
        fuzz::CheckedInteger("T_SetA",
                             [&] { return T_SetA((text + "!Value").c_str(), "x", 0x33); });
    }
    fuzz::CheckedInteger("T_ChangeNodeTypeA", [&] { return T_ChangeNodeTypeA(p, 128 - type, 7); });
    // Copies and moves go below the node: beside it they could make twins of it.
    fuzz::CheckedInteger("T_CopyNodeA", [&] { return T_CopyNodeA("Main.Cfg.Sub", p, -1, 53); });
    fuzz::CheckedInteger("T_MoveNodeA", [&] { return T_MoveNodeA("Main.Leaf", p, 1, 53); });
    const int32_t deleted =
        fuzz::CheckedInteger("T_DeleteNodeA " + text, [&] { return T_DeleteNodeA(p, 7, 27); });
    if (added >= 0 && deleted >= 0 && handling == 11 &&
        text.find_first_of("[?+*#") == std::string::npos)
        fuzz::Check(T_ExistsA(p) == 0, "deleted but still there: " + text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1 || size > 512)
        return 0;
    const std::string text(reinterpret_cast<const char *>(data + 1), size - 1);
    if (text.find('\0') != std::string::npos)
        return 0;
    CheckTexts(text);
    const FixedTree tree;
    CheckQueries(text);
    CheckBuilding(text, data[0]);
    CheckQueries(text);
    return 0;
}
