// One question after another, the clock of the two run modes, the end of a
// run with its chart, and the four buttons of the run.
#include "form/Form1.h"

#include "app/Results.h"
#include "controls/Convert.h"
#include "wrap/LineBreak.h"

#include <algorithm>
#include <cmath>

namespace {
// The results chart's text: stacked characters three units (106 twips)
// apart fit a 5.25 pt font; the numbers have room to be larger.
constexpr double kChartStackSize = 5.25;
constexpr double kChartScaleSize = 7;
constexpr double kChartScoreSize = 8;
const int32_t kChartGrid = conv::paletteColor(7);
// Past runs on the chart, before the bar of the run just ended.
constexpr int kChartRuns = 40;

} // namespace

const QString &Form1::currentQuestion() const
{
    static const QString none;
    const int i = bank.mondaiNo;
    return i >= 0 && i < int(bank.shuffledMondai.size()) ? bank.shuffledMondai[i] : none;
}

const QString &Form1::currentAnswer() const
{
    static const QString none;
    const int i = bank.mondaiNo;
    return i >= 0 && i < int(bank.shuffledKotae.size()) ? bank.shuffledKotae[i] : none;
}

void Form1::nextQuestion()
{
    Picture6.Cls();
    bank.mondaiNo = conv::add16(bank.mondaiNo, 1);
    Picture6.FontSize = 10;
    figure.circleKind = 0;
    figure.explainTriangleArea = 0;
    figure.explainQuadArea = 0;
    if (bank.mondaiNo == bank.mondaiCount + 1) {
        finishSet();
        return;
    }
    Text1.Text = QString::number(bank.mondaiNo);
    Text3.Text = currentQuestion();
    Text4.Text = run.dataFolder;
    typing.fracTail.clear();
    // A new question starts the plane afresh. The answer clicked for the
    // last question is dropped too: kept, it would count a typed answer to
    // this question as right whenever the two questions share an answer.
    graph.firstPointSet = 0;
    graph.pointsApart = 0;
    graph.mouseHeld = 0;
    graph.clickAnswer.clear();
    printQuestionText();
    typing.fractionMode = 0;
    presentQuestion();
    typing.letterTyped = 0;
    if (currentQuestion().contains(u'^')) {
        math.mathText = currentQuestion();
        drawMathCanvas();
    }
    if (Text2.Visible)
        setFocus(Text2);
    if (run.timerMinutes < 0 && run.timerSeconds < 0) {
        scoreState.score = conv::add16(scoreState.correctCount, -scoreState.missCount);
        Label5.Caption = QString::number(scoreState.score);
        Timer1.Enabled = false;
        Label2.Caption = QString::number(scoreState.score);
    }
}

void Form1::printQuestionText() { printQuestionText(currentQuestion()); }

void Form1::printQuestionText(const QString &question)
{
    // Fifteen characters a line; a long question breaks after its first
    // sentence and before "の時" where it has them. Each break then moves to
    // the nearest place where a Japanese line may end (never before "。" or
    // inside "(3,□)", "{   }", "y=2x" or "x=6"), and a line still longer than
    // fifteen characters is wrapped again.
    constexpr int W = 15;
    Picture2.Cls();
    QString s = question;
    const int hash = s.indexOf(u'#');
    if (hash >= 0)
        s.truncate(hash);
    const int n = int(s.size());
    if (n <= W) {
        Picture2.print(s);
        return;
    }
    // Where the lines end: after characters W, a, t + 1 or b (1-based).
    std::vector<int> ends{W};
    int a = s.indexOf(u'。') + 1;
    const int b = a > 0 ? s.indexOf(u'。', a) + 1 : 0;
    const int t = s.indexOf(QStringLiteral("の時")) + 1;
    if (a > W) {
        if (b != 0 && b < t)
            a = b;
        ends.push_back(a);
        if (t != 0) {
            ends.push_back(t + 1);
            s.chop(1); // the closing "。" is not printed
        } else if (b != 0) {
            ends.push_back(b);
        }
    }
    for (const QString &line : wrap::panelLines(s, ends, W))
        Picture2.print(line);
}

void Form1::Timer1_Timer()
{
    if (Text2.Visible)
        setFocus(Text2);
    // The run is timed on the monotonic clock: the wall clock passes midnight
    // (seconds since midnight start again at 0) and may be stepped by a time
    // server, and neither may stop a run or stretch it.
    const double elapsed = std::max(0.0, s_.clock.monotonicSeconds() - run.startMonotonic);
    // A review counts up, as a ten-in-a-row run does: it ends with its questions.
    const bool countDown = scoreState.tenInARowMode == 0 && review.reviewMode == 0;
    run.timerValue = countDown ? float(std::clamp(double(run.timeLimit) - elapsed, 0.0, double(run.timeLimit)))
                               : float(elapsed);
    const double w = std::floor(double(run.timerValue));
    run.timerMinutes = conv::toInt16(std::trunc(w / 60.0));
    run.timerSeconds = conv::toInt16(std::fmod(w, 60.0));
    Label2.Caption = QString::number(run.timerMinutes) + u':' + QString::number(run.timerSeconds);
    Label5.Caption = QString::number(scoreState.score);
    // The run ends once less than a second is left. A clock that jumped
    // past the end by a minute or more ends it too, instead of counting on.
    if (countDown && run.timerSeconds <= 0 && run.timerMinutes <= 0) {
        Timer1.Enabled = false;
        Text2.Text = QStringLiteral("終り");
        endRun();
    }
}

void Form1::finishSet()
{
    Picture2.Cls();
    if (review.reviewMode == 1) {
        Picture2.print(QStringLiteral("復習おわり。"));
        Picture2.print(QStringLiteral("%1 問中 %2 問正解").arg(bank.mondaiCount).arg(scoreState.correctCount));
    } else {
        Picture2.print(QStringLiteral("問題はもうありません。"));
        Picture2.print(QStringLiteral("あんたの勝ち!!"));
    }
    endRun();
    Timer1.Enabled = false;
}

void Form1::endRun()
{
    run.categoryActive = 0;
    Picture1.Visible = true;
    Picture6.Visible = false;
    Picture3.Visible = false;
    Picture4.Visible = false;
    Picture5.Visible = false;
    Command7.Visible = false;
    const bool reviewed = review.reviewMode == 1;
    // A review is kept in the learner's record only: the family charts and
    // the draw order of the sets stay as the sets left them.
    resultsNotice_.clear();
    if (reviewed) {
        drawReviewChart();
    } else {
        drawResultsChart();
        writeResults();
    }
    recordRun();
    Command2.Visible = true;
    if (reviewed) {
        s_.dialogs.message(QStringLiteral("復習おつかれさま。%1 問中 %2 問正解でした。")
                               .arg(bank.mondaiCount)
                               .arg(scoreState.correctCount),
                           QStringLiteral("復習"));
        finishReview();
    } else {
        s_.dialogs.message(QStringLiteral("おつかれさまでした。伸びていこう、少しでいいから。消すをおして終わろう"),
                           QStringLiteral("終わる？"));
    }
    if (!resultsNotice_.isEmpty())
        s_.dialogs.message(resultsNotice_, QStringLiteral("記録"));
    refreshDue();
    showMissesPanel();
}

void Form1::drawResultsChart()
{
    // The newest runs the chart has room for, oldest on the left, then this
    // run. The history holds the newest records last; a run that scored 0 is
    // a bar of height 0 and the history goes on past it.
    std::vector<ChartBar> past;
    const int count = std::clamp<int>(history.historyCount, 0, int(history.historyScore.size()) - 1);
    for (int r = std::max(1, count - kChartRuns + 1); r <= count; ++r)
        past.push_back({history.historyScore[r], {}, history.historyDate[r], history.historySet[r]});
    drawChart(past, {scoreState.score, {}, results::yymmdd(s_.clock.dateText()),
                     run.resultsFileName.chopped(std::min<qsizetype>(4, run.resultsFileName.size()))});
}

void Form1::drawChart(const std::vector<ChartBar> &past, const ChartBar &current)
{
    // Each chart is drawn afresh: a second run in one session would
    // otherwise draw over the first, in the colour the first left.
    Canvas &c = Picture1;
    c.Cls();
    c.ForeColor = 0;
    c.setScale(0, 200, 100, 0);
    // The grid in light grey, so that it guides the eye without striking
    // through the numbers; the axes in black.
    for (int v = 200; v >= 10; v -= 10)
        c.line(0, v + 30, 100, v + 30, kChartGrid);
    c.line(15, 200, 15, 40);
    c.FontSize = kChartScaleSize;
    for (int k = 1; k <= 13; ++k) {
        c.line(14, 10 * k + 40, 16, 10 * k + 40);
        c.CurrentX = 5;
        c.CurrentY = 10 * k + 42;
        c.printNumber(10 * k);
    }
    c.line(15, 40, 300, 40);

    // One bar a run: its score above it, its date and set name below the axis.
    auto label = [&c](int i, int height, const QString &text, const QString &date, const QString &set) {
        // The score stands above its bar, larger than the stacked date and
        // name below the axis, which have three units a character.
        c.FontSize = kChartScoreSize;
        c.CurrentX = 5 * i + 11;
        c.CurrentY = height + 45;
        if (text.isEmpty())
            c.printNumber(height);
        else
            c.print(u' ' + text + u' ');
        c.FontSize = kChartStackSize;

        const double ys[3] = {39, 36, 33};
        for (int part = 0; part < 3; ++part) {
            c.CurrentX = 5 * i + 13;
            c.CurrentY = ys[part];
            c.print(date.mid(2 * part, 2));
        }
        // However long a name a results file holds, the chart shows no more
        // of it than fits below the axis.
        const int shown = std::min<int>(int(set.size()), results::kChartSetChars);
        for (int k = 1; k <= shown; ++k) {
            c.CurrentX = 5 * i + 13;
            c.CurrentY = 33 - 3 * k;
            c.print(set.mid(k - 1, 1));
        }
    };
    int i = 1;
    for (std::size_t k = std::max<std::size_t>(past.size(), kChartRuns) - kChartRuns; k < past.size(); ++k, ++i) {
        const ChartBar &b = past[k];
        c.box(5 * i + 13, b.height + 40, 5 * i + 17, 40, false);
        label(i, b.height, b.label, b.date, b.set);
    }
    c.ForeColor = conv::paletteColor(3);
    c.box(5 * i + 13, current.height + 40, 5 * i + 17, 40, true);
    label(i, current.height, current.label, current.date, current.set);
}

bool Form1::buttonClick(const QString &name)
{
    if (name == u"Command1")
        Command1_Click();
    else if (name == u"Command2")
        Command2_Click();
    else if (name == u"Command3")
        Command3_Click();
    else if (name == u"Command4")
        Command4_Click();
    else if (name == u"Command5")
        Command5_Click();
    else if (name == u"Command6")
        Command6_Click();
    else if (name == u"Command7")
        Command7_Click();
    else
        return false;
    return true;
}

void Form1::Command1_Click()
{
    Command1.Visible = false;
    Command4.Visible = false;
    Picture8.Visible = false;
}

void Form1::Command4_Click()
{
    Command1.Visible = false;
    Command4.Visible = false;
    scoreState.tenInARowMode = -1;
}

void Form1::Command2_Click() { closeWindow(); }

void Form1::Command3_Click()
{
    graph.keyboardAnswerMode = 0;
    scoreState.answerLocked = 0;
    scoreState.missCount = 0;
    Picture7.Cls();
    Picture3.Cls();
    typing.typedExpr.clear();
    // Keys pressed while the box was locked stay behind with the miss.
    Text2.Text.clear();
    typing.previewSign = typing.fracPrefix;
    typing.previewLower = typing.fracLower;
    typing.previewUpper = typing.fracUpper;
    Command3.Visible = false;
    Label12.Visible = false;
    Label13.Visible = false;
    Picture4.Visible = false;
    Picture7.Visible = false;
    Picture5.Visible = false;
    nextQuestion();
}
