#include <string>
#include <vector>

#include "form/form1_design.h"
#include "platform/windows/wide_text.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/form1_window.h"

namespace ristemo::ui::win32 {

// The menu tree of the design: a menu holds the entries that follow it one level deeper. The
// function keys send their items' commands, whichever control has the focus.
void Form1Window::create_menus() {
    menu_ = CreateMenu();
    std::vector<HMENU> open{menu_};  // open[level - 1] holds the entries of that level
    std::vector<ACCEL> keys;
    for (std::size_t i = 0; i < std::size(form::kMenus); ++i) {
        const form::MenuDesign& entry = form::kMenus[i];
        std::wstring caption = platform::widen(entry.caption);
        open.resize(std::size_t(entry.level));
        if (form::is_menu(i)) {
            const HMENU menu = CreatePopupMenu();
            AppendMenuW(open.back(), MF_POPUP, reinterpret_cast<UINT_PTR>(menu), caption.c_str());
            open.push_back(menu);
            continue;
        }
        const WORD id = WORD(ids::kMenu + int(i));
        if (const int key = form::function_key_of(entry.command)) {
            caption += L"\tF" + std::to_wstring(key);
            keys.push_back({FVIRTKEY, WORD(VK_F1 + key - 1), id});
        }
        AppendMenuW(open.back(), MF_STRING, id, caption.c_str());
    }
    accelerators_ = CreateAcceleratorTableW(keys.data(), int(keys.size()));
}

// A menu item, its function key or a button: the command the design gives it.
void Form1Window::command(int id, int notification) {
    if (id >= ids::kMenu && id < ids::kMenu + int(std::size(form::kMenus))) {
        form_.run(form::kMenus[id - ids::kMenu].command);
        return;
    }
    const form::ControlDesign* design = ids::design_of(id);
    if (design == nullptr || notification != BN_CLICKED) return;
    if (design->kind == form::ControlKind::PushButton) form_.run(design->command);
    if (design->kind == form::ControlKind::OptionButton && !moving_focus_) {
        set_Option1_value(design->index, true);
        form_.Option1_Click(design->index);
    }
}

}  // namespace ristemo::ui::win32
