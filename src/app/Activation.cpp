// Choosing a problem set from the menu: the menu is locked for the run, the
// run is reset, the bank filled and ordered, the results history read, and
// the first question shown.
#include "form/Form1.h"
#include "app/SetTable.h"

bool Form1::menuClick(const QString &item)
{
    if (item == u"taiseki") {
        // The volume item ends the program at once: no dialog, nothing saved.
        endProgram(QString());
    }
    const SetInfo *set = findSet(item);
    if (!set)
        return false; // the top-level menus and the items without a set
    activateSet(*set);
    return true;
}

void Form1::clearGraphInputFlags()
{
    graph.firstPointSet = 0;
    graph.pointsApart = 0;
}

void Form1::activateSet(const SetInfo &set)
{
    using A = Activation;
    // What these items do even when the click is then ignored.
    switch (set.activation) {
    case A::PointOnLine:
        clearGraphInputFlags();
        break;
    case A::ApplicationOrdered:
    case A::Application:
        run.longTimeMode = 1;
        run.applicationSetFlag = 1;
        break;
    case A::PointOnLineApplication:
        clearGraphInputFlags();
        run.applicationSetFlag = 1;
        break;
    default:
        break;
    }

    if (run.categoryActive == 1)
        return;
    if (set.activation == A::StandardApplication)
        run.applicationSetFlag = 1;
    MenuItem *m = menuItem(set.item);
    m->Checked = !m->Checked;
    run.categoryActive = 1;
    // After a finished run the chart gives way to the plane again: left
    // over it, the new set's figures would be drawn on a hidden box and its
    // drawing questions could not be answered at all.
    Picture1.Visible = false;
    Command2.Visible = false;
    Picture6.Visible = true;
    resetSet();
    runBankRoutine(set.bankRoutine);
    bank.mondaiNo = 1;
    shuffleMondai();
    if (set.activation == A::ApplicationOrdered)
        useBankOrder();

    if (set.activation != A::Application) {
        // The first question is printed here; one holding "/" is kept for
        // the line-equation parser instead. It is printed as every later
        // question is, without its figure data and wrapped to the panel:
        // printed raw, it ran past the panel's edge with "#3,4,3,1" on it.
        const QString first = bank.shuffledMondai[1];
        Picture2.Cls();
        if (first.contains(u'/'))
            run.equationText = first;
        else
            printQuestionText(first);
    }

    run.resultsFileName = set.resultsFileName;
    readResults();

    switch (set.activation) {
    case A::PointOnLine:
        graph.keyboardAnswerMode = 1;
        presentQuestion();
        break;
    case A::PointOnLineApplication:
        graph.keyboardAnswerMode = 1;
        bank.mondaiNo = 0;
        nextQuestion();
        break;
    case A::ApplicationOrdered:
        bank.mondaiNo = 0;
        nextQuestion();
        break;
    case A::Application:
        Picture6.Cls();
        bank.mondaiNo = 0;
        nextQuestion();
        presentQuestion();
        break;
    default:
        presentQuestion();
        break;
    }
}

void Form1::resetSet()
{
    Picture6.Cls();
    Picture6.FontSize = 10;
    clearGraphInputFlags();
    run.startTime = float(s_.clock.secondsSinceMidnight());
    run.timeLimit = run.longTimeMode == 1 ? 600 : 300;
    run.timerValue = 0;
    // The last run may have ended on a clock far past its end (both parts
    // negative); nextQuestion would read that as this run's time being up.
    run.timerMinutes = 0;
    run.timerSeconds = 0;
    run.endTime = run.startTime + float(run.timeLimit);
    Timer1.Interval = 300;
    Timer1.Enabled = true;
    // A set that ended on its last question leaves the typing state as that
    // question had it; the new set starts with an empty answer.
    typing.fractionMode = 0;
    typing.letterTyped = 0;
    typing.typedExpr.clear();
    typing.fracPrefix.clear();
    typing.fracLower.clear();
    typing.fracUpper.clear();
    typing.fracTail.clear();
    for (int i = 1; i <= 100; ++i) {
        bank.mondai[i].clear();
        bank.kotae[i].clear();
        bank.shuffledMondai[i].clear();
        bank.shuffledKotae[i].clear();
    }
}
