// The results file on disk: reading the newest records with bounded memory,
// and adding one record so that no record already there is ever lost, even
// when machines end their runs together, the program is killed mid-save, the
// disk is full or the folder is not what it should be.
#include "app/Results.h"

#include "controls/TextFiles.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <deque>
#include <functional>
#include <new>
#include <optional>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using plainfile::Fault;
using plainfile::Kind;
using plainfile::Status;

// Only this much of the end of a file is looked at for its newest records;
// more than a lifetime of runs.
constexpr qint64 kScanBytes = 64 * 1024 * 1024;
// A history is rewritten through a copy up to this size; a larger one gets
// its new record added at its end.
constexpr qint64 kRewriteBytes = 32 * 1024 * 1024;
constexpr int kDateChars = 16;

results::Record parseBounded(const QByteArray &line, bool cut, const results::Record &previous)
{
    results::Record r = results::parseRecord(textfiles::decodePrefix(line, cut), previous);
    r.date = textfiles::leftChars(r.date, kDateChars);
    r.set = textfiles::leftChars(r.set, results::kChartSetChars);
    return r;
}

// A first line that is a record rather than a date (a file written without
// its date line) is kept as a record.
bool looksLikeRecord(QByteArrayView line)
{
    static const QRegularExpression record(QStringLiteral("^\\s*[-+]?\\d+(\\.\\d+)?,\\d{6}(#|$)"));
    return record.match(textfiles::decodePrefix(line.first(std::min<qsizetype>(line.size(), results::kRecordBytes)).toByteArray(),
                                                line.size() > results::kRecordBytes))
        .hasMatch();
}

// What stands at path, and the fault of finding it there: none for a plain
// file or for none at all.
Fault faultAt(const QString &path, Kind &kind)
{
    int error = 0;
    kind = plainfile::kindOf(path, &error);
    return kind == Kind::Unknown ? plainfile::faultOf(error) : plainfile::faultOfKind(kind);
}

QString lockName(const results::Saved &saved) { return saved.lockFile; }

QString reason(const results::Saved &saved)
{
    switch (saved.fault) {
    case Fault::LockFolder:
        return QStringLiteral("ロックファイル「%1」の場所にフォルダがあります").arg(lockName(saved));
    case Fault::LockLink:
        return QStringLiteral("ロックファイル「%1」がリンクになっています").arg(lockName(saved));
    case Fault::LockNotPlain:
        return QStringLiteral("ロックファイル「%1」がふつうのファイルではありません").arg(lockName(saved));
    case Fault::LockStuck:
        return QStringLiteral("ほかの人が残したロックファイル「%1」を消せません").arg(lockName(saved));
    case Fault::TooLong:
        return QStringLiteral("記録を置くフォルダの名前が長すぎます");
    case Fault::NoMemory:
        return QStringLiteral("メモリが足りません");
    case Fault::Replaced:
        return QStringLiteral("書き込むあいだに記録ファイルがほかのパソコンに置き換えられました");
    case Fault::Link:
        return QStringLiteral("記録ファイルがリンクになっています");
    case Fault::Folder:
        return QStringLiteral("記録ファイルの場所にフォルダがあります");
    case Fault::NotPlain:
        return QStringLiteral("記録ファイルがふつうのファイルではありません");
    case Fault::NoFolder:
        return QStringLiteral("記録を置くフォルダが見つかりません");
    case Fault::Denied:
        return saved.reading ? QStringLiteral("記録ファイルを読めません")
                             : QStringLiteral("フォルダに書き込めません");
    case Fault::Full:
        return QStringLiteral("ディスクがいっぱいです");
    case Fault::TooLarge:
        return QStringLiteral("記録ファイルが大きすぎます");
    case Fault::Busy:
        return QStringLiteral("ほかのパソコンが記録ファイルを使っています");
    case Fault::Io:
    case Fault::None:
        break;
    }
    return saved.reading ? QStringLiteral("記録ファイルを読めません") : QStringLiteral("書き込みに失敗しました");
}

} // namespace

namespace results {

namespace {

// Splits bytes, as they come, into lines (a CR, an LF or a CR LF ends one),
// keeping no more than kRecordBytes of any line: a huge line costs no more
// memory than a record can need.
class BoundedLines {
public:
    explicit BoundedLines(std::function<void(const QByteArray &, bool cut)> onLine) : onLine_(std::move(onLine)) {}

    void feed(const char *p, const char *end)
    {
        while (p < end) {
            if (afterCR_ && *p == '\n') {
                afterCR_ = false;
                ++p;
                continue;
            }
            afterCR_ = false;
            const char *q = p;
            while (q < end && *q != '\n' && *q != '\r')
                ++q;
            if (q > p) {
                started_ = true;
                const qsizetype take = std::min<qsizetype>(q - p, kRecordBytes - line_.size());
                line_.append(p, take);
                cut_ = cut_ || take < q - p;
            }
            if (q == end)
                break;
            endLine();
            afterCR_ = *q == '\r';
            p = q + 1;
        }
    }

    // The last line, when the file does not end with a line end.
    void finish()
    {
        if (started_)
            endLine();
    }

private:
    void endLine()
    {
        onLine_(line_, cut_);
        line_.clear();
        cut_ = started_ = false;
    }

    std::function<void(const QByteArray &, bool)> onLine_;
    QByteArray line_;
    bool cut_ = false, started_ = false, afterCR_ = false;
};

} // namespace

namespace {

// The lines of a file's window [from, size) from the last one back, each as
// its first kRecordBytes bytes and whether it was longer: the newest records
// are found without reading what lies before them. Lines end as the reader
// from the start ends them (a CR, an LF or a CR LF), and a file that ends
// with a line end has no empty line after it.
class LinesFromEnd {
public:
    LinesFromEnd(int fd, qint64 from, qint64 size) : fd_(fd), from_(from), end_(size)
    {
        if (size <= from) {
            done_ = true;
            return;
        }
        const char last = at(size - 1);
        if (last == '\n')
            end_ = size - 2 >= from && at(size - 2) == '\r' ? size - 2 : size - 1;
        else if (last == '\r')
            end_ = size - 1;
    }

    // The line before the last one given; `first` when it is the window's
    // first line (a date line, or a part of a line the window cut). False
    // when none is left, or on a read error.
    bool previous(QByteArray &line, bool &cut, bool &first)
    {
        if (done_ || error_)
            return false;
        const qint64 t = lastLineEnd(end_);
        const qint64 start = t < 0 ? from_ : t + 1;
        const qint64 length = end_ - start;
        cut = length > kRecordBytes;
        line.resize(qsizetype(std::min<qint64>(length, kRecordBytes)));
        for (qsizetype i = 0; i < line.size() && !error_; ++i)
            line[i] = at(start + i);
        first = t < 0;
        if (first)
            done_ = true;
        else
            end_ = at(t) == '\n' && t - 1 >= from_ && at(t - 1) == '\r' ? t - 1 : t;
        return !error_;
    }

    int error() const { return error_; }

private:
    static constexpr qint64 kBlock = 64 * 1024;

    // The byte at i, from the block that holds it (read as a block that ends
    // at i, the way the lines are walked).
    char at(qint64 i)
    {
        if (i < blockAt_ || i >= blockAt_ + block_.size()) {
            blockAt_ = std::max(from_, i + 1 - kBlock);
            block_.resize(qsizetype(i + 1 - blockAt_));
            qsizetype got = 0;
            while (got < block_.size()) {
                const ssize_t n = ::pread(fd_, block_.data() + got, size_t(block_.size() - got), blockAt_ + got);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0) {
                    error_ = n < 0 ? errno : EIO; // the file became shorter
                    block_.clear();
                    return '\n';
                }
                got += n;
            }
        }
        return block_[qsizetype(i - blockAt_)];
    }

    // The last CR or LF before end, or -1.
    qint64 lastLineEnd(qint64 end)
    {
        for (qint64 i = end - 1; i >= from_ && !error_; --i) {
            const char c = at(i);
            if (c == '\n' || c == '\r')
                return i;
        }
        return -1;
    }

    int fd_;
    qint64 from_, end_;
    QByteArray block_;
    qint64 blockAt_ = 0;
    bool done_ = false;
    int error_ = 0;
};

// The newest records of a UTF-16 file, its text read from the start (such
// files are a Windows editor's, and small).
void readUtf16(int fd, QStringDecoder &utf16, int held, Recent &out)
{
    // Line 1 is the date line, or, past the start of a huge file, the part
    // of a line before the window: either way it is not a record. Only the
    // newest `held` records are kept.
    std::deque<Record> recent;
    Record previous;
    bool first = true;
    BoundedLines lines([&](const QByteArray &line, bool cut) {
        if (std::exchange(first, false))
            return;
        previous = parseBounded(line, cut, previous);
        recent.push_back(previous);
        if (int(recent.size()) > held)
            recent.pop_front();
    });
    char buffer[65536];
    QString halfPair;
    for (qint64 total = 0; total < kScanBytes;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            out.status = plainfile::failure(errno);
        if (n <= 0)
            break;
        total += n;
        // A surrogate pair cut by the end of the buffer waits for its
        // second half.
        QString text = halfPair + utf16.decode(QByteArrayView(buffer, n));
        halfPair.clear();
        if (!text.isEmpty() && text.back().isHighSurrogate()) {
            halfPair = text.back();
            text.chop(1);
        }
        const QByteArray bytes = textfiles::withoutLoneSurrogates(text).toUtf8();
        lines.feed(bytes.constData(), bytes.constData() + bytes.size());
    }
    if (!halfPair.isEmpty()) {
        const QByteArray bytes = textfiles::withoutLoneSurrogates(halfPair).toUtf8();
        lines.feed(bytes.constData(), bytes.constData() + bytes.size());
    }
    lines.finish();
    out.records.assign(recent.begin(), recent.end());
}

} // namespace

Recent readRecent(const QString &path, int held)
{
    Recent out;
    out.status.fault = faultAt(path, out.kind);
    if (out.kind != Kind::Plain)
        return out;
    const int fd = plainfile::openForReading(path, out.status);
    if (fd < 0)
        return out;
    struct stat st;
    const qint64 size = ::fstat(fd, &st) == 0 ? qint64(st.st_size) : 0;
    // Only the end of a huge file is looked at (from an even byte, where a
    // UTF-16 character starts).
    const qint64 from = size > kScanBytes ? (size - kScanBytes) & ~qint64(1) : 0;
    // A file saved as "Unicode" by a Windows editor is UTF-16 with a
    // byte-order mark; its lines are read as text, not as bytes with a NUL
    // between every two.
    unsigned char bom[2] = {0, 0};
    if (::pread(fd, bom, 2, 0) == 2 && ((bom[0] == 0xFF && bom[1] == 0xFE) || (bom[0] == 0xFE && bom[1] == 0xFF))) {
        QStringDecoder utf16(bom[0] == 0xFF ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        ::lseek(fd, from, SEEK_SET);
        readUtf16(fd, utf16, held, out);
        ::close(fd);
        return out;
    }

    // The newest `held` lines, newest first. A line without a comma repeats
    // the record before it: for the oldest of them that is the nearest older
    // line with one, looked for further back. The window's first line is
    // the date line (or a part of a line) and no record.
    struct Line {
        QByteArray bytes;
        bool cut = false;
    };
    std::vector<Line> newest;
    std::optional<Record> before;
    LinesFromEnd lines(fd, from, size);
    Line line;
    bool first = false;
    while (lines.previous(line.bytes, line.cut, first) && !first) {
        if (int(newest.size()) < held) {
            newest.push_back(line);
            continue;
        }
        if (textfiles::decodePrefix(line.bytes, line.cut).contains(u',')) {
            before = parseBounded(line.bytes, line.cut, {});
            break;
        }
    }
    if (lines.error())
        out.status = plainfile::failure(lines.error());
    ::close(fd);
    Record previous = before.value_or(Record{});
    out.records.reserve(newest.size());
    for (auto it = newest.rbegin(); it != newest.rend(); ++it) {
        previous = parseBounded(it->bytes, it->cut, previous);
        out.records.push_back(previous);
    }
    return out;
}

QByteArray withRecord(const QByteArray &bytes, const QString &dateLine, const QString &record)
{
    // A UTF-16 file is written back as UTF-8, every record kept.
    QByteArray converted;
    if (const QString text = textfiles::fromUtf16WithBom(bytes); !text.isNull())
        converted = text.toUtf8();
    const QByteArray &onDisk = converted.isNull() ? bytes : converted;
    QByteArray out = dateLine.toUtf8() + "\r\n";
    out.reserve(onDisk.size() + 2 * kRecordBytes);
    const QList<QByteArrayView> lines = textfiles::lineViews(onDisk);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArrayView line = lines[i];
        if (i == 0) {
            if (line.startsWith("\xEF\xBB\xBF"))
                line = line.sliced(3);
            if (!looksLikeRecord(line))
                continue;
        }
        textfiles::appendAsUtf8Line(out, line);
        out += "\r\n";
    }
    out += record.toUtf8() + "\r\n";
    return out;
}

namespace {

// An open file, closed when it goes out of scope (its advisory lock with it).
struct OpenFile {
    int fd = -1;
    ~OpenFile() { close(); }
    void close()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
};

bool lockFault(Fault fault)
{
    return fault == Fault::LockFolder || fault == Fault::LockLink || fault == Fault::LockNotPlain
           || fault == Fault::LockStuck;
}

Saved saveRecordOrThrow(const QString &familyPath, const QString &dateLine, const QString &record,
                        const QString &sideName, plainfile::LockTimes times, Saved &saved)
{
    const QByteArray head = dateLine.toUtf8() + "\r\n";
    const QByteArray line = record.toUtf8() + "\r\n";
    auto inFamily = [&saved] {
        const QString lock = saved.lockFile;
        const Fault fault = lockFault(saved.fault) ? saved.fault : Fault::None;
        saved = Saved();
        saved.where = Saved::Family;
        // A lock that no program can take is still worth reporting, though
        // the record is safe.
        saved.fault = fault;
        saved.lockFile = lock;
        return saved;
    };
    Kind kind = Kind::Unknown;
    saved.fault = faultAt(familyPath, kind);
    if (saved.fault == Fault::None) {
        plainfile::FileLock lock(familyPath, times);
        saved.lockFile = QFileInfo(lock.path()).fileName();
        const Status locked = lock.acquire();
        if (locked.ok()) {
            plainfile::removeStrayTemporaries(familyPath);
            // Read again now: another machine may have added its record
            // since this run began.
            saved.fault = faultAt(familyPath, kind);
            if (saved.fault == Fault::None) {
                Status status;
                {
                    // The history's own advisory lock is held from the read
                    // to the rename: a learner who may add to the file but
                    // not replace it waits for it, and adds to the new file.
                    OpenFile history;
                    if (kind == Kind::Plain)
                        history.fd = plainfile::openLocked(familyPath, O_RDONLY, times.waitMs, status);
                    saved.reading = !status.ok();
                    if (status.ok()) {
                        try {
                            QByteArray onDisk;
                            if (history.fd >= 0) {
                                status = plainfile::readAll(history.fd, onDisk, kRewriteBytes);
                                saved.reading = !status.ok() && status.fault != Fault::TooLarge;
                            }
                            if (status.ok())
                                status = plainfile::replace(familyPath, withRecord(onDisk, dateLine, record));
                        } catch (const std::bad_alloc &) {
                            // The new copy does not fit in memory; the
                            // record still fits at the file's end.
                            status = {Fault::NoMemory, ENOMEM};
                        }
                    }
                    if (status.ok())
                        return inFamily();
                }
                saved.fault = status.fault;
                // Where no copy can be renamed over the file (a folder only
                // its owner may change, a full disk, a history too large to
                // read whole or to copy in memory), the record is added at
                // its end instead.
                const Status added = plainfile::appendLine(familyPath, head, line, kind == Kind::Missing, times.waitMs);
                if (added.ok())
                    return inFamily();
                // Another machine kept the file from both: that is what
                // the learner hears.
                if (added.fault == Fault::Replaced || added.fault == Fault::Busy)
                    saved.fault = added.fault;
            }
        } else if (locked.fault == Fault::Busy || locked.fault == Fault::NoFolder) {
            saved.fault = locked.fault;
        } else {
            // Where no lock file can be made, or something that is not a
            // lock stands at its name, the record is added at the file's end
            // under the file's own advisory lock, which a replacing save
            // holds from its read to its rename.
            saved.fault = locked.fault;
            const bool create = kind == Kind::Missing && lockFault(locked.fault);
            if (kind == Kind::Plain || create) {
                const Status added = plainfile::appendLine(familyPath, head, line, create, times.waitMs);
                if (added.ok())
                    return inFamily();
                // Another machine kept the file from both: that is what
                // the learner hears.
                if (added.fault == Fault::Replaced || added.fault == Fault::Busy)
                    saved.fault = added.fault;
            }
        }
    }

    // The family file cannot take the record: it goes to a file of its own
    // beside it, never through a link either.
    const QString folder = QFileInfo(familyPath).path();
    for (int n = 1; n <= 9; ++n) {
        const QString name = n == 1 ? sideName : sideName.chopped(4) + u'-' + QString::number(n) + QStringLiteral(".txt");
        const Status status = plainfile::appendLine(textfiles::join(folder, name), head, line, true, times.waitMs);
        if (status.ok()) {
            saved.where = Saved::Side;
            saved.sideFile = name;
            return saved;
        }
        if (status.fault == Fault::TooLong && saved.fault == Fault::None)
            saved.fault = Fault::TooLong;
        if (status.fault != Fault::Link && status.fault != Fault::Folder && status.fault != Fault::NotPlain)
            break;
    }
    saved.where = Saved::Lost;
    return saved;
}

} // namespace

Saved saveRecord(const QString &familyPath, const QString &dateLine, const QString &record,
                 const QString &sideName, plainfile::LockTimes times)
{
    Saved saved;
    try {
        return saveRecordOrThrow(familyPath, dateLine, record, sideName, times, saved);
    } catch (const std::bad_alloc &) {
        // Out of memory where even a line could not be made: the lock was
        // let go on the way out; the learner hears what the score was.
        Saved lost;
        lost.where = Saved::Lost;
        lost.fault = Fault::NoMemory;
        return lost;
    }
}

QString faultReason(plainfile::Fault fault)
{
    Saved saved;
    saved.fault = fault;
    return reason(saved);
}

QString sideFileName(const QString &family, const QString &machine, const QDate &date)
{
    QString who = textfiles::leftChars(safeFileNamePart(machine), 32);
    if (who.isEmpty())
        who = QStringLiteral("pc");
    return family + u'.' + who + u'.' + date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".txt");
}

QString notice(const Saved &saved, int16_t score)
{
    switch (saved.where) {
    case Saved::Family:
        // Kept, but no program can take the lock until someone clears its
        // name: the class should hear of it.
        if (saved.fault == Fault::None)
            return QString();
        return QStringLiteral("この回の記録（%1 点）は記録ファイルに残しました。ただし、%2。先生に知らせてください。")
            .arg(score)
            .arg(reason(saved));
    case Saved::Side:
        return QStringLiteral("記録ファイルに記録を保存できませんでした（%1）。この回の記録（%2 点）は「%3」に残しました。")
            .arg(reason(saved))
            .arg(score)
            .arg(saved.sideFile);
    case Saved::Lost:
        break;
    }
    return QStringLiteral("記録を保存できませんでした（%1）。この回の点数は %2 点でした。").arg(reason(saved)).arg(score);
}

} // namespace results
