#include "ui/MainWindow.h"

#include "app/SetTable.h"
#include "ui/AnswerBox.h"
#include "ui/CanvasPainter.h"
#include "ui/CanvasWidget.h"
#include "ui/Fonts.h"
#include "ui/EventPath.h"
#include "ui/Layout.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <set>

namespace {
constexpr double kTwipsPerPixel = 15.0;

// Colours through the palette rather than style sheets: a style sheet on
// every control makes the window noticeably slower to open and to update.
void applyColors(QWidget *w, const ControlLook &look, QPalette::ColorRole back, QPalette::ColorRole fore)
{
    QPalette pal = w->palette();
    if (look.BackColor != kNoColor) {
        pal.setColor(back, toQColor(look.BackColor));
        if (back == QPalette::Window)
            w->setAutoFillBackground(true);
    }
    pal.setColor(fore, toQColor(look.ForeColor));
    if (pal != w->palette())
        w->setPalette(pal);
}
} // namespace

// The program's icon: a line through a small coordinate plane.
static QIcon programIcon()
{
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 128, 0), 3));
    p.setBrush(QColor(224, 255, 255));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    p.setPen(QPen(Qt::black, 3));
    p.drawLine(10, 36, 54, 36);
    p.drawLine(26, 54, 26, 10);
    p.setPen(QPen(Qt::red, 4));
    p.drawLine(12, 52, 52, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::blue);
    p.drawEllipse(QPointF(40, 24), 4, 4);
    return QIcon(pm);
}

MainWindow::MainWindow(Form1 &form, double zoom, QWidget *parent)
    : QMainWindow(parent), form_(form), events_(form, [this] { settle(); })
{
    setWindowTitle(form_.Caption);
    setWindowIcon(programIcon());
    if (zoom <= 0) {
        // Fit the designed client area, in its proportions, to most of the
        // screen the window opens on, whatever its size and scaling: on a
        // small or highly scaled screen that is smaller than designed.
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
        const double designW = form_.ClientWidth / kTwipsPerPixel;
        const double designH = form_.ClientHeight / kTwipsPerPixel;
        // Room for the title bar and the frame, which the available area
        // does not yet take off.
        const double frameH = 48;
        zoom = std::min(avail.width() * 0.94 / designW, (avail.height() * 0.94 - frameH) / designH);
        zoom = std::max(zoom, 0.3);
    }
    ppt_ = zoom / kTwipsPerPixel;
    setProgramFont(); // before any control is made
    client_ = new QWidget(this);
    client_->setAutoFillBackground(true);
    setCentralWidget(client_);
    buildMenuBar();
    fitMenuBar();
    buildControls();
    buildKeyboardAndSettings();

    layoutControls(); // the menu bar's height depends on its font
    const int menuH = menuBar()->sizeHint().height();
    resize(int(std::lround(form_.ClientWidth * ppt_)),
           int(std::lround(form_.ClientHeight * ppt_)) + menuH);
    // The window can be made smaller and larger; the layout scales with it.
    setMinimumSize(240, 160 + menuH);

    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] {
        events_.tick();
    });
    sync();
}

QString MainWindow::menuTitle(const MenuItem &menu)
{
    // Each menu has a key of its own, written after its caption as Japanese
    // programs write it: 座標(Z). Alt with the key opens the menu.
    static const std::map<QString, QChar> keys = {
        {u"thahyo"_qs, u'Z'}, {u"kansu1"_qs, u'1'},     {u"ouyou1nkansu"_qs, u'O'},
        {u"gra2"_qs, u'2'},   {u"itijiouyou"_qs, u'I'}, {u"gra3"_qs, u'3'},
        {u"fukusyu"_qs, u'F'}, {u"settei"_qs, u'S'}};
    const auto it = keys.find(menu.Name);
    return it == keys.end() ? menu.Caption : menu.Caption + u"(&"_qs + it->second + u')';
}

void MainWindow::buildMenuBar()
{
    QMenuBar *bar = menuBar();
    for (const MenuItem &item : form_.menuItems) {
        if (item.Parent.isEmpty()) {
            menus_[item.Name] = bar->addMenu(menuTitle(item));
            continue;
        }
        QAction *a = menus_.at(item.Parent)->addAction(item.Caption);
        a->setCheckable(true);
        const QString name = item.Name;
        connect(a, &QAction::triggered, this, [this, name] {
            events_.menu(name);
        });
        actions_[item.Name] = a;
    }
}

void MainWindow::buildControls()
{
    // One widget a control. Which lies in front of which, and where, is
    // decided afresh after every event (arrangeControls, src/ui/Layout.cpp).
    // Plain panels of the window's colour: what the answers of a miss stand
    // on when they are moved over the locked answer box, and what the
    // results chart stands on, hiding the finished run's controls.
    for (const QString &name : {u"answerPanel"_qs, u"chartBackdrop"_qs}) {
        auto *panel = new QWidget(client_);
        panel->setAutoFillBackground(true);
        panel->hide();
        panels_[name] = panel;
    }
    for (Canvas *c : form_.canvases())
        canvases_[c->Name] = new CanvasWidget(*c, client_);
    for (TextBox *t : form_.textBoxes())
        addTextBox(*t);
    for (Label *l : form_.labels()) {
        auto *w = new QLabel(client_);
        w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w->setTextFormat(Qt::PlainText);
        labels_[l->Name] = w;
    }
    for (Button *b : form_.buttons()) {
        auto *w = new QPushButton(client_);
        w->setFocusPolicy(Qt::TabFocus);
        const QString name = b->Name;
        connect(w, &QPushButton::clicked, this, [this, name] { events_.button(name); });
        buttons_[b->Name] = w;
    }
    canvases_.at(form_.Picture1.Name)->caption = [this](const QString &name) { return setCaption(name); };
    // The plane takes answers by mouse; moves count with or without a button.
    CanvasWidget *plane = canvases_.at(form_.Picture6.Name);
    plane->setMouseTracking(true);
    plane->onMouseDown = [this](double x, double y) { events_.pointerDown(x, y); };
    plane->onMouseMove = [this](double x, double y, bool held) { events_.pointerMove(x, y, held); };
    plane->onMouseUp = [this](double x, double y, bool over) { events_.pointerUp(x, y, over); };
    // A click on the preview is a click on the answer box beneath it.
    canvases_.at(form_.Picture3.Name)->onMouseUp = [this](double, double, bool) {
        texts_.at(form_.Text2.Name)->setFocus();
    };
}

void MainWindow::addTextBox(TextBox &t)
{
    QLineEdit *w;
    if (&t == &form_.Text2) {
        // The answer box: every key goes through the form's handler.
        auto *box = new AnswerBox(client_);
        box->onKey = [this](int key) { events_.key(key); };
        box->onKeys = [this](const std::vector<int> &keys) { events_.keys(keys); };
        w = box;
    } else {
        w = new QLineEdit(client_);
    }
    w->setFrame(true);
    texts_[t.Name] = w;
}

void MainWindow::setProgramFont()
{
    // The program's default font, and the window's, is the menu's: the
    // Japanese Gothic, never smaller than designed so that the menus stay
    // readable in a small window. The controls are made in it before they
    // get their designed fonts, so the window never loads the platform's
    // Latin font as well (each font costs start-up time; a line edit lays out
    // its text in the program's font before it takes the window's), and
    // whatever has no font of its own (a tooltip) shows Japanese in the
    // Japanese font.
    fontsPpt_ = ppt_;
    const QFont f = fonts::widgetFont(QString(), 9, false, std::max(ppt_, 1.0 / kTwipsPerPixel));
    QApplication::setFont(f);
    setFont(f);
    for (auto &[name, menu] : menus_)
        menu->setFont(f);
    fitMenuBar();
}

void MainWindow::fitMenuBar()
{
    // At a large scale factor the screen has few logical pixels and the
    // window is smaller than designed; in the designed font the menu bar
    // would hide its last menus behind a chevron. Its font is made smaller,
    // no smaller than the window's own scale, until every menu shows.
    QMenuBar *bar = menuBar();
    QFont f = QApplication::font();
    if (bar->font() != f)
        bar->setFont(f); // the window has grown again
    // The menus' keys are written after their captions while there is room.
    const auto titled = [this](bool keys) {
        for (const MenuItem &item : form_.menuItems)
            if (item.Parent.isEmpty())
                if (const auto it = menus_.find(item.Name); it != menus_.end())
                    it->second->setTitle(keys ? menuTitle(item) : item.Caption);
    };
    titled(true);
    if (menus_.empty() || ppt_ >= 1.0 / kTwipsPerPixel)
        return;
    const int room = int(form_.ClientWidth * ppt_);
    const int least = fonts::widgetFont(QString(), 9, false, ppt_).pixelSize();
    bar->ensurePolished(); // the style's margins count
    while (bar->sizeHint().width() > room && f.pixelSize() > least) {
        f.setPixelSize(f.pixelSize() - 1);
        bar->setFont(f);
    }
    // Smaller still, the captions alone (F10 still opens the menus).
    if (bar->sizeHint().width() > room)
        titled(false);
}

QRect MainWindow::twipsRect(int left, int top, int width, int height) const
{
    const int x = int(std::lround(left * ppt_)), y = int(std::lround(top * ppt_));
    const int r = int(std::lround((left + width) * ppt_)), b = int(std::lround((top + height) * ppt_));
    return QRect(x, y, r - x, b - y).translated(origin_);
}

namespace {
// The designed font, made smaller where the text would not fit the box the
// window gives it (a three-digit count, the clock's design caption): a count
// or a caption is never cut.
QFont fittedFont(const ControlLook &look, const QString &text, const QSize &box, int padding, double ppt)
{
    QFont f = fonts::widgetFont(look.FontName, look.FontSize, look.FontBold, ppt);
    if (text.isEmpty() || box.width() <= padding || box.height() <= 0)
        return f;
    // Most captions are short: when even a generous guess of their width
    // fits, the font is not measured (measuring loads the font at that size,
    // which makes start-up slower).
    double guess = 0;
    for (QChar c : text)
        guess += (c.unicode() < 0x100 ? 0.75 : 1.05) * f.pixelSize();
    if (guess <= box.width() - padding && f.pixelSize() * 1.4 <= box.height())
        return f;
    const QFontMetricsF fm(f);
    double scale = 1;
    const double widest = std::max(1.0, fm.horizontalAdvance(text));
    if (widest > box.width() - padding)
        scale = (box.width() - padding) / widest;
    if (fm.height() > box.height())
        scale = std::min(scale, box.height() / fm.height());
    if (scale < 1)
        f.setPixelSize(std::max(1, int(std::floor(f.pixelSize() * scale))));
    return f;
}
} // namespace

void MainWindow::layoutControls()
{
    // Fonts are set again only for a new scale: every new font size costs a
    // font lookup, the slowest part of opening the window.
    if (fontsPpt_ != ppt_)
        setProgramFont();
    else
        fitMenuBar();
    for (auto &[name, w] : canvases_)
        w->setPixelsPerTwip(ppt_);
    arrangeControls();
}

void MainWindow::arrangeControls()
{
    // Where each control stands and which lies in front (src/ui/Layout.cpp
    // says why); raised in that order, back first. Raising repaints a
    // control, so the controls are raised only when the order has changed:
    // otherwise every pointer move over the plane repainted the whole window.
    std::set<QWidget *> panelsShown;
    QList<QWidget *> order;
    for (const layout::Placement &p : layout::arrange(form_)) {
        QWidget *w = p.windowOnly ? panels_.at(p.name) : controlWidget(p.name);
        if (!w)
            continue;
        if (p.windowOnly) {
            panelsShown.insert(w);
            w->show();
        }
        const QRect r = twipsRect(p.twips.left(), p.twips.top(), p.twips.width(), p.twips.height());
        if (w->geometry() != r)
            w->setGeometry(r);
        order.push_back(w);
    }
    for (auto &[name, panel] : panels_)
        if (!panelsShown.count(panel))
            panel->hide();
    QList<QWidget *> stacked;
    for (QObject *child : client_->children())
        if (auto *w = qobject_cast<QWidget *>(child); w && order.contains(w))
            stacked.push_back(w);
    if (stacked != order)
        for (QWidget *w : order)
            w->raise();
    fitFonts();
}

void MainWindow::fitFonts()
{
    // Captions fitted to the boxes they are shown in, and the text boxes'
    // fonts at this scale. Only for what shows: every font size costs a font
    // lookup, and hidden controls (the answers of a miss, the chart's
    // controls) would make the window slower to open for nothing. A control
    // gets its font here before it is shown (sync shows it after this).
    // Measured again only when a caption or a box has changed.
    for (auto &[name, w] : texts_) {
        const TextBox &t = *form_.textBox(name);
        const QString key = u'@' + QString::number(ppt_);
        if (!t.Visible || fitted_[w] == key)
            continue;
        fitted_[w] = key;
        w->setFont(fonts::widgetFont(t.FontName, t.FontSize, t.FontBold, ppt_));
    }
    auto fit = [this](QWidget *w, const ControlLook &look, const QString &caption, int padding, bool shown) {
        if (!shown)
            return;
        const QString key = caption + u'\x1f' + QString::number(w->width()) + u'x' + QString::number(w->height())
                            + u'@' + QString::number(ppt_);
        if (fitted_[w] == key)
            return;
        fitted_[w] = key;
        const QFont f = fittedFont(look, caption, w->size(), padding, ppt_);
        if (w->font() != f)
            w->setFont(f);
    };
    for (auto &[name, w] : labels_) {
        const Label &l = *form_.label(name);
        fit(w, l, l.Caption, 2, l.Visible);
    }
    for (auto &[name, w] : buttons_) {
        const Button &b = *form_.button(name);
        fit(w, b, b.Caption, 12, b.Visible);
    }
}

void MainWindow::resizeEvent(QResizeEvent *e)
{
    QMainWindow::resizeEvent(e);
    // The whole layout scales with the window, keeping its proportions, and
    // stands in the middle of a window wider or taller than they are.
    const QSize area = client_->size();
    if (area.width() > 0 && area.height() > 0) {
        // A size that differs from the laid-out one only by the rounding of
        // pixels keeps its scale (and its fonts).
        const double ppt = std::min(double(area.width()) / form_.ClientWidth, double(area.height()) / form_.ClientHeight);
        if (std::abs(ppt - ppt_) * form_.ClientWidth >= 1)
            ppt_ = ppt;
        origin_ = QPoint(int((area.width() - form_.ClientWidth * ppt_) / 2),
                         int((area.height() - form_.ClientHeight * ppt_) / 2));
        layoutControls();
    }
}

void MainWindow::closeEvent(QCloseEvent *e)
{
    timer_->stop();
    e->accept();
}

void MainWindow::sync()
{
    QPalette pal = client_->palette();
    pal.setColor(QPalette::Window, toQColor(form_.BackColor));
    client_->setPalette(pal);
    setWindowTitle(form_.Caption);
    // Geometry and fonts change only with the window's size (resizeEvent).

    arrangeControls();
    // Each control is brought up to date only when its model has changed
    // since it was last shown, and a picture box repaints only the part of
    // it whose picture changed: a key, a pointer move or a tick of the clock
    // paints what it changes and nothing else.
    for (auto &[name, w] : canvases_) {
        w->setVisible(w->canvas().Visible);
        w->refresh();
    }
    for (auto &[name, w] : labels_) {
        const Label &l = *form_.label(name);
        if (!shown_.note(w, l.changeCount()))
            continue;
        w->setText(l.Caption);
        applyColors(w, l, QPalette::Window, QPalette::WindowText);
        w->setVisible(l.Visible);
    }
    for (auto &[name, w] : texts_) {
        const TextBox &t = *form_.textBox(name);
        // What was typed into a box straight (not through the form) gives
        // way to the form's text.
        if (w->text() != t.Text) {
            w->setText(t.Text);
            w->setCursorPosition(int(t.Text.size()));
        }
        if (shown_.note(w, t.changeCount())) {
            applyColors(w, t, QPalette::Base, QPalette::Text);
            w->setVisible(t.Visible);
        }
        if (t.Focused && t.Visible && !w->hasFocus())
            w->setFocus();
    }
    for (auto &[name, w] : buttons_) {
        const Button &b = *form_.button(name);
        w->setText(b.Caption);
        applyColors(w, b, QPalette::Button, QPalette::ButtonText);
        w->setVisible(b.Visible);
        w->setEnabled(b.Enabled);
    }
    for (auto &[name, a] : actions_) {
        const MenuItem &m = *form_.menuItem(name);
        a->setText(m.Caption);
        a->setEnabled(m.Enabled);
        a->setChecked(m.Checked);
        a->setVisible(m.Visible);
    }
    const Timer &t = form_.Timer1;
    if (t.Enabled && t.Interval > 0) {
        if (!timer_->isActive() || timer_->interval() != t.Interval)
            timer_->start(t.Interval);
    } else {
        timer_->stop();
    }
}

void MainWindow::settle()
{
    sync();
    // A message box waits for the learner: the window first shows the state
    // that led to it (the chart, the counters, the clock), painted. No tick
    // runs while it is open: the event is not over until it is closed.
    if (form_.services().dialogs.hasPending()) {
        repaint();
        form_.services().dialogs.showPending();
    }
    if (form_.closed)
        close();
}
QWidget *MainWindow::controlWidget(const QString &name) const
{
    if (auto it = canvases_.find(name); it != canvases_.end())
        return it->second;
    if (auto it = labels_.find(name); it != labels_.end())
        return it->second;
    if (auto it = texts_.find(name); it != texts_.end())
        return it->second;
    if (auto it = buttons_.find(name); it != buttons_.end())
        return it->second;
    return nullptr;
}

QString MainWindow::setCaption(const QString &recordName) const
{
    QString file = recordName;
    if (!file.endsWith(u".txt"_qs))
        file += u".txt"_qs;
    for (const SetInfo &s : setTable())
        if (s.resultsFileName == file)
            if (const MenuItem *m = form_.menuItem(s.item))
                return m->Caption;
    return QString();
}

CanvasWidget *MainWindow::canvasWidget(const QString &name) const
{
    auto it = canvases_.find(name);
    return it == canvases_.end() ? nullptr : it->second;
}
