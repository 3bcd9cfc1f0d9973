// The title bar Qt draws around the program's windows on Wayland desktops that leave that to the
// program (weston, GNOME): the title and a close button, nothing else. Qt's own title bar always
// offers minimize and maximize, whatever buttons the window asks for, and a window minimized
// where the desktop has no task bar cannot be brought back.

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QPaintDevice>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QWindow>

#include "platform/linux/wayland_decoration/qt_wayland_decoration_abi.h"

namespace ristemo::platform {

namespace {

using QtWaylandClient::QWaylandAbstractDecoration;
using QtWaylandClient::QWaylandInputDevice;

constexpr int kBorder = 1;
constexpr int kTitleHeight = 28;
constexpr int kButtonSize = 20;
constexpr int kButtonMargin = 4;
constexpr int kIconSize = 16;

class TitleBar : public QWaylandAbstractDecoration {
public:
    QMargins margins(MarginsType type) const override {
        if (type == ShadowsOnly) return {};
        return {kBorder, kTitleHeight, kBorder, kBorder};
    }

    bool handleMouse(QWaylandInputDevice* device, const QPointF& local, const QPointF& /*global*/,
                     Qt::MouseButtons buttons, Qt::KeyboardModifiers /*modifiers*/) override {
        const bool on_frame = !content_rect().contains(local.toPoint());
        if (on_frame && close_button_rect().contains(local)) {
            // A close happens on release over the button it was pressed on, as with any button.
            if (isLeftClicked(buttons)) {
                close_pressed_ = true;
            } else if (isLeftReleased(buttons) && close_pressed_) {
                close_window();
            }
        } else if (on_frame && local.y() < kTitleHeight) {
            // A double click does nothing more than a click: there is nothing to maximize.
            startMove(device, buttons);
        }
        // The borders only frame the window: its size is fixed.
        if (isLeftReleased(buttons)) close_pressed_ = false;
        setMouseButtons(buttons);
        return on_frame;
    }

    bool handleTouch(QWaylandInputDevice* /*device*/, const QPointF& local,
                     const QPointF& /*global*/, QEventPoint::State state,
                     Qt::KeyboardModifiers /*modifiers*/) override {
        if (content_rect().contains(local.toPoint())) return false;
        if (state == QEventPoint::Pressed && close_button_rect().contains(local)) close_window();
        return true;
    }

protected:
    void paint(QPaintDevice* device) override {
        const QPalette palette = QGuiApplication::palette();
        const bool active = window()->isActive();
        const QRect frame(QPoint(0, 0), frame_size());

        QPainter painter(device);
        painter.fillRect(QRect(0, 0, frame.width(), kTitleHeight), palette.color(QPalette::Window));
        painter.setPen(palette.color(QPalette::Dark));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));

        const QIcon icon = window()->icon();
        if (!icon.isNull()) {
            const int top = (kTitleHeight - kIconSize) / 2;
            icon.paint(&painter, QRect(kBorder + top, top, kIconSize, kIconSize));
        }

        const QColor text =
            palette.color(active ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
        painter.setPen(text);
        painter.setFont(QFontDatabase::systemFont(QFontDatabase::TitleFont));
        const int side = kButtonSize + 2 * kButtonMargin;
        const QRect title_rect(side, 0, frame.width() - 2 * side, kTitleHeight);
        const QString title =
            painter.fontMetrics().elidedText(window()->title(), Qt::ElideRight, title_rect.width());
        painter.drawText(title_rect, Qt::AlignCenter, title);

        const QRectF cross = close_button_rect().adjusted(6, 6, -6, -6);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(text, 2));
        painter.drawLine(cross.topLeft(), cross.bottomRight());
        painter.drawLine(cross.bottomLeft(), cross.topRight());
    }

private:
    QSize frame_size() const { return window()->size().grownBy(margins(Full)); }

    QRect content_rect() const {
        return QRect(QPoint(0, 0), frame_size()).marginsRemoved(margins(Full));
    }

    QRectF close_button_rect() const {
        return QRectF(frame_size().width() - kBorder - kButtonMargin - kButtonSize,
                      (kTitleHeight - kButtonSize) / 2.0, kButtonSize, kButtonSize);
    }

    // The window closes as from any close box, through its close event; later, because this
    // title bar may go with the window.
    void close_window() {
        QWindow* target = window();
        QMetaObject::invokeMethod(
            target, [target] { target->close(); }, Qt::QueuedConnection);
    }

    bool close_pressed_ = false;
};

}  // namespace

class TitleBarPlugin : public QtWaylandClient::QWaylandDecorationPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID
                      "org.qt-project.Qt.WaylandClient.QWaylandDecorationFactoryInterface.5.4" FILE
                      "title_bar_plugin.json")

public:
    QWaylandAbstractDecoration* create(const QString& /*key*/,
                                       const QStringList& /*parameters*/) override {
        return new TitleBar;
    }
};

}  // namespace ristemo::platform

#include "title_bar_plugin.moc"
