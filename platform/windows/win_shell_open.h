#pragma once

#include "platform/shell_open.h"

namespace ristemo::platform {

// ShellExecuteW: its result is final, so there is never a late failure to report.
class WinShellOpen : public ShellOpen {
public:
    std::int32_t shell_open(const std::string& address, LateFailure late_failure) override;
    std::int32_t open_with_dialog(const std::string& address) override;
};

}  // namespace ristemo::platform
