// What a teacher waits for: a worksheet of the 50 questions of grawrite1 with
// its answer key, from the menu item to the finished PDF, and its two halves
// (taking the questions and figures from the form; laying out and writing
// the pages).
#include "ui/QtTextMetrics.h"
#include "worksheet/WorksheetOutput.h"
#include "worksheet/WorksheetPages.h"
#include "worksheet/WorksheetSource.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace worksheet;

// The whole command: questions, figures, pages and key, written to a file
// as the teacher gets it.
void BM_WorksheetPdf(benchmark::State &state, const char *item)
{
    QtTextMetrics metrics;
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("sheet.pdf"));
    int questions = 0, pages = 0;
    for (auto _ : state) {
        const Sheet sheet = collectSheet(QString::fromLatin1(item), Order::Bank, metrics);
        const SheetLayout layout(sheet, SheetOptions{3, true});
        QString error;
        if (!writePdf(layout, sheet.title, out, error)) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
        questions = int(sheet.entries.size());
        pages = layout.pageCount();
    }
    state.SetLabel(std::to_string(questions) + " questions, " + std::to_string(pages) + " pages");
}

void BM_CollectSheet(benchmark::State &state, const char *item)
{
    QtTextMetrics metrics;
    for (auto _ : state)
        benchmark::DoNotOptimize(collectSheet(QString::fromLatin1(item), Order::Bank, metrics));
}

void BM_PaintPdf(benchmark::State &state, const char *item)
{
    QtTextMetrics metrics;
    const Sheet sheet = collectSheet(QString::fromLatin1(item), Order::Bank, metrics);
    const SheetLayout layout(sheet, SheetOptions{3, true});
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        paintPdf(layout, sheet.title, buffer);
        bytes = buffer.size();
    }
    state.SetLabel(std::to_string(bytes / 1024) + " KiB");
}

} // namespace

BENCHMARK_CAPTURE(BM_WorksheetPdf, grawrite1, "grawrite1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorksheetPdf, thahyou2, "thahyou2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CollectSheet, grawrite1, "grawrite1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PaintPdf, grawrite1, "grawrite1")->Unit(benchmark::kMillisecond);
