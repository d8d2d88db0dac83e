// Tree files: the JSON form of a tree (described in vek64_tree.h), read into and
// written from VekTreeNode trees without recursion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vek64_tree.h"

namespace vek::treefile {

// Reads a tree-file text into `root` (a fresh node without children or
// properties): its name, group bit, properties and children made with NewNode.
// 0 or a failure status naming the line and column; `root` may then hold part of
// the tree, which its owner discards.
int32_t ReadTree(std::string_view text, VekTreeNode &root);

// Appends the tree of `root` as a tree-file text. 0 or a failure status.
int32_t WriteTree(const VekTreeNode &root, std::string &out);

// The text of a tree source: the source itself or the contents of the file it
// names (see VEK_TREE_SOURCE_*). 0 or a failure status for `function`.
int32_t SourceText(const char *source, int32_t flags, std::string &text, const char *function);

// ---- Text forms (tree_file_text.cpp) ----

// A UTF-8 text (valid, as the JSON reader hands it over) as Latin-1 bytes; false when
// a code point lies past U+00FF.
bool Utf8ToLatin1(std::string_view utf8, std::string &latin1);
// A UTF-8 text as UTF-16 code units.
std::u16string Utf8ToUtf16(std::string_view utf8);
// Appends a JSON string (in quotes) of Latin-1 bytes / of UTF-16 units (a lone
// surrogate is written as U+FFFD).
void AppendJsonString(std::string &out, std::string_view latin1);
void AppendJsonString(std::string &out, const uint16_t *units, size_t count);

}  // namespace vek::treefile
