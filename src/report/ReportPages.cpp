#include "report/ReportPages.h"

#include "ui/CanvasPainter.h"
#include "ui/Fonts.h"
#include "worksheet/AnswerTypeset.h"
#include "worksheet/WorksheetPages.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace report {

namespace {

using worksheet::kPageHeight;
using worksheet::kPageWidth;

constexpr double kMargin = 850;  // 15 mm round the page
constexpr double kHeader = 1000; // title, period, rule
constexpr double kTop = kMargin + kHeader;
constexpr double kBottom = kPageHeight - kMargin;
constexpr double kWidth = kPageWidth - 2 * kMargin;

// The overview's table.
constexpr double kNameWidth = 1600;
constexpr double kTotalWidth = 2000;
constexpr double kMaxCellWidth = 2100;
constexpr double kTableHead = 560;
constexpr double kRow = 420;

// The most-missed questions.
constexpr double kThumb = 1800;       // the figure's box
constexpr double kAnswerWidth = 2700; // the answer's column

const QColor kRule(150, 150, 150);
const QColor kGrid(205, 205, 205);
const QColor kShade(243, 243, 243);
const QColor kNote(90, 90, 90);
const QColor kInk(30, 70, 160);
const QColor kBelowZero(190, 50, 50);

QFont font(double pt, bool bold = false) { return fonts::twipsFont(QString(), pt, bold); }

QStringList legend()
{
    return {u"各欄：回数・最高点・最後の点と、期間中の点数の動き（右端が最後）。合計の欄は回数・最高点・やった人数。"_qs,
            u"正解・ミスの「—」は、点数だけが残る記録ファイルの回（生徒の記録ファイルがない回）です。"_qs};
}

QString nameOf(const Learner &l) { return l.named ? l.name : l.name + u"（名前なし）"_qs; }

QString dayText(const QDate &d) { return d.isValid() ? d.toString(Qt::ISODate) : u"—"_qs; }

void text(QPainter &p, const QFont &f, QPointF baseline, const QString &s, const QColor &c = Qt::black)
{
    p.setFont(f);
    p.setPen(c);
    p.drawText(baseline, s);
}

// A text cut to the width, with "…" where it was cut.
QString fit(const QString &s, const QFont &f, double width)
{
    return QFontMetricsF(f).elidedText(s, Qt::ElideRight, width);
}

void rightText(QPainter &p, const QFont &f, double right, double baseline, const QString &s,
               const QColor &c = Qt::black)
{
    text(p, f, QPointF(right - QFontMetricsF(f).horizontalAdvance(s), baseline), s, c);
}

void centredText(QPainter &p, const QFont &f, double centre, double baseline, const QString &s,
                 const QColor &c = Qt::black)
{
    text(p, f, QPointF(centre - QFontMetricsF(f).horizontalAdvance(s) / 2, baseline), s, c);
}

void line(QPainter &p, QPointF a, QPointF b, const QColor &c, double width)
{
    p.setPen(QPen(c, width));
    p.drawLine(a, b);
}

// The scores as a small line from the oldest to the newest, with the last
// one marked; zero is the bottom unless a score lies below it.
void sparkline(QPainter &p, QRectF box, const std::vector<int> &scores)
{
    if (scores.empty())
        return;
    const auto [lo0, hi0] = std::minmax_element(scores.begin(), scores.end());
    const double lo = std::min(0, *lo0), hi = std::max(*hi0, 1);
    const auto at = [&](size_t i) {
        const double x = scores.size() == 1 ? box.center().x()
                                            : box.left() + box.width() * double(i) / double(scores.size() - 1);
        return QPointF(x, box.bottom() - box.height() * (scores[i] - lo) / (hi - lo));
    };
    p.setBrush(Qt::NoBrush);
    if (scores.size() > 1) {
        QPolygonF points;
        for (size_t i = 0; i < scores.size(); ++i)
            points << at(i);
        p.setPen(QPen(kInk, 14, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(points);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(at(scores.size() - 1), 28, 28);
    p.setBrush(Qt::NoBrush);
}

// A learner's scores in one family as bars, oldest on the left.
void bars(QPainter &p, QRectF box, const QString &title, const std::vector<Run> &runs)
{
    p.setPen(QPen(kRule, 8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
    Summary s;
    for (const Run &r : runs)
        s.add(r);
    const QFont tf = font(8.5, true), small = font(7);
    const QFontMetricsF tm(tf), sm(small);
    const QString head = title + QStringLiteral("　%1回　最高 %2　最後 %3").arg(s.runs).arg(s.best).arg(s.last);
    text(p, tf, QPointF(box.left() + 80, box.top() + 60 + tm.ascent()), fit(head, tf, box.width() - 160));

    const QRectF plot(box.left() + 420, box.top() + 120 + tm.height(), box.width() - 520,
                      box.height() - 240 - tm.height() - sm.height());
    if (plot.height() <= 0 || s.runs == 0)
        return;
    const auto [lo0, hi0] = std::minmax_element(s.scores.begin(), s.scores.end());
    const double lo = std::min(0, *lo0), hi = std::max(*hi0, 1);
    const auto y = [&](double v) { return plot.bottom() - plot.height() * (v - lo) / (hi - lo); };
    // The scale: the highest score and zero (and the lowest, below zero).
    for (double v : {hi, 0.0, lo}) {
        if (v == lo && lo == 0 && v != 0.0)
            continue;
        line(p, {plot.left(), y(v)}, {plot.right(), y(v)}, kGrid, 6);
        rightText(p, small, plot.left() - 60, y(v) + sm.ascent() / 2 - 10, QString::number(int(v)), kNote);
    }
    const double slot = plot.width() / s.runs;
    const double w = std::clamp(slot * 0.7, 6.0, 360.0);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < s.runs; ++i) {
        const double v = s.scores[size_t(i)];
        const double x = plot.left() + slot * (i + 0.5) - w / 2;
        p.setBrush(v < 0 ? kBelowZero : kInk);
        p.drawRect(QRectF(QPointF(x, std::min(y(v), y(0))), QPointF(x + w, std::max(y(v), y(0)))));
    }
    p.setBrush(Qt::NoBrush);
    const QString format = runs.front().date.year() == runs.back().date.year() ? u"M/d"_qs : u"yyyy/M/d"_qs;
    const double base = plot.bottom() + 40 + sm.ascent();
    text(p, small, QPointF(plot.left(), base), runs.front().date.toString(format), kNote);
    if (s.runs > 1)
        rightText(p, small, plot.right(), base, runs.back().date.toString(format), kNote);
}

// The figure of a question as the worksheet draws it: on white paper,
// framed, scaled into the box.
void thumbnail(QPainter &p, const Canvas &figure, QRectF area)
{
    if (figure.Width <= 0 || figure.Height <= 0 || figure.ops().empty())
        return;
    const double scale = std::min(area.width() / figure.Width, area.height() / figure.Height);
    const QRectF box(area.left(), area.top(), figure.Width * scale, figure.Height * scale);
    Canvas onPaper = figure;
    onPaper.BackColor = 0xFFFFFF;
    p.save();
    p.translate(box.topLeft());
    p.setClipRect(QRectF(0, 0, box.width(), box.height()));
    paintCanvas(p, onPaper, scale, paintOptionsFor(onPaper, QSizeF(figure.Width, figure.Height)));
    p.restore();
    p.setPen(QPen(kRule, 8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
}

// An answer set as a teacher writes it, made smaller until it fits.
void answer(QPainter &p, QPointF baseline, const QString &typed, double width, double pt)
{
    const auto pieces = worksheet::parseMath(typed);
    QFont f = font(pt);
    for (double size = pt; size > 6; size -= 1) {
        f = font(size);
        if (worksheet::measureMath(pieces, f).width <= width)
            break;
    }
    p.setPen(Qt::black);
    worksheet::drawMath(p, baseline, pieces, f);
}

} // namespace

ReportLayout::ReportLayout(const ClassData &data, QuestionBook &book, const QDate &made, const QStringList &folders)
    : data_(data), book_(book), made_(made), folders_(folders), overview_(overviewOf(data))
{
    headingHeight_ = 520;
    itemHeight_ = kThumb + 160;
    noteLine_ = QFontMetricsF(font(9)).lineSpacing();

    // The class at a glance: as many learners to a page as fit, the totals
    // after the last; a page's columns at most kFamiliesPerPage, shared
    // out evenly (eleven families: four, four and three, not five, five, one).
    const int learners = int(data.learners.size());
    const int perPage = std::max(1, int((kBottom - kTop - kTableHead) / kRow));
    const int families = int(overview_.families.size());
    const int groups = std::max(1, (families + kFamiliesPerPage - 1) / kFamiliesPerPage);
    perGroup_ = std::max(1, (families + groups - 1) / groups);
    for (int g = 0; g < groups; ++g) {
        int first = 0;
        for (;;) {
            const int count = std::min(perPage, learners - first);
            const bool totals = first + count == learners && count < perPage;
            pages_.push_back({Kind::Overview, first, count, g, totals});
            first += count;
            if (first >= learners) {
                if (!totals)
                    pages_.push_back({Kind::Overview, first, 0, g, true});
                break;
            }
        }
    }

    // The questions the class misses most, set by set.
    const std::vector<QuestionRow> rows = questionRowsOf(data);
    for (size_t i = 0; i < rows.size();) {
        const QString item = rows[i].key.item;
        size_t end = i;
        Item heading{true, item, {}, 0, 0, 0};
        while (end < rows.size() && rows[end].key.item == item) {
            heading.answers += rows[end].answers;
            heading.misses += rows[end].misses;
            ++end;
        }
        std::vector<Item> shown;
        for (size_t k = i; k < end && int(shown.size()) < kClassQuestions; ++k)
            if (rows[k].misses > 0)
                shown.push_back({false, item, rows[k], int(shown.size()) + 1, 0, 0});
        if (!shown.empty()) {
            items_.push_back(heading);
            items_.insert(items_.end(), shown.begin(), shown.end());
        }
        i = end;
    }
    if (!items_.empty()) {
        int first = 0;
        while (first < int(items_.size())) {
            double y = kTop + 200;
            int count = 0;
            while (first + count < int(items_.size())) {
                const Item &it = items_[size_t(first + count)];
                // A set's heading stays with its first question.
                const double need = it.heading ? headingHeight_ + itemHeight_ : itemHeight_;
                if (y + need > kBottom && count > 0)
                    break;
                y += it.heading ? headingHeight_ : itemHeight_;
                ++count;
            }
            pages_.push_back({Kind::Questions, first, count, 0, false});
            first += count;
        }
    } else {
        pages_.push_back({Kind::Questions, 0, 0, 0, false}); // says that nothing was missed
    }
    for (const Item &it : items_)
        if (!it.heading)
            entries_[it.row.key] = book_.entry(it.row.key);

    // A page per learner.
    for (int i = 0; i < learners; ++i) {
        learnerMisses_.push_back(missedBy(data.learners[size_t(i)], kLearnerQuestions));
        for (const QuestionRow &q : learnerMisses_.back())
            if (!entries_.count(q.key))
                entries_[q.key] = book_.entry(q.key);
        pages_.push_back({Kind::Learner, i, 1, 0, false});
    }

    // What was read, and what was not.
    int named = 0;
    for (const Learner &l : data.learners)
        named += l.named ? 1 : 0;
    const QFont body = font(10), head = font(11, true), nf = font(9);
    const QStringList intro = QStringList{
        QStringLiteral("生徒 %1 人、フォルダ %2、記録ファイル %3 を読みました。").arg(named).arg(data.folders).arg(data.files),
        u"読んだフォルダ："_qs + folders.join(u"、"_qs),
    } + legend();
    for (const QString &s : intro)
        introLines_ << worksheet::wrapLines(s, body, kWidth);
    introHeight_ = introLines_.size() * QFontMetricsF(body).lineSpacing() + 300 + QFontMetricsF(head).lineSpacing() + 100;
    for (const Note &n : data.notes)
        for (const QString &l : worksheet::wrapLines(describe(n), nf, kWidth - 300))
            noteLines_ << l;
    int first = 0;
    do {
        const double room = kBottom - kTop - (first == 0 ? introHeight_ : 0);
        const int count = std::min(std::max(1, int(room / noteLine_)), int(noteLines_.size()) - first);
        pages_.push_back({Kind::Notes, first, count, 0, false});
        first += count;
    } while (first < int(noteLines_.size()));
}

worksheet::Pages ReportLayout::pages() const
{
    return {pageCount(), [this](QPainter &p, int i) { paintPage(p, i); }};
}

int ReportLayout::firstQuestionPage() const
{
    for (size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i].kind == Kind::Questions)
            return int(i);
    return -1;
}

int ReportLayout::learnerPage(int learner) const
{
    for (size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i].kind == Kind::Learner && pages_[i].first == learner)
            return int(i);
    return -1;
}

int ReportLayout::notesPage() const
{
    for (size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i].kind == Kind::Notes)
            return int(i);
    return -1;
}

const worksheet::Entry *ReportLayout::entry(const QuestionKey &key) const
{
    const auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : it->second;
}

QString ReportLayout::periodText() const
{
    const QDate from = data_.filter.from.isValid() ? data_.filter.from : data_.firstDay;
    const QDate to = data_.filter.to.isValid() ? data_.filter.to : data_.lastDay;
    QString s = QStringLiteral("期間 %1 〜 %2　　作成 %3").arg(dayText(from), dayText(to), dayText(made_));
    if (!data_.filter.item.isEmpty())
        s += QStringLiteral("　　セット %1（%2）").arg(book_.title(data_.filter.item), data_.filter.item);
    return s;
}

void ReportLayout::paintPage(QPainter &p, int index) const
{
    if (index < 0 || index >= pageCount())
        return;
    const Page &page = pages_[size_t(index)];
    p.fillRect(QRectF(0, 0, kPageWidth, kPageHeight), Qt::white);
    switch (page.kind) {
    case Kind::Overview:
        paintHeading(p, index, u"クラスのようす"_qs);
        paintOverview(p, page);
        break;
    case Kind::Questions:
        paintHeading(p, index, u"クラスがよく間違える問題"_qs);
        paintQuestions(p, page);
        break;
    case Kind::Learner:
        paintHeading(p, index, nameOf(data_.learners[size_t(page.first)]));
        paintLearner(p, page.first);
        break;
    case Kind::Notes:
        paintHeading(p, index, u"読みこんだもの"_qs);
        paintNotes(p, page);
        break;
    }
}

void ReportLayout::paintHeading(QPainter &p, int index, const QString &part) const
{
    const QFont title = font(13, true), small = font(9);
    const QFontMetricsF tm(title), sm(small);
    text(p, title, QPointF(kMargin, kMargin + tm.ascent()), u"ソレムカゼミ　クラスの記録　"_qs + part);
    rightText(p, small, kPageWidth - kMargin, kMargin + sm.ascent(),
              QStringLiteral("%1 / %2").arg(index + 1).arg(pageCount()));
    text(p, small, QPointF(kMargin, kMargin + tm.height() + 120 + sm.ascent()), periodText(), kNote);
    line(p, {kMargin, kTop - 160}, {kPageWidth - kMargin, kTop - 160}, kRule, 10);
}

void ReportLayout::paintOverview(QPainter &p, const Page &page) const
{
    const int from = page.group * perGroup_;
    const int columns = std::min<int>(perGroup_, int(overview_.families.size()) - from);
    const double cell = columns > 0 ? std::min(kMaxCellWidth, (kWidth - kNameWidth - kTotalWidth) / columns) : 0;
    const double tableWidth = kNameWidth + columns * cell + kTotalWidth;
    const double left = kMargin;
    const double totalLeft = left + kNameWidth + columns * cell;
    const QFont head = font(8.5, true), sub = font(6.5), num = font(8), name = font(9), bold = font(8, true);
    const QFontMetricsF hm(head), sm(sub), nm(num), namem(name);

    // The head: each family's name, and what its three numbers are.
    double y = kTop;
    const auto threeLabels = [&](double x, double w, const QStringList &labels) {
        for (int k = 0; k < 3; ++k)
            rightText(p, sub, x + w * (k + 1) / 3 - 50, y + kTableHead - 90, labels[k], kNote);
    };
    text(p, head, QPointF(left + 60, y + 80 + hm.ascent()), u"名前"_qs);
    for (int c = 0; c < columns; ++c) {
        const double x = left + kNameWidth + c * cell;
        const QString family = overview_.families[from + c];
        // A long family name is set smaller rather than cut.
        QFont shrunk = head;
        for (double pt = 8.5; pt > 6 && QFontMetricsF(shrunk).horizontalAdvance(family) > cell - 80; pt -= 0.5)
            shrunk = font(pt - 0.5, true);
        centredText(p, shrunk, x + cell / 2, y + 80 + hm.ascent(), fit(family, shrunk, cell - 80));
        threeLabels(x, cell, {u"回数"_qs, u"最高"_qs, u"最後"_qs});
    }
    centredText(p, head, totalLeft + kTotalWidth / 2, y + 80 + hm.ascent(), u"合計"_qs);
    threeLabels(totalLeft, kTotalWidth, {u"回数"_qs, u"正解"_qs, u"ミス"_qs});
    y += kTableHead;
    line(p, {left, y}, {left + tableWidth, y}, kRule, 12);

    const auto numbers = [&](double x, double w, double base, const QStringList &values, const QFont &f) {
        for (int k = 0; k < 3; ++k)
            rightText(p, f, x + w * (k + 1) / 3 - 50, base, values[k]);
    };
    const auto counted = [](const Summary &s, int v) { return s.counted ? QString::number(v) : u"—"_qs; };
    for (int r = 0; r < page.count; ++r) {
        const int i = page.first + r;
        const Learner &l = data_.learners[size_t(i)];
        if (i % 2 == 1)
            p.fillRect(QRectF(left, y, tableWidth, kRow), kShade);
        const double base = y + 60 + nm.ascent();
        text(p, name, QPointF(left + 60, y + (kRow + namem.ascent() - namem.descent()) / 2),
             fit(nameOf(l), name, kNameWidth - 120), l.named ? QColor(Qt::black) : kNote);
        for (int c = 0; c < columns; ++c) {
            const double x = left + kNameWidth + c * cell;
            const Summary &s = overview_.cells[size_t(i)][size_t(from + c)];
            if (s.runs == 0) {
                centredText(p, num, x + cell / 2, base + 70, u"—"_qs, kRule);
                continue;
            }
            numbers(x, cell, base, {QString::number(s.runs), QString::number(s.best), QString::number(s.last)}, num);
            sparkline(p, QRectF(x + 90, y + 270, cell - 180, kRow - 330), s.scores);
        }
        const Summary &t = overview_.learnerTotals[size_t(i)];
        numbers(totalLeft, kTotalWidth, base + 70,
                {QString::number(t.runs), counted(t, t.right), counted(t, t.misses)}, num);
        y += kRow;
        line(p, {left, y}, {left + tableWidth, y}, kGrid, 6);
    }
    if (page.totals) {
        line(p, {left, y}, {left + tableWidth, y}, kRule, 12);
        const double base = y + (kRow + nm.ascent() - nm.descent()) / 2;
        text(p, bold, QPointF(left + 60, base),
             QStringLiteral("合計（%1人中 %2人）").arg(data_.learners.size()).arg(overview_.total.learners));
        for (int c = 0; c < columns; ++c) {
            const double x = left + kNameWidth + c * cell;
            const Summary &s = overview_.familyTotals[size_t(from + c)];
            numbers(x, cell, base, {QString::number(s.runs), QString::number(s.best), QString::number(s.learners) + u"人"_qs},
                    bold);
        }
        const Summary &t = overview_.total;
        numbers(totalLeft, kTotalWidth, base, {QString::number(t.runs), counted(t, t.right), counted(t, t.misses)}, bold);
        y += kRow;
        line(p, {left, y}, {left + tableWidth, y}, kRule, 12);
        // How to read the table, where the page has room for it (the last
        // page says it too).
        const QFont small = font(7);
        const QFontMetricsF smm(small);
        double note = y + 120 + smm.ascent();
        if (note + smm.lineSpacing() + smm.descent() <= kBottom)
            for (const QString &s : legend()) {
                text(p, small, QPointF(left, note), s, kNote);
                note += smm.lineSpacing();
            }
    }
    // The columns' rules.
    const double top = kTop, bottom = y;
    for (int c = 0; c <= columns; ++c) {
        const double x = left + kNameWidth + c * cell;
        line(p, {x, top}, {x, bottom}, kGrid, 6);
    }
    line(p, {left, top}, {left, bottom}, kGrid, 6);
    line(p, {left + tableWidth, top}, {left + tableWidth, bottom}, kGrid, 6);
    if (page.count == 0 && !page.totals)
        text(p, name, QPointF(left, y + 400), u"生徒がいません。"_qs);
}

void ReportLayout::paintQuestions(QPainter &p, const Page &page) const
{
    if (items_.empty()) {
        text(p, font(11), QPointF(kMargin, kTop + 400), u"この期間に間違えた問題はありません。"_qs);
        return;
    }
    double y = kTop + 100;
    for (int k = 0; k < page.count; ++k) {
        const Item &it = items_[size_t(page.first + k)];
        const double h = it.heading ? headingHeight_ : itemHeight_;
        paintQuestionItem(p, it, QRectF(kMargin, y, kWidth, h));
        y += h;
    }
}

void ReportLayout::paintQuestionItem(QPainter &p, const Item &it, QRectF box) const
{
    if (it.heading) {
        const QFont hf = font(11, true), small = font(8.5);
        const QFontMetricsF hm(hf);
        const double base = box.top() + 120 + hm.ascent();
        text(p, hf, QPointF(box.left(), base), QStringLiteral("%1（%2）").arg(book_.title(it.item), it.item));
        rightText(p, small, box.right(), base,
                  QStringLiteral("この期間の解答 %1 回・ミス %2 回").arg(it.answers).arg(it.misses), kNote);
        line(p, {box.left(), box.bottom() - 60}, {box.right(), box.bottom() - 60}, kRule, 10);
        return;
    }
    const worksheet::Entry *e = entry(it.row.key);
    const bool figure = e && !e->figure.ops().empty();
    const QRectF thumb(box.left(), box.top() + 80, kThumb, kThumb);
    if (figure)
        thumbnail(p, e->figure, thumb);
    const double textLeft = figure ? thumb.right() + 200 : box.left();
    const double textWidth = box.right() - kAnswerWidth - 200 - textLeft;
    const QFont nf = font(9.5, true), qf = font(9), cf = font(8);
    const QFontMetricsF nm(nf), qm(qf), cm(cf);
    double base = box.top() + 80 + nm.ascent();
    text(p, nf, QPointF(textLeft, base), QStringLiteral("%1位　問 %2").arg(it.rank).arg(it.row.key.number));
    base += nm.lineSpacing();
    const QStringList lines = e ? worksheet::wrapLines(e->question, qf, textWidth) : QStringList{u"（問題の文が見つかりません）"_qs};
    const int room = std::max(1, int((box.bottom() - 120 - cm.lineSpacing() - base) / qm.lineSpacing()) + 1);
    for (int i = 0; i < lines.size() && i < room; ++i) {
        const bool last = i == room - 1 && lines.size() > room;
        text(p, qf, QPointF(textLeft, base), last ? fit(lines[i] + u"…"_qs, qf, textWidth) : lines[i]);
        base += qm.lineSpacing();
    }
    text(p, cf, QPointF(textLeft, std::max(base, box.bottom() - 140 - cm.descent())),
         QStringLiteral("間違えた人 %1 人　ミス %2 回　解答 %3 回").arg(it.row.learners).arg(it.row.misses).arg(it.row.answers),
         kNote);
    // The answer a learner types, set as on paper.
    const double answerLeft = box.right() - kAnswerWidth;
    const QFont label = font(8);
    text(p, label, QPointF(answerLeft, box.top() + 80 + QFontMetricsF(label).ascent()), u"正解"_qs, kNote);
    if (e)
        answer(p, QPointF(answerLeft + 100, box.top() + 780), e->expected, kAnswerWidth - 150, 14);
    line(p, {box.left(), box.bottom() - 30}, {box.right(), box.bottom() - 30}, kGrid, 6);
}

void ReportLayout::paintLearner(QPainter &p, int index) const
{
    const Learner &l = data_.learners[size_t(index)];
    const QFont big = font(16, true), body = font(10), small = font(8.5), head = font(11, true);
    const QFontMetricsF bm(big), bodym(body), sm(small), hm(head);
    double y = kTop;
    text(p, big, QPointF(kMargin, y + bm.ascent()), nameOf(l));
    y += bm.lineSpacing() + 60;

    Summary all, reviews;
    std::map<QString, std::vector<Run>> byFamily;
    for (const Run &r : l.runs) {
        (r.family == kReviews ? reviews : all).add(r);
        byFamily[r.family].push_back(r);
    }
    QString summary = QStringLiteral("練習 %1 回").arg(all.runs);
    if (all.counted)
        summary += QStringLiteral("　正解 %1　ミス %2").arg(all.right).arg(all.misses);
    if (reviews.runs)
        summary += QStringLiteral("　復習 %1 回").arg(reviews.runs);
    text(p, body, QPointF(kMargin, y + bodym.ascent()), summary);
    y += bodym.lineSpacing();
    const QString progress = l.hasRecord
        ? QStringLiteral("復習：いまやる問題 %1　あとでやる問題 %2　おわった問題 %3（%4 の時点）")
              .arg(l.due)
              .arg(l.waiting)
              .arg(l.done)
              .arg(dayText(data_.day))
        : u"この生徒の記録ファイル（きろく.txt）はありません：点数のほかは分かりません。"_qs;
    text(p, body, QPointF(kMargin, y + bodym.ascent()), progress);
    y += bodym.lineSpacing() + 200;

    // The scores per family, two charts to a row.
    const QStringList families = familiesOf(data_);
    std::vector<QString> shown;
    for (const QString &f : families)
        if (byFamily.count(f))
            shown.push_back(f);
    const double listHeight = hm.lineSpacing() + 200 + kLearnerQuestions * 560.0;
    if (!shown.empty()) {
        const int rows = int((shown.size() + 1) / 2);
        const double gap = 160;
        const double h = std::min(2300.0, (kBottom - listHeight - y - (rows - 1) * gap) / rows);
        const double w = (kWidth - gap) / 2;
        for (size_t i = 0; i < shown.size(); ++i) {
            const QRectF box(kMargin + (i % 2) * (w + gap), y + (i / 2) * (h + gap), w, h);
            bars(p, box, shown[i], byFamily[shown[i]]);
        }
        y += rows * (h + gap);
    } else {
        text(p, body, QPointF(kMargin, y + bodym.ascent()), u"この期間の練習はありません。"_qs, kNote);
        y += bodym.lineSpacing() + 100;
    }

    // The questions they miss most.
    y += 100;
    text(p, head, QPointF(kMargin, y + hm.ascent()), u"よく間違える問題"_qs);
    y += hm.lineSpacing() + 100;
    const std::vector<QuestionRow> &missed = learnerMisses_[size_t(index)];
    if (missed.empty()) {
        text(p, body, QPointF(kMargin, y + bodym.ascent()),
             l.hasRecord ? u"この期間に間違えた問題はありません。"_qs : u"（記録ファイルがありません）"_qs, kNote);
        return;
    }
    const double rowH = std::min(560.0, (kBottom - y) / double(missed.size()));
    const QFont qf = font(8.5), nf = font(8.5, true);
    const QFontMetricsF qm(qf);
    const double answerLeft = kPageWidth - kMargin - 2200;
    for (size_t i = 0; i < missed.size(); ++i) {
        const QuestionRow &q = missed[i];
        const worksheet::Entry *e = entry(q.key);
        const double top = y + i * rowH;
        if (i % 2 == 0)
            p.fillRect(QRectF(kMargin, top, kWidth, rowH), kShade);
        const double base1 = top + 40 + qm.ascent();
        const QString where = QStringLiteral("%1. %2 問 %3").arg(i + 1).arg(book_.title(q.key.item)).arg(q.key.number);
        text(p, nf, QPointF(kMargin + 60, base1), fit(where, nf, answerLeft - kMargin - 1900));
        rightText(p, qf, answerLeft - 150, base1, QStringLiteral("ミス %1 回／%2 回").arg(q.misses).arg(q.answers), kNote);
        if (e)
            text(p, qf, QPointF(kMargin + 300, base1 + qm.lineSpacing()),
                 fit(e->question, qf, answerLeft - kMargin - 450));
        if (e)
            answer(p, QPointF(answerLeft, top + rowH * 0.62), e->expected, 2100, 11);
    }
}

void ReportLayout::paintNotes(QPainter &p, const Page &page) const
{
    const QFont body = font(10), head = font(11, true), nf = font(9);
    const QFontMetricsF bm(body), hm(head), nm(nf);
    double y = kTop;
    if (page.first == 0) {
        for (const QString &w : introLines_) {
            text(p, body, QPointF(kMargin, y + bm.ascent()), w);
            y += bm.lineSpacing();
        }
        y += 300;
        text(p, head, QPointF(kMargin, y + hm.ascent()), u"読めなかったもの・とばした行"_qs);
        y += hm.lineSpacing() + 100;
        if (noteLines_.isEmpty()) {
            text(p, body, QPointF(kMargin, y + bm.ascent()), u"ありません。"_qs, kNote);
            return;
        }
    }
    for (int i = 0; i < page.count; ++i) {
        text(p, nf, QPointF(kMargin + 150, y + nm.ascent()), noteLines_[page.first + i]);
        y += noteLine_;
    }
}

} // namespace report
