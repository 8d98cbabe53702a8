#pragma once
// Results files: one per family of sets, a date line and then one record per
// finished run, "score,yymmdd#set.txt".
#include <QString>

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

// A display name made safe to be part of a file name in the current folder.
QString safeFileNamePart(const QString &name);

} // namespace results
