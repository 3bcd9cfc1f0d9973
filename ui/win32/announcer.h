#pragma once

#include <string>

#include "platform/windows/win32.h"

namespace ristemo::ui::win32 {

// Has screen readers say a text without moving the focus. Where Windows has UI Automation
// notifications (Windows 10, version 1709, and later) and a UI Automation client listens, it
// raises one; otherwise it raises an MSAA alert, which readers of that older interface speak:
// a child window of the alert role, sized to nothing, holds the text.
class Announcer {
public:
    // The UI Automation functions it uses, found at run time: the program starts also where
    // they are missing.
    struct Uia {
        HRESULT(WINAPI* host_provider)(HWND, IUnknown**) = nullptr;  // UiaHostProviderFromHwnd
        BOOL(WINAPI* clients_are_listening)() = nullptr;             // UiaClientsAreListening
        // UiaRaiseNotificationEvent(provider, kind, processing, text, activity)
        HRESULT(WINAPI* raise_notification)(IUnknown*, int, int, BSTR, BSTR) = nullptr;

        static Uia of_system();
    };

    Announcer(HWND window, HINSTANCE instance, const Uia& uia = Uia::of_system());
    ~Announcer();
    Announcer(const Announcer&) = delete;
    Announcer& operator=(const Announcer&) = delete;

    void announce(const std::wstring& text);
    HWND alert() const { return alert_; }

private:
    bool notify(const std::wstring& text);

    HWND window_;
    HWND alert_ = nullptr;
    Uia uia_;
    bool com_ = false;
};

}  // namespace ristemo::ui::win32
