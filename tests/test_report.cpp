// The class report's parts inside the process: results folders of many
// shapes read into learners, the tables made from them, the spreadsheet
// lines and the pages laid out.
#include "app/Results.h"
#include "record/LearnerRecord.h"
#include "report/ClassData.h"
#include "report/ReportCsv.h"
#include "report/ReportPages.h"
#include "report/ReportTables.h"
#include "ui/QtTextMetrics.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iconv.h>
#include <sys/stat.h>

using namespace report;

namespace {

const QDate kDay0(2026, 9, 1);

QByteArray sjis(const QString &text)
{
    const QByteArray in = text.toUtf8();
    QByteArray out(in.size() * 2 + 8, '\0');
    iconv_t cd = iconv_open("CP932", "UTF-8");
    char *src = const_cast<char *>(in.constData()), *dst = out.data();
    size_t inLeft = size_t(in.size()), outLeft = size_t(out.size());
    iconv(cd, &src, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - qsizetype(outLeft));
    return out;
}

void put(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

record::Event run(int day, const QString &set, int score, int right = 5, int misses = 1,
                  const QString &mode = record::kFiveMinutes)
{
    record::Event e;
    e.kind = record::Kind::Run;
    e.when = QDateTime(kDay0.addDays(day), QTime(10, 0));
    e.set = set;
    e.mode = mode;
    e.score = score;
    e.right = right;
    e.misses = misses;
    e.seconds = 300;
    return e;
}

record::Event answer(int day, const QString &set, int number, bool correct, const QString &mode = record::kFiveMinutes)
{
    record::Event e;
    e.kind = record::Kind::Answer;
    e.when = QDateTime(kDay0.addDays(day), QTime(9, 0));
    e.set = set;
    e.mode = mode;
    e.number = number;
    e.correct = correct;
    e.answer = u"7"_qs;
    return e;
}

// A family file as the program leaves it: its date line and records.
QByteArray family(const QStringList &records)
{
    return (u"2026/09/01\r\n"_qs + records.join(u"\r\n"_qs) + u"\r\n"_qs).toUtf8();
}

QString yymmdd(int day) { return kDay0.addDays(day).toString(u"yyMMdd"_qs); }

const Learner *learner(const ClassData &data, const QString &name)
{
    for (const Learner &l : data.learners)
        if (l.name == name)
            return &l;
    return nullptr;
}

std::vector<int> scores(const Learner &l)
{
    std::vector<int> out;
    for (const report::Run &r : l.runs)
        out.push_back(r.score);
    return out;
}

int notesOf(const ClassData &data, Note::Kind kind, const QString &pathEnd = {}, int lines = -1)
{
    int n = 0;
    for (const Note &note : data.notes)
        if (note.kind == kind && note.path.endsWith(pathEnd) && (lines < 0 || note.lines == lines))
            ++n;
    return n;
}

const QDate kToday(2026, 12, 8);

} // namespace

TEST(ReportFamilyLine, ReadsRecordsAsTheProgramWritesThem)
{
    const struct {
        const char16_t *line;
        bool ok;
        int score;
        QDate date;
        const char16_t *item;
    } rows[] = {
        {u"12,261207#座標問題1.txt", true, 12, QDate(2026, 12, 7), u"thahyo1"},
        {u"7,261207", true, 7, QDate(2026, 12, 7), u""},               // before set names were kept
        {u"12.5,261207#長さ面積1.txt", true, 12, QDate(2026, 12, 7), u"nagasa"}, // rounded, halves to even
        {u"-3,990101#座標問題2.txt", true, -3, QDate(1999, 1, 1), u"thahyou2"},  // last century
        {u"12,261207#よその問題.txt", true, 12, QDate(2026, 12, 7), u""},
        {u"2026/12/07", false, 0, {}, u""},     // a date line
        {u"x,261207#座標問題1.txt", false, 0, {}, u""},
        {u"12,2612#座標問題1.txt", false, 0, {}, u""},
        {u"12,261332#座標問題1.txt", false, 0, {}, u""}, // no such day
        {u"12261207", false, 0, {}, u""},
        {u"", false, 0, {}, u""},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(QString::fromUtf16(r.line).toStdString());
        report::Run read;
        ASSERT_EQ(parseFamilyLine(QString::fromUtf16(r.line), u"座標問題"_qs, kToday, read), r.ok);
        if (!r.ok)
            continue;
        EXPECT_EQ(read.score, r.score);
        EXPECT_EQ(read.date, r.date);
        EXPECT_EQ(read.item, QString::fromUtf16(r.item));
        EXPECT_EQ(read.family, u"座標問題"_qs);
        EXPECT_EQ(read.right, -1);
    }
}

TEST(ReportRead, SharedFolderCountsEachRunOnceAndKeepsOlderRunsNameless)
{
    QTemporaryDir dir;
    const QString room = dir.filePath(u"2組"_qs);
    QDir().mkpath(room);
    // Two learners' records; the family files hold their runs too, and one
    // run from before records were kept.
    ASSERT_TRUE(record::append(room + u"/青木きろく.txt"_qs, {run(1, u"thahyo1"_qs, 10), run(2, u"nagasa"_qs, 5)}).ok());
    ASSERT_TRUE(record::append(room + u"/井上きろく.txt"_qs, {run(1, u"thahyo1"_qs, 10), run(3, u"thahyou2"_qs, 8)}).ok());
    put(room + u"/座標問題.txt"_qs,
        family({u"7,%1#座標問題1.txt"_qs.arg(yymmdd(0)), u"10,%1#座標問題1.txt"_qs.arg(yymmdd(1)),
                u"10,%1#座標問題1.txt"_qs.arg(yymmdd(1)), u"8,%1#座標問題2.txt"_qs.arg(yymmdd(3))}));
    put(room + u"/長さ面積.txt"_qs, family({u"5,%1#長さ面積1.txt"_qs.arg(yymmdd(2))}));

    const ClassData data = readClass({room}, {}, kToday);
    ASSERT_EQ(data.learners.size(), 3u);
    const Learner *aoki = learner(data, u"青木"_qs), *inoue = learner(data, u"井上"_qs), *older = learner(data, u"2組"_qs);
    ASSERT_TRUE(aoki && inoue && older);
    EXPECT_EQ(scores(*aoki), std::vector<int>({10, 5}));
    EXPECT_EQ(scores(*inoue), std::vector<int>({10, 8}));
    EXPECT_EQ(aoki->runs[0].right, 5);
    EXPECT_FALSE(older->named);
    EXPECT_EQ(scores(*older), std::vector<int>({7}));
    EXPECT_EQ(older->runs[0].right, -1);
    EXPECT_EQ(&data.learners.back(), older); // the nameless last
    EXPECT_EQ(notesOf(data, Note::Shared, u"2組"_qs, 1), 1);
    EXPECT_EQ(data.files, 4);
    EXPECT_EQ(data.firstDay, kDay0);
    EXPECT_EQ(data.lastDay, kDay0.addDays(3));
}

TEST(ReportRead, LearnerFoldersNameTheirLearnersAndFaultsAreNamed)
{
    QTemporaryDir dir;
    const QString cls = dir.filePath(u"3年1組"_qs);
    // A learner of an earlier installation: Shift-JIS, one damaged line.
    put(cls + u"/山田/座標問題.txt"_qs,
        sjis(u"2025/03/01\r\n9,250301#座標問題1.txt\r\nこわれた行\r\n11,250302#座標問題3.txt\r\n"_qs));
    // A learner with a record and older runs in their own family file.
    QDir().mkpath(cls + u"/佐藤"_qs);
    ASSERT_TRUE(record::append(cls + u"/佐藤/佐藤きろく.txt"_qs, {run(5, u"nagasa"_qs, 6)}).ok());
    put(cls + u"/佐藤/長さ面積.txt"_qs,
        family({u"4,%1#長さ面積1.txt"_qs.arg(yymmdd(2)), u"6,%1#長さ面積1.txt"_qs.arg(yymmdd(5))}));
    // A side file: one record the family file could not take, one copied back by hand.
    put(cls + u"/佐藤/長さ面積.txt.pc01.20260910.txt"_qs,
        family({u"4,%1#長さ面積1.txt"_qs.arg(yymmdd(2)), u"3,%1#長さ面積2.txt"_qs.arg(yymmdd(9))}));
    // Not results at all, though named like them; a pipe; a link; too deep.
    put(cls + u"/その他/座標問題.txt"_qs, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    ASSERT_EQ(::mkfifo(QFile::encodeName(cls + u"/佐藤/中村きろく.txt"_qs).constData(), 0600), 0);
    QFile::link(cls + u"/山田"_qs, cls + u"/リンク"_qs);
    put(cls + u"/a/b/c/d/e/奥/座標問題.txt"_qs, family({u"1,260901#座標問題1.txt"_qs}));
    put(cls + u"/メモ.txt"_qs, "the teacher's own notes");

    const ClassData data = readClass({cls, dir.filePath(u"ない"_qs)}, {}, kToday);
    QStringList names;
    for (const Learner &l : data.learners)
        names << l.name;
    EXPECT_EQ(names, QStringList({u"佐藤"_qs, u"山田"_qs})) << names.join(u' ').toStdString();
    const Learner *yamada = learner(data, u"山田"_qs), *sato = learner(data, u"佐藤"_qs);
    ASSERT_TRUE(yamada && sato);
    EXPECT_EQ(scores(*yamada), std::vector<int>({9, 11}));
    EXPECT_EQ(yamada->runs[1].item, u"zahyou3"_qs);
    EXPECT_FALSE(yamada->hasRecord);
    // The record's run, the older run, and the side file's own record.
    EXPECT_EQ(scores(*sato), std::vector<int>({4, 6, 3}));
    EXPECT_EQ(sato->runs[1].right, 5);

    EXPECT_EQ(notesOf(data, Note::Damaged, u"山田/座標問題.txt"_qs, 1), 1);
    EXPECT_EQ(notesOf(data, Note::Foreign, u"その他/座標問題.txt"_qs), 1);
    EXPECT_EQ(notesOf(data, Note::Unreadable, u"中村きろく.txt"_qs), 1);
    EXPECT_EQ(notesOf(data, Note::Unreadable, u"ない"_qs), 1);
    EXPECT_EQ(notesOf(data, Note::Link, u"リンク"_qs), 1);
    EXPECT_EQ(notesOf(data, Note::TooDeep, u"/a/b/c/d"_qs), 1); // its folder e is not looked into
    for (const Note &n : data.notes) {
        EXPECT_FALSE(describe(n).isEmpty());
        EXPECT_TRUE(explain(n).contains(n.path));
    }
}

TEST(ReportRead, TheSameLearnerInTwoFoldersIsOneAndTheSameFileIsReadOnce)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(u"月曜"_qs));
    QDir().mkpath(dir.filePath(u"木曜"_qs));
    ASSERT_TRUE(record::append(dir.filePath(u"月曜/高橋きろく.txt"_qs), {run(1, u"graread1"_qs, 12)}).ok());
    ASSERT_TRUE(record::append(dir.filePath(u"木曜/高橋きろく.txt"_qs), {run(4, u"graread2"_qs, 15)}).ok());
    const ClassData data =
        readClass({dir.path(), dir.filePath(u"月曜"_qs), dir.filePath(u"月曜/高橋きろく.txt"_qs)}, {}, kToday);
    ASSERT_EQ(data.learners.size(), 1u);
    EXPECT_EQ(scores(data.learners[0]), std::vector<int>({12, 15}));
    EXPECT_EQ(data.files, 2);
}

TEST(ReportRead, AnonymousRecordsStayApartFolderByFolder)
{
    // Learners' own folders on machines no roster names: each holds the
    // anonymous record, and each folder is one learner, named by the folder.
    QTemporaryDir dir;
    const struct {
        const char16_t *folder;
        int score;
    } own[] = {{u"生徒01", 4}, {u"生徒02", 7}, {u"生徒03", 9}};
    for (const auto &o : own) {
        QDir().mkpath(dir.filePath(QString::fromUtf16(o.folder)));
        ASSERT_TRUE(record::append(dir.filePath(QString::fromUtf16(o.folder) + u"/"_qs + record::fileNameFor(record::kAnonymous)),
                                   {run(1, u"nagasa"_qs, o.score)}).ok());
    }
    // A class folder: named learners beside the anonymous one, who stays
    // anonymous, but of that folder only.
    const QString cls = dir.filePath(u"3年2組"_qs);
    QDir().mkpath(cls);
    ASSERT_TRUE(record::append(cls + u"/田中きろく.txt"_qs, {run(2, u"nagasa"_qs, 11)}).ok());
    ASSERT_TRUE(record::append(cls + u"/"_qs + record::fileNameFor(record::kAnonymous), {run(2, u"nagasa"_qs, 2)}).ok());

    const ClassData data = readClass({dir.path()}, {}, kToday);
    QStringList names;
    for (const Learner &l : data.learners)
        names << l.name;
    names.sort();
    QStringList want = {u"生徒01"_qs, u"生徒02"_qs, u"生徒03"_qs, u"田中"_qs, u"とくめい（3年2組）"_qs};
    want.sort();
    EXPECT_EQ(names, want) << names.join(u' ').toStdString();
    for (const auto &o : own) {
        const Learner *l = learner(data, QString::fromUtf16(o.folder));
        ASSERT_TRUE(l);
        EXPECT_EQ(scores(*l), std::vector<int>({o.score}));
    }
}

TEST(ReportRead, PeriodAndSetNarrowWhatIsCounted)
{
    QTemporaryDir dir;
    ASSERT_TRUE(record::append(dir.filePath(u"林きろく.txt"_qs),
                               {answer(0, u"nagasa"_qs, 3, false), run(0, u"nagasa"_qs, 4),
                                answer(10, u"thahyo1"_qs, 2, false), run(10, u"thahyo1"_qs, 9),
                                answer(20, u"nagasa"_qs, 3, true), run(20, u"nagasa"_qs, 12)})
                    .ok());
    const struct {
        Filter filter;
        std::vector<int> scores;
        int answers;
    } rows[] = {
        {{}, {4, 9, 12}, 3},
        {{kDay0.addDays(5), {}, {}}, {9, 12}, 2},
        {{{}, kDay0.addDays(10), {}}, {4, 9}, 2},
        {{kDay0.addDays(10), kDay0.addDays(10), {}}, {9}, 1},
        {{{}, {}, u"nagasa"_qs}, {4, 12}, 2},
        {{kDay0.addDays(1), {}, u"nagasa"_qs}, {12}, 1},
        {{kDay0.addDays(30), {}, {}}, {}, 0},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.filter.from.toString(Qt::ISODate).toStdString() + " " + r.filter.item.toStdString());
        const ClassData data = readClass({dir.path()}, r.filter, kToday);
        ASSERT_EQ(data.learners.size(), 1u);
        EXPECT_EQ(scores(data.learners[0]), r.scores);
        int answers = 0;
        for (const auto &[key, tally] : data.learners[0].questions)
            answers += tally.answers;
        EXPECT_EQ(answers, r.answers);
    }
}

TEST(ReportRead, ReviewRunsHaveTheirOwnColumnAndProgressIsOnTheReportsDay)
{
    QTemporaryDir dir;
    ASSERT_TRUE(record::append(dir.filePath(u"森きろく.txt"_qs),
                               {// Missed on day 0, reviewed right on days 1 and 4: done.
                                answer(0, u"nagasa"_qs, 1, false), answer(1, u"nagasa"_qs, 1, true, record::kReview),
                                answer(4, u"nagasa"_qs, 1, true, record::kReview),
                                // Missed on day 0, reviewed right on day 1: due again on day 4.
                                answer(0, u"graread1"_qs, 7, false), answer(1, u"graread1"_qs, 7, true, record::kReview),
                                run(1, u"nagasa"_qs, 2, 2, 0, record::kReview),
                                // Missed on day 5: due from day 6.
                                answer(5, u"thahyo1"_qs, 4, false), run(5, u"thahyo1"_qs, 3)})
                    .ok());
    const struct {
        QDate to;
        int due, waiting, done;
    } rows[] = {
        {kDay0.addDays(2), 0, 2, 0}, // both reviewed once, due again on day 4
        {kDay0.addDays(5), 1, 1, 1}, // nagasa 1 done on day 4; thahyo1 4 missed today
        {kDay0.addDays(6), 2, 0, 1},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.to.toString(Qt::ISODate).toStdString());
        const ClassData data = readClass({dir.path()}, Filter{{}, r.to, {}}, kToday);
        ASSERT_EQ(data.learners.size(), 1u);
        const Learner &l = data.learners[0];
        EXPECT_EQ(data.day, r.to);
        EXPECT_EQ(l.due, r.due);
        EXPECT_EQ(l.waiting, r.waiting);
        EXPECT_EQ(l.done, r.done);
    }
    EXPECT_EQ(familiesOf(readClass({dir.path()}, Filter{{}, kDay0.addDays(2), {}}, kToday)), QStringList({kReviews}));
    const ClassData all = readClass({dir.path()}, {}, kToday);
    EXPECT_EQ(familiesOf(all), QStringList({u"座標問題"_qs, kReviews}));
    EXPECT_EQ(all.learners[0].runs[0].family, kReviews);
    EXPECT_TRUE(all.learners[0].runs[0].item.isEmpty());
}

namespace {

report::Run made(int day, const QString &family, const QString &item, int score, int right = -1, int misses = -1)
{
    report::Run r;
    r.date = kDay0.addDays(day);
    r.family = family;
    r.item = item;
    r.setName = item;
    r.score = score;
    r.right = right;
    r.misses = misses;
    return r;
}

// Three learners: one with runs in two families (one run known only from a
// family file), one with a run in one, one who never ran.
ClassData smallClass()
{
    ClassData data;
    Learner a, b, c;
    a.name = u"A"_qs;
    a.runs = {made(0, u"座標問題"_qs, u"thahyo1"_qs, 10, 5, 1), made(1, u"長さ面積"_qs, u"nagasa"_qs, 3),
              made(2, u"座標問題"_qs, u"thahyou2"_qs, 12, 6, 0)};
    a.questions = {{{u"thahyo1"_qs, 3}, {2, 2}}, {{u"nagasa"_qs, 1}, {1, 1}}};
    b.name = u"B"_qs;
    b.runs = {made(3, u"座標問題"_qs, u"thahyo1"_qs, 8, 4, 2)};
    b.questions = {{{u"thahyo1"_qs, 3}, {1, 1}}, {{u"thahyo1"_qs, 5}, {3, 1}}, {{u"thahyo1"_qs, 4}, {1, 0}}};
    c.name = u"C"_qs;
    data.learners = {a, b, c};
    return data;
}

} // namespace

TEST(ReportTables, CellsAndTotalsOfTheClass)
{
    const Overview o = overviewOf(smallClass());
    ASSERT_EQ(o.families, QStringList({u"座標問題"_qs, u"長さ面積"_qs}));
    const Summary &a = o.cells[0][0];
    EXPECT_EQ(std::tuple(a.runs, a.best, a.last, a.right, a.misses), std::tuple(2, 12, 12, 11, 1));
    EXPECT_EQ(a.scores, std::vector<int>({10, 12}));
    EXPECT_FALSE(o.cells[0][1].counted); // a family file's run counts no answers
    EXPECT_EQ(o.cells[2][0].runs, 0);
    EXPECT_EQ(std::tuple(o.familyTotals[0].runs, o.familyTotals[0].best, o.familyTotals[0].learners), std::tuple(3, 12, 2));
    EXPECT_EQ(std::tuple(o.familyTotals[1].runs, o.familyTotals[1].best, o.familyTotals[1].learners), std::tuple(1, 3, 1));
    EXPECT_EQ(std::tuple(o.learnerTotals[0].runs, o.learnerTotals[0].right, o.learnerTotals[0].misses), std::tuple(3, 11, 1));
    EXPECT_EQ(std::tuple(o.total.runs, o.total.right, o.total.misses, o.total.learners), std::tuple(4, 15, 3, 2));
}

TEST(ReportTables, QuestionsRankedByLearnersThenMisses)
{
    const ClassData data = smallClass();
    const std::vector<QuestionRow> rows = questionRowsOf(data);
    const std::vector<QuestionRow> expected = {
        {{u"thahyo1"_qs, 3}, 2, 3, 3}, {{u"thahyo1"_qs, 5}, 1, 1, 3}, {{u"thahyo1"_qs, 4}, 0, 0, 1},
        {{u"nagasa"_qs, 1}, 1, 1, 1}};
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(missedBy(data.learners[1], 10).size(), 2u); // what was never missed is not listed
    EXPECT_EQ(missedBy(data.learners[0], 1), std::vector<QuestionRow>({{{u"thahyo1"_qs, 3}, 1, 2, 2}}));
    const std::vector<SetRow> sets = setRowsOf(data);
    QStringList items;
    for (const SetRow &r : sets)
        items << data.learners[size_t(r.learner)].name + u':' + r.item;
    EXPECT_EQ(items, QStringList({u"A:thahyo1"_qs, u"A:thahyou2"_qs, u"A:nagasa"_qs, u"B:thahyo1"_qs, u"C:"_qs}));
}

TEST(ReportCsv, FieldsAreQuotedAndNeverFormulas)
{
    const struct {
        const char16_t *in, *out;
    } rows[] = {
        {u"生徒01", u"生徒01"},
        {u"y=-2/3x+1", u"y=-2/3x+1"},
        {u"(4,-2)の点", u"\"(4,-2)の点\""},
        {u"say \"hi\"", u"\"say \"\"hi\"\"\""},
        {u"two\nlines", u"\"two\nlines\""},
        {u" padded", u"\" padded\""},
        {u"=HYPERLINK(\"x\")", u"\"'=HYPERLINK(\"\"x\"\")\""},
        {u"@SUM(A1)", u"'@SUM(A1)"},
        {u"+1", u"'+1"},
        {u"-4", u"-4"},
        {u"-x", u"'-x"},
        {u"", u""},
    };
    for (const auto &r : rows) {
        EXPECT_EQ(csvField(QString::fromUtf16(r.in)), QString::fromUtf16(r.out)) << QString::fromUtf16(r.in).toStdString();
        // And read back, the field is the text (behind its apostrophe).
        const auto back = parseCsv((csvField(QString::fromUtf16(r.in)) + u",x"_qs).toUtf8());
        ASSERT_EQ(back.size(), 1u);
        const QString in = QString::fromUtf16(r.in);
        EXPECT_TRUE(back[0][0] == in || back[0][0] == u'\'' + in) << back[0][0].toStdString();
    }
    EXPECT_EQ(questionsCsvPath(u"out/class.csv"_qs), u"out/class-questions.csv"_qs);
    EXPECT_EQ(questionsCsvPath(u"CLASS.CSV"_qs), u"CLASS-questions.csv"_qs);
}

TEST(ReportCsv, LinesReadBackAsTheNumbers)
{
    const ClassData data = smallClass();
    const auto title = [](const QString &item) { return u"「"_qs + item + u"」"_qs; };
    const QByteArray bytes = learnersCsv(data, title);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.count("\r\n"), 6);
    const std::vector<QStringList> rows = parseCsv(bytes);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0][0], u"名前"_qs);
    EXPECT_EQ(rows[1], QStringList({u"A"_qs, u"座標問題.txt"_qs, u"thahyo1"_qs, u"「thahyo1」"_qs, u"1"_qs, u"5"_qs,
                                    u"1"_qs, u"10"_qs, u"10"_qs, u"2026-09-01"_qs}));
    EXPECT_EQ(rows[3], QStringList({u"A"_qs, u"長さ面積.txt"_qs, u"nagasa"_qs, u"「nagasa」"_qs, u"1"_qs, u""_qs, u""_qs,
                                    u"3"_qs, u"3"_qs, u"2026-09-02"_qs}));
    EXPECT_EQ(rows[5], QStringList({u"C"_qs, u""_qs, u""_qs, u""_qs, u"0"_qs, u""_qs, u""_qs, u""_qs, u""_qs, u""_qs}));

    const std::vector<QStringList> questions =
        parseCsv(questionsCsv(data, title, [](const QuestionKey &k) { return u"問%1, です"_qs.arg(k.number); }));
    ASSERT_EQ(questions.size(), 5u);
    EXPECT_EQ(questions[1], QStringList({u"thahyo1"_qs, u"「thahyo1」"_qs, u"3"_qs, u"問3, です"_qs, u"2"_qs, u"3"_qs, u"3"_qs}));
}

TEST(ReportPages, PartsFollowEachOtherAndTheClassFitsOnItsFirstPage)
{
    QtTextMetrics metrics;
    QuestionBook book(metrics);
    const struct {
        int learners;
        int families;
        int overviewPages;
    } rows[] = {{1, 1, 1}, {30, 5, 1}, {30, 6, 2}, {40, 2, 2}, {0, 0, 1}};
    const QStringList families = knownFamilies();
    for (const auto &r : rows) {
        SCOPED_TRACE(std::to_string(r.learners) + " learners, " + std::to_string(r.families) + " families");
        ClassData data;
        for (int i = 0; i < r.learners; ++i) {
            Learner l;
            l.name = u"生徒%1"_qs.arg(i + 1);
            for (int f = 0; f < r.families; ++f)
                l.runs.push_back(made(f, families[f], {}, i + f));
            data.learners.push_back(l);
        }
        data.notes.push_back({Note::Damaged, u"/x/座標問題.txt"_qs, 2, {}});
        const ReportLayout layout(data, book, kToday, {u"/x"_qs});
        EXPECT_EQ(layout.firstQuestionPage(), r.overviewPages);
        EXPECT_EQ(layout.pageCount(), r.overviewPages + 1 + r.learners + 1);
        if (r.learners > 0) {
            EXPECT_EQ(layout.learnerPage(r.learners - 1), r.overviewPages + r.learners);
        }
        EXPECT_EQ(layout.notesPage(), layout.pageCount() - 1);
    }
}

TEST(ReportRead, HugeLinesAndBinaryFilesCostLittleAndAreNamed)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(u"a"_qs));
    const QString own = dir.filePath(u"a/小林きろく.txt"_qs);
    ASSERT_TRUE(record::append(own, {run(1, u"nagasa"_qs, 4)}).ok());
    // A line of eight megabytes, and the record goes on after it.
    {
        QFile f(own);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(QByteArray(8 * 1024 * 1024, 'x') + "\r\n");
    }
    ASSERT_TRUE(record::append(own, {run(2, u"nagasa"_qs, 6)}).ok());
    put(dir.filePath(u"a/長さ面積.txt"_qs), "2026/09/01\r\n" + QByteArray(100000, '7') + "\r\n4," + yymmdd(1).toUtf8() + "#長さ面積1.txt\r\n");
    // A record that is no text at all.
    put(dir.filePath(u"b/木村きろく.txt"_qs), QByteArray("\0\x01\x02\xff\xfe\n\0\0\0\x07\n", 12));

    const ClassData data = readClass({dir.path()}, {}, kToday);
    const Learner *kobayashi = learner(data, u"小林"_qs), *kimura = learner(data, u"木村"_qs);
    ASSERT_TRUE(kobayashi && kimura);
    EXPECT_EQ(scores(*kobayashi), std::vector<int>({4, 6})); // the family file's 4 is the record's
    EXPECT_TRUE(kimura->runs.empty());
    EXPECT_EQ(notesOf(data, Note::Damaged, u"小林きろく.txt"_qs, 1), 1);
    EXPECT_EQ(notesOf(data, Note::Damaged, u"a/長さ面積.txt"_qs, 1), 1);
    EXPECT_EQ(notesOf(data, Note::Foreign, u"木村きろく.txt"_qs, 2), 1);
}
