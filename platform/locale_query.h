#pragma once

#include <QString>

namespace ristemo::platform {

// The user's decimal separator as the locale reports it (may be empty).
class LocaleQuery {
public:
    virtual ~LocaleQuery() = default;
    virtual QString decimal_separator() = 0;
};

}  // namespace ristemo::platform
