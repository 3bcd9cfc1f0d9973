#include "platform/windows/win_locale.h"

#include <string>

#include "platform/windows/wide_text.h"
#include "platform/windows/win32.h"

namespace ristemo::platform {

std::string WinLocaleQuery::decimal_separator() {
    wchar_t buffer[10] = {};
    const int count = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 10);
    // The count includes the terminating zero; 0 is a failure, reported as no separator.
    if (count <= 1) return {};
    return narrow(std::wstring(buffer, std::size_t(count - 1)));
}

bool WinRegionalSettings::open_regional_settings() {
    std::wstring command = kRegionalSettingsCommand;  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace ristemo::platform
