#include "Driver.h"

#include "Dump.h"
#include "ui/CanvasPainter.h"
#include "ui/CanvasWidget.h"
#include "ui/EventPath.h"
#include "ui/Fonts.h"
#include "ui/MainWindow.h"
#include "controls/PlainFile.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QPainter>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>
#include <map>
#include <optional>

namespace {

double toNumber(const QString &text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw DriverError{QStringLiteral("not a number: %1").arg(text)};
    return v;
}

void need(const QStringList &a, int n, const char *usage)
{
    if (a.size() != n)
        throw DriverError{QStringLiteral("usage: %1").arg(QLatin1String(usage))};
}

// Pictures and dumps are written as the program writes its own files: a
// complete copy renamed into place, never through a link planted there.
void writeFile(const QString &path, const QByteArray &bytes)
{
    if (!plainfile::replace(path, bytes).ok())
        throw DriverError{QStringLiteral("cannot write %1").arg(path)};
}

// One key of a `key` line: a character for the answer box, or a named key,
// which the window's keyboard may take first (the plane's cursor, going on
// after a miss, checking a drawn answer).
struct ScriptKey {
    int code = 0; // what the answer box gets, if it gets the key
    std::optional<NavKey> nav;
    int qtKey = 0; // what an open menu gets (F10 and Alt open the menu bar)
};

std::vector<ScriptKey> scriptKeys(const QStringList &a)
{
    static const std::map<QString, ScriptKey> named = {
        {u"Enter"_qs, {13, NavKey::Enter, Qt::Key_Return}}, {u"Backspace"_qs, {8, {}, Qt::Key_Backspace}},
        {u"Space"_qs, {32, NavKey::Space, Qt::Key_Space}},  {u"Escape"_qs, {27, NavKey::Escape, Qt::Key_Escape}},
        {u"Left"_qs, {0, NavKey::Left, Qt::Key_Left}},      {u"Right"_qs, {0, NavKey::Right, Qt::Key_Right}},
        {u"Up"_qs, {0, NavKey::Up, Qt::Key_Up}},            {u"Down"_qs, {0, NavKey::Down, Qt::Key_Down}},
        {u"F10"_qs, {0, {}, Qt::Key_F10}},                  {u"Alt"_qs, {0, {}, Qt::Key_Alt}}};
    std::vector<ScriptKey> keys;
    for (int i = 1; i < a.size(); ++i) {
        if (auto it = named.find(a[i]); it != named.end())
            keys.push_back(it->second);
        else if (a[i].size() == 1)
            keys.push_back({a[i][0].unicode(), {}});
        else
            throw DriverError{QStringLiteral("not a key: %1").arg(a[i])};
    }
    return keys;
}

// The commands that are a learner's events: none is delivered once the
// program has asked to end.
const QStringList &eventCommands()
{
    static const QStringList events = {u"menu"_qs, u"click"_qs, u"key"_qs,  u"type"_qs, u"down"_qs,
                                       u"move"_qs, u"up"_qs,    u"tap"_qs,  u"tick"_qs, u"goto"_qs};
    return events;
}

} // namespace

Driver::Driver(bool allSets, double zoom) : allSets_(allSets), zoom_(zoom)
{
    folder_ = scratch_.filePath(QStringLiteral("folder"));
    QDir().mkpath(folder_);
    machineFile_ = scratch_.filePath(QStringLiteral("compname.txt")); // absent until `machine`
    rosterFile_ = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("roster.ini"));
}

Driver::~Driver() = default;

QStringList Driver::args(const QString &line) const
{
    return line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

EventPath &Driver::events() { return window_->events(); }

void Driver::ensureStarted()
{
    if (form_)
        return;
    const Paths paths{folder_, QCoreApplication::applicationDirPath(), machineFile_, rosterFile_};
    form_ = world_.makeForm(metrics_, paths, allSets_);
    window_ = std::make_unique<MainWindow>(*form_, zoom_);
    events().load();
    window_->show();
}

void Driver::requireBeforeStart(const char *command) const
{
    if (form_)
        throw DriverError{QStringLiteral("%1 must come before start").arg(QLatin1String(command))};
}

void Driver::requireVisibleText2()
{
    if (!form_->Text2.Visible)
        throw DriverError{QStringLiteral("Text2 is hidden: a key cannot reach it")};
}

void Driver::setUp(const QString &cmd, const QStringList &a, const QString &line)
{
    if (cmd == u"clock") {
        need(a, 2, "clock SECONDS");
        world_.clock.set(toNumber(a[1]));
    } else if (cmd == u"wallclock") {
        need(a, 2, "wallclock SECONDS");
        world_.clock.stepWall(toNumber(a[1]));
    } else if (cmd == u"date") {
        need(a, 2, "date YYYY/MM/DD");
        const QDate d = QDate::fromString(a[1], QStringLiteral("yyyy/MM/dd"));
        if (!d.isValid())
            throw DriverError{QStringLiteral("not a date: %1").arg(a[1])};
        world_.clock.date = d;
    } else if (cmd == u"random") {
        if (a.size() < 2)
            throw DriverError{QStringLiteral("usage: random V1 V2 ...")};
        for (int i = 1; i < a.size(); ++i) {
            const double v = toNumber(a[i]);
            if (v < 0 || v >= 1)
                throw DriverError{QStringLiteral("random values lie in [0, 1): %1").arg(a[i])};
            world_.random.queue(v);
        }
    } else if (cmd == u"folder") {
        need(a, 2, "folder PATH");
        requireBeforeStart("folder");
        folder_ = QDir(a[1]).absolutePath();
        QDir().mkpath(folder_);
    } else if (cmd == u"machine") {
        requireBeforeStart("machine");
        writeFile(machineFile_, line.trimmed().mid(cmd.size()).trimmed().toUtf8() + "\r\n");
    } else if (cmd == u"roster") {
        need(a, 2, "roster PATH");
        requireBeforeStart("roster");
        rosterFile_ = QDir(a[1]).absolutePath();
    } else {
        need(a, 1, "start");
        if (form_)
            throw DriverError{QStringLiteral("already started")};
        ensureStarted();
    }
}

void Driver::menuOrClick(const QString &cmd, const QStringList &a)
{
    need(a, 2, cmd == u"menu" ? "menu ITEM" : "click CONTROL");
    ensureStarted();
    if (cmd == u"menu") {
        const MenuItem *m = form_->menuItem(a[1]);
        if (!m)
            throw DriverError{QStringLiteral("no menu item %1").arg(a[1])};
        if (m->Parent.isEmpty())
            throw DriverError{QStringLiteral("%1 is a menu, not an item").arg(a[1])};
        if (!m->Enabled || !m->Visible)
            throw DriverError{QStringLiteral("menu item %1 is disabled").arg(a[1])};
        if (!events().menu(a[1]))
            throw DriverError{QStringLiteral("menu item %1 has no handler").arg(a[1])};
        return;
    }
    const Button *b = form_->button(a[1]);
    if (!b)
        throw DriverError{QStringLiteral("no button %1").arg(a[1])};
    if (!b->Visible || !b->Enabled)
        throw DriverError{QStringLiteral("%1 is hidden or disabled").arg(a[1])};
    if (!events().button(a[1]))
        throw DriverError{QStringLiteral("%1 has no handler").arg(a[1])};
}

void Driver::keys(const QString &cmd, const QStringList &a, const QString &line)
{
    std::vector<ScriptKey> keys;
    if (cmd == u"type") {
        // "type" keeps its text whole, "#" and blanks included.
        for (QChar c : line.trimmed().mid(cmd.size() + 1))
            keys.push_back({c.unicode(), {}});
    } else {
        if (a.size() < 2)
            throw DriverError{QStringLiteral("usage: key K ...")};
        keys = scriptKeys(a);
    }
    ensureStarted();
    for (const ScriptKey &k : keys) {
        if (form_->closed)
            break;
        // The menu bar first, as the window's keyboard reaches it: F10 and
        // Alt open it, and an open menu takes every key.
        if (k.qtKey != 0 && window_->menuKey(k.qtKey))
            continue;
        if (k.nav && window_->keyboard().press(*k.nav))
            continue;
        if (k.code == 0 && !k.nav)
            throw DriverError{QStringLiteral("no menu is open for that key")};
        requireVisibleText2();
        if (k.code != 0) // the box takes no arrow keys
            events().key(k.code);
    }
}

void Driver::pointer(const QString &cmd, const QStringList &a)
{
    need(a, 3, "down|move|up|tap X Y");
    const double x = toNumber(a[1]), y = toNumber(a[2]);
    ensureStarted();
    if (!form_->Picture6.Visible)
        throw DriverError{QStringLiteral("Picture6 is hidden: the mouse cannot reach it")};
    // The pointer arrives before it presses or lets go, as on a screen; it
    // sends no move where it already is.
    auto arrive = [&] {
        if (!pointer_ || pointer_->x() != x || pointer_->y() != y)
            events().pointerMove(x, y, buttonDown_);
        pointer_ = QPointF(x, y);
    };
    if (cmd == u"move") {
        events().pointerMove(x, y, buttonDown_);
        pointer_ = QPointF(x, y);
        return;
    }
    arrive();
    if (cmd == u"down" || cmd == u"tap") {
        events().pointerDown(x, y);
        buttonDown_ = true;
    }
    if (cmd == u"up" || cmd == u"tap") {
        buttonDown_ = false;
        events().pointerUp(x, y, true);
    }
}

void Driver::clockEvent(const QString &cmd, const QStringList &a)
{
    if (cmd == u"tick") {
        need(a, 1, "tick");
    } else {
        need(a, 2, "advance SECONDS");
        world_.clock.advance(toNumber(a[1]));
    }
    ensureStarted();
    events().tick();
}

void Driver::answerNext(const QStringList &a)
{
    need(a, 2, "answer yes|no");
    if (a[1] != u"yes" && a[1] != u"no")
        throw DriverError{QStringLiteral("answer takes yes or no, not %1").arg(a[1])};
    world_.dialogs.answers.push_back(a[1] == u"yes");
}

void Driver::gotoQuestion(const QStringList &a)
{
    need(a, 2, "goto N");
    ensureStarted();
    const int n = int(toNumber(a[1]));
    if (n < 1 || n > 200)
        throw DriverError{QStringLiteral("goto takes a position from 1 to 200")};
    // The question as the cycle shows it: its text printed, then presented
    // (families that draw no text of their own, the applications, would
    // otherwise keep the text of the question shown before).
    events().run([this, n] {
        form_->Picture6.Cls();
        form_->bank.mondaiNo = int16_t(n);
        form_->printQuestionText();
        form_->presentQuestion();
    });
}

void Driver::shot(const QStringList &a)
{
    need(a, 3, "shot TARGET FILE.png");
    ensureStarted();
    window_->sync();
    QImage image;
    if (a[1] == u"window") {
        image = window_->grab().toImage();
    } else {
        Canvas *c = form_->canvas(a[1]);
        if (!c)
            throw DriverError{QStringLiteral("no picture box %1").arg(a[1])};
        // The box as the window shows it: its size there, its labels placed
        // as the window places them.
        const double ppt = window_->pixelsPerTwip();
        const QSize px = window_->canvasWidget(a[1])->size();
        image = QImage(px, QImage::Format_RGB32);
        QPainter p(&image);
        PaintOptions options = paintOptionsFor(*c, QSizeF(px.width() / ppt, px.height() / ppt));
        options.caption = [this](const QString &name) { return window_->setCaption(name); };
        paintCanvas(p, *c, ppt, options);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG"))
        throw DriverError{QStringLiteral("cannot write %1").arg(a[2])};
    writeFile(a[2], png);
}

void Driver::dump(const QStringList &a)
{
    need(a, 2, "dump FILE.json");
    ensureStarted();
    QJsonObject dump = dumpForm(*form_, world_.sounds, world_.dialogs);
    // The family that stands for the design font on this machine.
    dump[u"screenFont"] = fonts::family();
    writeFile(a[1], QJsonDocument(dump).toJson(QJsonDocument::Indented));
}

void Driver::runLine(const QString &rawLine)
{
    const QStringList probe = args(rawLine);
    if (probe.isEmpty() || probe[0].startsWith(u'#'))
        return;
    const QString cmd = probe[0];
    // "#" starts a comment, except in the text of "type".
    QString line = rawLine;
    if (cmd != u"type" && line.indexOf(u'#') >= 0)
        line.truncate(line.indexOf(u'#'));
    const QStringList a = args(line);
    // Once the program has asked to end, events are no longer delivered;
    // dump and shot still work.
    if (form_ && form_->closed && eventCommands().contains(cmd))
        return;

    static const QStringList setup = {u"clock"_qs,   u"wallclock"_qs, u"date"_qs,  u"random"_qs,
                                      u"folder"_qs,  u"machine"_qs,   u"roster"_qs, u"start"_qs};
    if (setup.contains(cmd))
        setUp(cmd, a, line);
    else if (cmd == u"menu" || cmd == u"click")
        menuOrClick(cmd, a);
    else if (cmd == u"key" || cmd == u"type")
        keys(cmd, a, rawLine);
    else if (cmd == u"down" || cmd == u"move" || cmd == u"up" || cmd == u"tap")
        pointer(cmd, a);
    else if (cmd == u"tick" || cmd == u"advance")
        clockEvent(cmd, a);
    else if (cmd == u"goto")
        gotoQuestion(a);
    else if (cmd == u"answer")
        answerNext(a);
    else if (cmd == u"shot")
        shot(a);
    else if (cmd == u"dump")
        dump(a);
    else
        throw DriverError{QStringLiteral("unknown command %1").arg(cmd)};
}

int Driver::runScript(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "soremuka-drive: cannot read %s\n", path.toLocal8Bit().constData());
        return 2;
    }
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        try {
            runLine(line);
        } catch (const DriverError &e) {
            std::fprintf(stderr, "%s:%d: %s\n", path.toLocal8Bit().constData(), i + 1,
                         e.message.toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
