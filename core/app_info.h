#pragma once

#include "core/version.h"

namespace ristemo::core {

// The program's name line: window caption, first line of the About text, first line of both
// reports.
inline constexpr const char* kAppTitle =
    "Ristemo " RISTEMO_VERSION " - \u00a9 2026 gli autori di Ristemo";

// Title of every message box.
inline constexpr const char* kMessageTitle = "ristemo";

}  // namespace ristemo::core
