// Writing tree files: a pre-order walk that opens a node's "children" array when it
// steps down and closes the arrays when it climbs back, one node to a line and
// without indentation, so the text grows with the number of nodes, not their depth.
#include <charconv>
#include <cmath>
#include <string>

#include "errors/failure.h"
#include "properties/property_list.h"
#include "text/counted_array.h"
#include "text/date_text.h"
#include "text/text_view.h"
#include "tree_file.h"
#include "variants/variant_ops.h"

namespace vek::treefile {

namespace {

constexpr const char kFunction[] = "TreeNode.Save";
constexpr char kHexDigits[] = "0123456789ABCDEF";

template <typename Integer>
void AppendInteger(std::string &out, Integer value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

// A finite double as a JSON number that reads back as a double: always with a
// fraction or an exponent.
void AppendDoubleNumber(std::string &out, double value) {
    const std::string text = variant::DoubleText(value);
    out += text;
    if (text.find_first_of(".eE") == std::string::npos)
        out += ".0";
}

void AppendTagged(std::string &out, const char *tag) {
    out += "{\"";
    out += tag;
    out += "\":";
}

void AppendDate(std::string &out, double date) {
    AppendTagged(out, "$date");
    std::string text;
    double again = 0.0;
    // The ISO text holds whole seconds: a date it does not hold exactly goes as days.
    if (FormatAutomationDate(date, text) && ParseAutomationDate(text, again) && again == date)
        AppendJsonString(out, text);
    else
        AppendDoubleNumber(out, date);
    out += '}';
}

void AppendBytes(std::string &out, std::string_view bytes) {
    AppendTagged(out, "$bytes");
    out += '"';
    for (const char byte : bytes) {
        out += kHexDigits[static_cast<unsigned char>(byte) >> 4];
        out += kHexDigits[static_cast<unsigned char>(byte) & 0xF];
    }
    out += "\"}";
}

int32_t AppendValue(std::string &out, const VEKPROPERTYA &property) {
    const VEKVARIANT &value = property.value;
    switch (value.type) {
        case VEK_VT_EMPTY:
            out += "null";
            return 0;
        case VEK_VT_NULL:
            out += "{\"$null\":null}";
            return 0;
        case VEK_VT_INT32:
            AppendInteger(out, value.value.int32_value);
            return 0;
        case VEK_VT_INT:
            if (value.value.int_value >= INT32_MIN && value.value.int_value <= INT32_MAX) {
                AppendTagged(out, "$int64");
                AppendInteger(out, value.value.int_value);
                out += '}';
            } else {
                AppendInteger(out, value.value.int_value);
            }
            return 0;
        case VEK_VT_R8:
            if (std::isfinite(value.value.double_value)) {
                AppendDoubleNumber(out, value.value.double_value);
            } else {
                AppendTagged(out, "$double");
                AppendJsonString(out, variant::DoubleText(value.value.double_value));
                out += '}';
            }
            return 0;
        case VEK_VT_BOOL:
            out += value.value.bool_value != 0 ? "true" : "false";
            return 0;
        case VEK_VT_DATE:
            AppendDate(out, value.value.date_value);
            return 0;
        case VEK_VT_TEXT:
            AppendJsonString(out, ViewOfCounted(value.value.text));
            return 0;
        case VEK_VT_WTEXT:
            AppendTagged(out, "$wtext");
            AppendJsonString(out, value.value.wtext, CountOf(value.value.wtext));
            out += '}';
            return 0;
        case VEK_VT_BLOB:
            AppendBytes(out, ViewOfCounted(static_cast<const char *>(value.value.blob)));
            return 0;
        default: {
            const std::string name(ViewOfCounted(property.name));
            return Fail(VEK_E_TYPEMISMATCH, kFunction,
                        "The attribute \"%.100s\" holds %s, which a tree file cannot hold",
                        name.c_str(), variant::TypeName(value.type));
        }
    }
}

// Everything of a node but its children: {"name":..,"group":..,"attributes":{..}
int32_t AppendNodeHead(std::string &out, const VekTreeNode &node) {
    out += "{\"name\":";
    AppendJsonString(out, node.GetName());
    out += node.IsGroup() ? ",\"group\":true" : ",\"group\":false";
    const VEKPROPS &props = *VEKPROPS::From(node.Properties());
    if (props.Count() == 0)
        return 0;
    out += ",\"attributes\":{";
    for (int32_t i = 0; i < props.Count(); ++i) {
        const VEKPROPERTYA &property = *props.At(i);
        if (i > 0)
            out += ',';
        AppendJsonString(out, ViewOfCounted(property.name));
        out += ':';
        if (const int32_t status = AppendValue(out, property))
            return status;
    }
    out += '}';
    return 0;
}

}  // namespace

int32_t WriteTree(const VekTreeNode &root, std::string &out) {
    const VekTreeNode *node = &root;
    for (;;) {
        if (const int32_t status = AppendNodeHead(out, *node))
            return status;
        if (node->FirstChild() != nullptr) {
            out += ",\"children\":[\n";
            node = node->FirstChild();
            continue;
        }
        out += '}';
        while (node != &root && node->GetNextSib() == nullptr) {
            node = node->Parent();
            out += "]}";
        }
        if (node == &root)
            break;
        out += ",\n";
        node = node->GetNextSib();
    }
    out += '\n';
    return 0;
}

}  // namespace vek::treefile
