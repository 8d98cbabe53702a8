// What a learner waits for when a set starts in new numbers: the set's
// variant bank generated and every pair of it checked, from the bank's data
// to the pairs (the target: under 5 ms for any set). Each iteration takes
// the next seed, as each learner and day has its own.
#include "app/SetTable.h"
#include "banks/Catalogue.h"
#include "variants/VariantBank.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_VariantBank(benchmark::State &state, const QString &item)
{
    const banks::BankData *data = banks::Catalogue::builtIn().findItem(item);
    if (!data) {
        state.SkipWithError("no bank");
        return;
    }
    uint32_t seed = 1;
    int set = 0, turnedDown = 0;
    for (auto _ : state) {
        const variants::VariantBank v = variants::variantBank(data->pairs, data->count, seed++);
        set += v.kept;
        turnedDown += v.replaced;
        benchmark::DoNotOptimize(v.pairs.data());
    }
    state.SetLabel(std::to_string(data->pairs.size()) + " pairs, " + std::to_string(set) + " kept, "
                   + std::to_string(turnedDown) + " turned down; target 5 ms");
}

// One benchmark a set with a bank, named after its menu item.
const bool registered = [] {
    for (const SetInfo &s : setTable())
        if (!s.bankRoutine.isEmpty())
            benchmark::RegisterBenchmark(("BM_VariantBank/" + s.item.toStdString()).c_str(), BM_VariantBank, s.item)
                ->Unit(benchmark::kMicrosecond);
    return true;
}();

} // namespace
