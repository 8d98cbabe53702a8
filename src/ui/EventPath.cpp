#include "ui/EventPath.h"

#include <cstdio>

EventPath::EventPath(Form1 &form, std::function<void()> settle) : form_(form), settle_(std::move(settle)) {}

void EventPath::run(const std::function<void()> &handler)
{
    // Once the program has asked to end, nothing more reaches it.
    if (form_.closed || busy_)
        return;
    busy_ = true;
    try {
        handler();
    } catch (const ProgramEnd &end) {
        if (!end.reason.isEmpty())
            std::fprintf(stderr, "soremuka: %s\n", end.reason.toLocal8Bit().constData());
    }
    if (settle_)
        settle_();
    busy_ = false;
}

void EventPath::load()
{
    run([this] { form_.Form_Load(); });
}

bool EventPath::menu(const QString &item)
{
    bool handled = true;
    run([&] { handled = form_.menuClick(item); });
    return handled;
}

bool EventPath::button(const QString &name)
{
    bool handled = true;
    run([&] { handled = form_.buttonClick(name); });
    return handled;
}

void EventPath::key(int code)
{
    run([this, code] { form_.typeKey(code); });
}

void EventPath::keys(const std::vector<int> &codes)
{
    run([this, &codes] {
        for (int code : codes) {
            if (form_.closed)
                break;
            form_.typeKey(code);
        }
    });
}

void EventPath::notePointer(double x, double y)
{
    pointer_ = QPointF(x, y);
    ++pointerEvents_;
    pointerQuestion_ = form_.bank.mondaiNo;
    pointerQuestionText_ = form_.currentQuestion();
}

void EventPath::pointerMove(double x, double y, bool buttonHeld)
{
    notePointer(x, y);
    run([=, this] { form_.Picture6_MouseMove(buttonHeld ? 1 : 0, 0, x, y); });
}

void EventPath::pointerDown(double x, double y)
{
    notePointer(x, y);
    run([=, this] { form_.Picture6_MouseDown(1, 0, x, y); });
}

void EventPath::pointerUp(double x, double y, bool overThePlane)
{
    Q_UNUSED(x);
    Q_UNUSED(y);
    // The plane has no handler for the release itself, only for the click
    // that follows a release over it.
    if (overThePlane)
        run([this] { form_.Picture6_Click(); });
}

void EventPath::tick()
{
    if (form_.Timer1.Enabled && form_.Timer1.Interval > 0)
        run([this] { form_.Timer1_Timer(); });
}
