#pragma once

#include <QByteArray>
#include <QString>

namespace ristemo::platform {

struct CupsSubmission {
    int job = 0;    // the job number CUPS gave the file; 0 when it was refused
    QString error;  // CUPS's reason, when job is 0
};

// Hands a finished print file to a CUPS queue, with the page size as its "media" option (none
// when media is empty). The CUPS library is loaded on the first call only, so starting the
// program does not load it and the TLS, Kerberos and DNS-SD libraries it pulls in.
CupsSubmission cups_print_file(const QByteArray& queue, const QString& path,
                               const QByteArray& media);

}  // namespace ristemo::platform
