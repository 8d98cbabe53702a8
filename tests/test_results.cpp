// Results files: created on the first run of a family, read at every
// activation (where they may put a set into bank order), and written back
// whole with one more record at the end of every run.
#include "TestForm.h"

#include "app/Results.h"

#include <climits>
#include <functional>
#include <random>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The results file of the coordinate family.
QString family(const TestForm &t) { return t.cwdFile(u"座標問題.txt"_qs); }

// Activates "座標問題2.txt" with a draw order that moves every question, so
// that bank order shows; the family's file holds `content` first, if any.
Form1 &activateZahyou2(TestForm &t, const QByteArray &content = {})
{
    if (!content.isNull())
        TestForm::write(family(t), content);
    Form1 &f = t.start();
    t.queueDraws(0, 50);
    f.menuClick(u"thahyou2"_qs);
    return f;
}

} // namespace

TEST(ResultsFile, FirstRunCreatesTheFamilyFileAndAddsOneRecord)
{
    TestForm t;
    Form1 &f = activateZahyou2(t);
    const QString path = family(t);
    EXPECT_EQ(f.history.resultsFile, u"座標問題.txt"_qs);
    EXPECT_EQ(f.history.resultsPath, path);
    EXPECT_EQ(TestForm::read(path), "2026/12/08\r\n");
    EXPECT_EQ(f.history.historyCount, 0);
    EXPECT_FALSE(TestForm::inBankOrder(f));

    t.clock.date = QDate(2027, 1, 5); // the run ends on another day
    t.runOutClock();
    EXPECT_EQ(linesOf(path), (QStringList{u"2027/01/05"_qs, u"0,270105#座標問題2.txt"_qs}));
    // Written through a temporary file that is gone afterwards.
    EXPECT_EQ(TestForm::filesBesideRecords(t.paths.currentFolder), QStringList{u"座標問題.txt"_qs});
}

TEST(ResultsFile, DrawOrderFollowsTheFirstRecordOfTheSet)
{
    const struct {
        const char *records; // after the date line
        bool bankOrder;
    } cases[] = {
        {"", false},
        {"12,261201#座標問題1.txt\r\n", true}, // another set only
        {"9,261201#座標問題2.txt\r\n15,261202#座標問題2.txt\r\n", true},
        {"10,261201#座標問題2.txt\r\n3,261202#座標問題2.txt\r\n", false},
        {"2,261201#座標問題1.txt\r\n12,261202#座標問題2.txt\r\n", false},
        {"9.5,261201#座標問題2.txt\r\n", false}, // rounds to 10
        {"7,261207\r\n", true},                 // no set name: no match
        {"-3,261201#座標問題2.txt\r\n", true},
    };
    for (const auto &c : cases) {
        TestForm t;
        EXPECT_EQ(TestForm::inBankOrder(activateZahyou2(t, QByteArray("2026/12/01\r\n") + c.records)), c.bankOrder)
            << c.records;
    }
}

TEST(ResultsFile, RecordsAreReadAndWrittenBackAsTheyStand)
{
    TestForm t;
    Form1 &f = activateZahyou2(t, "2026/12/01\n7,261207\nno comma here\n12,261201#座標問題1.txt\r\n"
                                  " 3 ,261202#a#b\r\n\n99999,261203#座標問題2.txt");
    const ResultsHistory &h = f.history;
    ASSERT_EQ(h.historyCount, 6);
    const int16_t scores[] = {7, 7, 12, 3, 3, 32767};
    const char16_t *dates[] = {u"261207", u"261207", u"261201", u"261202", u"261202", u"261203"};
    const char16_t *sets[] = {u"", u"", u"座標問題1.txt", u"a#b", u"a#b", u"座標問題2.txt"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(h.historyScore[i + 1], scores[i]) << i;
        EXPECT_EQ(h.historyDate[i + 1], QString::fromUtf16(dates[i])) << i;
        EXPECT_EQ(h.historySet[i + 1], QString::fromUtf16(sets[i])) << i;
    }

    t.runOutClock();
    // Written back as they stood on disk: the date line renewed, every other
    // line unchanged, line ends made CR LF.
    EXPECT_EQ(linesOf(family(t)),
              (QStringList{u"2026/12/08"_qs, u"7,261207"_qs, u"no comma here"_qs, u"12,261201#座標問題1.txt"_qs,
                           u" 3 ,261202#a#b"_qs, QString(), u"99999,261203#座標問題2.txt"_qs,
                           u"0,261208#座標問題2.txt"_qs}));

    // A first record without "," is a run that scored 0 on no date.
    TestForm u;
    Form1 &g = activateZahyou2(u, "2026/12/01\r\nhello\r\n5,261201\r\n");
    EXPECT_EQ(g.history.historyScore[1], 0);
    EXPECT_TRUE(g.history.historyDate[1].isEmpty());
    u.runOutClock();
    EXPECT_EQ(linesOf(family(u)), (QStringList{u"2026/12/08"_qs, u"hello"_qs, u"5,261201"_qs, u"0,261208#座標問題2.txt"_qs}));
}

TEST(ResultsFile, EveryRecordOfALongHistoryIsKept)
{
    TestForm t;
    QStringList records;
    for (int i = 1; i <= 500; ++i)
        records << QStringLiteral("%1,26%2#座標問題%3.txt").arg(i % 37 + 1).arg(1000 + i).arg(i % 3 + 1);
    records[7] = u"4,251010"_qs; // an old record without a set name
    Form1 &f = activateZahyou2(t, (u"2026/12/01\r\n"_qs + records.join(u"\r\n"_qs)).toUtf8());
    // The newest hundred are held for the chart and the order rule.
    EXPECT_EQ(f.history.historyCount, 100);
    EXPECT_EQ(f.history.historyScore[1], 401 % 37 + 1);
    EXPECT_EQ(f.history.historyDate[100], u"261500"_qs);
    EXPECT_EQ(f.history.historySet[100], u"座標問題3.txt"_qs);

    f.scoreState.score = 14;
    t.runOutClock();
    const QStringList after = linesOf(family(t));
    ASSERT_EQ(after.size(), 502);
    EXPECT_EQ(after.mid(1, 500), records);
    EXPECT_EQ(after.last(), u"14,261208#座標問題2.txt"_qs);

    // And the next run reads it all again.
    t.clock.seconds += 1000;
    f.menuClick(u"thahyo1"_qs);
    EXPECT_EQ(f.history.historyScore[100], 14);
    t.runOutClock();
    EXPECT_EQ(linesOf(family(t)).size(), 503);
}

TEST(ResultsFile, AGarbledFileKeepsItsRecords)
{
    // Bytes that are neither UTF-8 nor anything else: still one record a
    // line, and the run goes on.
    QByteArray garbage;
    uint32_t x = 12345;
    for (int i = 0; i < 4000; ++i) {
        x = x * 1103515245u + 12345u;
        garbage += char(x >> 24);
    }
    const QByteArray content = "2026/12/01\r\n" + garbage + "\r\n";
    TestForm t;
    Form1 &f = activateZahyou2(t, content);
    const int records = f.history.historyCount;
    EXPECT_GT(records, 1);
    t.runOutClock();
    EXPECT_EQ(t.dialogs.shown.size(), 1u);
    const QStringList after = linesOf(family(t));
    EXPECT_EQ(after.size(), records + 2);
    EXPECT_EQ(after.last(), u"0,261208#座標問題2.txt"_qs);

    // Records around a garbled line survive it, Japanese set names intact,
    // and the garbled line stays one record.
    TestForm u;
    Form1 &g = activateZahyou2(u, QByteArray("2026/12/01\r\n") + u"12,261201#座標問題1.txt\r\n"_qs.toUtf8()
                                      + QByteArray("\xff\xfe\x80,\x00\x01\r\n", 8) + "8,261202#b2.txt\r\n");
    EXPECT_EQ(g.history.historyCount, 3);
    u.runOutClock();
    const QStringList kept = linesOf(family(u));
    ASSERT_EQ(kept.size(), 5);
    EXPECT_EQ(kept[1], u"12,261201#座標問題1.txt"_qs);
    EXPECT_EQ(kept[3], u"8,261202#b2.txt"_qs);
}

TEST(ResultsFile, ShiftJisFileLoadsAndIsWrittenBackAsUtf8)
{
    // "座標問題" in Shift-JIS is 8D C0 95 57 96 E2 91 E8.
    const QByteArray sjis = "\x8d\xc0\x95\x57\x96\xe2\x91\xe8";
    TestForm t;
    Form1 &f = activateZahyou2(t, "2026/12/01\r\n12,261201#" + sjis + "1.txt\r\n9,261202#" + sjis + "2.txt\r\n");
    ASSERT_EQ(f.history.historyCount, 2);
    EXPECT_EQ(f.history.historySet[1], u"座標問題1.txt"_qs);
    EXPECT_EQ(f.history.historySet[2], u"座標問題2.txt"_qs);
    EXPECT_TRUE(TestForm::inBankOrder(f)); // the set's first run scored 9
    t.runOutClock();
    EXPECT_EQ(TestForm::read(family(t)),
              u"2026/12/08\r\n12,261201#座標問題1.txt\r\n9,261202#座標問題2.txt\r\n0,261208#座標問題2.txt\r\n"_qs.toUtf8());
}

TEST(ResultsFile, AFolderThatCannotBeWrittenDoesNotStopTheRun)
{
    TestForm t;
    const QString plain = t.dir.filePath(u"plain"_qs);
    TestForm::write(plain, "a regular file, not a folder");
    t.paths.currentFolder = plain + u"/cwd"_qs;
    Form1 &f = activateZahyou2(t);
    EXPECT_EQ(f.run.categoryActive, 1);
    EXPECT_EQ(f.history.historyCount, 0);
    EXPECT_FALSE(f.Picture6.ops().empty());
    t.runOutClock();
    EXPECT_EQ(f.run.categoryActive, 0);
    EXPECT_TRUE(f.Picture1.Visible);
    // The closing message, then once what became of the record.
    ASSERT_EQ(t.dialogs.shown.size(), 2u);
    EXPECT_EQ(t.dialogs.shown[0].title, u"終わる？"_qs);
    EXPECT_EQ(t.dialogs.shown[1].title, u"記録"_qs);
    EXPECT_TRUE(t.dialogs.shown[1].text.contains(u"記録を保存できませんでした（記録を置くフォルダが見つかりません）"_qs));
    EXPECT_EQ(TestForm::read(plain), "a regular file, not a folder");
}

TEST(ResultsFile, AFolderInPlaceOfTheFileIsLeftAlone)
{
    TestForm t;
    const QString path = family(t);
    QDir().mkpath(path);
    TestForm::write(path + u"/keep"_qs, "x");
    TestForm::write(t.paths.machineNameFile, "soremuka3\r\n");
    Form1 &f = activateZahyou2(t);
    EXPECT_EQ(f.history.historyCount, 0);
    f.scoreState.score = 6;
    t.runOutClock();
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(TestForm::read(path + u"/keep"_qs), "x");
    // The record goes to a file of its own beside it, and the learner is
    // told where.
    const QString side = u"座標問題.txt.soremuka3.20261208.txt"_qs;
    EXPECT_EQ(TestForm::filesBesideRecords(t.paths.currentFolder), QStringList{side});
    EXPECT_EQ(linesOf(t.cwdFile(side)), (QStringList{u"2026/12/08"_qs, u"6,261208#座標問題2.txt"_qs}));
    ASSERT_EQ(t.dialogs.shown.size(), 2u);
    EXPECT_EQ(t.dialogs.shown[1].text, u"記録ファイルに記録を保存できませんでした（記録ファイルの場所にフォルダがあります）。"
                                       u"この回の記録（6 点）は「座標問題.txt.soremuka3.20261208.txt」に残しました。"_qs);
}

namespace {
// The side files that records went to when the family file could not take
// them (named after this machine and the day).
QStringList sideFiles(const TestForm &t)
{
    return QDir(t.paths.currentFolder).entryList({u"座標問題.txt.*.txt"_qs}, QDir::Files);
}
} // namespace

TEST(ResultsFile, ALinkInPlaceOfTheFamilyFileIsNeitherFollowedNorReplaced)
{
    const QByteArray original = "2026/12/01\r\n99,261201#座標問題2.txt\r\n";
    for (bool dangling : {false, true}) {
        TestForm t;
        const QString target = t.dir.filePath(u"someone-elses.txt"_qs);
        if (!dangling)
            TestForm::write(target, original);
        ASSERT_TRUE(QFile::link(target, family(t)));
        Form1 &f = activateZahyou2(t);
        EXPECT_EQ(f.history.historyCount, 0) << "read through the link";
        f.scoreState.score = 11;
        t.runOutClock();

        EXPECT_TRUE(QFileInfo(family(t)).isSymLink());
        if (dangling)
            EXPECT_FALSE(QFileInfo::exists(target)) << "the link's target was made";
        else
            EXPECT_EQ(TestForm::read(target), original);
        const QStringList side = sideFiles(t);
        ASSERT_EQ(side.size(), 1);
        EXPECT_EQ(linesOf(t.cwdFile(side[0])).value(1), u"11,261208#座標問題2.txt"_qs);
        ASSERT_EQ(t.dialogs.shown.size(), 2u);
        EXPECT_TRUE(t.dialogs.shown[1].text.contains(u"記録ファイルがリンクになっています"_qs));
        EXPECT_TRUE(t.dialogs.shown[1].text.contains(side[0]));
    }
}

TEST(ResultsFile, AnOverlongLineIsWrittenBackWholeButHeldAndDrawnInPart)
{
    // A set name of a million characters, and a line of 20 MB without a comma.
    const QByteArray longName = u"座"_qs.repeated(1000000).toUtf8();
    const QByteArray junk(20 * 1024 * 1024, '7');
    const QByteArray before = "2026/12/01\r\n5,261201#" + longName + "\r\n12,261202#座標問題1.txt\r\n" + junk + "\r\n";
    TestForm t;
    Form1 &f = activateZahyou2(t, before);
    ASSERT_EQ(f.history.historyCount, 3);
    EXPECT_EQ(f.history.historySet[1], u"座"_qs.repeated(results::kChartSetChars));
    EXPECT_EQ(f.history.historyScore[3], 12); // a line without "," repeats the one before
    f.scoreState.score = 3;
    t.runOutClock();

    // Four bars with their scores and dates, and at most twenty characters
    // of each set name.
    EXPECT_EQ(opsOf(f.Picture1, CanvasOp::Box).size(), 4u);
    EXPECT_LE(TestForm::printed(f.Picture1).size(), 13 + 4 * (1 + 3 + results::kChartSetChars));
    const QByteArray after = TestForm::read(family(t));
    const QByteArray expected = "2026/12/08" + before.mid(10) + u"3,261208#座標問題2.txt\r\n"_qs.toUtf8();
    EXPECT_TRUE(after == expected) << "sizes " << after.size() << " and " << expected.size();
}

TEST(ResultsFile, ARecordAddedElsewhereDuringTheRunIsKept)
{
    TestForm t;
    Form1 &f = activateZahyou2(t, "2026/12/01\r\n12,261201#座標問題1.txt\r\n");
    // Another machine ends its run in the same folder meanwhile.
    QFile other(family(t));
    ASSERT_TRUE(other.open(QIODevice::Append));
    other.write(u"8,261208#座標問題3.txt\r\n"_qs.toUtf8());
    other.close();
    f.scoreState.score = 4;
    t.runOutClock();
    EXPECT_EQ(linesOf(family(t)), (QStringList{u"2026/12/08"_qs, u"12,261201#座標問題1.txt"_qs,
                                               u"8,261208#座標問題3.txt"_qs, u"4,261208#座標問題2.txt"_qs}));

    // A history removed during the run is made again, with this run's record.
    f.menuClick(u"thahyou2"_qs);
    QFile::remove(family(t));
    f.scoreState.score = 5;
    t.runOutClock();
    EXPECT_EQ(linesOf(family(t)), (QStringList{u"2026/12/08"_qs, u"5,261208#座標問題2.txt"_qs}));
    EXPECT_EQ(t.dialogs.shown.size(), 2u); // the two closing messages, nothing else
}

TEST(ResultsFile, WhatAKilledSaveLeftBehindIsClearedByTheNextSave)
{
    TestForm t;
    Form1 &f = activateZahyou2(t, "2026/12/01\r\n12,261201#座標問題1.txt\r\n");
    // A temporary copy written but never renamed, and the lock of a process
    // that is gone.
    const pid_t pid = ::fork();
    if (pid == 0)
        _exit(0);
    ::waitpid(pid, nullptr, 0);
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    TestForm::write(t.cwdFile(u"座標問題.txt.soremuka-k1ll3d.tmp"_qs), "2026/12/08\r\n12,261201#座標問題1.txt\r\n9,2");
    TestForm::write(t.cwdFile(u"座標問題.txt.lock"_qs), QByteArray::number(pid) + ' ' + host + '\n');
    f.scoreState.score = 7;
    t.runOutClock();
    EXPECT_EQ(TestForm::filesBesideRecords(t.paths.currentFolder), QStringList{u"座標問題.txt"_qs});
    EXPECT_EQ(linesOf(family(t)),
              (QStringList{u"2026/12/08"_qs, u"12,261201#座標問題1.txt"_qs, u"7,261208#座標問題2.txt"_qs}));
    EXPECT_EQ(t.dialogs.shown.size(), 1u);
}

TEST(ResultsFile, AFirstLineIsTheDateUnlessItIsARecord)
{
    const struct {
        const char *content;
        int keptRecords; // of the two below, after the run's own record is added
    } cases[] = {
        {"2026/12/01\r\n9,261202#座標問題1.txt\r\n", 1},
        {"\xEF\xBB\xBF" "2026/12/01\r\n9,261202#座標問題1.txt\r\n", 1},
        {"Tue, 1 Dec 2026\r\n9,261202#座標問題1.txt\r\n", 1},
        {"12,261201#座標問題1.txt\r\n9,261202#座標問題1.txt\r\n", 2}, // a file without its date line
        {"7,261201\r\n9,261202#座標問題1.txt\r\n", 2},
    };
    for (const auto &c : cases) {
        TestForm t;
        activateZahyou2(t, c.content);
        t.runOutClock();
        const QStringList lines = linesOf(family(t));
        EXPECT_EQ(lines.size(), 1 + c.keptRecords + 1) << c.content;
        EXPECT_EQ(lines.value(c.keptRecords), u"9,261202#座標問題1.txt"_qs) << c.content;
    }
}

TEST(ResultsFile, AHistoryTooLargeToRewriteGetsItsRecordAtItsEnd)
{
    // 33 MiB: lines of junk, then the newest records.
    QByteArray before = "2026/12/01\r\n";
    for (int i = 0; i < 33; ++i)
        before += QByteArray(1024 * 1024, 'x') + "\r\n";
    before += u"10,261201#座標問題2.txt\r\n12,261202#座標問題1.txt"_qs.toUtf8(); // no line end
    TestForm t;
    Form1 &f = activateZahyou2(t, before);
    ASSERT_EQ(f.history.historyCount, 35);
    EXPECT_EQ(f.history.historyScore[34], 10);
    EXPECT_FALSE(TestForm::inBankOrder(f)); // the order rule still sees the set's records
    f.scoreState.score = 15;
    t.runOutClock();
    const QByteArray after = TestForm::read(family(t));
    EXPECT_TRUE(after == before + u"\r\n15,261208#座標問題2.txt\r\n"_qs.toUtf8()) << after.size();
    EXPECT_EQ(t.dialogs.shown.size(), 1u);
}

TEST(ResultsFile, AVanishedFolderEndsTheRunWithItsChartAndOneNotice)
{
    TestForm t;
    Form1 &f = activateZahyou2(t, "2026/12/01\r\n");
    ASSERT_TRUE(QDir(t.paths.currentFolder).removeRecursively());
    f.scoreState.score = 9;
    t.runOutClock();
    EXPECT_TRUE(f.Picture1.Visible);
    EXPECT_FALSE(f.Picture1.ops().empty());
    EXPECT_TRUE(f.Command2.Visible);
    ASSERT_EQ(t.dialogs.shown.size(), 2u);
    EXPECT_EQ(t.dialogs.shown[1].text,
              u"記録を保存できませんでした（記録を置くフォルダが見つかりません）。この回の点数は 9 点でした。"_qs);
}

namespace {
QByteArray utf16(const QString &text, bool little)
{
    QByteArray out = little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (QChar c : text) {
        const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
        out.append(little ? lo : hi).append(little ? hi : lo);
    }
    return out;
}

// The records of a results file: its lines after the date line.
QStringList recordsOf(const QString &path)
{
    QStringList lines = linesOf(path);
    if (!lines.isEmpty())
        lines.removeFirst();
    return lines;
}
} // namespace

TEST(ResultsFile, AUtf16FileIsReadAsTextAndWrittenBackWhole)
{
    // Saved as "Unicode" by a Windows editor. Read as bytes, every other
    // byte a NUL, it showed phantom 0-point records on the chart and was
    // written back as a mixture that no editor opens.
    for (const bool little : {true, false}) {
        SCOPED_TRACE(little ? "little-endian" : "big-endian");
        TestForm t;
        Form1 &f = activateZahyou2(
            t, utf16(u"2026/12/01\r\n12,261201#座標問題1.txt\r\n9,261202#座標問題2.txt\r\n"_qs, little));
        ASSERT_EQ(f.history.historyCount, 2);
        EXPECT_EQ(f.history.historyScore[1], 12);
        EXPECT_EQ(f.history.historySet[2], u"座標問題2.txt"_qs);
        EXPECT_EQ(f.history.historyDate[2], u"261202"_qs);
        EXPECT_TRUE(TestForm::inBankOrder(f)); // the set's first run scored 9
        f.scoreState.score = 6;
        t.runOutClock();
        EXPECT_EQ(opsOf(f.Picture1, CanvasOp::Box).size(), 3u); // two past bars and this run's
        EXPECT_EQ(TestForm::read(family(t)),
                  u"2026/12/08\r\n12,261201#座標問題1.txt\r\n9,261202#座標問題2.txt\r\n6,261208#座標問題2.txt\r\n"_qs.toUtf8());
        EXPECT_EQ(t.dialogs.shown.size(), 1u);
    }
    // A character beyond the first plane is two units of UTF-16 and stays
    // one character; half of one on its own is none, and reads and is
    // written back as the replacement character.
    TestForm t;
    const QString odd = u"3,261203#😀"_qs + QChar(0xD800) + u".txt"_qs;
    Form1 &f = activateZahyou2(t, utf16(u"2026/12/01\r\n"_qs + odd + u"\r\n"_qs, true));
    ASSERT_EQ(f.history.historyCount, 1);
    EXPECT_EQ(f.history.historySet[1], u"😀\uFFFD.txt"_qs);
    t.runOutClock();
    EXPECT_EQ(recordsOf(family(t)).value(0), u"3,261203#😀\uFFFD.txt"_qs);
}

TEST(ResultsFile, AFolderNamedWithATrailingBackslashKeepsItsFiles)
{
    // On Linux "class3\" is a folder name like any other; its files once
    // went into the folder above it, named "class3\座標問題.txt".
    TestForm t;
    const QString folder = t.dir.filePath(u"class3\\"_qs);
    ASSERT_TRUE(QDir().mkpath(folder));
    t.paths.currentFolder = folder;
    TestForm::write(folder + u"/とくめいrenzoku.txt"_qs, "7\r\n");
    Form1 &f = activateZahyou2(t);
    EXPECT_EQ(f.scoreState.streak, 7);
    f.scoreState.score = 4;
    t.runOutClock();
    EXPECT_EQ(recordsOf(folder + u"/座標問題.txt"_qs), QStringList{u"4,261208#座標問題2.txt"_qs});
    QStringList inside = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    inside.sort();
    QStringList expected{u"とくめいきろく.txt"_qs, u"とくめいrenzoku.txt"_qs, u"座標問題.txt"_qs};
    expected.sort();
    EXPECT_EQ(inside, expected);
    EXPECT_EQ(QDir(t.dir.path()).entryList({u"class3*"_qs}, QDir::AllEntries | QDir::Hidden), QStringList{u"class3\\"_qs});
    EXPECT_EQ(t.dialogs.shown.size(), 1u);
}

TEST(ResultsFile, AFolderPathNearTheLimitKeepsTheRecordOrSaysItIsTooLong)
{
    // The folder's path leaves this many bytes below the system's limit:
    // room for the history, its lock and its temporary copy; for the
    // history and its lock only; for the history only; for nothing.
    const QString name = u"/座標問題.txt"_qs; // 17 bytes
    const struct {
        int room;
        bool kept;
    } cases[] = {{60, true}, {30, true}, {20, true}, {10, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.room);
        TestForm t;
        QString folder = t.dir.path();
        const int length = PATH_MAX - 1 - c.room;
        while (QFile::encodeName(folder).size() < length) {
            const int left = length - int(QFile::encodeName(folder).size()) - 1;
            folder += u'/' + QString(std::min(left, 200), u'd');
            if (left < 1)
                break;
        }
        ASSERT_EQ(QFile::encodeName(folder).size(), length);
        ASSERT_TRUE(QDir().mkpath(folder));
        t.paths.currentFolder = folder;
        Form1 &f = activateZahyou2(t);
        f.scoreState.score = 8;
        t.runOutClock();
        // (The learner's own record has a longer name: where it does not
        // fit, the learner is told so under its own title.)
        std::vector<FakeDialogs::Shown> shown;
        for (const auto &m : t.dialogs.shown)
            if (m.title != u"きろく")
                shown.push_back(m);
        if (c.kept) {
            EXPECT_EQ(recordsOf(folder + name), QStringList{u"8,261208#座標問題2.txt"_qs});
            EXPECT_EQ(shown.size(), 1u);
        } else {
            ASSERT_EQ(shown.size(), 2u);
            EXPECT_EQ(shown[1].text,
                      u"記録を保存できませんでした（記録を置くフォルダの名前が長すぎます）。この回の点数は 8 点でした。"_qs);
        }
        // Nothing half-made is left behind.
        for (const QString &left : TestForm::filesBesideRecords(folder))
            EXPECT_EQ(folder + u'/' + left, folder + name);
    }
}

TEST(ResultsFile, SomethingThatIsNotALockAtTheLocksNameCostsNoRecord)
{
    // A folder, a link or a pipe where the lock goes: no program can take
    // the lock while it is there. Every run's record still goes into the
    // history, the learner hears what is wrong (and not that another machine
    // is busy with the file), and the thing itself is left alone.
    const struct {
        const char *what;
        std::function<void(const QString &)> make;
        const char16_t *says;
    } cases[] = {
        {"folder", [](const QString &p) { QDir().mkpath(p); }, u"ロックファイル「座標問題.txt.lock」の場所にフォルダがあります"},
        {"link", [](const QString &p) { QFile::link(p + u".target"_qs, p); }, u"ロックファイル「座標問題.txt.lock」がリンクになっています"},
        {"pipe", [](const QString &p) { ::mkfifo(QFile::encodeName(p).constData(), 0644); },
         u"ロックファイル「座標問題.txt.lock」がふつうのファイルではありません"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TestForm t;
        const QString lock = family(t) + u".lock"_qs;
        c.make(lock);
        Form1 &f = activateZahyou2(t, "2026/12/01\r\n12,261201#座標問題1.txt\r\n");
        QStringList expected{u"12,261201#座標問題1.txt"_qs};
        for (int run = 1; run <= 3; ++run) {
            if (run > 1)
                f.menuClick(u"thahyou2"_qs);
            t.dialogs.shown.clear();
            f.scoreState.score = int16_t(run);
            t.runOutClock();
            expected << QStringLiteral("%1,261208#座標問題2.txt").arg(run);
            ASSERT_EQ(t.dialogs.shown.size(), 2u);
            EXPECT_EQ(t.dialogs.shown[1].text, QStringLiteral("この回の記録（%1 点）は記録ファイルに残しました。ただし、%2。先生に知らせてください。")
                                                   .arg(run)
                                                   .arg(QString::fromUtf16(c.says)));
        }
        EXPECT_EQ(recordsOf(family(t)), expected);
        EXPECT_TRUE(sideFiles(t).isEmpty());
        EXPECT_FALSE(QFileInfo(lock).isFile() && !QFileInfo(lock).isSymLink());
        EXPECT_FALSE(QFileInfo::exists(lock + u".target"_qs));
    }
}

TEST(ResultsFile, AFolderWhoseNameBeginsWithAIsNoDriveHere)
{
    // The drive-A rule of Windows once sent the results of a folder given
    // by a relative name such as "Aufgaben" to "A:/", a folder that is not
    // there.
    TestForm t;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(t.dir.path()));
    QDir().mkpath(u"Aufgaben"_qs);
    t.paths.currentFolder = u"Aufgaben"_qs;
    Form1 &f = activateZahyou2(t);
    f.scoreState.score = 3;
    t.runOutClock();
    EXPECT_EQ(recordsOf(t.dir.filePath(u"Aufgaben/座標問題.txt"_qs)), QStringList{u"3,261208#座標問題2.txt"_qs});
    EXPECT_EQ(t.dialogs.shown.size(), 1u);
    QDir::setCurrent(before);
}

TEST(ResultsFile, AHistoryHeldPastTheWaitSendsTheRecordToTheSideFile)
{
    // No lock can be taken (a folder stands at its name), so the record
    // would be added in place; but another machine holds the history's own
    // lock past the wait, and may rename a copy without the record at any
    // moment. The record goes beside it, and the learner hears why.
    TestForm t;
    const QString path = family(t);
    const QByteArray before = "2026/12/01\r\n12,261201#座標問題1.txt\r\n";
    TestForm::write(path, before);
    QDir().mkpath(path + u".lock"_qs);
    plainfile::Status status;
    const int held = plainfile::openLocked(path, O_RDONLY, 1000, status);
    ASSERT_GE(held, 0);
    const results::Saved saved = results::saveRecord(path, u"2026/12/08"_qs, u"5,261208#座標問題2.txt"_qs,
                                                     u"座標問題.txt.pc.20261208.txt"_qs, {50, 10});
    ::close(held);
    EXPECT_EQ(saved.where, results::Saved::Side);
    EXPECT_EQ(TestForm::read(path), before);
    EXPECT_EQ(recordsOf(t.cwdFile(u"座標問題.txt.pc.20261208.txt"_qs)), QStringList{u"5,261208#座標問題2.txt"_qs});
    EXPECT_TRUE(results::notice(saved, 5).contains(u"ほかのパソコンが記録ファイルを使っています"_qs))
        << results::notice(saved, 5).toStdString();
}

// The newest records are read from the file's end, without the lines before
// them: the same records as reading the whole text from its start (which a
// UTF-16 file still gets), whatever ends the lines, with lines that repeat
// the record before them (no comma, or empty) among the newest, overlong
// lines cut inside a character, and a last line without its end.
TEST(ResultsFile, TheNewestRecordsReadFromTheEndAreThoseReadFromTheStart)
{
    QTemporaryDir dir;
    const QString fromEnd = dir.filePath(u"end.txt"_qs), fromStart = dir.filePath(u"start.txt"_qs);
    std::mt19937 random(7);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    const QString ends[] = {u"\r\n"_qs, u"\n"_qs, u"\r"_qs};
    for (int round = 0; round < 400; ++round) {
        QString text = pick(4) ? u"2026/12/01"_qs : QString();
        const int count = pick(round % 10 == 0 ? 300 : 12);
        for (int i = 0; i < count; ++i) {
            text += ends[pick(3)];
            switch (pick(7)) {
            case 0:
                text += QString();
                break; // an empty line: the record before, again
            case 1:
                text += u"  再"_qs;
                break; // no comma: the record before, again
            case 2:
                text += u"5,2612#01#"_qs + u"座"_qs.repeated(90 + pick(5)); // overlong, cut in a character
                break;
            case 3:
                text += QString::number(pick(30)) + u",2612"_qs + QString::number(10 + pick(20));
                break;
            default:
                text += QString::number(pick(30)) + u",26120"_qs + QString::number(1 + pick(9)) + u"#座標問題"_qs
                        + QString::number(1 + pick(3)) + u".txt"_qs;
            }
        }
        if (pick(2))
            text += ends[pick(3)];
        TestForm::write(fromEnd, text.toUtf8());
        TestForm::write(fromStart, utf16(text, true));
        for (const int held : {1, 3, 100}) {
            const results::Recent a = results::readRecent(fromEnd, held), b = results::readRecent(fromStart, held);
            ASSERT_TRUE(a.status.ok());
            ASSERT_EQ(a.records.size(), b.records.size()) << "round " << round << " held " << held;
            for (std::size_t i = 0; i < a.records.size(); ++i) {
                SCOPED_TRACE("round " + std::to_string(round) + " record " + std::to_string(i));
                EXPECT_EQ(a.records[i].score, b.records[i].score);
                EXPECT_EQ(a.records[i].date, b.records[i].date);
                EXPECT_EQ(a.records[i].set, b.records[i].set);
            }
        }
    }
    // Shift-JIS lines of an earlier installation read from the end as well.
    TestForm::write(fromEnd, QByteArray("2026/12/01\r\n7,261201#\x8D\xC0\x95\x57.txt\r\n\r\n"));
    const results::Recent r = results::readRecent(fromEnd, 100);
    ASSERT_EQ(r.records.size(), 2u);
    EXPECT_EQ(r.records[1].set, u"座標.txt"_qs);
    EXPECT_EQ(r.records[1].score, 7);
}
