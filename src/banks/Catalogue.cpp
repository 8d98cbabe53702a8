#include "banks/Catalogue.h"

#include <QFile>
#include <QRegularExpression>

#include <cstdio>

// The resources live in the static core library; without an explicit
// reference the linker would drop them. Q_INIT_RESOURCE must be used outside
// any namespace.
static void initBankResources()
{
    Q_INIT_RESOURCE(banks);
}

namespace banks {

const QStringList &dataFileNames()
{
    static const QStringList names = {
        QStringLiteral("zahyou.tsv"),
        QStringLiteral("kansu1.tsv"),
        QStringLiteral("ouyou1nkansu.tsv"),
        QStringLiteral("gra2.tsv"),
    };
    return names;
}

void reportFaultyData(const QString &message)
{
    const QByteArray text = (message + u'\n').toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    std::fflush(stderr);
}

const Catalogue &Catalogue::builtIn()
{
    static const Catalogue catalogue = [] {
        initBankResources();
        std::vector<std::pair<QString, QByteArray>> files;
        QStringList unreadable;
        for (const QString &name : dataFileNames()) {
            QFile f(QStringLiteral(":/banks/") + name);
            if (!f.open(QIODevice::ReadOnly)) {
                unreadable << QStringLiteral("%1: the built-in question data cannot be read").arg(name);
                continue;
            }
            files.emplace_back(name, f.readAll());
        }
        Catalogue c = parse(files);
        c.faults_ = unreadable + c.faults_;
        for (const QString &fault : c.faults_)
            reportFaultyData(QStringLiteral("faulty question data: ") + fault);
        return c;
    }();
    return catalogue;
}

Catalogue Catalogue::parse(const std::vector<std::pair<QString, QByteArray>> &files)
{
    Catalogue c;
    for (const auto &[name, content] : files)
        c.parseFile(name, content);
    return c;
}

// Reads one data file into the catalogue. After the first fault in a bank
// (or its header) the rest of its rows are skipped, so one missing line
// gives one message, not thirty.
struct Catalogue::FileReader {
    FileReader(Catalogue &catalogue, const QString &name) : c(catalogue), fileName(name) {}
    Catalogue &c;
    QString fileName;
    size_t firstBank = c.banks_.size();
    QString fileFault;
    long current = -1; // the bank being read, by index; -1 before the first header or after a broken one
    bool broken = false;
    qsizetype headerLine = 0;

    void fail(qsizetype lineNo, const QString &what)
    {
        const QString f = QStringLiteral("%1:%2: %3").arg(fileName).arg(lineNo).arg(what);
        c.faults_ << f;
        if (fileFault.isEmpty())
            fileFault = f;
        broken = true;
    }

    void closeBank()
    {
        if (current < 0 || broken)
            return;
        const BankData &b = c.banks_[size_t(current)];
        if (qsizetype(b.pairs.size()) < b.count)
            fail(headerLine,
                 QStringLiteral("bank %1 asks %2 questions but lists only %3 pairs").arg(b.item).arg(b.count).arg(b.pairs.size()));
    }

    void header(qsizetype lineNo, const QString &line)
    {
        static const QRegularExpression pattern(QStringLiteral(R"(^\[\s*(\S+)\s+(\S+)\s+(\d+)\s*\]$)"));
        closeBank();
        current = -1;
        broken = false;
        headerLine = lineNo;
        const QRegularExpressionMatch m = pattern.match(line.trimmed());
        if (!m.hasMatch())
            return fail(lineNo, QStringLiteral("a bank header must read [item routine count]"));
        BankData b;
        b.item = m.captured(1);
        b.routine = m.captured(2);
        b.count = m.captured(3).toInt();
        b.file = fileName;
        if (b.count < 1 || b.count > kMaxCount)
            return fail(lineNo, QStringLiteral("bank %1 asks %2 questions; it must ask 1 to %3")
                                    .arg(b.item, m.captured(3))
                                    .arg(kMaxCount));
        if (c.findItem(b.item) || c.findRoutine(b.routine))
            return fail(lineNo, QStringLiteral("bank %1 (%2) is listed twice").arg(b.item, b.routine));
        c.banks_.push_back(b);
        current = long(c.banks_.size()) - 1;
    }

    void pair(qsizetype lineNo, const QString &line)
    {
        if (broken)
            return;
        if (current < 0)
            return fail(lineNo, QStringLiteral("a question line outside any bank"));
        BankData &b = c.banks_[size_t(current)];
        const QStringList parts = line.split(u'\t');
        if (parts.size() != 3)
            return fail(lineNo, QStringLiteral("expected number<TAB>question<TAB>answer with exactly two tabs, found %1")
                                    .arg(parts.size() - 1));
        const qsizetype expected = qsizetype(b.pairs.size()) + 1;
        bool ok = false;
        const int number = parts[0].trimmed().toInt(&ok);
        if (!ok || number != expected)
            return fail(lineNo, QStringLiteral("bank %1: pair number \"%2\" is out of sequence, expected %3")
                                    .arg(b.item, parts[0])
                                    .arg(expected));
        if (expected > kMaxPairs)
            return fail(lineNo, QStringLiteral("bank %1 lists more than %2 pairs").arg(b.item).arg(kMaxPairs));
        b.pairs.emplace_back(parts[1], parts[2]);
    }

    // A fault anywhere in a file marks every bank of that file.
    void finish()
    {
        closeBank();
        if (!fileFault.isEmpty())
            for (size_t k = firstBank; k < c.banks_.size(); ++k)
                c.banks_[k].fault = fileFault;
    }
};

void Catalogue::parseFile(const QString &fileName, const QByteArray &content)
{
    QString text = QString::fromUtf8(content);
    // Editors on Windows like to start UTF-8 files with a byte order mark.
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(u'\n');
    FileReader reader(*this, fileName);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.trimmed().startsWith(u'['))
            reader.header(i + 1, line);
        else
            reader.pair(i + 1, line);
    }
    reader.finish();
}

const BankData *Catalogue::findItem(const QString &item) const
{
    for (const BankData &b : banks_)
        if (b.item == item)
            return &b;
    return nullptr;
}

const BankData *Catalogue::findRoutine(const QString &routine) const
{
    for (const BankData &b : banks_)
        if (b.routine == routine)
            return &b;
    return nullptr;
}

} // namespace banks
