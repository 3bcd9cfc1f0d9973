#pragma once

#include "platform/locale_query.h"
#include "platform/regional_settings.h"

namespace ristemo::platform {

// The user's decimal separator from the user's locale and its overrides (Regional Settings).
class WinLocaleQuery : public LocaleQuery {
public:
    std::string decimal_separator() override;
};

// Opens Regional Settings: the Control Panel applet, started hidden and not waited for (the
// applet shows its own dialog).
class WinRegionalSettings : public RegionalSettings {
public:
    bool open_regional_settings() override;
};

// The command line that opens Regional Settings.
inline constexpr const wchar_t* kRegionalSettingsCommand =
    L"rundll32.exe shell32.dll,Control_RunDLL intl.cpl,,0";

}  // namespace ristemo::platform
