#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace ristemo::platform {

// What a desktop tool (xdg-mime, xdg-settings) answered.
struct ToolAnswer {
    bool finished = false;  // it ran and ended within the time given
    int exit_code = -1;
    QString output;  // its standard output, trimmed
};

// Runs the tool at `path` with no input and waits at most timeout_ms for its answer; a tool that
// does not end in time is killed, so a hung desktop service never hangs the caller.
ToolAnswer ask_tool(
    const QString& path, const QStringList& arguments, int timeout_ms,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

}  // namespace ristemo::platform
