#pragma once

#include <benchmark/benchmark.h>

#include <QString>

// The folder the benchmarks write their generated pictures and curve files to (removed at exit).
QString benchFolder();

// Every benchmark is repeated this often and reported as median, min and max, in wall-clock time (or the
// time the benchmark measured itself).
enum class Clock { Wall, Manual };
benchmark::internal::Benchmark *withSpread(benchmark::internal::Benchmark *b, int repetitions = 7,
                                           Clock clock = Clock::Wall);

// Runs posted events, including the paints they cause, in this thread now.
void flushPaints();
