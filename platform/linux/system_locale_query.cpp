#include "platform/linux/system_locale_query.h"

#include <QLocale>

namespace ristemo::platform {

std::string SystemLocaleQuery::decimal_separator() {
    return QLocale::system().decimalPoint().toStdString();
}

}  // namespace ristemo::platform
