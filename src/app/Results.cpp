// Results history and the learner's streak record.
#include "app/Results.h"

#include "app/Form1.h"
#include "controls/Convert.h"
#include "controls/TextFiles.h"

#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace {
// Files larger than this are not ordinary histories. They are read in part
// and never rewritten, so nothing in them is lost.
constexpr qint64 kMaxResultsBytes = 32 * 1024 * 1024;
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
    for (QChar &c : s)
        if (c == u'/' || c == u'\\' || c == u':' || c.unicode() < 0x20)
            c = u'_';
    return s;
}

} // namespace results

QString Form1::streakFilePath() const
{
    return textfiles::join(s_.paths.currentFolder,
                           results::safeFileNamePart(history.displayName) + QStringLiteral("renzoku.txt"));
}

void Form1::readStreakRecord()
{
    scoreState.streak = 0;
    QStringList lines;
    if (textfiles::exists(streakFilePath()) && textfiles::readLines(streakFilePath(), lines, 4096)
        && !lines.isEmpty())
        scoreState.streak = conv::textToInt16(lines.first());
    Picture7.Cls();
}

static QString resultsFolder(const QString &currentFolder)
{
    return currentFolder.startsWith(u'A') ? QStringLiteral("A:/") : currentFolder;
}

void Form1::readResults()
{
    if (run.resultsFileName.isEmpty())
        return;
    history.resultsFile = results::familyFileName(run.resultsFileName);
    history.resultsPath = textfiles::join(resultsFolder(s_.paths.currentFolder), history.resultsFile);
    history.olderRecords.clear();
    history.historyCount = 0;
    for (int i = 0; i <= kHeld; ++i) {
        history.historyScore[i] = 0;
        history.historyDate[i].clear();
        history.historySet[i].clear();
    }
    historyWritable_ = true;

    const QFileInfo info(history.resultsPath);
    if (info.exists()) {
        QStringList lines;
        if (!info.isFile() || info.size() > kMaxResultsBytes
            || !textfiles::readLines(history.resultsPath, lines, kMaxResultsBytes)) {
            // Whatever is there is kept as it is: this run's result is not
            // written over a history that could not be read whole.
            historyWritable_ = false;
            warn(QStringLiteral("cannot read the results file %1; this run's result will not be saved")
                     .arg(history.resultsPath));
        }
        std::vector<results::Record> records;
        results::Record previous;
        for (int i = 1; i < lines.size(); ++i) {
            previous = results::parseRecord(lines[i], previous);
            records.push_back(previous);
        }
        // The newest records are held for the chart and the order rule; any
        // older ones are written back as they stood.
        const int total = int(records.size());
        const int firstHeld = total > kHeld ? total - kHeld : 0;
        for (int i = 0; i < firstHeld; ++i)
            history.olderRecords.push_back(lines[i + 1]);
        for (int i = firstHeld; i < total; ++i) {
            const int k = i - firstHeld + 1;
            history.historyScore[k] = records[i].score;
            history.historyDate[k] = records[i].date;
            history.historySet[k] = records[i].set;
        }
        history.historyCount = int16_t(total - firstHeld);
    } else {
        QString error;
        if (!textfiles::writeLines(history.resultsPath, {s_.clock.dateText()}, &error))
            warn(QStringLiteral("cannot create the results file %1: %2").arg(history.resultsPath, error));
    }

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
    if (history.resultsPath.isEmpty())
        return;
    if (!historyWritable_) {
        warn(QStringLiteral("the result of this run (score %1) was not saved").arg(scoreState.score));
        return;
    }
    QStringList lines;
    lines << s_.clock.dateText();
    for (const QString &older : history.olderRecords)
        lines << older;
    for (int i = 1; i <= history.historyCount; ++i)
        lines << results::formatRecord(
            {history.historyScore[i], history.historyDate[i], history.historySet[i]});
    lines << results::formatRecord(
        {scoreState.score, results::yymmdd(s_.clock.dateText()), run.resultsFileName});
    QString error;
    if (!textfiles::writeLines(history.resultsPath, lines, &error))
        warn(QStringLiteral("cannot write the results file %1: %2; the score of this run was %3")
                 .arg(history.resultsPath, error)
                 .arg(scoreState.score));
}
