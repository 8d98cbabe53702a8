#include "ui/Layout.h"

#include <algorithm>

namespace layout {

namespace {

QRect designed(const ControlLook &l) { return QRect(l.Left, l.Top, l.Width, l.Height); }
QRect designed(const Canvas &c) { return QRect(c.Left, c.Top, c.Width, c.Height); }

// The answers of a miss and the explanation panel are designed on one spot.
// When both are shown, the answers move over the locked answer box on the
// right, where the learner typed: the explanation keeps its place under the
// figure it explains, and neither covers the other.
constexpr int kAnswersShiftX = 4920;
constexpr int kAnswersShiftY = -360;

// Before a run the mode buttons stand below the start-up help instead of
// across its middle lines and over the score panel.
constexpr int kIdleModeButtonTop = 2760;

// The chart starts below the score panel; its top is empty (scores of 160
// and more) and what it shows is drawn into the box the window gives it.
constexpr int kChartTop = 1260;

// Beside the results chart, not over its last bars.
constexpr int kCloseBesideChartLeft = 9360;

} // namespace

QRect clientTwips(const Form1 &form) { return QRect(0, 0, form.ClientWidth, form.ClientHeight); }

std::vector<Placement> arrange(const Form1 &form)
{
    const bool running = form.run.categoryActive == 1;
    const bool chart = form.Picture1.Visible;
    const bool answersShown = form.Label12.Visible || form.Picture4.Visible || form.Label13.Visible
                              || form.Picture5.Visible;
    const bool answersMoved = form.Picture7.Visible && answersShown;
    const QRect client = clientTwips(form);

    std::vector<Placement> out;
    auto add = [&](const QString &name, QRect r, bool windowOnly = false) {
        out.push_back({name, r, int(out.size()), windowOnly});
    };
    auto addLook = [&](const ControlLook &l, const QString &name) { add(name, designed(l)); };
    auto addAnswer = [&](const QRect &r, const QString &name) {
        add(name, answersMoved ? r.translated(kAnswersShiftX, kAnswersShiftY) : r);
    };
    auto addModeButtons = [&] {
        QRect five = designed(form.Command1);
        QRect ten = designed(form.Command4);
        if (!running) {
            // Side by side below the help, clear of the score panel.
            five.moveTop(kIdleModeButtonTop);
            ten.moveTop(kIdleModeButtonTop);
        } else {
            ten.moveTo(five.topLeft()); // wholly behind the figure too
        }
        add(form.Command1.Name, five);
        add(form.Command4.Name, ten);
    };

    // Back to front. Text6 holds nothing a learner reads (the right-answer
    // sound only empties it): it lies beneath every canvas.
    addLook(form.Text6, form.Text6.Name);
    // While a set is running its mode is chosen; the mode buttons step
    // behind the figure and the score so that they hide neither.
    if (running)
        addModeButtons();
    // The figure, the question, the streak and the small info boxes.
    add(form.Picture6.Name, designed(form.Picture6));
    add(form.Picture2.Name, designed(form.Picture2));
    add(form.Picture8.Name, designed(form.Picture8));
    for (const TextBox *t : {&form.Text1, &form.Text3, &form.Text4})
        addLook(*t, t->Name);
    // The explanation panel covers the foot of the figure area ...
    add(form.Picture7.Name, designed(form.Picture7));
    // ... the answer box and its typeset preview over it (the box keeps the
    // focus and takes the keys; the preview shows what they mean) ...
    addLook(form.Text2, form.Text2.Name);
    add(form.Picture3.Name, designed(form.Picture3));
    // ... and the answers of a miss in front of both: the correct answer and
    // the learner's own are what a miss is about. Moved over the locked
    // answer box, they stand on a plain panel that hides its stale preview.
    if (answersMoved) {
        const QRect box = designed(form.Picture3);
        const QRect group = designed(form.Label12).united(designed(form.Picture5))
                                .translated(kAnswersShiftX, kAnswersShiftY);
        add(QStringLiteral("answerPanel"), box.united(group), true);
    }
    addAnswer(designed(form.Label14), form.Label14.Name);
    addAnswer(designed(form.Label12), form.Label12.Name);
    addAnswer(designed(form.Picture4), form.Picture4.Name);
    addAnswer(designed(form.Label13), form.Label13.Name);
    addAnswer(designed(form.Picture5), form.Picture5.Name);
    // The buttons that answer and go on.
    addLook(form.Command5, form.Command5.Name);
    addLook(form.Command3, form.Command3.Name);
    // Before a run the mode buttons are the first thing to press; after one,
    // the chart takes their place.
    if (!running && chart)
        addModeButtons();
    // The results chart covers the finished run below the score panel
    // (whose final counts stay in view) and inside the window ...
    QRect chartRect = designed(form.Picture1).intersected(client);
    chartRect.setTop(std::max(chartRect.top(), kChartTop));
    add(form.Picture1.Name, chartRect);
    // ... under the score panel and the clock, which stand above its empty
    // top and show the run's final counts.
    for (const Label *l : {&form.Label7, &form.Label3, &form.Label8, &form.Label4, &form.Label9, &form.Label5,
                           &form.Label10, &form.Label6, &form.Label2})
        addLook(*l, l->Name);
    if (!running && !chart)
        addModeButtons();
    // The close button stands beside the chart, not over its bars.
    QRect close = designed(form.Command2);
    if (chart)
        close.moveLeft(kCloseBesideChartLeft);
    add(form.Command2.Name, close);
    return out;
}

} // namespace layout
