// Figures as the learner waits for them: every question of every bank
// presented with its figure (the median and the slowest question), and the
// drawing area painted at two device pixels per pixel for a plotted graph and
// for the application figures.
#include "BenchForm.h"

#include "app/SetTable.h"
#include "ui/CanvasPainter.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct Question {
    QString set;
    int position;
    QString q, a;
    int16_t applicationSetFlag;
    double seconds = 0; // summed over the iterations
};

// Every question of every set in the menu, as its bank routine writes it.
std::vector<Question> allQuestions(Form1 &f)
{
    std::vector<Question> out;
    for (const SetInfo &set : setTable()) {
        const bool application =
            set.activation != Activation::Standard && set.activation != Activation::PointOnLine;
        f.runBankRoutine(set.bankRoutine);
        const int count = std::min<int>(f.bank.mondaiCount, 200);
        for (int i = 1; i <= count; ++i)
            out.push_back({set.item, i, f.bank.mondai[i], f.bank.kotae[i], int16_t(application ? 1 : 0)});
    }
    return out;
}

void present(Form1 &f, const Question &k)
{
    f.run.applicationSetFlag = k.applicationSetFlag;
    f.bank.shuffledMondai[k.position] = k.q;
    f.bank.shuffledKotae[k.position] = k.a;
    f.bank.mondaiNo = int16_t(k.position);
    f.Picture6.Cls();
    f.presentQuestion();
}

// One iteration presents the whole catalogue. The counters give the time of
// the median question and of the slowest one, which the label names.
void BM_PresentEveryQuestion(benchmark::State &state)
{
    BenchForm b;
    Form1 &f = *b.form;
    std::vector<Question> questions;
    try {
        questions = allQuestions(f);
        for (auto _ : state) {
            for (Question &k : questions) {
                const auto t0 = std::chrono::steady_clock::now();
                present(f, k);
                k.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            }
            benchmark::DoNotOptimize(f.Picture6.ops().data());
        }
    } catch (const ProgramEnd &end) {
        state.SkipWithError(end.reason.toStdString().c_str());
        return;
    }
    if (questions.empty() || state.iterations() == 0)
        return;
    std::vector<double> each;
    for (const Question &k : questions)
        each.push_back(k.seconds / double(state.iterations()));
    std::vector<double> sorted = each;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    const size_t slowest = size_t(std::max_element(each.begin(), each.end()) - each.begin());
    state.counters["median_us"] = sorted[sorted.size() / 2] * 1e6;
    state.counters["slowest_us"] = each[slowest] * 1e6;
    state.counters["questions"] = double(questions.size());
    state.SetItemsProcessed(state.iterations() * int64_t(questions.size()));
    state.SetLabel("slowest: " + questions[slowest].set.toStdString() + " "
                   + std::to_string(questions[slowest].position));
}

// Picture6 holding one presented question, painted at the designed size (15
// twips a pixel) on a display with two device pixels per pixel.
void BM_PaintFigure2x(benchmark::State &state, const char *set, int position)
{
    BenchForm b;
    Form1 &f = *b.form;
    try {
        std::vector<Question> questions = allQuestions(f);
        const auto k = std::find_if(questions.begin(), questions.end(), [&](const Question &q) {
            return q.set == QLatin1String(set) && q.position == position;
        });
        if (k == questions.end()) {
            state.SkipWithError("no such question");
            return;
        }
        present(f, *k);
    } catch (const ProgramEnd &end) {
        state.SkipWithError(end.reason.toStdString().c_str());
        return;
    }
    const Canvas &c = f.Picture6;
    paintRepeatedly(state, c, 2.0);
    state.SetLabel(std::to_string(c.ops().size()) + " ops");
}

} // namespace

BENCHMARK(BM_PresentEveryQuestion)->Unit(benchmark::kMillisecond);
// A reading question: the two branches of y=6/x on the full grid.
BENCHMARK_CAPTURE(BM_PaintFigure2x, graread2_inverse, "graread2", 1)->Unit(benchmark::kMicrosecond);
// A reading question: the line y=-1/2x on the full grid.
BENCHMARK_CAPTURE(BM_PaintFigure2x, graread1_line, "graread1", 9)->Unit(benchmark::kMicrosecond);
// The square under y=2x, and two lines with the segment AB between them.
BENCHMARK_CAPTURE(BM_PaintFigure2x, ouyou1_square, "ouyou1", 5)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintFigure2x, ouyou2_two_lines, "ouyou2", 11)->Unit(benchmark::kMicrosecond);
