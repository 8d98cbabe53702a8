#include "worksheet/WorksheetPages.h"

#include "ui/CanvasPainter.h"
#include "ui/Fonts.h"
#include "worksheet/AnswerTypeset.h"

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

// The text as the line breaker sees it: the blanks of an answer's place
// "{   }" do not break, so the braces stay together on one line.
QString unbreakableBlanks(const QString &text)
{
    QString s = text;
    bool inBraces = false;
    for (QChar &c : s) {
        if (c == u'{')
            inBraces = true;
        else if (c == u'}')
            inBraces = false;
        else if (inBraces && c == u' ')
            c = QChar(0x00A0);
    }
    return s;
}

} // namespace

QStringList wrapLines(const QString &text, const QFont &f, double width)
{
    // Lines are cut from the text as given; only the breaking sees the
    // unbreakable blanks, so the printed text keeps its own characters.
    QTextLayout layout(unbreakableBlanks(text), f);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

SheetLayout::SheetLayout(const Sheet &sheet, const SheetOptions &options) : sheet_(sheet), options_(options)
{
    options_.columns = std::clamp(options_.columns, 2, 3);
    const int count = int(sheet.entries.size());

    // Every cell keeps room for the longest question, so figures line up.
    cellWidth_ = cellWidthFor(options_.columns);
    const QFont qf = questionFont();
    const double textWidth = cellWidth_ - 2 * kPad - numberIndent(numberFont(), count);
    int lines = 1;
    for (const Entry &e : sheet.entries)
        lines = std::max(lines, int(wrapLines(e.question, qf, textWidth).size()));
    textReserve_ = lines * QFontMetricsF(qf).lineSpacing() + kPad;
    double aspect = 1; // height over width of the drawing area
    if (!sheet.entries.empty() && sheet.entries.front().figure.Width > 0)
        aspect = double(sheet.entries.front().figure.Height) / sheet.entries.front().figure.Width;
    const double figureHeight = (cellWidth_ - 2 * kPad) * aspect;
    const double needed = textReserve_ + figureHeight + 2 * kPad;
    rows_ = std::max(1, int((contentHeight() + kGutter) / (needed + kGutter)));
    cellHeight_ = (contentHeight() - (rows_ - 1) * kGutter) / rows_;

    // The key: rows as tall as the tallest answer with its notes.
    keyCellWidth_ = cellWidthFor(kKeyColumns);
    MathBox tallest;
    int notes = 0;
    for (const Entry &e : sheet.entries) {
        const MathBox b = measureMath(parseMath(e.expected), keyFont());
        tallest.ascent = std::max(tallest.ascent, b.ascent);
        tallest.descent = std::max(tallest.descent, b.descent);
        notes = std::max(notes, int(keyNotes(e).size()));
    }
    keyAscent_ = tallest.ascent;
    keyCellHeight_ = tallest.ascent + tallest.descent + notes * QFontMetricsF(noteFont()).lineSpacing() + 2 * kPad;
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
    double baseline = cell.top() + kPad + fm.ascent();
    p.setPen(Qt::black);
    p.setFont(nf);
    p.drawText(QPointF(cell.left() + kPad, baseline), QString::number(e.number) + u'.');
    p.setFont(qf);
    for (const QString &line : wrapLines(e.question, qf, cell.width() - 2 * kPad - indent)) {
        p.drawText(QPointF(cell.left() + kPad + indent, baseline), line);
        baseline += fm.lineSpacing();
    }
    const QRectF area(cell.left() + kPad, cell.top() + kPad + textReserve_, cell.width() - 2 * kPad,
                      cell.height() - textReserve_ - 2 * kPad);
    paintFigure(p, e.figure, area);
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
    paintCanvas(p, onPaper, scale, paintOptionsFor(onPaper, QSizeF(figure.Width, figure.Height)));
    p.restore();
    p.setPen(QPen(kRule, 8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
}

QStringList SheetLayout::keyNotes(const Entry &e) const
{
    QStringList notes;
    if (isTypeset(parseMath(e.expected)))
        notes << e.expected; // the answer as it is typed, on one line
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
