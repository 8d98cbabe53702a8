#include "Driver.h"

#include "Dump.h"
#include "ui/CanvasPainter.h"
#include "ui/CanvasWidget.h"
#include "ui/MainWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QPainter>
#include <QRegularExpression>
#include <QTextStream>

#include <cmath>
#include <cstdio>

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

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw DriverError{QStringLiteral("cannot write %1").arg(path)};
}

} // namespace

Driver::Driver(bool allSets, double zoom) : allSets_(allSets), zoom_(zoom), random_(clock_.seconds)
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

void Driver::ensureStarted()
{
    if (form_)
        return;
    Paths paths{folder_, QCoreApplication::applicationDirPath(), machineFile_, rosterFile_};
    FormServices services{clock_, random_, dialogs_, sound1_, sound2_, metrics_, paths, allSets_};
    form_ = std::make_unique<Form1>(services);
    window_ = std::make_unique<MainWindow>(*form_, zoom_);
    deliver([this] { form_->Form_Load(); });
    window_->show();
}

void Driver::deliver(const std::function<void()> &event)
{
    if (form_->closed)
        return; // the program has ended: no further events
    try {
        event();
    } catch (const ProgramEnd &end) {
        if (!end.reason.isEmpty())
            std::fprintf(stderr, "soremuka: %s\n", end.reason.toLocal8Bit().constData());
    }
    if (window_)
        window_->sync();
}

void Driver::requireVisibleText2()
{
    if (!form_->Text2.Visible)
        throw DriverError{QStringLiteral("Text2 is hidden: a key cannot reach it")};
}

void Driver::runLine(const QString &rawLine)
{
    QString line = rawLine;
    const int hash = line.indexOf(u'#');
    // "type" keeps its text whole, "#" included.
    const QStringList probe = args(line);
    if (probe.isEmpty() || probe[0].startsWith(u'#'))
        return;
    if (probe[0] != u"type" && hash >= 0)
        line.truncate(hash);
    const QStringList a = args(line);
    if (a.isEmpty())
        return;
    const QString cmd = a[0];
    // Once the program has asked to end, events are no longer delivered;
    // dump and shot still work.
    static const QStringList events = {u"menu"_qs, u"click"_qs, u"key"_qs,  u"type"_qs, u"down"_qs,
                                       u"move"_qs, u"up"_qs,    u"tap"_qs,  u"tick"_qs, u"goto"_qs};
    if (form_ && form_->closed && events.contains(cmd))
        return;

    if (cmd == u"clock") {
        need(a, 2, "clock SECONDS");
        clock_.seconds = toNumber(a[1]);
    } else if (cmd == u"date") {
        need(a, 2, "date YYYY/MM/DD");
        const QDate d = QDate::fromString(a[1], QStringLiteral("yyyy/MM/dd"));
        if (!d.isValid())
            throw DriverError{QStringLiteral("not a date: %1").arg(a[1])};
        clock_.date = d;
    } else if (cmd == u"random") {
        if (a.size() < 2)
            throw DriverError{QStringLiteral("usage: random V1 V2 ...")};
        for (int i = 1; i < a.size(); ++i) {
            const double v = toNumber(a[i]);
            if (v < 0 || v >= 1)
                throw DriverError{QStringLiteral("random values lie in [0, 1): %1").arg(a[i])};
            random_.queue(v);
        }
    } else if (cmd == u"folder") {
        need(a, 2, "folder PATH");
        if (form_)
            throw DriverError{QStringLiteral("folder must come before start")};
        folder_ = QDir(a[1]).absolutePath();
        QDir().mkpath(folder_);
    } else if (cmd == u"machine") {
        if (form_)
            throw DriverError{QStringLiteral("machine must come before start")};
        const QString name = line.trimmed().mid(cmd.size()).trimmed();
        writeFile(machineFile_, name.toUtf8() + "\r\n");
    } else if (cmd == u"roster") {
        need(a, 2, "roster PATH");
        if (form_)
            throw DriverError{QStringLiteral("roster must come before start")};
        rosterFile_ = QDir(a[1]).absolutePath();
    } else if (cmd == u"start") {
        need(a, 1, "start");
        if (form_)
            throw DriverError{QStringLiteral("already started")};
        ensureStarted();
    } else if (cmd == u"menu") {
        need(a, 2, "menu ITEM");
        ensureStarted();
        const MenuItem *m = form_->menuItem(a[1]);
        if (!m)
            throw DriverError{QStringLiteral("no menu item %1").arg(a[1])};
        if (m->Parent.isEmpty())
            throw DriverError{QStringLiteral("%1 is a menu, not an item").arg(a[1])};
        if (!m->Enabled || !m->Visible)
            throw DriverError{QStringLiteral("menu item %1 is disabled").arg(a[1])};
        bool handled = true;
        deliver([&] { handled = form_->menuClick(a[1]); });
        if (!handled)
            throw DriverError{QStringLiteral("menu item %1 has no handler").arg(a[1])};
    } else if (cmd == u"click") {
        need(a, 2, "click CONTROL");
        ensureStarted();
        const Button *b = form_->button(a[1]);
        if (!b)
            throw DriverError{QStringLiteral("no button %1").arg(a[1])};
        if (!form_->closed && (!b->Visible || !b->Enabled))
            throw DriverError{QStringLiteral("%1 is hidden or disabled").arg(a[1])};
        bool handled = true;
        deliver([&] { handled = form_->buttonClick(a[1]); });
        if (!handled)
            throw DriverError{QStringLiteral("%1 has no handler").arg(a[1])};
    } else if (cmd == u"key") {
        if (a.size() < 2)
            throw DriverError{QStringLiteral("usage: key K ...")};
        std::vector<int> codes;
        for (int i = 1; i < a.size(); ++i) {
            if (a[i] == u"Enter")
                codes.push_back(13);
            else if (a[i] == u"Backspace")
                codes.push_back(8);
            else if (a[i] == u"Space")
                codes.push_back(32);
            else if (a[i] == u"Escape")
                codes.push_back(27);
            else if (a[i].size() == 1)
                codes.push_back(a[i][0].unicode());
            else
                throw DriverError{QStringLiteral("not a key: %1").arg(a[i])};
        }
        ensureStarted();
        for (int code : codes) {
            if (form_->closed)
                break;
            requireVisibleText2();
            deliver([this, code] { form_->typeKey(code); });
        }
    } else if (cmd == u"type") {
        const QString text = line.trimmed().mid(cmd.size() + 1);
        ensureStarted();
        for (QChar c : text) {
            if (form_->closed)
                break;
            requireVisibleText2();
            deliver([this, c] { form_->typeKey(c.unicode()); });
        }
    } else if (cmd == u"down" || cmd == u"move" || cmd == u"up" || cmd == u"tap") {
        need(a, 3, "down|move|up|tap X Y");
        const double x = toNumber(a[1]), y = toNumber(a[2]);
        ensureStarted();
        if (form_->closed)
            return;
        if (!form_->Picture6.Visible)
            throw DriverError{QStringLiteral("Picture6 is hidden: the mouse cannot reach it")};
        // The pointer arrives before it presses, as it does on a screen.
        auto moveTo = [&](int buttons) {
            if (!pointer_ || pointer_->x() != x || pointer_->y() != y)
                deliver([&] { form_->Picture6_MouseMove(buttons, 0, x, y); });
            pointer_ = QPointF(x, y);
        };
        if (cmd == u"move") {
            deliver([&] { form_->Picture6_MouseMove(buttonDown_ ? 1 : 0, 0, x, y); });
            pointer_ = QPointF(x, y);
        } else if (cmd == u"down") {
            moveTo(0);
            deliver([&] { form_->Picture6_MouseDown(1, 0, x, y); });
            buttonDown_ = true;
        } else if (cmd == u"up") {
            moveTo(buttonDown_ ? 1 : 0);
            buttonDown_ = false;
            deliver([&] { form_->Picture6_Click(); });
        } else {
            moveTo(0);
            deliver([&] { form_->Picture6_MouseDown(1, 0, x, y); });
            deliver([&] { form_->Picture6_Click(); });
        }
    } else if (cmd == u"tick") {
        need(a, 1, "tick");
        ensureStarted();
        if (form_->Timer1.Enabled && form_->Timer1.Interval > 0)
            deliver([this] { form_->Timer1_Timer(); });
    } else if (cmd == u"advance") {
        need(a, 2, "advance SECONDS");
        clock_.seconds += toNumber(a[1]);
        ensureStarted();
        if (form_->Timer1.Enabled && form_->Timer1.Interval > 0)
            deliver([this] { form_->Timer1_Timer(); });
    } else if (cmd == u"goto") {
        need(a, 2, "goto N");
        ensureStarted();
        const int n = int(toNumber(a[1]));
        if (n < 1 || n > 200)
            throw DriverError{QStringLiteral("goto takes a position from 1 to 200")};
        deliver([this, n] {
            form_->Picture6.Cls();
            form_->bank.mondaiNo = int16_t(n);
            form_->presentQuestion();
        });
    } else if (cmd == u"shot") {
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
            // The box as the window shows it: its size there, its labels
            // placed as the window places them.
            const double ppt = window_->pixelsPerTwip();
            const QSize px = window_->canvasWidget(a[1])->size();
            image = QImage(px, QImage::Format_RGB32);
            QPainter p(&image);
            paintCanvas(p, *c, ppt, paintOptionsFor(*c, QSizeF(px.width() / ppt, px.height() / ppt)));
        }
        if (image.isNull() || !image.save(a[2], "PNG"))
            throw DriverError{QStringLiteral("cannot write %1").arg(a[2])};
    } else if (cmd == u"dump") {
        need(a, 2, "dump FILE.json");
        ensureStarted();
        const QJsonObject dump = dumpForm(*form_, sounds_, dialogs_);
        writeFile(a[1], QJsonDocument(dump).toJson(QJsonDocument::Indented));
    } else {
        throw DriverError{QStringLiteral("unknown command %1").arg(cmd)};
    }
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
