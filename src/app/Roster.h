#pragma once
// The site's roster: for each machine, the display name of the learner who
// uses it in each time slot. Kept as an INI file beside the program, one
// section per machine name with the keys A, BEarly and BLate.
#include <QString>
#include <QStringList>

#include <map>

namespace roster {

struct Slots {
    QString a;      // Sunday, Monday, Wednesday, Thursday
    QString bEarly; // Tuesday, Friday, Saturday before 18:00
    QString bLate;  // Tuesday, Friday, Saturday from 18:00
};
using Table = std::map<QString, Slots>;

Table parse(const QStringList &lines);

// Weekday: Sunday = 1 … Saturday = 7. An unlisted machine gives "".
QString lookup(const Table &table, const QString &machine, int weekday, double secondsSinceMidnight);

// First line of the machine-name file; "" when it cannot be read.
QString readMachineName(const QString &path);

} // namespace roster
