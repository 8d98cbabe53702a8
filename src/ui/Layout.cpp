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

// The results chart: below the score panel, left of the clock and the close
// button, inside the client area with a margin, on a plain backdrop that
// hides what is left of the finished run.
constexpr int kChartTop = 1260;
constexpr int kChartRightGap = 120; // between the chart and the clock
constexpr int kChartMargin = 120;

} // namespace

QRect clientTwips(const Form1 &form) { return QRect(0, 0, form.ClientWidth, form.ClientHeight); }

namespace {

// The order is built back to front; each placement's z is its place in it.
struct Stack {
    explicit Stack(const Form1 &f) : form(f) {}
    const Form1 &form;
    const bool running = form.run.categoryActive == 1;
    const bool chart = form.Picture1.Visible;
    const bool answersMoved = form.Picture7.Visible
                              && (form.Label12.Visible || form.Picture4.Visible || form.Label13.Visible
                                  || form.Picture5.Visible);
    std::vector<Placement> out;

    void add(const QString &name, const QRect &r, bool windowOnly = false)
    {
        out.push_back({name, r, int(out.size()), windowOnly});
    }
    // A control where it was designed.
    template <class Control> void add(const Control &c) { add(c.Name, designed(c)); }

    void modeButtons()
    {
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
    }

    // The answers of a miss, moved over the locked answer box where the
    // explanation panel takes their designed place, on a plain panel that
    // hides the box's stale preview.
    void answers()
    {
        const QPoint shift = answersMoved ? QPoint(kAnswersShiftX, kAnswersShiftY) : QPoint();
        if (answersMoved) {
            const QRect group = designed(form.Label12).united(designed(form.Picture5)).translated(shift);
            add(QStringLiteral("answerPanel"), designed(form.Picture3).united(group), true);
        }
        for (const Label *l : {&form.Label14, &form.Label12})
            add(l->Name, designed(*l).translated(shift));
        add(form.Picture4.Name, designed(form.Picture4).translated(shift));
        add(form.Label13.Name, designed(form.Label13).translated(shift));
        // The learner's answer is set as the correct one above it is, a
        // fraction stacked: it needs the same height.
        QRect typed = designed(form.Picture5);
        typed.setHeight(std::max(typed.height(), designed(form.Picture4).height()));
        add(form.Picture5.Name, typed.translated(shift));
    }

    // The results chart below the score panel, left of the clock and the
    // close button, wholly inside the window.
    QRect chartRect() const
    {
        const QRect client = clientTwips(form);
        int right = std::min({designed(form.Label2).left(), designed(form.Command2).left(), client.right()});
        // The list of the run's misses stands beside it.
        if (form.Picture9.Visible)
            right = std::min(right, designed(form.Picture9).left());
        right -= kChartRightGap;
        return QRect(QPoint(kChartMargin, kChartTop), QPoint(right, client.bottom() - kChartMargin));
    }
};

} // namespace

std::vector<Placement> arrange(const Form1 &form)
{
    Stack s(form);
    // Back to front. Text6 holds nothing a learner reads (the right-answer
    // sound only empties it): it lies beneath every canvas.
    s.add(form.Text6);
    // While a set is running its mode is chosen; the mode buttons step
    // behind the figure and the score so that they hide neither.
    if (s.running)
        s.modeButtons();
    // The figure, the question, the streak and the small info boxes.
    for (const Canvas *c : {&form.Picture6, &form.Picture2, &form.Picture8})
        s.add(*c);
    for (const TextBox *t : {&form.Text1, &form.Text3, &form.Text4})
        s.add(*t);
    // The explanation panel covers the foot of the figure area; the answer
    // box and its typeset preview lie over it (the box keeps the focus and
    // takes the keys; the preview shows what they mean); the answers of a
    // miss in front of both: the correct answer and the learner's own are
    // what a miss is about.
    s.add(form.Picture7);
    s.add(form.Text2);
    s.add(form.Picture3);
    s.answers();
    // The buttons that answer and go on.
    s.add(form.Command5);
    s.add(form.Command3);
    // Before a run the mode buttons are the first thing to press; after one,
    // the chart takes their place.
    if (!s.running && s.chart)
        s.modeButtons();
    // The chart on a plain backdrop that hides the finished run; the score
    // panel and the clock stand above and beside it and show the run's
    // counts.
    if (s.chart)
        s.add(QStringLiteral("chartBackdrop"), clientTwips(form), true);
    s.add(form.Picture1.Name, s.chartRect());
    // The misses of the run beside its chart, with the button that asks them
    // again.
    s.add(form.Picture9);
    s.add(form.Command6);
    for (const Label *l : {&form.Label7, &form.Label3, &form.Label8, &form.Label4, &form.Label9, &form.Label5,
                           &form.Label10, &form.Label6, &form.Label2})
        s.add(*l);
    // 「やめる」 beside the clock while a run is on.
    s.add(form.Command7);
    if (!s.running && !s.chart)
        s.modeButtons();
    // The close button stands beside the chart, where it was designed; below
    // the list of misses when that is shown, beside its button.
    QRect close = designed(form.Command2);
    if (form.Picture9.Visible)
        close.moveTopLeft(QPoint(designed(form.Command6).right() + kChartRightGap, designed(form.Command6).top()));
    s.add(form.Command2.Name, close);
    return std::move(s.out);
}

} // namespace layout
