// What a learner waits for between two questions: activating a set with its
// first question, presenting one question after another, and painting the
// drawing area (at one and two device pixels per pixel).
#include "BenchForm.h"

#include "ui/CanvasPainter.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// A menu click on a set that is not running: reset, bank, draw order,
// results file, first question. No painting.
void BM_ActivateSet(benchmark::State &state, const char *item)
{
    BenchForm b;
    Form1 &f = *b.form;
    const QString name = QString::fromLatin1(item);
    try {
        for (auto _ : state) {
            f.run.categoryActive = 0;
            f.menuClick(name);
        }
    } catch (const ProgramEnd &end) {
        state.SkipWithError(end.reason.toStdString().c_str());
    }
}

// Every question of a set's bank in turn, as the driver's "goto" presents
// it: the canvas cleared, the position set, the presenter run.
void BM_PresentQuestion(benchmark::State &state, const char *item)
{
    BenchForm b;
    Form1 &f = *b.form;
    int count = 0;
    try {
        f.menuClick(QString::fromLatin1(item));
        count = f.bank.mondaiCount;
        int n = 0;
        for (auto _ : state) {
            n = n % count + 1;
            f.Picture6.Cls();
            f.bank.mondaiNo = int16_t(n);
            f.presentQuestion();
        }
    } catch (const ProgramEnd &end) {
        state.SkipWithError(end.reason.toStdString().c_str());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(std::to_string(count) + " questions");
}

// Picture6 after a question has been presented, painted into an image at
// the designed size (15 twips a pixel) and the given device pixel ratio.
void BM_PaintPicture6(benchmark::State &state, const char *item, double dpr)
{
    BenchForm b;
    Form1 &f = *b.form;
    try {
        f.menuClick(QString::fromLatin1(item));
    } catch (const ProgramEnd &end) {
        state.SkipWithError(end.reason.toStdString().c_str());
        return;
    }
    const Canvas &c = f.Picture6;
    const std::string size = paintRepeatedly(state, c, dpr);
    state.SetLabel(std::to_string(c.ops().size()) + " ops, " + size);
}

} // namespace

BENCHMARK_CAPTURE(BM_ActivateSet, thahyo1, "thahyo1")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ActivateSet, nagasa, "nagasa")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ActivateSet, graread1, "graread1")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ActivateSet, ouyou2, "ouyou2")->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(BM_PresentQuestion, thahyo1, "thahyo1")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PresentQuestion, nagasa, "nagasa")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PresentQuestion, menseki1, "menseki1")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PresentQuestion, enmenko, "enmenko")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PresentQuestion, graread1, "graread1")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PresentQuestion, grawrite1, "grawrite1")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PresentQuestion, ouyou1, "ouyou1")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PresentQuestion, ouyou2, "ouyou2")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PresentQuestion, ouyou3, "ouyou3")->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(BM_PaintPicture6, nagasa_1x, "nagasa", 1.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintPicture6, nagasa_2x, "nagasa", 2.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintPicture6, graread1_1x, "graread1", 1.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintPicture6, graread1_2x, "graread1", 2.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintPicture6, ouyou2_1x, "ouyou2", 1.0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintPicture6, ouyou2_2x, "ouyou2", 2.0)->Unit(benchmark::kMicrosecond);
