#include "worksheet/WorksheetPages.h"

#include "ui/CanvasPainter.h"
#include "ui/Fonts.h"
#include "worksheet/AnswerTypeset.h"
#include "wrap/LineBreak.h"

#include <QFontMetricsF>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace worksheet {

namespace {

constexpr double kMargin = 850;   // 15 mm round the page
constexpr double kHeading = 1250; // title, name and date, rule
constexpr double kGutter = 120;   // between cells
constexpr double kPad = 90;       // inside a cell
constexpr int kKeyColumns = 4;

const QColor kRule(150, 150, 150);
const QColor kNote(80, 80, 80);

QFont font(double pt, bool bold = false) { return fonts::twipsFont(QString(), pt, bold); }
QFont questionFont() { return font(10); }
QFont numberFont() { return font(10, true); }
QFont keyFont() { return font(13); }
QFont keyNumberFont() { return font(11, true); }
QFont noteFont() { return font(8); }
QFont answerFont() { return font(12); }

double contentWidth() { return kPageWidth - 2 * kMargin; }
double contentHeight() { return kPageHeight - 2 * kMargin - kHeading; }

// Width of a cell when n share a row.
double cellWidthFor(int n) { return (contentWidth() - (n - 1) * kGutter) / n; }

// The indent that keeps every question's text clear of the widest number.
double numberIndent(const QFont &f, int count)
{
    return QFontMetricsF(f).horizontalAdvance(QString::number(count) + u'.') + 80;
}

void drawLine(QPainter &p, QPointF a, QPointF b, const QColor &c, double width)
{
    p.setPen(QPen(c, width));
    p.drawLine(a, b);
}

// The height a line of question text takes: a line with a stacked fraction
// is taller than one without.
double lineHeight(const QString &line, const QFont &f)
{
    const QFontMetricsF fm(f);
    const MathBox b = measureMath(parseMath(line), f);
    return std::max(fm.lineSpacing(), b.ascent + b.descent + fm.leading() + fm.height() * 0.15);
}

double linesHeight(const QStringList &lines, const QFont &f)
{
    double h = 0;
    for (const QString &l : lines)
        h += lineHeight(l, f);
    return h;
}

// The box a typed answer is written in: as wide as the answer set in the
// answer font, with room round it.
QSizeF answerBoxFor(const QString &expected)
{
    const MathBox b = measureMath(parseMath(expected), answerFont());
    const double em = QFontMetricsF(answerFont()).height();
    return QSizeF(std::max(b.width + 2 * em, 4 * em), b.ascent + b.descent + em * 0.6);
}

} // namespace

QStringList wrapLines(const QString &text, const QFont &f, double width)
{
    // Japanese line breaking (wrap/LineBreak.h), each piece measured as it
    // is set: fractions stacked, powers raised.
    return wrap::wrapToWidth(
        text, [&f](const QString &s) { return measureMath(parseMath(s), f).width; }, width);
}

SheetLayout::SheetLayout(const Sheet &sheet, const SheetOptions &options) : sheet_(sheet), options_(options)
{
    options_.columns = std::clamp(options_.columns, 2, 3);
    const int count = int(sheet.entries.size());

    // Every cell keeps room for the longest question, so figures line up.
    cellWidth_ = cellWidthFor(options_.columns);
    const QFont qf = questionFont();
    const double textWidth = cellWidth_ - 2 * kPad - numberIndent(numberFont(), count);
    double tallest = QFontMetricsF(qf).lineSpacing();
    for (const Entry &e : sheet.entries)
        tallest = std::max(tallest, linesHeight(wrapLines(e.question, qf, textWidth), qf));
    textReserve_ = tallest + kPad;
    // Room under the figure for the box the answer is written in.
    answerReserve_ = 0;
    for (const Entry &e : sheet.entries)
        if (!e.drawn)
            answerReserve_ = std::max(answerReserve_, answerBoxFor(e.expected).height() + kPad);
    double aspect = 1; // height over width of the drawing area
    if (!sheet.entries.empty() && sheet.entries.front().figure.Width > 0)
        aspect = double(sheet.entries.front().figure.Height) / sheet.entries.front().figure.Width;
    const double figureHeight = (cellWidth_ - 2 * kPad) * aspect;
    const double needed = textReserve_ + figureHeight + answerReserve_ + 2 * kPad;
    rows_ = std::max(1, int((contentHeight() + kGutter) / (needed + kGutter)));
    cellHeight_ = (contentHeight() - (rows_ - 1) * kGutter) / rows_;

    // The key: rows as tall as the tallest answer with its notes.
    keyCellWidth_ = cellWidthFor(kKeyColumns);
    MathBox highest;
    int notes = 0;
    for (const Entry &e : sheet.entries) {
        const MathBox b = measureMath(parseMath(e.expected), keyFont());
        highest.ascent = std::max(highest.ascent, b.ascent);
        highest.descent = std::max(highest.descent, b.descent);
        notes = std::max(notes, int(keyNotes(e).size()));
    }
    keyAscent_ = highest.ascent;
    keyCellHeight_ = highest.ascent + highest.descent + notes * QFontMetricsF(noteFont()).lineSpacing() + 2 * kPad;
    // An answer drawn on the plane is shown on it: a small copy of the plane.
    if (std::any_of(sheet.entries.begin(), sheet.entries.end(), [](const Entry &e) { return e.drawn; }))
        keyCellHeight_ = std::max(keyCellHeight_, keyAscent_ + (keyCellWidth_ - 2 * kPad) * aspect + 3 * kPad);
    keyRows_ = std::max(1, int(contentHeight() / keyCellHeight_));

    const int perPage = options_.columns * rows_;
    for (int first = 0; first < count; first += perPage)
        pages_.push_back({false, first, std::min(perPage, count - first)});
    questionPages_ = int(pages_.size());
    const int perKeyPage = kKeyColumns * keyRows_;
    if (options_.answers)
        for (int first = 0; first < count; first += perKeyPage)
            pages_.push_back({true, first, std::min(perKeyPage, count - first)});
}

void SheetLayout::paintPage(QPainter &p, int index) const
{
    if (index < 0 || index >= pageCount())
        return;
    const Page &page = pages_[size_t(index)];
    p.fillRect(QRectF(0, 0, kPageWidth, kPageHeight), Qt::white);
    paintHeading(p, index, page.key);
    paintFooter(p);
    const int columns = page.key ? kKeyColumns : options_.columns;
    const double w = page.key ? keyCellWidth_ : cellWidth_;
    const double h = page.key ? keyCellHeight_ : cellHeight_;
    const double gapY = page.key ? 0 : kGutter;
    for (int i = 0; i < page.count; ++i) {
        const Entry &e = sheet_.entries[size_t(page.first + i)];
        const QRectF cell(kMargin + (i % columns) * (w + kGutter), kMargin + kHeading + (i / columns) * (h + gapY), w, h);
        if (page.key)
            paintKeyEntry(p, e, cell);
        else
            paintQuestion(p, e, cell);
    }
}

void SheetLayout::paintHeading(QPainter &p, int index, bool key) const
{
    const QFont title = font(13, true), small = font(9), name = font(11);
    const double top = kMargin, right = kPageWidth - kMargin;
    p.setPen(Qt::black);
    p.setFont(title);
    const QString heading = u"ソレムカゼミ　"_qs + sheet_.title + (key ? u"　解答"_qs : u"　練習プリント"_qs);
    p.drawText(QPointF(kMargin, top + QFontMetricsF(title).ascent()), heading);
    p.setFont(small);
    const QString pageText = QStringLiteral("%1 / %2").arg(index + 1).arg(pageCount());
    const QFontMetricsF sm(small);
    p.drawText(QPointF(right - sm.horizontalAdvance(pageText), top + sm.ascent()), pageText);

    if (!key) {
        // Blanks to write on: the name, then the month and the day.
        const QFontMetricsF nm(name);
        const double base = top + 700;
        p.setFont(name);
        p.drawText(QPointF(kMargin, base), u"名前"_qs);
        const double nameStart = kMargin + nm.horizontalAdvance(u"名前"_qs) + 100;
        drawLine(p, {nameStart, base + 60}, {nameStart + 5200, base + 60}, Qt::black, 12);
        const double dateLabel = nameStart + 5600;
        p.setPen(Qt::black);
        p.drawText(QPointF(dateLabel, base), u"日付"_qs);
        const double dateStart = dateLabel + nm.horizontalAdvance(u"日付"_qs) + 100;
        p.drawText(QPointF(dateStart + 900, base), u"月"_qs);
        p.drawText(QPointF(dateStart + 2000, base), u"日"_qs);
        drawLine(p, {dateStart, base + 60}, {right, base + 60}, Qt::black, 12);
    }
    drawLine(p, {kMargin, top + kHeading - 180}, {right, top + kHeading - 180}, kRule, 10);
}

// A sheet in new numbers names its seed at the foot of every page, so that
// the same questions can be printed again (soremuka --worksheet ITEM
// --variant SEED).
void SheetLayout::paintFooter(QPainter &p) const
{
    if (sheet_.variantSeed.isEmpty())
        return;
    const QFont small = font(9);
    p.setFont(small);
    p.setPen(kNote);
    const QString text = u"新しい数で出題　番号 "_qs + sheet_.variantSeed;
    p.drawText(QPointF(kMargin, kPageHeight - kMargin / 2 + QFontMetricsF(small).ascent() / 2), text);
}

void SheetLayout::paintQuestion(QPainter &p, const Entry &e, QRectF cell) const
{
    drawLine(p, cell.topLeft(), cell.topRight(), kRule, 8);
    const QFont nf = numberFont(), qf = questionFont();
    const QFontMetricsF fm(qf);
    const double indent = numberIndent(nf, int(sheet_.entries.size()));
    const QStringList lines = wrapLines(e.question, qf, cell.width() - 2 * kPad - indent);
    // The first line's baseline leaves room for a fraction's numerator.
    double top = cell.top() + kPad;
    p.setPen(Qt::black);
    for (int i = 0; i < lines.size(); ++i) {
        const MathBox b = measureMath(parseMath(lines[i]), qf);
        const double h = lineHeight(lines[i], qf);
        const double baseline = top + (h - b.ascent - b.descent) / 2 + b.ascent;
        if (i == 0) {
            p.setFont(nf);
            p.drawText(QPointF(cell.left() + kPad, baseline), QString::number(e.number) + u'.');
        }
        // Set as the answer box's preview sets it: fractions stacked.
        drawMath(p, QPointF(cell.left() + kPad + indent, baseline), parseMath(lines[i]), qf);
        top += h;
    }
    const QRectF area(cell.left() + kPad, cell.top() + kPad + textReserve_, cell.width() - 2 * kPad,
                      cell.height() - textReserve_ - answerReserve_ - 2 * kPad);
    paintFigure(p, e.figure, area);
    if (!e.drawn)
        paintAnswerBox(p, e, QRectF(area.left(), area.bottom(), area.width(), answerReserve_));
}

void SheetLayout::paintAnswerBox(QPainter &p, const Entry &e, QRectF row) const
{
    // "答え" and a box as wide as the answer: the drawn answers are written
    // on the plane itself.
    const QFont f = answerFont();
    const QFontMetricsF fm(f);
    const QSizeF size = answerBoxFor(e.expected);
    const QString label = u"答え"_qs;
    const double labelWidth = fm.horizontalAdvance(label) + fm.height() * 0.4;
    const double w = std::min(size.width(), row.width() - labelWidth);
    const QRectF box(row.right() - w, row.top() + kPad, w, size.height());
    p.setPen(Qt::black);
    p.setFont(f);
    p.drawText(QPointF(box.left() - labelWidth, box.center().y() + (fm.ascent() - fm.descent()) / 2), label);
    p.setPen(QPen(Qt::black, 12));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
}

void SheetLayout::paintFigure(QPainter &p, const Canvas &figure, QRectF area) const
{
    if (figure.Width <= 0 || figure.Height <= 0 || area.width() <= 0 || area.height() <= 0)
        return;
    const double scale = std::min(area.width() / figure.Width, area.height() / figure.Height);
    const QSizeF size(figure.Width * scale, figure.Height * scale);
    const QRectF box(area.left() + (area.width() - size.width()) / 2, area.top(), size.width(), size.height());
    // On paper the figure stands on white: the screen's tint would only
    // grey the page and use up the printer's ink.
    Canvas onPaper = figure;
    onPaper.BackColor = 0xFFFFFF;
    p.save();
    p.translate(box.topLeft());
    PaintOptions options = paintOptionsFor(onPaper, QSizeF(figure.Width, figure.Height));
    options.paper = true;
    paintCanvas(p, onPaper, scale, options);
    p.restore();
    p.setPen(QPen(kRule, 8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
}

QStringList SheetLayout::keyNotes(const Entry &e) const
{
    QStringList notes;
    if (e.drawn)
        return notes; // the key shows the plane with the answer drawn
    if (isTypeset(parseMath(e.expected)))
        notes << typedKeys(e.expected); // the keys that type it, on one line
    if (e.expected != e.answer)
        notes << u"点 "_qs + e.answer; // the point the coordinate is read from
    return notes;
}

void SheetLayout::paintKeyEntry(QPainter &p, const Entry &e, QRectF cell) const
{
    const QFont nf = keyNumberFont(), af = keyFont(), note = noteFont();
    const double indent = numberIndent(nf, int(sheet_.entries.size()));
    const double baseline = cell.top() + kPad + keyAscent_;
    p.setPen(Qt::black);
    p.setFont(nf);
    p.drawText(QPointF(cell.left() + kPad, baseline), QString::number(e.number) + u'.');
    if (e.drawn) {
        // The answer set as on the sheet, and its plane with it drawn.
        drawMath(p, QPointF(cell.left() + kPad + indent, baseline), parseMath(e.answer), af);
        const double below = baseline + measureMath(parseMath(e.answer), af).descent + kPad;
        paintFigure(p, e.keyFigure, QRectF(cell.left() + kPad, below, cell.width() - 2 * kPad, cell.bottom() - below - kPad));
        return;
    }
    drawMath(p, QPointF(cell.left() + kPad + indent, baseline), parseMath(e.expected), af);

    const QFontMetricsF fm(note);
    double y = baseline + measureMath(parseMath(e.expected), af).descent + fm.ascent();
    p.setPen(kNote);
    p.setFont(note);
    for (const QString &line : keyNotes(e)) {
        p.drawText(QPointF(cell.left() + kPad + indent, y), line);
        y += fm.lineSpacing();
    }
}

} // namespace worksheet
