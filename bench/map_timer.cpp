// Starts a program and measures, under an X server, the time from its start to the mapping of its
// first top-level window, then its resident memory once idle. Prints "ms kib".
// Gives up, with exit status 1, when the program ends or no window is mapped within 30 s.
// Usage: map_timer IDLE_MS PROGRAM [ARGS...]
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

double now_ms() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

long resident_kib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: map_timer IDLE_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int idle_ms = std::atoi(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "map_timer: no X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = now_ms();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    // A program that fails before showing a window must not hang the whole measurement.
    constexpr double timeout_ms = 30000;
    double mapped = -1;
    bool ended = false, reaped = false;
    while (mapped < 0) {
        if (XPending(display) == 0) {
            reaped = waitpid(pid, nullptr, WNOHANG) == pid;
            if (reaped || now_ms() - start > timeout_ms) {
                ended = true;
                break;
            }
            pollfd p{ConnectionNumber(display), POLLIN, 0};
            poll(&p, 1, 100);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && event.xmap.event == root) mapped = now_ms() - start;
    }
    if (ended) {
        if (!reaped) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        std::fprintf(stderr, "map_timer: %s showed no window\n", argv[2]);
        XCloseDisplay(display);
        return 1;
    }
    usleep(static_cast<useconds_t>(idle_ms) * 1000);
    const long kib = resident_kib(pid);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    std::printf("%.1f %ld\n", mapped, kib);
    XCloseDisplay(display);
    return 0;
}
