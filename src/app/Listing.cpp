#include "app/Listing.h"

#include "form/Form1.h"
#include "app/SetTable.h"
#include "banks/Catalogue.h"
#include "controls/BasicRandom.h"
#include "controls/QuietServices.h"
#include "controls/TextMetrics.h"
#include "variants/VariantBank.h"

#include <memory>

namespace {

// A form that is never shown: it supplies the menu captions and runs the bank
// routines exactly as a menu click would, so the listing cannot drift from
// what the learner gets.
struct QuietForm {
    StillClock clock;
    BasicRandom random;
    UnshownDialogs dialogs;
    SilentSound sound1, sound2;
    FixedMetrics metrics;
    Form1 form{FormServices{clock, random, dialogs, sound1, sound2, metrics, Paths{}}};
};

void printValidItems(QTextStream &err)
{
    QStringList names;
    for (const SetInfo &s : setTable())
        names << s.item;
    err << "valid items: " << names.join(QStringLiteral(", ")) << '\n';
}

int listSets(QTextStream &out, QTextStream &err)
{
    const auto quiet = std::make_unique<QuietForm>();
    const banks::Catalogue &catalogue = banks::Catalogue::builtIn();
    int rc = 0;
    for (const MenuItem &m : quiet->form.menuItems) {
        const SetInfo *set = m.Parent.isEmpty() ? nullptr : findSet(m.Name);
        if (!set)
            continue; // top-level menus and items without a bank
        const banks::BankData *data = catalogue.findRoutine(set->bankRoutine);
        if (!data) {
            err << m.Name << ": the built-in question data has no bank for routine "
                << set->bankRoutine << '\n';
            rc = 1;
            continue;
        }
        if (!data->fault.isEmpty()) {
            err << m.Name << ": faulty question data: " << data->fault << '\n';
            rc = 1;
        }
        out << m.Name << '\t' << m.Caption << '\t' << data->count << '\t' << set->resultsFileName
            << '\n';
    }
    return rc;
}

int printBank(const QString &item, std::optional<uint32_t> seed, QTextStream &out, QTextStream &err)
{
    const SetInfo *set = findSet(item);
    if (!set) {
        err << "unknown item \"" << item << "\"\n";
        printValidItems(err);
        return 2;
    }
    const banks::BankData *data = banks::Catalogue::builtIn().findRoutine(set->bankRoutine);
    if (!data) {
        err << item << ": the built-in question data has no bank for routine " << set->bankRoutine
            << '\n';
        return 1;
    }
    if (!data->fault.isEmpty()) {
        err << item << ": faulty question data: " << data->fault << '\n';
        return 1;
    }

    const auto quiet = std::make_unique<QuietForm>();
    Form1 &form = quiet->form;
    try {
        if (seed) {
            // As an activation fills it, in the new numbers of that seed.
            form.givenVariantSeed = seed;
            form.fillSetBank(*set);
        } else if (!form.runBankRoutine(set->bankRoutine)) {
            err << item << ": no bank routine named " << set->bankRoutine << '\n';
            return 1;
        }
    } catch (const ProgramEnd &end) {
        err << item << ": " << end.reason << '\n';
        return 1;
    }
    // Every slot the routine wrote, including those beyond the count.
    const size_t written = data->pairs.size();
    for (size_t i = 1; i <= written; ++i)
        out << i << '\t' << form.bank.mondai[i] << '\t' << form.bank.kotae[i] << '\n';
    return 0;
}

// The seed a learner's day in a set gives: "--variant-seed ITEM NAME DATE".
int printSeed(const QStringList &args, qsizetype at, QTextStream &out, QTextStream &err)
{
    if (at + 3 >= args.size()) {
        err << "--variant-seed needs an item, a learner's name and a date: --variant-seed nagasa 生徒01 2026/12/08\n";
        return 2;
    }
    const QString item = args[at + 1], name = args[at + 2];
    const QDate date = QDate::fromString(args[at + 3], QStringLiteral("yyyy/MM/dd"));
    if (!findSet(item)) {
        err << "unknown item \"" << item << "\"\n";
        printValidItems(err);
        return 2;
    }
    if (!date.isValid()) {
        err << "the date must read YYYY/MM/DD, not \"" << args[at + 3] << "\"\n";
        return 2;
    }
    out << variants::seedFor(name, date, item) << '\n';
    return 0;
}

// The value of "--variant SEED" or "--variant=SEED", if given; false with a
// message when it cannot be read.
bool variantOption(const QStringList &args, std::optional<uint32_t> &seed, QTextStream &err)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString value;
        if (args[i] == u"--variant" && i + 1 < args.size())
            value = args[i + 1];
        else if (args[i].startsWith(u"--variant="))
            value = args[i].section(u'=', 1);
        else if (args[i] != u"--variant")
            continue;
        seed = variants::readSeed(value);
        if (!seed) {
            err << "--variant takes a seed, a whole number from 0 to 4294967295, not \"" << value << "\"\n";
            return false;
        }
    }
    return true;
}

} // namespace

int runTeacherListing(const QStringList &args, QTextStream &out, QTextStream &err, bool &handled)
{
    handled = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool listing = arg == u"--list-sets";
        const bool printing = arg == u"--print-bank" || arg.startsWith(u"--print-bank=");
        const bool seeding = arg == u"--variant-seed";
        if (!listing && !printing && !seeding)
            continue;

        handled = true;
        out.setEncoding(QStringConverter::Utf8);
        err.setEncoding(QStringConverter::Utf8);
        int rc = 0;
        std::optional<uint32_t> seed;
        if (seeding) {
            rc = printSeed(args, i, out, err);
        } else if (listing) {
            rc = listSets(out, err);
        } else if (!variantOption(args, seed, err)) {
            rc = 2;
        } else if (arg.startsWith(u"--print-bank=")) {
            rc = printBank(arg.section(u'=', 1), seed, out, err);
        } else if (i + 1 < args.size()) {
            rc = printBank(args[i + 1], seed, out, err);
        } else {
            err << "--print-bank needs an item name\n";
            printValidItems(err);
            rc = 2;
        }
        out.flush();
        err.flush();
        return rc;
    }
    return 0;
}
