#pragma once
// Where the window shows each control and which lies in front. The form
// places every control at its designed spot; the designed spots overlap, so
// the window decides what a learner sees where two meet: the answers stay in
// front of what does not answer, and a few controls step aside while they
// would cover something the learner needs. No widgets here, so the driver's
// dump reports exactly what the window does.
#include "form/Form1.h"

#include <QRect>
#include <QString>

#include <vector>

namespace layout {

struct Placement {
    QString name;
    QRect twips; // in the client area, as the window shows it
    int z = 0;   // 0 at the back, higher in front
    // A piece of the window's own (a plain panel), not a control of the form.
    bool windowOnly = false;
};

// Every control of the form in stacking order, back first.
std::vector<Placement> arrange(const Form1 &form);

// The client area the controls are laid out on: the designed one.
QRect clientTwips(const Form1 &form);

} // namespace layout
