#include "platform/windows/win_printer.h"

#include <winspool.h>

#include <string>

#include "platform/windows/system_dll.h"
#include "platform/windows/wide_text.h"

namespace ristemo::platform {

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kPointsPerInch = 72;

// Digits of a count, without the C library's locale.
std::string decimal(unsigned long value) {
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + value % 10));
        value /= 10;
    } while (value != 0);
    return digits;
}

// The spooler's DLL is loaded on the first print, not with the program: under Wine its start-up
// looks for the system's printers, some 70 ms of the program's start.
struct Spooler {
    decltype(&GetDefaultPrinterW) get_default_printer = nullptr;
    decltype(&OpenPrinterW) open_printer = nullptr;
    decltype(&GetPrinterW) get_printer = nullptr;
    decltype(&ClosePrinter) close_printer = nullptr;
};

// Every member null when the DLL or a function is missing.
const Spooler& spooler() {
    static const Spooler loaded = [] {
        const SystemDll dll(L"winspool.drv");
        Spooler functions{dll.function<decltype(&GetDefaultPrinterW)>("GetDefaultPrinterW"),
                          dll.function<decltype(&OpenPrinterW)>("OpenPrinterW"),
                          dll.function<decltype(&GetPrinterW)>("GetPrinterW"),
                          dll.function<decltype(&ClosePrinter)>("ClosePrinter")};
        if (!functions.get_default_printer || !functions.open_printer || !functions.get_printer ||
            !functions.close_printer)
            return Spooler{};
        return functions;
    }();
    return loaded;
}

PrintResult failure(const std::string& reason) {
    return PrintResult{false, reason, {}};
}

// A line GDI could not draw as asked is refused before anything reaches the printer.
std::string check_lines(const std::vector<PrintLine>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const PrintLine& line = lines[i];
        const std::string number = decimal(i + 1);
        if (line.font_family.find_first_not_of(" \t") == std::string::npos)
            return "la riga " + number + " non ha un tipo di carattere";
        if (!(line.point_size > 0.0))
            return "la riga " + number + " ha una dimensione del carattere non valida";
        if (line.x_twips < 0 || line.y_twips < 0)
            return "la riga " + number + " cade fuori dalla pagina";
    }
    return {};
}

std::string system_message(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD size = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (size == 0) return "errore " + decimal(error);
    std::wstring text(buffer, size);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.'))
        text.pop_back();
    return narrow(text);
}

bool printer_paused(std::wstring name) {
    const Spooler& spool = spooler();
    HANDLE printer = nullptr;
    if (!spool.open_printer || !spool.open_printer(name.data(), &printer, nullptr)) return false;
    DWORD needed = 0;
    spool.get_printer(printer, 2, nullptr, 0, &needed);
    std::string info(needed, '\0');
    bool paused = false;
    if (needed > 0 &&
        spool.get_printer(printer, 2, reinterpret_cast<BYTE*>(info.data()), needed, &needed))
        paused = (reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->Status &
                  PRINTER_STATUS_PAUSED) != 0;
    spool.close_printer(printer);
    return paused;
}

// The data lines' face is monospaced so that their values stand in one column. Where it is
// missing, the font mapper must take another monospaced face, not the nearest proportional one.
BYTE pitch_and_family_of(const std::string& face) {
    return lstrcmpiW(widen(face).c_str(), L"Courier New") == 0 ? BYTE(FIXED_PITCH | FF_MODERN)
                                                               : BYTE(DEFAULT_PITCH | FF_DONTCARE);
}

}  // namespace

bool WinPrinter::draw_lines(HDC dc, const std::vector<PrintLine>& lines) {
    const int dpi_x = GetDeviceCaps(dc, LOGPIXELSX);
    const int dpi_y = GetDeviceCaps(dc, LOGPIXELSY);
    SetMapMode(dc, MM_TEXT);
    // A position is the top-left corner of the text's cell.
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    SetBkMode(dc, TRANSPARENT);
    for (const PrintLine& line : lines) {
        // Negative: the size of the characters, not of the cell.
        const int height = -int(line.point_size * dpi_y / kPointsPerInch + 0.5);
        const HFONT font =
            CreateFontW(height, 0, 0, 0, line.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        pitch_and_family_of(line.font_family), widen(line.font_family).c_str());
        if (font == nullptr) return false;
        const HGDIOBJ previous = SelectObject(dc, font);
        const std::wstring text = widen(line.text);
        const BOOL drawn =
            TextOutW(dc, MulDiv(line.x_twips, dpi_x, kTwipsPerInch),
                     MulDiv(line.y_twips, dpi_y, kTwipsPerInch), text.c_str(), int(text.size()));
        SelectObject(dc, previous);
        DeleteObject(font);
        if (!drawn) return false;
    }
    return true;
}

// A printer that writes a file (to PDF, to XPS) asks for its name when the job starts; closing
// that dialog is the user's choice, not a fault.
PrintResult WinPrinter::start_failure(int started, DWORD error, const std::string& name) {
    if (started == SP_USERABORT || error == ERROR_CANCELLED || error == ERROR_PRINT_CANCELLED)
        return failure({});
    return failure("la stampante \"" + name + "\" non può iniziare la stampa");
}

PrintResult WinPrinter::print_page(const std::vector<PrintLine>& lines) {
    const std::string bad_line = check_lines(lines);
    if (!bad_line.empty()) return failure(bad_line);

    const Spooler& spool = spooler();
    DWORD size = 0;
    if (spool.get_default_printer) spool.get_default_printer(nullptr, &size);
    std::wstring wide_name(size, L'\0');
    if (size == 0 || !spool.get_default_printer(wide_name.data(), &size))
        return failure("nessuna stampante predefinita");
    wide_name.resize(size > 0 ? size - 1 : 0);
    const std::string name = narrow(wide_name);

    // No device mode of our own: the printer's current paper, orientation and copies apply.
    const HDC dc = CreateDCW(L"WINSPOOL", wide_name.c_str(), nullptr, nullptr);
    if (dc == nullptr) return failure("la stampante \"" + name + "\" non può iniziare la stampa");
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = L"ristemo";
    const int started = StartDocW(dc, &document);
    if (started <= 0) {
        const DWORD error = GetLastError();
        DeleteDC(dc);
        return start_failure(started, error, name);
    }
    if (StartPage(dc) <= 0 || !draw_lines(dc, lines)) {
        AbortDoc(dc);
        DeleteDC(dc);
        return failure("errore durante la preparazione della pagina");
    }
    const bool sent = EndPage(dc) > 0 && EndDoc(dc) > 0;
    const DWORD error = GetLastError();
    if (!sent) AbortDoc(dc);
    DeleteDC(dc);
    if (!sent)
        return failure("la stampante \"" + name +
                       "\" non ha accettato il lavoro: " + system_message(error));

    PrintResult printed{true, {}, {}};
    if (printer_paused(wide_name))
        printed.notice = "La pagina attende nella coda della stampante \"" + name +
                         "\", che è in pausa: uscirà quando la stampante sarà riattivata.";
    return printed;
}

}  // namespace ristemo::platform
