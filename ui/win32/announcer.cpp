#include "ui/win32/announcer.h"
// The GUIDs of the accessibility properties are defined here, once.
#include <initguid.h>
#include <oleacc.h>

#include "platform/windows/system_dll.h"

namespace ristemo::ui::win32 {

namespace {

// NotificationKind_ActionCompleted and NotificationProcessing_ImportantMostRecent: news of what
// the user just did, of which only the latest matters.
constexpr int kActionCompleted = 2;
constexpr int kImportantMostRecent = 1;

}  // namespace

Announcer::Uia Announcer::Uia::of_system() {
    static const platform::SystemDll dll(L"uiautomationcore.dll");
    Uia uia;
    uia.host_provider = dll.function<decltype(uia.host_provider)>("UiaHostProviderFromHwnd");
    uia.clients_are_listening =
        dll.function<decltype(uia.clients_are_listening)>("UiaClientsAreListening");
    uia.raise_notification =
        dll.function<decltype(uia.raise_notification)>("UiaRaiseNotificationEvent");
    return uia;
}

Announcer::Announcer(HWND window, HINSTANCE instance, const Uia& uia) : window_(window), uia_(uia) {
    alert_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 0, 0,
                             window, nullptr, instance, nullptr);
    // Last in z-order: it takes no part in the dialog keys' groups and tab stops.
    SetWindowPos(alert_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    com_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    IAccPropServices* properties = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IAccPropServices, reinterpret_cast<void**>(&properties)))) {
        VARIANT role;
        VariantInit(&role);
        role.vt = VT_I4;
        role.lVal = ROLE_SYSTEM_ALERT;
        properties->SetHwndProp(alert_, DWORD(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_ROLE, role);
        properties->Release();
    }
}

Announcer::~Announcer() {
    if (com_) CoUninitialize();
}

void Announcer::announce(const std::wstring& text) {
    SetWindowTextW(alert_, text.c_str());
    if (notify(text)) return;
    NotifyWinEvent(EVENT_SYSTEM_ALERT, alert_, OBJID_CLIENT, CHILDID_SELF);
}

// True when a UI Automation client has been told.
bool Announcer::notify(const std::wstring& text) {
    if (uia_.host_provider == nullptr || uia_.clients_are_listening == nullptr ||
        uia_.raise_notification == nullptr || !uia_.clients_are_listening())
        return false;
    IUnknown* provider = nullptr;
    if (FAILED(uia_.host_provider(window_, &provider)) || provider == nullptr) return false;
    const BSTR said = SysAllocString(text.c_str());
    const BSTR activity = SysAllocString(L"ristemo-announcement");
    const bool told = SUCCEEDED(
        uia_.raise_notification(provider, kActionCompleted, kImportantMostRecent, said, activity));
    SysFreeString(activity);
    SysFreeString(said);
    provider->Release();
    return told;
}

}  // namespace ristemo::ui::win32
