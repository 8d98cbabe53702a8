#include "ui/ResultsChart.h"

#include "ui/Fonts.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <map>

namespace chart {

namespace {

// The chart's own units, as the question cycle draws it: slot i has its bar
// from x = 5i + 13 to 5i + 17 standing on the axis at y = 40; the date's
// three parts are printed at y = 39, 36 and 33 and the name's characters
// below them, all at the bar's left x.
constexpr double kAxis = 40;
constexpr double kFirstBar = 18; // 5 * 1 + 13
constexpr double kSlot = 5;
constexpr double kDateBottom = 33;

QFont textFont(double pt, bool bold = false) { return fonts::twipsFont(QString(), pt, bold); }

QString captionFor(const Run &r, const CaptionOf &caption)
{
    if (caption) {
        const QString c = caption(r.set);
        if (!c.isEmpty())
            return c;
    }
    QString name = r.set;
    if (name.endsWith(u".txt"_qs))
        name.chop(4);
    return name;
}

// The text under a bar: the date, then the set.
QStringList labelLines(const Run &r, const CaptionOf &caption)
{
    QStringList lines;
    const QString date = shortDate(r.date), set = captionFor(r, caption);
    if (!date.isEmpty())
        lines << date;
    if (!set.isEmpty())
        lines << set;
    return lines;
}

double niceTick(double span, double room, double lineHeight)
{
    // Numbered lines far enough apart to be read: at least two text lines.
    for (double t : {10.0, 20.0, 50.0, 100.0, 200.0, 500.0, 1000.0})
        if (room / (span / t) >= 2 * lineHeight)
            return t;
    return 1000;
}

} // namespace

QString shortDate(const QString &yymmdd)
{
    bool okM = false, okD = false;
    if (yymmdd.size() != 6)
        return yymmdd;
    const int m = yymmdd.mid(2, 2).toInt(&okM), d = yymmdd.mid(4, 2).toInt(&okD);
    if (!okM || !okD || m < 1 || m > 12 || d < 1 || d > 31)
        return yymmdd;
    return QString::number(m) + u'/' + QString::number(d);
}

std::vector<Run> readRuns(const Canvas &canvas)
{
    // Bars by slot, then the texts printed at each bar's left x below the axis.
    std::map<int, Run> bySlot;
    for (const CanvasOp &op : canvas.ops()) {
        if (op.kind != CanvasOp::Box)
            continue;
        const double left = std::min(op.x1, op.x2);
        const int slot = int(std::lround((left - kFirstBar) / kSlot));
        Run r;
        // The bar runs from the axis to the score: whichever corner is not
        // on the axis (a score of 0 is a bar of no height).
        const double top = std::abs(op.y1 - kAxis) >= std::abs(op.y2 - kAxis) ? op.y1 : op.y2;
        r.score = top - kAxis;
        r.current = op.filled;
        r.color = op.color;
        bySlot[slot] = r;
    }
    std::map<int, std::vector<const CanvasOp *>> texts;
    for (const CanvasOp &op : canvas.ops()) {
        // The number above a bar, printed two units left of it: what the
        // bar counts (a review's bar stands as high as its share right and
        // is labelled with the answers right).
        if (op.kind == CanvasOp::Print && op.y1 >= kAxis) {
            const int slot = int(std::lround((op.x1 + 2 - kFirstBar) / kSlot));
            if (bySlot.count(slot) && std::abs(op.x1 + 2 - (kFirstBar + kSlot * slot)) < 1e-6)
                bySlot[slot].label = op.text.trimmed();
        }
        if (op.kind == CanvasOp::Print && op.y1 < kAxis) {
            const int slot = int(std::lround((op.x1 - kFirstBar) / kSlot));
            if (bySlot.count(slot) && std::abs(op.x1 - (kFirstBar + kSlot * slot)) < 1e-6)
                texts[slot].push_back(&op);
        }
    }
    std::vector<Run> runs;
    for (auto &[slot, run] : bySlot) {
        auto &items = texts[slot];
        std::stable_sort(items.begin(), items.end(), [](const CanvasOp *a, const CanvasOp *b) { return a->y1 > b->y1; });
        for (const CanvasOp *op : items)
            (op->y1 >= kDateBottom - 0.5 ? run.date : run.set) += op->text;
        runs.push_back(run);
    }
    return runs;
}

Layout layoutFor(const std::vector<Run> &runs, QSizeF box, const CaptionOf &caption)
{
    Layout l;
    const QFontMetricsF fm(textFont(l.textSize));
    const double line = fm.height();
    const double pad = line * 0.5;
    l.low = 0;
    l.high = 130;
    for (const Run &r : runs) {
        l.low = std::min(l.low, r.score);
        l.high = std::max(l.high, r.score);
    }
    l.low = std::floor(l.low / 10) * 10;
    l.high = std::ceil(l.high / 10) * 10;

    // The widest label under a bar decides whether they stand upright or
    // turned; the plot takes what is left.
    double widest = 0;
    int lines = 1;
    for (const Run &r : runs) {
        const QStringList ls = labelLines(r, caption);
        lines = std::max(lines, int(ls.size()));
        for (const QString &s : ls)
            widest = std::max(widest, fm.horizontalAdvance(s));
    }
    const double numberWidth = std::max(fm.horizontalAdvance(QString::number(l.high)),
                                        fm.horizontalAdvance(QString::number(l.low)));
    const double left = pad + numberWidth + pad;
    const double width = std::max(1.0, box.width() - left - pad);
    const int slotCount = std::max<int>(int(runs.size()), 12);
    l.slot = width / slotCount;
    l.turned = widest + pad > l.slot;
    // Turned labels read along one line ("12/8 長さ"), at most a third of the box.
    double under = l.turned ? 0 : lines * line + pad;
    if (l.turned) {
        for (const Run &r : runs)
            under = std::max(under, fm.horizontalAdvance(labelLines(r, caption).join(u' ')));
        under = std::min(under + pad, box.height() / 3);
    }
    // Room for a score above the highest bar; scores wider than a slot
    // stand turned, as the labels do.
    double scoreWidth = 0;
    for (const Run &r : runs)
        scoreWidth = std::max(scoreWidth, fm.horizontalAdvance(r.labelText()));
    l.scoresTurned = scoreWidth > l.slot * 0.95;
    const double top = pad + (l.scoresTurned ? scoreWidth : line);
    l.plot = QRectF(left, top, width, std::max(1.0, box.height() - top - under - pad));
    l.tick = niceTick(l.high - l.low, l.plot.height(), line);
    return l;
}

void paint(QPainter &p, const std::vector<Run> &runs, QSizeF box, const CaptionOf &caption)
{
    const Layout l = layoutFor(runs, box, caption);
    const QFont font = textFont(l.textSize);
    const QFontMetricsF fm(font);
    const QRectF plot = l.plot;
    auto yOf = [&](double score) { return plot.bottom() - (score - l.low) / (l.high - l.low) * plot.height(); };
    const double axisY = yOf(0);
    p.save();
    p.setClipRect(QRectF(QPointF(0, 0), box));
    p.setFont(font);

    // The run just finished, on a pale band.
    for (std::size_t i = 0; i < runs.size(); ++i)
        if (runs[i].current)
            p.fillRect(QRectF(plot.left() + i * l.slot, plot.top() - fm.height(), l.slot, box.height()),
                       QColor(255, 255, 192));

    // Grid lines with their scores, and the axes.
    for (double v = std::ceil(l.low / l.tick) * l.tick; v <= l.high + 1e-9; v += l.tick) {
        const double y = yOf(v);
        p.setPen(QPen(QColor(192, 192, 192), 15));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setPen(Qt::black);
        const QString n = QString::number(v);
        p.drawText(QPointF(plot.left() - fm.height() * 0.3 - fm.horizontalAdvance(n), y + fm.ascent() / 2 - fm.descent() / 2), n);
    }
    p.setPen(QPen(Qt::black, 22));
    p.drawLine(QPointF(plot.left(), plot.top()), QPointF(plot.left(), plot.bottom()));
    p.drawLine(QPointF(plot.left(), axisY), QPointF(plot.right(), axisY));

    // The bars, their scores and what is written under them.
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Run &r = runs[i];
        const double x = plot.left() + i * l.slot;
        const double barW = l.slot * 0.6;
        const QRectF bar = QRectF(QPointF(x + (l.slot - barW) / 2, yOf(r.score)), QPointF(x + (l.slot + barW) / 2, axisY)).normalized();
        const QColor c(r.color & 0xFF, (r.color >> 8) & 0xFF, (r.color >> 16) & 0xFF);
        if (r.current) {
            p.fillRect(bar, c);
        } else {
            p.setPen(QPen(c, 15));
            p.setBrush(Qt::NoBrush);
            p.drawRect(bar);
        }
        p.setPen(r.current ? QColor(0, 96, 96) : QColor(Qt::black));
        const QString score = r.labelText();
        const double sw = fm.horizontalAdvance(score);
        if (l.scoresTurned) {
            // Read from the bottom up, starting just off the bar's end.
            p.save();
            p.translate(x + l.slot / 2 + (fm.ascent() - fm.descent()) / 2, r.score >= 0 ? bar.top() - 20 : bar.bottom() + 20 + sw);
            p.rotate(-90);
            p.drawText(QPointF(0, 0), score);
            p.restore();
        } else {
            const double sy = r.score >= 0 ? bar.top() - fm.descent() - 10 : bar.bottom() + fm.ascent() + 10;
            p.drawText(QPointF(x + (l.slot - sw) / 2, sy), score);
        }

        p.setPen(Qt::black);
        const QStringList lines = labelLines(r, caption);
        const double below = plot.bottom() + fm.height() * 0.3;
        if (!l.turned) {
            double y = below + fm.ascent();
            for (const QString &s : lines) {
                p.drawText(QPointF(x + (l.slot - fm.horizontalAdvance(s)) / 2, y), s);
                y += fm.height();
            }
        } else {
            // A quarter turn to the left, read from the bottom up, ending
            // just under the axis.
            const double room = box.height() - below - fm.height() * 0.3;
            const QString text = fm.elidedText(lines.join(u' '), Qt::ElideRight, std::max(1.0, room));
            p.save();
            p.translate(x + l.slot / 2 + (fm.ascent() - fm.descent()) / 2, below);
            p.rotate(-90);
            p.drawText(QPointF(-fm.horizontalAdvance(text), 0), text);
            p.restore();
        }
    }
    p.restore();
}

} // namespace chart
