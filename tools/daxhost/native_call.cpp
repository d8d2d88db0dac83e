#include "native_call.h"

#include <array>
#include <cstddef>
#include <utility>

#include "platform/api.h"
#include "signature.h"

namespace daxhost {

namespace {

template <size_t>
using WordAt = Word;

template <size_t... Index>
Word CallArity(void *function, [[maybe_unused]] const Word *words, std::index_sequence<Index...>) {
    using Function = Word(PLATFORM_STDCALL *)(WordAt<Index>...);
    return reinterpret_cast<Function>(function)(words[Index]...);
}

template <size_t Arity>
Word CallWith(void *function, const Word *words) {
    return CallArity(function, words, std::make_index_sequence<Arity>{});
}

template <size_t... Arity>
constexpr auto MakeCallers(std::index_sequence<Arity...>) {
    return std::array<Word (*)(void *, const Word *), sizeof...(Arity)>{&CallWith<Arity>...};
}

// kCallers[n] calls a function of n arguments.
constexpr auto kCallers = MakeCallers(std::make_index_sequence<kMaxArguments + 1>{});

}  // namespace

Word CallWithWords(void *function, std::span<const Word> words) {
    return kCallers.at(words.size())(function, words.data());
}

}  // namespace daxhost
