// Benchmark entry: like BENCHMARK_MAIN, but on Qt's offscreen platform with
// an application object and the program's font substitution in place first,
// so that text metrics and painting are the program's own. The platform
// has two 1920×1080 screens, at one and at two device pixels per pixel, for
// the benchmarks of the real window (bench/window.cpp).
#include "Screens.h"
#include "ui/Fonts.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    QTemporaryDir screens;
    const benchscreens::Environment env =
        benchscreens::environmentFor(screens.filePath(QStringLiteral("screens.json")), {1.0, 2.0});
    qputenv("QT_QPA_PLATFORM", env.platform);
    qputenv("QT_SCREEN_SCALE_FACTORS", env.scaleFactors);
    QApplication app(argc, argv);
    fonts::install();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
