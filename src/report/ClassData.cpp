#include "report/ClassData.h"

#include "app/Results.h"
#include "app/SetTable.h"
#include "controls/PlainFile.h"
#include "controls/TextFiles.h"
#include "record/LearnerRecord.h"
#include "record/Review.h"

#include <QCollator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace report {

namespace {

using plainfile::Fault;
using plainfile::Status;

// A record line is at most a kilobyte; a family line far less. Longer
// lines are damaged, and only this much of them is kept while reading.
constexpr int kRecordLine = 1100;
constexpr int kFamilyLine = results::kRecordBytes;

// The errno that stands for why a file could not be read.
int errorOf(const Status &status)
{
    switch (status.fault) {
    case Fault::Link:
        return ELOOP;
    case Fault::Folder:
        return EISDIR;
    case Fault::NotPlain:
        return 0;
    case Fault::NoFolder:
        return ENOENT;
    case Fault::Denied:
        return status.error ? status.error : EACCES;
    default:
        return status.error ? status.error : EIO;
    }
}

// Lines of a plain file as they come, in bounded memory: a line longer than
// maxLine is handed over cut to its first maxLine bytes. A file larger than
// maxBytes is read from where its newest maxBytes begin (*tail then tells).
template <typename OnLine>
Status forEachLine(const QString &path, qint64 maxBytes, int maxLine, bool &tail, OnLine onLine)
{
    tail = false;
    Status status;
    const int fd = plainfile::openForReading(path, status);
    if (fd < 0)
        return status;
    struct stat st;
    bool skipFirst = false;
    if (::fstat(fd, &st) == 0 && st.st_size > maxBytes) {
        ::lseek(fd, st.st_size - maxBytes, SEEK_SET);
        tail = skipFirst = true; // the first line read is the end of a cut one
    }
    QByteArray line;
    bool cut = false, afterCR = false;
    auto end = [&] {
        if (!std::exchange(skipFirst, false))
            onLine(QByteArrayView(line), cut);
        line.clear();
        cut = false;
    };
    std::vector<char> buffer(256 * 1024);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            status = plainfile::failure(errno);
        if (n <= 0)
            break;
        const char *p = buffer.data(), *stop = p + n;
        while (p < stop) {
            if (afterCR && *p == '\n') {
                afterCR = false;
                ++p;
                continue;
            }
            afterCR = false;
            const char *q = static_cast<const char *>(std::memchr(p, '\n', size_t(stop - p)));
            const char *cr = static_cast<const char *>(std::memchr(p, '\r', size_t((q ? q : stop) - p)));
            if (cr)
                q = cr;
            const char *lineEnd = q ? q : stop;
            const qsizetype take = std::min<qsizetype>(lineEnd - p, maxLine - line.size());
            if (take > 0)
                line.append(p, take);
            cut = cut || take < lineEnd - p;
            if (!q)
                break;
            end();
            afterCR = *q == '\r';
            p = q + 1;
        }
    }
    if (!line.isEmpty() || cut)
        end();
    ::close(fd);
    return status;
}

QString familyFileOf(const QString &family) { return family + QStringLiteral(".txt"); }

const SetInfo *setOfResultsFile(const QString &name)
{
    static const QHash<QString, const SetInfo *> byFile = [] {
        QHash<QString, const SetInfo *> h;
        for (const SetInfo &s : setTable())
            h.insert(s.resultsFileName, &s);
        return h;
    }();
    return byFile.value(name);
}

// A set's place in the set table, for every line of a long record: by hash,
// not by walking the table. -1 for an item the program does not have.
int setIndex(const QString &item)
{
    static const QHash<QString, int> byItem = [] {
        QHash<QString, int> h;
        for (size_t i = 0; i < setTable().size(); ++i)
            h.insert(setTable()[i].item, int(i));
        return h;
    }();
    return byItem.value(item, -1);
}

const QString &familyOfSet(int index)
{
    static const QStringList families = [] {
        QStringList out;
        for (const SetInfo &s : setTable())
            out << familyOf(s.resultsFileName);
        return out;
    }();
    return families[index];
}

// The files of one folder that the report reads.
struct FolderFiles {
    QString path;                 // as found
    QStringList records;          // learners' record files
    QStringList families;         // family results files
    QStringList sides;            // records a family file could not take
    QSet<QString> seen;           // canonical paths already listed
};

enum class FileRole { None, Record, Family, Side };

FileRole roleOf(const QString &name)
{
    if (name.endsWith(record::kSuffix))
        return FileRole::Record;
    for (const QString &f : knownFamilies()) {
        const QString file = familyFileOf(f);
        if (name == file)
            return FileRole::Family;
        // "<family>.<machine>.<yyyymmdd>.txt", or "-2" … before ".txt".
        if (name.startsWith(file + u'.')) {
            static const QRegularExpression side(QStringLiteral("^\\.[^/]+\\.\\d{8}(-\\d)?\\.txt$"));
            if (side.match(name.mid(file.size())).hasMatch())
                return FileRole::Side;
        }
    }
    return FileRole::None;
}

QString familyOfSide(const QString &name)
{
    for (const QString &f : knownFamilies())
        if (name.startsWith(familyFileOf(f) + u'.'))
            return f;
    return QString();
}

// Walks the folders given, collecting the files of each.
class Finder {
public:
    std::map<QString, FolderFiles> folders; // by canonical path
    std::vector<Note> notes;
    int looked = 0;

    void given(const QString &path)
    {
        struct stat st;
        const QByteArray raw = QFile::encodeName(path);
        if (::lstat(raw.constData(), &st) != 0) {
            notes.push_back({Note::Unreadable, path, 0, errno});
            return;
        }
        if (S_ISDIR(st.st_mode)) {
            walk(path, 0);
            return;
        }
        // A results file named on its own stands for itself in its folder.
        const QFileInfo info(path);
        const FileRole role = roleOf(info.fileName());
        if (S_ISREG(st.st_mode) && role != FileRole::None) {
            add(info.absolutePath(), info.fileName(), role);
            return;
        }
        if (S_ISLNK(st.st_mode))
            notes.push_back({Note::Link, path, 0, {}});
        else
            notes.push_back({Note::NotFolder, path, 0, {}});
    }

private:
    void walk(const QString &path, int depth)
    {
        if (++looked > kMaxFolders) {
            if (looked == kMaxFolders + 1)
                notes.push_back({Note::TooDeep, path, 0, {}});
            return;
        }
        DIR *dir = ::opendir(QFile::encodeName(path).constData());
        if (!dir) {
            notes.push_back({Note::Unreadable, path, 0, errno});
            return;
        }
        folders.try_emplace(canonical(path), FolderFiles{path, {}, {}, {}, {}});
        QStringList below;
        bool deeper = false;
        while (dirent *d = ::readdir(dir)) {
            const QString name = QFile::decodeName(d->d_name);
            if (name == u"." || name == u"..")
                continue;
            const QString full = textfiles::join(path, name);
            struct stat st;
            if (::fstatat(::dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // gone while looking
            const FileRole role = roleOf(name);
            if (S_ISLNK(st.st_mode)) {
                // A link is never followed: it may lead in a circle or out of
                // the class; one to a folder or a results file is named.
                struct stat target;
                const bool toFolder = ::fstatat(::dirfd(dir), d->d_name, &target, 0) == 0 && S_ISDIR(target.st_mode);
                if (toFolder || role != FileRole::None)
                    notes.push_back({Note::Link, full, 0, {}});
            } else if (S_ISDIR(st.st_mode)) {
                if (depth < kSearchDepth)
                    below << full;
                else
                    deeper = true;
            } else if (role != FileRole::None) {
                if (S_ISREG(st.st_mode))
                    add(path, name, role);
                else
                    notes.push_back({Note::Unreadable, full, 0, 0});
            }
        }
        ::closedir(dir);
        if (deeper)
            notes.push_back({Note::TooDeep, path, 0, {}});
        below.sort();
        for (const QString &b : below)
            walk(b, depth + 1);
    }

    static QString canonical(const QString &path)
    {
        const QString c = QFileInfo(path).canonicalFilePath();
        return c.isEmpty() ? QFileInfo(path).absoluteFilePath() : c;
    }

    void add(const QString &folder, const QString &name, FileRole role)
    {
        const QString key = canonical(folder);
        FolderFiles &f = folders.try_emplace(key, FolderFiles{folder, {}, {}, {}, {}}).first->second;
        const QString full = textfiles::join(folder, name);
        const QString id = textfiles::join(key, name);
        if (f.seen.contains(id))
            return; // the same file reached twice
        f.seen.insert(id);
        (role == FileRole::Record ? f.records : role == FileRole::Family ? f.families : f.sides) << full;
    }
};

// A run's identity in a family file: the day, the set and the score. A run
// in a learner's record and a family file record of the same identity are
// the same run, written at its end to both.
struct RunKey {
    QDate date;
    int set; // in the set table; -1 for a set it does not have
    int score;
    bool operator<(const RunKey &o) const { return std::tie(date, set, score) < std::tie(o.date, o.set, o.score); }
};

RunKey keyOf(const Run &r) { return {r.date, r.item.isEmpty() ? -1 : setIndex(r.item), r.score}; }

// Questions are numbered below this in every bank.
constexpr int kNumbers = 1000;

class Reader {
public:
    Reader(const Filter &filter, const QDate &day, const QDate &today) : filter_(filter), day_(day), today_(today) {}

    std::vector<Note> notes;
    int files = 0;

    // A learner's record: their runs and answers in the period, and their
    // review progress on the report's day.
    Learner readRecord(const QString &path, std::map<RunKey, int> &keys)
    {
        Learner learner;
        learner.hasRecord = true;
        // Answers for the review progress: the newest kHeldEvents up to the
        // report's day, as the program holds them. Their set and mode are
        // shared with the table's own strings, and what was answered is not
        // kept: a year's answers take no memory of their own.
        std::vector<record::Event> answers;
        std::vector<Tally> tallies; // by set and number, while reading
        int damaged = 0, unknown = 0, good = 0, lines = 0;
        bool tail = false;
        const Status status = forEachLine(path, kReadBytes, kRecordLine, tail, [&](QByteArrayView line, bool cut) {
            ++lines;
            record::Event e;
            if (cut || !record::parseEvent(line, e)) {
                // The header line is no event, nor damaged; nor is a blank line.
                if (!(lines == 1 && !tail) && !line.trimmed().isEmpty())
                    ++damaged;
                return;
            }
            ++good;
            const bool review = e.mode == record::kReview;
            const int set = setIndex(e.set);
            if (set < 0 && !(review && e.kind == record::Kind::Run)) {
                ++unknown;
                return;
            }
            // A review mixes the sets: with one set asked for, its answers
            // count, the review runs do not.
            if (!filter_.item.isEmpty() && (e.set != filter_.item || (review && e.kind == record::Kind::Run)))
                return;
            const QDate date = e.when.date();
            if (e.kind == record::Kind::Answer) {
                const int number = e.number; // 1 to 999
                const bool correct = e.correct;
                if (date <= day_) {
                    e.set = setTable()[size_t(set)].item;
                    e.mode = review ? record::kReview : QString();
                    e.answer.clear();
                    answers.push_back(std::move(e));
                    // The oldest beyond what is held go in one step, now and then.
                    if (answers.size() >= 2 * size_t(record::kHeldEvents))
                        answers.erase(answers.begin(), answers.end() - record::kHeldEvents);
                }
                if (!filter_.contains(date))
                    return;
                if (tallies.empty())
                    tallies.resize(setTable().size() * kNumbers);
                Tally &t = tallies[size_t(set) * kNumbers + size_t(std::clamp(number, 0, kNumbers - 1))];
                ++t.answers;
                t.misses += correct ? 0 : 1;
                note(date);
                return;
            }
            if (!filter_.contains(date))
                return;
            Run run;
            run.date = date;
            run.time = e.when.time();
            run.score = e.score;
            run.right = e.right;
            run.misses = e.misses;
            if (review) {
                run.family = kReviews;
            } else {
                const SetInfo &info = setTable()[size_t(set)];
                run.family = familyOfSet(set);
                run.item = info.item;
                run.setName = info.resultsFileName;
                ++keys[{run.date, set, run.score}];
            }
            learner.runs.push_back(std::move(run));
            note(date);
        });
        for (size_t i = 0; i < tallies.size(); ++i)
            if (tallies[i].answers > 0)
                learner.questions[{setTable()[i / kNumbers].item, int(i % kNumbers)}] = tallies[i];
        if (!status.ok()) {
            notes.push_back({Note::Unreadable, path, 0, errorOf(status)});
            learner.hasRecord = false;
            return learner;
        }
        ++files;
        if (tail)
            notes.push_back({Note::Cut, path, 0, {}});
        if (good == 0 && damaged > 0)
            notes.push_back({Note::Foreign, path, damaged, {}});
        else if (damaged > 0)
            notes.push_back({Note::Damaged, path, damaged, {}});
        if (unknown > 0)
            notes.push_back({Note::UnknownSet, path, unknown, {}});
        if (answers.size() > size_t(record::kHeldEvents))
            answers.erase(answers.begin(), answers.end() - record::kHeldEvents);
        const record::Progress progress = record::progressOf(answers, day_);
        learner.due = int(progress.due.size());
        learner.waiting = int(progress.waiting.size());
        learner.done = progress.done;
        return learner;
    }

    // The runs of a family file (or of a side file beside it) in the period;
    // *results tells whether it was a results file at all.
    std::vector<Run> readFamily(const QString &path, const QString &family, bool *results = nullptr)
    {
        if (results)
            *results = false;
        std::vector<Run> runs;
        int damaged = 0, good = 0, lines = 0;
        bool tail = false;
        const Status status = forEachLine(path, kReadBytes, kFamilyLine, tail, [&](QByteArrayView bytes, bool cut) {
            ++lines;
            const QString line = textfiles::decode(bytes.toByteArray());
            Run run;
            if (cut || !parseFamilyLine(line, family, today_, run)) {
                // Line 1 is the date of the last write, unless it is a record;
                // a first line without a digit is no date either.
                const bool dateLine = lines == 1 && !tail && line.size() <= 40
                    && std::any_of(line.begin(), line.end(), [](QChar c) { return c.isDigit(); });
                if (!dateLine && !line.trimmed().isEmpty())
                    ++damaged;
                return;
            }
            ++good;
            if (!filter_.contains(run.date))
                return;
            if (!filter_.item.isEmpty() && run.item != filter_.item)
                return;
            runs.push_back(run);
        });
        if (!status.ok()) {
            notes.push_back({Note::Unreadable, path, 0, errorOf(status)});
            return {};
        }
        ++files;
        if (tail)
            notes.push_back({Note::Cut, path, 0, {}});
        if (good == 0 && damaged > 0) {
            notes.push_back({Note::Foreign, path, damaged, {}});
            return {};
        }
        if (damaged > 0)
            notes.push_back({Note::Damaged, path, damaged, {}});
        if (results)
            *results = true;
        return runs;
    }

    void note(const QDate &date)
    {
        if (!first.isValid() || date < first)
            first = date;
        if (!last.isValid() || date > last)
            last = date;
    }
    void note(const std::vector<Run> &runs)
    {
        for (const Run &r : runs)
            note(r.date);
    }

    // Takes over what another reader found.
    void absorb(Reader &other)
    {
        notes.insert(notes.end(), other.notes.begin(), other.notes.end());
        files += other.files;
        if (other.first.isValid())
            note(other.first);
        if (other.last.isValid())
            note(other.last);
    }

    QDate first, last;

private:
    Filter filter_;
    QDate day_, today_;
};

// Takes out of runs those already known (by key), counting each key down.
std::vector<Run> unknownRuns(const std::vector<Run> &runs, std::map<RunKey, int> &known)
{
    std::vector<Run> out;
    for (const Run &r : runs) {
        const auto it = known.find(keyOf(r));
        if (it != known.end() && it->second > 0) {
            --it->second;
            continue;
        }
        out.push_back(r);
    }
    return out;
}

void addRuns(Learner &learner, const std::vector<Run> &runs)
{
    learner.runs.insert(learner.runs.end(), runs.begin(), runs.end());
}

QString folderName(const QString &path)
{
    QString name = QFileInfo(QFileInfo(path).absoluteFilePath()).fileName();
    if (name.isEmpty())
        name = QFileInfo(path).absoluteFilePath();
    return name;
}

} // namespace

void settleLocalTime()
{
#ifdef Q_OS_UNIX
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", ":/etc/localtime");
#endif
}

const QStringList &knownFamilies()
{
    static const QStringList families = [] {
        QStringList out;
        for (const SetInfo &s : setTable()) {
            const QString f = familyOf(s.resultsFileName);
            if (!out.contains(f))
                out << f;
        }
        return out;
    }();
    return families;
}

QString familyOf(const QString &resultsFileName)
{
    QString f = results::familyFileName(resultsFileName);
    f.chop(4); // ".txt"
    return f;
}

QDate dateOfYymmdd(const QString &digits, const QDate &today)
{
    if (digits.size() != 6)
        return {};
    for (QChar c : digits)
        if (c < u'0' || c > u'9')
            return {};
    const int yy = digits.left(2).toInt(), mm = digits.mid(2, 2).toInt(), dd = digits.mid(4, 2).toInt();
    int year = 2000 + yy;
    if (today.isValid() && year > today.year() + 20)
        year -= 100;
    return QDate(year, mm, dd);
}

bool parseFamilyLine(const QString &line, const QString &family, const QDate &today, Run &run)
{
    // "12,261207#座標問題1.txt", or "12,261207" written before set names were
    // kept. The score may carry a fraction, which the program rounds.
    static const QRegularExpression form(QStringLiteral("^\\s*[-+]?\\d{1,6}(\\.\\d+)?,\\d{6}(#.*)?$"));
    if (!form.match(line).hasMatch())
        return false;
    const results::Record r = results::parseRecord(line, {});
    const QDate date = dateOfYymmdd(r.date, today);
    if (!date.isValid())
        return false;
    Run out;
    out.date = date;
    out.family = family;
    out.setName = r.set.trimmed();
    if (const SetInfo *set = setOfResultsFile(out.setName)) {
        // The table's own strings: a long history holds no copies of them.
        out.item = set->item;
        out.setName = set->resultsFileName;
    }
    out.score = r.score;
    run = std::move(out);
    return true;
}

ClassData readClass(const QStringList &paths, const Filter &filter, const QDate &today)
{
    ClassData data;
    data.filter = filter;
    data.day = filter.to.isValid() && filter.to < today ? filter.to : today;

    Finder finder;
    for (const QString &p : paths)
        finder.given(p);
    data.notes = finder.notes;

    // The learners' records, the most of the work, are read on as many
    // threads as the machine has cores, each record on its own: what is held
    // at once is a record's answers per thread, whatever the class.
    struct RecordRead {
        Reader reader;
        Learner learner;
        std::map<RunKey, int> keys;
    };
    std::vector<const QString *> jobs;
    for (const auto &[key, folder] : finder.folders)
        for (const QString &path : folder.records)
            jobs.push_back(&path);
    std::vector<std::optional<RecordRead>> reads(jobs.size());
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i; (i = next++) < jobs.size();) {
            RecordRead r{Reader(filter, data.day, today), {}, {}};
            r.learner = r.reader.readRecord(*jobs[i], r.keys);
            reads[i].emplace(std::move(r));
        }
    };
    const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
    std::vector<std::thread> pool;
    for (int t = 1; t < std::min<int>(threads, int(jobs.size())); ++t)
        pool.emplace_back(work);
    work();
    for (std::thread &t : pool)
        t.join();

    Reader reader(filter, data.day, today);
    std::map<QString, Learner> named;
    std::vector<Learner> nameless;
    size_t done = 0;
    for (auto &[key, folder] : finder.folders) {
        ++data.folders;
        std::map<RunKey, int> known; // runs the records of this folder hold
        std::vector<Learner> learners;
        for (const QString &path : folder.records) {
            RecordRead &r = *reads[done++];
            reader.absorb(r.reader);
            for (const auto &[k, n] : r.keys)
                known[k] += n;
            Learner l = std::move(r.learner);
            if (!l.hasRecord)
                continue; // unreadable: named in the notes
            l.name = QFileInfo(path).fileName();
            l.name.chop(record::kSuffix.size());
            // The anonymous record names nobody: in a folder of one learner
            // (the learner's own folder, where no roster names anyone) the
            // folder names them, as it does where there is no record; beside
            // named records it stays anonymous, but of that folder only, so
            // the anonymous learners of many folders never become one.
            if (l.name.isEmpty() || l.name == record::kAnonymous)
                l.name = folder.records.size() == 1
                    ? folderName(folder.path)
                    : record::kAnonymous + u"（"_qs + folderName(folder.path) + u"）"_qs;
            learners.push_back(std::move(l));
        }
        // Family files, then the side files of records they could not take:
        // a side record also in the family file was copied there by hand.
        std::vector<Run> familyRuns;
        std::map<RunKey, int> inFamily;
        bool anyResults = false; // a results file was read: somebody practised here
        for (const QString &path : folder.families) {
            const QString name = QFileInfo(path).fileName();
            bool results = false;
            for (const Run &r : reader.readFamily(path, name.chopped(4), &results)) {
                familyRuns.push_back(r);
                ++inFamily[keyOf(r)];
            }
            anyResults = anyResults || results;
        }
        for (const QString &path : folder.sides) {
            bool results = false;
            for (const Run &r : unknownRuns(reader.readFamily(path, familyOfSide(QFileInfo(path).fileName()), &results), inFamily))
                familyRuns.push_back(r);
            anyResults = anyResults || results;
        }
        const std::vector<Run> left = unknownRuns(familyRuns, known);

        if (folder.records.isEmpty() && anyResults) {
            Learner l;
            l.name = folderName(folder.path);
            addRuns(l, left);
            learners.push_back(std::move(l));
        } else if (learners.size() == 1 && folder.records.size() == 1) {
            addRuns(learners.front(), left);
        } else if (!left.empty()) {
            Learner l;
            l.name = folderName(folder.path);
            l.named = false;
            addRuns(l, left);
            data.notes.push_back({Note::Shared, folder.path, int(left.size()), {}});
            nameless.push_back(std::move(l));
        }
        // The same learner in several folders (a record in the class's
        // folder, older runs in a folder of their own) is one learner.
        for (Learner &l : learners) {
            reader.note(l.runs);
            auto [it, fresh] = named.try_emplace(l.name, std::move(l));
            if (fresh)
                continue;
            Learner &to = it->second;
            addRuns(to, l.runs);
            for (const auto &[q, t] : l.questions) {
                to.questions[q].answers += t.answers;
                to.questions[q].misses += t.misses;
            }
            to.hasRecord = to.hasRecord || l.hasRecord;
            to.due += l.due;
            to.waiting += l.waiting;
            to.done += l.done;
        }
    }
    for (Learner &l : nameless)
        reader.note(l.runs);
    data.files = reader.files;
    data.notes.insert(data.notes.end(), reader.notes.begin(), reader.notes.end());
    data.firstDay = reader.first;
    data.lastDay = reader.last;

    QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
    collator.setNumericMode(true);
    for (auto &[name, l] : named)
        data.learners.push_back(std::move(l));
    std::stable_sort(data.learners.begin(), data.learners.end(),
                     [&](const Learner &a, const Learner &b) { return collator.compare(a.name, b.name) < 0; });
    for (Learner &l : nameless)
        data.learners.push_back(std::move(l));
    for (Learner &l : data.learners)
        std::stable_sort(l.runs.begin(), l.runs.end(), [](const Run &a, const Run &b) {
            // A run known only by its day stands before the timed runs of that day.
            return std::pair(a.date, a.time.isValid() ? a.time.msecsSinceStartOfDay() : -1)
                 < std::pair(b.date, b.time.isValid() ? b.time.msecsSinceStartOfDay() : -1);
        });
    return data;
}

QString describe(const Note &n)
{
    switch (n.kind) {
    case Note::Unreadable:
    {
        QString why = QStringLiteral("読めない");
        if (n.error == 0)
            why = QStringLiteral("ふつうのファイルではない");
        else if (n.error == EACCES || n.error == EPERM)
            why = QStringLiteral("読む許可がない");
        else if (n.error == ENOENT || n.error == ENOTDIR)
            why = QStringLiteral("見つからない");
        else if (n.error == ELOOP)
            why = QStringLiteral("リンク");
        else if (n.error == EISDIR)
            why = QStringLiteral("フォルダ");
        return QStringLiteral("読めませんでした（%1）: %2").arg(why, n.path);
    }
    case Note::Link:
        return QStringLiteral("リンクはたどりません: %1").arg(n.path);
    case Note::NotFolder:
        return QStringLiteral("フォルダでも記録ファイルでもありません: %1").arg(n.path);
    case Note::TooDeep:
        return QStringLiteral("これより下のフォルダは見ていません: %1").arg(n.path);
    case Note::Foreign:
        return QStringLiteral("記録ではありません（%1 行）: %2").arg(n.lines).arg(n.path);
    case Note::Damaged:
        return QStringLiteral("こわれた行 %1 行をとばしました: %2").arg(n.lines).arg(n.path);
    case Note::Cut:
        return QStringLiteral("大きすぎるので新しい %1 MB だけ読みました: %2").arg(kReadBytes >> 20).arg(n.path);
    case Note::UnknownSet:
        return QStringLiteral("知らないセットの行 %1 行をとばしました: %2").arg(n.lines).arg(n.path);
    case Note::Shared:
        return QStringLiteral("だれの回か分からない記録 %1 回（記録ファイルより前のもの）: %2").arg(n.lines).arg(n.path);
    }
    return n.path;
}

QString explain(const Note &n)
{
    switch (n.kind) {
    case Note::Unreadable:
        return QStringLiteral("skipped %1: cannot read it (%2)")
            .arg(n.path, n.error ? QString::fromLocal8Bit(std::strerror(n.error)) : QStringLiteral("not a plain file"));
    case Note::Link:
        return QStringLiteral("skipped %1: a link, not followed").arg(n.path);
    case Note::NotFolder:
        return QStringLiteral("skipped %1: neither a folder nor a results file").arg(n.path);
    case Note::TooDeep:
        return QStringLiteral("skipped the folders below %1: too deep").arg(n.path);
    case Note::Foreign:
        return QStringLiteral("skipped %1: no record in its %2 lines").arg(n.path).arg(n.lines);
    case Note::Damaged:
        return QStringLiteral("%1: skipped %2 damaged lines").arg(n.path).arg(n.lines);
    case Note::Cut:
        return QStringLiteral("%1: too large, read only its newest %2 MB").arg(n.path).arg(kReadBytes >> 20);
    case Note::UnknownSet:
        return QStringLiteral("%1: skipped %2 lines of unknown sets").arg(n.path).arg(n.lines);
    case Note::Shared:
        return QStringLiteral("%1: %2 runs that no learner's record holds, shown under the folder's name")
            .arg(n.path)
            .arg(n.lines);
    }
    return n.path;
}

} // namespace report
