// Reading tree files. The JSON reader's event interface drives a small state machine
// with an explicit stack of open nodes, attribute lists and tagged values, so nesting
// costs heap memory (bounded by VEK_TREE_MAX_DEPTH), never stack; the reader itself
// keeps its nesting in a bit vector. Nodes are added to the tree as they open.
#include <nlohmann/json.hpp>

#include <cmath>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "errors/failure.h"
#include "properties/property_list.h"
#include "text/date_text.h"
#include "tree_file.h"
#include "variants/variant_ops.h"

namespace vek::treefile {

namespace {

constexpr const char kFunction[] = "TreeNode.Load";

// A character pointer that publishes how far the JSON reader has read, so that a
// failure found by the tree's own rules can name its line and column too.
class TrackedPointer {
  public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char *;
    using reference = const char &;

    TrackedPointer() = default;
    TrackedPointer(const char *position, const char **mark) : position_(position), mark_(mark) {}
    reference operator*() const { return *position_; }
    TrackedPointer &operator++() {
        *mark_ = ++position_;
        return *this;
    }
    TrackedPointer operator++(int) {
        TrackedPointer before = *this;
        ++*this;
        return before;
    }
    bool operator==(const TrackedPointer &other) const { return position_ == other.position_; }
    bool operator!=(const TrackedPointer &other) const { return position_ != other.position_; }

  private:
    const char *position_ = nullptr;
    const char **mark_ = nullptr;
};

enum class Member { kNone, kName, kGroup, kAttributes, kChildren };

// What an open JSON object or array stands for.
struct Frame {
    enum class Kind { kNode, kAttributes, kChildren, kTagged } kind;
    VekTreeNode *node;
    Member pending = Member::kNone;  // kNode: the member whose value comes next
    unsigned seen = 0;               // kNode: bit per member already given
};

// A value tagged with its kind: {"$date": ...} and the like.
enum class Tag { kNone, kInt64, kDouble, kDate, kBytes, kWideText, kNull };

Tag TagOf(std::string_view key) {
    if (key == "$int64")
        return Tag::kInt64;
    if (key == "$double")
        return Tag::kDouble;
    if (key == "$date")
        return Tag::kDate;
    if (key == "$bytes")
        return Tag::kBytes;
    if (key == "$wtext")
        return Tag::kWideText;
    if (key == "$null")
        return Tag::kNull;
    return Tag::kNone;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

class TreeBuilder {
  public:
    using json = nlohmann::json;

    TreeBuilder(VekTreeNode &root, std::string_view text)
        : root_(root), text_(text), read_(text.data()) {}
    TreeBuilder(const TreeBuilder &) = delete;
    TreeBuilder &operator=(const TreeBuilder &) = delete;
    ~TreeBuilder() { variant::Release(tagged_); }

    int32_t Run() {
        const TrackedPointer first(text_.data(), &read_);
        const TrackedPointer last(text_.data() + text_.size(), &read_);
        bool parsed = false;
        try {
            parsed = json::sax_parse(first, last, this);
        } catch (const std::bad_alloc &) {
            throw;
        } catch (const std::exception &error) {
            problem_ = error.what();
        }
        if (parsed && problem_.empty())
            return 0;
        if (status_ != 0)
            return status_;
        return Fail(VEK_E_BADDATA, kFunction, "Tree text, %s", Located(problem_).c_str());
    }

    // The JSON reader's events; false stops reading.
    bool null() { return Value(ValueKind::kNull); }
    bool boolean(bool value) {
        boolean_ = value;
        return Value(ValueKind::kBoolean);
    }
    bool number_integer(json::number_integer_t value) {
        integer_ = value;
        return Value(ValueKind::kInteger);
    }
    bool number_unsigned(json::number_unsigned_t value) {
        if (value > static_cast<uint64_t>(INT64_MAX)) {
            double_ = static_cast<double>(value);
            return Value(ValueKind::kDouble);
        }
        integer_ = static_cast<int64_t>(value);
        return Value(ValueKind::kInteger);
    }
    bool number_float(json::number_float_t value, const json::string_t &) {
        double_ = value;
        return Value(ValueKind::kDouble);
    }
    bool string(json::string_t &value) {
        text_value_.swap(value);
        return Value(ValueKind::kText);
    }
    bool binary(json::binary_t &) { return Refuse("binary values are not JSON"); }
    bool start_object(std::size_t) {
        if (stack_.empty()) {
            if (root_started_)
                return Refuse("a tree file holds one node");
            root_started_ = true;
            return OpenNode(root_);
        }
        Frame &top = stack_.back();
        switch (top.kind) {
            case Frame::Kind::kNode:
                if (top.pending != Member::kAttributes)
                    return WrongKind(top);
                stack_.push_back({Frame::Kind::kAttributes, top.node});
                return true;
            case Frame::Kind::kChildren:
                return OpenChild(*top.node);
            case Frame::Kind::kAttributes:
                tag_ = Tag::kNone;
                variant::Release(tagged_);
                has_tagged_ = false;
                stack_.push_back({Frame::Kind::kTagged, top.node});
                return true;
            case Frame::Kind::kTagged:
                return Refuse("a tagged value holds no object");
        }
        return false;
    }
    bool key(json::string_t &key) {
        Frame &top = stack_.back();
        switch (top.kind) {
            case Frame::Kind::kNode:
                return NodeMember(top, key);
            case Frame::Kind::kAttributes:
                if (!Utf8ToLatin1(key, attribute_name_))
                    return Refuse("the attribute name \"" + key + "\" is not Latin-1");
                if (attribute_name_.empty())
                    return Refuse("an attribute has an empty name");
                return true;
            case Frame::Kind::kTagged:
                if (tag_ != Tag::kNone)
                    return Refuse("a tagged value has one member");
                tag_ = TagOf(key);
                if (tag_ == Tag::kNone)
                    return Refuse("unknown value tag \"" + key + "\"");
                return true;
            case Frame::Kind::kChildren:
                break;
        }
        return false;
    }
    bool end_object() {
        const Frame top = stack_.back();
        stack_.pop_back();
        switch (top.kind) {
            case Frame::Kind::kNode:
                return CloseNode(top);
            case Frame::Kind::kTagged:
                if (tag_ == Tag::kNone || !has_tagged_)
                    return Refuse("a tagged value needs one member, such as {\"$date\": ...}");
                return Store(*top.node, tagged_);
            default:
                return true;
        }
    }
    bool start_array(std::size_t) {
        if (stack_.empty())
            return Refuse("a tree file holds a node (an object)");
        Frame &top = stack_.back();
        if (top.kind == Frame::Kind::kChildren)
            return Refuse("\"children\" must be an array of nodes");
        if (top.kind != Frame::Kind::kNode)
            return Refuse("attribute values are no arrays");
        if (top.pending != Member::kChildren)
            return WrongKind(top);
        stack_.push_back({Frame::Kind::kChildren, top.node});
        return true;
    }
    bool end_array() {
        stack_.pop_back();
        return true;
    }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &error) {
        // The reader's message already names line and column:
        // "[json.exception.parse_error.101] parse error at line 1, column 4: ...".
        std::string message = error.what();
        if (const size_t end = message.find("] "); end != std::string::npos)
            message.erase(0, end + 2);
        constexpr std::string_view kLead = "parse error at ";
        if (message.compare(0, kLead.size(), kLead) == 0)
            message.erase(0, kLead.size());
        status_ = Fail(VEK_E_BADDATA, kFunction, "Tree text, %s", message.c_str());
        return false;
    }

  private:
    enum class ValueKind { kNull, kBoolean, kInteger, kDouble, kText };
    static constexpr unsigned kSeenGroup = 1u << static_cast<int>(Member::kGroup);
    static constexpr unsigned kSeenName = 1u << static_cast<int>(Member::kName);
    static constexpr unsigned kSeenChildren = 1u << static_cast<int>(Member::kChildren);

    bool Refuse(const std::string &problem) {
        problem_ = problem;
        return false;
    }

    // "line L, column C: problem", for the place the reader has reached.
    std::string Located(const std::string &problem) const {
        size_t line = 1;
        const char *line_start = text_.data();
        for (const char *p = text_.data(); p < read_; ++p) {
            if (*p == '\n') {
                ++line;
                line_start = p + 1;
            }
        }
        return "line " + std::to_string(line) + ", column " +
               std::to_string(read_ - line_start + 1) + ": " + problem;
    }

    bool OpenNode(VekTreeNode &node) {
        if (++depth_ > VEK_TREE_MAX_DEPTH)
            return Refuse("the tree is nested deeper than " + std::to_string(VEK_TREE_MAX_DEPTH) +
                          " levels");
        stack_.push_back({Frame::Kind::kNode, &node});
        return true;
    }

    bool OpenChild(VekTreeNode &parent) {
        std::unique_ptr<VekTreeNode> child(parent.NewNode());
        if (!child) {
            status_ = ZamGetLastError();
            return false;
        }
        if (const int32_t status = parent.AddChild(child.get(), -1); status < 0) {
            status_ = status;
            return false;
        }
        return OpenNode(*child.release());  // the tree owns it now
    }

    bool CloseNode(const Frame &frame) {
        --depth_;
        if ((frame.seen & kSeenName) == 0)
            return Refuse("a node needs a \"name\"");
        if ((frame.seen & kSeenGroup) == 0)
            frame.node->SetAttributes(VekTreeNode::kGroup, (frame.seen & kSeenChildren) != 0
                                                               ? uint32_t{VekTreeNode::kGroup}
                                                               : 0u);
        return true;
    }

    bool NodeMember(Frame &frame, std::string_view key) {
        Member member = Member::kNone;
        if (key == "name")
            member = Member::kName;
        else if (key == "group")
            member = Member::kGroup;
        else if (key == "attributes")
            member = Member::kAttributes;
        else if (key == "children")
            member = Member::kChildren;
        else
            return Refuse("unknown node member \"" + std::string(key) + "\"");
        const unsigned bit = 1u << static_cast<int>(member);
        if ((frame.seen & bit) != 0)
            return Refuse("the node member \"" + std::string(key) + "\" is given twice");
        frame.seen |= bit;
        frame.pending = member;
        return true;
    }

    bool WrongKind(const Frame &frame) {
        switch (frame.pending) {
            case Member::kName:
                return Refuse("\"name\" must be a text");
            case Member::kGroup:
                return Refuse("\"group\" must be true or false");
            case Member::kAttributes:
                return Refuse("\"attributes\" must be an object");
            case Member::kChildren:
                return Refuse("\"children\" must be an array of nodes");
            case Member::kNone:
                break;
        }
        return Refuse("unexpected value");
    }

    bool Value(ValueKind kind) {
        if (stack_.empty())
            return Refuse("a tree file holds a node (an object)");
        Frame &top = stack_.back();
        switch (top.kind) {
            case Frame::Kind::kNode:
                return NodeValue(top, kind);
            case Frame::Kind::kAttributes:
                return PlainAttribute(*top.node, kind);
            case Frame::Kind::kTagged:
                return TaggedValue(kind);
            case Frame::Kind::kChildren:
                return Refuse("\"children\" must be an array of nodes");
        }
        return false;
    }

    bool NodeValue(Frame &frame, ValueKind kind) {
        if (frame.pending == Member::kName && kind == ValueKind::kText) {
            if (!Utf8ToLatin1(text_value_, latin1_))
                return Refuse("the node name \"" + text_value_ + "\" is not Latin-1");
            if (const int32_t status =
                    frame.node->SetName(latin1_.data(), static_cast<int32_t>(latin1_.size()))) {
                status_ = status;
                return false;
            }
            return true;
        }
        if (frame.pending == Member::kGroup && kind == ValueKind::kBoolean) {
            frame.node->SetAttributes(VekTreeNode::kGroup,
                                      boolean_ ? uint32_t{VekTreeNode::kGroup} : 0u);
            return true;
        }
        return WrongKind(frame);
    }

    bool PlainAttribute(VekTreeNode &node, ValueKind kind) {
        VEKVARIANT value{};
        switch (kind) {
            case ValueKind::kNull:
                break;
            case ValueKind::kBoolean:
                value.type = VEK_VT_BOOL;
                value.value.bool_value = boolean_ ? 1 : 0;
                break;
            case ValueKind::kInteger:
                if (integer_ >= INT32_MIN && integer_ <= INT32_MAX) {
                    value.type = VEK_VT_INT32;
                    value.value.int32_value = static_cast<int32_t>(integer_);
                } else {
                    value.type = VEK_VT_INT;
                    value.value.int_value = integer_;
                }
                break;
            case ValueKind::kDouble:
                value.type = VEK_VT_R8;
                value.value.double_value = double_;
                break;
            case ValueKind::kText:
                return StoreText(node);
        }
        return Store(node, value);
    }

    // A text value: 8-bit when it keeps to Latin-1, else wide.
    bool StoreText(VekTreeNode &node) {
        VEKVARIANT value{};
        const int32_t status = Utf8ToLatin1(text_value_, latin1_)
                                   ? variant::AssignText(value, latin1_, kFunction)
                                   : AssignWide(value);
        if (status != 0) {
            status_ = status;
            return false;
        }
        return Store(node, value);
    }

    int32_t AssignWide(VEKVARIANT &value) {
        const std::u16string units = Utf8ToUtf16(text_value_);
        return variant::AssignWideUnits(value, reinterpret_cast<const uint16_t *>(units.data()),
                                        units.size(), kFunction);
    }

    // Moves `value` into the node's property named attribute_name_.
    bool Store(VekTreeNode &node, VEKVARIANT &value) {
        VEKPROPS &props = *VEKPROPS::From(node.Properties());
        const int32_t before = props.Count();
        VEKPROPERTYA &property = props.Edit(attribute_name_);
        if (props.Count() == before) {
            variant::Release(value);
            return Refuse("the attribute \"" + attribute_name_ + "\" is given twice");
        }
        property.value = value;
        value = VEKVARIANT{};
        return true;
    }

    bool TaggedValue(ValueKind kind) {
        if (has_tagged_)
            return Refuse("a tagged value has one member");
        has_tagged_ = true;
        VEKVARIANT &value = tagged_;
        switch (tag_) {
            case Tag::kInt64:
                if (kind != ValueKind::kInteger)
                    return Refuse("\"$int64\" must be a whole number of 64 bits");
                value.type = VEK_VT_INT;
                value.value.int_value = integer_;
                return true;
            case Tag::kDouble:
                return TaggedDouble(kind, value);
            case Tag::kDate:
                return TaggedDate(kind, value);
            case Tag::kBytes:
                return TaggedBytes(kind, value);
            case Tag::kWideText:
                if (kind != ValueKind::kText)
                    return Refuse("\"$wtext\" must be a text");
                if (const int32_t status = AssignWide(value)) {
                    status_ = status;
                    return false;
                }
                return true;
            case Tag::kNull:
                if (kind != ValueKind::kNull)
                    return Refuse("\"$null\" must be null");
                value.type = VEK_VT_NULL;
                return true;
            case Tag::kNone:
                break;
        }
        return false;
    }

    bool TaggedDouble(ValueKind kind, VEKVARIANT &value) {
        double number = 0.0;
        if (kind == ValueKind::kDouble)
            number = double_;
        else if (kind == ValueKind::kInteger)
            number = static_cast<double>(integer_);
        else if (kind != ValueKind::kText || !variant::ParseDouble(text_value_, number))
            return Refuse("\"$double\" must be a number, \"NaN\", \"Infinity\" or \"-Infinity\"");
        value.type = VEK_VT_R8;
        value.value.double_value = number;
        return true;
    }

    bool TaggedDate(ValueKind kind, VEKVARIANT &value) {
        double date = 0.0;
        if (kind == ValueKind::kText) {
            if (!ParseAutomationDate(text_value_, date))
                return Refuse("\"$date\" \"" + text_value_ +
                              "\" is no date of the years 100..9999 (YYYY-MM-DD hh:mm:ss)");
        } else if (kind == ValueKind::kDouble || kind == ValueKind::kInteger) {
            date = kind == ValueKind::kDouble ? double_ : static_cast<double>(integer_);
            if (!IsAutomationDateInRange(date))
                return Refuse("\"$date\" lies outside the years 100..9999");
        } else {
            return Refuse("\"$date\" must be a text or a number of days");
        }
        value.type = VEK_VT_DATE;
        value.value.date_value = date;
        return true;
    }

    bool TaggedBytes(ValueKind kind, VEKVARIANT &value) {
        if (kind != ValueKind::kText || text_value_.size() % 2 != 0)
            return Refuse("\"$bytes\" must be a text of hexadecimal digit pairs");
        std::string bytes(text_value_.size() / 2, '\0');
        for (size_t i = 0; i < bytes.size(); ++i) {
            const int high = HexDigit(text_value_[2 * i]);
            const int low = HexDigit(text_value_[2 * i + 1]);
            if (high < 0 || low < 0)
                return Refuse("\"$bytes\" must be a text of hexadecimal digit pairs");
            bytes[i] = static_cast<char>(high * 16 + low);
        }
        if (const int32_t status = variant::AssignBlob(value, bytes, kFunction)) {
            status_ = status;
            return false;
        }
        return true;
    }

    VekTreeNode &root_;
    std::string_view text_;
    const char *read_;  // how far the JSON reader has read
    std::vector<Frame> stack_;
    int64_t depth_ = 0;
    bool root_started_ = false;
    std::string problem_;  // a rule of the tree form that the text breaks
    int32_t status_ = 0;   // a failure already set (memory, reader's syntax error)

    bool boolean_ = false;
    int64_t integer_ = 0;
    double double_ = 0.0;
    std::string text_value_;
    std::string latin1_;
    std::string attribute_name_;
    Tag tag_ = Tag::kNone;
    VEKVARIANT tagged_{};  // the value of an open tagged object, until it is stored
    bool has_tagged_ = false;
};

}  // namespace

int32_t ReadTree(std::string_view text, VekTreeNode &root) {
    TreeBuilder builder(root, text);
    return builder.Run();
}

}  // namespace vek::treefile
