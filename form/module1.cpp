#include "form/module1.h"

namespace ristemo::form::Module1 {

std::string link_target;
std::int32_t launch_result = 0;
std::string launch_error;

namespace {

std::string cannot_launch(const std::string& address) {
    return "Can't launch '" + address + "'.";
}

}  // namespace

bool open_link(platform::ShellOpen& shell, LaunchFailure late_failure) {
    // The address of this launch: link_target may name another one by the time a failure comes.
    const std::string address = link_target;
    launch_result = shell.shell_open(address, [address, late_failure]() {
        launch_result = platform::kShellFailure;
        launch_error = cannot_launch(address);
        if (late_failure) late_failure(launch_error);
    });
    if (launch_result > 32) return true;
    if (launch_result == platform::kShellNoAssociation) {
        open_with_dialog(shell);
        return true;
    }
    launch_error = cannot_launch(address);
    return false;
}

std::int32_t open_with_dialog(platform::ShellOpen& shell) {
    return shell.open_with_dialog(link_target);
}

}  // namespace ristemo::form::Module1
