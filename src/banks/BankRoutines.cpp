// The bank routines of the problem sets. The questions themselves are data
// (src/banks/data/*.tsv); each routine copies its bank into the question
// arrays, so a teacher's correction to a data file needs no code change.
#include "form/Form1.h"
#include "banks/Catalogue.h"

namespace {

void fillBank(Form1 &form, const QString &routine)
{
    const banks::BankData *data = banks::Catalogue::builtIn().findRoutine(routine);
    QString reason;
    if (!data)
        reason = QStringLiteral("faulty question data: no bank for routine %1").arg(routine);
    else if (!data->fault.isEmpty())
        reason = QStringLiteral("faulty question data for %1 (%2): %3")
                     .arg(data->item, routine, data->fault);
    if (!reason.isEmpty()) {
        banks::reportFaultyData(reason);
        form.endProgram(reason);
    }
    // The loader keeps a bank within the arrays' bounds (at most 1000 pairs,
    // a count of 1 to 100).
    QuestionBank &bank = form.bank;
    int i = 1;
    for (const auto &[question, answer] : data->pairs) {
        bank.mondai[size_t(i)] = question;
        bank.kotae[size_t(i)] = answer;
        ++i;
    }
    bank.mondaiCount = int16_t(data->count);
}

using Routine = void (Form1::*)();

struct NamedRoutine {
    const char16_t *name;
    Routine routine;
};

const NamedRoutine kRoutines[] = {
    {u"bankZahyou1", &Form1::bankZahyou1},
    {u"bankZahyou2", &Form1::bankZahyou2},
    {u"bankZahyou3", &Form1::bankZahyou3},
    {u"bankNagasa", &Form1::bankNagasa},
    {u"bankMenseki1", &Form1::bankMenseki1},
    {u"bankSanmen", &Form1::bankSanmen},
    {u"bankEnmenko", &Form1::bankEnmenko},
    {u"bankGraread1", &Form1::bankGraread1},
    {u"bankGraread2", &Form1::bankGraread2},
    {u"bankGrawrite1", &Form1::bankGrawrite1},
    {u"bankGrawrite2", &Form1::bankGrawrite2},
    {u"bankGrerewri", &Form1::bankGrerewri},
    {u"bankSenza1", &Form1::bankSenza1},
    {u"kansu1nouyo1", &Form1::kansu1nouyo1},
    {u"bankOuyou2", &Form1::bankOuyou2},
    {u"bankOuyou3", &Form1::bankOuyou3},
    {u"bankGra2read1", &Form1::bankGra2read1},
    {u"bankGra2read2", &Form1::bankGra2read2},
    {u"bankGura2wri3", &Form1::bankGura2wri3},
    {u"bankGurafukaki42n", &Form1::bankGurafukaki42n},
    {u"bankGra2write1", &Form1::bankGra2write1},
    {u"bankGra2write", &Form1::bankGra2write},
    {u"bankGtyokusen1", &Form1::bankGtyokusen1},
    {u"bankGra2rewri2", &Form1::bankGra2rewri2},
    {u"gra2senzyou1", &Form1::gra2senzyou1},
};

} // namespace

// Coordinates, lengths, areas and circles.
void Form1::bankZahyou1() { fillBank(*this, QStringLiteral("bankZahyou1")); }
void Form1::bankZahyou2() { fillBank(*this, QStringLiteral("bankZahyou2")); }
void Form1::bankZahyou3() { fillBank(*this, QStringLiteral("bankZahyou3")); }
void Form1::bankNagasa() { fillBank(*this, QStringLiteral("bankNagasa")); }
void Form1::bankMenseki1() { fillBank(*this, QStringLiteral("bankMenseki1")); }
void Form1::bankSanmen() { fillBank(*this, QStringLiteral("bankSanmen")); }
// Writes 42 pairs but asks only the first 30.
void Form1::bankEnmenko() { fillBank(*this, QStringLiteral("bankEnmenko")); }

// First-year functions.
void Form1::bankGraread1() { fillBank(*this, QStringLiteral("bankGraread1")); }
void Form1::bankGraread2() { fillBank(*this, QStringLiteral("bankGraread2")); }
void Form1::bankGrawrite1() { fillBank(*this, QStringLiteral("bankGrawrite1")); }
void Form1::bankGrawrite2() { fillBank(*this, QStringLiteral("bankGrawrite2")); }
void Form1::bankGrerewri() { fillBank(*this, QStringLiteral("bankGrerewri")); }

// Applications of first-year functions.
void Form1::bankSenza1() { fillBank(*this, QStringLiteral("bankSenza1")); }
void Form1::kansu1nouyo1() { fillBank(*this, QStringLiteral("kansu1nouyo1")); }
void Form1::bankOuyou2() { fillBank(*this, QStringLiteral("bankOuyou2")); }
void Form1::bankOuyou3() { fillBank(*this, QStringLiteral("bankOuyou3")); }

// Second-year linear functions.
void Form1::bankGra2read1() { fillBank(*this, QStringLiteral("bankGra2read1")); }
void Form1::bankGra2read2() { fillBank(*this, QStringLiteral("bankGra2read2")); }
void Form1::bankGura2wri3() { fillBank(*this, QStringLiteral("bankGura2wri3")); }
void Form1::bankGurafukaki42n() { fillBank(*this, QStringLiteral("bankGurafukaki42n")); }
void Form1::bankGra2write1() { fillBank(*this, QStringLiteral("bankGra2write1")); }
void Form1::bankGra2write() { fillBank(*this, QStringLiteral("bankGra2write")); }
void Form1::bankGtyokusen1() { fillBank(*this, QStringLiteral("bankGtyokusen1")); }
void Form1::bankGra2rewri2() { fillBank(*this, QStringLiteral("bankGra2rewri2")); }
void Form1::gra2senzyou1() { fillBank(*this, QStringLiteral("gra2senzyou1")); }

bool Form1::runBankRoutine(const QString &routine)
{
    for (const NamedRoutine &r : kRoutines) {
        if (routine == QStringView(r.name)) {
            (this->*r.routine)();
            return true;
        }
    }
    return false;
}
