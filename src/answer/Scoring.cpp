// The counters both judges keep, typed and drawn answers alike: right
// answers, misses, the score and the streak on its yellow panel, and the end
// of a ten-in-a-row run.
#include "form/Form1.h"

#include "controls/Convert.h"

void Form1::countRightAnswer()
{
    playCorrectSound();
    Picture4.Visible = false;
    Picture5.Visible = false;
    Label12.Visible = false;
    Label13.Visible = false;
    Text2.Text.clear();
    Picture3.Cls();
    scoreState.correctCount = conv::add16(scoreState.correctCount, 1);
    Label3.Caption = QString::number(scoreState.correctCount);
    scoreState.score = conv::add16(scoreState.correctCount, -scoreState.missCount);
    Label5.Caption = QString::number(scoreState.score);
    // The streak grows only with answers right the first time.
    if (scoreState.missCount == 0)
        showStreak(conv::add16(scoreState.streak, 1));
    scoreState.missCount = 0;
    // A review ends with its own questions, not with a streak of ten.
    if (scoreState.streak >= 10 && scoreState.tenInARowMode != 0 && review.reviewMode == 0) {
        s_.dialogs.message(QStringLiteral("おつかれさまでした。10題連続で正解です。"), QStringLiteral("終わる？"));
        endRun();
        endProgram(QString());
    }
}

void Form1::showStreak(int16_t streak)
{
    scoreState.streak = streak;
    Picture8.Cls();
    Picture8.print(QString::number(streak) + QStringLiteral(" 問正解です。"));
}

void Form1::startMiss()
{
    playWrongSound();
    showStreak(0);
    scoreState.missCount = conv::add16(scoreState.missCount, 1);
}
