// The learner's display name: the machine's name, the weekday and the time of
// day pick a name from the site's roster.
#include "app/Roster.h"

#include "form/Form1.h"
#include "controls/PlainFile.h"
#include "controls/TextFiles.h"

namespace roster {

Table parse(const QStringList &lines)
{
    Table table;
    QString section;
    bool inSection = false;
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            // The machine name between the brackets is kept exactly: names
            // are compared with case and blanks.
            const int open = raw.indexOf(u'[');
            const int close = raw.lastIndexOf(u']');
            section = raw.mid(open + 1, close - open - 1);
            // [general] holds the site's settings (places/Places.h), no machine.
            inSection = section.trimmed().compare(u"general", Qt::CaseInsensitive) != 0;
            continue;
        }
        const int eq = line.indexOf(u'=');
        if (!inSection || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        Slots &s = table[section];
        if (key == u"A")
            s.a = value;
        else if (key == u"BEarly")
            s.bEarly = value;
        else if (key == u"BLate")
            s.bLate = value;
    }
    return table;
}

QString lookup(const Table &table, const QString &machine, int weekday, double secondsSinceMidnight)
{
    const auto it = table.find(machine);
    if (it == table.end())
        return QString();
    switch (weekday) {
    case 1: case 2: case 4: case 5:
        return it->second.a;
    case 3: case 6: case 7:
        return secondsSinceMidnight < 18 * 3600 ? it->second.bEarly : it->second.bLate;
    default:
        return QString();
    }
}

QString readMachineName(const QString &path)
{
    // Read at start-up: a pipe or a device at the path must not hold the
    // window back. A machine name is short; a huge first line is read only
    // in part and simply matches nobody. The file may be a link an
    // administrator made (to the host name, say).
    QByteArray bytes;
    if (path.isEmpty() || !plainfile::readHead(path, bytes, 4096, plainfile::Links::Follow).ok())
        return QString();
    QString name;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        // UTF-16 ("Unicode" from a Windows editor): its line ends are two
        // bytes each, so the text is decoded before it is cut.
        name = textfiles::decode(bytes).section(u'\n', 0, 0);
    } else {
        const int nl = bytes.indexOf('\n');
        if (nl >= 0)
            bytes.truncate(nl);
        name = textfiles::decode(bytes);
    }
    if (name.endsWith(u'\r'))
        name.chop(1);
    name.remove(QChar(0));
    return name;
}

} // namespace roster

void Form1::chooseDisplayName()
{
    const QString machine = roster::readMachineName(s_.paths.machineNameFile);
    machineName_ = machine;
    QStringList lines;
    roster::Table table;
    if (textfiles::readLines(s_.paths.rosterFile, lines, 1024 * 1024))
        table = roster::parse(lines);
    history.displayName =
        roster::lookup(table, machine, s_.clock.weekday(), s_.clock.secondsSinceMidnight());
    if (machine.isEmpty())
        history.displayName = QStringLiteral("とくめい");
}
