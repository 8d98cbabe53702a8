#include "record/LearnerRecord.h"

#include <cerrno>

namespace record {

namespace {

const QString kRun = QStringLiteral("回");
const QString kAnswer = QStringLiteral("答");
const QString kRight = QStringLiteral("正");
const QString kMiss = QStringLiteral("誤");
const QString kWhen = QStringLiteral("yyyy-MM-dd HH:mm:ss"); // as written
constexpr int kFields = 11;

QString field(QString s)
{
    for (QChar &c : s)
        if (c == u'\t' || c == u'\r' || c == u'\n')
            c = u' ';
    return s;
}

// "2026-12-08 09:15:30", read by hand: the general date parser takes tens of
// microseconds a call, seconds for a long record.
QDateTime dateTimeOf(const QString &s)
{
    if (s.size() != 19 || s[4] != u'-' || s[7] != u'-' || s[10] != u' ' || s[13] != u':' || s[16] != u':')
        return {};
    int v[6] = {};
    const int at[6] = {0, 5, 8, 11, 14, 17}, len[6] = {4, 2, 2, 2, 2, 2};
    for (int i = 0; i < 6; ++i)
        for (int k = 0; k < len[i]; ++k) {
            const QChar c = s[at[i] + k];
            if (c < u'0' || c > u'9')
                return {};
            v[i] = v[i] * 10 + (c.unicode() - u'0');
        }
    const QDate date(v[0], v[1], v[2]);
    const QTime time(v[3], v[4], v[5]);
    if (!date.isValid() || !time.isValid())
        return {};
    // Times are the wall clock as written, in no zone: read in UTC, they cost
    // no look-up of the local zone a line.
    return QDateTime(date, time, Qt::UTC);
}

bool toInt(const QString &s, int &out, int low, int high)
{
    bool ok = false;
    const int v = s.toInt(&ok);
    if (!ok || v < low || v > high)
        return false;
    out = v;
    return true;
}

} // namespace

QString fileNameFor(const QString &safeName) { return safeName + kSuffix; }

QString headerLine()
{
    return QStringLiteral("種類\t日時\tセット\tモード\t点数\t正解数\tミス数\t秒数\t問題番号\t判定\t答え");
}

QString formatEvent(const Event &e)
{
    QStringList f;
    f << (e.kind == Kind::Run ? kRun : kAnswer) << e.when.toString(kWhen) << field(e.set) << field(e.mode);
    if (e.kind == Kind::Run) {
        f << QString::number(e.score) << QString::number(e.right) << QString::number(e.misses)
          << QString::number(e.seconds) << QString() << QString() << QString();
    } else {
        QString answer = field(e.answer);
        if (answer.size() > kAnswerChars)
            answer.truncate(kAnswerChars);
        f << QString() << QString() << QString() << QString() << QString::number(e.number)
          << (e.correct ? kRight : kMiss) << answer;
    }
    return f.join(u'\t');
}

bool parseEvent(QByteArrayView line, Event &e)
{
    if (line.startsWith("\xEF\xBB\xBF"))
        line = line.sliced(3);
    while (!line.isEmpty() && (line.back() == '\r' || line.back() == '\n'))
        line.chop(1);
    if (line.size() > 1024)
        return false;
    const QStringList f = QString::fromUtf8(line).split(u'\t');
    if (f.size() < kFields - 1)
        return false;
    Event out;
    if (f[0] == kRun)
        out.kind = Kind::Run;
    else if (f[0] == kAnswer)
        out.kind = Kind::Answer;
    else
        return false;
    out.when = dateTimeOf(f[1]);
    if (!out.when.isValid() || f[2].isEmpty() || f[2].size() > 32)
        return false;
    out.set = f[2];
    out.mode = f[3];
    if (out.kind == Kind::Run) {
        if (!toInt(f[4], out.score, -32768, 32767) || !toInt(f[5], out.right, 0, 32767)
            || !toInt(f[6], out.misses, 0, 32767) || !toInt(f[7], out.seconds, 0, 86400 * 366))
            return false;
    } else {
        if (!toInt(f[8], out.number, 1, 999) || (f[9] != kRight && f[9] != kMiss))
            return false;
        out.correct = f[9] == kRight;
        out.answer = f.value(10).left(kAnswerChars);
    }
    e = std::move(out);
    return true;
}

plainfile::Status append(const QString &path, const std::vector<Event> &events, plainfile::LockTimes times)
{
    if (events.empty())
        return {};
    int error = 0;
    const plainfile::Kind kind = plainfile::kindOf(path, &error);
    // A folder that is gone (or cannot be looked into) takes no record
    // either: that is a failure to tell, not a quiet success.
    if (kind == plainfile::Kind::Unknown)
        return plainfile::failure(error ? error : ENOENT);
    if (kind != plainfile::Kind::Plain && kind != plainfile::Kind::Missing)
        return {plainfile::faultOfKind(kind), 0};
    plainfile::FileLock lock(path, times);
    const plainfile::Status locked = lock.acquire();
    if (!locked.ok())
        return locked;
    const QByteArray head = "\xEF\xBB\xBF" + headerLine().toUtf8() + "\r\n";
    QByteArray lines;
    for (const Event &e : events)
        lines += formatEvent(e).toUtf8() + "\r\n";
    // One write for all of them: the events of one moment stand together.
    return plainfile::appendLine(path, head, lines, true);
}

Recent forEachRecent(const QString &path, const std::function<void(const Event &)> &take, int held)
{
    Recent out;
    if (plainfile::kindOf(path) == plainfile::Kind::Missing)
        return out;
    QByteArray bytes;
    bool cut = false;
    out.status = plainfile::readTail(path, bytes, kScanBytes, &cut);
    if (!out.status.ok())
        return out;
    qsizetype begin = 0;
    if (cut) {
        // The first line read is the end of a line the window cut.
        const qsizetype nl = bytes.indexOf('\n');
        begin = nl < 0 ? bytes.size() : nl + 1;
    }
    // Back from the end over `held` lines that hold something, counting only
    // newlines (cheap), with some to spare for damaged ones; then forward
    // from there, each line read once.
    const qint64 wanted = qint64(held) + held / 8 + 64;
    qsizetype from = bytes.size();
    for (qint64 lines = 0; from > begin && lines < wanted;) {
        const qsizetype nl = bytes.lastIndexOf('\n', from - 1);
        const qsizetype start = nl < begin ? begin : nl + 1;
        if (from - start > 2)
            ++lines;
        from = start > begin ? start - 1 : begin;
    }
    if (from > begin)
        ++from; // past the newline where the count stopped
    for (qsizetype at = from; at < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            end = bytes.size();
        const QByteArrayView line(bytes.constData() + at, end - at);
        Event e;
        if (parseEvent(line, e))
            take(e);
        else if (!(at == 0 && !cut) && !line.trimmed().isEmpty())
            ++out.damaged; // the header line is no event, nor damaged
        at = end + 1;
    }
    return out;
}

Recent readRecent(const QString &path, int held)
{
    std::vector<Event> events;
    Recent out = forEachRecent(path, [&events](const Event &e) { events.push_back(e); }, held);
    // A damaged line among the counted ones leaves fewer events than held.
    if (int(events.size()) > held)
        events.erase(events.begin(), events.end() - held);
    out.events = std::move(events);
    return out;
}

} // namespace record
