#include "platform/linux/editor_choice.h"

#include <vector>

#include "platform/linux/ask_tool.h"
#include "platform/linux/detached_launch.h"

namespace ristemo::platform {

namespace {

struct KnownEditor {
    const char* name;
    Delivery delivery;
    QStringList arguments;  // asking for a new instance, and for standard input where read
    bool private_temp_folder = false;  // as in EditorCommand
};

const std::vector<KnownEditor>& editor_table() {
    static const std::vector<KnownEditor> table = {
        {"gnome-text-editor", Delivery::StandardInput, {"-s", "-"}},
        {"gedit", Delivery::StandardInput, {"-s", "-"}},
        {"kwrite", Delivery::StandardInput, {"--stdin"}},
        {"kate", Delivery::StandardInput, {"-n", "-i"}},
        {"mousepad", Delivery::Accessibility, {"--disable-server"}},
        {"featherpad", Delivery::WindowEvents, {"-s"}},
        {"pluma", Delivery::Accessibility, {}, true},
    };
    return table;
}

const KnownEditor* known_editor(const QString& name) {
    for (const KnownEditor& e : editor_table()) {
        if (name == QLatin1String(e.name)) return &e;
    }
    return nullptr;
}

// The editors that can receive the text in this session, as "a, b" + conjunction + "c".
QString editors_usable(bool window_events_possible, const QString& conjunction) {
    QStringList usable;
    for (const KnownEditor& e : editor_table()) {
        if (window_events_possible || e.delivery != Delivery::WindowEvents)
            usable << QLatin1String(e.name);
    }
    const QString last = usable.takeLast();
    return usable.join(QStringLiteral(", ")) + conjunction + last;
}

}  // namespace

QStringList known_editors() {
    QStringList names;
    for (const KnownEditor& e : editor_table()) names << QLatin1String(e.name);
    return names;
}

QString editor_for_desktop_entry(const QString& desktop_entry) {
    QString id = desktop_entry.trimmed().toLower();
    if (id.endsWith(QLatin1String(".desktop"))) id.chop(8);
    if (id.isEmpty()) return {};
    if (id == QLatin1String("org.gnome.texteditor")) return QStringLiteral("gnome-text-editor");
    // Reverse-domain ids ("org.kde.kate", "org.xfce.mousepad") end in the program's name.
    const QString last = id.section(QLatin1Char('.'), -1);
    if (known_editor(last)) return last;
    return {};
}

std::optional<EditorCommand> choose_editor(
    const QString& desktop_entry, const std::function<QString(const QString&)>& find_program,
    bool window_events_possible) {
    QStringList candidates;
    const QString preferred = editor_for_desktop_entry(desktop_entry);
    if (!preferred.isEmpty()) candidates << preferred;
    candidates << known_editors();
    for (const QString& name : candidates) {
        const KnownEditor* e = known_editor(name);
        if (e->delivery == Delivery::WindowEvents && !window_events_possible) continue;
        const QString path = find_program(name);
        if (path.isEmpty()) continue;
        return EditorCommand{name, path, e->arguments, e->delivery, e->private_temp_folder};
    }
    return std::nullopt;
}

bool is_wayland_session(const QProcessEnvironment& environment) {
    return !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty() ||
           environment.value(QStringLiteral("XDG_SESSION_TYPE"))
                   .compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0;
}

QString desktop_default_for_text(const QProcessEnvironment& environment) {
    const QString xdg_mime =
        find_program(QStringLiteral("xdg-mime"), environment.value(QStringLiteral("PATH")));
    if (xdg_mime.isEmpty()) return {};
    const ToolAnswer answer =
        ask_tool(xdg_mime,
                 {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")},
                 3000, environment);
    if (!answer.finished || answer.exit_code != 0) return {};
    return answer.output.section(QLatin1Char('\n'), 0, 0).section(QLatin1Char(';'), 0, 0).trimmed();
}

namespace editor_messages {
QString no_editor(bool window_events_possible) {
    return QStringLiteral("Nessun editor di testo trovato: installare uno tra %1.")
        .arg(editors_usable(window_events_possible, QStringLiteral(" e ")));
}
QString no_editor_for_wayland() {
    return QStringLiteral(
               "Nessun editor di testo utilizzabile: in una sessione Wayland il testo si può "
               "consegnare solo a %1, e nessuno di questi è installato.")
        .arg(editors_usable(false, QStringLiteral(" o ")));
}
}  // namespace editor_messages

}  // namespace ristemo::platform
