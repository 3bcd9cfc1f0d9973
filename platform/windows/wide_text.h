#pragma once

#include <string>

namespace ristemo::platform {

// The program's texts are UTF-8; the Win32 API takes and gives UTF-16.
std::wstring widen(const std::string& utf8);
std::string narrow(const std::wstring& utf16);

}  // namespace ristemo::platform
