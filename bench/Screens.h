#pragma once
// The screens the window's benchmarks run on: a 1920×1080 screen at one and
// at two device pixels per pixel, side by side. Qt's offscreen platform
// reads the screens from a configuration file; the second is made a 4K
// screen scaled by two, as a desktop scales its windows (the offscreen
// platform's own ratio would paint the window at one pixel all the same).
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QString>

#include <vector>

namespace benchscreens {

inline constexpr int kWidth = 1920, kHeight = 1080;

// The configuration of screens at these ratios, the first the primary one.
inline QByteArray config(const std::vector<double> &ratios)
{
    QByteArray screens;
    int x = 0;
    for (std::size_t i = 0; i < ratios.size(); ++i) {
        if (i)
            screens += ',';
        const int w = int(kWidth * ratios[i]), h = int(kHeight * ratios[i]);
        screens += QStringLiteral(R"({"name":"screen%1","x":%2,"y":0,"width":%3,"height":%4,)"
                                  R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1})")
                       .arg(i)
                       .arg(x)
                       .arg(w)
                       .arg(h)
                       .toUtf8();
        x += w;
    }
    return R"({"synchronousWindowSystemEvents":false,"windowFrameMargins":false,"screens":[)" + screens + "]}";
}

// The environment that opens a program on those screens.
struct Environment {
    QByteArray platform;     // QT_QPA_PLATFORM
    QByteArray scaleFactors; // QT_SCREEN_SCALE_FACTORS
};

// Writes the configuration to path.
inline Environment environmentFor(const QString &path, const std::vector<double> &ratios)
{
    Environment env{"offscreen", ""};
    for (std::size_t i = 0; i < ratios.size(); ++i)
        env.scaleFactors += (i ? ";" : "") + QByteArray::number(ratios[i]);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(config(ratios)) > 0)
        env.platform = "offscreen:configfile=" + QFile::encodeName(path);
    return env;
}

// The screen of that ratio, or the primary one.
inline QScreen *screenAt(double ratio)
{
    for (QScreen *s : QGuiApplication::screens())
        if (s->devicePixelRatio() == ratio)
            return s;
    return QGuiApplication::primaryScreen();
}

} // namespace benchscreens
