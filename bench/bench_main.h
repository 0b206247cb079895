#pragma once

// The main of a benchmark that needs the application object (windows, OpenGL).
// The object lives in main, around the benchmarks: a function-local static
// one would be destroyed by the exit handlers, after the toolkit's thread
// storage is gone, and crash the benchmark at its exit.

#include <benchmark/benchmark.h>

#include <QApplication>

inline int RunBenchmarksInApplication(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
