#pragma once

#include <QString>
#include <cstdint>

namespace ristemo::platform {

// Result codes of the shell open: above 32 success, 31 no associated program, else a failure.
inline constexpr std::int32_t kShellNoAssociation = 31;
inline constexpr std::int32_t kShellSuccess = 42;
inline constexpr std::int32_t kShellFailure = 0;

class ShellOpen {
public:
    virtual ~ShellOpen() = default;
    // Opens an address with the program associated with it.
    virtual std::int32_t shell_open(const QString& address) = 0;
    // Lets the user choose a program for the address and starts it.
    virtual std::int32_t open_with_dialog(const QString& address) = 0;
};

}  // namespace ristemo::platform
