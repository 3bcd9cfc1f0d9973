#pragma once

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <map>
#include <optional>

#include "support/files.h"

namespace ristemo::test {

// A throw-away home with its own XDG folders, so that xdg-open, xdg-mime and xdg-settings see
// only the applications a test installs. The desktop is the generic one, whatever the machine
// runs; DISPLAY only has to be set for xdg-open to consider scheme handlers at all.
class XdgSandbox {
public:
    XdgSandbox() {
        for (const char* dir : {"home/.config", "home/.local/share/applications",
                                "share/applications", "etc/xdg", "bin"})
            QDir().mkpath(path(dir));
        set("HOME", path("home"));
        set("XDG_CONFIG_HOME", path("home/.config"));
        set("XDG_DATA_HOME", path("home/.local/share"));
        set("XDG_DATA_DIRS", path("share"));
        set("XDG_CONFIG_DIRS", path("etc/xdg"));
        set("XDG_CURRENT_DESKTOP", "X-Generic");
        set("DISPLAY", ":99");
        for (const char* name : {"BROWSER", "WAYLAND_DISPLAY", "XDG_MENU_PREFIX", "DE",
                                 "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID", "DESKTOP_SESSION"})
            unset(name);
    }
    ~XdgSandbox() {
        for (const auto& [name, value] : saved_) {
            if (value)
                qputenv(name.c_str(), *value);
            else
                qunsetenv(name.c_str());
        }
    }
    XdgSandbox(const XdgSandbox&) = delete;
    XdgSandbox& operator=(const XdgSandbox&) = delete;

    QString path(const QString& relative) const { return dir_.filePath(relative); }
    QString log_path() const { return path("calls.log"); }

    void set(const char* name, const QString& value) {
        remember(name);
        qputenv(name, value.toLocal8Bit());
    }
    void unset(const char* name) {
        remember(name);
        qunsetenv(name);
    }

    // A browser that records each call and its arguments in calls.log, then exits with `status`
    // (or keeps running for a while when `status` is negative).
    QString write_browser(const QString& name, int status = 0) const {
        const QString file = path("bin/" + name);
        QByteArray script =
            "#!/bin/sh\n{ echo call; for a in \"$@\"; do printf 'arg %s\\n' \"$a\"; "
            "done; echo end; } >> '" +
            log_path().toLocal8Bit() + "'\n";
        script +=
            status < 0 ? QByteArray("sleep 5\n") : "exit " + QByteArray::number(status) + "\n";
        write_file(file, script, true);
        return file;
    }

    // Writes a desktop entry into `folder` (relative to the sandbox) and returns its path.
    QString write_entry(const QString& folder, const QString& file_name,
                        const QString& body) const {
        QDir().mkpath(path(folder));
        const QString file = path(folder + "/" + file_name);
        write_file(file, body.toUtf8());
        return file;
    }

    QString write_browser_entry(const QString& id, const QString& program,
                                const QString& mime_types) const {
        return write_entry("home/.local/share/applications", id,
                           "[Desktop Entry]\nType=Application\nName=Fake Browser\nExec=" + program +
                               " %u\nMimeType=" + mime_types + "\n");
    }

    // The user's default for web addresses, set the way a user would.
    bool register_default(const QString& id) const {
        return QProcess::execute("xdg-mime", {"default", id, "x-scheme-handler/http"}) == 0;
    }

    // Each recorded call as its argument list; a call still being written is not one yet.
    QList<QStringList> calls() const {
        QList<QStringList> out;
        std::optional<QStringList> call;
        for (const QByteArray& line : read_file(log_path()).split('\n')) {
            if (line == "call") {
                call.emplace();
            } else if (line.startsWith("arg ") && call) {
                *call << QString::fromUtf8(line.mid(4));
            } else if (line == "end" && call) {
                out.append(*call);
                call.reset();
            }
        }
        return out;
    }

    // Waits until `count` calls are recorded; the browser may outlive the launcher's wait.
    QList<QStringList> wait_for_calls(int count, int timeout_ms = 60000) const {
        QDeadlineTimer deadline(timeout_ms);
        while (calls().size() < count && !deadline.hasExpired()) QThread::msleep(20);
        return calls();
    }

private:
    void remember(const char* name) {
        if (saved_.count(name)) return;
        saved_[name] = qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name))
                                                       : std::nullopt;
    }

    QTemporaryDir dir_;
    std::map<std::string, std::optional<QByteArray>> saved_;
};

}  // namespace ristemo::test
