#pragma once
// The pages of a worksheet on A4 paper: a heading with a line for the
// learner's name and the date, the questions in a grid, each with its number,
// its whole text and its figure; then, when asked for, the answer key.
// Everything is laid out in twips of the page (1440 to the inch), so the same
// pages paint into a PDF or into a picture at any resolution.
#include "worksheet/WorksheetSource.h"

#include <QPainter>
#include <QSizeF>
#include <QStringList>

namespace worksheet {

struct SheetOptions {
    int columns = 3;      // questions to a row: 2 or 3
    bool answers = false; // add the answer key after the questions
};

// A4 portrait in twips.
inline constexpr double kPageWidth = 11906;
inline constexpr double kPageHeight = 16838;

// Splits a question into the lines that fit the width, by the rules of
// Japanese line breaking, each piece measured with its fractions stacked.
QStringList wrapLines(const QString &text, const QFont &font, double width);

class SheetLayout {
public:
    SheetLayout(const Sheet &sheet, const SheetOptions &options);

    int pageCount() const { return int(pages_.size()); }
    int questionPageCount() const { return questionPages_; }
    // Paints page index (from 0); the painter's unit is one twip of the page.
    void paintPage(QPainter &painter, int index) const;

private:
    struct Page {
        bool key = false;
        int first = 0, count = 0; // entries shown
    };
    void paintHeading(QPainter &p, int index, bool key) const;
    void paintFooter(QPainter &p) const;
    void paintQuestion(QPainter &p, const Entry &e, QRectF cell) const;
    void paintFigure(QPainter &p, const Canvas &figure, QRectF area) const;
    void paintAnswerBox(QPainter &p, const Entry &e, QRectF row) const;
    void paintKeyEntry(QPainter &p, const Entry &e, QRectF cell) const;
    QStringList keyNotes(const Entry &e) const;

    const Sheet &sheet_;
    SheetOptions options_;
    std::vector<Page> pages_;
    int questionPages_ = 0;
    int rows_ = 1, keyRows_ = 1;
    double cellWidth_ = 0, cellHeight_ = 0, textReserve_ = 0, answerReserve_ = 0;
    double keyCellWidth_ = 0, keyCellHeight_ = 0, keyAscent_ = 0;
};

} // namespace worksheet
