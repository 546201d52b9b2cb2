// Times the program itself, the installed korvane binary, from its exec to
// the record list painted on an X display, and takes its memory from the
// kernel, beside a plain Qt Widgets window that shows one empty list
// (korvane_plainwindow). Run it on a display of its own: run.sh starts it
// under xvfb-run. With --markdown it prints a table for the README.
//
// Each start gets a home of its own with the real settings file, data
// folder, instance lock and database file, as a user's start finds them.
// The program is watched from outside, as any X client can: new top-level
// windows are seen as the server creates and maps them, and the DAMAGE
// extension reports every area drawn into them. The list counts as painted
// at the last large drawing (a text cursor's blink is far smaller) before the
// window stays still for a while; a look at the pixels then checks that a
// filled list shows more text than an empty one. Header clicks are sent
// through the XTEST extension and must each repaint the list.

#include "benchmarkdata.h"
#include "benchmarkreport.h"
#include "store/databasefiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

extern char **environ;

namespace {

// Drawing smaller than this is a blinking cursor or a hovered header, not
// the list.
constexpr int LargeDrawingPixels = 4000;
// How long a window must stay still after its last large drawing.
constexpr int StillMs = 1000;
constexpr int PatienceMs = 30000;

double NowMs()
{
    return double(std::chrono::duration_cast<std::chrono::microseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count())
           / 1e3;
}

// A home with the files a user's start finds: the settings file (grid lines
// on, the first database) and the first database with the given records.
class ProgramHome
{
public:
    explicit ProgramHome(int records)
    {
        const QDir root(m_root.path());
        for (const char *folder : {"home", "config/Tessaly", "data/Tessaly/Korvane", "cache", "run"})
            root.mkpath(QString::fromLatin1(folder));
        QFile::setPermissions(root.filePath(u"run"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        Write(root.filePath(u"config/Tessaly/Korvane.conf"_s), "[General]\n102=True\n103=1\n");
        if (records > 0)
            Write(DatabaseFiles::DatabaseFilePath(root.filePath(u"data/Tessaly/Korvane"_s), 1),
                  MakeBenchmarkFile(MakeBenchmarkRecords(records)));
    }

    std::vector<std::string> Environment() const
    {
        const std::string root = m_root.path().toStdString();
        std::vector<std::string> environment;
        for (char **entry = environ; *entry; ++entry) {
            const std::string variable(*entry);
            if (!variable.starts_with("HOME=") && !variable.starts_with("XDG_"))
                environment.push_back(variable);
        }
        environment.push_back("HOME=" + root + "/home");
        environment.push_back("XDG_CONFIG_HOME=" + root + "/config");
        environment.push_back("XDG_DATA_HOME=" + root + "/data");
        environment.push_back("XDG_CACHE_HOME=" + root + "/cache");
        environment.push_back("XDG_RUNTIME_DIR=" + root + "/run");
        return environment;
    }

private:
    static void Write(const QString &path, const QByteArray &content)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
    }

    QTemporaryDir m_root;
};

// What one start showed, in milliseconds from the exec.
struct Start
{
    double splashShownMs = -1;
    double splashGoneMs = -1;
    double paintedMs = -1;
    Window window = 0;
    double peakAtPaintMegabytes = 0;
    long darkPixels = 0;
};

class XWatch
{
public:
    XWatch()
        : m_display(XOpenDisplay(nullptr))
    {
        int error = 0;
        int major = 0;
        int minor = 0;
        int xtestEvent = 0;
        if (!m_display || !XDamageQueryExtension(m_display, &m_damageEvent, &error)
            || !XTestQueryExtension(m_display, &xtestEvent, &error, &major, &minor))
            qFatal("this benchmark needs an X display with the DAMAGE and XTEST extensions");
        XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
        m_pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
        m_typeAtom = XInternAtom(m_display, "_NET_WM_WINDOW_TYPE", False);
        m_splashAtom = XInternAtom(m_display, "_NET_WM_WINDOW_TYPE_SPLASH", False);
    }
    ~XWatch() { XCloseDisplay(m_display); }

    // Waits until the program's main window has been drawn and stays still.
    std::optional<Start> WatchStart(pid_t pid, double launchedMs)
    {
        Start start;
        double lastLarge = -1;
        const double deadline = launchedMs + PatienceMs;
        for (;;) {
            const double now = NowMs();
            if (now > deadline)
                return std::nullopt;
            if (lastLarge >= 0 && now - lastLarge >= StillMs)
                break;
            XEvent event;
            if (!NextEvent(event))
                continue;
            const double at = NowMs() - launchedMs;
            if (event.type == CreateNotify) {
                XDamageCreate(m_display, event.xcreatewindow.window, XDamageReportRawRectangles);
            } else if (event.type == MapNotify && PidOf(event.xmap.window) == pid) {
                if (IsSplash(event.xmap.window))
                    start.splashShownMs = at;
                else if (!start.window)
                    start.window = event.xmap.window;
            } else if ((event.type == UnmapNotify || event.type == DestroyNotify) && start.splashShownMs >= 0
                       && start.splashGoneMs < 0 && !start.window) {
                start.splashGoneMs = at;
            } else if (event.type == m_damageEvent + XDamageNotify) {
                const auto &damage = reinterpret_cast<const XDamageNotifyEvent &>(event);
                if (start.window && damage.drawable == start.window
                    && damage.area.width * damage.area.height >= LargeDrawingPixels) {
                    start.paintedMs = at;
                    lastLarge = NowMs();
                }
            }
        }
        start.darkPixels = DarkPixels(start.window);
        return start;
    }

    // Clicks at a point of the window and waits until the list has been
    // redrawn and stays still; false when nothing large was drawn.
    bool ClickAndWait(Window window, int x, int y)
    {
        Window child = 0;
        int rootX = 0;
        int rootY = 0;
        XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), x, y, &rootX, &rootY, &child);
        XTestFakeMotionEvent(m_display, -1, rootX, rootY, CurrentTime);
        XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
        XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
        XFlush(m_display);
        bool drawn = false;
        const double clicked = NowMs();
        double last = clicked;
        while (drawn ? NowMs() - last < StillMs / 2.0 : NowMs() - clicked < PatienceMs / 6.0) {
            XEvent event;
            if (!NextEvent(event))
                continue;
            if (event.type == m_damageEvent + XDamageNotify) {
                const auto &damage = reinterpret_cast<const XDamageNotifyEvent &>(event);
                if (damage.drawable == window && damage.area.width * damage.area.height >= LargeDrawingPixels) {
                    drawn = true;
                    last = NowMs();
                }
            }
        }
        return drawn;
    }

private:
    // The next event from the server; false when none came within 20 ms,
    // so that the caller's deadlines are looked at again.
    bool NextEvent(XEvent &event)
    {
        if (!XPending(m_display)) {
            pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
            poll(&connection, 1, 20);
            return false;
        }
        XNextEvent(m_display, &event);
        return true;
    }

    long PropertyNumber(Window window, Atom property, Atom type) const
    {
        Atom actualType = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        long value = -1;
        if (XGetWindowProperty(m_display, window, property, 0, 1, False, type, &actualType, &format, &count, &after,
                               &data)
                == Success
            && data && count > 0 && format == 32)
            value = reinterpret_cast<long *>(data)[0];
        if (data)
            XFree(data);
        return value;
    }

    pid_t PidOf(Window window) const { return pid_t(PropertyNumber(window, m_pidAtom, XA_CARDINAL)); }
    bool IsSplash(Window window) const { return Atom(PropertyNumber(window, m_typeAtom, XA_ATOM)) == m_splashAtom; }

    // Pixels much darker than a window's background: the text shown.
    long DarkPixels(Window window) const
    {
        XWindowAttributes attributes;
        if (!window || !XGetWindowAttributes(m_display, window, &attributes))
            return 0;
        XImage *image = XGetImage(m_display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
        if (!image)
            return 0;
        long dark = 0;
        for (int y = 0; y < attributes.height; ++y) {
            for (int x = 0; x < attributes.width; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                dark += ((pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF)) < 3 * 100;
            }
        }
        XDestroyImage(image);
        return dark;
    }

    ::Display *m_display;
    int m_damageEvent = 0;
    Atom m_pidAtom;
    Atom m_typeAtom;
    Atom m_splashAtom;
};

pid_t Launch(const QString &program, const std::vector<std::string> &environment)
{
    std::vector<char *> variables;
    for (const std::string &variable : environment)
        variables.push_back(const_cast<char *>(variable.c_str()));
    variables.push_back(nullptr);
    const std::string path = program.toStdString();
    const pid_t pid = fork();
    if (pid == 0) {
        char *const arguments[] = {const_cast<char *>(path.c_str()), nullptr};
        execve(path.c_str(), arguments, variables.data());
        _exit(127);
    }
    return pid;
}

double PeakMegabytes(pid_t pid)
{
    QFile status(u"/proc/%1/status"_s.arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
        }
    }
    return 0;
}

// Ends the program and returns the kernel's figure for its resident peak
// over its whole life.
double StopAndReap(pid_t pid)
{
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return double(usage.ru_maxrss) / 1024;
}

// Where the header sections of the main window's list lie, for the default
// window size on a 96-DPI display: the list's designed place and its
// designed column widths (the collapsed Recorded column cannot be clicked).
struct HeaderPoint
{
    const char *caption;
    int x;
};
constexpr int ListLeft = 5;
constexpr int HeaderMiddle = 160;
constexpr HeaderPoint HeaderSections[] = {
    {"Product", ListLeft + 48},       {"Registrant", ListLeft + 144},  {"Customer ID", ListLeft + 240},
    {"Registration", ListLeft + 382}, {"Web Contact", ListLeft + 524}, {"Registration Date", ListLeft + 605},
};

struct Scenario
{
    const char *name;
    int records;
    bool program;
    ProgramHome *home;
    Runs startMs;
    Runs ratio;
    Runs peakMegabytes;
    Runs splashShownMs;
    Runs splashMs;
    Runs afterSplashMs;
    Runs sortedPeakMegabytes;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    BenchmarkReport report(argc, argv);
    const QDir here(QCoreApplication::applicationDirPath());
    const QString korvane = here.filePath(u"../src/app/korvane"_s);
    const QString plain = here.filePath(u"korvane_plainwindow"_s);
    const int rounds = qEnvironmentVariableIsSet("START_ROUNDS") ? qEnvironmentVariableIntValue("START_ROUNDS") : 11;

    XWatch display;
    ProgramHome plainHome(0);
    ProgramHome emptyHome(0);
    ProgramHome smallHome(1000);
    ProgramHome fullHome(32767);
    std::vector<Scenario> scenarios = {
        {"plain Qt window, one empty list", 0, false, &plainHome, {}, {}, {}, {}, {}, {}, {}},
        {"Korvane, empty database", 0, true, &emptyHome, {}, {}, {}, {}, {}, {}, {}},
        {"Korvane, 1,000 records", 1000, true, &smallHome, {}, {}, {}, {}, {}, {}, {}},
        {"Korvane, 32,767 records", 32767, true, &fullHome, {}, {}, {}, {}, {}, {}, {}},
    };
    bool failed = false;
    for (int round = 0; round < rounds && !failed; ++round) {
        double plainMs = 0;
        long emptyDark = 0;
        for (Scenario &scenario : scenarios) {
            const double launched = NowMs();
            const pid_t pid = Launch(scenario.program ? korvane : plain, scenario.home->Environment());
            const std::optional<Start> start = display.WatchStart(pid, launched);
            const double peak = PeakMegabytes(pid);
            const char *unanswered = nullptr;
            if (start && scenario.records == 32767) {
                for (const HeaderPoint &section : HeaderSections) {
                    if (!unanswered && !display.ClickAndWait(start->window, section.x, HeaderMiddle))
                        unanswered = section.caption;
                }
            }
            const double lifePeak = StopAndReap(pid);
            if (!start || (scenario.program && start->splashGoneMs < 0) || unanswered
                || (scenario.records > 0 && start->darkPixels <= emptyDark)) {
                std::printf("%s: a start failed (%s%s)\n", scenario.name,
                            !start       ? "no window painted in time"
                            : unanswered ? "no drawing after a click on "
                                         : "no rows or no splash seen",
                            unanswered ? unanswered : "");
                failed = true;
                break;
            }
            const double splash = scenario.program ? start->splashGoneMs - start->splashShownMs : 0;
            const double ms = start->paintedMs - splash;
            scenario.startMs.Add(ms);
            scenario.peakMegabytes.Add(peak);
            if (!scenario.program) {
                plainMs = ms;
            } else {
                scenario.ratio.Add(ms / plainMs);
                scenario.splashShownMs.Add(start->splashShownMs);
                scenario.splashMs.Add(splash);
                scenario.afterSplashMs.Add(start->paintedMs - start->splashGoneMs);
            }
            if (scenario.program && scenario.records == 0)
                emptyDark = start->darkPixels;
            if (scenario.records == 32767)
                scenario.sortedPeakMegabytes.Add(lifePeak);
        }
    }
    if (failed)
        return 1;

    const Scenario &plainWindow = scenarios[0];
    const Scenario &empty = scenarios[1];
    const Scenario &small = scenarios[2];
    const Scenario &full = scenarios[3];
    report.Heading("Start-up of korvane on an X display (Xvfb), " + std::to_string(rounds) + " rounds");
    report.Note("Each round starts the plain window, then Korvane with 0, 1,000 and 32,767 records, each a fresh");
    report.Note("process with its own settings file, lock and data folder. A start is timed from the exec to the");
    report.Note("list painted; Korvane's splash stays up for its designed 3000 ms, and the time its splash");
    report.Note("window was on screen is subtracted. Ratios are to the plain window of the same round.");
    report.Figure(std::string(plainWindow.name) + ": exec to painted", plainWindow.startMs, "ms");
    report.Figure("Korvane, empty: exec to painted, less the splash", empty.startMs, "ms");
    report.Figure("Korvane, empty / the plain window", empty.ratio, "x", {Target::AtMost, 1.15});
    report.Figure("Korvane, 1,000: exec to painted, less the splash", small.startMs, "ms");
    report.Figure("Korvane, 1,000 / the plain window", small.ratio, "x");
    report.Figure("Korvane, 32,767: exec to painted, less the splash", full.startMs, "ms");
    report.Figure("Korvane, 32,767 / the plain window", full.ratio, "x", {Target::AtMost, 1.6});
    report.Figure("Korvane, empty: exec to splash shown", empty.splashShownMs, "ms");
    report.Figure("Korvane, empty: splash on screen", empty.splashMs, "ms");
    report.Figure("Korvane, empty: splash gone to list painted", empty.afterSplashMs, "ms");
    report.Figure("Korvane, 32,767: splash gone to list painted", full.afterSplashMs, "ms");
    report.Figure("peak memory, plain window", plainWindow.peakMegabytes, "MB");
    report.Figure("peak memory at paint, empty", empty.peakMegabytes, "MB");
    report.Figure("peak memory at paint, 1,000", small.peakMegabytes, "MB");
    report.Figure("peak memory at paint, 32,767", full.peakMegabytes, "MB", {Target::AtMost, 45});
    report.Figure("peak memory after sorting every column, 32,767", full.sortedPeakMegabytes, "MB",
                  {Target::AtMost, 48});
    return report.ExitCode();
}
