#include "platform/system_locale_query.h"

#include <QLocale>

namespace ristemo::platform {

QString SystemLocaleQuery::decimal_separator() {
    return QLocale::system().decimalPoint();
}

}  // namespace ristemo::platform
