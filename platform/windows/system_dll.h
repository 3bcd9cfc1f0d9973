#pragma once

#include "platform/windows/win32.h"

namespace ristemo::platform {

// A DLL that the program loads when it first needs it rather than at start-up, once, and only
// from the system folder, never from the program's. It stays loaded until the program ends, so
// that its functions can be kept.
class SystemDll {
public:
    explicit SystemDll(const wchar_t* name)
        : module_(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}

    // nullptr when the DLL or the function is missing.
    template <typename Function>
    Function function(const char* name) const {
        if (module_ == nullptr) return nullptr;
        // Through void(*)(), the one cast between function types that says nothing about the call.
        return reinterpret_cast<Function>(
            reinterpret_cast<void (*)()>(GetProcAddress(module_, name)));
    }

private:
    HMODULE module_;
};

}  // namespace ristemo::platform
