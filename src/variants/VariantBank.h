#pragma once
// A set's bank in new numbers: for a seed, a bank of the same size whose
// i-th question has the form of the set's i-th question, with new numbers
// and the answer its template computed from them. Every new pair then goes
// through the independent check (Checker.h); a pair it turns down is
// replaced by the bank's own. Seed in, pairs out: the same seed gives the
// same bank on every machine.
#include "variants/Template.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace variants {

using Pairs = std::vector<std::pair<QString, QString>>;

struct VariantPair {
    QString question, answer;
    QString kind;     // the kind of question (the template's); empty for the bank's own without one
    bool own = false; // the bank's own question kept at this place
};

struct VariantBank {
    uint32_t seed = 0;
    std::vector<VariantPair> pairs; // every pair the bank lists, in its order
    int count = 0;                  // questions asked, as the bank's
    // Places that kept the bank's own question because no new numbers
    // fitted their form, and generated questions the check turned down
    // (each a fault of a template, also replaced by the bank's own); one
    // note each in notes.
    int kept = 0, replaced = 0;
    QStringList notes;
};

// The templates of one bank, read once; each make() draws one variant.
class BankPlan {
public:
    BankPlan(const Pairs &pairs, int count);
    // With templates of the caller's, one a pair (nothing for a pair that
    // keeps the bank's own question).
    BankPlan(const Pairs &pairs, int count, std::vector<std::unique_ptr<Template>> templates);
    ~BankPlan();
    BankPlan(BankPlan &&) noexcept;
    VariantBank make(uint32_t seed) const;
    // The template of place i (from 0), or nothing.
    const Template *at(size_t i) const { return templates_[i].get(); }
    size_t size() const { return pairs_.size(); }

private:
    Pairs pairs_;
    int count_ = 0;
    std::vector<std::unique_ptr<Template>> templates_;
};

VariantBank variantBank(const Pairs &pairs, int count, uint32_t seed);

// The seed of a learner's variant of a set on a day: the same name, date
// and set give the same seed (and so the same questions) on any machine.
uint32_t seedFor(const QString &displayName, const QDate &date, const QString &item);

// A seed as a teacher types it: a whole number from 0 to 4294967295.
std::optional<uint32_t> readSeed(const QString &text);

} // namespace variants
