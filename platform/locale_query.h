#pragma once

#include <string>

namespace ristemo::platform {

// The user's decimal separator as the locale reports it (UTF-8, may be empty).
class LocaleQuery {
public:
    virtual ~LocaleQuery() = default;
    virtual std::string decimal_separator() = 0;
};

}  // namespace ristemo::platform
