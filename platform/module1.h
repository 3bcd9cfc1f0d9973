#pragma once

#include <QString>
#include <cstdint>

#include "platform/shell_open.h"

// The link launcher keeps its state at module level, as the program's design asks.
namespace ristemo::platform::Module1 {

extern QString link_target;         // the address to open; set by a menu handler
extern std::int32_t launch_result;  // code of the latest shell request of open_link
extern QString launch_error;        // "Can't launch '<address>'." after a failed open_link

// Opens link_target. True on success or when the open-with dialog was offered instead (no
// associated program); false on any other failure, with launch_error set.
bool open_link(ShellOpen& shell);

// Offers the open-with dialog for link_target and returns its code.
std::int32_t open_with_dialog(ShellOpen& shell);

}  // namespace ristemo::platform::Module1
