// The results history as the learner feels it: the end of a run (its chart
// and its save) on histories of many sizes, and on histories with one
// overlong line, the kind that once froze the program for seconds and took
// hundreds of megabytes.
#include "BenchForm.h"

#include "app/Results.h"

#include "Peak.h"

#include <QFile>

namespace {

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

QByteArray records(int n)
{
    QByteArray bytes = "2026/12/01\r\n";
    for (int i = 1; i <= n; ++i)
        bytes += QString(u"%1,26%2#座標問題%3.txt\r\n"_qs).arg(i % 40 + 1).arg(1000 + i % 1000).arg(i % 3 + 1).toUtf8();
    return bytes;
}

// Activation, then the end of the run, on a history that is laid down
// afresh (untimed) before each round.
void endRunOn(benchmark::State &state, const QByteArray &history)
{
    BenchForm b;
    const QString family = QDir(b.paths.currentFolder).filePath(u"座標問題.txt"_qs);
    for (auto _ : state) {
        state.PauseTiming();
        put(family, history);
        state.ResumeTiming();
        b.form->menuClick(u"thahyo1"_qs);
        b.form->endRun();
    }
    state.counters["history_MB"] = double(history.size()) / (1024 * 1024);
    state.counters["chart_items"] = double(b.form->Picture1.ops().size());
    state.counters["peak_MB"] = peakMb();
}

void BM_EndRun_History(benchmark::State &state) { endRunOn(state, records(int(state.range(0)))); }
BENCHMARK(BM_EndRun_History)->Arg(0)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_EndRun_MillionCharacterSetName(benchmark::State &state)
{
    endRunOn(state, records(50) + "5,261201#" + u"座"_qs.repeated(1000000).toUtf8() + "\r\n");
}
BENCHMARK(BM_EndRun_MillionCharacterSetName)->Unit(benchmark::kMillisecond);

void BM_EndRun_TwentyMegabyteLine(benchmark::State &state)
{
    endRunOn(state, records(50) + QByteArray(20 * 1024 * 1024, '7') + "\r\n");
}
BENCHMARK(BM_EndRun_TwentyMegabyteLine)->Unit(benchmark::kMillisecond);

// Opening a set whose family file holds many records (29 MB for a million):
// the chart and the order rule need only the newest hundred.
void BM_ActivateSet_History(benchmark::State &state)
{
    BenchForm b;
    put(QDir(b.paths.currentFolder).filePath(u"座標問題.txt"_qs), records(int(state.range(0))));
    for (auto _ : state) {
        b.form->run.categoryActive = 0; // not running: the click activates
        b.form->menuClick(u"thahyo1"_qs);
    }
    state.counters["history_count"] = b.form->history.historyCount;
}
BENCHMARK(BM_ActivateSet_History)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The save alone: lock, read again, rewrite through a synced copy.
void BM_SaveRecord(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString family = dir.filePath(u"座標問題.txt"_qs);
    put(family, records(int(state.range(0))));
    for (auto _ : state) {
        const results::Saved saved =
            results::saveRecord(family, u"2026/12/08"_qs, u"5,261208#座標問題1.txt"_qs, u"side.txt"_qs);
        if (saved.where != results::Saved::Family)
            state.SkipWithError("the record was not saved");
    }
}
BENCHMARK(BM_SaveRecord)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
