#pragma once

#include <string>
#include <utility>

#include "platform/message_box.h"
#include "platform/windows/win32.h"

namespace ristemo::platform {

// MessageBoxW with the program's title on every box, owned by the window that *owner names when
// there is one.
class WinMessageBox : public MessageBox {
public:
    WinMessageBox(std::wstring title, const HWND* owner)
        : title_(std::move(title)), owner_(owner) {}
    Answer show_message(const std::string& prompt, Buttons buttons, Icon icon) override;

    // The MessageBoxW style for a button set and icon: the first button is the default.
    static UINT style_of(Buttons buttons, Icon icon);
    // The answer for MessageBoxW's result; a box closed without a choice answers Cancel.
    static Answer answer_of(int result);

private:
    std::wstring title_;
    const HWND* owner_;
};

}  // namespace ristemo::platform
