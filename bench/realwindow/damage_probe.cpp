// Times what a learner sees in the real window: events injected into an X
// server with XTest at a steady rate, and every damage rectangle the window
// (and any window inside it) reports, timestamped as it arrives. An event's
// repaint ends with the last rectangle before the damage falls silent for a
// while (30 ms unless told); its time is from the injection to that last
// rectangle. Idle mode only counts what the window repaints by itself.
//
//   damage_probe (--name TEXT | --pid PID) keys   [--count N] [--keys "1 2 BackSpace"]
//   damage_probe (--name TEXT | --pid PID) moves  [--count N] [--at FX,FY] [--radius FR]
//   damage_probe (--name TEXT | --pid PID) idle   [--seconds S]
//   common: [--rate 25] [--settle 30] [--learn S] [--out FILE] [--verbose] [--no-focus]
//
// --learn watches the window idle for S seconds first: rectangles it
// repaints by itself then (a clock) are left out of the events' times.
// --verbose lists every rectangle of every event on stderr.
//
// --at is the point pressed, as fractions of the window's width and height;
// the pointer then circles it at --radius (a fraction of the window's width)
// with the button held, a little further round at each move. --out appends
// every event's time in milliseconds (one a line) so rounds can be pooled.
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/XTest.h>

#include <poll.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Options {
    std::string name;
    long pid = 0;
    std::string mode;
    int count = 200;
    double rate = 25;
    double settle = 30;
    double seconds = 10;
    double learn = 0;
    std::string keys = "1 2 period 5 BackSpace BackSpace BackSpace BackSpace";
    double atX = 0.5, atY = 0.5, radius = 0.1;
    std::string out;
    bool focus = true;
    bool verbose = false;
};

[[noreturn]] void usage(const char *why)
{
    std::fprintf(stderr, "damage_probe: %s\n"
                         "usage: damage_probe (--name TEXT | --pid PID) keys|moves|idle [--count N] [--seconds S]\n"
                         "       [--keys \"1 2 BackSpace\"] [--at FX,FY] [--radius FR] [--rate HZ] [--settle MS]\n"
                         "       [--learn S] [--out FILE] [--verbose] [--no-focus]\n",
                 why);
    std::exit(2);
}

Options parse(int argc, char **argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                usage(("missing value after " + a).c_str());
            return argv[++i];
        };
        if (a == "--name")
            o.name = value();
        else if (a == "--pid")
            o.pid = std::strtol(value().c_str(), nullptr, 10);
        else if (a == "--count")
            o.count = std::max(1, std::atoi(value().c_str()));
        else if (a == "--rate")
            o.rate = std::max(0.1, std::atof(value().c_str()));
        else if (a == "--settle")
            o.settle = std::max(1.0, std::atof(value().c_str()));
        else if (a == "--seconds")
            o.seconds = std::max(0.1, std::atof(value().c_str()));
        else if (a == "--learn")
            o.learn = std::max(0.0, std::atof(value().c_str()));
        else if (a == "--keys")
            o.keys = value();
        else if (a == "--at") {
            const std::string v = value();
            if (std::sscanf(v.c_str(), "%lf,%lf", &o.atX, &o.atY) != 2)
                usage("--at takes FX,FY");
        } else if (a == "--radius")
            o.radius = std::atof(value().c_str());
        else if (a == "--out")
            o.out = value();
        else if (a == "--verbose")
            o.verbose = true;
        else if (a == "--no-focus")
            o.focus = false;
        else if (a == "keys" || a == "moves" || a == "idle")
            o.mode = a;
        else
            usage(("unknown argument " + a).c_str());
    }
    if (o.mode.empty())
        usage("no mode (keys, moves or idle)");
    if (o.name.empty() && o.pid == 0)
        usage("no window (--name or --pid)");
    return o;
}

std::string windowName(Display *d, Window w)
{
    Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char *data = nullptr;
    std::string name;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &n, &after, &data) == Success && data) {
        name.assign(reinterpret_cast<char *>(data), n);
        XFree(data);
    }
    if (name.empty()) {
        char *old = nullptr;
        if (XFetchName(d, w, &old) && old) {
            name = old;
            XFree(old);
        }
    }
    return name;
}

long windowPid(Display *d, Window w)
{
    Atom pidAtom = XInternAtom(d, "_NET_WM_PID", False);
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char *data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(d, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &n, &after, &data) == Success
        && data) {
        if (n == 1)
            pid = long(*reinterpret_cast<unsigned long *>(data));
        XFree(data);
    }
    return pid;
}

std::vector<Window> children(Display *d, Window w)
{
    Window root, parent, *kids = nullptr;
    unsigned n = 0;
    std::vector<Window> out;
    if (XQueryTree(d, w, &root, &parent, &kids, &n)) {
        out.assign(kids, kids + n);
        if (kids)
            XFree(kids);
    }
    return out;
}

// The largest viewable top-level window that matches; helper windows a
// toolkit keeps unmapped are passed over.
Window findWindow(Display *d, const Options &o)
{
    Window best = 0;
    long bestArea = 0;
    for (Window w : children(d, DefaultRootWindow(d))) {
        XWindowAttributes at;
        if (!XGetWindowAttributes(d, w, &at) || at.map_state != IsViewable)
            continue;
        const bool match = o.pid ? windowPid(d, w) == o.pid : windowName(d, w).find(o.name) != std::string::npos;
        const long area = long(at.width) * at.height;
        if (match && area > bestArea) {
            best = w;
            bestArea = area;
        }
    }
    return best;
}

struct Rect {
    double t;
    int x, y, w, h;
    long area() const { return long(w) * h; }
    bool sameSpot(const Rect &o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

class Probe {
public:
    Probe(Display *d, Window w) : d_(d), w_(w)
    {
        int error;
        if (!XDamageQueryExtension(d, &damageEvent_, &error))
            usage("the X server has no DAMAGE extension");
        watch(w);
    }

    // Every damage rectangle that has arrived, with its time of arrival;
    // waits at most until `until` for the first.
    void pump(double until)
    {
        for (;;) {
            while (XPending(d_)) {
                XEvent e;
                XNextEvent(d_, &e);
                const double t = nowMs();
                if (e.type == damageEvent_ + XDamageNotify) {
                    const auto &de = reinterpret_cast<const XDamageNotifyEvent &>(e);
                    rects_.push_back({t, de.area.x, de.area.y, de.area.width, de.area.height});
                }
            }
            const double left = until - nowMs();
            if (left <= 0)
                return;
            pollfd p{ConnectionNumber(d_), POLLIN, 0};
            poll(&p, 1, int(std::ceil(left)));
            if (!(p.revents & POLLIN))
                return;
        }
    }

    std::vector<Rect> take()
    {
        std::vector<Rect> r;
        r.swap(rects_);
        return r;
    }

private:
    void watch(Window w)
    {
        // Raw rectangles: each drawing reported as it happens, nothing merged.
        XDamageCreate(d_, w, XDamageReportRawRectangles);
        for (Window c : children(d_, w))
            watch(c);
    }

    Display *d_;
    Window w_;
    int damageEvent_ = 0;
    std::vector<Rect> rects_;
};

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, size_t(std::ceil(p * double(v.size()))) - (p > 0 ? 1 : 0));
    return v[i];
}

// One event injected at a time, each at its slot of the steady rate (later
// when the last one's repaint is still going on), and the damage after it
// gathered until it has been silent for the settle time.
struct Timed {
    std::vector<double> ms;
    int undamaged = 0;
    long rects = 0;
    long background = 0;
    double area = 0;
    double elapsed = 0;
};

// Damage the window makes by itself (a clock) lands on the same rectangles
// each time; those seen while idle before the run are no event's repaint.
bool isBackground(const std::vector<Rect> &learned, const Rect &r)
{
    return std::any_of(learned.begin(), learned.end(), [&](const Rect &l) { return l.sameSpot(r); });
}

template <class Inject>
Timed timeEvents(Probe &probe, const Options &o, const std::vector<Rect> &learned, Inject &&inject)
{
    Timed result;
    const double period = 1000.0 / o.rate;
    probe.pump(nowMs() + o.settle); // whatever was on its way
    probe.take();
    const double start = nowMs();
    double next = start;
    for (int i = 0; i < o.count; ++i) {
        probe.pump(next);
        probe.take(); // damage that came late for the last event is nobody's
        const double t0 = nowMs();
        if (o.verbose) // on the monotonic clock, to lay beside the program's own times
            std::fprintf(stderr, "event %d injected at %.3f ms\n", i, t0);
        inject(i);
        double last = t0;
        // At least the settle time, and never past the time the repaint
        // would have to take to count as lost.
        while (true) {
            const double wait = last + o.settle;
            probe.pump(wait);
            std::vector<Rect> got = probe.take();
            bool fresh = false;
            for (const Rect &r : got) {
                if (o.verbose)
                    std::fprintf(stderr, "event %d +%.2f ms %dx%d at %d,%d%s\n", i, r.t - t0, r.w, r.h, r.x, r.y,
                                 isBackground(learned, r) ? " (idle)" : "");
                if (isBackground(learned, r)) {
                    ++result.background;
                    continue;
                }
                fresh = true;
                last = std::max(last, r.t);
                ++result.rects;
                result.area += double(r.area());
            }
            if (!fresh && nowMs() >= wait)
                break;
            if (nowMs() - t0 > 1000)
                break;
        }
        if (last > t0)
            result.ms.push_back(last - t0);
        else
            ++result.undamaged;
        next = std::max(t0 + period, nowMs());
    }
    result.elapsed = nowMs() - start;
    return result;
}

void report(const Options &o, const Timed &t)
{
    const double n = double(t.ms.size() + size_t(t.undamaged));
    std::printf("mode=%s events=%.0f damaged=%zu p50_ms=%.2f p99_ms=%.2f max_ms=%.2f rects_per_event=%.1f "
                "area_per_event=%.0f background_rects=%ld rate_hz=%.1f\n",
                o.mode.c_str(), n, t.ms.size(), percentile(t.ms, 0.5), percentile(t.ms, 0.99),
                t.ms.empty() ? 0 : *std::max_element(t.ms.begin(), t.ms.end()), double(t.rects) / n, t.area / n, t.background,
                n * 1000 / t.elapsed);
    if (!o.out.empty()) {
        std::ofstream f(o.out, std::ios::app);
        for (double v : t.ms)
            f << v << '\n';
    }
}

} // namespace

int main(int argc, char **argv)
{
    const Options o = parse(argc, argv);
    Display *d = XOpenDisplay(nullptr);
    if (!d)
        usage("cannot open the display");
    int ev, err, major, minor;
    if (!XTestQueryExtension(d, &ev, &err, &major, &minor))
        usage("the X server has no XTEST extension");
    const Window w = findWindow(d, o);
    if (!w)
        usage("no viewable window matches");
    XWindowAttributes at;
    XGetWindowAttributes(d, w, &at);
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &rootX, &rootY, &child);
    std::fprintf(stderr, "window 0x%lx \"%s\" %dx%d at %d,%d\n", w, windowName(d, w).c_str(), at.width, at.height,
                 rootX, rootY);
    if (o.focus) {
        // No window manager gives the focus: the window takes it here.
        XRaiseWindow(d, w);
        XSetInputFocus(d, w, RevertToParent, CurrentTime);
        XSync(d, False);
    }
    Probe probe(d, w);
    XSync(d, False);

    if (o.mode == "idle") {
        probe.pump(nowMs() + o.settle);
        probe.take();
        const double start = nowMs();
        probe.pump(start + o.seconds * 1000);
        while (nowMs() < start + o.seconds * 1000)
            probe.pump(start + o.seconds * 1000);
        const std::vector<Rect> got = probe.take();
        // A repaint: rectangles that arrive together, apart from the next
        // by more than the settle time.
        int repaints = 0;
        double area = 0, lastT = -1e9;
        for (const Rect &r : got) {
            if (r.t - lastT > o.settle)
                ++repaints;
            lastT = r.t;
            area += double(r.area());
        }
        std::printf("mode=idle seconds=%.1f repaints_per_s=%.2f rects_per_s=%.2f area_per_s=%.0f area_per_repaint=%.0f\n",
                    o.seconds, repaints / o.seconds, double(got.size()) / o.seconds, area / o.seconds,
                    repaints ? area / repaints : 0.0);
        XCloseDisplay(d);
        return 0;
    }

    std::vector<Rect> learned;
    if (o.learn > 0) {
        for (double end = nowMs() + o.learn * 1000; nowMs() < end;)
            probe.pump(end);
        learned = probe.take();
        std::fprintf(stderr, "learned %zu idle rectangles\n", learned.size());
    }

    Timed t;
    if (o.mode == "keys") {
        std::vector<KeyCode> codes;
        std::istringstream in(o.keys);
        for (std::string k; in >> k;) {
            const KeySym s = XStringToKeysym(k.c_str());
            const KeyCode c = s == NoSymbol ? 0 : XKeysymToKeycode(d, s);
            if (!c)
                usage(("no key for " + k).c_str());
            codes.push_back(c);
        }
        if (codes.empty())
            usage("no keys");
        t = timeEvents(probe, o, learned, [&](int i) {
            const KeyCode c = codes[size_t(i) % codes.size()];
            XTestFakeKeyEvent(d, c, True, 0);
            XTestFakeKeyEvent(d, c, False, 0);
            XFlush(d);
        });
    } else {
        const int screen = DefaultScreen(d);
        const double cx = rootX + o.atX * at.width, cy = rootY + o.atY * at.height;
        const double r = o.radius * at.width;
        XTestFakeMotionEvent(d, screen, int(std::lround(cx)), int(std::lround(cy)), 0);
        XTestFakeButtonEvent(d, 1, True, 0);
        XFlush(d);
        probe.pump(nowMs() + 100);
        probe.take();
        t = timeEvents(probe, o, learned, [&](int i) {
            const double angle = 0.13 * (i + 1);
            XTestFakeMotionEvent(d, screen, int(std::lround(cx + r * std::cos(angle))),
                                 int(std::lround(cy + r * std::sin(angle))), 0);
            XFlush(d);
        });
        XTestFakeButtonEvent(d, 1, False, 0);
        XFlush(d);
    }
    report(o, t);
    XCloseDisplay(d);
    return 0;
}
