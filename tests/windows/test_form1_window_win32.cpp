#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <memory>
#include <string>

#include "platform/windows/wide_text.h"
#include "support/fakes.h"
#include "ui/win32/announcer.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/form1_window.h"
// The common controls need the Windows headers before them.
#include <commctrl.h>

namespace ristemo::ui::win32 {
namespace {

using platform::widen;

// One window for the whole run: its classes are registered once a process.
struct Window : test::FakeServices {
    form::Services services{message_box, locale, regional_settings, printer, editor, shell};
    Form1Window form{services};
    bool created = form.create(GetModuleHandleW(nullptr));
    UINT dpi = GetDpiForWindow(form.handle());
};

Window& window() {
    static const auto shared = std::make_unique<Window>();
    return *shared;
}

std::wstring text_of(HWND w) {
    wchar_t text[128] = {};
    GetWindowTextW(w, text, int(std::size(text)));
    return text;
}

HWND tooltips_of(HWND owner) {
    struct Search {
        HWND owner, found;
    } search{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            GetClassNameW(w, name, int(std::size(name)));
            if (std::wstring(name) == TOOLTIPS_CLASSW && GetWindow(w, GW_OWNER) == s->owner)
                s->found = w;
            return s->found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring tooltip_of(HWND control) {
    const HWND form = window().form.handle();
    wchar_t text[128] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = form;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(tooltips_of(form), TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    return text;
}

class ControlPlacement : public testing::TestWithParam<std::size_t> {};

// Each control of the design, found by its identifier, at its place converted from twips as the
// window converts them, with its caption, tooltip, font, limit and colour.
TEST_P(ControlPlacement, StandsWhereTheDesignSays) {
    const form::ControlDesign& d = form::kControls[GetParam()];
    Window& w = window();
    ASSERT_TRUE(w.created);
    const HWND control = GetDlgItem(w.form.handle(), ids::id_of(d));
    ASSERT_NE(control, nullptr);

    const form::ControlDesign* frame = form::frame_of(d);
    const int left = d.left + (frame ? frame->left : 0);
    const int top = d.top + (frame ? frame->top : 0);
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, w.form.handle(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, Form1Window::pixels(left, w.dpi));
    EXPECT_EQ(rect.top, Form1Window::pixels(top, w.dpi));
    EXPECT_EQ(rect.right - rect.left, Form1Window::pixels(d.width, w.dpi));
    EXPECT_EQ(rect.bottom - rect.top, Form1Window::pixels(d.height, w.dpi));

    EXPECT_EQ(text_of(control), widen(d.caption));
    EXPECT_EQ(tooltip_of(control), widen(d.tooltip));

    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    const form::Font designed = form::font_of(d.font);
    EXPECT_EQ(std::wstring(font.lfFaceName), widen(designed.face));
    EXPECT_NEAR(-font.lfHeight * 72.0 / w.dpi, designed.points, 0.4);
    EXPECT_EQ(font.lfWeight >= FW_BOLD, designed.bold);

    wchar_t window_class[32] = {};
    GetClassNameW(control, window_class, int(std::size(window_class)));
    const bool box = std::wstring(window_class) == WC_EDITW;
    EXPECT_EQ(box, d.kind == form::ControlKind::InputBox);
    if (box) {
        EXPECT_EQ(SendMessageW(control, EM_GETLIMITTEXT, 0, 0), d.max_length);
    }

    if (d.colour != form::ColourRole::System && !box) {
        const HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(w.form.handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(control));
        const form::Rgb rgb = form::rgb_of(d.colour);
        EXPECT_EQ(GetTextColor(dc), RGB(rgb.red, rgb.green, rgb.blue));
        DeleteDC(dc);
    }
}

INSTANTIATE_TEST_SUITE_P(Design, ControlPlacement,
                         testing::Range(std::size_t(0), std::size(form::kControls)),
                         [](const testing::TestParamInfo<std::size_t>& info) {
                             const form::ControlDesign& d = form::kControls[info.param];
                             return form::object_name(d.ref());
                         });

// The window as create() leaves it, before it is shown, in the style it keeps: a pop-up owned by
// a hidden window (no taskbar button), a title with the close box, no sizing border, no minimize
// or maximize; its client area the design's size.
TEST(Form1WindowFrame, IsCreatedInItsFinalStyle) {
    Window& w = window();
    ASSERT_TRUE(w.created);
    const HWND form = w.form.handle();
    const LONG_PTR style = GetWindowLongPtrW(form, GWL_STYLE);
    const LONG_PTR frame = WS_POPUP | WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                           WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE;
    EXPECT_EQ(style & frame, WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(GetWindowLongPtrW(form, GWL_EXSTYLE) &
                  (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME),
              0);
    const HWND owner = GetWindow(form, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_FALSE(IsWindowVisible(owner));
    RECT client{};
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, Form1Window::pixels(form::kClientWidth, w.dpi));
    EXPECT_EQ(client.bottom, Form1Window::pixels(form::kClientHeight, w.dpi));
}

// Each entry of the design's menu tree, in order, in the menu that holds it, with its caption
// and function key.
TEST(Form1WindowMenus, FollowTheDesign) {
    ASSERT_TRUE(window().created);
    struct Open {
        HMENU menu;
        int next;
    };
    std::vector<Open> open{{GetMenu(window().form.handle()), 0}};
    for (std::size_t i = 0; i < std::size(form::kMenus); ++i) {
        const form::MenuDesign& entry = form::kMenus[i];
        SCOPED_TRACE(entry.name);
        open.resize(std::size_t(entry.level));
        Open& parent = open.back();
        wchar_t caption[64] = {};
        GetMenuStringW(parent.menu, UINT(parent.next), caption, int(std::size(caption)),
                       MF_BYPOSITION);
        std::wstring expected = widen(entry.caption);
        if (const int key = form::function_key_of(entry.command))
            expected += L"\tF" + std::to_wstring(key);
        EXPECT_EQ(caption, expected);
        const HMENU submenu = GetSubMenu(parent.menu, parent.next++);
        EXPECT_EQ(submenu != nullptr, form::is_menu(i));
        if (submenu != nullptr) open.push_back({submenu, 0});
    }
}

// The fixed dark blue and dark red are unreadable on a high-contrast scheme's black: there the
// captions and results take the system's text colours, on the background they have anyway.
TEST(Form1WindowColours, HighContrastTakesTheSystemTextColours) {
    const struct {
        const form::ControlDesign* control;
        int contrast_text;  // system colour index
        int background;
    } rows[] = {
        {form::find_control({form::Control::Label1, 2}), COLOR_BTNTEXT, COLOR_BTNFACE},
        {form::find_control({form::Control::Option1, 1}), COLOR_BTNTEXT, COLOR_BTNFACE},
        {form::find_control({form::Control::Frame2}), COLOR_BTNTEXT, COLOR_BTNFACE},
        {form::find_control({form::Control::Label3, 4}), COLOR_WINDOWTEXT, COLOR_WINDOW},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(form::object_name(row.control->ref()));
        const Form1Window::Colours contrast = Form1Window::colours_of(*row.control, true);
        EXPECT_TRUE(contrast.own);
        EXPECT_EQ(contrast.text, GetSysColor(row.contrast_text));
        EXPECT_EQ(contrast.background, row.background);
        EXPECT_EQ(Form1Window::colours_of(*row.control, false).background, row.background);
    }
    EXPECT_FALSE(Form1Window::colours_of(*form::find_control({form::Control::Text1, 0}), true).own);
}

// What a UI Automation client was told, by UiaRaiseNotificationEvent's arguments.
struct Notification {
    int kind, processing;
    std::wstring text, activity;
};
std::vector<Notification> notifications;
BOOL listening = FALSE;

// Where Windows has UI Automation notifications and a client listens, the text goes as one: news
// of a finished action, of which the latest counts. Otherwise it goes as an MSAA alert, whose
// window holds the text (the alert itself is seen from outside, in the Wine end-to-end tests).
TEST(Announcer, NotifiesListeningUiAutomationClientsElseAlerts) {
    ASSERT_TRUE(window().created);
    const struct {
        const char* name;
        BOOL listening;
        bool has_notifications;
        std::size_t notified;
    } rows[] = {
        {"a client listens", TRUE, true, 1},
        {"no client listens", FALSE, true, 0},
        {"Windows before 10 version 1709", TRUE, false, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        notifications.clear();
        listening = row.listening;
        Announcer::Uia uia;
        uia.host_provider = Announcer::Uia::of_system().host_provider;
        ASSERT_NE(uia.host_provider, nullptr);
        uia.clients_are_listening = []() -> BOOL { return listening; };
        if (row.has_notifications)
            uia.raise_notification = [](IUnknown*, int kind, int processing, BSTR text,
                                        BSTR activity) -> HRESULT {
                notifications.push_back({kind, processing, text, activity});
                return S_OK;
            };
        Announcer announcer(window().form.handle(), GetModuleHandleW(nullptr), uia);

        announcer.announce(L"femmina, selezionato");

        ASSERT_EQ(notifications.size(), row.notified);
        if (row.notified == 1) {
            EXPECT_EQ(notifications[0].kind, 2);        // NotificationKind_ActionCompleted
            EXPECT_EQ(notifications[0].processing, 1);  // ..._ImportantMostRecent
            EXPECT_EQ(notifications[0].text, L"femmina, selezionato");
            EXPECT_EQ(notifications[0].activity, L"ristemo-announcement");
        }
        EXPECT_EQ(text_of(announcer.alert()), L"femmina, selezionato");
    }
}

}  // namespace
}  // namespace ristemo::ui::win32
