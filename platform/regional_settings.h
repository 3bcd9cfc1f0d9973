#pragma once

namespace ristemo::platform {

// Starts the desktop's regional-format settings as an independent process.
class RegionalSettings {
public:
    virtual ~RegionalSettings() = default;
    // False when this desktop has no such tool, or it could not be started.
    virtual bool open_regional_settings() = 0;
};

}  // namespace ristemo::platform
