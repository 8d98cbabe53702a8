#include "variants/VariantBank.h"

#include "variants/Checker.h"

#include <QHash>
#include <QSet>

namespace variants {

namespace {

// How many draws a place may take to find numbers within its constraints,
// and how many of those may give a question the bank has already.
constexpr int kDraws = 3000;
constexpr int kRepeats = 20;

QString keyOf(const QString &q, const QString &a) { return q + u'\t' + a; }

} // namespace

BankPlan::BankPlan(const Pairs &pairs, int count) : pairs_(pairs), count_(count)
{
    for (const auto &[q, a] : pairs_)
        templates_.push_back(recognise(q, a));
}

BankPlan::BankPlan(const Pairs &pairs, int count, std::vector<std::unique_ptr<Template>> templates)
    : pairs_(pairs), count_(count), templates_(std::move(templates))
{
    templates_.resize(pairs_.size());
}

BankPlan::~BankPlan() = default;
BankPlan::BankPlan(BankPlan &&) noexcept = default;

VariantBank BankPlan::make(uint32_t seed) const
{
    VariantBank bank;
    bank.seed = seed;
    bank.count = count_;
    bank.pairs.resize(pairs_.size());
    QSet<QString> seen;
    // Places without a template keep the bank's own question; no new
    // question may repeat one of them.
    for (size_t i = 0; i < pairs_.size(); ++i) {
        const auto &[q, a] = pairs_[i];
        bank.pairs[i] = {q, a, QString(), true};
        if (!templates_[i]) {
            seen.insert(keyOf(q, a));
            ++bank.kept;
            bank.notes << QStringLiteral("%1: no form with numbers that can vary").arg(i + 1);
        }
    }
    QHash<QString, Model> shared;
    for (size_t i = 0; i < pairs_.size(); ++i) {
        const Template *t = templates_[i].get();
        if (!t)
            continue;
        // Named, not bound: a lambda below takes them, which structured
        // bindings do not allow in every compiler of C++20.
        const QString &q = pairs_[i].first;
        const QString &a = pairs_[i].second;
        bank.pairs[i].kind = t->kind();
        Rng rng({uint64_t(seed), uint64_t(i) + 1});
        std::optional<Written> chosen;
        std::optional<Model> chosenModel;
        auto acceptable = [&](const Written &w) {
            return !(w.question == q && w.answer == a) && !seen.contains(keyOf(w.question, w.answer));
        };
        // The figure the place's companions were given, first.
        if (!t->shareKey.isEmpty())
            if (auto it = shared.constFind(t->shareKey); it != shared.constEnd()) {
                const Written w = t->fits(*it) ? t->write(*it) : Written{q, a};
                if (acceptable(w)) {
                    chosen = w;
                    chosenModel = *it;
                }
            }
        // The form as the bank has it, then looser ones when its numbers
        // are used up.
        for (int level = 0; !chosen && level <= t->looserLevels(); ++level) {
            int repeats = 0;
            for (int draw = 0; !chosen && draw < kDraws && repeats < kRepeats; ++draw) {
                const std::optional<Model> m = level == 0 ? t->draw(rng) : t->drawLoosely(rng, level);
                if (!m)
                    continue;
                const Written w = t->write(*m);
                if (!acceptable(w)) {
                    ++repeats;
                    continue;
                }
                chosen = w;
                chosenModel = m;
                if (level > 0)
                    bank.notes << QStringLiteral("%1: its form has too few numbers left; looser by %2").arg(i + 1).arg(level);
            }
        }
        // A form with few numbers that fit (two lines and a level segment
        // between lattice points) may need longer; and keeping the bank's
        // own question must not repeat one already in the bank. The
        // loosest form then draws on for longer.
        for (int draw = 0; !chosen && draw < 20 * kDraws; ++draw) {
            const int level = t->looserLevels();
            const std::optional<Model> m = level == 0 ? t->draw(rng) : t->drawLoosely(rng, level);
            if (!m)
                continue;
            const Written w = t->write(*m);
            if (acceptable(w)) {
                chosen = w;
                chosenModel = m;
            }
        }
        if (!chosen) {
            seen.insert(keyOf(q, a));
            ++bank.kept;
            bank.notes << QStringLiteral("%1: no new numbers fit its form").arg(i + 1);
            continue;
        }
        const QStringList faults = faultsOf(chosen->question, chosen->answer, int(i) < count_);
        if (!faults.isEmpty()) {
            seen.insert(keyOf(q, a));
            ++bank.replaced;
            bank.notes << QStringLiteral("%1: the check turned down \"%2\" → \"%3\": %4")
                              .arg(i + 1)
                              .arg(chosen->question, chosen->answer, faults.join(u"; "_qs));
            continue;
        }
        seen.insert(keyOf(chosen->question, chosen->answer));
        bank.pairs[i] = {chosen->question, chosen->answer, t->kind(), false};
        if (!t->shareKey.isEmpty() && !shared.contains(t->shareKey))
            shared.insert(t->shareKey, *chosenModel);
    }
    return bank;
}

VariantBank variantBank(const Pairs &pairs, int count, uint32_t seed) { return BankPlan(pairs, count).make(seed); }

uint32_t seedFor(const QString &displayName, const QDate &date, const QString &item)
{
    // FNV-1a over the UTF-8 of the three, each ended by a line break.
    uint32_t h = 2166136261u;
    for (const QString &part : {displayName, date.toString(QStringLiteral("yyyy/MM/dd")), item})
        for (char c : (part + u'\n').toUtf8()) {
            h ^= uint8_t(c);
            h *= 16777619u;
        }
    return h;
}

std::optional<uint32_t> readSeed(const QString &text)
{
    bool ok = false;
    const qulonglong v = text.trimmed().toULongLong(&ok);
    if (!ok || v > 0xFFFFFFFFull || text.trimmed().startsWith(u'+'))
        return std::nullopt;
    return uint32_t(v);
}

} // namespace variants
