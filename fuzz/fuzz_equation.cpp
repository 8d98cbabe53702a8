// The equation routines on any text: the slope-intercept parser, the
// splitting into terms and the general-form explanation, and the common
// divisor. Texts from the input must never break them; equations built from
// the input's numbers must come back with those numbers.
#include "FuzzForm.h"

#include "controls/Convert.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace {

fuzz::Counts counts("fuzz_equation", "equations checked");

QString text(FuzzedDataProvider &in, std::size_t maxLength)
{
    return QString::fromUtf8(in.ConsumeRandomLengthString(maxLength));
}

// "3x", "-x", "+5y", "" for 0.
QString term(int coef, const char *letter, bool first)
{
    if (coef == 0)
        return QString();
    QString s = coef == 1 ? QString() : coef == -1 ? QStringLiteral("-") : QString::number(coef);
    s += QLatin1String(letter);
    return !first && coef > 0 ? u'+' + s : s;
}

QString signedNumber(int n) { return n == 0 ? QString() : n > 0 ? u'+' + QString::number(n) : QString::number(n); }

// The terms are pieces of the text, in order, and nothing is lost unless
// the text has more terms than are kept.
void checkTerms(const Form1 &f)
{
    const QString &t = f.run.equationText;
    QString joined;
    int count = 0;
    for (int i = 1; i <= 5 && !f.eq.equationTerms[i].isEmpty(); ++i, ++count)
        joined += f.eq.equationTerms[i];
    FUZZ_CHECK(t.startsWith(joined));
    if (count < 5)
        FUZZ_CHECK(joined == t);
}

// y = p/q x + b, written as the banks write it, reads back as p, q and b.
void checkSlopeIntercept(Form1 &f, int p, int q, int b)
{
    QString coefficient = q == 1 ? (p == 1 ? QString() : p == -1 ? QStringLiteral("-") : QString::number(p))
                                 : QString::number(p) + u'/' + QString::number(q);
    f.eq.lineText = QStringLiteral("y=") + coefficient + u'x' + signedNumber(b);
    f.parseLineEquation();
    FUZZ_CHECK(f.eq.slopeNum == p && f.eq.slopeDen == q && f.eq.intercept == b);
    FUZZ_CHECK(f.eq.slopeNumText == QString::number(p) && f.eq.slopeDenText == QString::number(q));
}

// a x + b y + c = 0 (or b y + a x = -c): the explanation ends in the
// slope-intercept form, which reads back as the same line.
void checkStandardForm(Form1 &f, int a, int b, int c, bool constantRight)
{
    f.eq.standardEquation = constantRight
                                ? term(b, "y", true) + term(a, "x", false) + u'=' + QString::number(-c)
                                : term(a, "x", true) + term(b, "y", false) + signedNumber(c) + QStringLiteral("=0");
    f.explainStandardForm();
    checkTerms(f);
    QString last;
    for (int i = 1; i <= 4; ++i)
        if (!f.eq.explainLines[i].isEmpty())
            last = f.eq.explainLines[i];
    FUZZ_CHECK(last.startsWith(QStringLiteral("y=")));
    if (c % b != 0)
        return; // a fractional intercept after a whole slope is no shape the parser reads
    f.eq.lineText = last;
    f.parseLineEquation();
    FUZZ_CHECK(long(f.eq.slopeNum) * b == -long(a) * f.eq.slopeDen);
    FUZZ_CHECK(f.eq.intercept == -c / b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    // The routines read only the equation state, the run's equation text and
    // the prime table: one form serves every input once those are reset.
    fuzz::FuzzForm &ff = fuzz::shared();
    Form1 &f = ff.form ? *ff.form : ff.fresh();
    f.eq = EquationState();
    f.run = RunControl();
    f.fillPrimeTable();
    ++counts.inputs;

    // Numbers for the equations built here, taken from the end of the input.
    const int p = in.ConsumeIntegralInRange(-99, 99), q = in.ConsumeIntegralInRange(1, 99);
    const int b = in.ConsumeIntegralInRange(-99, 99);
    const int a = in.ConsumeIntegralInRange(-9, 9), by = in.ConsumeIntegralInRange(-9, 9);
    const int c = in.ConsumeIntegralInRange(-20, 20);
    const bool constantRight = in.ConsumeBool();
    const int16_t gcdA = in.ConsumeIntegral<int16_t>(), gcdB = in.ConsumeIntegral<int16_t>();

    // Any text through each routine.
    const QString line = text(in, 200);
    f.eq.lineText = line;
    f.parseLineEquation();
    f.run.equationText = line;
    f.splitTerms();
    checkTerms(f);
    f.eq.standardEquation = text(in, 200);
    f.explainStandardForm();
    checkTerms(f);
    f.eq.gcdArgA = gcdA;
    f.eq.gcdArgB = gcdB;
    f.findGcdLcm();
    // Both -32768: the common divisor 32768 itself has no 16-bit value.
    if (gcdA != 0 && gcdB != 0 && (gcdA != -32768 || gcdB != -32768))
        FUZZ_CHECK(f.eq.gcdValue >= 1 && gcdA % f.eq.gcdValue == 0 && gcdB % f.eq.gcdValue == 0);

    if (p != 0)
        checkSlopeIntercept(f, p, q, b);
    if (a != 0 && by != 0)
        checkStandardForm(f, a, by, c, constantRight);
    counts.checked += 3;
    return 0;
}
