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

void Catalogue::parseFile(const QString &fileName, const QByteArray &content)
{
    static const QRegularExpression header(
        QStringLiteral(R"(^\[\s*(\S+)\s+(\S+)\s+(\d+)\s*\]$)"));

    QString text = QString::fromUtf8(content);
    // Editors on Windows like to start UTF-8 files with a byte order mark.
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(u'\n');

    const size_t firstBank = banks_.size();
    QString fileFault;
    auto fail = [&](qsizetype lineNo, const QString &what) {
        const QString f = QStringLiteral("%1:%2: %3").arg(fileName).arg(lineNo).arg(what);
        faults_ << f;
        if (fileFault.isEmpty())
            fileFault = f;
    };

    // The bank being read, by index into banks_; -1 before the first header
    // or after a broken one. After the first fault in a bank (or its header)
    // the rest of its rows are skipped, so one missing line gives one
    // message, not thirty.
    long current = -1;
    bool currentBroken = false;
    qsizetype headerLine = 0;
    auto closeBank = [&] {
        if (current < 0 || currentBroken)
            return;
        const BankData &b = banks_[size_t(current)];
        if (qsizetype(b.pairs.size()) < b.count)
            fail(headerLine, QStringLiteral("bank %1 asks %2 questions but lists only %3 pairs")
                                 .arg(b.item)
                                 .arg(b.count)
                                 .arg(b.pairs.size()));
    };

    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qsizetype lineNo = i + 1;
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;

        if (line.trimmed().startsWith(u'[')) {
            closeBank();
            current = -1;
            currentBroken = false;
            headerLine = lineNo;
            const QRegularExpressionMatch m = header.match(line.trimmed());
            if (!m.hasMatch()) {
                fail(lineNo, QStringLiteral("a bank header must read [item routine count]"));
                currentBroken = true;
                continue;
            }
            BankData b;
            b.item = m.captured(1);
            b.routine = m.captured(2);
            b.count = m.captured(3).toInt();
            b.file = fileName;
            if (b.count < 1 || b.count > kMaxCount) {
                fail(lineNo, QStringLiteral("bank %1 asks %2 questions; it must ask 1 to %3")
                                 .arg(b.item)
                                 .arg(m.captured(3))
                                 .arg(kMaxCount));
                currentBroken = true;
                continue;
            }
            if (findItem(b.item) || findRoutine(b.routine)) {
                fail(lineNo, QStringLiteral("bank %1 (%2) is listed twice").arg(b.item, b.routine));
                currentBroken = true;
                continue;
            }
            banks_.push_back(b);
            current = long(banks_.size()) - 1;
            continue;
        }

        if (currentBroken)
            continue;
        if (current < 0) {
            fail(lineNo, QStringLiteral("a question line outside any bank"));
            currentBroken = true;
            continue;
        }
        BankData &b = banks_[size_t(current)];
        const QStringList parts = line.split(u'\t');
        if (parts.size() != 3) {
            fail(lineNo, QStringLiteral("expected number<TAB>question<TAB>answer with exactly two "
                                        "tabs, found %1")
                             .arg(parts.size() - 1));
            currentBroken = true;
            continue;
        }
        const qsizetype expected = qsizetype(b.pairs.size()) + 1;
        bool ok = false;
        const int number = parts[0].trimmed().toInt(&ok);
        if (!ok || number != expected) {
            fail(lineNo, QStringLiteral("bank %1: pair number \"%2\" is out of sequence, expected %3")
                             .arg(b.item, parts[0])
                             .arg(expected));
            currentBroken = true;
            continue;
        }
        if (expected > kMaxPairs) {
            fail(lineNo, QStringLiteral("bank %1 lists more than %2 pairs").arg(b.item).arg(kMaxPairs));
            currentBroken = true;
            continue;
        }
        b.pairs.emplace_back(parts[1], parts[2]);
    }
    closeBank();

    if (!fileFault.isEmpty())
        for (size_t k = firstBank; k < banks_.size(); ++k)
            banks_[k].fault = fileFault;
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
