// After a run: the list of its misses beside the chart, each with the correct
// answer and the learner's, set as the answer panels set them, and the button
// that asks them again at once. And 「やめる」, which ends a run without a
// record and brings back the start screen.
#include "form/Form1.h"

#include "answer/AnswerForm.h"
#include "app/Results.h"
#include "controls/Convert.h"
#include "record/LearnerRecord.h"

#include <algorithm>

namespace {

// Rows of the list, each a question and its two answers; as many as fit the
// panel are shown, the rest are counted below them.
constexpr int kListTop = 520;
constexpr int kRowHeight = 1000;
constexpr int kTitleSize = 14, kQuestionSize = 11, kAnswerSize = 14;

// A question's text without its figure data, cut to what a row shows.
QString rowText(const QString &question)
{
    QString s = question.section(u'#', 0, 0);
    if (s.size() > 22)
        s = s.left(21) + u'…';
    return s;
}

} // namespace

void Form1::keepMiss(const QString &answered)
{
    const int n = std::min<int>(review.runMisses + 1, 200);
    review.runMisses = int16_t(n);
    const auto keep = [n](StrArray &a, const QString &v) {
        a.resize(std::max<std::size_t>(a.size(), std::size_t(n) + 1));
        a[std::size_t(n)] = v;
    };
    keep(review.missedQuestion, currentQuestion());
    keep(review.missedAnswer, expectedAnswer());
    keep(review.missedTyped, answered);
    keep(review.missedSet, currentSetItem());
    review.missedNumber.resize(std::max<std::size_t>(review.missedNumber.size(), std::size_t(n) + 1));
    review.missedNumber[std::size_t(n)] = int16_t(currentBankNumber());
}

void Form1::showMissesPanel()
{
    Canvas &c = Picture9;
    c.Cls();
    const int n = review.runMisses;
    c.Visible = n > 0;
    Command6.Visible = n > 0;
    if (n == 0)
        return;
    c.ForeColor = 0;
    c.FontSize = kTitleSize;
    c.CurrentX = 120;
    c.CurrentY = 60;
    c.print(QStringLiteral("この回にまちがえた問題"));
    // One row a miss: the question, then the correct answer and the
    // learner's, each set as the answer panels set it.
    const auto setAnswer = [this, &c](const QString &text, int left, int top) {
        const answerform::Pieces p = answerform::piecesOf(text);
        c.FontSize = kAnswerSize;
        if (text.contains(u'^')) {
            c.CurrentX = left;
            c.CurrentY = top + 200;
            math.mathText = text;
            math.mathSameLine = 1;
            drawMath(c, kAnswerSize, kAnswerSize * 0.5, true);
        } else if (p.fraction) {
            // The fraction routine draws from the box's corner: the scale is
            // moved so that its corner stands at the row's place.
            c.setScale(-left, -top, c.Width - left, c.Height - top);
            drawAnswerPieces(c, p.prefix, p.upper, p.lower, p.tail);
            c.resetScale();
        } else {
            c.CurrentX = left;
            c.CurrentY = top + 200;
            c.print(text);
        }
    };
    const int rows = std::max(1, (c.Height - kListTop - 300) / kRowHeight);
    int top = kListTop;
    // A small heading in its colour, then the answer set after it.
    const auto titled = [&](const QString &title, int32_t color, int left, const QString &answer, int top) {
        c.FontSize = kQuestionSize;
        c.CurrentX = left;
        c.CurrentY = top + 420;
        c.ForeColor = color;
        c.print(title);
        c.ForeColor = 0;
        setAnswer(answer, left + 560 + (title.size() - 2) * 160, top + 200);
    };
    for (int i = 1; i <= std::min(n, rows); ++i, top += kRowHeight) {
        c.ForeColor = 0;
        c.FontSize = kQuestionSize;
        c.CurrentX = 120;
        c.CurrentY = top;
        c.print(QString::number(i) + QStringLiteral(". ") + rowText(review.missedQuestion[i]));
        titled(QStringLiteral("正解"), conv::rgb(0, 0, 192), 240, review.missedAnswer[i], top);
        titled(QStringLiteral("あなた"), conv::rgb(192, 0, 0), 2640, review.missedTyped[i], top);
    }
    if (n > rows) {
        c.FontSize = kQuestionSize;
        c.CurrentX = 120;
        c.CurrentY = top;
        c.print(QStringLiteral("ほかに %1 問").arg(n - rows));
    }
}

void Form1::Command6_Click()
{
    // This run's misses again, at once, in a review run.
    std::vector<record::Question> questions;
    for (int i = 1; i <= review.runMisses && i < int(review.missedSet.size()); ++i) {
        const record::Question q{review.missedSet[i], review.missedNumber[i]};
        if (q.number >= 1 && std::find(questions.begin(), questions.end(), q) == questions.end())
            questions.push_back(q);
    }
    startReview(questions);
}

void Form1::drawReviewChart()
{
    // The learner's reviews: each bar as high as the share right (in
    // hundredths), with how many of how many above it.
    std::vector<ChartBar> past;
    for (const record::Event &e : reviewRuns_) {
        const int asked = e.right + e.misses;
        past.push_back({asked > 0 ? 100 * e.right / asked : 0, u"%1/%2"_qs.arg(e.right).arg(asked), e.when.toString(u"yyMMdd"_qs),
                        QStringLiteral("復習")});
    }
    const int asked = bank.mondaiCount;
    drawChart(past, {asked > 0 ? 100 * scoreState.correctCount / asked : 0,
                     u"%1/%2"_qs.arg(scoreState.correctCount).arg(asked),
                     results::yymmdd(s_.clock.dateText()), QStringLiteral("復習")});
}

void Form1::Command7_Click()
{
    if (run.categoryActive != 1)
        return;
    if (s_.dialogs.ask(QStringLiteral("この回をやめますか？"), QStringLiteral("やめる")))
        stopRun();
}

void Form1::stopRun()
{
    // As closing the window would: the run leaves no record in the family
    // file; what was answered stays in the learner's own record.
    Timer1.Enabled = false;
    run.categoryActive = 0;
    flushRecord();
    if (review.reviewMode == 1)
        finishReview();
    showStartScreen();
    refreshDue();
}

void Form1::showStartScreen()
{
    typing.clearEntry();
    Text2.Text.clear();
    scoreState.answerLocked = 0;
    graph.keyboardAnswerMode = 0;
    for (Canvas *c : {&Picture2, &Picture3, &Picture4, &Picture5, &Picture7, &Picture8, &Picture9, &Picture1})
        c->Cls();
    Text1.Text = QStringLiteral("Text1");
    Text3.Text = QStringLiteral("Text3");
    for (bool *shown : {&Picture1.Visible, &Picture4.Visible, &Picture5.Visible, &Picture7.Visible,
                        &Picture9.Visible, &Command2.Visible, &Command3.Visible, &Command5.Visible,
                        &Command6.Visible, &Command7.Visible, &Label12.Visible, &Label13.Visible})
        *shown = false;
    Picture6.Visible = true;
    Text2.Visible = true;
    Picture3.Visible = true;
    Command1.Visible = true;
    Command4.Visible = true;
    Picture8.Visible = true;
    for (Label *l : {&Label3, &Label4, &Label5})
        l->Caption.clear();
    Label2.Caption = QStringLiteral("Label2");
    printStartHelp();
    setFocus(Text2);
}
