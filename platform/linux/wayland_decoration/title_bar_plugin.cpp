// The title bar Qt draws around the program's windows on Wayland desktops that leave that to the
// program (weston, GNOME): the title and a close button, nothing else. Qt's own title bar always
// offers minimize and maximize, whatever buttons the window asks for, and a window minimized
// where the desktop has no task bar cannot be brought back.

#include <QFont>
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

// The title bar's measures at scale 1. Qt's window paints and hit-tests the title bar in the
// compositor's points, which QT_SCALE_FACTOR does not scale: the title bar scales them itself.
constexpr int kBorder = 1;
constexpr int kTitleHeight = 28;
constexpr int kButtonSize = 20;
constexpr int kButtonMargin = 4;
constexpr int kCrossInset = 6;
constexpr int kIconSize = 16;

class TitleBar : public QWaylandAbstractDecoration {
public:
    QMargins margins(MarginsType type) const override {
        if (type == ShadowsOnly) return {};
        const int border = border_width();
        return {border, scaled(kTitleHeight), border, border};
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
        } else if (on_frame && local.y() < scaled(kTitleHeight)) {
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
        // The compositor's word, not QWindow::isActive(): Qt learns of an activation a round
        // trip later, after the title bar has been drawn for it, and a menu takes Qt's active
        // window while the window keeps the compositor's.
        const bool active = waylandWindow()->isActive();
        const QRect frame(QPoint(0, 0), frame_size());
        const int title_height = scaled(kTitleHeight);

        QPainter painter(device);
        painter.fillRect(QRect(0, 0, frame.width(), title_height), palette.color(QPalette::Window));
        const int border = border_width();
        for (const QRect& edge : {QRect(0, 0, frame.width(), border),
                                  QRect(0, frame.height() - border, frame.width(), border),
                                  QRect(0, 0, border, frame.height()),
                                  QRect(frame.width() - border, 0, border, frame.height())})
            painter.fillRect(edge, palette.color(QPalette::Dark));

        const QIcon icon = window()->icon();
        if (!icon.isNull()) {
            const int size = scaled(kIconSize);
            const int top = (title_height - size) / 2;
            icon.paint(&painter, QRect(border + top, top, size, size));
        }

        const QColor text =
            palette.color(active ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
        painter.setPen(text);
        painter.setFont(title_font());
        const int side = scaled(kButtonSize) + 2 * scaled(kButtonMargin);
        const QRect title_rect(side, 0, frame.width() - 2 * side, title_height);
        const QString title =
            painter.fontMetrics().elidedText(window()->title(), Qt::ElideRight, title_rect.width());
        painter.drawText(title_rect, Qt::AlignCenter, title);

        const qreal inset = scaled(kCrossInset);
        const QRectF cross = close_button_rect().adjusted(inset, inset, -inset, -inset);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(text, 2 * qt_scale()));
        painter.drawLine(cross.topLeft(), cross.bottomRight());
        painter.drawLine(cross.bottomLeft(), cross.topRight());
    }

private:
    // Qt's own scale of the window (QT_SCALE_FACTOR, QT_SCREEN_SCALE_FACTORS) over the
    // compositor's, which already reaches the title bar.
    qreal qt_scale() const {
        const qreal compositor = waylandWindow()->scale();
        return compositor > 0 ? window()->devicePixelRatio() / compositor : 1;
    }
    int scaled(int points) const { return qRound(points * qt_scale()); }
    // Whole pixels only: a fractional border would blur into the window.
    int border_width() const { return qMax(1, int(kBorder * qt_scale())); }

    // The application's font, as the title has always been drawn (Qt's title font, set on the
    // painter, gives way to it), at Qt's scale.
    QFont title_font() const {
        QFont font = QGuiApplication::font();
        if (font.pixelSize() > 0) {
            font.setPixelSize(scaled(font.pixelSize()));
        } else {
            font.setPointSizeF(font.pointSizeF() * qt_scale());
        }
        return font;
    }

    QSize frame_size() const { return waylandWindow()->surfaceSize(); }

    QRect content_rect() const {
        return QRect(QPoint(0, 0), frame_size()).marginsRemoved(margins(Full));
    }

    QRectF close_button_rect() const {
        const int size = scaled(kButtonSize);
        return QRectF(frame_size().width() - border_width() - scaled(kButtonMargin) - size,
                      (scaled(kTitleHeight) - size) / 2.0, size, size);
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
