// The pieces fuzz_dispatch builds its calls from: a reader of operands from the
// input bytes (names, masks, invocation flags), owned VARIANTs, an argument block
// with every VARIANT type by value and by reference, and a call by name.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <initializer_list>
#include <limits>
#include <string_view>
#include <vector>

#include "platform/com.h"

namespace fuzz {

inline constexpr GUID kNoInterface = {};

// Reads operands; past the end every read gives zero and Empty() is true.
class DispatchInput {
  public:
    DispatchInput(const uint8_t *data, size_t size) : data_(data), size_(size) {}

    bool Empty() const { return at_ >= size_; }
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    bool Bit() { return (Byte() & 1) != 0; }
    uint32_t Word() {
        uint32_t word = 0;
        for (int i = 0; i < 4; ++i)
            word = (word << 8) | Byte();
        return word;
    }
    uint64_t Quad() { return (uint64_t{Word()} << 32) | Word(); }

    // Mostly the four call kinds and their mixtures; now and then any bits at all.
    WORD Flags() {
        const uint8_t pick = Byte();
        if (pick >= 0xF8)
            return static_cast<WORD>(Word());
        return static_cast<WORD>(pick & 0x0F);
    }

    // A known name (null among them), or up to 15 UTF-16 units of any value.
    BSTR Name() {
        static constexpr std::array<std::string_view, 16> kNames = {
            "",         "x",          "X",
            "Code",     "Class",      "Clone",
            "ToString", "Prototype",  "_CreateInstance",
            "Value",    "Item",       "CopyOnChange",
            "IFM",      "Properties", "code",
            "y"};
        const uint8_t pick = Byte();
        if (pick == 0xFF)
            return nullptr;
        if (pick < 0xC0)
            return platform::BstrFromText(kNames[pick % kNames.size()]);
        return RawText(pick % 16);
    }

    // A valid mask, the empty mask that switches the check off, or any text.
    BSTR Mask() {
        static constexpr std::array<std::string_view, 8> kMasks = {
            "", "LL-00", "009", "AAAA", "99/99/9999", "\\L0", "&&&", "####"};
        const uint8_t pick = Byte();
        if (pick < 0xA0)
            return platform::BstrFromText(kMasks[pick % kMasks.size()]);
        return RawText(pick % 32);
    }

  private:
    BSTR RawText(size_t length) {
        std::vector<OLECHAR> units(length);
        for (auto &unit : units)
            unit = static_cast<OLECHAR>((Byte() << 8) | Byte());
        return SysAllocStringLen(units.data(), static_cast<UINT>(length));
    }

    const uint8_t *data_;
    size_t size_;
    size_t at_ = 0;
};

// One VARIANT, cleared when it goes.
class OwnedVariant {
  public:
    OwnedVariant() { VariantInit(&v_); }
    OwnedVariant(const OwnedVariant &) = delete;
    OwnedVariant &operator=(const OwnedVariant &) = delete;
    ~OwnedVariant() { VariantClear(&v_); }
    VARIANT *Get() { return &v_; }

  private:
    VARIANT v_;
};

// A text argument that borrows its BSTR.
inline VARIANT TextArgument(BSTR text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = text;
    return v;
}

// Two values are the same: same type and contents (arrays: same type only).
inline bool SameValue(const VARIANT &a, const VARIANT &b) {
    if (a.vt != b.vt)
        return false;
    if (a.vt == VT_BSTR) {  // a null BSTR is the empty text
        const UINT length = SysStringLen(a.bstrVal);
        return length == SysStringLen(b.bstrVal) &&
               (length == 0 || std::memcmp(a.bstrVal, b.bstrVal, length * sizeof(OLECHAR)) == 0);
    }
    if (a.vt & VT_ARRAY)
        return true;
    if (a.vt == VT_DECIMAL)
        return std::memcmp(&a, &b, sizeof a) == 0;
    return a.llVal == b.llVal;
}

// IDispatch::Invoke by name, the way a script calls: an assignment passes its value
// as the named argument DISPID_PROPERTYPUT. Arguments are borrowed, in call order.
inline HRESULT CallByName(IDispatch *object, const char *name, WORD flags,
                          std::initializer_list<VARIANT> arguments, VARIANT *result) {
    platform::Bstr text(platform::BstrFromText(name));
    LPOLESTR names[] = {text.Get()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(object->GetIDsOfNames(kNoInterface, names, 1, 0x409, &id)))
        return DISP_E_UNKNOWNNAME;
    std::vector<VARIANT> reversed(arguments.begin(), arguments.end());
    std::reverse(reversed.begin(), reversed.end());
    DISPID put = DISPID_PROPERTYPUT;
    const bool assigns = flags & DISPATCH_PROPERTYPUT;
    DISPPARAMS block{reversed.empty() ? nullptr : reversed.data(), assigns ? &put : nullptr,
                     static_cast<UINT>(reversed.size()), assigns ? 1u : 0u};
    return object->Invoke(id, kNoInterface, 0x409, flags, &block, result, nullptr, nullptr);
}

// The arguments of one call read from the input: up to five of any VARIANT type,
// by value or by reference (to a variable here, or a null pointer), named
// arguments that may outnumber the arguments, and null arrays where counts say
// there are elements. Everything given is cleared afterwards, including what a
// callee stored through a reference.
class ArgumentBlock {
  public:
    ArgumentBlock(DispatchInput &in, IDispatch *object, IDispatch *other) {
        const uint8_t counts = in.Byte();
        const UINT count = counts % 6;
        const UINT named = (counts >> 3) % 4;
        slots_.resize(count);
        for (auto &slot : slots_)
            Fill(in, object, other, slot);
        for (UINT i = 0; i < named; ++i)
            names_.push_back(NamedId(in));
        const uint8_t nulls = in.Byte();
        block_.rgvarg = slots_.empty() || (nulls & 0xF0) == 0xF0 ? nullptr : slots_.data();
        block_.rgdispidNamedArgs =
            names_.empty() || (nulls & 0x0F) == 0x0F ? nullptr : names_.data();
        block_.cArgs = count;
        block_.cNamedArgs = named;
    }
    ArgumentBlock(const ArgumentBlock &) = delete;
    ArgumentBlock &operator=(const ArgumentBlock &) = delete;
    ~ArgumentBlock() {
        for (auto &slot : slots_)
            VariantClear(&slot);
        for (auto &cell : cells_)
            VariantClear(&cell);
    }
    DISPPARAMS *Get() { return &block_; }

  private:
    static DISPID NamedId(DispatchInput &in) {
        const uint8_t pick = in.Byte();
        switch (pick % 6) {
            case 0:
                return DISPID_PROPERTYPUT;
            case 1:
                return 0;
            case 2:
                return 1;
            case 3:
                return 2;
            case 4:
                return -1;
            default:
                return static_cast<DISPID>(in.Word());
        }
    }

    // A value of the type the byte names; pointers in it are valid or null.
    static void Value(DispatchInput &in, IDispatch *object, IDispatch *other, VARIANT &v) {
        VariantInit(&v);
        static constexpr VARTYPE kTypes[] = {
            VT_EMPTY, VT_NULL, VT_I2,   VT_I4,    VT_R4,       VT_R8,      VT_CY,     VT_DATE,
            VT_BSTR,  VT_BSTR, VT_BOOL, VT_I1,    VT_UI1,      VT_UI2,     VT_UI4,    VT_I8,
            VT_UI8,   VT_INT,  VT_UINT, VT_ERROR, VT_DISPATCH, VT_UNKNOWN, VT_DECIMAL};
        const uint8_t pick = in.Byte();
        const VARTYPE type = kTypes[pick % std::size(kTypes)];
        v.vt = type;
        switch (type) {
            case VT_BSTR:
                v.bstrVal = (pick & 0x80) ? nullptr : in.Name();
                break;
            case VT_DISPATCH:
            case VT_UNKNOWN: {
                IDispatch *chosen = (pick & 0x80)            ? nullptr
                                    : (pick & 0x40) && other ? other
                                                             : object;
                if (chosen != nullptr)
                    chosen->AddRef();
                v.pdispVal = chosen;
                break;
            }
            case VT_R8:
            case VT_DATE:
                v.dblVal = Double(in);
                break;
            case VT_R4:
                v.fltVal = static_cast<float>(Double(in));
                break;
            case VT_ERROR:
                v.scode = (pick & 0x80) ? static_cast<SCODE>(in.Word()) : DISP_E_PARAMNOTFOUND;
                break;
            case VT_DECIMAL: {
                const uint64_t low = in.Quad();
                const uint32_t high = in.Word();
                const uint8_t scale = in.Byte();
                const uint8_t sign = in.Byte();
                v.decVal.Lo64 = low;
                v.decVal.Hi32 = high;
                v.decVal.scale = scale;
                v.decVal.sign = sign;
                v.vt = VT_DECIMAL;
                break;
            }
            case VT_EMPTY:
            case VT_NULL:
                break;
            default:
                v.llVal = static_cast<LONGLONG>(in.Quad());
                break;
        }
    }

    static double Double(DispatchInput &in) {
        static constexpr double kNumbers[] = {0.0,   -1.5, 2958465.99999, -657434.0,
                                              1e308, -0.0, 4294967296.0,  0.5};
        const uint8_t pick = in.Byte();
        if (pick == 0xFE)
            return std::numeric_limits<double>::quiet_NaN();
        if (pick == 0xFD)
            return std::numeric_limits<double>::infinity();
        if (pick < 0xC0)
            return kNumbers[pick % std::size(kNumbers)];
        const uint64_t bits = in.Quad();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }

    void Fill(DispatchInput &in, IDispatch *object, IDispatch *other, VARIANT &slot) {
        const uint8_t how = in.Byte();
        if ((how & 3) != 3) {  // by value
            Value(in, object, other, slot);
            return;
        }
        // By reference: to a variable of the value's type, to a VARIANT variable
        // (the way VBScript passes variables), or a null pointer.
        VARIANT &cell = cells_.emplace_back();
        Value(in, object, other, cell);
        VariantInit(&slot);
        if (how & 4) {
            slot.vt = VT_BYREF | VT_VARIANT;
            slot.pvarVal = (how & 8) ? nullptr : &cell;
            return;
        }
        if (cell.vt == VT_EMPTY || cell.vt == VT_NULL)
            cell.vt = VT_I4;  // no by-reference form; a long instead
        slot.vt = VT_BYREF | cell.vt;
        slot.byref = (how & 8) ? nullptr
                               : (cell.vt == VT_DECIMAL ? static_cast<void *>(&cell.decVal)
                                                        : static_cast<void *>(&cell.llVal));
    }

    std::vector<VARIANT> slots_;
    std::deque<VARIANT> cells_;  // stable addresses for the references
    std::vector<DISPID> names_;
    DISPPARAMS block_{};
};

}  // namespace fuzz
