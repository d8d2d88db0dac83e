// The NumStr exports against GMP. Every GMP case does what a NumStr export has to
// do: read the operand texts (mpz_set_str), operate, and write the result text
// (mpz_get_str), so the two columns measure the same work. Operands have
// state.range(0) digits (the divisor of DIV half as many).
#include <benchmark/benchmark.h>
#include <gmp.h>

#include <random>
#include <string>
#include <vector>

#include "dax64.h"
#include "imports/vek_imports.h"
#include "str/numstr_digits.h"

namespace {

std::string Digits(size_t count, int base, uint64_t seed) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::mt19937_64 engine(seed);
    std::string text(count, '0');
    for (char &c : text)
        c = kDigits[engine() % static_cast<uint64_t>(base)];
    text[0] = '9';
    return text;
}

struct Operands {
    std::string a;
    std::string b;
};

Operands OperandsFor(const benchmark::State &state, int base, bool half_divisor = false) {
    const auto digits = static_cast<size_t>(state.range(0));
    // The second operand starts with a smaller digit, so that SUB never goes negative.
    Operands operands{Digits(digits, base, 1),
                      Digits(half_divisor ? digits / 2 + 1 : digits, base, 2)};
    operands.b[0] = '1';
    return operands;
}

// ---- dax64 ----------------------------------------------------------------------

void DaxArithm(benchmark::State &state, const char *op, int base, bool half_divisor) {
    const Operands operands = OperandsFor(state, base, half_divisor);
    for (auto _ : state) {
        char *result = Str_NumStr_ArithmOpA(operands.a.c_str(), op, operands.b.c_str(), base);
        benchmark::DoNotOptimize(result);
        VekTextFree(result);
    }
}

void DaxCmp(benchmark::State &state) {
    Operands operands = OperandsFor(state, 10);
    operands.b = operands.a;
    for (auto _ : state)
        benchmark::DoNotOptimize(Str_NumStr_CmpA(operands.a.c_str(), "=", operands.b.c_str(), 10));
}

void DaxConv(benchmark::State &state) {
    const Operands operands = OperandsFor(state, 10);
    for (auto _ : state) {
        char *result = Str_NumStr_ConvA(operands.a.c_str(), 10, 16, -1);
        benchmark::DoNotOptimize(result);
        VekTextFree(result);
    }
}

// The addition alone, without the exported-call frame and argument checks.
void DaxAddBare(benchmark::State &state) {
    const Operands operands = OperandsFor(state, 10);
    for (auto _ : state)
        benchmark::DoNotOptimize(Ostrel::Zam::NumStrAdd(operands.a, operands.b, 10));
}

// ---- GMP ------------------------------------------------------------------------

class GmpNumbers {
  public:
    GmpNumbers() { mpz_inits(a_, b_, r_, nullptr); }
    ~GmpNumbers() { mpz_clears(a_, b_, r_, nullptr); }
    GmpNumbers(const GmpNumbers &) = delete;
    GmpNumbers &operator=(const GmpNumbers &) = delete;

    void Read(const Operands &operands, int base) {
        mpz_set_str(a_, operands.a.c_str(), base);
        mpz_set_str(b_, operands.b.c_str(), base);
    }
    // Writes the result into a buffer kept across iterations, as large as it needs.
    void Write(int base) {
        buffer_.resize(mpz_sizeinbase(r_, base) + 2);
        mpz_get_str(buffer_.data(), base, r_);
        benchmark::DoNotOptimize(buffer_.data());
    }

    mpz_t a_, b_, r_;

  private:
    std::vector<char> buffer_;
};

using GmpOp = void (*)(mpz_ptr, mpz_srcptr, mpz_srcptr);

void GmpArithm(benchmark::State &state, GmpOp op, int base, bool half_divisor) {
    const Operands operands = OperandsFor(state, base, half_divisor);
    GmpNumbers numbers;
    for (auto _ : state) {
        numbers.Read(operands, base);
        op(numbers.r_, numbers.a_, numbers.b_);
        numbers.Write(base);
    }
}

void GmpCmp(benchmark::State &state) {
    Operands operands = OperandsFor(state, 10);
    operands.b = operands.a;
    GmpNumbers numbers;
    for (auto _ : state) {
        numbers.Read(operands, 10);
        benchmark::DoNotOptimize(mpz_cmp(numbers.a_, numbers.b_));
    }
}

void GmpConv(benchmark::State &state) {
    const Operands operands = OperandsFor(state, 10);
    GmpNumbers numbers;
    for (auto _ : state) {
        mpz_set_str(numbers.r_, operands.a.c_str(), 10);
        numbers.Write(16);
    }
}

void Sizes(benchmark::internal::Benchmark *benchmark) {
    benchmark->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
}

}  // namespace

BENCHMARK_CAPTURE(DaxArithm, ADD, "ADD", 10, false)->Apply(Sizes);
BENCHMARK_CAPTURE(GmpArithm, ADD, mpz_add, 10, false)->Apply(Sizes);
BENCHMARK_CAPTURE(DaxArithm, SUB, "SUB", 10, false)->Apply(Sizes);
BENCHMARK_CAPTURE(GmpArithm, SUB, mpz_sub, 10, false)->Apply(Sizes);
BENCHMARK(DaxCmp)->Apply(Sizes);
BENCHMARK(GmpCmp)->Apply(Sizes);
BENCHMARK_CAPTURE(DaxArithm, AND16, "AND", 16, false)->Apply(Sizes);
BENCHMARK_CAPTURE(GmpArithm, AND16, mpz_and, 16, false)->Apply(Sizes);
BENCHMARK_CAPTURE(DaxArithm, MUL, "MUL", 10, false)->Apply(Sizes);
BENCHMARK_CAPTURE(GmpArithm, MUL, mpz_mul, 10, false)->Apply(Sizes);
BENCHMARK_CAPTURE(DaxArithm, DIV, "DIV", 10, true)->Apply(Sizes);
BENCHMARK_CAPTURE(GmpArithm, DIV, mpz_tdiv_q, 10, true)->Apply(Sizes);
BENCHMARK(DaxConv)->Apply(Sizes);
BENCHMARK(GmpConv)->Apply(Sizes);
BENCHMARK(DaxAddBare)->Apply(Sizes);

BENCHMARK_MAIN();
