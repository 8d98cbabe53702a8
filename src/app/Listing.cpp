#include "app/Listing.h"

#include "form/Form1.h"
#include "app/SetTable.h"
#include "banks/Catalogue.h"
#include "controls/BasicRandom.h"
#include "controls/QuietServices.h"
#include "controls/TextMetrics.h"

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

int printBank(const QString &item, QTextStream &out, QTextStream &err)
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
        if (!form.runBankRoutine(set->bankRoutine)) {
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

} // namespace

int runTeacherListing(const QStringList &args, QTextStream &out, QTextStream &err, bool &handled)
{
    handled = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool listing = arg == u"--list-sets";
        const bool printing = arg == u"--print-bank" || arg.startsWith(u"--print-bank=");
        if (!listing && !printing)
            continue;

        handled = true;
        out.setEncoding(QStringConverter::Utf8);
        err.setEncoding(QStringConverter::Utf8);
        int rc = 0;
        if (listing) {
            rc = listSets(out, err);
        } else if (arg.startsWith(u"--print-bank=")) {
            rc = printBank(arg.section(u'=', 1), out, err);
        } else if (i + 1 < args.size()) {
            rc = printBank(args[i + 1], out, err);
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
