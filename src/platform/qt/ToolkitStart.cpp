#include "platform/qt/ToolkitStart.h"

#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#endif
#ifdef SUDOKU_HAVE_XCB
#include <xcb/xcb.h>
#endif

#include "platform/qt/Env.h"

namespace sudoku::qt {
namespace {

// A display or compositor that accepts the connection and then stays silent may hold the start
// this long; an X display that keeps answering, however slowly, holds it as long as it takes.
constexpr unsigned kPatienceSeconds = 3;

struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};

QtMessageHandler previousHandler = nullptr;
std::vector<HeldMessage> held;
std::vector<std::string> missing;  // what could not be opened, in the words shown to the user
std::string xShown, waylandShown;  // e.g. (DISPLAY=":0")
bool displaySet = false;
char silentX[512], silentWayland[512];  // written from the alarm's handler
volatile std::sig_atomic_t waylandFailed = 0;
#ifdef Q_OS_UNIX
struct sigaction previousAlarm {};

std::int64_t Now() {  // nanoseconds, safe in a signal handler
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

constexpr std::int64_t kPatience = std::int64_t{kPatienceSeconds} * 1'000'000'000;

// The alarm in so many nanoseconds; 0 stops it. Also from the signal handler.
void Arm(std::int64_t ns) {
    itimerval t {};
    t.it_value.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
    t.it_value.tv_usec = static_cast<suseconds_t>(ns % 1'000'000'000 / 1000);
    setitimer(ITIMER_REAL, &t, nullptr);
}

std::atomic<std::int64_t> lastAnswer{0};  // when the X display last answered (or the start began)
static_assert(std::atomic<std::int64_t>::is_always_lock_free, "read in a signal handler");

// Asks the X display for a round trip now and then, on a connection of its own, while the
// toolkit starts: the answers tell a slow display from one that never answers.
struct Probe {
    std::mutex mutex;
    std::condition_variable wake;
    bool stop = false;
};
std::shared_ptr<Probe> probe;

void Ask(const std::shared_ptr<Probe>& p, const std::string& display) {
#ifdef SUDOKU_HAVE_XCB
    xcb_connection_t* c = xcb_connect(display.empty() ? nullptr : display.c_str(), nullptr);
    std::unique_lock<std::mutex> hold(p->mutex, std::defer_lock);
    while (!xcb_connection_has_error(c)) {
        lastAnswer = Now();
        hold.lock();
        if (p->wake.wait_for(hold, std::chrono::milliseconds(250), [&] { return p->stop; })) break;
        hold.unlock();
        xcb_generic_error_t* error = nullptr;
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), &error));
        std::free(error);
    }
    xcb_disconnect(c);
#else
    (void)p, (void)display;
#endif
}
#endif

bool mayUseX = false;
std::string probedDisplay;  // as given with -display; empty: DISPLAY

// Starts the probe as the toolkit turns to X: at once, or once Wayland, tried first, failed.
void StartProbe() {
#ifdef Q_OS_UNIX
    if (!mayUseX || probe) return;
    lastAnswer = Now();
    try {  // left to end on its own: a display that never answers may hold it in the connect
        probe = std::make_shared<Probe>();
        std::thread(Ask, probe, probedDisplay).detach();
    } catch (const std::system_error&) {
        // No second thread: the start is bounded as a whole.
    }
#endif
}

std::string Option(int argc, char** argv, const char* name) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0 || (argv[i][0] == '-' && std::strcmp(argv[i] + 1, name) == 0))
            return argv[i + 1];
    return "";
}

std::string Printable(std::string text) {
    if (text.size() > 200) text.resize(200);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return text;
}

void Copy(char (&to)[512], const std::string& line) {
    const std::size_t n = std::min(line.size(), sizeof to - 1);
    std::memcpy(to, line.data(), n);
    to[n] = '\0';
}

// The toolkit names each platform it could not open: "Could not find the Qt platform plugin
// "wayland" in ..." when the plugin is not installed, "Could not load ... even though it was
// found." when it is, but its display or compositor could not be reached.
void NotePlatform(const QString& text) {
    if (!text.startsWith(QLatin1String("Could not find the Qt platform plugin")) &&
        !text.startsWith(QLatin1String("Could not load the Qt platform plugin")))
        return;
    const qsizetype open = text.indexOf(u'"');
    const qsizetype close = open < 0 ? -1 : text.indexOf(u'"', open + 1);
    if (close < 0) return;
    const QString name = text.mid(open + 1, close - open - 1);
    const bool installed = text.contains(QLatin1String("even though it was found"));
    std::string what;
    if (name.startsWith(QLatin1String("wayland"))) {
        waylandFailed = 1;
        StartProbe();
        what = installed ? "нет связи с композитором Wayland " + waylandShown
                         : "не установлен модуль Qt для Wayland (пакет qt6-wayland)";
    } else if (name == QLatin1String("xcb")) {
        what = !installed ? "не установлен модуль Qt для X11"
               : displaySet ? "дисплей X11 не открывается " + xShown
                            : "переменная DISPLAY не задана";
    } else {
        what = "платформа Qt \"" + Printable(name.toStdString()) + "\" недоступна";
    }
    if (std::find(missing.begin(), missing.end(), what) == missing.end()) missing.push_back(what);
}

void WriteAndEnd(const char* line) {
#ifdef Q_OS_UNIX
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, line, std::strlen(line));
#else
    std::fputs(line, stderr);
#endif
    std::_Exit(1);
}

void OnMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {  // no platform at all: the toolkit would abort next
        std::string line = "Судоку: не удалось открыть графический дисплей";
        for (std::size_t i = 0; i < missing.size(); ++i) line += (i ? "; " : ": ") + missing[i];
        WriteAndEnd((line + "\n").c_str());
    }
    NotePlatform(text);
    held.push_back({type, context.category ? context.category : "", text});
}

#ifdef Q_OS_UNIX
void OnAlarm(int) {
    const bool onWayland = silentWayland[0] && !waylandFailed;
    const std::int64_t left = lastAnswer.load() + kPatience - Now();
    if (!onWayland && left > 0) {
        Arm(left + 1'000'000);  // the display answered within the limit: it is slow, not silent
        return;
    }
    WriteAndEnd(onWayland ? silentWayland : silentX);
}
#endif

}  // namespace

ToolkitStartGuard::ToolkitStartGuard(int argc, char** argv) {
    std::string display = Option(argc, argv, "-display");
    std::string name = "-display";
    if (display.empty()) {
        name = "DISPLAY";
        display = Env("DISPLAY");
    }
    displaySet = !display.empty();
    xShown = "(" + name + "=\"" + Printable(display) + "\")";
    const std::string wayland = Env("WAYLAND_DISPLAY");
    waylandShown = wayland.empty() ? "(WAYLAND_DISPLAY не задана)" : "(WAYLAND_DISPLAY=\"" + Printable(wayland) + "\")";
    std::string platform = Option(argc, argv, "-platform");
    if (platform.empty()) platform = Env("QT_QPA_PLATFORM");
    // Unless told otherwise the toolkit tries Wayland first on a Wayland session.
    const bool mayTryWayland = platform.empty() ? !wayland.empty() || Env("XDG_SESSION_TYPE") == "wayland"
                                                : platform.find("wayland") != std::string::npos;
    Copy(silentX, "Судоку: графический дисплей не отвечает " + xShown + "\n");
    Copy(silentWayland, mayTryWayland ? "Судоку: композитор Wayland не отвечает " + waylandShown + "\n" : "");
    previousHandler = qInstallMessageHandler(OnMessage);
    mayUseX = displaySet && (platform.empty() || platform.find("xcb") != std::string::npos);
    probedDisplay = Option(argc, argv, "-display");
#ifdef Q_OS_UNIX
    lastAnswer = Now();
    if (!mayTryWayland) StartProbe();
    struct sigaction onAlarm {};
    onAlarm.sa_handler = OnAlarm;
    sigemptyset(&onAlarm.sa_mask);
    sigaction(SIGALRM, &onAlarm, &previousAlarm);
    Arm(kPatience);
#endif
}

ToolkitStartGuard::~ToolkitStartGuard() {
#ifdef Q_OS_UNIX
    Arm(0);
    sigaction(SIGALRM, &previousAlarm, nullptr);
    if (probe) {
        const std::lock_guard<std::mutex> hold(probe->mutex);
        probe->stop = true;
        probe->wake.notify_one();
    }
    probe.reset();
#endif
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage& m : held) {
        if (!previousHandler) break;
        const QMessageLogContext context(nullptr, 0, nullptr, m.category.c_str());
        previousHandler(m.type, context, m.text);
    }
    held.clear();
    missing.clear();
}

}  // namespace sudoku::qt
