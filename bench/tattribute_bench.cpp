// To be written.
#include <benchmark/benchmark.h>
BENCHMARK_MAIN();
