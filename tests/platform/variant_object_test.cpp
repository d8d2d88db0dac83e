// Conversions that read through references and objects, in-place conversion, and
// VariantCopyInd.
#include "variant_test_support.h"

namespace {

using namespace variant_test;

constexpr LCID kEnglish = 0x0409;

HRESULT Change(Var &destination, const VARIANT &source, VARTYPE vt, USHORT flags = 0) {
    return VariantChangeTypeEx(&destination.v, In(source), kEnglish, flags, vt);
}

VARIANT RefTo(VARTYPE vt, void *target) {
    VARIANT out;
    VariantInit(&out);
    out.vt = static_cast<VARTYPE>(VT_BYREF | vt);
    out.byref = target;
    return out;
}

// A by-reference VARIANT to pass where a pointer is wanted.
struct Ref {
    Ref(VARTYPE vt, void *target) : v(RefTo(vt, target)) {}
    operator VARIANT *() { return &v; }  // NOLINT: passed straight to the function under test
    VARIANT v;
};

TEST(VariantChangeTypeByReference, ReadsThroughEveryReferenceKind) {
    LONG number = 40000;
    Var destination;
    EXPECT_EQ(Change(destination, RefTo(VT_I4, &number), VT_I2), DISP_E_OVERFLOW);
    EXPECT_EQ(Change(destination, RefTo(VT_I4, &number), VT_R8), S_OK);
    ExpectSameValue(destination.v, R8(40000.0).v);

    Var text = Str("  17 ");
    EXPECT_EQ(Change(destination, RefTo(VT_BSTR, &text.v.bstrVal), VT_UI1), S_OK);
    ExpectSameValue(destination.v, UI1(17).v);

    Var inner = Cy(25000);
    EXPECT_EQ(Change(destination, RefTo(VT_VARIANT, &inner.v), VT_I4), S_OK);
    ExpectSameValue(destination.v, I4(2).v);

    // A reference to a text keeps its own text: the result is a copy.
    EXPECT_EQ(Change(destination, RefTo(VT_BSTR, &text.v.bstrVal), VT_BSTR), S_OK);
    ExpectSameValue(destination.v, Str("  17 ").v);
    EXPECT_NE(destination.v.bstrVal, text.v.bstrVal);
}

TEST(VariantChangeTypeByReference, NullReferenceIsRefused) {
    Var destination = I4(9);
    EXPECT_EQ(Change(destination, RefTo(VT_I4, nullptr), VT_I4), DISP_E_TYPEMISMATCH);
    ExpectSameValue(destination.v, I4(9).v);
}

TEST(VariantChangeTypeInPlace, ConvertsAndReleasesTheOldValue) {
    Var value = Str("12");
    EXPECT_EQ(VariantChangeTypeEx(&value.v, &value.v, kEnglish, 0, VT_I4), S_OK);
    ExpectSameValue(value.v, I4(12).v);
    EXPECT_EQ(VariantChangeTypeEx(&value.v, &value.v, kEnglish, 0, VT_BSTR), S_OK);
    ExpectSameValue(value.v, Str("12").v);
    EXPECT_EQ(VariantChangeTypeEx(&value.v, &value.v, kEnglish, 0, VT_BSTR), S_OK);
    ExpectSameValue(value.v, Str("12").v);
}

TEST(VariantChangeTypeInPlace, FailureLeavesTheValue) {
    Var value = Str("abc");
    EXPECT_EQ(VariantChangeTypeEx(&value.v, &value.v, kEnglish, 0, VT_I4), DISP_E_TYPEMISMATCH);
    ExpectSameValue(value.v, Str("abc").v);
    Var big = R8(1e10);
    EXPECT_EQ(VariantChangeTypeEx(&big.v, &big.v, kEnglish, 0, VT_I4), DISP_E_OVERFLOW);
    ExpectSameValue(big.v, R8(1e10).v);
}

TEST(VariantChangeTypeObjects, ReadTheDefaultValue) {
    ValueObject object(Str("12.5"));
    {
        Var source = ObjectVar(&object);
        Var destination;
        EXPECT_EQ(Change(destination, source.v, VT_I4), S_OK);
        ExpectSameValue(destination.v, I4(12).v);
        EXPECT_EQ(Change(destination, source.v, VT_BSTR), S_OK);
        ExpectSameValue(destination.v, Str("12.5").v);
        EXPECT_EQ(Change(destination, source.v, VT_BOOL), S_OK);
        ExpectSameValue(destination.v, Bool(true).v);
        EXPECT_EQ(object.invocations(), 3);
    }
    EXPECT_EQ(object.references(), 1u);
}

TEST(VariantChangeTypeObjects, ValueOfAnObjectThatHoldsAnObject) {
    ValueObject inner(I4(7));
    ValueObject outer(ObjectVar(&inner));
    {
        Var source = ObjectVar(&outer);
        Var destination;
        EXPECT_EQ(Change(destination, source.v, VT_R8), S_OK);
        ExpectSameValue(destination.v, R8(7.0).v);
    }
    EXPECT_EQ(inner.references(), 2u);  // the one `outer` keeps as its value
    EXPECT_EQ(outer.references(), 1u);
}

TEST(VariantChangeTypeObjects, FailuresOfTheDefaultValue) {
    ValueObject failing(I4(1), DISP_E_MEMBERNOTFOUND);
    ValueObject text(Str("abc"));
    Var destination = I4(3);
    EXPECT_EQ(Change(destination, ObjectVar(&failing).v, VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Change(destination, ObjectVar(&text).v, VT_I4), DISP_E_TYPEMISMATCH);
    ExpectSameValue(destination.v, I4(3).v);
    EXPECT_EQ(failing.references(), 1u);
    EXPECT_EQ(text.references(), 1u);
}

TEST(VariantChangeTypeObjects, NullAndUnknownObjectsHaveNoValue) {
    ValueObject object(I4(5));
    Var destination = I4(3);
    EXPECT_EQ(Change(destination, ObjectVar(nullptr).v, VT_I4), DISP_E_BADVARTYPE);
    EXPECT_EQ(Change(destination, UnknownVar(&object).v, VT_I4), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Change(destination, UnknownVar(&object).v, VT_BSTR), DISP_E_TYPEMISMATCH);
    ExpectSameValue(destination.v, I4(3).v);
    EXPECT_EQ(Change(destination, ObjectVar(nullptr).v, VT_UNKNOWN), S_OK);
    ExpectSameValue(destination.v, UnknownVar(nullptr).v);
    EXPECT_EQ(Change(destination, UnknownVar(nullptr).v, VT_DISPATCH), S_OK);
    ExpectSameValue(destination.v, ObjectVar(nullptr).v);
    EXPECT_EQ(object.invocations(), 0);
    EXPECT_EQ(object.references(), 1u);
}

TEST(VariantChangeTypeObjects, NoValuePropertyWhenAsked) {
    if (RunningUnderWine())
        GTEST_SKIP() << "Wine reads the default value even with VARIANT_NOVALUEPROP";
    ValueObject object(I4(5));
    Var destination;
    EXPECT_EQ(Change(destination, ObjectVar(&object).v, VT_I4, VARIANT_NOVALUEPROP),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(object.invocations(), 0);
}

TEST(VariantChangeTypeObjects, BetweenInterfaces) {
    ValueObject object(I4(5));
    ValueObject plain(I4(5), S_OK, false);
    {
        Var destination;
        EXPECT_EQ(Change(destination, ObjectVar(&object).v, VT_UNKNOWN), S_OK);
        ExpectSameValue(destination.v, UnknownVar(&object).v);
        EXPECT_EQ(Change(destination, UnknownVar(&object).v, VT_DISPATCH), S_OK);
        ExpectSameValue(destination.v, ObjectVar(&object).v);
        EXPECT_EQ(Change(destination, ObjectVar(&object).v, VT_DISPATCH), S_OK);
        ExpectSameValue(destination.v, ObjectVar(&object).v);
        EXPECT_EQ(Change(destination, UnknownVar(&plain).v, VT_DISPATCH), E_NOINTERFACE);
        // An object may always be dropped: nothing is read.
        EXPECT_EQ(Change(destination, ObjectVar(&object).v, VT_EMPTY), S_OK);
        EXPECT_EQ(destination.v.vt, VT_EMPTY);
        EXPECT_EQ(Change(destination, I4(1).v, VT_DISPATCH), DISP_E_TYPEMISMATCH);
        EXPECT_EQ(Change(destination, Str("x").v, VT_UNKNOWN), DISP_E_TYPEMISMATCH);
    }
    EXPECT_EQ(object.invocations(), 0);
    EXPECT_EQ(object.references(), 1u);
    EXPECT_EQ(plain.references(), 1u);
}

TEST(VariantCopyInd, CopiesWhatReferencesPointTo) {
    SHORT small = -7;
    Var destination = Str("old");
    EXPECT_EQ(VariantCopyInd(&destination.v, Ref(VT_I2, &small)), S_OK);
    ExpectSameValue(destination.v, I2(-7).v);

    Var text = Str("abc");
    EXPECT_EQ(VariantCopyInd(&destination.v, Ref(VT_BSTR, &text.v.bstrVal)), S_OK);
    ExpectSameValue(destination.v, Str("abc").v);
    EXPECT_NE(destination.v.bstrVal, text.v.bstrVal);

    Var inner = R8(2.5);
    EXPECT_EQ(VariantCopyInd(&destination.v, Ref(VT_VARIANT, &inner.v)), S_OK);
    ExpectSameValue(destination.v, R8(2.5).v);

    // A VARIANT that refers to a reference is read through both.
    VARIANT to_small = RefTo(VT_I2, &small);
    EXPECT_EQ(VariantCopyInd(&destination.v, Ref(VT_VARIANT, &to_small)), S_OK);
    ExpectSameValue(destination.v, I2(-7).v);

    ValueObject object(I4(1));
    {
        IDispatch *pointer = &object;
        Var copy;
        EXPECT_EQ(VariantCopyInd(&copy.v, Ref(VT_DISPATCH, &pointer)), S_OK);
        ExpectSameValue(copy.v, ObjectVar(&object).v);
        EXPECT_EQ(object.references(), 2u);
    }
    EXPECT_EQ(object.references(), 1u);

    // In place: the reference is replaced by the value.
    LONG number = 41;
    VARIANT in_place = RefTo(VT_I4, &number);
    EXPECT_EQ(VariantCopyInd(&in_place, &in_place), S_OK);
    EXPECT_EQ(in_place.vt, VT_I4);
    EXPECT_EQ(in_place.lVal, 41);

    // Without a reference it is a plain copy.
    Var plain = Str("plain");
    EXPECT_EQ(VariantCopyInd(&destination.v, &plain.v), S_OK);
    ExpectSameValue(destination.v, Str("plain").v);
}

TEST(VariantCopyInd, OneVariantReferenceOnly) {
    Var inner = I4(1);
    VARIANT first = RefTo(VT_VARIANT, &inner.v);
    VARIANT second = RefTo(VT_VARIANT, &first);
    Var destination;
    EXPECT_EQ(VariantCopyInd(&destination.v, &second), E_INVALIDARG);
}

// Off Windows only: Windows reads such an object until its stack runs out, and
// does not guard against null arguments or null references.
#if !PLATFORM_WINDOWS
TEST(VariantChangeTypeObjects, AnObjectThatIsItsOwnValueEnds) {
    ValueObject object(I4(0));
    object.SetValue(ObjectVar(&object));
    {
        Var destination;
        EXPECT_EQ(Change(destination, ObjectVar(&object).v, VT_I4), DISP_E_TYPEMISMATCH);
        EXPECT_EQ(object.invocations(), 16);
    }
    EXPECT_EQ(object.references(), 2u);  // itself, as its own value
    object.SetValue(I4(0));
}

TEST(VariantCopyInd, RefusesNullArgumentsAndKeepsTheDestination) {
    Var value = I4(1);
    EXPECT_EQ(VariantChangeType(nullptr, &value.v, 0, VT_I4), E_INVALIDARG);
    EXPECT_EQ(VariantChangeType(&value.v, nullptr, 0, VT_I4), E_INVALIDARG);
    EXPECT_EQ(VariantCopyInd(nullptr, &value.v), E_INVALIDARG);
    EXPECT_EQ(VariantCopyInd(&value.v, Ref(VT_I4, nullptr)), E_INVALIDARG);
    ExpectSameValue(value.v, I4(1).v);
    Var inner = I4(2);
    VARIANT first = RefTo(VT_VARIANT, &inner.v);
    VARIANT second = RefTo(VT_VARIANT, &first);
    EXPECT_EQ(VariantCopyInd(&value.v, &second), E_INVALIDARG);
    ExpectSameValue(value.v, I4(1).v);
}
#endif

}  // namespace
