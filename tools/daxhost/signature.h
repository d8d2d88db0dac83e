// What the host knows of an export: where it lives, what it returns and the kinds
// of its arguments. The table itself is in signature_table.cpp.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

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

enum class ArgumentKind { kText, kInt32, kPointer, kOutText, kVariant };

// The letters of Signature::arguments, one per argument.
inline constexpr char kTextLetter = 't';     // const char *
inline constexpr char kInt32Letter = 'i';    // int32_t or uint32_t
inline constexpr char kPointerLetter = 'p';  // void * handle (or null)
inline constexpr char kOutTextLetter = 'o';  // char ** (or void **) the call fills in
inline constexpr char kVariantLetter = 'v';  // VARIANT * (variant_argument.h)

inline constexpr size_t kMaxArguments = 8;

enum class ErrorUse {
    kReports,   // the host clears the thread's error before the call and checks it after
    kInspects,  // the function reads or sets the thread's error: the host leaves it alone
};

struct Signature {
    std::string_view name;
    Library library;
    ResultKind result;
    std::string_view arguments;  // one letter per argument, in order
    ErrorUse error_use = ErrorUse::kReports;

    size_t Arity() const { return arguments.size(); }
    ArgumentKind ArgumentAt(size_t index) const;
};

// Every export a script can call.
std::span<const Signature> AllSignatures();
// The signature of the named export (names compare exactly); null when unknown.
const Signature *FindSignature(std::string_view name);

// Whether a letter names an argument kind.
bool IsArgumentLetter(char letter);

}  // namespace daxhost
