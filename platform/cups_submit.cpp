#include "platform/cups_submit.h"

#include <cups/cups.h>

#include <QLibrary>

namespace ristemo::platform {

namespace {

struct CupsCalls {
    decltype(&::cupsPrintFile) print_file = nullptr;
    decltype(&::cupsLastErrorString) last_error = nullptr;
};

const CupsCalls& cups_calls() {
    static const CupsCalls calls = [] {
        CupsCalls found;
        // Stays loaded for the rest of the run: Qt's own print plugin uses it too.
        QLibrary library(QStringLiteral("cups"), 2);
        if (!library.load()) return found;
        found.print_file =
            reinterpret_cast<decltype(&::cupsPrintFile)>(library.resolve("cupsPrintFile"));
        found.last_error = reinterpret_cast<decltype(&::cupsLastErrorString)>(
            library.resolve("cupsLastErrorString"));
        return found;
    }();
    return calls;
}

}  // namespace

CupsSubmission cups_print_file(const QByteArray& queue, const QString& path,
                               const QByteArray& media) {
    const CupsCalls& cups = cups_calls();
    if (!cups.print_file || !cups.last_error)
        return {0, QStringLiteral("la libreria di stampa CUPS non è installata")};

    QByteArray media_name = QByteArrayLiteral("media");
    QByteArray media_value = media;
    cups_option_t option{media_name.data(), media_value.data()};
    const int job = cups.print_file(queue.constData(), path.toLocal8Bit().constData(), "",
                                    media.isEmpty() ? 0 : 1, &option);
    if (job > 0) return {job, {}};
    return {0, QString::fromLocal8Bit(cups.last_error())};
}

}  // namespace ristemo::platform
