#include "platform/linux/x11_typing.h"

#include <unistd.h>

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "platform/linux/detached_launch.h"
#include "platform/linux/x11_windows.h"

// X11 defines macros such as Bool and Status that break Qt headers: it comes last.
// clang-format off
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
// clang-format on

namespace ristemo::platform {

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

struct DisplayCloser {
    void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

KeySym keysym_for(char32_t c) {
    if ((c >= 0x20 && c <= 0x7e) || (c >= 0xa0 && c <= 0xff)) return static_cast<KeySym>(c);
    return static_cast<KeySym>(0x01000000 | c);
}

struct Key {
    KeyCode code = 0;
    unsigned int state = 0;  // ShiftMask for the second column of the keymap
};

// The keys of the text: each character's keycode in the first layout's first or second column
// of the keymap, and for the characters that have none there, unused keycodes bound to them for
// as long as this lives (restored after). The events name the modifiers themselves, so whatever
// the user's layout group, Caps Lock or held keys, these columns are what the editor reads.
class KeyPlan {
public:
    KeyPlan(Display* display, const QStringList& lines) : display_(display) {
        XDisplayKeycodes(display_, &low_, &high_);
        KeySym* map = XGetKeyboardMapping(display_, static_cast<KeyCode>(low_), high_ - low_ + 1,
                                          &per_keycode_);
        if (!map) return;
        std::set<KeySym> wanted{XK_Return};
        for (const QString& line : lines) {
            for (const char32_t c : line.toUcs4()) wanted.insert(keysym_for(c));
        }
        std::vector<KeySym> missing;
        for (const KeySym sym : wanted) {
            const Key key = find(map, sym);
            if (key.code != 0) {
                keys_[sym] = key;
            } else {
                missing.push_back(sym);
            }
        }
        auto next = missing.begin();
        for (int code = high_; code >= low_ && next != missing.end(); --code) {
            const KeySym* row = map + (code - low_) * per_keycode_;
            bool unused = true;
            for (int j = 0; j < per_keycode_; ++j) unused = unused && row[j] == NoSymbol;
            if (!unused) continue;
            KeySym both[2] = {*next, *next};
            XChangeKeyboardMapping(display_, code, 2, both, 1);
            bound_.push_back(code);
            keys_[*next] = Key{static_cast<KeyCode>(code), 0};
            ++next;
        }
        XFree(map);
        XSync(display_, False);
    }
    ~KeyPlan() {
        if (bound_.empty()) return;
        std::vector<KeySym> none(static_cast<std::size_t>(per_keycode_), NoSymbol);
        for (const int code : bound_) {
            XChangeKeyboardMapping(display_, code, per_keycode_, none.data(), 1);
        }
        XSync(display_, False);
    }
    KeyPlan(const KeyPlan&) = delete;
    KeyPlan& operator=(const KeyPlan&) = delete;

    // Keycode 0 when the character has no key (no spare keycode was left).
    Key key_for(KeySym sym) const {
        const auto it = keys_.find(sym);
        return it == keys_.end() ? Key{} : it->second;
    }
    bool any_bound() const { return !bound_.empty(); }

private:
    Key find(const KeySym* map, KeySym sym) const {
        for (int column = 0; column < 2 && column < per_keycode_; ++column) {
            for (int code = low_; code <= high_; ++code) {
                if (map[(code - low_) * per_keycode_ + column] == sym) {
                    return Key{static_cast<KeyCode>(code), column == 0 ? 0U : ShiftMask};
                }
            }
        }
        return {};
    }

    Display* display_;
    int low_ = 0;
    int high_ = 0;
    int per_keycode_ = 0;
    std::map<KeySym, Key> keys_;
    std::vector<int> bound_;
};

void send_key(Display* display, Window window, const Key& key) {
    XKeyEvent event{};
    event.display = display;
    event.window = window;
    event.root = DefaultRootWindow(display);
    event.subwindow = None;
    event.time = CurrentTime;
    event.x = event.y = event.x_root = event.y_root = 1;
    event.same_screen = True;
    event.keycode = key.code;
    event.state = key.state;
    event.type = KeyPress;
    // No propagation: should the window not listen, no ancestor (the window manager's frame)
    // gets the key instead.
    XSendEvent(display, window, False, KeyPressMask, reinterpret_cast<XEvent*>(&event));
    event.type = KeyRelease;
    XSendEvent(display, window, False, KeyReleaseMask, reinterpret_cast<XEvent*>(&event));
}

}  // namespace

TypingResult type_into_window(const TypingRequest& request) {
    install_x_error_handler();
    const char* const display_name =
        request.display.isEmpty() ? nullptr : request.display.constData();
    const DisplayPtr display(XOpenDisplay(display_name));
    if (!display) return TypingResult::NoDisplay;

    const auto deadline = Clock::now() + std::chrono::milliseconds(request.window_timeout_ms);
    Window window = 0;
    while ((window = visible_window_of(display.get(), request.pid)) == 0) {
        if (!process_alive(request.pid)) return TypingResult::EditorClosed;
        if (Clock::now() >= deadline) return TypingResult::WindowNotReady;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }

    // The server hands the editor the new keymap before any of the keys below, in order.
    const KeyPlan plan(display.get(), request.lines);
    const Key enter = plan.key_for(XK_Return);
    for (const QString& line : request.lines) {
        for (const char32_t c : line.toUcs4()) {
            const Key key = plan.key_for(keysym_for(c));
            if (key.code == 0) continue;
            send_key(display.get(), window, key);
            XFlush(display.get());
            if (request.key_delay_us > 0) ::usleep(request.key_delay_us);
        }
        send_key(display.get(), window, enter);
        XFlush(display.get());
    }
    XSync(display.get(), False);
    // The editor translates the queued keys with the bound map; give it that before unbinding.
    if (plan.any_bound()) std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return TypingResult::Typed;
}

}  // namespace ristemo::platform
