#include "platform/linux/cups_submit.h"

#include <cups/cups.h>

#include <QLibrary>
#include <cstring>

namespace ristemo::platform {

namespace {

struct CupsCalls {
    decltype(&::cupsPrintFile) print_file = nullptr;
    decltype(&::cupsLastError) last_error = nullptr;
    decltype(&::cupsLastErrorString) last_error_string = nullptr;
    decltype(&::cupsGetNamedDest) get_named_dest = nullptr;
    decltype(&::cupsFreeDests) free_dests = nullptr;
    decltype(&::cupsGetOption) get_option = nullptr;
    decltype(&::cupsCopyDestInfo) copy_dest_info = nullptr;
    decltype(&::cupsFreeDestInfo) free_dest_info = nullptr;
    decltype(&::cupsFindDestDefault) find_default = nullptr;
    decltype(&::ippGetString) ipp_get_string = nullptr;
    decltype(&::ippGetInteger) ipp_get_integer = nullptr;
    decltype(&::ippGetCollection) ipp_get_collection = nullptr;
    decltype(&::ippFindAttribute) ipp_find_attribute = nullptr;
    decltype(&::pwgMediaForSize) media_for_size = nullptr;
    decltype(&::cupsGetDestMediaByName) media_by_name = nullptr;
    decltype(&::pwgMediaForPWG) media_for_pwg = nullptr;
    decltype(&::pwgMediaForLegacy) media_for_legacy = nullptr;
    decltype(&::pwgMediaForPPD) media_for_ppd = nullptr;
    decltype(&::ippNewRequest) new_request = nullptr;
    decltype(&::cupsDoRequest) do_request = nullptr;
    decltype(&::ippDelete) ipp_delete = nullptr;

    bool complete() const {
        return print_file && last_error && last_error_string && get_named_dest && free_dests &&
               get_option && copy_dest_info && free_dest_info && find_default && ipp_get_string &&
               ipp_get_integer && ipp_get_collection && ipp_find_attribute && media_for_size &&
               media_by_name && media_for_pwg && media_for_legacy && media_for_ppd && new_request &&
               do_request && ipp_delete;
    }
};

template <typename Function>
void resolve(QLibrary& library, Function& function, const char* name) {
    function = reinterpret_cast<Function>(library.resolve(name));
}

const CupsCalls& cups_calls() {
    static const CupsCalls calls = [] {
        CupsCalls found;
        // Stays loaded for the rest of the run: Qt's own print plugin uses it too.
        QLibrary library(QStringLiteral("cups"), 2);
        if (!library.load()) return found;
        resolve(library, found.print_file, "cupsPrintFile");
        resolve(library, found.last_error, "cupsLastError");
        resolve(library, found.last_error_string, "cupsLastErrorString");
        resolve(library, found.get_named_dest, "cupsGetNamedDest");
        resolve(library, found.free_dests, "cupsFreeDests");
        resolve(library, found.get_option, "cupsGetOption");
        resolve(library, found.copy_dest_info, "cupsCopyDestInfo");
        resolve(library, found.free_dest_info, "cupsFreeDestInfo");
        resolve(library, found.find_default, "cupsFindDestDefault");
        resolve(library, found.ipp_get_string, "ippGetString");
        resolve(library, found.ipp_get_integer, "ippGetInteger");
        resolve(library, found.ipp_get_collection, "ippGetCollection");
        resolve(library, found.ipp_find_attribute, "ippFindAttribute");
        resolve(library, found.media_for_size, "pwgMediaForSize");
        resolve(library, found.media_by_name, "cupsGetDestMediaByName");
        resolve(library, found.media_for_pwg, "pwgMediaForPWG");
        resolve(library, found.media_for_legacy, "pwgMediaForLegacy");
        resolve(library, found.media_for_ppd, "pwgMediaForPPD");
        resolve(library, found.new_request, "ippNewRequest");
        resolve(library, found.do_request, "cupsDoRequest");
        resolve(library, found.ipp_delete, "ippDelete");
        return found;
    }();
    return calls;
}

// CUPS answers "no default destination" both when there is none and when the scheduler cannot
// be reached; a request of our own tells the two apart.
bool scheduler_answers(const CupsCalls& cups) {
    ipp_t* answer =
        cups.do_request(CUPS_HTTP_DEFAULT, cups.new_request(IPP_OP_CUPS_GET_DEFAULT), "/");
    if (answer) cups.ipp_delete(answer);
    return cups.last_error() != IPP_STATUS_ERROR_SERVICE_UNAVAILABLE;
}

CupsPaper paper_of(const cups_size_t& size) {
    CupsPaper paper;
    paper.media = QByteArray(size.media);
    paper.width = size.width;
    paper.length = size.length;
    paper.left = size.left;
    paper.top = size.top;
    paper.right = size.right;
    paper.bottom = size.bottom;
    return paper;
}

// The paper named by a "media" option, spelt the PWG, IPP or PPD way, with its printable area
// from the queue's media list. Queues without a media list (raw queues) still name their paper,
// which is then printable to its edges.
bool named_paper(const CupsCalls& cups, cups_dest_t* dest, cups_dinfo_t* info, const char* media,
                 CupsPaper& paper) {
    const pwg_media_t* named = cups.media_for_pwg(media);
    if (!named) named = cups.media_for_legacy(media);
    if (!named) named = cups.media_for_ppd(media);
    if (!named) return false;
    // CUPS answers names it does not know from one buffer per thread, which the next lookup
    // overwrites: keep copies.
    const QByteArray name(named->pwg);
    const int width = named->width;
    const int length = named->length;
    cups_size_t size{};
    if (info && cups.media_by_name(CUPS_HTTP_DEFAULT, dest, info, name.constData(), 0, &size) &&
        size.width > 0 && size.length > 0) {
        paper = paper_of(size);
        paper.media = name;  // not the borderless variant the lookup may answer with
        return true;
    }
    if (width <= 0 || length <= 0) return false;
    paper = {name, width, length, 0, 0, 0, 0};
    return true;
}

int integer_in(const CupsCalls& cups, ipp_t* collection, const char* name) {
    ipp_attribute_t* value = cups.ipp_find_attribute(collection, name, IPP_TAG_INTEGER);
    return value ? cups.ipp_get_integer(value, 0) : 0;
}

// The queue's own default paper: its size and printable area from media-col-default (for a PPD
// queue, the default page size and its imageable area), its name from media-default, which the
// scheduler leaves empty for some PPD sizes.
bool default_paper(const CupsCalls& cups, cups_dest_t* dest, cups_dinfo_t* info, CupsPaper& paper) {
    ipp_attribute_t* col = cups.find_default(CUPS_HTTP_DEFAULT, dest, info, "media-col");
    ipp_t* media_col = col ? cups.ipp_get_collection(col, 0) : nullptr;
    if (!media_col) return false;
    ipp_attribute_t* size_attr =
        cups.ipp_find_attribute(media_col, "media-size", IPP_TAG_BEGIN_COLLECTION);
    ipp_t* size = size_attr ? cups.ipp_get_collection(size_attr, 0) : nullptr;
    if (!size) return false;
    CupsPaper found;
    found.width = integer_in(cups, size, "x-dimension");
    found.length = integer_in(cups, size, "y-dimension");
    if (found.width <= 0 || found.length <= 0) return false;
    found.left = integer_in(cups, media_col, "media-left-margin");
    found.top = integer_in(cups, media_col, "media-top-margin");
    found.right = integer_in(cups, media_col, "media-right-margin");
    found.bottom = integer_in(cups, media_col, "media-bottom-margin");
    if (ipp_attribute_t* name = cups.find_default(CUPS_HTTP_DEFAULT, dest, info, "media"))
        found.media = QByteArray(cups.ipp_get_string(name, 0, nullptr));
    if (found.media.isEmpty()) {
        const pwg_media_t* sized = cups.media_for_size(found.width, found.length);
        if (!sized) return false;
        found.media = QByteArray(sized->pwg);
    }
    paper = found;
    return true;
}

// The queue's paper with its printable area: the one the user (lpoptions) or the queue names in
// its "media" option when CUPS knows that name, else the queue's own default. CUPS's default lookup
// is not used: for a PPD queue without a "media" option it answers Letter whatever paper the queue
// holds.
bool find_paper(const CupsCalls& cups, cups_dest_t* dest, CupsPaper& paper) {
    cups_dinfo_t* info = cups.copy_dest_info(CUPS_HTTP_DEFAULT, dest);
    bool found = false;
    if (const char* media = cups.get_option("media", dest->num_options, dest->options))
        found = named_paper(cups, dest, info, media, paper);
    if (!found && info) found = default_paper(cups, dest, info, paper);
    if (info) cups.free_dest_info(info);
    return found;
}

}  // namespace

CupsQueue cups_default_queue() {
    const CupsCalls& cups = cups_calls();
    CupsQueue queue;
    if (!cups.complete()) return queue;

    cups_dest_t* dest = cups.get_named_dest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
    if (!dest) {
        queue.status =
            scheduler_answers(cups) ? CupsQueue::Status::NoDefault : CupsQueue::Status::ServiceDown;
        return queue;
    }
    queue.status = CupsQueue::Status::Found;
    queue.name = dest->name;
    const char* state = cups.get_option("printer-state", dest->num_options, dest->options);
    queue.paused = state && std::strcmp(state, "5") == 0;
    queue.has_paper = find_paper(cups, dest, queue.paper);
    cups.free_dests(1, dest);
    return queue;
}

CupsSubmission cups_print_file(const QByteArray& queue, const QString& path,
                               const QByteArray& media) {
    const CupsCalls& cups = cups_calls();
    if (!cups.complete()) return {0, QStringLiteral("la libreria di stampa CUPS non è installata")};

    QByteArray media_name = QByteArrayLiteral("media");
    QByteArray media_value = media;
    cups_option_t option{media_name.data(), media_value.data()};
    const int job = cups.print_file(queue.constData(), path.toLocal8Bit().constData(), "",
                                    media.isEmpty() ? 0 : 1, &option);
    if (job > 0) return {job, {}};
    return {0, QString::fromLocal8Bit(cups.last_error_string())};
}

}  // namespace ristemo::platform
