// Measures how long a program takes from its start to its first window being mapped, on the X
// display named by DISPLAY. Usage: startup_probe RUNS PROGRAM [ARGS...]
// Prints each run in milliseconds and the median. The program is ended after each run.
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double now_ms() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1.0e6;
}

// Milliseconds to the first MapNotify of a top-level window, or a negative value on timeout.
double one_run(Display* display, char** argv) {
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);  // drop anything older than this run

    const double start = now_ms();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[0], argv);
        _exit(127);
    }
    double elapsed = -1.0;
    const int fd = ConnectionNumber(display);
    while (now_ms() - start < 10000.0) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && elapsed < 0) elapsed = now_ms() - start;
        }
        if (elapsed >= 0) break;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        timeval tv{0, 10000};
        select(fd + 1, &fds, nullptr, nullptr, &tv);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XSelectInput(display, root, NoEventMask);
    return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_probe: cannot open the display\n");
        return 2;
    }
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = one_run(display, argv + 2);
        if (ms < 0) {
            std::fprintf(stderr, "startup_probe: no window within 10 s\n");
            return 1;
        }
        std::printf("run %d: %.1f ms\n", i + 1, ms);
        times.push_back(ms);
        usleep(200000);
    }
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2.0;
    std::printf("median: %.1f ms\n", median);
    XCloseDisplay(display);
    return 0;
}
