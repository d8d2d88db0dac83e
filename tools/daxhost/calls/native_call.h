// Calls an export through a pointer of its exact type.
//
// A script names an export and gives its arguments; the host holds them as machine
// words (one per argument: an integer, or the address of a text, an output slot or a
// VARIANT). For every export the signature table instantiates TypedCaller with the
// type of the export's own declaration (decltype of the library header's function,
// calling convention included), so each word is converted to the exact parameter
// type and the call goes through a pointer of the function's exact type. Calling
// through a pointer of any other function type is undefined behaviour, whatever the
// ABI would make of it; on 32-bit Windows the __stdcall callee also pops exactly the
// arguments its type names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>
#include <utility>

#include "platform/api.h"

namespace daxhost {

using Word = std::uintptr_t;

inline Word IntegerWord(int32_t value) {
    return static_cast<uint32_t>(value);
}
inline int32_t WordAsInt32(Word word) {
    return static_cast<int32_t>(static_cast<uint32_t>(word));
}

// Calls `function` (an export of the type the caller was made for) with `words`;
// 0 when the number of words is not the export's number of parameters.
using ExportCaller = Word (*)(void *function, std::span<const Word> words);

// An argument word as the parameter type: integers of any width take the low bits
// of the 32-bit value they were given (as a C call converting an int32 would),
// pointers are the addresses the words hold.
template <typename Parameter>
Parameter WordAs(Word word) {
    if constexpr (std::is_integral_v<Parameter>)
        return static_cast<Parameter>(static_cast<uint32_t>(word));
    else
        return reinterpret_cast<Parameter>(word);
}

template <typename Result>
Word ResultWord(Result result) {
    if constexpr (std::is_integral_v<Result>)
        return static_cast<uint32_t>(static_cast<int32_t>(result));
    else
        return reinterpret_cast<Word>(result);
}

template <typename Function>
struct TypedCaller;

template <typename Result, typename... Parameters>
struct TypedCaller<Result(PLATFORM_STDCALL *)(Parameters...)> {
    using Function = Result(PLATFORM_STDCALL *)(Parameters...);
    static constexpr size_t kArity = sizeof...(Parameters);

    static Word Call(void *function, std::span<const Word> words) {
        if (words.size() != kArity)
            return 0;
        return CallWith(reinterpret_cast<Function>(function), words,
                        std::index_sequence_for<Parameters...>{});
    }

  private:
    template <size_t... Index>
    static Word CallWith(Function function, [[maybe_unused]] std::span<const Word> words,
                         std::index_sequence<Index...>) {
        if constexpr (std::is_void_v<Result>) {
            function(WordAs<Parameters>(words[Index])...);
            return 0;
        } else {
            return ResultWord(function(WordAs<Parameters>(words[Index])...));
        }
    }
};

}  // namespace daxhost
