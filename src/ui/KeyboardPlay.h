#pragma once
// Every answer without a mouse. On a question answered on the plane a
// lattice cursor stands on the plane: the arrow keys move it one unit, Space
// presses there as the mouse would (the pointer moving there first), and
// Enter checks the answer. Space or Escape goes on after a miss. The cursor
// is the window's own: it is no part of what the form draws. Where the mouse
// is used as well, the cursor goes to the lattice point nearest the pointer,
// so keys and mouse go on from the same place.
#include "ui/EventPath.h"

#include <QPoint>

enum class NavKey { Left, Right, Up, Down, Space, Escape, Enter };

class KeyboardPlay {
public:
    KeyboardPlay(Form1 &form, EventPath &events) : form_(form), events_(events) {}

    // Handles a key that means something here; false leaves it to the
    // control that has the focus (the answer box takes its own keys).
    bool press(NavKey key);

    // Whether the plane takes the answer now, and where the cursor stands.
    bool cursorShown() const;
    QPoint cursor();

    static constexpr int kReach = 8; // the lattice of the plane's grid

private:
    void followQuestion();

    Form1 &form_;
    EventPath &events_;
    void followPointer();

    QPoint cursor_;
    unsigned pointerSeen_ = 0;
    int question_ = -1;
    QString questionText_;
};
