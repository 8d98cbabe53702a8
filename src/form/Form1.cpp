#include "form/Form1.h"

#include "controls/Convert.h"

#include <QTextStream>

#include <cstdio>

using conv::rgb;

namespace {
constexpr int32_t kLightCyan = rgb(224, 255, 255);
constexpr int32_t kPaleYellow = rgb(255, 255, 192);
constexpr int32_t kPaleCyan = rgb(192, 255, 255);
constexpr int32_t kLightGreen = rgb(128, 255, 128);
constexpr int32_t kYellow = rgb(255, 255, 0);
constexpr int32_t kWhite = rgb(255, 255, 255);

template <class T>
T make(const QString &name, int left, int top, int width, int height, int32_t back, double size)
{
    T c;
    c.Name = name;
    c.Left = left;
    c.Top = top;
    c.Width = width;
    c.Height = height;
    c.BackColor = back;
    c.FontSize = size;
    return c;
}

Label makeLabel(const QString &name, const QString &caption, int l, int t, int w, int h,
                int32_t back, int32_t fore, double size, bool bold = false)
{
    Label c = make<Label>(name, l, t, w, h, back, size);
    c.Caption = caption;
    c.ForeColor = fore;
    c.FontBold = bold;
    return c;
}

TextBox makeText(const QString &name, const QString &text, int l, int t, int w, int h,
                 int32_t back, double size, int tabIndex)
{
    TextBox c = make<TextBox>(name, l, t, w, h, back, size);
    c.Text = text;
    c.TabIndex = tabIndex;
    return c;
}

Button makeButton(const QString &name, const QString &caption, int l, int t, int w, int h,
                  int32_t back, double size)
{
    Button c = make<Button>(name, l, t, w, h, back, size);
    c.Caption = caption;
    return c;
}
} // namespace

Form1::Form1(const FormServices &services)
    : BackColor(rgb(192, 255, 192)),
      Picture6(QStringLiteral("Picture6"), 120, 0, 5175, 4935, kLightCyan, 9.75),
      Picture2(QStringLiteral("Picture2"), 5400, 2160, 5175, 1695, kLightCyan, 18),
      Picture3(QStringLiteral("Picture3"), 5640, 4680, 4335, 1935, kLightCyan, 48),
      Picture4(QStringLiteral("Picture4"), 2520, 5040, 2895, 855, kLightCyan, 20.25),
      Picture5(QStringLiteral("Picture5"), 2520, 6000, 2895, 735, kLightCyan, 20.25),
      Picture7(QStringLiteral("Picture7"), 0, 5040, 5415, 2055, kLightGreen, 18),
      Picture8(QStringLiteral("Picture8"), 5400, 6600, 3255, 615, kYellow, 24),
      // The chart stacks its dates and set names one character per 3 of its
      // 200 units, so its font is small enough for them not to overlap.
      Picture1(QStringLiteral("Picture1"), 480, 240, 8775, 7095, kWhite, 5.25),
      Picture9(QStringLiteral("Picture9"), 5520, 2160, 5055, 4080, kWhite, 11),
      Text2(makeText(QStringLiteral("Text2"), QString(), 5640, 4680, 4215, 1215, kLightCyan, 36, 0)),
      Text6(makeText(QStringLiteral("Text6"), QString(), 240, 3840, 975, 735, kPaleCyan, 36, 1)),
      Text1(makeText(QStringLiteral("Text1"), QStringLiteral("Text1"), 9480, 1200, 855, 375, kNoColor, 9, 2)),
      Text3(makeText(QStringLiteral("Text3"), QStringLiteral("Text3"), 9480, 1680, 855, 390, kNoColor, 9, 3)),
      Text4(makeText(QStringLiteral("Text4"), QStringLiteral("Text4"), 8640, 6840, 1815, 375, kNoColor, 9, 4)),
      Command1(makeButton(QStringLiteral("Command1"), QStringLiteral("5 分　間"), 1200, 840, 3015, 855, kLightGreen, 21.75)),
      Command4(makeButton(QStringLiteral("Command4"), QStringLiteral("連　続　10題"), 5280, 840, 2775, 975, kYellow, 20.25)),
      Command5(makeButton(QStringLiteral("Command5"), QStringLiteral("あってるかな？"), 5760, 4800, 2775, 1095, kPaleYellow, 18)),
      Command3(makeButton(QStringLiteral("Command3"), QStringLiteral("確認したよ！"), 5400, 3840, 1695, 735, kPaleYellow, 12)),
      Command2(makeButton(QStringLiteral("Command2"), QStringLiteral("消す"), 8880, 4560, 735, 855, rgb(255, 255, 128), 18)),
      Command6(makeButton(QStringLiteral("Command6"), QStringLiteral("まちがえた問題をもう一度"), 5520, 6360, 3255, 615, kPaleYellow, 12)),
      Command7(makeButton(QStringLiteral("Command7"), QStringLiteral("やめる"), 6480, 1500, 1095, 495, kWhite, 12)),
      Label7(makeLabel(QStringLiteral("Label7"), QStringLiteral("正解"), 6600, 120, 735, 375, kLightCyan, 0, 18)),
      Label3(makeLabel(QStringLiteral("Label3"), QString(), 7560, 120, 495, 375, kNoColor, rgb(0, 0, 192), 21.75)),
      Label8(makeLabel(QStringLiteral("Label8"), QStringLiteral("ミス"), 6720, 720, 615, 375, kLightCyan, 0, 18)),
      Label4(makeLabel(QStringLiteral("Label4"), QString(), 7560, 720, 495, 375, kNoColor, rgb(255, 0, 0), 21.75)),
      Label9(makeLabel(QStringLiteral("Label9"), QStringLiteral("得点"), 8280, 120, 735, 375, kLightCyan, 0, 18)),
      Label5(makeLabel(QStringLiteral("Label5"), QString(), 9600, 120, 495, 375, kNoColor, 0, 18)),
      Label10(makeLabel(QStringLiteral("Label10"), QStringLiteral("記録"), 8280, 720, 975, 495, kLightCyan, 0, 18)),
      Label6(makeLabel(QStringLiteral("Label6"), QString(), 9360, 720, 1095, 495, kNoColor, rgb(255, 0, 0), 24)),
      Label2(makeLabel(QStringLiteral("Label2"), QStringLiteral("Label2"), 7920, 1440, 1455, 615, kNoColor, rgb(0, 128, 0), 26.25)),
      Label12(makeLabel(QStringLiteral("Label12"), QStringLiteral("正  解"), 600, 5160, 1695, 495, kPaleCyan, 0, 20.25, true)),
      Label13(makeLabel(QStringLiteral("Label13"), QString(), 600, 5880, 1695, 495, kPaleCyan, 0, 20.25, true)),
      Label14(makeLabel(QStringLiteral("Label14"), QString(), 5760, 4920, 1695, 495, kPaleCyan, 0, 20.25, true)),
      s_(services)
{
    Timer1.Name = QStringLiteral("Timer1");
    MMControl1.Name = QStringLiteral("MMControl1");
    MMControl2.Name = QStringLiteral("MMControl2");
    for (Canvas *c : canvases())
        c->setMetrics(&s_.metrics);
    // At design the explanation panel and the chart are hidden, so are the
    // acknowledge and close buttons; the window shows itself at the end of
    // start-up.
    Picture7.Visible = false;
    Picture1.Visible = false;
    Command3.Visible = false;
    Command2.Visible = false;
    Label12.Visible = false;
    Label13.Visible = false;
    Label14.Visible = false;
    Picture9.Visible = false;
    Command6.Visible = false;
    Command7.Visible = false;
    buildMenus();
}

namespace {

struct Entry {
    const char16_t *name;
    const char16_t *caption;
    bool enabled;
};
struct Top {
    const char16_t *name;
    const char16_t *caption;
    std::vector<Entry> items;
};
// The menu bar: six menus, each with its items; the disabled ones are
// shown and cannot be chosen (unless the build offers every set). Then the
// window's own settings.
const std::vector<Top> kMenuTree = {
    {u"thahyo", u"座標",
     {{u"thahyo1", u"座標1", true},
      {u"thahyou2", u"座標2", true},
      {u"zahyou3", u"座標3", true},
      {u"nagasa", u"長さ", true},
      {u"menseki1", u"面積1", true},
      {u"sanmen", u"面積三角形", true},
      {u"enmenko", u"円面弧1", false},
      {u"taiseki", u"体積", false}}},
    {u"kansu1", u"1年関数",
     {{u"graread1", u"ｸﾞﾗﾌ読み1", true},
      {u"graread2", u"ｸﾞﾗﾌ読み2", true},
      {u"grawrite1", u"ｸﾞﾗﾌ書き1", true},
      {u"grawrite2", u"ｸﾞﾗﾌ書き2", true},
      {u"grerewri", u"ｸﾞﾗﾌ読み書き", true}}},
    {u"ouyou1nkansu", u"応用1年関数",
     {{u"senza1", u"線上の座標1", true},
      {u"ouyou1", u"応用１", true},
      {u"ouyou2", u"追うよう2", true},
      {u"ouyou3", u"追うよう3", true}}},
    {u"gra2", u"2年関数",
     {{u"gra2read1", u"ｸﾞﾗﾌ書き1", false},
      {u"gra2read2", u"ｸﾞﾗﾌ書き2", true},
      {u"gura2wri3", u"グラフ書き3", false},
      {u"gurafukaki42n", u"グラフ書き4", false},
      {u"gra2write1", u"ｸﾞﾗﾌ読み1", false},
      {u"gra2write", u"ｸﾞﾗﾌ読み2", false},
      {u"gtyokusen1", u"直線を求める1", false},
      {u"gra2rewri2", u"ｸﾞﾗﾌ読書2", false},
      {u"tyosenten2", u"直線上の点2", false}}},
    {u"itijiouyou", u"一次関数応用",
     {{u"nitentooru", u"二点を通る", false},
      {u"sanmenseki", u"△面積", false},
      {u"sannitoubun", u"△二等分", false}}},
    {u"gra3", u"3年関数",
     {{u"jikan2kaki1", u"2次関数書く1", false},
      {u"jikan2yomi1", u"2次関数読み", false},
      {u"jiken2wari1", u"2次関数変化の割合1", false},
      {u"jiken2iki1", u"2次関数変域", false},
      {u"jikouten", u"2次関数交点", false},
      {u"jimensekio", u"2次関数面積", false}}},
    // The review of what was missed, after the sets' menus: the questions
    // due, with their number in the caption once the record has been read.
    {u"fukusyu", u"復習", {{u"matigai", u"まちがえた問題", false}}},
    {u"settei", u"設定", {{u"atarasiikazu", u"新しい数で出題", true}}},
};

} // namespace

void Form1::buildMenus()
{
    for (const Top &top : kMenuTree) {
        MenuItem m;
        m.Name = QString::fromUtf16(top.name);
        m.Caption = QString::fromUtf16(top.caption);
        menuItems.push_back(m);
        for (const Entry &e : top.items) {
            MenuItem item;
            item.Name = QString::fromUtf16(e.name);
            item.Caption = QString::fromUtf16(e.caption);
            item.Parent = m.Name;
            item.Enabled = e.enabled || s_.allSets;
            menuItems.push_back(item);
        }
    }
    // Only what is due enables the review, whatever sets are offered.
    menuItem(QStringLiteral("matigai"))->Enabled = false;
}

Canvas *Form1::canvas(const QString &name)
{
    for (Canvas *c : canvases())
        if (c->Name == name)
            return c;
    return nullptr;
}

TextBox *Form1::textBox(const QString &name)
{
    for (TextBox *c : textBoxes())
        if (c->Name == name)
            return c;
    return nullptr;
}

Button *Form1::button(const QString &name)
{
    for (Button *c : buttons())
        if (c->Name == name)
            return c;
    return nullptr;
}

Label *Form1::label(const QString &name)
{
    for (Label *c : labels())
        if (c->Name == name)
            return c;
    return nullptr;
}

MenuItem *Form1::menuItem(const QString &name)
{
    for (MenuItem &m : menuItems)
        if (m.Name == name)
            return &m;
    return nullptr;
}

std::vector<Canvas *> Form1::canvases()
{
    return {&Picture6, &Picture2, &Picture3, &Picture4, &Picture5, &Picture7, &Picture8, &Picture1, &Picture9};
}

std::vector<TextBox *> Form1::textBoxes() { return {&Text2, &Text6, &Text1, &Text3, &Text4}; }

std::vector<Button *> Form1::buttons()
{
    return {&Command1, &Command4, &Command5, &Command3, &Command2, &Command6, &Command7};
}

std::vector<Label *> Form1::labels()
{
    return {&Label7, &Label3, &Label8, &Label4, &Label9, &Label5,
            &Label10, &Label6, &Label2, &Label12, &Label13, &Label14};
}

// Nobody is left to be told of a fault by then.
Form1::~Form1() { flushRecord(false); }

void Form1::setFocus(TextBox &box)
{
    for (TextBox *t : textBoxes())
        t->Focused = (t == &box);
}

void Form1::endProgram(const QString &reason)
{
    closed = true;
    throw ProgramEnd{reason};
}
