// What the host knows of an export: where it lives, what it returns and the kinds
// of its arguments. The table itself is in signature_table.cpp.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <type_traits>

#include "calls/native_call.h"

namespace daxhost {

enum class Library { kVek, kMorph, kDax };
inline constexpr size_t kLibraryCount = 3;

// The base name of a library's file ("vek64"), as platform::SharedLibraryFileName takes it.
std::string_view LibraryBaseName(Library library);

enum class ResultKind {
    kStatus,   // int32: negative means failure (the convention of every export)
    kNumber,   // int32 value of any sign: failure only when the call set the thread's error
    kCode,     // int32 error code, written in hexadecimal
    kText,     // counted text the host frees; null is a failure when the thread's error is set
    kPointer,  // handle kept in a variable; null is a failure when the thread's error is set
    kVoid,     // nothing: failure only when the call set the thread's error
};

enum class ArgumentKind { kText, kInt32, kPointer, kOutText, kVariant, kOutObjects };

// The letters of Signature::arguments, one per argument.
inline constexpr char kTextLetter = 't';     // const char *
inline constexpr char kInt32Letter = 'i';    // int32_t or uint32_t
inline constexpr char kPointerLetter = 'p';  // void * handle (or null)
inline constexpr char kOutTextLetter = 'o';  // char ** (or void **) the call fills in
inline constexpr char kVariantLetter = 'v';  // VARIANT * (variant_argument.h)
inline constexpr char kObjectsLetter = 'a';  // SAFEARRAY ** of objects (object_array.h)

inline constexpr size_t kMaxArguments = 8;

enum class ErrorUse {
    kReports,   // the host clears the thread's error before the call and checks it after
    kInspects,  // the function reads or sets the thread's error: the host leaves it alone
};

struct Signature {
    std::string_view name;
    ExportCaller call;  // calls the export through a pointer of its exact type
    Library library;
    ResultKind result;
    std::string_view arguments;  // one letter per argument, in order
    ErrorUse error_use = ErrorUse::kReports;

    size_t Arity() const { return arguments.size(); }
    ArgumentKind ArgumentAt(size_t index) const;
};

// Whether a parameter type is one that an argument letter stands for: integers of
// any width for 'i', exactly `const char *` for 't', a pointer to a pointer for 'o',
// any other data pointer for 'p' and 'v', exactly `void **` for 'a'.
template <typename Parameter>
constexpr bool ParameterFits(char letter) {
    using Pointee = std::remove_pointer_t<Parameter>;
    switch (letter) {
        case kInt32Letter:
            return std::is_integral_v<Parameter>;
        case kTextLetter:
            // Bytes passed as a text: an 8-bit text or a block of constant data.
            return std::is_same_v<Parameter, const char *> ||
                   std::is_same_v<Parameter, const void *>;
        case kOutTextLetter:
            return std::is_pointer_v<Parameter> && std::is_pointer_v<Pointee>;
        case kObjectsLetter:
            return std::is_same_v<Parameter, void **>;
        case kPointerLetter:
            // An opaque slot the script passes through (a handle, or an out object
            // that a script can only hand on).
            if (std::is_same_v<Parameter, void **>)
                return true;
            [[fallthrough]];
        case kVariantLetter:
            return std::is_pointer_v<Parameter> && !std::is_pointer_v<Pointee> &&
                   !std::is_function_v<Pointee> && !std::is_same_v<Parameter, const char *>;
        default:
            return false;
    }
}

template <typename Result>
constexpr bool ResultFits(ResultKind kind) {
    switch (kind) {
        case ResultKind::kStatus:
        case ResultKind::kNumber:
        case ResultKind::kCode:
            return std::is_same_v<Result, int32_t>;
        case ResultKind::kText:
            return std::is_same_v<Result, char *>;
        case ResultKind::kPointer:
            return std::is_same_v<Result, void *>;
        case ResultKind::kVoid:
            return std::is_void_v<Result>;
    }
    return false;
}

template <typename Function>
struct SignatureCheck;

template <typename Result, typename... Parameters>
struct SignatureCheck<Result(PLATFORM_STDCALL *)(Parameters...)> {
    static constexpr bool Fits(ResultKind result, std::string_view letters) {
        if (letters.size() != sizeof...(Parameters) || !ResultFits<Result>(result))
            return false;
        [[maybe_unused]] size_t index = 0;
        return (ParameterFits<Parameters>(letters[index++]) && ...);
    }
};

// A table entry for an export whose declared type is `Function`: the letters and the
// result kind must describe that type, or the table does not compile.
template <typename Function>
consteval Signature DeclaredExport(std::string_view name, Library library, ResultKind result,
                                   std::string_view arguments,
                                   ErrorUse error_use = ErrorUse::kReports) {
    if (arguments.size() > kMaxArguments || !SignatureCheck<Function>::Fits(result, arguments))
        throw "the argument letters or the result kind do not fit the declared type";
    return {name, &TypedCaller<Function>::Call, library, result, arguments, error_use};
}

// Every export a script can call.
std::span<const Signature> AllSignatures();
// The signature of the named export (names compare exactly); null when unknown.
const Signature *FindSignature(std::string_view name);

// Whether a letter names an argument kind.
bool IsArgumentLetter(char letter);

}  // namespace daxhost
