#include "platform/module1.h"

namespace ristemo::platform::Module1 {

QString link_target;
std::int32_t launch_result = 0;
QString launch_error;

bool open_link(ShellOpen& shell) {
    launch_result = shell.shell_open(link_target);
    if (launch_result > 32) return true;
    if (launch_result == kShellNoAssociation) {
        open_with_dialog(shell);
        return true;
    }
    launch_error = QStringLiteral("Can't launch '") + link_target + QStringLiteral("'.");
    return false;
}

std::int32_t open_with_dialog(ShellOpen& shell) {
    return shell.open_with_dialog(link_target);
}

}  // namespace ristemo::platform::Module1
