// Choosing a problem set from the menu: the menu is locked for the run, the
// run is reset, the bank filled and ordered, the results history read, and
// the first question shown.
#include "form/Form1.h"
#include "app/SetTable.h"

#include <algorithm>

bool Form1::menuClick(const QString &item)
{
    if (item == u"matigai") {
        const MenuItem *m = menuItem(item);
        if (m->Enabled && run.categoryActive == 0)
            startReview(record::reviewOrder(schedule_.progress(s_.clock.today()).due));
        return true;
    }
    if (settingsClick(item))
        return true;
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
    beforeActivation(set);
    if (run.categoryActive == 1)
        return; // a run is on: the menu does nothing more
    if (set.activation == Activation::StandardApplication)
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
    fillSetBank(set);
    bank.mondaiNo = 1;
    shuffleMondai();
    if (set.activation == Activation::ApplicationOrdered)
        useBankOrder();
    if (set.activation != Activation::Application)
        showFirstQuestionText();
    run.resultsFileName = set.resultsFileName;
    run.setItem = set.item;
    readResults();
    showFirstQuestion(set);
}

void Form1::beforeActivation(const SetInfo &set)
{
    // What these items do even when the click is then ignored.
    switch (set.activation) {
    case Activation::PointOnLine:
        clearGraphInputFlags();
        break;
    case Activation::ApplicationOrdered:
    case Activation::Application:
        run.longTimeMode = 1;
        run.applicationSetFlag = 1;
        break;
    case Activation::PointOnLineApplication:
        clearGraphInputFlags();
        run.applicationSetFlag = 1;
        break;
    default:
        break;
    }
}

void Form1::showFirstQuestionText()
{
    // The first question is printed here; one holding "/" is kept for the
    // line-equation parser instead. It is printed as every later question
    // is, without its figure data and wrapped to the panel: printed raw, it
    // ran past the panel's edge with "#3,4,3,1" on it.
    const QString first = bank.shuffledMondai[1];
    Picture2.Cls();
    if (first.contains(u'/'))
        run.equationText = first;
    else
        printQuestionText(first);
}

void Form1::showFirstQuestion(const SetInfo &set)
{
    switch (set.activation) {
    case Activation::PointOnLine:
        graph.keyboardAnswerMode = 1;
        presentQuestion();
        break;
    case Activation::PointOnLineApplication:
        graph.keyboardAnswerMode = 1;
        bank.mondaiNo = 0;
        nextQuestion();
        break;
    case Activation::ApplicationOrdered:
        bank.mondaiNo = 0;
        nextQuestion();
        break;
    case Activation::Application:
        // Started through the question cycle, then presented once more.
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
    run.startMonotonic = s_.clock.monotonicSeconds();
    Timer1.Interval = 300;
    Timer1.Enabled = true;
    // Each run stands alone: its counters, its score and the record it saves
    // start at zero. The streak read at start-up goes on into the first run
    // only; a later run starts its streak afresh.
    scoreState.correctCount = 0;
    scoreState.missCount = 0;
    scoreState.score = 0;
    Label3.Caption = QStringLiteral("0");
    Label4.Caption = QStringLiteral("0");
    Label5.Caption = QStringLiteral("0");
    if (run.runCount > 0) {
        scoreState.streak = 0;
        Picture8.Cls();
    }
    run.runCount = int16_t(std::min(run.runCount + 1, 32767));
    // This run's misses, listed after it; 「やめる」 beside the clock while it
    // runs; no review can start meanwhile.
    review.runMisses = 0;
    for (StrArray *a : {&review.missedQuestion, &review.missedAnswer, &review.missedTyped, &review.missedSet})
        a->assign(1, QString());
    review.missedNumber.assign(1, 0);
    Picture9.Visible = false;
    Command6.Visible = false;
    Command7.Visible = true;
    menuItem(QStringLiteral("matigai"))->Enabled = false;
    // A set that ended on its last question leaves the typing state as that
    // question had it; the new set starts with an empty answer.
    typing.clearEntry();
    // A run that ended while a miss was shown left the box locked and the
    // miss on the screen: the next run would take no key and begin with
    // 「確認したよ！」, which skipped its first question.
    scoreState.answerLocked = 0;
    for (bool *shown : {&Command3.Visible, &Label12.Visible, &Label13.Visible, &Picture4.Visible, &Picture5.Visible,
                        &Picture7.Visible})
        *shown = false;
    for (int i = 1; i <= 100; ++i) {
        bank.mondai[i].clear();
        bank.kotae[i].clear();
        bank.shuffledMondai[i].clear();
        bank.shuffledKotae[i].clear();
    }
}
