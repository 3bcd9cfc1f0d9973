#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <functional>

namespace ristemo::test {

// A report as the window hands it over: thirteen lines, each ended by CR LF.
inline QString thirteen_line_report() {
    const QStringList lines = {
        QStringLiteral("Ristemo 1.0 - © 2026 gli autori di Ristemo"),
        QStringLiteral("Dati in ingresso:"),
        QStringLiteral("creatinina plasmatica         : 1,2 mg/dl"),
        QStringLiteral("peso corporeo                 : 80,0 Kg"),
        QStringLiteral("altezza                       : 1,75 mt"),
        QStringLiteral("età                           : 70 anni"),
        QStringLiteral("sesso                         : maschile"),
        QStringLiteral("Dati calcolati:"),
        QStringLiteral("Stima clearance creatinina    : 65 ml/min"),
        QStringLiteral("Body Mass Index               : 26,12"),
        QStringLiteral("peso ideale / scostamento     : 70,5 Kg  13,5 pc"),
        QStringLiteral("stima superficie corporea     : 1,96 mq"),
        QStringLiteral("stima massa magra             : 62,1 Kg"),
    };
    QString text;
    for (const QString& line : lines) text += line + QStringLiteral("\r\n");
    return text;
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

inline QByteArray read_file(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
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
        QFile f(QDir(dir_.path()).filePath(name));
        if (!f.open(QIODevice::WriteOnly)) return;
        f.write("#!/bin/sh\n" + body + "\n");
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
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
