#include "ui/KeyboardPlay.h"

#include <algorithm>
#include <cmath>

bool KeyboardPlay::cursorShown() const
{
    return form_.run.categoryActive == 1 && form_.Picture6.Visible && form_.Command5.Visible
           && form_.graph.keyboardAnswerMode == 0;
}

void KeyboardPlay::followQuestion()
{
    // Each question starts with the cursor at the origin.
    const int no = form_.bank.mondaiNo;
    const QString &text = form_.currentQuestion();
    if (no != question_ || text != questionText_) {
        question_ = no;
        questionText_ = text;
        cursor_ = QPoint(0, 0);
        // The pointer counts only where it came during this question.
        if (events_.pointerQuestion() != no || events_.pointerQuestionText() != text)
            pointerSeen_ = events_.pointerEvents();
    }
}

void KeyboardPlay::followPointer()
{
    if (events_.pointerEvents() == pointerSeen_)
        return;
    pointerSeen_ = events_.pointerEvents();
    const QPointF p = events_.lastPointer();
    auto lattice = [](double v) { return std::clamp(int(std::floor(v + 0.5)), -kReach, kReach); };
    cursor_ = QPoint(lattice(p.x()), lattice(p.y()));
}

QPoint KeyboardPlay::cursor()
{
    followQuestion();
    followPointer();
    return cursor_;
}

bool KeyboardPlay::press(NavKey key)
{
    // After a miss: Space or Escape is "確認したよ！", keys the answer box
    // never takes.
    if ((key == NavKey::Space || key == NavKey::Escape) && form_.Command3.Visible && form_.Command3.Enabled) {
        events_.button(form_.Command3.Name);
        return true;
    }
    // Escape with no miss shown is 「やめる」.
    if (key == NavKey::Escape && form_.Command7.Visible && form_.Command7.Enabled && !form_.Command3.Visible) {
        events_.button(form_.Command7.Name);
        return true;
    }
    if (!cursorShown())
        return false;
    followQuestion();
    followPointer();
    switch (key) {
    case NavKey::Left:
    case NavKey::Right:
    case NavKey::Up:
    case NavKey::Down: {
        const QPoint step = key == NavKey::Left    ? QPoint(-1, 0)
                            : key == NavKey::Right ? QPoint(1, 0)
                            : key == NavKey::Up    ? QPoint(0, 1)
                                                   : QPoint(0, -1);
        const QPoint to = cursor_ + step;
        cursor_ = QPoint(std::clamp(to.x(), -kReach, kReach), std::clamp(to.y(), -kReach, kReach));
        // The pointer follows the cursor, so a line being drawn follows it.
        events_.pointerMove(cursor_.x(), cursor_.y(), false);
        return true;
    }
    case NavKey::Space:
        // A press at the cursor, as the mouse would make it there.
        events_.pointerMove(cursor_.x(), cursor_.y(), false);
        events_.pointerDown(cursor_.x(), cursor_.y());
        events_.pointerUp(cursor_.x(), cursor_.y(), true);
        return true;
    case NavKey::Enter:
        if (form_.Text2.Visible)
            return false; // the answer box judges its own Enter
        events_.button(form_.Command5.Name);
        return true;
    case NavKey::Escape:
        return false;
    }
    return false;
}
