#include "platform/windows/win_message_box.h"

#include "platform/windows/wide_text.h"

namespace ristemo::platform {

UINT WinMessageBox::style_of(Buttons buttons, Icon icon) {
    UINT style = MB_DEFBUTTON1 | MB_SETFOREGROUND;
    switch (buttons) {
        case Buttons::Ok:
            style |= MB_OK;
            break;
        case Buttons::YesNo:
            style |= MB_YESNO;
            break;
        case Buttons::YesNoCancel:
            style |= MB_YESNOCANCEL;
            break;
    }
    if (icon == Icon::Question) style |= MB_ICONQUESTION;
    return style;
}

Answer WinMessageBox::answer_of(int result) {
    switch (result) {
        case IDOK:
            return Answer::Ok;
        case IDYES:
            return Answer::Yes;
        case IDNO:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

Answer WinMessageBox::show_message(const std::string& prompt, Buttons buttons, Icon icon) {
    const HWND owner = owner_ != nullptr && IsWindow(*owner_) ? *owner_ : nullptr;
    // Without an owner (at start, before the window exists) the box still blocks the program.
    const UINT modality = owner != nullptr ? MB_APPLMODAL : MB_TASKMODAL;
    return answer_of(MessageBoxW(owner, widen(prompt).c_str(), title_.c_str(),
                                 style_of(buttons, icon) | modality));
}

}  // namespace ristemo::platform
