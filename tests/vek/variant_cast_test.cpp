// Variant casts, Booleans, dates, blobs and automation VARIANTs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "platform/com.h"
#include "store_test_support.h"
#include "vek64_store.h"

namespace {

using store_test::IsFailure;
using store_test::LastDescription;
using store_test::Take;
using store_test::Variant;

std::string TextOf(const VEKVARIANT &v) {
    char *text = nullptr;
    EXPECT_EQ(VekVarToStrA(&v, &text), 0);
    return Take(text).value_or("");
}

std::string BytesOf(const void *blob) {
    return std::string(static_cast<const char *>(blob),
                       static_cast<size_t>(VekArrayCountEx_(blob)));
}

// Casts `text` to `type`; the status, with the result in `out`.
int32_t CastText(const char *text, uint32_t type, Variant &out) {
    Variant source;
    VekVarFromStrA(&source.v, text, -1);
    return VekVarCast(&out.v, &source.v, type);
}

// Two variants hold the same value of the same type.
void ExpectSameValue(const VEKVARIANT &a, const VEKVARIANT &b) {
    ASSERT_EQ(a.type, b.type);
    switch (a.type) {
        case VEK_VT_INT32:
            EXPECT_EQ(a.value.int32_value, b.value.int32_value);
            break;
        case VEK_VT_INT:
            EXPECT_EQ(a.value.int_value, b.value.int_value);
            break;
        case VEK_VT_BOOL:
            EXPECT_EQ(a.value.bool_value != 0, b.value.bool_value != 0);
            break;
        case VEK_VT_DATE:
            EXPECT_NEAR(a.value.date_value, b.value.date_value, 0.5 / 86400);
            break;
        case VEK_VT_R8:
            EXPECT_EQ(a.value.double_value, b.value.double_value);
            break;
        case VEK_VT_BLOB:
            EXPECT_EQ(BytesOf(a.value.blob), BytesOf(b.value.blob));
            break;
        default:
            EXPECT_EQ(TextOf(a), TextOf(b));
    }
}

// Every type goes to 8-bit text, wide text and blob and comes back unchanged.
TEST(VariantCast, EveryTypeRoundTripsThroughItsText) {
    std::vector<Variant> values(14);
    VekVarFromInt32(&values[0].v, INT32_MIN);
    VekVarFromInt32(&values[1].v, 0);
    VekVarFromInt(&values[2].v, INT64_MIN);
    VekVarFromInt(&values[3].v, 5000000000LL);
    VekVarFromBool(&values[4].v, 1);
    VekVarFromBool(&values[5].v, 0);
    VekVarFromDate(&values[6].v, 46362.34327546296);  // 2026-12-06 08:14:19
    VekVarFromDate(&values[7].v, -1.25);              // 1899-12-29 06:00:00
    VekVarFromDate(&values[8].v, 2958465.0);          // 9999-12-31
    VekVarFromStrA(&values[9].v, "caf\xE9 #1", -1);
    VekVarFromBlob(&values[10].v, "\0\x01\xFFz", 4);
    VekVarFromDate(&values[11].v, -657434.5);  // 0100-01-01 12:00:00
    VekVarFromDouble(&values[12].v, 0.1 + 0.2);
    VekVarFromDouble(&values[13].v, -1.7976931348623157e308);
    for (const uint32_t carrier : {VEK_VT_TEXT, VEK_VT_WTEXT, VEK_VT_BLOB}) {
        for (Variant &value : values) {
            Variant text;
            ASSERT_EQ(VekVarCast(&text.v, &value.v, carrier), 0) << LastDescription();
            Variant back;
            ASSERT_EQ(VekVarCast(&back.v, &text.v, value.v.type), 0) << LastDescription();
            SCOPED_TRACE(TextOf(text.v));
            ExpectSameValue(back.v, value.v);
        }
    }
}

TEST(VariantCast, WideTextKeepsUnitsAboveLatin1OnlyWhileWide) {
    Variant wide;
    ASSERT_EQ(CastText("a\xE9", VEK_VT_WTEXT, wide), 0);
    ASSERT_EQ(VekArrayCountEx_(wide.v.value.wtext), 2);
    EXPECT_EQ(wide.v.value.wtext[1], 0xE9);  // Latin-1: the byte is the unit
    wide.v.value.wtext[0] = 0x263A;
    Variant copy;
    ASSERT_EQ(VekVarCast(&copy.v, &wide.v, VEK_VT_WTEXT), 0);
    EXPECT_EQ(copy.v.value.wtext[0], 0x263A);
    EXPECT_EQ(TextOf(wide.v), "?\xE9");
}

TEST(VariantCast, IntegersNeverCutAndMeetDatesAsWholeDays) {
    Variant out;
    EXPECT_EQ(CastText("-2147483648", VEK_VT_INT32, out), 0);
    EXPECT_EQ(out.v.value.int32_value, INT32_MIN);
    EXPECT_EQ(CastText("2147483648", VEK_VT_INT32, out), VEK_E_OVERFLOW);
    EXPECT_EQ(LastDescription(), "Cannot convert \"2147483648\" to a 32-bit integer: out of range");
    EXPECT_EQ(CastText("9223372036854775807", VEK_VT_INT, out), 0);
    EXPECT_EQ(out.v.value.int_value, INT64_MAX);
    EXPECT_EQ(CastText("99999999999999999999", VEK_VT_INT, out), VEK_E_OVERFLOW);

    Variant source;
    VekVarFromDate(&source.v, -1.25);
    ASSERT_EQ(VekVarCast(&out.v, &source.v, VEK_VT_INT32), 0);
    EXPECT_EQ(out.v.value.int32_value, -1);  // time of day dropped
    VekVarFromInt(&source.v, 46362);
    ASSERT_EQ(VekVarCast(&out.v, &source.v, VEK_VT_DATE), 0);
    EXPECT_EQ(TextOf(out.v), "2026-12-06");
    VekVarFromInt(&source.v, 2958466);  // 10000-01-01
    EXPECT_EQ(VekVarCast(&out.v, &source.v, VEK_VT_DATE), VEK_E_OVERFLOW);
    EXPECT_EQ(LastDescription(), "Cannot convert 2958466 to a date: out of range");
    VekVarFromBool(&source.v, 1);
    ASSERT_EQ(VekVarCast(&out.v, &source.v, VEK_VT_INT), 0);
    EXPECT_EQ(out.v.value.int_value, 1);
}

TEST(VariantCast, DoublesKeepTheirValueAndAreNeverCutToIntegers) {
    Variant out;
    for (const char *text : {"1.5", "-0.001", "1e+300", "3", "NaN", "Infinity", "-Infinity"}) {
        ASSERT_EQ(CastText(text, VEK_VT_R8, out), 0) << text;
        EXPECT_EQ(TextOf(out.v), text);  // the shortest text reads back as the same number
    }
    ASSERT_EQ(CastText("+2.50E1", VEK_VT_R8, out), 0);
    EXPECT_EQ(out.v.value.double_value, 25.0);
    for (const char *bad : {"1.5x", " 1", "0x10", "", "nan"}) {
        const int32_t status = CastText(bad, VEK_VT_R8, out);
        if (*bad == '\0')
            EXPECT_EQ(status, 0);  // the empty text is 0
        else
            EXPECT_EQ(status, VEK_E_TYPEMISMATCH) << bad;
    }

    Variant number;
    VekVarFromDouble(&number.v, 1.5);
    EXPECT_EQ(VekVarCast(&out.v, &number.v, VEK_VT_INT32), VEK_E_TYPEMISMATCH);
    EXPECT_EQ(LastDescription(), "Cannot convert 1.5 to a 32-bit integer");
    VekVarFromDouble(&number.v, 3e9);
    EXPECT_EQ(VekVarCast(&out.v, &number.v, VEK_VT_INT32), VEK_E_OVERFLOW);
    ASSERT_EQ(VekVarCast(&out.v, &number.v, VEK_VT_INT), 0);
    EXPECT_EQ(out.v.value.int_value, 3000000000LL);
    VekVarFromDouble(&number.v, 46362.25);
    ASSERT_EQ(VekVarCast(&out.v, &number.v, VEK_VT_DATE), 0);
    EXPECT_EQ(TextOf(out.v), "2026-12-06 06:00:00");
    VekVarFromDouble(&number.v, 1e12);
    EXPECT_EQ(VekVarCast(&out.v, &number.v, VEK_VT_DATE), VEK_E_OVERFLOW);

    // Back from other kinds, and through VekVarToDouble.
    Variant integer;
    VekVarFromInt(&integer.v, -7);
    double value = 0;
    ASSERT_EQ(VekVarToDouble(&integer.v, &value), 0);
    EXPECT_EQ(value, -7.0);
    ASSERT_EQ(VekVarCast(&out.v, &out.v, VEK_VT_R8), 0);  // a date is its days
    EXPECT_EQ(out.v.value.double_value, 46362.25);
    EXPECT_EQ(VekVarToDouble(&integer.v, nullptr), VEK_E_POINTER);
}

TEST(VariantCast, BooleansReadWordsAndWholeNumbers) {
    struct Case {
        const char *text;
        bool value;
    };
    const Case cases[] = {{"True", true}, {"tRUE", true},  {"FALSE", false},
                          {"", false},    {"1", true},     {"0", false},
                          {"-7", true},   {"+000", false}, {"99999999999999999999999", true},
                          {"00001", true}};
    for (const Case &c : cases) {
        Variant out;
        ASSERT_EQ(CastText(c.text, VEK_VT_BOOL, out), 0) << c.text;
        EXPECT_EQ(out.v.value.bool_value != 0, c.value) << c.text;
        int32_t flag = 7;
        EXPECT_EQ(VekVarToBool(&out.v, &flag), 0);
        EXPECT_EQ(flag, c.value ? 1 : 0);
    }
    for (const char *text : {"yes", "1.0", " 1", "-", "Truth"}) {
        Variant out;
        EXPECT_EQ(CastText(text, VEK_VT_BOOL, out), VEK_E_TYPEMISMATCH) << text;
        EXPECT_EQ(LastDescription(), std::string("Cannot convert \"") + text + "\" to a Boolean");
    }
    Variant number;
    VekVarFromInt(&number.v, 1LL << 40);  // not cut to its low 32 bits
    int32_t flag = 0;
    EXPECT_EQ(VekVarToBool(&number.v, &flag), 0);
    EXPECT_EQ(flag, 1);
}

TEST(VariantCast, DatesReadIsoTextsOfRealCalendarDays) {
    struct Case {
        const char *text;
        const char *written;  // the text form it comes back as
    };
    const Case valid[] = {
        {"2024-02-29", "2024-02-29"},                    // leap year
        {"2000-02-29", "2000-02-29"},                    // divisible by 400
        {"2026-12-06T08:14:19", "2026-12-06 08:14:19"},  // 'T' before the time
        {"2026-12-06 00:00:00", "2026-12-06"},           // midnight has no time part
        {"0100-01-01", "0100-01-01"},
        {"9999-12-31 23:59:59", "9999-12-31 23:59:59"},
        {"1899-12-29 06:00:00", "1899-12-29 06:00:00"},
    };
    for (const Case &c : valid) {
        Variant out;
        ASSERT_EQ(CastText(c.text, VEK_VT_DATE, out), 0) << c.text << ": " << LastDescription();
        EXPECT_EQ(TextOf(out.v), c.written);
    }
    Variant midday;
    ASSERT_EQ(CastText("1900-01-01 12:00:00", VEK_VT_DATE, midday), 0);
    EXPECT_DOUBLE_EQ(midday.v.value.date_value, 2.5);

    for (const char *text :
         {"2023-02-29", "1900-02-29", "2026-02-30", "2026-04-31", "2026-13-01", "2026-00-10",
          "0099-12-31", "2026-1-05", "2026-01-05 24:00:00", "2026-01-05 12:60:00",
          "2026-01-05 12:00", "2026-01-05x", "2026-01-05  12:00:00", "05.01.2026"}) {
        Variant out;
        EXPECT_EQ(CastText(text, VEK_VT_DATE, out), VEK_E_TYPEMISMATCH) << text;
        EXPECT_EQ(LastDescription(), std::string("Cannot convert \"") + text + "\" to a date");
    }
    Variant empty_text;
    ASSERT_EQ(CastText("", VEK_VT_DATE, empty_text), 0);
    EXPECT_EQ(TextOf(empty_text.v), "1899-12-30");
}

TEST(VariantCast, FailureLeavesTheDestinationAndNamesValueAndType) {
    Variant destination;
    VekVarFromStrA(&destination.v, "keep me", -1);
    char *const kept = destination.v.value.text;
    EXPECT_EQ(CastText("abc", VEK_VT_INT32, destination), VEK_E_TYPEMISMATCH);
    EXPECT_EQ(LastDescription(), "Cannot convert \"abc\" to a 32-bit integer");
    EXPECT_EQ(destination.v.value.text, kept);
    EXPECT_EQ(TextOf(destination.v), "keep me");

    // A failing cast of a variant onto itself leaves it too; a successful one converts it.
    EXPECT_EQ(VekVarCast(&destination.v, &destination.v, VEK_VT_DATE), VEK_E_TYPEMISMATCH);
    EXPECT_EQ(TextOf(destination.v), "keep me");
    VekVarFromStrA(&destination.v, "-12", -1);
    ASSERT_EQ(VekVarCast(&destination.v, &destination.v, VEK_VT_INT32), 0);
    EXPECT_EQ(destination.v.value.int32_value, -12);

    // Long texts are cut in the description.
    const std::string long_text(300, 'x');
    Variant out;
    EXPECT_EQ(CastText(long_text.c_str(), VEK_VT_INT, out), VEK_E_TYPEMISMATCH);
    EXPECT_EQ(LastDescription(),
              "Cannot convert \"" + std::string(100, 'x') + "\"... to a 64-bit integer");

    Variant source;
    VekVarFromInt32(&source.v, 5);
    EXPECT_EQ(VekVarCast(&out.v, &source.v, 6), VEK_E_TYPEMISMATCH);  // no such type
    EXPECT_EQ(VekVarCast(&out.v, &source.v, VEK_VT_DISPATCH), VEK_E_TYPEMISMATCH);
    EXPECT_EQ(VekVarCast(nullptr, &source.v, VEK_VT_INT32), VEK_E_POINTER);
}

TEST(VariantCast, EmptyValuesAndCastsToNoValue) {
    Variant empty;
    Variant out;
    ASSERT_EQ(VekVarCast(&out.v, &empty.v, VEK_VT_TEXT), 0);
    EXPECT_EQ(out.v.value.text, nullptr);
    ASSERT_EQ(VekVarCast(&out.v, nullptr, VEK_VT_INT32), 0);  // null source: empty
    EXPECT_EQ(out.v.value.int32_value, 0);
    ASSERT_EQ(VekVarCast(&out.v, &empty.v, VEK_VT_BLOB), 0);
    EXPECT_EQ(VekVarIsBlob(&out.v), 1);
    EXPECT_EQ(out.v.value.blob, nullptr);

    Variant text;
    VekVarFromStrA(&text.v, "anything", -1);
    for (const uint32_t type : {VEK_VT_NULL, VEK_VT_EMPTY}) {
        ASSERT_EQ(VekVarCast(&out.v, &text.v, type), 0);
        EXPECT_EQ(VekVarType(&out.v), type);
    }
}

TEST(VariantBlob, BuffersAndBlobsCopyTheirBytes) {
    void *buffer = nullptr;
    EXPECT_EQ(VekBufCopy(&buffer, "ab\0c", 4), 4);
    EXPECT_EQ(BytesOf(buffer), std::string("ab\0c", 4));
    EXPECT_EQ(VekBufCopy(&buffer, static_cast<char *>(buffer) + 1, 2), 2);  // from itself
    EXPECT_EQ(BytesOf(buffer), std::string("b\0", 2));
    EXPECT_EQ(VekBufCopy(&buffer, nullptr, -1), VEK_E_INVALIDARG);
    EXPECT_EQ(VekBufCopy(&buffer, nullptr, 3), VEK_E_POINTER);
    EXPECT_EQ(BytesOf(buffer), std::string("b\0", 2));  // failures leave it
    EXPECT_EQ(VekBufCopy(&buffer, "x", 0), 0);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(VekBufCopy(nullptr, "x", 1), VEK_E_POINTER);

    Variant blob;
    EXPECT_EQ(VekVarFromBlob(&blob.v, nullptr, 0), 0);
    EXPECT_EQ(VekVarIsBlob(&blob.v), 1);
    EXPECT_EQ(VekVarFromBlob(&blob.v, "xyz", 3), 0);
    EXPECT_EQ(VekVarFromBlob(&blob.v, nullptr, 2), VEK_E_POINTER);
    EXPECT_EQ(BytesOf(blob.v.value.blob), "xyz");
    EXPECT_EQ(VekVarIsBlob(nullptr), 0);
}

// ---- Objects ----------------------------------------------------------------

// Counts its references; answers for IDispatch only when told to.
class FakeObject : public IUnknown {
  public:
    explicit FakeObject(bool dispatch) : dispatch_(dispatch) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override {
        const bool known = platform::SameGuid(iid, platform::kIID_IUnknown) ||
                           (dispatch_ && platform::SameGuid(iid, platform::kIID_IDispatch));
        *object = known ? this : nullptr;
        if (!known)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    ULONG references = 1;  // the test's own

  private:
    bool dispatch_;
};

void HoldObject(Variant &variant, FakeObject &object, uint32_t type) {
    object.AddRef();
    variant.v.type = type;
    variant.v.value.object = static_cast<IUnknown *>(&object);
}

TEST(VariantObject, CopiesCountReferencesAndClearReleasesThem) {
    FakeObject object(true);
    {
        Variant held;
        HoldObject(held, object, VEK_VT_UNKNOWN);
        EXPECT_EQ(VekVarIsUnknown(&held.v), 1);
        Variant copy;
        ASSERT_EQ(VekVarCopy(&copy.v, &held.v), 0);
        EXPECT_EQ(object.references, 3u);
        Variant dispatch;
        ASSERT_EQ(VekVarCast(&dispatch.v, &held.v, VEK_VT_DISPATCH), 0);  // asks for IDispatch
        EXPECT_EQ(VekVarType(&dispatch.v), static_cast<uint32_t>(VEK_VT_DISPATCH));
        EXPECT_EQ(object.references, 4u);
        ASSERT_EQ(VekVarCast(&copy.v, &copy.v, VEK_VT_UNKNOWN), 0);  // onto itself
        EXPECT_EQ(object.references, 4u);

        Variant text;
        VekVarFromStrA(&text.v, "kept", -1);
        EXPECT_EQ(VekVarCast(&text.v, &held.v, VEK_VT_TEXT), VEK_E_TYPEMISMATCH);
        EXPECT_EQ(LastDescription(), "Cannot convert an object to a text");
        EXPECT_EQ(VekVarCast(&text.v, &held.v, VEK_VT_INT32), VEK_E_TYPEMISMATCH);
        EXPECT_EQ(TextOf(text.v), "kept");
        EXPECT_EQ(object.references, 4u);

        ASSERT_EQ(VekVarCast(&copy.v, &held.v, VEK_VT_NULL), 0);  // drops copy's reference
        EXPECT_EQ(object.references, 3u);
    }
    EXPECT_EQ(object.references, 1u);

    FakeObject plain(false);
    {
        Variant held;
        HoldObject(held, plain, VEK_VT_UNKNOWN);
        Variant out;
        EXPECT_EQ(VekVarCast(&out.v, &held.v, VEK_VT_DISPATCH), VEK_E_TYPEMISMATCH);
        EXPECT_EQ(plain.references, 2u);
    }
    EXPECT_EQ(plain.references, 1u);
    Variant nothing;
    nothing.v.type = VEK_VT_DISPATCH;  // a null object reference holds no object
    EXPECT_EQ(VekVarIsUnknown(&nothing.v), 0);
}

// ---- Automation VARIANTs -------------------------------------------------------

// A VARIANT cleared at the end of a test.
struct Automation {
    VARIANT v;
    Automation() { VariantInit(&v); }
    Automation(const Automation &) = delete;
    Automation &operator=(const Automation &) = delete;
    ~Automation() { VariantClear(&v); }
};

TEST(VariantAutomation, EveryTypeRoundTripsThroughAVariant) {
    std::vector<Variant> values(9);
    values[0].v.type = VEK_VT_NULL;
    VekVarFromInt32(&values[1].v, -7);
    VekVarFromInt(&values[2].v, INT64_MAX);
    VekVarFromBool(&values[3].v, 1);
    VekVarFromDate(&values[4].v, 46362.5);
    VekVarFromBlob(&values[5].v, "#\0A", 3);
    VekVarFromBlob(&values[6].v, nullptr, 0);
    VekVarCast(&values[7].v, &values[7].v, VEK_VT_WTEXT);  // empty wide text
    VekVarFromStrA(&values[8].v, "wide", -1);
    VekVarCast(&values[8].v, &values[8].v, VEK_VT_WTEXT);
    const VARTYPE kinds[] = {VT_NULL,           VT_I4,   VT_I8,
                             VT_BOOL,           VT_DATE, VT_ARRAY | VT_UI1,
                             VT_ARRAY | VT_UI1, VT_BSTR, VT_BSTR};
    for (size_t i = 0; i < values.size(); ++i) {
        Automation automation;
        ASSERT_EQ(VekVarToVARIANT(&values[i].v, &automation.v), 0) << i;
        EXPECT_EQ(automation.v.vt, kinds[i]) << i;
        Variant back;
        ASSERT_EQ(VekVarFromVARIANT(&back.v, &automation.v), 0) << i << LastDescription();
        SCOPED_TRACE(i);
        ExpectSameValue(back.v, values[i].v);
    }
}

TEST(VariantAutomation, EightBitTextIsLatin1AndBlobIsAZeroBasedByteVector) {
    Variant text;
    VekVarFromStrA(&text.v, "\xE9t\xE9", -1);
    Automation automation;
    ASSERT_EQ(VekVarToVARIANT(&text.v, &automation.v), 0);
    ASSERT_EQ(SysStringLen(automation.v.bstrVal), 3u);
    EXPECT_EQ(static_cast<uint32_t>(automation.v.bstrVal[0]), 0xE9u);

    Variant blob;
    VekVarFromBlob(&blob.v, "\x01\x02", 2);
    ASSERT_EQ(VekVarToVARIANT(&blob.v, &automation.v), 0);  // replaces the BSTR
    SAFEARRAY *array = automation.v.parray;
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(SafeArrayGetDim(array), 1u);
    LONG lower = -1, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 1);
    void *data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(array, &data), S_OK);
    EXPECT_EQ(std::memcmp(data, "\x01\x02", 2), 0);
    SafeArrayUnaccessData(array);

    Automation copy;
    ASSERT_EQ(VariantCopy(&copy.v, &automation.v), S_OK);  // a deep copy of the array
    EXPECT_NE(copy.v.parray, array);
}

TEST(VariantAutomation, FloatsBecomeDoublesAndOtherNumbersIntegersOrDecimalText) {
    Automation in;
    Variant out;
    in.v.vt = VT_R8;
    in.v.dblVal = 1.5;
    ASSERT_EQ(VekVarFromVARIANT(&out.v, &in.v), 0);
    EXPECT_EQ(VekVarType(&out.v), static_cast<uint32_t>(VEK_VT_R8));
    EXPECT_EQ(out.v.value.double_value, 1.5);
    EXPECT_EQ(TextOf(out.v), "1.5");
    Automation back;
    ASSERT_EQ(VekVarToVARIANT(&out.v, &back.v), 0);  // comes back as it went in
    EXPECT_EQ(back.v.vt, VT_R8);
    EXPECT_EQ(back.v.dblVal, 1.5);
    in.v.vt = VT_R4;
    in.v.fltVal = 0.1f;
    ASSERT_EQ(VekVarFromVARIANT(&out.v, &in.v), 0);
    EXPECT_EQ(out.v.value.double_value, 0.1);
    in.v.vt = VT_CY;
    in.v.llVal = -123400;  // -12.34
    ASSERT_EQ(VekVarFromVARIANT(&out.v, &in.v), 0);
    EXPECT_EQ(TextOf(out.v), "-12.34");
    in.v.llVal = 50000;
    ASSERT_EQ(VekVarFromVARIANT(&out.v, &in.v), 0);
    EXPECT_EQ(out.v.value.int32_value, 5);

    DECIMAL decimal{};
    decimal.scale = 3;
    decimal.sign = 0x80;
    decimal.Lo64 = 1250;  // -1.250
    in.v.decVal = decimal;
    in.v.vt = VT_DECIMAL;
    ASSERT_EQ(VekVarFromVARIANT(&out.v, &in.v), 0);
    EXPECT_EQ(TextOf(out.v), "-1.25");
    decimal = DECIMAL{};
    decimal.Hi32 = 1;  // 2^64: whole, past 64 bits, so text
    in.v.decVal = decimal;
    in.v.vt = VT_DECIMAL;
    ASSERT_EQ(VekVarFromVARIANT(&out.v, &in.v), 0);
    EXPECT_EQ(TextOf(out.v), "18446744073709551616");

    in.v.vt = VT_UI8;
    in.v.ullVal = 1ULL << 63;
    EXPECT_EQ(VekVarFromVARIANT(&out.v, &in.v), VEK_E_OVERFLOW);
    EXPECT_EQ(TextOf(out.v), "18446744073709551616");  // left as it was
    in.v.vt = VT_UI2;
    in.v.iVal = -1;
    ASSERT_EQ(VekVarFromVARIANT(&out.v, &in.v), 0);
    EXPECT_EQ(out.v.value.int32_value, 65535);
    in.v.vt = VT_R8;
    in.v.dblVal = std::nan("");
    ASSERT_EQ(VekVarFromVARIANT(&out.v, &in.v), 0);
    EXPECT_EQ(TextOf(out.v), "NaN");
}

TEST(VariantAutomation, ReferencesAreReadThroughAndOddKindsRefused) {
    Variant out;
    LONG number = 41;
    Automation in;
    in.v.vt = VT_BYREF | VT_I4;
    in.v.byref = &number;
    ASSERT_EQ(VekVarFromVARIANT(&out.v, &in.v), 0);
    EXPECT_EQ(out.v.value.int32_value, 41);

    Automation text;
    text.v.vt = VT_BSTR;
    text.v.bstrVal = platform::BstrFromText("by ref");
    Automation inner;
    inner.v.vt = VT_BYREF | VT_BSTR;
    inner.v.byref = &text.v.bstrVal;
    in.v.vt = VT_BYREF | VT_VARIANT;  // a reference to a reference
    in.v.byref = &inner.v;
    ASSERT_EQ(VekVarFromVARIANT(&out.v, &in.v), 0);
    EXPECT_EQ(VekVarType(&out.v), static_cast<uint32_t>(VEK_VT_WTEXT));
    EXPECT_EQ(TextOf(out.v), "by ref");

    SAFEARRAY *array = SafeArrayCreateVector(VT_UI1, 0, 1);
    ASSERT_NE(array, nullptr);
    in.v.vt = VT_BYREF | VT_ARRAY | VT_UI1;
    in.v.byref = &array;
    ASSERT_EQ(VekVarFromVARIANT(&out.v, &in.v), 0);
    EXPECT_EQ(BytesOf(out.v.value.blob), std::string(1, '\0'));
    SafeArrayDestroy(array);

    in.v.vt = VT_BYREF | VT_I4;
    in.v.byref = nullptr;
    EXPECT_EQ(VekVarFromVARIANT(&out.v, &in.v), VEK_E_POINTER);
    in.v.vt = VT_ERROR;
    EXPECT_EQ(VekVarFromVARIANT(&out.v, &in.v), VEK_E_TYPEMISMATCH);
    in.v.vt = VT_DATE;
    in.v.date = 1e12;
    EXPECT_EQ(VekVarFromVARIANT(&out.v, &in.v), VEK_E_OVERFLOW);
    EXPECT_EQ(VekVarFromVARIANT(&out.v, nullptr), VEK_E_POINTER);
    EXPECT_EQ(VekVarToVARIANT(&out.v, nullptr), VEK_E_POINTER);
    EXPECT_EQ(BytesOf(out.v.value.blob), std::string(1, '\0'));  // every failure left it
    in.v.vt = VT_EMPTY;
}

TEST(VariantAutomation, ObjectsPassWithANewReference) {
    FakeObject object(true);
    {
        Variant held;
        HoldObject(held, object, VEK_VT_DISPATCH);
        Automation automation;
        ASSERT_EQ(VekVarToVARIANT(&held.v, &automation.v), 0);
        EXPECT_EQ(automation.v.vt, VT_DISPATCH);
        EXPECT_EQ(object.references, 3u);
        Variant back;
        ASSERT_EQ(VekVarFromVARIANT(&back.v, &automation.v), 0);
        EXPECT_EQ(VekVarType(&back.v), static_cast<uint32_t>(VEK_VT_DISPATCH));
        EXPECT_EQ(object.references, 4u);
        Automation copy;
        ASSERT_EQ(VariantCopy(&copy.v, &automation.v), S_OK);
        EXPECT_EQ(object.references, 5u);
    }
    EXPECT_EQ(object.references, 1u);
}

}  // namespace
