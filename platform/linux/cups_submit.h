#pragma once

#include <QByteArray>
#include <QString>

namespace ristemo::platform {

// The paper the default queue prints on, in hundredths of a millimetre.
struct CupsPaper {
    QByteArray media;  // CUPS's name for it, handed back with the job
    int width = 0;
    int length = 0;
    int left = 0, top = 0, right = 0, bottom = 0;  // the margins around the printable area
};

struct CupsQueue {
    enum class Status { Found, NoDefault, ServiceDown, NoLibrary };
    Status status = Status::NoLibrary;
    QByteArray name;
    bool has_paper = false;  // false: the queue names no paper at all
    CupsPaper paper;
    bool paused = false;  // stopped: it takes jobs and holds them
};

// The default queue with its current paper and state, as CUPS (and the user's lpoptions) give
// them. The CUPS library is loaded on the first call only, so starting the program does not load
// it and the TLS, Kerberos and DNS-SD libraries it pulls in.
CupsQueue cups_default_queue();

struct CupsSubmission {
    int job = 0;    // the job number CUPS gave the file; 0 when it was refused
    QString error;  // CUPS's reason, when job is 0
};

// Hands a finished print file to a CUPS queue, with the page size as its "media" option (none
// when media is empty).
CupsSubmission cups_print_file(const QByteArray& queue, const QString& path,
                               const QByteArray& media);

}  // namespace ristemo::platform
