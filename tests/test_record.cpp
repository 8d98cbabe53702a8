// The learner's record: its lines written and read back, damaged and huge
// files, and the review schedule made from it over simulated days.
#include "TestForm.h"
#include "record/LearnerRecord.h"
#include "record/Review.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace {

using record::Event;
using record::Kind;

QDateTime at(int day, int hour = 9)
{
    return QDateTime(QDate(2026, 12, 1).addDays(day), QTime(hour, 0), Qt::UTC);
}

Event answer(int day, const QString &set, int number, bool correct, const QString &mode = record::kFiveMinutes)
{
    Event e;
    e.kind = Kind::Answer;
    e.when = at(day);
    e.set = set;
    e.mode = mode;
    e.number = number;
    e.correct = correct;
    e.answer = correct ? u"5"_qs : u"7"_qs;
    return e;
}

QStringList dueOn(const std::vector<Event> &events, int day)
{
    QStringList out;
    for (const record::Due &d : record::progressOf(events, QDate(2026, 12, 1).addDays(day)).due)
        out << u"%1#%2"_qs.arg(d.question.set).arg(d.question.number);
    return out;
}

} // namespace

TEST(LearnerRecord, EventsReadBackAsWritten)
{
    Event run;
    run.kind = Kind::Run;
    run.when = at(3, 14);
    run.set = u"nagasa"_qs;
    run.mode = record::kTenInARow;
    run.score = -2;
    run.right = 4;
    run.misses = 6;
    run.seconds = 312;
    Event typed = answer(3, u"grawrite1"_qs, 12, false);
    typed.answer = u"y=-/8x\tand\r\nmore"_qs;
    const Event drawn = answer(4, u"thahyo1"_qs, 40, true, record::kReview);
    for (const Event &e : {run, typed, drawn}) {
        const QString line = record::formatEvent(e);
        EXPECT_EQ(line.count(u'\t'), 10) << line.toStdString();
        EXPECT_FALSE(line.contains(u'\n'));
        Event back;
        ASSERT_TRUE(record::parseEvent(line.toUtf8(), back)) << line.toStdString();
        Event expected = e;
        expected.answer.replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' ');
        EXPECT_EQ(back, expected);
    }
    EXPECT_EQ(record::formatEvent(run), u"回\t2026-12-04 14:00:00\tnagasa\t連続10題\t-2\t4\t6\t312\t\t\t"_qs);
}

TEST(LearnerRecord, DamagedLinesAreRefused)
{
    const char *lines[] = {
        "",
        "種類\t日時\tセット\tモード\t点数\t正解数\tミス数\t秒数\t問題番号\t判定\t答え",
        "答\t2026-12-04 14:00:00\tnagasa\t5分\t\t\t\t\t7",          // too few fields
        "答\t2026-13-04 14:00:00\tnagasa\t5分\t\t\t\t\t7\t正\t5",    // no such date
        "答\t2026-12-04 14:00:00\t\t5分\t\t\t\t\t7\t正\t5",          // no set
        "答\t2026-12-04 14:00:00\tnagasa\t5分\t\t\t\t\t0\t正\t5",    // no question 0
        "答\t2026-12-04 14:00:00\tnagasa\t5分\t\t\t\t\tseven\t正\t5",
        "答\t2026-12-04 14:00:00\tnagasa\t5分\t\t\t\t\t7\tまる\t5",
        "回\t2026-12-04 14:00:00\tnagasa\t5分\tx\t1\t1\t1\t\t\t",
        "回\t2026-12-04 14:00:00\tnagasa\t5分\t1\t-1\t1\t1\t\t\t",
        "終\t2026-12-04 14:00:00\tnagasa\t5分\t1\t1\t1\t1\t\t\t",
        "\xff\xfe\x00\x41",
    };
    for (const char *l : lines) {
        Event e;
        EXPECT_FALSE(record::parseEvent(QByteArrayView(l), e)) << l;
    }
    Event e;
    EXPECT_TRUE(record::parseEvent("\xEF\xBB\xBF答\t2026-12-04 14:00:00\tnagasa\t5分\t\t\t\t\t7\t正\t5\r\n", e));
    EXPECT_EQ(e.number, 7);
}

TEST(LearnerRecord, AppendedWithItsHeaderAndReadWithBounds)
{
    ScratchFolder s;
    const QString path = QDir(s.paths.currentFolder).filePath(record::fileNameFor(u"とくめい"_qs));
    EXPECT_TRUE(path.endsWith(u"とくめいきろく.txt"_qs));
    EXPECT_TRUE(record::readRecent(path).events.empty());
    ASSERT_TRUE(record::append(path, {answer(0, u"nagasa"_qs, 3, false)}).ok());
    ASSERT_TRUE(record::append(path, {answer(0, u"nagasa"_qs, 4, true), answer(0, u"nagasa"_qs, 5, true)}).ok());
    const QByteArray bytes = TestForm::read(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF" + record::headerLine().toUtf8() + "\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 4);
    EXPECT_FALSE(QFile::exists(path + u".lock"_qs));

    // Damaged lines among good ones are skipped and counted, never fatal.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(QByteArray("garbage\r\n\x00\x01\x02\r\n答\t2026-12-01\tnagasa\r\n", 37));
    f.close();
    ASSERT_TRUE(record::append(path, {answer(1, u"nagasa"_qs, 6, false)}).ok());
    record::Recent r = record::readRecent(path);
    ASSERT_EQ(r.events.size(), 4u);
    EXPECT_EQ(r.damaged, 3);
    EXPECT_EQ(r.events.back().number, 6);
    // Only the newest are held.
    r = record::readRecent(path, 2);
    ASSERT_EQ(r.events.size(), 2u);
    EXPECT_EQ(r.events[0].number, 5);
}

TEST(LearnerRecord, NeverThroughALinkOrIntoAFolder)
{
    ScratchFolder s;
    const QDir dir(s.paths.currentFolder);
    const QString target = dir.filePath(u"elsewhere.txt"_qs);
    TestForm::write(target, "keep\n");
    const QString link = dir.filePath(u"linkきろく.txt"_qs);
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_EQ(record::append(link, {answer(0, u"nagasa"_qs, 1, false)}).fault, plainfile::Fault::Link);
    EXPECT_EQ(TestForm::read(target), QByteArray("keep\n"));
    EXPECT_TRUE(record::readRecent(link).events.empty());
    EXPECT_FALSE(record::readRecent(link).status.ok());

    const QString folder = dir.filePath(u"folderきろく.txt"_qs);
    dir.mkdir(u"folderきろく.txt"_qs);
    EXPECT_EQ(record::append(folder, {answer(0, u"nagasa"_qs, 1, false)}).fault, plainfile::Fault::Folder);
    const QString pipe = dir.filePath(u"pipeきろく.txt"_qs);
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(record::readRecent(pipe).status.ok()); // returns at once, never waits on the pipe
}

TEST(LearnerRecord, AHugeRecordIsReadFromItsEnd)
{
    ScratchFolder s;
    const QString path = QDir(s.paths.currentFolder).filePath(u"bigきろく.txt"_qs);
    QByteArray bytes = "\xEF\xBB\xBF" + record::headerLine().toUtf8() + "\r\n";
    const QByteArray line = record::formatEvent(answer(0, u"nagasa"_qs, 3, true)).toUtf8() + "\r\n";
    const qint64 lines = record::kScanBytes / line.size() + 50000;
    bytes.reserve(qsizetype(lines * line.size() + 200));
    for (qint64 i = 0; i < lines; ++i)
        bytes += line;
    bytes += record::formatEvent(answer(9, u"ouyou3"_qs, 17, false)).toUtf8() + "\r\n";
    TestForm::write(path, bytes);
    const record::Recent r = record::readRecent(path, 1000);
    EXPECT_TRUE(r.status.ok());
    ASSERT_EQ(r.events.size(), 1000u);
    EXPECT_EQ(r.events.back().set, u"ouyou3"_qs);
    EXPECT_EQ(r.damaged, 0); // the line cut by the window is not counted as damaged
}

// The spacing of reviews over simulated days.
TEST(ReviewSchedule, MissedQuestionsComeBackSpaced)
{
    const QString a = u"nagasa"_qs;
    std::vector<Event> events{answer(0, a, 3, false), answer(0, a, 4, true)};
    EXPECT_TRUE(dueOn(events, 0).isEmpty()); // due from the next day
    EXPECT_EQ(dueOn(events, 1), QStringList{u"nagasa#3"_qs});
    EXPECT_EQ(dueOn(events, 9), QStringList{u"nagasa#3"_qs}); // and stays due

    // Right in a review on day 2: due again three days later.
    events.push_back(answer(2, a, 3, true, record::kReview));
    EXPECT_TRUE(dueOn(events, 4).isEmpty());
    EXPECT_EQ(dueOn(events, 5), QStringList{u"nagasa#3"_qs});
    // Right in an ordinary run counts for nothing.
    events.push_back(answer(5, a, 3, true));
    EXPECT_EQ(dueOn(events, 5), QStringList{u"nagasa#3"_qs});
    // Right in a second review on the same day as the first: still one day.
    std::vector<Event> sameDay = events;
    sameDay.insert(sameDay.begin() + 3, answer(2, a, 3, true, record::kReview));
    EXPECT_EQ(dueOn(sameDay, 5), QStringList{u"nagasa#3"_qs});
    // Right in a review on another day: done.
    events.push_back(answer(6, a, 3, true, record::kReview));
    EXPECT_TRUE(dueOn(events, 30).isEmpty());
    EXPECT_EQ(record::progressOf(events, QDate(2026, 12, 31)).done, 1);
    // A new miss starts it again.
    events.push_back(answer(8, a, 3, false, record::kTenInARow));
    EXPECT_TRUE(dueOn(events, 8).isEmpty());
    EXPECT_EQ(dueOn(events, 9), QStringList{u"nagasa#3"_qs});
    // A miss in a review too.
    events.push_back(answer(9, a, 3, true, record::kReview));
    events.push_back(answer(12, a, 3, false, record::kReview));
    EXPECT_EQ(dueOn(events, 13), QStringList{u"nagasa#3"_qs});
    EXPECT_EQ(record::progressOf(events, QDate(2026, 12, 14)).done, 0);
}

TEST(ReviewSchedule, AReviewMixesTheSets)
{
    std::vector<Event> events;
    // Day 0: six of A missed, then three of B, one of C.
    for (int n = 1; n <= 6; ++n)
        events.push_back(answer(0, u"A"_qs, n, false));
    for (int n = 1; n <= 3; ++n)
        events.push_back(answer(0, u"B"_qs, n, false));
    events.push_back(answer(0, u"C"_qs, 1, false));
    events.push_back(answer(0, u"D"_qs, 9, false));
    events.back().when = at(-3);
    const record::Progress p = record::progressOf(events, QDate(2026, 12, 2));
    ASSERT_EQ(p.due.size(), 11u);
    const auto order = record::reviewOrder(p.due);
    ASSERT_EQ(order.size(), 10u);
    EXPECT_EQ(order[0], (record::Question{u"D"_qs, 9})); // the longest due first
    QStringList sets;
    for (const auto &q : order)
        sets << q.set;
    // Never two of one set in a row while another set has a question left.
    EXPECT_EQ(sets.join(QString()), u"DABABABACA"_qs);
    EXPECT_EQ(record::reviewOrder(p.due, 3).size(), 3u);
    EXPECT_TRUE(record::reviewOrder({}).empty());
}

TEST(LearnerRecord, AFolderThatIsGoneIsAFailureNotASuccess)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"gone/生徒きろく.txt"_qs);
    const plainfile::Status status = record::append(path, {answer(0, u"nagasa"_qs, 1, false)});
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.fault, plainfile::Fault::NoFolder);
    EXPECT_FALSE(QFileInfo::exists(path));
}
