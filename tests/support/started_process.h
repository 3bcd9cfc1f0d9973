// Starts a program of the Windows tests by its command line, as the export starts Notepad: no
// handles inherited, shown normally.
#pragma once

#include <windows.h>

#include <string>

namespace ristemo::test {

// The started process's handle, for the caller to close; nullptr when it could not start.
inline HANDLE start_process(std::wstring command) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
        return nullptr;
    CloseHandle(started.hThread);
    return started.hProcess;
}

}  // namespace ristemo::test
