#include "platform/qt/XcbStartup.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <future>
#include <memory>
#include <thread>

#include "platform/qt/Env.h"

namespace sudoku::qt {
namespace {

// A display that accepts the connection and never answers may hold the start this long.
constexpr auto kDisplayPatience = std::chrono::seconds(3);

std::string Option(int argc, char** argv, const char* name) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0 || (argv[i][0] == '-' && std::strcmp(argv[i] + 1, name) == 0))
            return argv[i + 1];
    return "";
}

bool UsesXcb(int argc, char** argv) {
    std::string platform = Option(argc, argv, "-platform");
    if (platform.empty()) platform = Env("QT_QPA_PLATFORM");
    // Without a choice of platform on a Wayland session the toolkit picks; else it takes X11.
    if (platform.empty()) return Env("WAYLAND_DISPLAY").empty() && Env("XDG_SESSION_TYPE") != "wayland";
    return platform.substr(0, platform.find_first_of(";:")) == "xcb";
}

std::string Printable(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return text;
}

// Does the X server at this display answer the connection setup? Waits at most kDisplayPatience.
std::future_status Probe(const std::string& display, bool& answered) {
    auto result = std::make_shared<std::promise<bool>>();
    std::future<bool> answer = result->get_future();
    std::thread([result, display] {
        xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
        const bool ok = xcb_connection_has_error(c) == 0;
        xcb_disconnect(c);
        result->set_value(ok);
    }).detach();  // a server that never answers keeps this thread; the caller then ends the process
    const std::future_status status = answer.wait_for(kDisplayPatience);
    answered = status == std::future_status::ready && answer.get();
    return status;
}

}  // namespace

std::optional<std::string> DisplayProblem(int argc, char** argv) {
    if (!UsesXcb(argc, argv)) return std::nullopt;
    std::string name = "-display";
    std::string display = Option(argc, argv, "-display");
    if (display.empty()) {
        name = "DISPLAY";
        display = Env("DISPLAY");
    }
    if (display.empty())
        return "Судоку: не удалось открыть графический дисплей: переменная DISPLAY не задана";
    bool answered = false;
    const std::string shown = "(" + name + "=\"" + Printable(display) + "\")";
    if (Probe(display, answered) != std::future_status::ready)
        return "Судоку: графический дисплей не отвечает " + shown;
    if (!answered) return "Судоку: не удалось открыть графический дисплей " + shown;
    return std::nullopt;
}

void UseUtf8WithoutLocale() {
    if (!Env("LC_ALL").empty()) return;
    std::string ctype = Env("LC_CTYPE");
    if (ctype.empty()) ctype = Env("LANG");
    if (ctype.empty() || ctype == "C" || ctype == "POSIX") setenv("LC_CTYPE", "C.UTF-8", 1);
}

void CompleteStartup(unsigned long window, const std::string& startupId) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || startupId.empty()) return;
    xcb_connection_t* c = x11->connection();
    auto atom = [c](const char* name) {
        xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(r);
        return a;
    };
    std::string value;
    for (char ch : startupId) {
        if (ch == '"' || ch == '\\') value += '\\';
        value += ch;
    }
    if (value.find(' ') != std::string::npos) value = '"' + value + '"';
    const std::string message = "remove: ID=" + value;  // sent with its closing NUL, 20 bytes a piece
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 8;
    ev.window = static_cast<xcb_window_t>(window);
    ev.type = atom("_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atom("_NET_STARTUP_INFO");
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    for (std::size_t at = 0; at <= message.size(); at += 20) {
        std::memset(ev.data.data8, 0, sizeof ev.data.data8);
        message.copy(reinterpret_cast<char*>(ev.data.data8), 20, at);
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE, reinterpret_cast<const char*>(&ev));
        ev.type = more;
    }
    xcb_flush(c);
}

}  // namespace sudoku::qt
