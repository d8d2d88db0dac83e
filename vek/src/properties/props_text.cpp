// Property lists written as text: `name=value` items between separators, with a
// backslash that makes the next character literal. Reading and writing are one
// pass each over the text.
#include <memory>
#include <string>
#include <string_view>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "properties/property_list.h"
#include "text/text_view.h"
#include "variants/variant_ops.h"

namespace {

constexpr char kEscape = '\\';
constexpr std::string_view kDefaultSeparator = ";";

std::string_view SeparatorOf(const char *separator, int32_t length) {
    const std::string_view view = vek::ViewOf(separator, length);
    return view.empty() ? kDefaultSeparator : view;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// One part of an item (its name or its value) as it is read: the characters with
// escapes resolved, and where the last escaped one ends, so that trimming never
// takes an escaped blank.
struct Part {
    std::string text;
    size_t kept = 0;  // characters up to and including the last escaped one

    void Add(char c, bool escaped) {
        text.push_back(c);
        if (escaped)
            kept = text.size();
    }
    void Clear() {
        text.clear();
        kept = 0;
    }
};

// Trims the unescaped blanks at the end of a part (the leading ones are never
// added when trimming).
void TrimTail(Part &part) {
    while (part.text.size() > part.kept && IsBlank(part.text.back()))
        part.text.pop_back();
}

class PropsTextReader {
  public:
    PropsTextReader(std::string_view text, std::string_view separator, bool trim)
        : text_(text), separator_(separator), trim_(trim) {}

    // Fills `props`; 0 or a failure status.
    int32_t Read(VEKPROPS &props) {
        size_t position = 0;
        while (position <= text_.size()) {
            const size_t item_start = position;
            if (const int32_t status = ReadItem(position))
                return status;
            ++item_number_;
            if (const int32_t status = Store(props, item_start))
                return status;
            position += separator_.size();  // past the separator (or past the end)
        }
        return 0;
    }

  private:
    // Reads one item from `position` up to the next unescaped separator or the end;
    // leaves `position` on that separator (or the end).
    int32_t ReadItem(size_t &position) {
        name_.Clear();
        value_.Clear();
        has_equals_ = false;
        item_empty_ = true;
        Part *part = &name_;
        while (position < text_.size() && text_.compare(position, separator_.size(), separator_)) {
            char c = text_[position++];
            item_empty_ = false;
            bool escaped = false;
            if (c == kEscape) {
                if (position == text_.size())
                    return vek::Fail(VEK_E_BADDATA, "VekTextToPropsA",
                                     "Property text item %d ends with a lone backslash",
                                     item_number_ + 1);
                c = text_[position++];
                escaped = true;
            } else if (c == '=' && !has_equals_) {
                has_equals_ = true;
                part = &value_;
                continue;
            }
            if (trim_ && !escaped && part->text.empty() && IsBlank(c))
                continue;
            part->Add(c, escaped);
        }
        if (trim_) {
            TrimTail(name_);
            TrimTail(value_);
        }
        return 0;
    }

    int32_t Store(VEKPROPS &props, size_t item_start) {
        if (item_empty_)
            return 0;
        const std::string_view item = text_.substr(item_start, 60);
        const std::string shown(item);
        if (!has_equals_)
            return vek::Fail(VEK_E_BADDATA, "VekTextToPropsA",
                             "Property text item %d has no '=': \"%.60s\"", item_number_,
                             shown.c_str());
        if (name_.text.empty())
            return vek::Fail(VEK_E_BADDATA, "VekTextToPropsA",
                             "Property text item %d has no name: \"%.60s\"", item_number_,
                             shown.c_str());
        VEKPROPERTYA &property = props.Edit(name_.text);
        return vek::variant::AssignText(property.value, value_.text, "VekTextToPropsA");
    }

    std::string_view text_;
    std::string_view separator_;
    bool trim_;
    int32_t item_number_ = 0;
    Part name_;
    Part value_;
    bool has_equals_ = false;
    bool item_empty_ = true;
};

// Appends `text` with backslashes, every character that begins the separator (so
// that no separator can form across the end of a value) and, in names, '=' escaped.
void AppendEscaped(std::string &out, std::string_view text, std::string_view separator,
                   bool is_name) {
    for (const char c : text) {
        if (c == kEscape || c == separator[0] || (is_name && c == '='))
            out.push_back(kEscape);
        out.push_back(c);
    }
}

}  // namespace

VEK_API void *VEK_CALL VekTextToPropsA(const char *text, const char *separator,
                                       int32_t separator_length, uint32_t options) {
    constexpr const char *kFunction = "VekTextToPropsA";
    return vek::GuardPointer(kFunction, [&]() -> void * {
        if ((options & ~(VEK_IGNORE_CASE | VEK_PROPS_TRIM)) != 0) {
            vek::Fail(VEK_E_INVALIDARG, kFunction, "Invalid options: %Xh", options);
            return nullptr;
        }
        auto props = std::make_unique<VEKPROPS>();
        PropsTextReader reader(vek::ViewOf(text, -1), SeparatorOf(separator, separator_length),
                               (options & VEK_PROPS_TRIM) != 0);
        if (reader.Read(*props) != 0)
            return nullptr;
        return props.release();
    });
}

VEK_API char *VEK_CALL VekPropsToTextA(const void *props, const char *separator,
                                       int32_t separator_length, uint32_t options) {
    constexpr const char *kFunction = "VekPropsToTextA";
    return vek::GuardPointer(kFunction, [&]() -> char * {
        if (props == nullptr) {
            vek::Fail(VEK_E_POINTER, kFunction, "No property list given");
            return nullptr;
        }
        if ((options & ~(VEK_IGNORE_CASE | VEK_PROPS_TRIM)) != 0) {
            vek::Fail(VEK_E_INVALIDARG, kFunction, "Invalid options: %Xh", options);
            return nullptr;
        }
        const std::string_view separator_text = SeparatorOf(separator, separator_length);
        const VEKPROPS &list = *VEKPROPS::From(props);
        std::string out;
        std::string value;
        for (int32_t i = 0; i < list.Count(); ++i) {
            const VEKPROPERTYA *item = list.At(i);
            if (vek::variant::TextOf(item->value, value, kFunction) != 0)
                return nullptr;
            if (i > 0)
                out.append(separator_text);
            AppendEscaped(out, vek::ViewOfCounted(item->name), separator_text, true);
            out.push_back('=');
            AppendEscaped(out, value, separator_text, false);
        }
        if (out.size() > INT32_MAX) {
            vek::Fail(VEK_E_OVERFLOW, kFunction, "The property text is too long");
            return nullptr;
        }
        return out.empty() ? nullptr : VekTextNewA(out.data(), static_cast<int32_t>(out.size()));
    });
}
