#pragma once
// Plain models of the window's controls. The form changes them; the view and
// the driver read them. Positions are twips in the window's client area,
// colours 24-bit values with red in the lowest byte.
#include <QString>

#include <cstdint>
#include <optional>

inline constexpr int32_t kNoColor = -1; // "as the platform draws it"

struct ControlLook {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int32_t BackColor = kNoColor;
    int32_t ForeColor = 0;
    double FontSize = 9;
    bool FontBold = false;
    QString FontName = QStringLiteral("ＭＳ Ｐゴシック");
    bool operator==(const ControlLook &) const = default;
};

// How often a control's look and text have changed. The form sets its
// controls' fields as it goes; whoever shows a control asks for the count
// when it catches up, and the count has grown when what the control shows
// differs from what it showed at the last asking. A view that keeps the
// count it showed last knows whether it has anything to do.
class ChangeCount {
public:
    uint64_t of(const ControlLook &look, const QString &text, bool visible) const
    {
        if (!seen_ || !(seen_->look == look) || seen_->text != text || seen_->visible != visible) {
            seen_ = Seen{look, text, visible};
            ++count_;
        }
        return count_;
    }

private:
    struct Seen {
        ControlLook look;
        QString text;
        bool visible;
    };
    mutable std::optional<Seen> seen_;
    mutable uint64_t count_ = 0;
};

struct Label : ControlLook {
    QString Name;
    QString Caption;
    bool Visible = true;
    uint64_t changeCount() const { return changes_.of(*this, Caption, Visible); }

private:
    ChangeCount changes_;
};

struct TextBox : ControlLook {
    QString Name;
    QString Text;
    bool Visible = true;
    bool Focused = false;
    int TabIndex = 0;
    uint64_t changeCount() const { return changes_.of(*this, Text, Visible); }

private:
    ChangeCount changes_;
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
