#pragma once
// The one road every event takes, from the real window and from the driver
// alike: the form's handler runs to its end, then the view catches up (the
// controls re-read, the window painted) and only then opens a message that
// waits for the learner. A handler that ends the program (the volume item,
// faulty built-in data) ends here too.
#include "form/Form1.h"

#include <QPointF>

#include <functional>
#include <vector>

class EventPath {
public:
    // settle: brings the view up to date after each event and opens any
    // waiting message; it is told whether the program has asked to end.
    EventPath(Form1 &form, std::function<void()> settle);

    void load();
    // False when the item or button has no handler.
    bool menu(const QString &item);
    bool button(const QString &name);
    // One key in the answer box, as the box delivers it.
    void key(int code);
    // Keys that arrive together (a paste): each goes through the handler as
    // a typed key does, and the view catches up once, after the last.
    void keys(const std::vector<int> &codes);
    // The pointer over the plane, in its units: moving (with or without the
    // button), pressed, and released; a release over the plane is followed
    // by its click, as a window delivers it.
    void pointerMove(double x, double y, bool buttonHeld);
    void pointerDown(double x, double y);
    void pointerUp(double x, double y, bool overThePlane);
    void tick();

    // Any other handler (the driver's own "goto"), on the same road.
    void run(const std::function<void()> &handler);

    // Where the pointer was last over the plane, in its units, and a count
    // that grows with every pointer event (the keyboard's cursor follows it).
    QPointF lastPointer() const { return pointer_; }
    unsigned pointerEvents() const { return pointerEvents_; }
    // The question on show when the pointer last came (its number and text).
    int pointerQuestion() const { return pointerQuestion_; }
    const QString &pointerQuestionText() const { return pointerQuestionText_; }

private:
    Form1 &form_;
    std::function<void()> settle_;
    // True while a handler or the view's catching up is under way: an event
    // that arrives then (a timer tick from inside a message box) is dropped.
    bool busy_ = false;
    QPointF pointer_;
    unsigned pointerEvents_ = 0;
    int pointerQuestion_ = -1;
    QString pointerQuestionText_;
    void notePointer(double x, double y);
};
