#pragma once

// Debian ships no private headers of Qt's Wayland client, so the two classes a title-bar plugin
// derives from are declared here as Qt 6.4 has them: the same virtual functions in the same
// order, no data of their own; and the few members of Qt's window the title bar reads. They are
// Qt's private interface and change between Qt releases; the plugin is only selected when the
// running Qt is the one it was built with (wayland_title_bar.cpp), and only built against Qt 6.4
// (CMakeLists.txt).

#include <QtWaylandClient/qtwaylandclientglobal.h>

#include <QEventPoint>
#include <QMargins>
#include <QMetaObject>
#include <QObject>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QStringList>

class QPaintDevice;
class QWindow;

namespace QtWaylandClient {

class QWaylandInputDevice;

// The few members of Qt's window the title bar reads, called by name. They are Qt's own members
// of that class, none of them overridden in Qt 6.4 (isActive() is virtual there, so this call
// skips the dispatch, to the same function). Never instantiated nor derived from here.
class Q_WAYLANDCLIENT_EXPORT QWaylandWindow {
public:
    QWaylandWindow() = delete;

    // The whole surface, title bar included, in the compositor's points: not in Qt's, which
    // QT_SCALE_FACTOR scales.
    QSize surfaceSize() const;
    // The compositor's scale of the buffers (2 on an output at scale 2), not Qt's.
    qreal scale() const;
    // The compositor has made the window active: it has the keyboard, or a menu of it has.
    bool isActive() const;
};

// What Q_OBJECT declares, without the definitions moc would write: the library has them.
#define RISTEMO_QT_OBJECT_DECLARED                      \
public:                                                 \
    static const QMetaObject staticMetaObject;          \
    const QMetaObject* metaObject() const override;     \
    void* qt_metacast(const char* class_name) override; \
    int qt_metacall(QMetaObject::Call call, int id, void** args) override;

class Q_WAYLANDCLIENT_EXPORT QWaylandAbstractDecoration : public QObject {
    RISTEMO_QT_OBJECT_DECLARED

public:
    enum MarginsType { Full, ShadowsExcluded, ShadowsOnly };

    QWaylandAbstractDecoration();
    ~QWaylandAbstractDecoration() override;

    QWaylandWindow* waylandWindow() const;
    void update();
    bool isDirty() const;

    virtual QMargins margins(MarginsType type = Full) const = 0;

    QWindow* window() const;

    virtual bool handleMouse(QWaylandInputDevice* device, const QPointF& local,
                             const QPointF& global, Qt::MouseButtons buttons,
                             Qt::KeyboardModifiers modifiers) = 0;
    virtual bool handleTouch(QWaylandInputDevice* device, const QPointF& local,
                             const QPointF& global, QEventPoint::State state,
                             Qt::KeyboardModifiers modifiers) = 0;

protected:
    virtual void paint(QPaintDevice* device) = 0;

    void setMouseButtons(Qt::MouseButtons buttons);
    void startMove(QWaylandInputDevice* device, Qt::MouseButtons buttons);
    bool isLeftClicked(Qt::MouseButtons buttons);
    bool isLeftReleased(Qt::MouseButtons buttons);
};

class Q_WAYLANDCLIENT_EXPORT QWaylandDecorationPlugin : public QObject {
    RISTEMO_QT_OBJECT_DECLARED

public:
    explicit QWaylandDecorationPlugin(QObject* parent = nullptr);
    ~QWaylandDecorationPlugin() override;

    virtual QWaylandAbstractDecoration* create(const QString& key,
                                               const QStringList& parameters) = 0;
};

#undef RISTEMO_QT_OBJECT_DECLARED

}  // namespace QtWaylandClient
