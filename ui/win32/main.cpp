// The Windows program: Form1 in a Win32 window, with the Windows services.
#include "core/app_info.h"
#include "form/form1.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win32.h"
#include "platform/windows/win_editor_export.h"
#include "platform/windows/win_locale.h"
#include "platform/windows/win_message_box.h"
#include "platform/windows/win_printer.h"
#include "platform/windows/win_shell_open.h"
#include "ui/win32/form1_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
    namespace platform = ristemo::platform;
    HWND message_owner = nullptr;  // none until the window is on screen
    platform::WinMessageBox message_box(platform::widen(ristemo::core::kMessageTitle),
                                        &message_owner);
    platform::WinLocaleQuery locale;
    platform::WinRegionalSettings regional_settings;
    platform::WinPrinter printer;
    platform::WinEditorExport editor;
    platform::WinShellOpen shell;

    const ristemo::form::Services services{message_box, locale, regional_settings,
                                           printer,     editor, shell};
    ristemo::ui::Form1Window window(services);
    if (!window.create(instance)) return 1;
    // The refusal is a failed start, whatever the answer.
    if (!window.form().Form_Load()) return 1;
    message_owner = window.handle();
    window.show(show_command);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (window.preview(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // An export started just before the window closed still reaches its Notepad, and a failure
    // of it is still shown.
    editor.wait_for_exports();
    return int(msg.wParam);
}
