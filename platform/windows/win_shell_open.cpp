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
// DLLs they bring, some 25 ms of its start under Wine.
struct Shell {
    decltype(&ShellExecuteW) execute = nullptr;
    decltype(&CoInitializeEx) initialize_com = nullptr;
    decltype(&CoUninitialize) uninitialize_com = nullptr;
};

const Shell& shell() {
    static const Shell loaded = [] {
        const SystemDll shell32(L"shell32.dll");
        const SystemDll ole32(L"ole32.dll");
        return Shell{shell32.function<decltype(&ShellExecuteW)>("ShellExecuteW"),
                     ole32.function<decltype(&CoInitializeEx)>("CoInitializeEx"),
                     ole32.function<decltype(&CoUninitialize)>("CoUninitialize")};
    }();
    return loaded;
}

std::int32_t shell_execute(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                           const wchar_t* directory) {
    const Shell& functions = shell();
    if (functions.execute == nullptr) return SE_ERR_DLLNOTFOUND;
    // The shell may hand the address to extensions it starts through COM, which it needs on the
    // calling thread, in a single-threaded apartment. ShellExecuteW returns once the address is
    // handed over, and COM is stopped again. A thread whose COM runs already keeps it as it is.
    const bool com_started = functions.initialize_com != nullptr &&
                             functions.uninitialize_com != nullptr &&
                             SUCCEEDED(functions.initialize_com(
                                 nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    const HINSTANCE result =
        functions.execute(nullptr, verb, file, parameters, directory, SW_SHOWNORMAL);
    if (com_started) functions.uninitialize_com();
    return code_of(result);
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
