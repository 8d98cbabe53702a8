#pragma once
// Writes worksheet pages to a file. The file appears only when it is
// complete: the pages go to a temporary file beside it, which is renamed over
// the target at the end; on any failure nothing is left behind.
#include "worksheet/WorksheetPages.h"

#include <QIODevice>
#include <QString>

#include <functional>

namespace worksheet {

// Pages of any kind on A4 paper, each painted with the painter's unit one
// twip of the page (as a SheetLayout paints its own): other printed things,
// such as the class report, are written by the same code as the sheets.
struct Pages {
    int count = 0;
    std::function<void(QPainter &, int index)> paint;
};
bool paintPdf(const Pages &pages, const QString &title, QIODevice &device);
bool writePdf(const Pages &pages, const QString &title, const QString &path, QString &error);
bool writePng(const Pages &pages, int page, double dpi, const QString &path, QString &error);

// Any other file, written the same way: whole or not at all.
bool writeFile(const QString &path, const QByteArray &bytes, QString &error);

// Every page as vector drawing with real text, A4, into an open device.
// Returns false when the painter cannot start on it.
bool paintPdf(const SheetLayout &layout, const QString &title, QIODevice &device);

// The whole sheet as a PDF file.
bool writePdf(const SheetLayout &layout, const QString &title, const QString &path, QString &error);

// One page (from 0) as a PNG picture at the given resolution.
bool writePng(const SheetLayout &layout, int page, double dpi, const QString &path, QString &error);

} // namespace worksheet
