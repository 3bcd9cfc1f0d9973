#include "platform/windows/win_shell_open.h"

#include "platform/windows/wide_text.h"
#include "platform/windows/win32.h"

namespace ristemo::platform {

namespace {

// ShellExecuteW returns an HINSTANCE that only carries a code: above 32 success, else the error.
std::int32_t code_of(HINSTANCE result) {
    const INT_PTR code = reinterpret_cast<INT_PTR>(result);
    return code > 32 ? kShellSuccess : std::int32_t(code);
}

}  // namespace

std::int32_t WinShellOpen::shell_open(const std::string& address, LateFailure) {
    return code_of(
        ShellExecuteW(nullptr, L"open", widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

std::int32_t WinShellOpen::open_with_dialog(const std::string& address) {
    const std::wstring parameters = L"shell32.dll,OpenAs_RunDLL " + widen(address);
    return code_of(
        ShellExecuteW(nullptr, nullptr, L"RUNDLL32.EXE", parameters.c_str(), L"", SW_SHOWNORMAL));
}

}  // namespace ristemo::platform
