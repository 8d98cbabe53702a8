// New numbers: with 「新しい数で出題」 checked, every set is asked from its
// variant bank (src/variants): the same forms of questions with new numbers,
// each answer checked before it is asked. The seed comes from the learner's
// display name, the day and the set, so the same learner meets the same
// questions all day and a teacher can print them (--variant SEED).
#include "form/Form1.h"
#include "app/SetTable.h"
#include "banks/Catalogue.h"
#include "variants/VariantBank.h"

namespace {
const QString kFreshNumbersItem = QStringLiteral("atarasiikazu");
} // namespace

bool Form1::settingsClick(const QString &item)
{
    if (item != kFreshNumbersItem)
        return false;
    // A run under way keeps the bank it has; the next set is filled anew.
    if (MenuItem *m = menuItem(item))
        m->Checked = !m->Checked;
    return true;
}

void Form1::fillSetBank(const SetInfo &set)
{
    run.variantSeed.clear();
    const MenuItem *fresh = menuItem(kFreshNumbersItem);
    const bool wanted = givenVariantSeed || (fresh && fresh->Checked);
    const banks::BankData *data = wanted ? banks::Catalogue::builtIn().findRoutine(set.bankRoutine) : nullptr;
    if (!data || !data->fault.isEmpty()) {
        // The set's own bank, and for faulty data the end it has always had.
        runBankRoutine(set.bankRoutine);
        return;
    }
    const uint32_t seed =
        givenVariantSeed ? *givenVariantSeed : variants::seedFor(history.displayName, s_.clock.today(), set.item);
    const variants::VariantBank variant = variants::variantBank(data->pairs, data->count, seed);
    // As many pairs as the set's own bank, within the arrays' bounds.
    size_t i = 1;
    for (const variants::VariantPair &p : variant.pairs) {
        bank.mondai[i] = p.question;
        bank.kotae[i] = p.answer;
        ++i;
    }
    bank.mondaiCount = int16_t(variant.count);
    run.variantSeed = QString::number(seed);
}
