// The results file as anyone may have left it: any bytes become the family
// file of a set, then the set is activated (the file is read and may switch
// the draw order) and one or two runs are ended by the clock (the file is
// written back). Afterwards the file must still hold every record it held,
// each reading as it did, followed by the new ones.
#include "FuzzForm.h"

#include "app/Results.h"
#include "app/SetTable.h"
#include "controls/TextFiles.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

fuzz::Counts counts("fuzz_results", "records checked", true);

// The records of a file as the program reads them: every line after the
// date line, a line without "," standing for the record before it.
std::vector<results::Record> recordsOf(const QStringList &lines)
{
    std::vector<results::Record> records;
    results::Record previous;
    for (int i = 1; i < lines.size(); ++i) {
        previous = results::parseRecord(lines[i], previous);
        records.push_back(previous);
    }
    return records;
}

bool same(const results::Record &a, const results::Record &b)
{
    return a.score == b.score && a.date == b.date && a.set == b.set;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const auto &sets = setTable();
    const SetInfo &set = sets[in.ConsumeIntegralInRange<std::size_t>(0, sets.size() - 1)];
    const int runs = in.ConsumeIntegralInRange(1, 2);
    const std::vector<uint8_t> bytes = in.ConsumeRemainingBytes<uint8_t>();

    fuzz::FuzzForm &ff = fuzz::shared();
    Form1 &f = ff.fresh();
    ++counts.inputs;
    const QString path = ff.cwdFile(results::familyFileName(set.resultsFileName));
    fuzz::FuzzForm::write(path, QByteArray(reinterpret_cast<const char *>(bytes.data()),
                                           qsizetype(bytes.size())));
    QStringList before;
    FUZZ_CHECK(textfiles::readLines(path, before));
    const std::vector<results::Record> old = recordsOf(before);

    f.Form_Load();
    std::vector<results::Record> added;
    for (int run = 0; run < runs; ++run) {
        f.menuClick(set.item);
        FUZZ_CHECK(f.run.categoryActive == 1);
        FUZZ_CHECK(f.history.historyCount >= 0 && f.history.historyCount <= 100);
        ff.clock.seconds = double(f.run.endTime) + 0.5;
        f.Timer1_Timer();
        FUZZ_CHECK(f.run.categoryActive == 0);
        // The chart costs what it shows, whatever the file holds: its axes
        // and at most forty past bars and this run's, each with a few labels.
        FUZZ_CHECK(f.Picture1.ops().size() <= 1000);
        added.push_back({f.scoreState.score, results::yymmdd(ff.clock.dateText()), set.resultsFileName});
    }

    QStringList after;
    FUZZ_CHECK(textfiles::readLines(path, after));
    FUZZ_CHECK(!after.isEmpty() && after.first() == ff.clock.dateText());
    const std::vector<results::Record> now = recordsOf(after);
    const std::size_t found = now.size() >= added.size() ? now.size() - added.size() : 0;
    if (found < old.size())
        counts.lost += qsizetype(old.size() - found);
    FUZZ_CHECK(now.size() == old.size() + added.size());
    for (std::size_t i = 0; i < old.size(); ++i)
        FUZZ_CHECK(same(now[i], old[i]));
    for (std::size_t i = 0; i < added.size(); ++i)
        FUZZ_CHECK(same(now[old.size() + i], added[i]));
    counts.checked += qsizetype(now.size());
    ff.done();
    return 0;
}
