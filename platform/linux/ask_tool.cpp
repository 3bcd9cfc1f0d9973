#include "platform/linux/ask_tool.h"

#include <QProcess>

namespace ristemo::platform {

ToolAnswer ask_tool(const QString& path, const QStringList& arguments, int timeout_ms,
                    const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(path, arguments);
    if (!process.waitForFinished(timeout_ms)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit) return {};
    return {true, process.exitCode(),
            QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed()};
}

}  // namespace ristemo::platform
