#include "platform/linux/window_hints.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

// Xlib defines macros (Bool, Status) that break Qt headers included after it.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace ristemo::platform {

namespace {

// States the window refuses: it is never minimized (kept out of the taskbar, nothing would
// bring it back), maximized or full screen (its size is fixed).
constexpr Qt::WindowStates kRefused =
    Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

class FixedSizeKeeper : public QObject {
public:
    FixedSizeKeeper(QWidget& window, const QSize& size, bool follow_resizes)
        : QObject(&window), window_(window), size_(size), follow_resizes_(follow_resizes) {}

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange && (window_.windowState() & kRefused)) {
            // Asked from within the state change, the request would be merged into it.
            QTimer::singleShot(0, this, [this] { restore(); });
        } else if (follow_resizes_ && event->type() == QEvent::Resize &&
                   !(window_.windowState() & kRefused) && window_.size() != size_) {
            // The compositor's resize from the window's edges.
            window_.resize(size_);
        }
        return false;
    }

private:
    void restore() {
        const Qt::WindowStates state = window_.windowState();
        if (!(state & kRefused)) return;
        // Under X11 leaving the minimized state maps the window again, which the window manager
        // takes as the request to show it; it then needs the keyboard back.
        window_.setWindowState(state & ~kRefused);
        if (state & Qt::WindowMinimized) window_.activateWindow();
    }

    QWidget& window_;
    QSize size_;
    bool follow_resizes_;
};

}  // namespace

void keep_fixed_size(QWidget& window, const QSize& size) {
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (wayland) {
        // A size limit would only make the compositor's maximize fail with a disconnect.
        window.setMinimumSize(size);
        window.resize(size);
    } else {
        window.setFixedSize(size);
    }
    window.installEventFilter(new FixedSizeKeeper(window, size, wayland));
}

void keep_out_of_taskbar(QWidget& window) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display()) return;
    Display* display = x11->display();
    const auto id = static_cast<Window>(window.winId());
    Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    Atom skip = XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False);

    if (!window.isVisible()) {
        // The initial state of an unmapped window; Qt keeps states it does not manage when it
        // maps the window.
        XChangeProperty(display, id, state, XA_ATOM, 32, PropModeAppend,
                        reinterpret_cast<const unsigned char*>(&skip), 1);
    } else {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = id;
        event.xclient.message_type = state;
        event.xclient.format = 32;
        event.xclient.data.l[0] = 1;  // _NET_WM_STATE_ADD
        event.xclient.data.l[1] = static_cast<long>(skip);
        event.xclient.data.l[3] = 1;  // source: an application
        XSendEvent(display, DefaultRootWindow(display), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
    }
    XFlush(display);
}

}  // namespace ristemo::platform
