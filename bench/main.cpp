// Benchmark entry: like BENCHMARK_MAIN, but on Qt's offscreen platform with
// an application object and the program's font substitution in place first,
// so that text metrics and painting are the program's own.
#include "ui/Fonts.h"

#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    fonts::install();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
