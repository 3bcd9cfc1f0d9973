#include "platform/module1.h"

namespace ristemo::platform::Module1 {

QString link_target;
std::int32_t launch_result = 0;
QString launch_error;

namespace {

QString cannot_launch(const QString& address) {
    return QStringLiteral("Can't launch '") + address + QStringLiteral("'.");
}

}  // namespace

bool open_link(ShellOpen& shell, LaunchFailure late_failure) {
    // The address of this launch: link_target may name another one by the time a failure comes.
    const QString address = link_target;
    launch_result = shell.shell_open(address, [address, late_failure]() {
        launch_result = kShellFailure;
        launch_error = cannot_launch(address);
        if (late_failure) late_failure(launch_error);
    });
    if (launch_result > 32) return true;
    if (launch_result == kShellNoAssociation) {
        open_with_dialog(shell);
        return true;
    }
    launch_error = cannot_launch(address);
    return false;
}

std::int32_t open_with_dialog(ShellOpen& shell) {
    return shell.open_with_dialog(link_target);
}

}  // namespace ristemo::platform::Module1
