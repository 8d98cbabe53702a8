#pragma once
// Results files: one per family of sets, a date line and then one record per
// finished run, "score,yymmdd#set.txt".
#include "controls/FileLock.h"

#include <QDate>
#include <QString>

#include <vector>

namespace results {

// The family file that a set's results go to: "座標問題2.txt" → "座標問題.txt".
QString familyFileName(const QString &resultsFileName);

struct Record {
    int16_t score = 0;
    QString date;
    QString set;
};

// Parses one record line; a line without "," repeats the previous record.
Record parseRecord(const QString &line, const Record &previous);

// A record as it is written back: "12,261207#座標問題1.txt", or "7,261207"
// for one without a set name.
QString formatRecord(const Record &record);

// yymmdd from the short date text: 2026/12/07 → 261207.
QString yymmdd(const QString &dateText);

// A name that came from a file (a display name, a machine name) made safe to
// be part of a file name in the current folder: no separators, no control
// characters, no leading dot, at most kNamePartChars characters.
QString safeFileNamePart(const QString &name);
constexpr int kNamePartChars = 64;

// What a record holds in memory, whatever its line on disk: the chart shows
// at most this many characters of a set name, and no record needs a longer
// line. A longer line is still written back whole.
constexpr int kChartSetChars = 20;
constexpr int kRecordBytes = 256;

// The newest records of a results file, read without following a link and
// with memory bounded by the number of records held, not by the file.
struct Recent {
    plainfile::Kind kind = plainfile::Kind::Missing;
    plainfile::Status status; // why the file could not be read
    std::vector<Record> records;
};
Recent readRecent(const QString &path, int held);

// The file that holds what is on disk now, with the date line renewed and
// one more record at the end. Every record line stays as it stood.
QByteArray withRecord(const QByteArray &onDisk, const QString &dateLine, const QString &record);

// Where one run's record went.
struct Saved {
    enum Where { Family, Side, Lost } where = Lost;
    plainfile::Fault fault = plainfile::Fault::None; // why not the family file
    bool reading = false;                            // the fault came from reading it
    QString sideFile;                                // file name, when Side
    QString lockFile;                                // the lock's file name
};

// Adds one record to a family file, as safely as the folder allows:
// under the file's lock the history is read again and rewritten through a
// synced temporary copy; where the file cannot be replaced (or no lock can
// be taken, or the new copy does not fit in memory) the record is added at
// its end; where the family file cannot take it at all (a link, a folder, a
// lock held too long), it goes to the side file sideName beside it. Never
// throws. A record kept in the family file may still come with a fault:
// that of a lock that no program can take.
Saved saveRecord(const QString &familyPath, const QString &dateLine, const QString &record,
                 const QString &sideName, plainfile::LockTimes times = {});

// The side file for records that the family file could not take:
// "座標問題.txt.<machine>.<yyyymmdd>.txt".
QString sideFileName(const QString &family, const QString &machine, const QDate &date);

// What the learner is told when the record is not in the family file, or is
// but no program can take the file's lock; empty when all is well.
QString notice(const Saved &saved, int16_t score);

// Why a file of the results folder could not be written, as the learner is
// told it.
QString faultReason(plainfile::Fault fault);

} // namespace results
