// How daxhost calls an export: the signature table, the binding of arguments to
// machine words, and the call through a pointer of the right arity.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "calls/argument_binding.h"
#include "calls/call_outcome.h"
#include "calls/native_call.h"
#include "calls/signature.h"
#include "platform/api.h"

namespace daxhost {
namespace {

TEST(SignatureTable, EveryEntryIsCallable) {
    std::set<std::string_view> names;
    for (const Signature &signature : AllSignatures()) {
        EXPECT_TRUE(names.insert(signature.name).second) << "twice: " << signature.name;
        EXPECT_LE(signature.Arity(), kMaxArguments) << signature.name;
        for (const char letter : signature.arguments)
            EXPECT_TRUE(IsArgumentLetter(letter)) << signature.name << ": " << letter;
    }
    ASSERT_NE(FindSignature("FormatOutputA"), nullptr);
    EXPECT_EQ(FindSignature("FormatOutputA")->ArgumentAt(2), ArgumentKind::kOutText);
    EXPECT_EQ(FindSignature("formatoutputa"), nullptr);
}

Argument Integer(int32_t value) {
    return {ArgumentForm::kInteger, {}, value};
}
Argument Text(std::string text) {
    return {ArgumentForm::kText, std::move(text), 0};
}
Argument Form(ArgumentForm form, std::string text = {}) {
    return {form, std::move(text), 0};
}

const Signature kSample{"Sample", nullptr, Library::kDax, ResultKind::kStatus, "tiop"};

std::string BindError(const std::vector<Argument> &arguments, const Variables &variables = {}) {
    Binding binding;
    std::string error;
    EXPECT_FALSE(BindArguments(kSample, arguments, variables, binding, &error));
    return error;
}

TEST(ArgumentBinding, WordsFollowTheArguments) {
    const std::vector<Argument> arguments = {Text("abc"), Integer(-2), Form(ArgumentForm::kOut),
                                             Form(ArgumentForm::kNull)};
    Binding binding;
    std::string error;
    ASSERT_TRUE(BindArguments(kSample, arguments, {}, binding, &error)) << error;
    ASSERT_EQ(binding.words.size(), 4u);
    EXPECT_STREQ(reinterpret_cast<const char *>(binding.words[0]), "abc");
    EXPECT_EQ(WordAsInt32(binding.words[1]), -2);
    EXPECT_EQ(binding.words[2], reinterpret_cast<Word>(&binding.outputs[2]));
    EXPECT_EQ(binding.words[3], 0u);
    EXPECT_EQ(binding.output_positions, std::vector<size_t>{2});
}

TEST(ArgumentBinding, VariablesMustHoldTheKindAsked) {
    Variables variables;
    variables["n"] = Value{ValueKind::kInt32, 5, std::nullopt, nullptr};
    variables["t"] = Value{ValueKind::kText, 0, "kept", nullptr};
    variables["nothing"] = Value{ValueKind::kText, 0, std::nullopt, nullptr};
    const std::vector<Argument> arguments = {Form(ArgumentForm::kVariable, "t"),
                                             Form(ArgumentForm::kVariable, "n"),
                                             Form(ArgumentForm::kOut), Form(ArgumentForm::kNull)};
    Binding binding;
    std::string error;
    ASSERT_TRUE(BindArguments(kSample, arguments, variables, binding, &error)) << error;
    EXPECT_STREQ(reinterpret_cast<const char *>(binding.words[0]), "kept");
    EXPECT_EQ(binding.words[1], 5u);

    EXPECT_EQ(BindError({Form(ArgumentForm::kVariable, "n"), Integer(1), Form(ArgumentForm::kOut),
                         Form(ArgumentForm::kNull)},
                        variables),
              "argument 1: $n holds an int32, not a text");
    EXPECT_EQ(BindError({Form(ArgumentForm::kVariable, "x"), Integer(1), Form(ArgumentForm::kOut),
                         Form(ArgumentForm::kNull)}),
              "argument 1: $x is not set");
}

TEST(ArgumentBinding, LiteralsMustFitTheirKind) {
    const Argument out = Form(ArgumentForm::kOut);
    const Argument null = Form(ArgumentForm::kNull);
    EXPECT_EQ(BindError({Integer(1), Integer(1), out, null}), "argument 1: expected a text");
    EXPECT_EQ(BindError({null, null, out, null}), "argument 2: expected an int32");
    EXPECT_EQ(BindError({null, Integer(1), Text("x"), null}), "argument 3: expected out (or null)");
    EXPECT_EQ(BindError({null, Integer(1), out, out}), "argument 4: expected a pointer");
    EXPECT_EQ(BindError({null}), "Sample takes 4 arguments, not 1");
}

int32_t PLATFORM_STDCALL NoError() {
    return 0;
}

TEST(ArgumentBinding, VariantsAreBuiltPassedAndShown) {
    const Signature sample{"SampleV", nullptr, Library::kDax, ResultKind::kStatus, "vvv"};
    const std::vector<Argument> arguments = {Text("i4:12"), Form(ArgumentForm::kOut),
                                             Form(ArgumentForm::kNull)};
    Binding binding;
    std::string error;
    ASSERT_TRUE(BindArguments(sample, arguments, {}, binding, &error)) << error;
    EXPECT_EQ(binding.words[0], reinterpret_cast<Word>(binding.variants[0].Get()));
    EXPECT_EQ(binding.words[1], reinterpret_cast<Word>(binding.variants[1].Get()));
    EXPECT_EQ(binding.words[2], 0u);  // null: no VARIANT, and nothing to show
    EXPECT_EQ(binding.variant_positions, (std::vector<size_t>{0, 1}));

    // What the call leaves in the VARIANTs is shown after the result.
    VARIANT *filled = binding.variants[1].Get();
    filled->vt = VT_BSTR;
    filled->bstrVal = platform::BstrFromText("x");
    HostFunctions host;
    host.last_error = &NoError;
    const CallOutcome outcome = CollectOutcome(sample, 0, binding, host);
    EXPECT_EQ(FormatSuccess(sample, outcome), R"(= 0, v = i4:12, v = bstr:"x")");

    Binding refused;
    EXPECT_FALSE(BindArguments(sample, {Integer(1), Form(ArgumentForm::kOut), Text("empty")}, {},
                               refused, &error));
    EXPECT_EQ(error, "argument 1: expected a VARIANT description (or out or null)");
    EXPECT_FALSE(BindArguments(sample, {Text("i4:x"), Form(ArgumentForm::kOut), Text("empty")}, {},
                               refused, &error));
    EXPECT_EQ(error.rfind("argument 1: bad VARIANT description \"i4:x\"", 0), 0u) << error;
}

// Stand-ins for exports: each folds its arguments so that order and width show.
int32_t PLATFORM_STDCALL Zero() {
    return -7;
}
int32_t PLATFORM_STDCALL Two(int32_t a, const char *b) {
    return a * 10 + (b[0] - '0');
}
int32_t PLATFORM_STDCALL Eight(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f,
                               int32_t g, int32_t h) {
    return ((((((a * 10 + b) * 10 + c) * 10 + d) * 10 + e) * 10 + f) * 10 + g) * 10 + h;
}
void *PLATFORM_STDCALL Echo(void *p) {
    return p;
}

template <auto function>
Word CallTyped(std::span<const Word> words) {
    return TypedCaller<decltype(function)>::Call(reinterpret_cast<void *>(function), words);
}

TEST(NativeCall, ArgumentsArriveInOrderAndResultsTruncate) {
    EXPECT_EQ(WordAsInt32(CallTyped<&Zero>({})), -7);
    const char *digit = "4";
    const std::vector<Word> two = {IntegerWord(-3), reinterpret_cast<Word>(digit)};
    EXPECT_EQ(WordAsInt32(CallTyped<&Two>(two)), -26);
    std::vector<Word> eight;
    for (int32_t i = 1; i <= 8; ++i)
        eight.push_back(IntegerWord(i));
    EXPECT_EQ(WordAsInt32(CallTyped<&Eight>(eight)), 12345678);
    int local = 0;
    const std::vector<Word> pointer = {reinterpret_cast<Word>(&local)};
    EXPECT_EQ(CallTyped<&Echo>(pointer), pointer[0]);
    // A call with a number of words other than the export's arity is not made.
    EXPECT_EQ(CallTyped<&Two>(eight), 0u);
}

// Narrow and unsigned parameters get the low bits of the int32 they were given, and a
// function without a result reports 0.
uint32_t g_narrow_seen = 0;
void PLATFORM_STDCALL Narrow(uint8_t byte, uint32_t word) {
    g_narrow_seen = byte * 0x10000u + (word & 0xFFFFu);
}

TEST(NativeCall, ParametersTakeTheirDeclaredWidth) {
    const std::vector<Word> words = {IntegerWord(0x1FF), IntegerWord(-1)};
    EXPECT_EQ(CallTyped<&Narrow>(words), 0u);
    EXPECT_EQ(g_narrow_seen, 0xFFFFFFu);
}

// The letters of an entry must describe the declared type of its export.
static_assert(SignatureCheck<decltype(&Two)>::Fits(ResultKind::kStatus, "it"));
static_assert(!SignatureCheck<decltype(&Two)>::Fits(ResultKind::kStatus, "ip"));
static_assert(!SignatureCheck<decltype(&Two)>::Fits(ResultKind::kText, "it"));
static_assert(!SignatureCheck<decltype(&Two)>::Fits(ResultKind::kStatus, "i"));
static_assert(SignatureCheck<decltype(&Echo)>::Fits(ResultKind::kPointer, "p"));
static_assert(SignatureCheck<decltype(&Narrow)>::Fits(ResultKind::kVoid, "ii"));

}  // namespace
}  // namespace daxhost
