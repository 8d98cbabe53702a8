// What a teacher waits for: the class report of a class of 40 learners
// with a year of records in their shared results folder (about 600,000
// answers and 60,000 runs, in the learners' records and in the family files
// the runs were also written to), as the program makes it from the command
// line, and its parts: reading the folder, and laying out and painting the
// pages. The command runs as a process of its own, so that its peak memory
// is its own.
#include "app/Results.h"
#include "app/SetTable.h"
#include "record/LearnerRecord.h"
#include "report/ClassData.h"
#include "report/QuestionBook.h"
#include "report/ReportPages.h"
#include "ui/QtTextMetrics.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kLearners = 40;
constexpr int kDays = 365;
constexpr int kRunsPerDay = 5;       // on a day a learner practises
constexpr int kAnswersPerRun = 10;
constexpr int kPractiseEvery = 10;   // of 12 days: two days in twelve off

// The class's folder, laid down once: records and family files written line
// by line as the program writes them, but without its lock and sync for
// each line, which would take an hour.
struct YearOfClass {
    QTemporaryDir dir;
    QString folder;
    qint64 answers = 0, runs = 0;
    QDate first, last;

    YearOfClass()
    {
        folder = dir.filePath(u"3年1組"_qs);
        QDir().mkpath(folder);
        const std::vector<SetInfo> &sets = setTable();
        QRandomGenerator random(20261208);
        last = QDate::currentDate().addDays(-1);
        first = last.addDays(-(kDays - 1));
        std::map<QString, QByteArray> families;
        for (int l = 1; l <= kLearners; ++l) {
            QByteArray bytes = "\xEF\xBB\xBF" + record::headerLine().toUtf8() + "\r\n";
            for (int d = 0; d < kDays; ++d) {
                if ((d + l) % 12 >= kPractiseEvery)
                    continue;
                const QDate day = first.addDays(d);
                for (int r = 0; r < kRunsPerDay; ++r) {
                    const SetInfo &set = sets[size_t((l + d + r) % 12)]; // the first-year sets
                    QDateTime when(day, QTime(8 + r, l % 60));
                    int right = 0, misses = 0;
                    for (int a = 0; a < kAnswersPerRun; ++a) {
                        record::Event e;
                        e.kind = record::Kind::Answer;
                        e.when = when.addSecs(a * 20);
                        e.set = set.item;
                        e.mode = record::kFiveMinutes;
                        e.number = 1 + int(random.bounded(20));
                        e.correct = random.bounded(100) < 75;
                        e.answer = e.correct ? u"(3,-2)"_qs : u"y=-2/3x+1"_qs;
                        (e.correct ? right : misses) += 1;
                        bytes += record::formatEvent(e).toUtf8() + "\r\n";
                        ++answers;
                    }
                    record::Event run;
                    run.kind = record::Kind::Run;
                    run.when = when.addSecs(300);
                    run.set = set.item;
                    run.mode = record::kFiveMinutes;
                    run.score = right - misses;
                    run.right = right;
                    run.misses = misses;
                    run.seconds = 300;
                    bytes += record::formatEvent(run).toUtf8() + "\r\n";
                    ++runs;
                    QByteArray &family = families[results::familyFileName(set.resultsFileName)];
                    if (family.isEmpty())
                        family = day.toString(u"yyyy/MM/dd"_qs).toUtf8() + "\r\n";
                    family += results::formatRecord({int16_t(run.score), day.toString(u"yyMMdd"_qs), set.resultsFileName})
                                  .toUtf8()
                              + "\r\n";
                }
            }
            put(QDir(folder).filePath(record::fileNameFor(u"生徒%1"_qs.arg(l, 2, 10, QChar(u'0')))), bytes);
        }
        for (const auto &[name, bytes] : families)
            put(QDir(folder).filePath(name), bytes);
    }

    static void put(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes);
    }
};

YearOfClass &yearOfClass()
{
    report::settleLocalTime(); // as the command does
    static YearOfClass c;
    return c;
}

void label(benchmark::State &state, const YearOfClass &c)
{
    state.counters["learners"] = kLearners;
    state.counters["answer_lines"] = double(c.answers);
    state.counters["runs"] = double(c.runs);
}

// The whole command, from the folder to the finished PDF, in a process of
// its own; its peak memory is the process's.
void BM_ReportPdfCommand(benchmark::State &state)
{
    YearOfClass &c = yearOfClass();
    const QByteArray program = SOREMUKA_PROGRAM;
    const QByteArray folder = QFile::encodeName(c.folder);
    const QByteArray out = QFile::encodeName(c.dir.filePath(u"class.pdf"_qs));
    double peakMb = 0, cpu = 0;
    for (auto _ : state) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 2);
            ::execl(program.constData(), program.constData(), "--report", folder.constData(), "-o",
                    out.constData(), static_cast<char *>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        rusage usage{};
        ::wait4(pid, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("soremuka --report failed");
            break;
        }
        peakMb = std::max(peakMb, usage.ru_maxrss / 1024.0);
        cpu += usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
    }
    label(state, c);
    state.counters["peak_MB"] = peakMb;
    // Seconds of processor time per report: what the report costs on a
    // machine with other work to do, where the clock's time is not its own.
    state.counters["cpu_s"] = cpu / double(state.iterations());
    state.counters["pdf_KB"] = double(QFileInfo(c.dir.filePath(u"class.pdf"_qs)).size()) / 1024;
}
BENCHMARK(BM_ReportPdfCommand)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The folder read into the class: every line of every record and family file.
void BM_ReportReadClass(benchmark::State &state)
{
    YearOfClass &c = yearOfClass();
    for (auto _ : state)
        benchmark::DoNotOptimize(report::readClass({c.folder}, {}, QDate::currentDate()));
    label(state, c);
}
BENCHMARK(BM_ReportReadClass)->Unit(benchmark::kMillisecond)->Iterations(3);

// The pages laid out and painted into a PDF in memory, from the class read.
void BM_ReportPaintPdf(benchmark::State &state)
{
    YearOfClass &c = yearOfClass();
    const report::ClassData data = report::readClass({c.folder}, {}, QDate::currentDate());
    QtTextMetrics metrics;
    report::QuestionBook book(metrics);
    int pages = 0;
    for (auto _ : state) {
        const report::ReportLayout layout(data, book, QDate::currentDate(), {c.folder});
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        worksheet::paintPdf(layout.pages(), u"report"_qs, buffer);
        pages = layout.pageCount();
    }
    label(state, c);
    state.counters["pages"] = pages;
}
BENCHMARK(BM_ReportPaintPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
