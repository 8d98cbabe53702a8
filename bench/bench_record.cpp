// The learner's record as start-up reads it: a record of a million lines (a
// learner's years of answers) read from its end and turned into the
// questions due, in bounded memory.
#include "record/LearnerRecord.h"
#include "record/Review.h"

#include <QDir>
#include "Peak.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>


namespace {

// A record of `lines` answers over a year, a miss in every seventh, with a
// finished run every thirty answers.
QString recordOf(const QTemporaryDir &dir, int lines)
{
    const QString path = QDir(dir.path()).filePath(u"生徒01きろく.txt"_qs);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("\xEF\xBB\xBF" + record::headerLine().toUtf8() + "\r\n");
    static const char *sets[] = {"nagasa", "thahyo1", "grawrite1", "graread2", "ouyou2", "menseki1"};
    QByteArray chunk;
    for (int i = 0; i < lines; ++i) {
        record::Event e;
        e.when = QDateTime(QDate(2026, 1, 1).addDays(i * 365 / lines), QTime(9, 0).addSecs(i % 30000), Qt::UTC);
        e.set = QString::fromLatin1(sets[i % 6]);
        e.mode = i % 11 == 0 ? record::kReview : record::kFiveMinutes;
        if (i % 30 == 29) {
            e.kind = record::Kind::Run;
            e.score = e.right = 20;
            e.misses = 4;
            e.seconds = 300;
        } else {
            e.number = 1 + (i * 7) % 30;
            e.correct = i % 7 != 0;
            e.answer = u"y=-2/3x+1"_qs;
        }
        chunk += record::formatEvent(e).toUtf8() + "\r\n";
        if (chunk.size() > (1 << 20)) {
            f.write(chunk);
            chunk.clear();
        }
    }
    f.write(chunk);
    return path;
}

void BM_RecordDueQuestions(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = recordOf(dir, int(state.range(0)));
    std::size_t due = 0, events = 0;
    for (auto _ : state) {
        // As start-up reads it: each event into the schedule, none kept.
        record::Schedule schedule;
        events = 0;
        record::forEachRecent(path, [&](const record::Event &e) {
            schedule.add(e);
            ++events;
        });
        due = schedule.progress(QDate(2027, 1, 1)).due.size();
    }
    state.counters["file_MB"] = double(QFileInfo(path).size()) / (1024 * 1024);
    state.counters["events_read"] = double(events);
    state.counters["due"] = double(due);
    state.counters["peak_MB"] = peakMb();
}
BENCHMARK(BM_RecordDueQuestions)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
