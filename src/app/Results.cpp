// Results history and the learner's streak record.
#include "app/Results.h"

#include "form/Form1.h"
#include "controls/Convert.h"
#include "controls/TextFiles.h"

#include "controls/PlainFile.h"

#include <QSysInfo>

#include <cerrno>
#include <cstdio>

namespace {
constexpr int kHeld = 100;

void warn(const QString &text)
{
    std::fprintf(stderr, "soremuka: %s\n", text.toLocal8Bit().constData());
}
} // namespace

namespace results {

QString familyFileName(const QString &resultsFileName)
{
    const QString ext = QStringLiteral(".txt");
    if (resultsFileName.endsWith(ext) && resultsFileName.size() > ext.size()) {
        const int digitAt = resultsFileName.size() - ext.size() - 1;
        const QChar c = resultsFileName[digitAt];
        if (c >= u'0' && c <= u'9')
            return resultsFileName.left(digitAt) + ext;
    }
    return QStringLiteral("1年グラフ読み書き1all.txt");
}

Record parseRecord(const QString &line, const Record &previous)
{
    const int c = line.indexOf(u',');
    if (c < 0)
        return previous;
    Record r;
    r.score = conv::textToInt16(line.left(c));
    const int h = line.indexOf(u'#', c + 1);
    if (h < 0) {
        r.date = line.mid(c + 1);
    } else {
        r.date = line.mid(c + 1, h - c - 1);
        r.set = line.mid(h + 1);
    }
    const int hashInDate = r.date.indexOf(u'#');
    if (hashInDate >= 0)
        r.date.truncate(hashInDate);
    return r;
}

QString formatRecord(const Record &record)
{
    QString s = QString::number(record.score) + u',' + record.date;
    if (!record.set.isEmpty())
        s += u'#' + record.set;
    return s;
}

QString yymmdd(const QString &dateText)
{
    QString digits = dateText;
    digits.remove(u'/');
    return digits.mid(2, 6);
}

QString safeFileNamePart(const QString &name)
{
    QString s = name;
    for (QChar &c : s) {
        const char16_t u = c.unicode();
        // Separators of any platform, and control characters (NUL included).
        if (u == u'/' || u == u'\\' || u == u':' || u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0))
            c = u'_';
    }
    // A leading dot would make "." or "..", or hide the file.
    for (QChar &c : s) {
        if (c != u'.')
            break;
        c = u'_';
    }
    return textfiles::leftChars(s, kNamePartChars);
}

} // namespace results

QString Form1::streakFilePath() const
{
    return textfiles::join(s_.paths.currentFolder,
                           results::safeFileNamePart(history.displayName) + QStringLiteral("renzoku.txt"));
}

void Form1::readStreakRecord()
{
    // The streak file is read only as a plain file in the current folder:
    // never through a link, never a pipe that would hold up start-up.
    scoreState.streak = 0;
    QByteArray head;
    if (plainfile::readHead(streakFilePath(), head, 4096).ok()) {
        const QList<QByteArray> lines = textfiles::splitLines(head);
        const bool cut = lines.size() == 1 && head.size() == 4096;
        if (!lines.isEmpty())
            scoreState.streak = conv::textToInt16(textfiles::decodePrefix(lines.first(), cut));
    }
    Picture7.Cls();
}

static QString resultsFolder(const QString &currentFolder)
{
    // Started anywhere on drive A, results go to its root. Only Windows has
    // drive letters: elsewhere a folder named "Aufgaben" is just a folder.
#ifdef Q_OS_WIN
    if (currentFolder.startsWith(u'A'))
        return QStringLiteral("A:/");
#endif
    return currentFolder;
}

void Form1::readResults()
{
    if (run.resultsFileName.isEmpty())
        return;
    history.resultsFile = results::familyFileName(run.resultsFileName);
    history.resultsPath = textfiles::join(resultsFolder(s_.paths.currentFolder), history.resultsFile);
    history.historyCount = 0;
    for (int i = 0; i <= kHeld; ++i) {
        history.historyScore[i] = 0;
        history.historyDate[i].clear();
        history.historySet[i].clear();
    }

    // The newest records are held for the chart and the order rule. The
    // file itself is read again when the run's record is added, so that
    // nothing another machine adds meanwhile is lost.
    const results::Recent recent = results::readRecent(history.resultsPath, kHeld);
    if (recent.kind == plainfile::Kind::Missing) {
        const plainfile::Status made =
            plainfile::create(history.resultsPath, s_.clock.dateText().toUtf8() + "\r\n");
        if (!made.ok() && made.error != EEXIST)
            warn(QStringLiteral("cannot create the results file %1").arg(history.resultsPath));
    }
    for (std::size_t i = 0; i < recent.records.size(); ++i) {
        history.historyScore[int(i) + 1] = recent.records[i].score;
        history.historyDate[int(i) + 1] = recent.records[i].date;
        history.historySet[int(i) + 1] = recent.records[i].set;
    }
    history.historyCount = int16_t(recent.records.size());

    // A set that scored 9 or less the first time it was run (or was never run
    // in a family with a history) is asked in bank order.
    bool bankOrder = false;
    for (int i = 1; i <= history.historyCount; ++i) {
        if (history.historySet[i] == run.resultsFileName) {
            bankOrder = history.historyScore[i] <= 9;
            break;
        }
        if (i == history.historyCount)
            bankOrder = true;
    }
    if (bankOrder)
        useBankOrder();
}

void Form1::useBankOrder()
{
    for (int i = 1; i <= bank.mondaiCount && i < int(bank.shuffledMondai.size()); ++i) {
        bank.shuffledMondai[i] = bank.mondai[i];
        bank.shuffledKotae[i] = bank.kotae[i];
    }
}

void Form1::writeResults()
{
    resultsNotice_.clear();
    if (history.resultsPath.isEmpty())
        return;
    const QString record = results::formatRecord(
        {scoreState.score, results::yymmdd(s_.clock.dateText()), run.resultsFileName});
    const QString machine = machineName_.isEmpty() ? QSysInfo::machineHostName() : machineName_;
    const results::Saved saved =
        results::saveRecord(history.resultsPath, s_.clock.dateText(), record,
                            results::sideFileName(history.resultsFile, machine, s_.clock.today()));
    resultsNotice_ = results::notice(saved, scoreState.score);
    if (!resultsNotice_.isEmpty())
        warn(QStringLiteral("%1: %2").arg(history.resultsPath, resultsNotice_));
}
