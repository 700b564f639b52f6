// Starts a program on the X display named by DISPLAY and reports, from outside:
//   map_ms    time from start until its first top-level window is mapped,
//   paint_ms  time until that window shows painted (non-black) pixels; run the
//             server with a black root (Xvfb -br) so an unpainted window reads black,
//   rss_kb    VmRSS of the process after it has been idle for --idle-ms,
//   second_ms with --second: time for a second copy, started while the first
//             runs, to exit, and its exit status.
// One line of key=value pairs; the program is then ended with SIGTERM.
//   startup_probe [--idle-ms N] [--second] -- program [args...]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

pid_t Start(char** argv) {
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv);
        std::perror("execv");
        _exit(127);
    }
    return pid;
}

long VmRssKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

// True once any pixel of a small block at the window's centre is not black.
bool Painted(Display* dpy, Window w) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy, w, &a) || a.map_state != IsViewable) return false;
    const int size = 8;
    XImage* img = XGetImage(dpy, w, a.width / 2 - size / 2, a.height / 2 - size / 2, size, size, AllPlanes, ZPixmap);
    if (!img) return false;
    bool painted = false;
    for (int y = 0; y < size && !painted; ++y)
        for (int x = 0; x < size && !painted; ++x) painted = (XGetPixel(img, x, y) & 0xFFFFFF) != 0;
    XDestroyImage(img);
    return painted;
}

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

int main(int argc, char** argv) {
    int idleMs = 1000;
    bool second = false;
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (!std::strcmp(argv[i], "--idle-ms") && i + 1 < argc) idleMs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--second")) second = true;
    }
    if (i + 1 >= argc) {
        std::fprintf(stderr, "usage: %s [--idle-ms N] [--second] -- program [args...]\n", argv[0]);
        return 2;
    }
    char** program = argv + i + 1;

    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "cannot open display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreErrors);
    const Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    const auto t0 = Clock::now();
    const pid_t pid = Start(program);
    Window shown = 0;
    double mapMs = -1, paintMs = -1;
    const int fd = ConnectionNumber(dpy);
    while (paintMs < 0 && MsSince(t0) < 20000) {
        while (XPending(dpy)) {
            XEvent e;
            XNextEvent(dpy, &e);
            if (e.type == MapNotify && !shown && e.xmap.event == root && !e.xmap.override_redirect) {
                shown = e.xmap.window;
                mapMs = MsSince(t0);
            }
        }
        if (shown && Painted(dpy, shown)) {
            paintMs = MsSince(t0);
            break;
        }
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, shown ? 0 : 1);
        if (shown) std::this_thread::sleep_for(std::chrono::microseconds(200));
        if (waitpid(pid, nullptr, WNOHANG) == pid) break;
    }

    std::this_thread::sleep_for(std::chrono::milliseconds(idleMs));
    const long rss = VmRssKb(pid);
    std::printf("map_ms=%.1f paint_ms=%.1f rss_kb=%ld", mapMs, paintMs, rss);

    if (second) {
        const auto s0 = Clock::now();
        const pid_t copy = Start(program);
        int status = 0;
        waitpid(copy, &status, 0);
        std::printf(" second_ms=%.1f second_status=%d", MsSince(s0), WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    }
    std::printf("\n");

    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(dpy);
    return paintMs < 0 ? 1 : 0;
}
