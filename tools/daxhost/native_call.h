// Calls an export through a function pointer of the right arity, every argument
// and the result being one machine word.
//
// Why one word per value is sound on the ABIs we ship: every export takes only
// 32-bit integers and pointers and returns one of them (or nothing).
// - x86_64 System V and Windows x64: each argument occupies one 64-bit register or
//   one 8-byte stack slot; a callee reads an int32 from the low half of its word,
//   which holds the value on this little-endian machine. The result comes back in
//   rax; for an int32 only eax is meaningful, so the caller truncates.
// - i686 Windows (__stdcall): each int32 or pointer occupies one 4-byte stack slot,
//   which is exactly one uintptr_t, and the callee pops them. The pointer type must
//   therefore have the export's exact arity, which the signature table gives.
#pragma once

#include <cstdint>
#include <span>

namespace daxhost {

using Word = std::uintptr_t;

// Calls `function` with `words` as its arguments (at most kMaxArguments).
Word CallWithWords(void *function, std::span<const Word> words);

inline Word IntegerWord(int32_t value) {
    return static_cast<uint32_t>(value);
}
inline int32_t WordAsInt32(Word word) {
    return static_cast<int32_t>(static_cast<uint32_t>(word));
}

}  // namespace daxhost
