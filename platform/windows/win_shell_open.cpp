#include "platform/windows/win_shell_open.h"

#include "platform/windows/system_dll.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win32.h"

namespace ristemo::platform {

namespace {

// ShellExecuteW returns an HINSTANCE that only carries a code: above 32 success, else the error.
std::int32_t code_of(HINSTANCE result) {
    const INT_PTR code = reinterpret_cast<INT_PTR>(result);
    return code > 32 ? kShellSuccess : std::int32_t(code);
}

// The shell and COM are loaded with the first address opened, not with the program: with the
// DLLs they bring, some 25 ms of its start under Wine. The shell opens some addresses through
// COM, which it needs on the calling thread; COM stays there until the program ends.
std::int32_t shell_execute(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                           const wchar_t* directory) {
    static const auto execute =
        system_function<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    [[maybe_unused]] thread_local const bool com = [] {
        const auto initialize =
            system_function<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
        return initialize != nullptr &&
               SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }();
    if (execute == nullptr) return SE_ERR_DLLNOTFOUND;
    return code_of(execute(nullptr, verb, file, parameters, directory, SW_SHOWNORMAL));
}

}  // namespace

std::int32_t WinShellOpen::shell_open(const std::string& address, LateFailure) {
    return shell_execute(L"open", widen(address).c_str(), nullptr, nullptr);
}

std::int32_t WinShellOpen::open_with_dialog(const std::string& address) {
    const std::wstring parameters = L"shell32.dll,OpenAs_RunDLL " + widen(address);
    return shell_execute(nullptr, L"RUNDLL32.EXE", parameters.c_str(), L"");
}

}  // namespace ristemo::platform
