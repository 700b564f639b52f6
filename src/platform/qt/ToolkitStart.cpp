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
#include <unistd.h>
#endif

#include "platform/qt/Env.h"

namespace sudoku::qt {
namespace {

// A display or compositor that accepts the connection and never answers may hold the start this long.
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
#endif

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
void OnAlarm(int) { WriteAndEnd(waylandFailed || !silentWayland[0] ? silentX : silentWayland); }
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
#ifdef Q_OS_UNIX
    struct sigaction onAlarm {};
    onAlarm.sa_handler = OnAlarm;
    sigemptyset(&onAlarm.sa_mask);
    sigaction(SIGALRM, &onAlarm, &previousAlarm);
    alarm(kPatienceSeconds);
#endif
}

ToolkitStartGuard::~ToolkitStartGuard() {
#ifdef Q_OS_UNIX
    alarm(0);
    sigaction(SIGALRM, &previousAlarm, nullptr);
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
