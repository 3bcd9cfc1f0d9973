#pragma once

namespace ristemo::form::web_links {

// The four pages of the "medical software" menu. Hosts are placeholders: a distributor changes
// them here and nowhere else.
inline constexpr const char* kNomra = "http://www.nomra.example/";
inline constexpr const char* kVelsor = "http://www.nomra.example/velsor";
inline constexpr const char* kMirdo = "http://www.medsoft.example/mirdo/";
inline constexpr const char* kZentab = "http://www.zentab.example/";

}  // namespace ristemo::form::web_links
