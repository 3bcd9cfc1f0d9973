#include "platform/x11_typing.h"

#include <locale.h>
#include <signal.h>

#include <QFile>
#include <QLibrary>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "platform/x11_windows.h"

// X11 defines macros such as Bool and Status that break Qt headers: it comes last.
// clang-format off
#include <X11/Xatom.h>
#include <X11/Xlib.h>
extern "C" {
#include <xdo.h>
}
// clang-format on

namespace ristemo::platform {

long window_pid(Display* display, Window window) {
    static thread_local Atom pid_atom = 0;
    if (pid_atom == 0) pid_atom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        type == XA_CARDINAL && format == 32 && count == 1 && data) {
        pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    }
    if (data) XFree(data);
    return pid;
}

namespace {

bool is_viewable(Display* display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

}  // namespace

Window visible_window_of(Display* display, long pid) {
    std::vector<Window> pending{DefaultRootWindow(display)};
    while (!pending.empty()) {
        const Window window = pending.back();
        pending.pop_back();
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, window, &root, &parent, &children, &count)) continue;
        for (unsigned int i = 0; i < count; ++i) {
            const Window child = children[i];
            if (window_pid(display, child) == pid && is_viewable(display, child)) {
                XFree(children);
                return child;
            }
            pending.push_back(child);
        }
        if (children) XFree(children);
    }
    return 0;
}

namespace {

using Clock = std::chrono::steady_clock;

// Xlib's default handler ends the process on any protocol error, and a window can vanish
// between a query and the next one. Errors here only mean "not that window".
int ignore_x_error(Display*, XErrorEvent*) {
    return 0;
}

void install_x_error_handler() {
    static std::once_flag once;
    std::call_once(once, [] { XSetErrorHandler(ignore_x_error); });
}

// libxdo decodes the typed text with the thread's multibyte locale; make it UTF-8 on this
// thread only, whatever the program's locale is.
class Utf8ThreadLocale {
public:
    Utf8ThreadLocale() {
        utf8_ = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        if (utf8_ != static_cast<locale_t>(nullptr)) previous_ = uselocale(utf8_);
    }
    ~Utf8ThreadLocale() {
        if (utf8_ == static_cast<locale_t>(nullptr)) return;
        uselocale(previous_);
        freelocale(utf8_);
    }
    Utf8ThreadLocale(const Utf8ThreadLocale&) = delete;
    Utf8ThreadLocale& operator=(const Utf8ThreadLocale&) = delete;

private:
    locale_t utf8_ = static_cast<locale_t>(nullptr);
    locale_t previous_ = static_cast<locale_t>(nullptr);
};

struct DisplayCloser {
    void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

// libxdo (with XTest and Xinerama behind it) is loaded on the first export that types, not at
// every start of the program.
struct XdoCalls {
    decltype(&::xdo_new_with_opened_display) new_with_opened_display = nullptr;
    decltype(&::xdo_free) free = nullptr;
    decltype(&::xdo_activate_window) activate_window = nullptr;
    decltype(&::xdo_focus_window) focus_window = nullptr;
    decltype(&::xdo_enter_text_window) enter_text_window = nullptr;
    decltype(&::xdo_send_keysequence_window) send_keysequence_window = nullptr;
};

template <typename Function>
void resolve(QLibrary& library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(library.resolve(name));
}

// Null when the library or one of its functions is missing.
const XdoCalls* xdo_calls() {
    static const XdoCalls* const calls = []() -> const XdoCalls* {
        static XdoCalls found;
        QLibrary library(QStringLiteral("xdo"), 3);
        if (!library.load()) return nullptr;
        resolve(library, "xdo_new_with_opened_display", found.new_with_opened_display);
        resolve(library, "xdo_free", found.free);
        resolve(library, "xdo_activate_window", found.activate_window);
        resolve(library, "xdo_focus_window", found.focus_window);
        resolve(library, "xdo_enter_text_window", found.enter_text_window);
        resolve(library, "xdo_send_keysequence_window", found.send_keysequence_window);
        const bool complete = found.new_with_opened_display && found.free &&
                              found.activate_window && found.focus_window &&
                              found.enter_text_window && found.send_keysequence_window;
        return complete ? &found : nullptr;
    }();
    return calls;
}

struct XdoDeleter {
    void operator()(xdo_t* xdo) const { xdo_calls()->free(xdo); }
};
using Xdo = std::unique_ptr<xdo_t, XdoDeleter>;

// An ended process that nobody has reaped yet (init may be slow to) counts as gone.
bool process_alive(pid_t pid) {
    if (::kill(pid, 0) != 0 && errno != EPERM) return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return true;
    const QByteArray fields = stat.readAll();
    const qsizetype name_end = fields.lastIndexOf(')');
    return name_end < 0 || fields.mid(name_end + 2, 1) != "Z";
}

// True when the window holding the input focus, or the nearest ancestor that names its
// process, belongs to pid.
bool focus_belongs_to(Display* display, pid_t pid) {
    Window window = 0;
    int revert = 0;
    XGetInputFocus(display, &window, &revert);
    const Window root_window = DefaultRootWindow(display);
    while (window != None && window != PointerRoot && window != root_window) {
        const long owner = window_pid(display, window);
        if (owner != 0) return owner == pid;
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, window, &root, &parent, &children, &count)) return false;
        if (children) XFree(children);
        window = parent;
    }
    return false;
}

bool supports_active_window(Display* display) {
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
    const Atom active = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(display, DefaultRootWindow(display), supported, 0, 4096, False, XA_ATOM,
                           &type, &format, &count, &after, &data) == Success &&
        type == XA_ATOM && format == 32 && data) {
        const auto* atoms = reinterpret_cast<const unsigned long*>(data);
        for (unsigned long i = 0; i < count && !found; ++i) found = atoms[i] == active;
    }
    if (data) XFree(data);
    return found;
}

void give_focus(const XdoCalls& calls, const xdo_t* xdo, Window window) {
    // Through the window manager when there is one, so that it raises the window too.
    if (supports_active_window(xdo->xdpy)) {
        calls.activate_window(xdo, window);
    } else {
        calls.focus_window(xdo, window);
    }
    XFlush(xdo->xdpy);
}

// Sleeps for up to ms, returning false at once when cancelled.
bool pause_unless_cancelled(int ms, const std::atomic<bool>& cancel) {
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < until) {
        if (cancel.load()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return !cancel.load();
}

KeySym keysym_for(char32_t c) {
    if ((c >= 0x20 && c <= 0x7e) || (c >= 0xa0 && c <= 0xff)) return static_cast<KeySym>(c);
    return static_cast<KeySym>(0x01000000 | c);
}

// Binds the keysyms the keymap lacks to unused keycodes for as long as it lives, so that every
// character of the text has a key before the first one is typed; the editor reads the new map
// once, before the keys, instead of racing a change per character. Restores the map after.
class SpareKeycodes {
public:
    SpareKeycodes(Display* display, const QStringList& lines) : display_(display) {
        std::set<KeySym> missing;
        for (const QString& line : lines) {
            for (const char32_t c : line.toUcs4()) {
                const KeySym sym = keysym_for(c);
                if (XKeysymToKeycode(display_, sym) == 0) missing.insert(sym);
            }
        }
        if (missing.empty()) return;
        int low = 0;
        int high = 0;
        XDisplayKeycodes(display_, &low, &high);
        int per = 0;
        KeySym* map =
            XGetKeyboardMapping(display_, static_cast<KeyCode>(low), high - low + 1, &per);
        if (!map) return;
        auto next = missing.begin();
        for (int code = high; code >= low && next != missing.end(); --code) {
            const KeySym* row = map + (code - low) * per;
            bool unused = true;
            for (int j = 0; j < per; ++j) unused = unused && row[j] == NoSymbol;
            if (!unused) continue;
            KeySym both[2] = {*next, *next};
            XChangeKeyboardMapping(display_, code, 2, both, 1);
            bound_.push_back(code);
            ++next;
        }
        per_keycode_ = per;
        XFree(map);
        XSync(display_, False);
    }
    ~SpareKeycodes() {
        if (bound_.empty()) return;
        std::vector<KeySym> none(static_cast<std::size_t>(per_keycode_), NoSymbol);
        for (const int code : bound_) {
            XChangeKeyboardMapping(display_, code, per_keycode_, none.data(), 1);
        }
        XSync(display_, False);
    }
    SpareKeycodes(const SpareKeycodes&) = delete;
    SpareKeycodes& operator=(const SpareKeycodes&) = delete;

    bool any_bound() const { return !bound_.empty(); }

private:
    Display* display_;
    std::vector<int> bound_;
    int per_keycode_ = 0;
};

}  // namespace

TypingResult type_into_editor(const TypingRequest& request, const std::atomic<bool>& cancel) {
    install_x_error_handler();
    const char* const display_name =
        request.display.isEmpty() ? nullptr : request.display.constData();
    const DisplayPtr display(XOpenDisplay(display_name));
    if (!display) return TypingResult::NoDisplay;
    // Without libxdo no key can reach the display either.
    const XdoCalls* const calls = xdo_calls();
    if (!calls) return TypingResult::NoDisplay;
    Xdo xdo(calls->new_with_opened_display(display.get(), display_name, 0));
    if (!xdo) return TypingResult::NoDisplay;
    xdo->quiet = 1;

    // Wait for the new editor's window and for it to hold the focus.
    const auto deadline = Clock::now() + std::chrono::milliseconds(request.focus_timeout_ms);
    Window window = 0;
    auto next_focus_request = Clock::now();
    for (;;) {
        if (cancel.load()) return TypingResult::Cancelled;
        if (!process_alive(request.pid)) return TypingResult::EditorClosed;
        const Window found = visible_window_of(display.get(), request.pid);
        if (found != 0) {
            if (focus_belongs_to(display.get(), request.pid)) break;
            if (found != window || Clock::now() >= next_focus_request) {
                window = found;
                give_focus(*calls, xdo.get(), window);
                next_focus_request = Clock::now() + std::chrono::milliseconds(500);
                continue;
            }
        }
        if (Clock::now() >= deadline) return TypingResult::WindowNotReady;
        if (!pause_unless_cancelled(20, cancel)) return TypingResult::Cancelled;
    }

    const SpareKeycodes spare(display.get(), request.lines);
    if (spare.any_bound()) {
        // libxdo learns the keymap when created: create it again to see the bound keys, and
        // give the editor a moment to read the new map before the first key.
        xdo.reset(calls->new_with_opened_display(display.get(), display_name, 0));
        if (!xdo) return TypingResult::NoDisplay;
        xdo->quiet = 1;
        if (!pause_unless_cancelled(100, cancel)) return TypingResult::Cancelled;
    }

    const Utf8ThreadLocale utf8;
    TypingResult result = TypingResult::Typed;
    for (int i = 0; i < request.lines.size() && result == TypingResult::Typed; ++i) {
        if (request.before_line) request.before_line(i);
        if (cancel.load()) {
            result = TypingResult::Cancelled;
        } else if (!focus_belongs_to(display.get(), request.pid)) {
            result = TypingResult::FocusLost;
        } else {
            const QByteArray line = request.lines[i].toUtf8();
            if (!line.isEmpty()) {
                calls->enter_text_window(xdo.get(), CURRENTWINDOW, line.constData(),
                                         request.key_delay_us);
            }
            if (!line.isEmpty() && !focus_belongs_to(display.get(), request.pid)) {
                result = TypingResult::FocusLost;
            } else {
                calls->send_keysequence_window(xdo.get(), CURRENTWINDOW, "Return",
                                               request.key_delay_us);
            }
        }
    }
    XSync(display.get(), False);
    // The keys are queued at the editor, which still has to translate them with the bound map.
    if (spare.any_bound()) std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return result;
}

}  // namespace ristemo::platform
