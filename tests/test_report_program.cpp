// The class report as a teacher gets it: a class folder of 30 learners with
// months of runs and reviews, written by the program's own writers (the
// learner's record and the family results files), with damaged, foreign and
// Shift-JIS files among them; the program run from the command line; its
// PDF read back with poppler's tools, its CSV parsed, its pages looked at.
#include "Process.h"
#include "app/Results.h"
#include "app/SetTable.h"
#include "record/LearnerRecord.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iconv.h>
#include <map>
#include <set>
#include <sys/stat.h>

namespace {

Ran run(const QString &program, const QStringList &args) { return runProcess(program, args); }

QString flat(QString s)
{
    s.removeIf([](QChar c) { return c.isSpace(); });
    return s;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(const QString &path, const QByteArray &bytes, bool append = false)
{
    QFile f(path);
    ASSERT_TRUE(f.open(append ? QIODevice::Append : QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QByteArray sjis(const QByteArray &utf8)
{
    QByteArray out(utf8.size() * 2 + 8, '\0');
    iconv_t cd = iconv_open("CP932", "UTF-8");
    char *src = const_cast<char *>(utf8.constData()), *dst = out.data();
    size_t inLeft = size_t(utf8.size()), outLeft = size_t(out.size());
    iconv(cd, &src, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - qsizetype(outLeft));
    return out;
}

// What the tests wrote, counted as they wrote it.
struct SetTruth {
    int runs = 0, right = 0, misses = 0, best = 0, last = 0;
    bool counted = false;
    QDate lastDate;
};
struct QuestionTruth {
    std::set<QString> missedBy;
    int misses = 0, answers = 0;
};
struct LearnerTruth {
    std::map<QString, std::vector<int>> family; // family → scores, oldest first
    std::map<QString, SetTruth> sets;           // item → its runs
    int reviews = 0;
    bool record = true;
};

const QStringList kFamilies = {u"座標問題"_qs, u"長さ面積"_qs, u"円の面積弧"_qs, u"1年関数読み書き"_qs};
const QStringList kItems = {u"thahyo1"_qs, u"thahyou2"_qs, u"nagasa"_qs, u"enmenko"_qs, u"graread1"_qs, u"grawrite1"_qs};

QString familyOfItem(const QString &item)
{
    QString f = results::familyFileName(findSet(item)->resultsFileName);
    f.chop(4);
    return f;
}

// The class: 24 learners sharing the class's folder; four with folders of
// their own below it; one of an earlier installation whose family files are
// Shift-JIS and who has no record; and one more of those a folder deeper.
// The writers sync every record to the disk, as they must; hundreds of runs
// then take seconds. In memory (where the system has a RAM disk) they take
// no time, and the files are the same.
QString scratchTemplate()
{
    const QFileInfo shm(u"/dev/shm"_qs);
    return shm.isDir() && shm.isWritable() ? u"/dev/shm/soremuka-report-XXXXXX"_qs
                                           : QDir::temp().filePath(u"soremuka-report-XXXXXX"_qs);
}

class ClassFolder {
public:
    QTemporaryDir dir{scratchTemplate()};
    QString root;
    std::map<QString, LearnerTruth> truth;
    std::map<std::pair<QString, int>, QuestionTruth> questions;
    QDate first;
    int sharedOlder = 0; // runs in the shared family files from before records

    ClassFolder()
    {
        root = dir.filePath(u"3年2組"_qs);
        QDir().mkpath(root);
        first = QDate::currentDate().addDays(-130);
        // Runs from before the learners' records were kept.
        for (int k = 0; k < 2; ++k) {
            save(root, first.addDays(-30 + k), u"thahyo1"_qs, 4 + k);
            ++sharedOlder;
        }
        quint32 seed = 12345;
        const auto next = [&seed](int n) {
            seed = seed * 1103515245u + 12345u;
            return int((seed >> 16) % quint32(n));
        };
        for (int i = 1; i <= 30; ++i) {
            const QString name = u"生徒%1"_qs.arg(i, 2, 10, QChar(u'0'));
            LearnerTruth &t = truth[name];
            QString folder = root;
            if (i >= 25 && i <= 29)
                folder = root + u'/' + name;
            else if (i == 30)
                folder = root + u"/旧/"_qs + name;
            QDir().mkpath(folder);
            t.record = i <= 28;
            const QString recordPath = folder + u'/' + record::fileNameFor(name);
            if (i == 25) {
                // An older run in their own family file, before their record.
                save(folder, first.addDays(-10), u"nagasa"_qs, 7);
                addRun(t, u"nagasa"_qs, 7, first.addDays(-10), -1, -1);
            }
            const int runs = 3 + i % 4;
            std::vector<std::pair<QString, int>> missed;
            for (int r = 0; r < runs; ++r) {
                const QDate day = first.addDays(r * 25 + i % 7);
                const QString item = kItems[size_t((i + r) % kItems.size())];
                std::vector<record::Event> events;
                int right = 0, misses = 0;
                for (int a = 0; a < 5; ++a) {
                    record::Event e;
                    e.kind = record::Kind::Answer;
                    e.when = QDateTime(day, QTime(10, a));
                    e.set = item;
                    e.mode = record::kFiveMinutes;
                    e.number = 1 + next(8);
                    e.correct = next(3) != 0;
                    e.answer = e.correct ? u"(3,-2)"_qs : u"y=2x"_qs;
                    (e.correct ? right : misses) += 1;
                    events.push_back(e);
                    if (t.record) {
                        QuestionTruth &q = questions[{item, e.number}];
                        ++q.answers;
                        if (!e.correct) {
                            ++q.misses;
                            q.missedBy.insert(name);
                            missed.push_back({item, e.number});
                        }
                    }
                }
                const int score = right * 2 - misses;
                record::Event end;
                end.kind = record::Kind::Run;
                end.when = QDateTime(day, QTime(10, 6));
                end.set = item;
                end.mode = record::kFiveMinutes;
                end.score = score;
                end.right = right;
                end.misses = misses;
                end.seconds = 300;
                events.push_back(end);
                if (t.record) {
                    EXPECT_TRUE(record::append(recordPath, events).ok());
                }
                save(folder, day, item, score);
                addRun(t, item, score, day, t.record ? right : -1, t.record ? misses : -1);
            }
            // A review of two questions missed, the day after the last run:
            // in the record only, never in a family file.
            if (t.record && i <= 10 && missed.size() >= 2) {
                const QDate day = first.addDays((runs - 1) * 25 + i % 7 + 1);
                std::vector<record::Event> events;
                for (int k = 0; k < 2; ++k) {
                    record::Event e;
                    e.kind = record::Kind::Answer;
                    e.when = QDateTime(day, QTime(16, k));
                    e.set = missed[size_t(k)].first;
                    e.mode = record::kReview;
                    e.number = missed[size_t(k)].second;
                    e.correct = true;
                    e.answer = u"5"_qs;
                    events.push_back(e);
                    ++questions[missed[size_t(k)]].answers;
                }
                record::Event end;
                end.kind = record::Kind::Run;
                end.when = QDateTime(day, QTime(16, 5));
                end.set = missed[0].first;
                end.mode = record::kReview;
                end.score = 2;
                end.right = 2;
                end.seconds = 60;
                events.push_back(end);
                EXPECT_TRUE(record::append(recordPath, events).ok());
                ++t.reviews;
            }
        }
        // An earlier installation's family files are Shift-JIS.
        for (const QString &folder : {root + u"/生徒29"_qs, root + u"/旧/生徒30"_qs})
            for (const QString &name : QDir(folder).entryList({u"*.txt"_qs}, QDir::Files))
                put(folder + u'/' + name, sjis(readAll(folder + u'/' + name)));
        // Faults: damaged lines, a line of a set the program does not have,
        // a results file that is none, a pipe where a record should be, a link.
        put(root + u"/生徒03きろく.txt"_qs, "壊れた\t行\r\n回\t2026-13-01 10:00:00\tnagasa\t5分\t1\t1\t0\t300\t\t\t\r\n", true);
        put(root + u"/生徒05きろく.txt"_qs,
            (u"答\t"_qs + QDateTime(first, QTime(9, 0)).toString(u"yyyy-MM-dd HH:mm:ss"_qs) + u"\tmirai\t5分\t\t\t\t\t3\t誤\tx\r\n"_qs)
                .toUtf8(),
            true);
        put(root + u"/座標問題.txt"_qs, "@@@\r\n", true);
        put(root + u"/旧/生徒30/座標問題.txt"_qs, sjis("99,991399#座標問題1.txt\r\n"), true);
        QDir().mkpath(root + u"/配布物"_qs);
        put(root + u"/配布物/座標問題.txt"_qs, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20));
        put(root + u"/配布物/プリント.pdf"_qs, "%PDF-1.4");
        ::mkfifo(QFile::encodeName(root + u"/生徒99きろく.txt"_qs).constData(), 0600);
        QFile::link(QDir::tempPath(), root + u"/リンク"_qs);
    }

    void save(const QString &folder, const QDate &day, const QString &item, int score)
    {
        const SetInfo *set = findSet(item);
        const QString family = results::familyFileName(set->resultsFileName);
        const results::Saved saved = results::saveRecord(
            folder + u'/' + family, day.toString(u"yyyy/MM/dd"_qs),
            results::formatRecord({int16_t(score), day.toString(u"yyMMdd"_qs), set->resultsFileName}),
            results::sideFileName(family, u"pc"_qs, day));
        EXPECT_EQ(saved.where, results::Saved::Family);
    }

    void addRun(LearnerTruth &t, const QString &item, int score, const QDate &day, int right, int misses)
    {
        t.family[familyOfItem(item)].push_back(score);
        SetTruth &s = t.sets[item];
        s.best = s.runs == 0 ? score : std::max(s.best, score);
        ++s.runs;
        s.last = score;
        s.lastDate = day;
        if (right >= 0) {
            s.counted = true;
            s.right += right;
            s.misses += misses;
        }
    }
};

struct ReportProgram : ::testing::Test {
    static ClassFolder *cls;
    QTemporaryDir out;

    static void SetUpTestSuite() { cls = new ClassFolder; }
    static void TearDownTestSuite()
    {
        delete cls;
        cls = nullptr;
    }
    void SetUp() override
    {
        for (const char *tool : {"pdfinfo", "pdftotext", "pdftoppm"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_FAIL() << tool << " is missing: scripts/setup.sh installs poppler-utils";
    }
    QString path(const QString &name) const { return out.filePath(name); }

    // The text of a PDF as poppler reads it: in reading order, laid out as
    // on the page, or in the order it was drawn.
    enum Mode { Reading, Layout, Drawn };
    static QString text(const QString &pdf, int firstPage = 0, int lastPage = 0, Mode mode = Reading)
    {
        QStringList args{u"-enc"_qs, u"UTF-8"_qs};
        if (mode != Reading)
            args << (mode == Layout ? u"-layout"_qs : u"-raw"_qs);
        if (firstPage > 0)
            args << u"-f"_qs << QString::number(firstPage) << u"-l"_qs << QString::number(lastPage);
        return run(u"pdftotext"_qs, args << pdf << u"-"_qs).out;
    }
    static int pages(const QString &pdf)
    {
        static const QRegularExpression re(QStringLiteral("Pages:\\s+(\\d+)"));
        const QRegularExpressionMatch m = re.match(run(u"pdfinfo"_qs, {pdf}).out);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    }
};
ClassFolder *ReportProgram::cls = nullptr;

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// Dark and blue pixels in a part of a page given as fractions of its size.
std::pair<int, int> inkAndBlue(const QImage &page, double x0, double y0, double x1, double y1)
{
    int ink = 0, blue = 0;
    for (int y = int(y0 * page.height()); y < int(y1 * page.height()); ++y)
        for (int x = int(x0 * page.width()); x < int(x1 * page.width()); ++x) {
            const QRgb c = page.pixel(x, y);
            ink += qGray(c) < 140;
            blue += qBlue(c) > 120 && qRed(c) < 100 && qGreen(c) < 130;
        }
    return {ink, blue};
}

} // namespace

TEST_F(ReportProgram, PdfHoldsEveryLearnerAndEveryCount)
{
    const QString pdf = path(u"class.pdf"_qs);
    const Ran r = soremuka({u"--report"_qs, cls->root, u"-o"_qs, pdf});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    // The faults, named on standard error.
    for (const char16_t *named : {u"生徒03きろく.txt: skipped 2 damaged lines", u"3年2組/座標問題.txt: skipped 1 damaged",
                                  u"生徒30/座標問題.txt: skipped 1 damaged", u"配布物/座標問題.txt: no record",
                                  u"生徒99きろく.txt: cannot read", u"リンク: a link", u"生徒05きろく.txt: skipped 1 lines of unknown sets"})
        EXPECT_TRUE(r.err.contains(QString::fromUtf16(named))) << QString::fromUtf16(named).toStdString() << "\n"
                                                              << r.err.toStdString();

    // 30 learners and the runs nobody's record holds, one page; the most
    // missed questions; a page each; the notes.
    const int count = pages(pdf);
    ASSERT_GT(count, 33);
    const QString overview = text(pdf, 1, 1, Layout);
    for (const auto &[name, t] : cls->truth) {
        SCOPED_TRACE(name.toStdString());
        // The learner's line: per family runs, best and last (or —), then
        // the runs, right answers and misses of all their runs.
        QString expected = name;
        int runs = 0, right = 0, misses = 0;
        for (const QString &f : kFamilies + QStringList{u"復習"_qs}) {
            const auto it = t.family.find(f);
            if (f == u"復習"_qs) {
                expected += t.reviews ? u"%1%2%3"_qs.arg(t.reviews).arg(2).arg(2) : u"—"_qs;
                runs += t.reviews;
                right += 2 * t.reviews;
                continue;
            }
            if (it == t.family.end()) {
                expected += u"—"_qs;
                continue;
            }
            const std::vector<int> &s = it->second;
            expected += u"%1%2%3"_qs.arg(s.size()).arg(*std::max_element(s.begin(), s.end())).arg(s.back());
            runs += int(s.size());
        }
        for (const auto &[item, s] : t.sets) {
            right += s.right;
            misses += s.misses;
        }
        expected += t.record ? u"%1%2%3"_qs.arg(runs).arg(right).arg(misses) : u"%1——"_qs.arg(runs);
        QString line;
        for (const QString &l : overview.split(u'\n'))
            if (l.trimmed().startsWith(name))
                line = flat(l);
        EXPECT_EQ(line, expected);
    }
    EXPECT_TRUE(flat(overview).contains(u"3年2組（名前なし）%1%2%3"_qs.arg(cls->sharedOlder).arg(5).arg(5)));
    EXPECT_TRUE(flat(overview).contains(u"合計（31人中31人）"_qs));

    // A page for each learner, with their runs, answers and review progress.
    const QString all = flat(text(pdf, 0, 0, Drawn));
    for (const auto &[name, t] : cls->truth) {
        int runs = 0;
        for (const auto &[f, s] : t.family)
            runs += int(s.size());
        EXPECT_TRUE(all.contains(u"ソレムカゼミクラスの記録"_qs + name)) << name.toStdString();
        EXPECT_TRUE(all.contains(name + u"練習%1回"_qs.arg(runs))) << name.toStdString();
    }
    EXPECT_EQ(all.count(u"復習：いまやる問題"_qs), 28);
    EXPECT_EQ(all.count(u"この生徒の記録ファイル（きろく.txt）はありません"_qs), 3); // 29, 30, nameless

    // The last page names what was skipped.
    const QString last = flat(text(pdf, count, count));
    for (const char16_t *named : {u"生徒03きろく.txt", u"生徒99きろく.txt", u"配布物/座標問題.txt", u"リンク"})
        EXPECT_TRUE(last.contains(QString::fromUtf16(named))) << QString::fromUtf16(named).toStdString();
    EXPECT_TRUE(last.contains(u"こわれた行2行をとばしました"_qs));
}

TEST_F(ReportProgram, CsvReadsBackAsTheNumbersWritten)
{
    const QString csv = path(u"class.csv"_qs);
    const Ran r = soremuka({u"--report"_qs, cls->root, u"-o"_qs, csv});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(entries(out.path()), QStringList({u"class-questions.csv"_qs, u"class.csv"_qs}));
    const QByteArray bytes = readAll(csv);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));

    // name, file, item, set, runs, right, misses, best, last, last date
    std::map<std::pair<QString, QString>, QStringList> rows;
    bool header = true;
    for (const QString &line : QString::fromUtf8(bytes.mid(3)).split(u"\r\n"_qs, Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u',');
        ASSERT_EQ(f.size(), 10) << line.toStdString();
        if (std::exchange(header, false))
            continue;
        rows[{f[0], f[2]}] = f;
    }
    int expectedRows = 0;
    for (const auto &[name, t] : cls->truth) {
        for (const auto &[item, s] : t.sets) {
            ++expectedRows;
            const auto it = rows.find({name, item});
            ASSERT_NE(it, rows.end()) << name.toStdString() << " " << item.toStdString();
            const QStringList &f = it->second;
            EXPECT_EQ(f[1], familyOfItem(item) + u".txt"_qs);
            EXPECT_EQ(f[4].toInt(), s.runs);
            EXPECT_EQ(f[5], s.counted ? QString::number(s.right) : QString());
            EXPECT_EQ(f[6], s.counted ? QString::number(s.misses) : QString());
            EXPECT_EQ(f[7].toInt(), s.best);
            EXPECT_EQ(f[8].toInt(), s.last);
            EXPECT_EQ(f[9], s.lastDate.toString(Qt::ISODate));
        }
        if (t.reviews) {
            ++expectedRows;
            const QStringList review = rows[{name, QString()}].mid(4, 3);
            EXPECT_EQ(review, QStringList({QString::number(t.reviews), u"2"_qs, u"0"_qs}));
        }
    }
    EXPECT_EQ(int(rows.size()), expectedRows + 1); // and the runs nobody's record holds
    const QStringList older = rows[{u"3年2組（名前なし）"_qs, u"thahyo1"_qs}];
    EXPECT_EQ(older.value(4), QString::number(cls->sharedOlder));

    // set item, set, number, text, learners who missed it, misses, answers
    const QString questions = QString::fromUtf8(readAll(path(u"class-questions.csv"_qs)).mid(3));
    std::map<std::pair<QString, int>, QStringList> qrows;
    header = true;
    static const QRegularExpression quoted(QStringLiteral("\"[^\"]*\""));
    for (QString line : questions.split(u"\r\n"_qs, Qt::SkipEmptyParts)) {
        line.replace(quoted, u"TEXT"_qs);
        const QStringList f = line.split(u',');
        ASSERT_EQ(f.size(), 7) << line.toStdString();
        if (!std::exchange(header, false))
            qrows[{f[0], f[2].toInt()}] = f;
    }
    EXPECT_EQ(qrows.size(), cls->questions.size());
    for (const auto &[key, q] : cls->questions) {
        const QStringList &f = qrows[key];
        ASSERT_EQ(f.size(), 7) << key.first.toStdString() << " " << key.second;
        EXPECT_EQ(f[4].toInt(), int(q.missedBy.size()));
        EXPECT_EQ(f[5].toInt(), q.misses);
        EXPECT_EQ(f[6].toInt(), q.answers);
    }
}

TEST_F(ReportProgram, PeriodAndSetNarrowTheNumbers)
{
    const QDate from = cls->first.addDays(30), to = cls->first.addDays(80);
    const QString csv = path(u"part.csv"_qs);
    const Ran r = soremuka({u"--report"_qs, cls->root, u"--from"_qs, from.toString(Qt::ISODate), u"--to"_qs,
                            to.toString(Qt::ISODate), u"--set"_qs, u"nagasa"_qs, u"-o"_qs, csv});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    // Every run of nagasa in the period, counted again from the truth: the
    // runs of the i-th learner fall on days r * 25 + i % 7.
    std::map<QString, int> expected;
    for (int i = 1; i <= 30; ++i)
        for (int k = 0; k < 3 + i % 4; ++k) {
            const QDate day = cls->first.addDays(k * 25 + i % 7);
            if (kItems[size_t((i + k) % kItems.size())] == u"nagasa" && day >= from && day <= to)
                ++expected[u"生徒%1"_qs.arg(i, 2, 10, QChar(u'0'))];
        }
    ASSERT_FALSE(expected.empty());
    std::map<QString, int> got;
    for (const QString &line : QString::fromUtf8(readAll(csv).mid(3)).split(u"\r\n"_qs, Qt::SkipEmptyParts).mid(1)) {
        const QStringList f = line.split(u',');
        if (f[4].toInt() > 0) {
            EXPECT_EQ(f[2], u"nagasa"_qs);
            got[f[0]] = f[4].toInt();
        }
    }
    EXPECT_EQ(got, expected);
}

TEST_F(ReportProgram, PagesShowTheTableTheChartsAndTheFigures)
{
    const QString first = path(u"p1.png"_qs), learner = path(u"p3.png"_qs), questions = path(u"p2.png"_qs);
    ASSERT_EQ(soremuka({u"--report"_qs, cls->root, u"-o"_qs, first}).code, 0);
    ASSERT_EQ(soremuka({u"--report"_qs, cls->root, u"--page"_qs, u"2"_qs, u"-o"_qs, questions}).code, 0);
    const QString pdf = path(u"class.pdf"_qs);
    ASSERT_EQ(soremuka({u"--report"_qs, cls->root, u"-o"_qs, pdf}).code, 0);
    // The first learner's page comes after the most-missed questions.
    const QString all = text(pdf, 0, 0, Drawn);
    int page = 1;
    for (const QString &p : all.split(u'\f')) {
        if (flat(p).contains(u"ソレムカゼミクラスの記録生徒01"_qs))
            break;
        ++page;
    }
    ASSERT_EQ(soremuka({u"--report"_qs, cls->root, u"--page"_qs, QString::number(page), u"-o"_qs, learner}).code, 0);

    const QImage overview(first), missed(questions), own(learner);
    ASSERT_EQ(overview.size(), QSize(1240, 1754));
    // The table under the heading: text, rules and a sparkline in most cells.
    const auto [tableInk, sparkBlue] = inkAndBlue(overview, 0.07, 0.12, 0.93, 0.85);
    EXPECT_GT(tableInk, 20000);
    EXPECT_GT(sparkBlue, 3000);
    EXPECT_LT(inkAndBlue(overview, 0.07, 0.95, 0.93, 1.0).first, 10); // nothing in the margin
    // The first question's figure, on the left under its set's heading.
    EXPECT_GT(inkAndBlue(missed, 0.07, 0.13, 0.2, 0.22).first, 1000);
    // The learner's charts: blue bars.
    EXPECT_GT(inkAndBlue(own, 0.07, 0.18, 0.93, 0.45).second, 2000);

    const Ran beyond = soremuka({u"--report"_qs, cls->root, u"--page"_qs, u"999"_qs, u"-o"_qs, path(u"x.png"_qs)});
    EXPECT_EQ(beyond.code, 2);
    EXPECT_TRUE(beyond.err.contains(u"the report has %1 pages"_qs.arg(pages(pdf)))) << beyond.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(u"x.png"_qs)));
}

TEST_F(ReportProgram, BadInputEndsWithAMessageAndNoFile)
{
    QTemporaryDir empty, foreign;
    put(foreign.filePath(u"座標問題.txt"_qs), "not a results file\n");
    const QString pdf = path(u"r.pdf"_qs);
    const struct {
        QStringList args;
        const char16_t *says;
    } cases[] = {
        {{u"--report"_qs, empty.path(), u"-o"_qs, pdf}, u"nothing to report"},
        {{u"--report"_qs, foreign.path(), u"-o"_qs, pdf}, u"no record in its 1 lines"},
        {{u"--report"_qs, empty.path() + u"/gone"_qs, u"-o"_qs, pdf}, u"cannot read it"},
        {{u"--report"_qs, cls->root, u"--from"_qs, u"2000-01-01"_qs, u"--to"_qs, u"2000-12-31"_qs, u"-o"_qs, pdf},
         u"30 learners found, but no run or answer in the period"},
        {{u"--report"_qs, cls->root, u"--from"_qs, u"2026-12-01"_qs, u"--to"_qs, u"2026-11-01"_qs, u"-o"_qs, pdf},
         u"is after --to"},
        {{u"--report"_qs, cls->root, u"--from"_qs, u"2026-9-1"_qs, u"-o"_qs, pdf}, u"YYYY-MM-DD"},
        {{u"--report"_qs, cls->root, u"--to"_qs, u"2026-02-30"_qs, u"-o"_qs, pdf}, u"YYYY-MM-DD"},
        {{u"--report"_qs, cls->root, u"--set"_qs, u"nope"_qs, u"-o"_qs, pdf}, u"valid items: thahyo1"},
        {{u"--report"_qs, cls->root, u"-o"_qs, path(u"r.doc"_qs)}, u".pdf, .csv or .png"},
        {{u"--report"_qs, cls->root, u"--page"_qs, u"2"_qs, u"-o"_qs, pdf}, u"--page chooses"},
        {{u"--report"_qs, u"-o"_qs, pdf}, u"at least one results folder"},
        {{u"--report"_qs, cls->root}, u"no output file"},
        {{u"--report"_qs, cls->root, u"-o"_qs, path(u"missing/r.pdf"_qs)}, u"cannot write"},
        {{u"--report"_qs, cls->root, u"-o"_qs, path(u"missing/r.csv"_qs)}, u"cannot write"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const Ran r = soremuka(c.args);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.err.contains(QString::fromUtf16(c.says))) << r.err.toStdString();
        EXPECT_TRUE(entries(out.path()).isEmpty()) << entries(out.path()).join(u' ').toStdString();
    }
    // A report that fails over an older one leaves it as it was.
    put(pdf, "older report");
    EXPECT_EQ(soremuka({u"--report"_qs, empty.path(), u"-o"_qs, pdf}).code, 2);
    EXPECT_EQ(readAll(pdf), QByteArray("older report"));
}
