#pragma once

// The Windows headers for this program, without their MessageBox macro, which would rename
// platform::MessageBox. <windows.h> must come first.
// clang-format off
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
// clang-format on
#undef MessageBox
