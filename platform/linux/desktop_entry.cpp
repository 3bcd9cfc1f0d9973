#include "platform/linux/desktop_entry.h"

#include <QCollator>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <QTextStream>
#include <algorithm>

#include "platform/linux/detached_launch.h"

namespace ristemo::platform {

namespace {

QStringList split_list_value(const QString& raw) {
    // Lists are separated by ';' and may escape it as "\;".
    QStringList out;
    QString cur;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c == u'\\' && i + 1 < raw.size() && raw.at(i + 1) == u';') {
            cur += u';';
            ++i;
        } else if (c == u';') {
            out << unescape_desktop_value(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.isEmpty()) out << unescape_desktop_value(cur);
    return out;
}

bool is_true(const QString& value) {
    return value.trimmed() == QStringLiteral("true");
}

bool is_blank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

}  // namespace

QString unescape_desktop_value(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 >= value.size()) {
            out += c;
            continue;
        }
        const QChar n = value.at(++i);
        if (n == u's')
            out += u' ';
        else if (n == u'n')
            out += u'\n';
        else if (n == u't')
            out += u'\t';
        else if (n == u'r')
            out += u'\r';
        else if (n == u'\\')
            out += u'\\';
        else {
            // Not a string escape: leave it for whoever reads the value next (the Exec quoting).
            out += c;
            out += n;
        }
    }
    return out;
}

std::optional<DesktopEntry> read_desktop_entry(const QString& path, const QString& id) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);

    DesktopEntry entry;
    entry.id = id;
    entry.path = path;
    bool in_group = false;
    bool seen_group = false;
    QString name_it;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#')) continue;
        if (trimmed.startsWith(u'[')) {
            in_group = trimmed == QStringLiteral("[Desktop Entry]");
            if (in_group) {
                if (seen_group) return std::nullopt;  // a duplicated group makes the file invalid
                seen_group = true;
            }
            continue;
        }
        if (!in_group) continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) continue;
        const QString key = line.left(eq).trimmed();
        const QString raw = line.mid(eq + 1).trimmed();
        if (key == QStringLiteral("Type"))
            entry.type = unescape_desktop_value(raw);
        else if (key == QStringLiteral("Name"))
            entry.name = unescape_desktop_value(raw);
        else if (key == QStringLiteral("Name[it]"))
            name_it = unescape_desktop_value(raw);
        else if (key == QStringLiteral("Icon"))
            entry.icon = unescape_desktop_value(raw);
        else if (key == QStringLiteral("Exec"))
            entry.exec = unescape_desktop_value(raw);
        else if (key == QStringLiteral("TryExec"))
            entry.try_exec = unescape_desktop_value(raw);
        else if (key == QStringLiteral("MimeType"))
            entry.mime_types = split_list_value(raw);
        else if (key == QStringLiteral("Hidden"))
            entry.hidden = is_true(raw);
        else if (key == QStringLiteral("NoDisplay"))
            entry.no_display = is_true(raw);
        else if (key == QStringLiteral("Terminal"))
            entry.terminal = is_true(raw);
    }
    if (!seen_group) return std::nullopt;
    if (!name_it.isEmpty()) entry.name = name_it;
    if (entry.name.isEmpty()) entry.name = QString(id).remove(QStringLiteral(".desktop"));
    return entry;
}

std::optional<QStringList> expand_exec(const QString& exec, const QString& address,
                                       const DesktopEntry& entry) {
    QStringList argv;
    QString cur;
    bool has_content = false;  // an empty pair of quotes still makes an (empty) argument
    bool has_target = false;
    bool target_is_program = false;  // "%u" first would run the address itself
    const qsizetype n = exec.size();
    qsizetype i = 0;

    auto end_argument = [&] {
        if (has_content) {
            if (argv.isEmpty() && has_target) target_is_program = true;
            argv << cur;
        }
        cur.clear();
        has_content = false;
    };

    while (i < n) {
        const QChar c = exec.at(i);
        if (is_blank(c)) {
            end_argument();
            ++i;
        } else if (c == u'"') {
            // Inside double quotes only \" \` \$ \\ are escapes, and field codes are not
            // expanded: an address must never end up inside text that a program may interpret.
            has_content = true;
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar q = exec.at(i);
                if (q == u'"') {
                    closed = true;
                    ++i;
                    break;
                }
                if (q == u'\\' && i + 1 < n) {
                    const QChar e = exec.at(i + 1);
                    if (e == u'"' || e == u'`' || e == u'$' || e == u'\\') {
                        cur += e;
                        i += 2;
                        continue;
                    }
                }
                if (q == u'%' && i + 1 < n && exec.at(i + 1) == u'%') {
                    cur += u'%';
                    i += 2;
                    continue;
                }
                cur += q;
                ++i;
            }
            if (!closed) return std::nullopt;
        } else if (c == u'\'') {
            has_content = true;
            const qsizetype close = exec.indexOf(u'\'', i + 1);
            if (close < 0) return std::nullopt;
            cur += exec.mid(i + 1, close - i - 1);
            i = close + 1;
        } else if (c == u'\\') {
            if (i + 1 < n) {
                cur += exec.at(i + 1);
                i += 2;
            } else {
                cur += c;
                ++i;
            }
            has_content = true;
        } else if (c == u'%' && i + 1 < n) {
            const QChar code = exec.at(i + 1);
            i += 2;
            const bool whole_argument = !has_content && (i >= n || is_blank(exec.at(i)));
            switch (code.unicode()) {
                case u'%':
                    cur += u'%';
                    has_content = true;
                    break;
                case u'f':
                case u'F':
                case u'u':
                case u'U':
                    // Several of these would open the page more than once: the first one only.
                    if (!has_target) {
                        cur += address;
                        has_content = true;
                        has_target = true;
                    }
                    break;
                case u'c':
                    cur += entry.name;
                    has_content = true;
                    break;
                case u'k':
                    cur += entry.path;
                    has_content = true;
                    break;
                case u'i':
                    if (whole_argument && !entry.icon.isEmpty()) {
                        argv << QStringLiteral("--icon") << entry.icon;
                    }
                    break;
                default:
                    // Deprecated (%d %D %n %N %v %m) and unknown codes expand to nothing.
                    break;
            }
        } else {
            cur += c;
            has_content = true;
            ++i;
        }
    }
    end_argument();
    if (argv.isEmpty() || argv.front().isEmpty() || target_is_program) return std::nullopt;
    if (!has_target) argv << address;
    return argv;
}

QStringList xdg_application_dirs() {
    QStringList roots;
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (home.isEmpty()) home = QDir::homePath() + QStringLiteral("/.local/share");
    roots << home;
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty()) dirs = QStringLiteral("/usr/local/share:/usr/share");
    roots << dirs.split(u':', Qt::SkipEmptyParts);

    QStringList out;
    for (const QString& root : roots) {
        const QString apps = QDir::cleanPath(root + QStringLiteral("/applications"));
        if (!out.contains(apps)) out << apps;
    }
    return out;
}

std::vector<DesktopEntry> find_web_applications(const QStringList& application_dirs) {
    static const QStringList kWebTypes = {QStringLiteral("x-scheme-handler/http"),
                                          QStringLiteral("text/html")};
    std::vector<DesktopEntry> found;
    QSet<QString> seen_ids;
    for (const QString& dir_path : application_dirs) {
        const QDir dir(dir_path);
        if (!dir.exists()) continue;
        QStringList files;
        QDirIterator it(dir_path, {QStringLiteral("*.desktop")}, QDir::Files | QDir::Readable,
                        QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (it.hasNext()) files << it.next();
        files.sort();  // the order of the file system is not stable
        for (const QString& file : files) {
            // The ID of "apps/vendor/browser.desktop" is "vendor-browser.desktop".
            QString id = dir.relativeFilePath(file);
            id.replace(u'/', u'-');
            if (seen_ids.contains(id)) continue;
            seen_ids.insert(id);

            const auto entry = read_desktop_entry(file, id);
            if (!entry || entry->type != QStringLiteral("Application")) continue;
            if (entry->hidden || entry->no_display) continue;
            if (std::none_of(kWebTypes.begin(), kWebTypes.end(),
                             [&](const QString& t) { return entry->mime_types.contains(t); }))
                continue;
            if (!entry->try_exec.isEmpty() && find_program(entry->try_exec).isEmpty()) continue;
            const auto argv = expand_exec(entry->exec, QStringLiteral("http://x/"), *entry);
            if (!argv || find_program(argv->front()).isEmpty()) continue;
            found.push_back(*entry);
        }
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(found.begin(), found.end(), [&](const DesktopEntry& a, const DesktopEntry& b) {
        return collator.compare(a.name, b.name) < 0;
    });
    return found;
}

}  // namespace ristemo::platform
