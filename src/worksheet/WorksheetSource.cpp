#include "worksheet/WorksheetSource.h"

#include "form/Form1.h"
#include "app/SetTable.h"
#include "controls/BasicRandom.h"
#include "controls/DrawKit.h"
#include "controls/QuietServices.h"
#include "graph/Points.h"

#include <QCoreApplication>
#include <QDir>

#include <QTemporaryDir>

#include <memory>

namespace worksheet {

namespace {

// A form with stand-ins for the outside world: a clock that stands still
// (the same sheet every time), silent sounds and dialogs, and a scratch
// folder for the results file an activation reads and creates, so that
// making a sheet leaves no record anywhere real.
struct QuietForm {
    explicit QuietForm(const TextMetrics &metrics, const QString &root)
        : random(seededFrom(clock)),
          form(FormServices{clock, random, dialogs, sound1, sound2, metrics, scratchPaths(root), true})
    {
    }
    static BasicRandom seededFrom(const Clock &clock)
    {
        BasicRandom r;
        r.reseed(clock.secondsSinceMidnight());
        return r;
    }
    // Results and streak files of the scratch folder; the program's own
    // folder is where the program lies, for the roster.
    static Paths scratchPaths(const QString &root)
    {
        const QDir dir(root);
        const QString cwd = dir.filePath(QStringLiteral("cwd"));
        QDir().mkpath(cwd);
        return Paths{cwd, QCoreApplication::applicationDirPath(), dir.filePath(QStringLiteral("compname.txt")),
                     dir.filePath(QStringLiteral("roster.ini"))};
    }
    StillClock clock{9 * 3600, QDate(2026, 12, 8)};
    BasicRandom random;
    UnshownDialogs dialogs;
    SilentSound sound1, sound2;
    Form1 form;
};

QString titleOf(Form1 &form, const QString &item)
{
    const MenuItem *m = form.menuItem(item);
    if (!m)
        return item;
    const MenuItem *parent = m->Parent.isEmpty() ? nullptr : form.menuItem(m->Parent);
    return parent ? parent->Caption + u' ' + m->Caption : m->Caption;
}

void requireSet(Form1 &form, const QString &item)
{
    if (findSet(item))
        return;
    if (form.menuItem(item) && !form.menuItem(item)->Parent.isEmpty())
        throw SheetError{QStringLiteral("「%1」 (%2) has no questions").arg(form.menuItem(item)->Caption, item)};
    throw SheetError{QStringLiteral("unknown item \"%1\"\nvalid items: %2").arg(item, sheetItems().join(u", "))};
}

// The answer of a question answered on the plane, drawn on its plane in red:
// the points marked, or the graph of the equation. What the drawing changes
// of the form's figure and equation values is put back, so the questions
// after it start as they would in a run.
void drawAnswer(Form1 &form, const QString &answer)
{
    const FigureValues figure = form.figure;
    const EquationState eq = form.eq;
    Canvas &c = form.Picture6;
    const int32_t fore = c.ForeColor;
    const int width = c.DrawWidth;
    const std::vector<points::Point> marked = answer.contains(u'x') ? std::vector<points::Point>{} : points::pointsIn(answer);
    if (!marked.empty()) {
        for (const points::Point &p : marked)
            kit::filledCircle(c, p.x, p.y, 0.25, kit::kRed);
    } else {
        c.ForeColor = kit::kRed;
        c.DrawWidth = 2;
        form.eq.graphEquation = answer;
        form.drawEquationGraph();
    }
    c.ForeColor = fore;
    c.DrawWidth = width;
    form.figure = figure;
    form.eq = eq;
}

// Starts the question at position n as the question cycle does: the
// drawing area cleared, its font size reset, the presenter run.
Entry startQuestion(Form1 &form, int n)
{
    form.bank.mondaiNo = int16_t(n - 1);
    form.nextQuestion();
    Entry e;
    e.number = n;
    e.question = questionText(form.currentQuestion());
    e.answer = form.currentAnswer();
    e.expected = form.expectedAnswer();
    if (e.expected.isEmpty())
        e.expected = e.answer;
    e.figure = form.Picture6;
    e.drawn = form.Command5.Visible && !form.Text2.Visible;
    if (e.drawn) {
        drawAnswer(form, e.answer);
        e.keyFigure = form.Picture6;
    }
    return e;
}

} // namespace

QString questionText(const QString &stored)
{
    const qsizetype hash = stored.indexOf(u'#');
    return hash < 0 ? stored : stored.left(hash);
}

QStringList sheetItems()
{
    QStringList names;
    for (const SetInfo &s : setTable())
        names << s.item;
    return names;
}

Sheet collectSheet(const QString &item, Order order, const TextMetrics &metrics, std::optional<uint32_t> variant)
{
    QTemporaryDir scratch;
    if (!scratch.isValid())
        throw SheetError{QStringLiteral("cannot make a scratch folder: %1").arg(scratch.errorString()), 1};
    const auto quiet = std::make_unique<QuietForm>(metrics, scratch.path());
    Form1 &form = quiet->form;
    requireSet(form, item);

    Sheet sheet;
    sheet.item = item;
    sheet.title = titleOf(form, item);
    try {
        form.Form_Load();
        form.givenVariantSeed = variant;
        form.menuClick(item);
        sheet.variantSeed = form.run.variantSeed;
        const int count = form.bank.mondaiCount;
        if (count <= 0)
            throw SheetError{QStringLiteral("「%1」 (%2) has no questions").arg(sheet.title, item)};
        if (order == Order::Bank)
            form.useBankOrder();
        for (int n = 1; n <= count; ++n)
            sheet.entries.push_back(startQuestion(form, n));
    } catch (const ProgramEnd &end) {
        throw SheetError{QStringLiteral("%1: faulty question data: %2").arg(item, end.reason), 1};
    }
    return sheet;
}

} // namespace worksheet
