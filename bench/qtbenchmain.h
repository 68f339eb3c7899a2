#pragma once

// The benchmarks that build widgets need an application object before the
// first benchmark runs; this replaces BENCHMARK_MAIN() for them.
#include <QApplication>

#include <benchmark/benchmark.h>

#define WS_BENCHMARK_MAIN_WITH_WIDGETS()                                                          \
    int main(int argc, char **argv)                                                               \
    {                                                                                             \
        QApplication app(argc, argv);                                                             \
        benchmark::Initialize(&argc, argv);                                                       \
        benchmark::RunSpecifiedBenchmarks();                                                      \
        benchmark::Shutdown();                                                                    \
        return 0;                                                                                 \
    }
