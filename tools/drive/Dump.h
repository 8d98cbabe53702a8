#pragma once
#include "form/Form1.h"

#include <QJsonObject>
#include <QStringList>

class FakeDialogs;

// The program as seen from outside: every state variable by its name, every
// control by its designed name, the display lists of the picture boxes in
// their user scale, the sounds started and the messages shown.
QJsonObject dumpForm(Form1 &form, const QStringList &sounds, const FakeDialogs &dialogs);
QJsonObject dumpCanvas(const Canvas &canvas);
