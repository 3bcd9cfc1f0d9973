// The files and programs a test makes, and the files it reads back.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace ristemo::test {

// A file's bytes; empty when it cannot be read.
inline QByteArray read_file(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes the file anew, executable by its owner when asked; false when that fails.
inline bool write_file(const QString& path, const QByteArray& bytes, bool executable = false) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        return false;
    f.close();
    return !executable || f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

struct ToolRun {
    bool finished = false;  // ran to its end within a minute
    int exit_code = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a program to its end and keeps what it printed.
inline ToolRun run_tool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    ToolRun run;
    if (!process.waitForStarted(10000) || !process.waitForFinished(60000)) return run;
    run.finished = process.exitStatus() == QProcess::NormalExit;
    run.exit_code = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

}  // namespace ristemo::test
