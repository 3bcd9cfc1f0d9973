#pragma once

#include "platform/locale_query.h"

namespace ristemo::platform {

// The decimal separator of the user's number locale (LC_ALL, LC_NUMERIC, LANG), as Qt reads it;
// it needs no generated C locale.
class SystemLocaleQuery : public LocaleQuery {
public:
    std::string decimal_separator() override;
};

}  // namespace ristemo::platform
