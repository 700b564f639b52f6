#include "platform/qt/XcbStartup.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>

#include "platform/qt/Env.h"

namespace sudoku::qt {
namespace {

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;  // none on a platform without X
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(r);
    return a;
}

xcb_window_t Root(xcb_connection_t* c) { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }

}  // namespace

void UseUtf8WithoutLocale() {
    if (!Env("LC_ALL").empty()) return;
    std::string ctype = Env("LC_CTYPE");
    if (ctype.empty()) ctype = Env("LANG");
    if (ctype.empty() || ctype == "C" || ctype == "POSIX") setenv("LC_CTYPE", "C.UTF-8", 1);
}

void CompleteStartup(unsigned long window, const std::string& startupId) {
    xcb_connection_t* c = Connection();
    if (!c || startupId.empty()) return;
    auto atom = [c](const char* name) { return Atom(c, name); };
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
    const xcb_window_t root = Root(c);
    for (std::size_t at = 0; at <= message.size(); at += 20) {
        std::memset(ev.data.data8, 0, sizeof ev.data.data8);
        message.copy(reinterpret_cast<char*>(ev.data.data8), 20, at);
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE, reinterpret_cast<const char*>(&ev));
        ev.type = more;
    }
    xcb_flush(c);
}

bool ActivateWindow(unsigned long window, std::uint32_t launchTime) {
    xcb_connection_t* c = Connection();
    if (!c || launchTime == 0) return false;
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = static_cast<xcb_window_t>(window);
    ev.type = Atom(c, "_NET_ACTIVE_WINDOW");
    ev.data.data32[0] = 1;  // from an application, on the user's behalf
    ev.data.data32[1] = launchTime;
    xcb_send_event(c, 0, Root(c), XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&ev));
    xcb_flush(c);
    return true;
}

}  // namespace sudoku::qt
