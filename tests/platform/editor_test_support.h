#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <functional>

#include "support/files.h"
#include "support/worked_example.h"

namespace ristemo::test {

// The worked example's report as the window hands it over: thirteen lines, each ended by CR LF.
inline QString thirteen_line_report() {
    return QString::fromStdString(worked_example_text("\r\n"));
}

// Runs the event loop until cond holds or timeout_ms passes; returns cond's last value.
inline bool wait_until(const std::function<bool()>& cond, int timeout_ms) {
    QElapsedTimer timer;
    timer.start();
    while (!cond()) {
        if (timer.elapsed() > timeout_ms) return cond();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

// A folder standing for PATH, where programs are "installed" as links to a fake.
class FakeBin {
public:
    QString path() const { return dir_.path(); }
    void install(const QString& name, const QString& target) const {
        QFile::link(target, QDir(dir_.path()).filePath(name));
    }
    // A shell script with the given body.
    void install_script(const QString& name, const QByteArray& body) const {
        write_file(QDir(dir_.path()).filePath(name), "#!/bin/sh\n" + body + "\n", true);
    }
    // An xdg-mime that names entry as the default for text/plain.
    void set_desktop_default(const QString& entry) const {
        install_script(
            QStringLiteral("xdg-mime"),
            "[ \"$*\" = \"query default text/plain\" ] || exit 2\necho '" + entry.toUtf8() + "'");
    }

private:
    QTemporaryDir dir_;
};

}  // namespace ristemo::test
