#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace ristemo::platform {

// Result codes of the shell open: above 32 success, 31 no associated program, else a failure.
inline constexpr std::int32_t kShellNoAssociation = 31;
inline constexpr std::int32_t kShellSuccess = 42;
inline constexpr std::int32_t kShellFailure = 0;

class ShellOpen {
public:
    // Called on the interface thread, from its event loop, when a launch that shell_open counted
    // as a success fails after all (the opener, still watched, exits with an error).
    using LateFailure = std::function<void()>;

    virtual ~ShellOpen() = default;
    // Opens an address with the program associated with it, without waiting for the opener to
    // finish; late_failure (may be empty) hears of a failure found afterwards.
    virtual std::int32_t shell_open(const std::string& address, LateFailure late_failure) = 0;
    // Lets the user choose a program for the address and starts it.
    virtual std::int32_t open_with_dialog(const std::string& address) = 0;
};

}  // namespace ristemo::platform
