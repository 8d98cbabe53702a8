// What a learner feels in the real window: the program's MainWindow on a
// 1920×1080 screen at one and at two device pixels per pixel, an event sent
// down the window's own EventPath and timed until every paint it causes is
// done. Each benchmark reports the median and the 99th percentile of an
// event, and per event the picture boxes and widgets painted and the device
// pixels painted (a bare line edit paints about 5,000 for a key).
#include "FakeWorld.h"
#include "Screens.h"

#include "ui/CanvasWidget.h"
#include "ui/MainWindow.h"
#include "ui/QtTextMetrics.h"

#include <QApplication>
#include <QPaintEvent>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

// Every paint of every widget, counted by an application-wide filter.
class PaintTally : public QObject {
public:
    double boxes = 0, widgets = 0, pixels = 0;
    void reset() { boxes = widgets = pixels = 0; }
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Paint) {
            auto *w = qobject_cast<QWidget *>(o);
            ++widgets;
            boxes += qobject_cast<CanvasWidget *>(o) != nullptr;
            const double dpr = w ? w->devicePixelRatioF() : 1;
            for (const QRect &r : static_cast<QPaintEvent *>(e)->region())
                pixels += double(r.width()) * r.height() * dpr * dpr;
        }
        return false;
    }
};

struct LearnerWindow : FakeWorld, ScratchFolder {
    QtTextMetrics metrics;
    std::unique_ptr<Form1> form;
    std::unique_ptr<MainWindow> window;
    PaintTally tally;

    explicit LearnerWindow(double ratio)
    {
        form = makeForm(metrics, paths);
        // Fitted to the screen, as the program opens it.
        window = std::make_unique<MainWindow>(*form);
        QScreen *screen = benchscreens::screenAt(ratio);
        window->setScreen(screen);
        window->move(screen->geometry().topLeft() + QPoint(20, 20));
        window->events().load();
        window->show();
        settle();
        qApp->installEventFilter(&tally);
    }
    ~LearnerWindow() { qApp->removeEventFilter(&tally); }

    // Until the window has painted all that the last event asked for.
    void settle()
    {
        double painted = -1;
        while (painted != tally.widgets) {
            painted = tally.widgets;
            QApplication::processEvents();
        }
    }

    EventPath &events() { return window->events(); }
};

// Times of single events, with their paints.
class EventTimes {
public:
    EventTimes() { us_.reserve(1 << 16); }
    template <class F> void time(LearnerWindow &w, F &&event)
    {
        const auto t0 = std::chrono::steady_clock::now();
        event();
        w.settle();
        const auto t1 = std::chrono::steady_clock::now();
        if (us_.size() < us_.capacity())
            us_.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    void report(benchmark::State &state, const LearnerWindow &w)
    {
        if (us_.empty())
            return;
        std::sort(us_.begin(), us_.end());
        const double n = double(state.iterations());
        state.counters["median_us"] = us_[us_.size() / 2];
        state.counters["p99_us"] = us_[std::min(us_.size() - 1, us_.size() * 99 / 100)];
        state.counters["boxes"] = w.tally.boxes / n;
        state.counters["widgets"] = w.tally.widgets / n;
        state.counters["pixels"] = w.tally.pixels / n;
        state.SetLabel(std::to_string(w.window->width()) + "x" + std::to_string(w.window->height()) + " at "
                       + std::to_string(w.window->devicePixelRatioF()).substr(0, 3));
    }

private:
    std::vector<double> us_;
};

// Keys in 長さ's answer box: digits typed and taken back again.
void BM_WindowKey(benchmark::State &state, double ratio)
{
    LearnerWindow w(ratio);
    w.events().menu(QStringLiteral("nagasa"));
    w.settle();
    const int keys[] = {'1', '2', '.', '5', 8, 8, 8, 8};
    w.tally.reset();
    EventTimes times;
    std::size_t i = 0;
    for (auto _ : state) {
        times.time(w, [&] { w.events().key(keys[i]); });
        i = (i + 1) % std::size(keys);
    }
    times.report(state, w);
}

// A line drawn on ｸﾞﾗﾌ書き1's plane: pressed at the origin, then the pointer
// moves round it with the button held, a little further each time, so that
// most moves take the line to a new lattice point as a quick hand does.
void BM_WindowPointerMove(benchmark::State &state, double ratio)
{
    LearnerWindow w(ratio);
    w.events().menu(QStringLiteral("grawrite1"));
    w.events().pointerMove(0, 0, false);
    w.events().pointerDown(0, 0);
    w.settle();
    w.tally.reset();
    EventTimes times;
    double angle = 0;
    for (auto _ : state) {
        angle += 0.13;
        const double x = 6 * std::cos(angle), y = 6 * std::sin(angle);
        times.time(w, [&] { w.events().pointerMove(x, y, true); });
    }
    times.report(state, w);
}

// The clock's ticks while a run goes on and nobody touches anything: three
// ticks a second, the clock's caption new once a second.
void BM_WindowIdleTick(benchmark::State &state, double ratio)
{
    LearnerWindow w(ratio);
    w.events().menu(QStringLiteral("nagasa"));
    w.settle();
    w.tally.reset();
    EventTimes times;
    for (auto _ : state) {
        w.clock.advance(0.3);
        times.time(w, [&] { w.events().tick(); });
    }
    times.report(state, w);
}

} // namespace

BENCHMARK_CAPTURE(BM_WindowKey, 1x, 1.0)->Unit(benchmark::kMicrosecond)->Iterations(400);
BENCHMARK_CAPTURE(BM_WindowKey, 2x, 2.0)->Unit(benchmark::kMicrosecond)->Iterations(400);
BENCHMARK_CAPTURE(BM_WindowPointerMove, 1x, 1.0)->Unit(benchmark::kMicrosecond)->Iterations(400);
BENCHMARK_CAPTURE(BM_WindowPointerMove, 2x, 2.0)->Unit(benchmark::kMicrosecond)->Iterations(400);
// 240 ticks: 72 seconds of a five-minute run.
BENCHMARK_CAPTURE(BM_WindowIdleTick, 1x, 1.0)->Unit(benchmark::kMicrosecond)->Iterations(240);
BENCHMARK_CAPTURE(BM_WindowIdleTick, 2x, 2.0)->Unit(benchmark::kMicrosecond)->Iterations(240);
