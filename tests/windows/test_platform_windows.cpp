#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "export_temp_folder.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win32.h"
#include "platform/windows/win_editor_export.h"
#include "platform/windows/win_message_box.h"
#include "platform/windows/win_printer.h"

namespace ristemo::platform {
namespace {

struct BoxCase {
    const char* name;
    Buttons buttons;
    Icon icon;
    UINT style;
};

class MessageBoxStyle : public testing::TestWithParam<BoxCase> {};

// The button set, the icon, and always the first button as the default.
TEST_P(MessageBoxStyle, MatchesTheCall) {
    const BoxCase& c = GetParam();
    EXPECT_EQ(WinMessageBox::style_of(c.buttons, c.icon) & ~UINT(MB_SETFOREGROUND), c.style);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, MessageBoxStyle,
    testing::Values(
        BoxCase{"validation", Buttons::Ok, Icon::None, MB_OK | MB_DEFBUTTON1},
        BoxCase{"quit", Buttons::YesNo, Icon::Question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1},
        BoxCase{"print", Buttons::YesNoCancel, Icon::Question,
                MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1},
        BoxCase{"separator", Buttons::YesNoCancel, Icon::None, MB_YESNOCANCEL | MB_DEFBUTTON1}),
    [](const testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

TEST(MessageBoxAnswer, ClosingWithoutChoiceIsCancel) {
    EXPECT_EQ(WinMessageBox::answer_of(IDOK), Answer::Ok);
    EXPECT_EQ(WinMessageBox::answer_of(IDYES), Answer::Yes);
    EXPECT_EQ(WinMessageBox::answer_of(IDNO), Answer::No);
    EXPECT_EQ(WinMessageBox::answer_of(IDCANCEL), Answer::Cancel);
    EXPECT_EQ(WinMessageBox::answer_of(0), Answer::Cancel);
}

// What GDI was asked to draw, read back from a metafile.
struct Drawn {
    std::wstring face;
    LONG height = 0;
    LONG weight = 0;
    LOGFONTW font{};
    POINTL at{};
    std::wstring text;
};

std::vector<Drawn> record(const std::vector<PrintLine>& lines, bool* ok) {
    const HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    *ok = WinPrinter::draw_lines(dc, lines);
    const HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    struct State {
        LOGFONTW font{};
        std::vector<Drawn> drawn;
    } state;
    EnumEnhMetaFile(
        nullptr, metafile,
        [](HDC, HANDLETABLE*, const ENHMETARECORD* r, int, LPARAM data) -> int {
            auto* s = reinterpret_cast<State*>(data);
            if (r->iType == EMR_EXTCREATEFONTINDIRECTW)
                s->font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(r)->elfw.elfLogFont;
            if (r->iType == EMR_EXTTEXTOUTW) {
                const auto* t = reinterpret_cast<const EMREXTTEXTOUTW*>(r);
                const auto* chars = reinterpret_cast<const wchar_t*>(
                    reinterpret_cast<const BYTE*>(r) + t->emrtext.offString);
                s->drawn.push_back({s->font.lfFaceName, s->font.lfHeight, s->font.lfWeight, s->font,
                                    t->emrtext.ptlReference,
                                    std::wstring(chars, t->emrtext.nChars)});
            }
            return 1;
        },
        &state, nullptr);
    DeleteEnhMetaFile(metafile);
    return state.drawn;
}

// Twips become device units at the device's resolution; sizes are points at that resolution.
TEST(PrinterPage, LinesAtTheirPositionsInTheirFonts) {
    const HDC screen = CreateCompatibleDC(nullptr);
    const int dpi_x = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpi_y = GetDeviceCaps(screen, LOGPIXELSY);
    DeleteDC(screen);

    bool ok = false;
    const std::vector<Drawn> drawn =
        record({{200, 200, "verdana", 12.0, true, "Ristemo 1.0 - \u00a9 2026"},
                {200, 5600, "Courier new", 10.0, false, "et\u00e0"}},
               &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].face, L"verdana");
    EXPECT_EQ(drawn[0].height, -((12 * dpi_y + 36) / 72));
    EXPECT_EQ(drawn[0].weight, FW_BOLD);
    EXPECT_EQ(drawn[0].at.x, MulDiv(200, dpi_x, 1440));
    EXPECT_EQ(drawn[0].at.y, MulDiv(200, dpi_y, 1440));
    EXPECT_EQ(drawn[0].text, L"Ristemo 1.0 - \u00a9 2026");
    EXPECT_EQ(drawn[1].face, L"Courier new");
    EXPECT_EQ(drawn[1].height, -((10 * dpi_y + 36) / 72));
    EXPECT_EQ(drawn[1].weight, FW_NORMAL);
    EXPECT_EQ(drawn[1].at.y, MulDiv(5600, dpi_y, 1440));
    EXPECT_EQ(drawn[1].text, L"et\u00e0");
}

// The data lines' values stand in one column also where Courier New is missing (as here, under
// Wine): the face the font mapper gives for them is monospaced.
TEST(PrinterPage, DataLinesInAMonospacedFace) {
    bool ok = false;
    const std::vector<Drawn> drawn = record(
        {{200, 200, "verdana", 12.0, true, "a"}, {200, 650, "Courier new", 10.0, false, "b"}}, &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(drawn.size(), 2u);
    const auto width_of = [](const LOGFONTW& asked, const wchar_t* text) {
        const HDC dc = CreateCompatibleDC(nullptr);
        const HFONT font = CreateFontIndirectW(&asked);
        const HGDIOBJ old = SelectObject(dc, font);
        SIZE size{};
        GetTextExtentPoint32W(dc, text, 4, &size);
        SelectObject(dc, old);
        DeleteObject(font);
        DeleteDC(dc);
        return size.cx;
    };
    EXPECT_EQ(width_of(drawn[1].font, L"iiii"), width_of(drawn[1].font, L"WWWW"));
    EXPECT_LT(width_of(drawn[0].font, L"iiii"), width_of(drawn[0].font, L"WWWW"));
}

TEST(PrinterPage, RefusesALineItCannotDrawBeforePrinting) {
    WinPrinter printer;
    const PrintResult result = printer.print_page(
        {{200, 200, "verdana", 12.0, true, "a"}, {200, 650, " ", 10.0, false, "b"}});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "la riga 2 non ha un tipo di carattere");
}

// Cancelling a print-to-file printer's save dialog is the user's choice: nothing to tell.
TEST(PrinterPage, ACancelledStartIsNoFault) {
    const struct {
        int started;
        DWORD error;
        std::string told;
    } rows[] = {
        {SP_ERROR, ERROR_CANCELLED, ""},
        {SP_USERABORT, 0, ""},
        {SP_ERROR, ERROR_PRINT_CANCELLED, ""},
        {SP_ERROR, ERROR_ACCESS_DENIED, "la stampante \"PDF\" non pu\u00f2 iniziare la stampa"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.error);
        const PrintResult result = WinPrinter::start_failure(row.started, row.error, "PDF");
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, row.told);
    }
}

std::string failure_of(WinEditorExport::Options options) {
    WinEditorExport exporter(std::move(options));
    std::string message;
    exporter.export_text("riga\r\n", [&](const std::string& m) { message = m; });
    exporter.wait_for_exports();
    return message;
}

struct ExportCase {
    const char* name;
    const wchar_t* command;
    bool temporary_folder_exists;
    std::string message;
};

class EditorExportFailure : public testing::TestWithParam<ExportCase> {};

TEST_P(EditorExportFailure, IsToldInItalianAndLeavesNoFile) {
    ExportTempFolder folder(L"ristemo-failure");
    if (!GetParam().temporary_folder_exists) std::filesystem::remove(folder.temp());
    WinEditorExport::Options options;
    options.command = GetParam().command;
    options.timeout_ms = 1500;
    EXPECT_EQ(failure_of(options), GetParam().message);
    if (GetParam().temporary_folder_exists) {
        EXPECT_EQ(folder.left(), std::vector<std::wstring>{});
    }
}

const char* const kNotShown =
    "L'editor di testo Notepad non ha mostrato il referto in tempo: il file temporaneo del "
    "referto \u00e8 stato eliminato.";

INSTANTIATE_TEST_SUITE_P(
    Editors, EditorExportFailure,
    testing::Values(ExportCase{"missing", L"ristemo-no-such-editor.exe", true,
                               "Impossibile avviare l'editor di testo Notepad."},
                    ExportCase{"no_temporary_folder", L"cmd.exe /c exit", false,
                               "Impossibile scrivere il file temporaneo del referto per l'editor "
                               "di testo Notepad: il comando non \u00e8 stato eseguito."},
                    // It ends at once: a launcher that hands the file over to another process
                    // does too, so only the time limit tells.
                    ExportCase{"ends_without_window", L"cmd.exe /c exit", true, kNotShown},
                    // One that stays 5 s without a window (the stand-in Notepad of this folder).
                    ExportCase{"no_window", L"tabbed_editor.exe --no-window", true, kNotShown}),
    [](const testing::TestParamInfo<ExportCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ristemo::platform
