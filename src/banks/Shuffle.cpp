// The draw order of a set: the order in which the bank's questions are asked.
#include "form/Form1.h"
#include "banks/Catalogue.h"

#include <algorithm>
#include <cmath>

namespace {

// j = floor(k × r) + 1 for a draw r in [0, 1). A scripted source may hand in
// anything (1.0, negatives, NaN), so j is held to 1..k whatever r is.
int pickFrom(int k, double r)
{
    const double j = std::floor(double(k) * r) + 1.0;
    if (!(j >= 1.0)) // also catches NaN
        return 1;
    if (j > double(k))
        return k;
    return int(j);
}

} // namespace

void Form1::shuffleMondai()
{
    const int count = bank.mondaiCount;
    if (count < 0 || count > banks::Catalogue::kMaxCount) {
        // The draw order covers ten blocks of ten; a larger count would
        // write past the end of shuffledMondai.
        const QString reason =
            QStringLiteral("faulty question data: the bank asks %1 questions; at most %2 can be drawn")
                .arg(count)
                .arg(banks::Catalogue::kMaxCount);
        banks::reportFaultyData(reason);
        endProgram(reason);
    }

    // Questions are shuffled in consecutive blocks of ten and never leave
    // their block, so the first ten of a bank are always asked first, and so
    // on. A short last block is shuffled among its own positions.
    for (int base = 0; base < count; base += 10) {
        const int n = std::min(10, count - base);
        int a[11];
        int p[11];
        for (int k = 1; k <= n; ++k)
            a[k] = k;
        // Draw p(k) from the k values still left, k = n down to 1. The
        // generator is reseeded from the clock before every draw; it keeps
        // part of its state, so draws within one clock tick still differ.
        for (int k = n; k >= 1; --k) {
            s_.random.reseed(s_.clock.secondsSinceMidnight());
            const int j = pickFrom(k, s_.random.next());
            p[k] = a[j];
            a[j] = a[k];
        }
        // Question base + k goes to position base + p(k), with its answer.
        for (int k = 1; k <= n; ++k) {
            const size_t from = size_t(base + k);
            const size_t to = size_t(base + p[k]);
            if (bank.mondai[from].isEmpty()) {
                const QString reason =
                    QStringLiteral("faulty question data: question %1 of the bank is empty "
                                   "(the bank asks %2 questions)")
                        .arg(from)
                        .arg(count);
                banks::reportFaultyData(reason);
                endProgram(reason);
            }
            bank.shuffledMondai[to] = bank.mondai[from];
            bank.shuffledKotae[to] = bank.kotae[from];
        }
    }
}
