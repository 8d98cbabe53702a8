// The figures of questions in new numbers, drawn by the program with the
// real fonts: every label the figure prints stands apart from the others
// and from the plane's own numbers and caption, inside the picture, and
// every point, segment and box of the figure lies on the visible plane.
#include "FakeWorld.h"

#include "app/SetTable.h"
#include "ui/QtTextMetrics.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Box {
    double left, top, right, bottom;
    QString text;
};

bool overlap(const Box &a, const Box &b)
{
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

// The printed labels: items printed one after the other on a line make one
// label. The box is the ink of the text, from a little under the top of its
// line to the foot of its glyphs.
std::vector<Box> labelsOn(const Canvas &c, const TextMetrics &metrics)
{
    std::vector<Box> out;
    for (const CanvasOp &op : c.ops()) {
        if (op.kind != CanvasOp::Print)
            continue;
        const double perTwipX = op.scale.width / c.Width, perTwipY = std::abs(op.scale.height) / c.Height;
        const double w = metrics.widthTwips(op.text, op.fontName, op.fontSize, op.bold) * perTwipX;
        const double em = op.fontSize * 20 * perTwipY;
        if (!out.empty() && std::abs(out.back().right - op.x1) < 1e-6 && std::abs(out.back().top + 0.08 * em - op.y1) < 1e-6) {
            out.back().right += w;
            out.back().text += op.text;
        } else {
            out.push_back({op.x1, op.y1 - 0.08 * em, op.x1 + w, op.y1 - 0.95 * em, op.text});
        }
    }
    return out;
}

// The plane's own texts: the numbers on its axes and the coordinate
// plane's caption.
bool planesOwn(const Box &b)
{
    static const QStringList texts = {u"0"_qs,   u"5"_qs,    u"-5"_qs,  u" 5 "_qs, u"-5 "_qs,
                                      u" 10 "_qs, u"-10 "_qs, u"1めもりを1cmとする"_qs};
    return texts.contains(b.text);
}

struct Figures : FakeWorld, ScratchFolder {
    QtTextMetrics metrics;
};

} // namespace

TEST(VariantPictures, LabelsStandApartAndFiguresLieOnThePlane)
{
    int figures = 0, labels = 0;
    for (const char16_t *item : {u"nagasa", u"menseki1", u"sanmen", u"ouyou1", u"ouyou2", u"ouyou3"}) {
        const QString name = QString::fromUtf16(item);
        const bool coordinatePlane = !name.startsWith(u"ouyou"_qs);
        for (uint32_t seed = 1; seed <= 20; ++seed) {
            Figures w;
            std::unique_ptr<Form1> form = w.makeForm(w.metrics, w.paths, true);
            Form1 &f = *form;
            f.Form_Load();
            f.givenVariantSeed = seed;
            f.menuClick(name);
            for (int n = 1; n <= f.bank.mondaiCount; ++n) {
                f.Picture6.Cls();
                f.bank.mondaiNo = int16_t(n);
                f.presentQuestion();
                ++figures;
                const Canvas &c = f.Picture6;
                SCOPED_TRACE((name + u" seed %1: "_qs.arg(seed) + f.currentQuestion()).toStdString());
                const CanvasScale &s = c.scale();
                const double left = s.left, right = s.left + s.width, top = s.top, bottom = s.top + s.height;
                const auto on = [&](double x, double y) {
                    return x >= left - 1e-9 && x <= right + 1e-9 && y <= top + 1e-9 && y >= bottom - 1e-9;
                };
                for (const CanvasOp &op : c.ops()) {
                    if (op.kind == CanvasOp::Line || op.kind == CanvasOp::Box) {
                        EXPECT_TRUE(on(op.x1, op.y1) && on(op.x2, op.y2)) << "a line from " << op.x1 << "," << op.y1;
                    } else if (op.kind == CanvasOp::Circle) {
                        EXPECT_TRUE(on(op.x1, op.y1)) << "a point at " << op.x1 << "," << op.y1;
                    }
                }
                const std::vector<Box> all = labelsOn(c, w.metrics);
                std::vector<Box> own, figure;
                for (const Box &b : all) {
                    // A label wholly off the visible plane is clipped away.
                    if (b.right <= left || b.left >= right || b.bottom >= top || b.top <= bottom)
                        continue;
                    (planesOwn(b) ? own : figure).push_back(b);
                }
                for (size_t i = 0; i < figure.size(); ++i) {
                    ++labels;
                    const Box &a = figure[i];
                    EXPECT_TRUE(a.left >= left && a.right <= right && a.top <= top && a.bottom >= bottom)
                        << "\"" << a.text.toStdString() << "\" leaves the picture";
                    for (size_t j = i + 1; j < figure.size(); ++j)
                        EXPECT_FALSE(overlap(a, figure[j]))
                            << "\"" << a.text.toStdString() << "\" over \"" << figure[j].text.toStdString() << "\"";
                    if (coordinatePlane) {
                        for (const Box &o : own)
                            EXPECT_FALSE(overlap(a, o))
                                << "\"" << a.text.toStdString() << "\" over the plane's \"" << o.text.toStdString() << "\"";
                    }
                }
            }
        }
    }
    std::printf("[ variants ] %d figures in new numbers drawn, %d labels apart\n", figures, labels);
}
