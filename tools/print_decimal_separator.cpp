// Prints the decimal separator the calculator will see, so that scripts/run can decide how to
// start it without showing the refusal message.
#include <QCoreApplication>
#include <QTextStream>

#include "platform/linux/system_locale_query.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    ristemo::platform::SystemLocaleQuery locale;
    QTextStream(stdout) << QString::fromStdString(locale.decimal_separator()) << '\n';
    return 0;
}
