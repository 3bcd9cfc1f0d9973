#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/shell_open.h"

// The link launcher's state is one per program, not one per window: the address a menu item set
// and the outcome of the latest launch, which the open-with dialog and the failure message read.
namespace ristemo::form::Module1 {

extern std::string link_target;     // the address to open; set by a menu handler
extern std::int32_t launch_result;  // code of the latest shell request of open_link
extern std::string launch_error;    // "Can't launch '<address>'." after a failed open_link

// Told the launch_error of a launch that open_link had counted as a success.
using LaunchFailure = std::function<void(const std::string& launch_error)>;

// Opens link_target. True on success or when the open-with dialog was offered instead (no
// associated program); false on any other failure, with launch_error set. The opener is watched
// after the return: when it fails then, launch_result and launch_error are set as for a failure
// found at once and late_failure (may be empty) is called, on the interface thread.
bool open_link(platform::ShellOpen& shell, LaunchFailure late_failure = {});

// Offers the open-with dialog for link_target and returns its code.
std::int32_t open_with_dialog(platform::ShellOpen& shell);

}  // namespace ristemo::form::Module1
