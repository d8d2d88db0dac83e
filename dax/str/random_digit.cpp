// The generator behind every random digit of the library: a 64-bit linear
// congruential generator (Knuth's MMIX multiplier and increment) with a fixed seed,
// whose top 31 bits are the drawn value. Its low bits are weak, so they are never
// used. A mutex keeps the state consistent when exports run on several threads.
#include "str/random_digit.h"

#include <mutex>

#include "str/numstr_check.h"

namespace Ostrel::Zam {

namespace {

class Lcg64 {
  public:
    uint32_t Next() {
        state_ = state_ * 6364136223846793005u + 1442695040888963407u;
        return static_cast<uint32_t>(state_ >> 33);
    }

  private:
    uint64_t state_ = 1;  // fixed: the library never seeds
};

std::mutex g_lock;
Lcg64 g_generator;

char DigitOf(uint32_t draw, int32_t base) {
    if (base < kMinNumStrBase || base > kMaxNumStrBase)
        return '0';
    return DigitChar(draw % static_cast<uint32_t>(base));
}

}  // namespace

uint32_t NextRandom31() {
    const std::lock_guard<std::mutex> hold(g_lock);
    return g_generator.Next();
}

char RandomDigit(int32_t base) {
    return DigitOf(NextRandom31(), base);
}

void AppendRandomDigits(std::string &text, size_t count, int32_t base) {
    text.reserve(text.size() + count);
    const std::lock_guard<std::mutex> hold(g_lock);
    for (size_t i = 0; i < count; ++i)
        text.push_back(DigitOf(g_generator.Next(), base));
}

}  // namespace Ostrel::Zam
