#pragma once
// The questions of a worksheet, each with the figure the program draws for it
// and its answer, taken from a form that is never shown: the set is
// activated through its menu item and each question is started as the
// question cycle starts it, so the sheet shows what a learner sees.
#include "controls/Canvas.h"
#include "controls/TextMetrics.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace worksheet {

enum class Order {
    Bank,     // the order the bank lists its questions in
    Shuffled, // the draw order the program makes for a run
};

struct Entry {
    int number = 0;   // position on the sheet, from 1
    QString question; // the question text, without its figure data
    QString answer;   // the answer as the bank stores it
    QString expected; // what the learner types ("-4" for the x of "(-4,-2)")
    // The drawing area as the question starts.
    Canvas figure{QStringLiteral("Picture6"), 0, 0, 0, 0, 0xFFFFFF, 10};
    // Answered on the plane (a point plotted, a graph drawn): the key shows
    // the plane with the answer drawn on it, the sheet the plane to draw on.
    bool drawn = false;
    Canvas keyFigure{QStringLiteral("Picture6"), 0, 0, 0, 0, 0xFFFFFF, 10};
};

struct Sheet {
    QString item;  // menu item name, e.g. "grawrite1"
    QString title; // its menu and caption, e.g. "1年関数 ｸﾞﾗﾌ書き1"
    std::vector<Entry> entries;
    QString variantSeed; // the seed of its new numbers; empty for the bank's own questions
};

// Why a sheet could not be made, with the process exit code to end on.
struct SheetError {
    QString message;
    int exitCode = 2;
};

// The text before the first "#": the question without its figure data.
QString questionText(const QString &stored);

// Every question of the item's set in the given order; with a seed, the
// set's bank in the new numbers of that seed. Throws SheetError for an
// unknown item (exit 2, the message lists the valid ones), a set without
// questions (exit 2) and faulty built-in question data (exit 1).
Sheet collectSheet(const QString &item, Order order, const TextMetrics &metrics,
                   std::optional<uint32_t> variant = std::nullopt);

// The names of the menu items that have a question bank.
QStringList sheetItems();

} // namespace worksheet
