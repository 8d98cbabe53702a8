// What a learner feels while typing an answer: one key press with its
// preview, alone and with the repaint of the preview box that follows it,
// and painting the preview of a whole line equation at one and two device
// pixels per pixel.
#include "BenchForm.h"

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

// The help text's example, y = - 3 / 2 x - 4, then a power and π, each taken
// back with Backspace: every typing state is visited and the text never
// grows, so the cycle can run for as long as the library likes.
const std::vector<int> &keyCycle()
{
    static const std::vector<int> keys = [] {
        std::vector<int> k;
        for (char c : std::string("y=-3/2x-4"))
            k.push_back(c);
        k.insert(k.end(), 8, 8);
        for (char c : std::string("x2+3p"))
            k.push_back(c);
        k.insert(k.end(), 5, 8);
        return k;
    }();
    return keys;
}

// A form showing the first question of a set answered with line equations.
void showLineQuestion(Form1 &f) { f.menuClick(QStringLiteral("gra2write")); }

// Picture3 at its designed size (15 twips a pixel) on a screen with the
// given device-pixel ratio.
QImage previewImage(const Canvas &c, double dpr)
{
    const double ppt = 1.0 / 15.0;
    QImage image(int(std::lround(c.Width * ppt * dpr)), int(std::lround(c.Height * ppt * dpr)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    return image;
}

void paintPreview(QImage &image, const Canvas &c)
{
    QPainter p(&image);
    p.fillRect(QRectF(0, 0, c.Width / 15.0, c.Height / 15.0), toQColor(c.BackColor));
    paintCanvas(p, c, 1.0 / 15.0, paintOptionsFor(c, {}));
}

// Times of single keys: the library reports the mean, the counters the
// median and the 99th percentile in microseconds (a slow key is felt even
// when the mean is small).
class KeyTimes {
public:
    KeyTimes() { us_.reserve(1 << 18); }
    template <class F> void time(F &&f)
    {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        const auto t1 = std::chrono::steady_clock::now();
        if (us_.size() < us_.capacity())
            us_.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    void report(benchmark::State &state)
    {
        if (us_.empty())
            return;
        std::sort(us_.begin(), us_.end());
        state.counters["median_us"] = us_[us_.size() / 2];
        state.counters["p99_us"] = us_[std::min(us_.size() - 1, us_.size() * 99 / 100)];
    }

private:
    std::vector<double> us_;
};

// The key handler with its preview drawn into Picture3's display list.
void BM_KeyPress(benchmark::State &state)
{
    BenchForm b;
    Form1 &f = *b.form;
    showLineQuestion(f);
    const auto &keys = keyCycle();
    KeyTimes times;
    std::size_t i = 0;
    for (auto _ : state) {
        times.time([&] { f.typeKey(keys[i]); });
        i = (i + 1) % keys.size();
    }
    benchmark::DoNotOptimize(f.Picture3.ops().size());
    times.report(state);
}

// The key and the repaint of the preview box that the window does after it.
void BM_KeyPressWithPaint(benchmark::State &state)
{
    BenchForm b;
    Form1 &f = *b.form;
    showLineQuestion(f);
    const auto &keys = keyCycle();
    QImage image = previewImage(f.Picture3, 1.0);
    KeyTimes times;
    std::size_t i = 0;
    for (auto _ : state) {
        times.time([&] {
            f.typeKey(keys[i]);
            paintPreview(image, f.Picture3);
        });
        i = (i + 1) % keys.size();
    }
    benchmark::DoNotOptimize(image.constBits());
    times.report(state);
}

// The finished preview of y=-2/3x-4: prefix, stacked fraction and x term.
void BM_PaintPicture3(benchmark::State &state, double dpr)
{
    BenchForm b;
    Form1 &f = *b.form;
    showLineQuestion(f);
    for (char c : std::string("y=-3/2x-4"))
        f.typeKey(c);
    QImage image = previewImage(f.Picture3, dpr);
    for (auto _ : state) {
        paintPreview(image, f.Picture3);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(std::to_string(f.Picture3.ops().size()) + " ops, " + std::to_string(image.width())
                   + "x" + std::to_string(image.height()) + " px");
}

double percentile99(const std::vector<double> &v)
{
    std::vector<double> s(v);
    std::sort(s.begin(), s.end());
    return s[std::min(s.size() - 1, s.size() * 99 / 100)];
}

} // namespace

BENCHMARK(BM_KeyPress)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyPressWithPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintPicture3, 1x, 1.0)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ComputeStatistics("p99", percentile99);
BENCHMARK_CAPTURE(BM_PaintPicture3, 2x, 2.0)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ComputeStatistics("p99", percentile99);
