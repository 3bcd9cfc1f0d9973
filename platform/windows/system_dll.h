#pragma once

#include "platform/windows/win32.h"

namespace ristemo::platform {

// A function of a DLL that the program loads when it first needs it rather than at start-up, and
// only from the system folder, never from the program's: nullptr when either is missing.
template <typename Function>
Function system_function(const wchar_t* dll, const char* name) {
    const HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr) return nullptr;
    // Through void(*)(), the one cast between function types that says nothing about the call.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace ristemo::platform
