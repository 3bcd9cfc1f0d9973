#include "platform/linux/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace ristemo::platform {

namespace {

void substitute_if_missing(const QString& family, const QString& replacement) {
    const QStringList installed = QFontDatabase::families();
    if (installed.contains(family, Qt::CaseInsensitive)) return;
    QFont::insertSubstitution(family, replacement);
}

}  // namespace

void install_font_substitutions() {
    substitute_if_missing(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
    // Liberation Mono has the metrics of Courier New, so the report's columns stay put.
    substitute_if_missing(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
}

}  // namespace ristemo::platform
