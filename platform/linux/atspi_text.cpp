#include "platform/linux/atspi_text.h"

#include <QAtomicInteger>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QSet>
#include <QThread>
#include <QVariant>
#include <utility>
#include <vector>

namespace ristemo::platform {

namespace {

constexpr int kCallTimeoutMs = 2000;
const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString kEditableText = QStringLiteral("org.a11y.atspi.EditableText");
const QString kText = QStringLiteral("org.a11y.atspi.Text");
// Bits of AT-SPI's state set.
constexpr int kStateDefunct = 6;
constexpr int kStateEditable = 7;
constexpr int kStateMultiLine = 17;
// A bound on the objects looked at per search: an editor's window has a few hundred.
constexpr int kMaxObjects = 5000;

struct ObjectRef {
    QString service;
    QString path;
};

// A connection of our own, closed when done; the name is unique per call, so that calls on
// several threads never share one.
class Bus {
public:
    Bus(const QString& address, const char* purpose) {
        static QAtomicInteger<int> counter;
        name_ = QStringLiteral("ristemo-%1-%2").arg(QLatin1String(purpose)).arg(++counter);
        connection_ = QDBusConnection::connectToBus(address, name_);
    }
    ~Bus() { QDBusConnection::disconnectFromBus(name_); }
    Bus(const Bus&) = delete;
    Bus& operator=(const Bus&) = delete;

    bool connected() const { return connection_.isConnected(); }

    // The reply's arguments; empty on any error.
    QVariantList call(const QString& service, const QString& path, const QString& interface,
                      const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        const QDBusMessage reply = connection_.call(message, QDBus::Block, kCallTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage) return {};
        return reply.arguments();
    }

private:
    QString name_;
    QDBusConnection connection_{QString()};
};

QString accessibility_bus_address(const QString& session_address) {
    if (session_address.isEmpty()) return {};
    Bus session(session_address, "session");
    if (!session.connected()) return {};
    const QVariantList reply =
        session.call(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                     QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
    return reply.isEmpty() ? QString() : reply.first().toString();
}

std::vector<ObjectRef> children_of(Bus& bus, const ObjectRef& object) {
    const QVariantList reply =
        bus.call(object.service, object.path, kAccessible, QStringLiteral("GetChildren"));
    std::vector<ObjectRef> out;
    if (reply.isEmpty() || !reply.first().canConvert<QDBusArgument>()) return out;
    const QDBusArgument list = reply.first().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        QString service;
        QDBusObjectPath path;
        list.beginStructure();
        list >> service >> path;
        list.endStructure();
        out.push_back({service, path.path()});
    }
    list.endArray();
    return out;
}

bool has_state(const QList<uint>& states, int bit) {
    const auto word = static_cast<qsizetype>(bit / 32);
    return word < states.size() && (states[word] >> (bit % 32)) & 1U;
}

bool is_text_area(Bus& bus, const ObjectRef& object) {
    const QVariantList interfaces =
        bus.call(object.service, object.path, kAccessible, QStringLiteral("GetInterfaces"));
    if (interfaces.isEmpty() || !interfaces.first().toStringList().contains(kEditableText)) {
        return false;
    }
    const QVariantList state =
        bus.call(object.service, object.path, kAccessible, QStringLiteral("GetState"));
    if (state.isEmpty()) return false;
    const auto states = qdbus_cast<QList<uint>>(state.first());
    return has_state(states, kStateEditable) && has_state(states, kStateMultiLine) &&
           !has_state(states, kStateDefunct);
}

// The first editable multi-line text area below the application's root, depth first.
std::optional<ObjectRef> find_text_area(Bus& bus, const QString& service) {
    std::vector<ObjectRef> pending{{service, QStringLiteral("/org/a11y/atspi/accessible/root")}};
    QSet<QString> seen;
    while (!pending.empty() && seen.size() < kMaxObjects) {
        const ObjectRef object = pending.back();
        pending.pop_back();
        if (seen.contains(object.path)) continue;
        seen.insert(object.path);
        if (is_text_area(bus, object)) return object;
        std::vector<ObjectRef> children = children_of(bus, object);
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            if (it->service == service) pending.push_back(*it);
        }
    }
    return std::nullopt;
}

// The accessibility bus connection of process pid; names already found to be another
// process's are skipped.
QString connection_of(Bus& bus, qint64 pid, QSet<QString>& others) {
    const QString dbus = QStringLiteral("org.freedesktop.DBus");
    const QString dbus_path = QStringLiteral("/org/freedesktop/DBus");
    const QVariantList names = bus.call(dbus, dbus_path, dbus, QStringLiteral("ListNames"));
    if (names.isEmpty()) return {};
    for (const QString& name : names.first().toStringList()) {
        if (!name.startsWith(QLatin1Char(':')) || others.contains(name)) continue;
        const QVariantList owner =
            bus.call(dbus, dbus_path, dbus, QStringLiteral("GetConnectionUnixProcessID"), {name});
        if (!owner.isEmpty() && owner.first().toLongLong() == pid) return name;
        others.insert(name);
    }
    return {};
}

}  // namespace

AccessibleTextResult set_editor_text(const AccessibleTextRequest& request) {
    const QString address = accessibility_bus_address(request.session_bus_address);
    if (address.isEmpty()) return AccessibleTextResult::NoBus;
    Bus bus(address, "a11y");
    if (!bus.connected()) return AccessibleTextResult::NoBus;

    QElapsedTimer clock;
    clock.start();
    QSet<QString> others;
    std::optional<ObjectRef> area;
    for (;;) {
        const QString service = connection_of(bus, request.pid, others);
        if (!service.isEmpty()) area = find_text_area(bus, service);
        if (area) break;
        if (request.process_alive && !request.process_alive()) {
            return AccessibleTextResult::EditorClosed;
        }
        if (clock.elapsed() >= request.timeout_ms) return AccessibleTextResult::NotFound;
        QThread::msleep(50);
    }

    const QVariantList set = bus.call(area->service, area->path, kEditableText,
                                      QStringLiteral("SetTextContents"), {request.text});
    if (set.isEmpty() || !set.first().toBool()) return AccessibleTextResult::Refused;
    const QVariantList now = bus.call(area->service, area->path, kText, QStringLiteral("GetText"),
                                      {QVariant::fromValue(0), QVariant::fromValue(-1)});
    if (now.isEmpty() || now.first().toString() != request.text) {
        return AccessibleTextResult::Refused;
    }
    return AccessibleTextResult::Set;
}

}  // namespace ristemo::platform
