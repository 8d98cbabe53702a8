#pragma once
// A started form for benchmarks: the program's real text metrics, a clock and
// random source that move only when told, silent sounds and dialogs, and a
// fresh temporary folder for the results files.
#include "form/Form1.h"
#include "FakeWorld.h"
#include "ui/CanvasPainter.h"
#include "ui/QtTextMetrics.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>

struct BenchForm : FakeWorld, ScratchFolder {
    QtTextMetrics metrics;
    std::unique_ptr<Form1> form;

    BenchForm()
    {
        form = makeForm(metrics, paths, true);
        form->Form_Load();
    }
};

// Paints a picture box again and again into an image at the given device
// pixel ratio, as the window does at designed size; returns the image's size.
inline std::string paintRepeatedly(benchmark::State &state, const Canvas &c, double dpr)
{
    const double ppt = 1.0 / 15.0;
    QImage image(int(std::lround(c.Width * ppt * dpr)), int(std::lround(c.Height * ppt * dpr)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    for (auto _ : state) {
        QPainter p(&image);
        paintCanvas(p, c, ppt, paintOptionsFor(c, {}));
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    return std::to_string(image.width()) + "x" + std::to_string(image.height()) + " px";
}
