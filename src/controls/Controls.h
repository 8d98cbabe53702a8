#pragma once
// Plain models of the window's controls. The form changes them; the view and
// the driver read them. Positions are twips in the window's client area,
// colours 24-bit values with red in the lowest byte.
#include <QString>

#include <cstdint>

inline constexpr int32_t kNoColor = -1; // "as the platform draws it"

struct ControlLook {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int32_t BackColor = kNoColor;
    int32_t ForeColor = 0;
    double FontSize = 9;
    bool FontBold = false;
    QString FontName = QStringLiteral("ＭＳ Ｐゴシック");
};

struct Label : ControlLook {
    QString Name;
    QString Caption;
    bool Visible = true;
};

struct TextBox : ControlLook {
    QString Name;
    QString Text;
    bool Visible = true;
    bool Focused = false;
    int TabIndex = 0;
};

struct Button : ControlLook {
    QString Name;
    QString Caption;
    bool Visible = true;
    bool Enabled = true;
};

struct MenuItem {
    QString Name;
    QString Caption;
    QString Parent; // empty for a top-level menu
    bool Enabled = true;
    bool Checked = false;
    bool Visible = true;
};

struct Timer {
    QString Name;
    int Interval = 0; // milliseconds; 0 stops the timer
    bool Enabled = false;
};

// A media control: the file it holds and the commands sent to it, in order.
struct MmControl {
    QString Name;
    QString FileName;
    QString LastCommand;
};
