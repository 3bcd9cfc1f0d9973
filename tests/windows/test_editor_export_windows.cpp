// The export into today's Notepad in each of its states (tabbed_editor.exe, in this program's
// folder, stands in for it): the report reaches a new document of its own, no document of the
// user's changes, and no file with the report is left behind. Needs a display (run under Xvfb).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "export_temp_folder.h"
#include "platform/editor_messages.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win32.h"
#include "platform/windows/win_editor_export.h"
#include "support/started_process.h"

namespace ristemo::platform {
namespace {

const char* const kReport = "et\u00e0        : 70 anni\r\nsesso      : maschile\r\n";
const wchar_t* const kReportWide = L"et\u00e0        : 70 anni\r\nsesso      : maschile\r\n";
const wchar_t* const kGroups[] = {L"ours", L"mine"};
const char* const kSavedLetter = "Gentile collega,\r\nle invio il paziente.\r\n";

std::wstring without_line_feeds(std::wstring text) {
    text.erase(std::remove(text.begin(), text.end(), L'\n'), text.end());
    return text;
}

std::wstring text_of(HWND control) {
    std::wstring text(65536, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

// Every document of the stand-ins' windows, as "group:window/id" -> its text with the line feeds
// dropped (a rich-edit control gives its line breaks as CR alone or as CR LF). The windows of a
// group are numbered 1.. in the order of their first document.
std::map<std::wstring, std::wstring> documents() {
    std::map<std::wstring, std::wstring> found;
    for (const wchar_t* group : kGroups) {
        std::map<int, std::map<int, std::wstring>> windows;  // first document -> id -> text
        for (HWND window = FindWindowExW(nullptr, nullptr, L"Notepad", group); window != nullptr;
             window = FindWindowExW(nullptr, window, L"Notepad", group)) {
            std::map<int, std::wstring> texts;
            for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
                 child = GetWindow(child, GW_HWNDNEXT))
                texts[GetDlgCtrlID(child)] = without_line_feeds(text_of(child));
            if (!texts.empty()) windows[texts.begin()->first] = texts;
        }
        int rank = 0;
        for (const auto& window : windows) {
            ++rank;
            for (const auto& d : window.second)
                found[std::wstring(group) + L":" + std::to_wstring(rank) + L"/" +
                      std::to_wstring(d.first)] = d.second;
        }
    }
    return found;
}

void start(const std::wstring& arguments) {
    const HANDLE process = test::start_process(L"tabbed_editor.exe " + arguments);
    ASSERT_NE(process, nullptr);
    WaitForInputIdle(process, 60000);
    CloseHandle(process);
}

// Waits for a window with this title (of any class) to be there.
void wait_for_window(const wchar_t* title) {
    for (int i = 0; i < 3000 && FindWindowW(nullptr, title) == nullptr; ++i) Sleep(20);
    ASSERT_NE(FindWindowW(nullptr, title), nullptr) << "no window " << title;
}

// Closes every stand-in window and waits for their processes to end.
void close_stand_ins() {
    std::vector<HANDLE> processes;
    for (const wchar_t* title : {L"ours", L"mine", L"tabbed editor broker"}) {
        while (const HWND window = FindWindowW(nullptr, title)) {
            DWORD id = 0;
            GetWindowThreadProcessId(window, &id);
            if (const HANDLE p = OpenProcess(SYNCHRONIZE, FALSE, id)) processes.push_back(p);
            SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
            for (int i = 0; i < 500 && IsWindow(window); ++i) Sleep(10);
            if (IsWindow(window)) break;
        }
    }
    for (HANDLE p : processes) {
        WaitForSingleObject(p, 10000);
        CloseHandle(p);
    }
}

std::string bytes_of(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Started {
    const wchar_t* title;    // of the window that shows it is ready
    const wchar_t* options;  // "SAVED" stands for the path of a document the user has saved
};

struct StateCase {
    const char* name;
    std::vector<Started> before;   // the user's stand-ins, or a broker, started before the export
    const wchar_t* export_editor;  // options of the stand-in that the export starts
    // Every document afterwards; "REPORT" stands for the report, "SAVED" for the saved document.
    std::map<std::wstring, std::wstring> documents;
    const wchar_t* opened_during_the_search = L"";  // a stand-in of the user's
};

// The export's files go to a temporary folder of the test's own, the user's saved document beside
// it.
class ExportFolders : public testing::Test {
protected:
    void SetUp() override {
        close_stand_ins();  // one a failed test left, or that appeared after it
        std::ofstream(saved_path(), std::ios::binary) << kSavedLetter;
    }
    void TearDown() override { close_stand_ins(); }
    std::filesystem::path saved_path() const { return folder_.root() / L"lettera Rossi.txt"; }

    ExportTempFolder folder_{L"ristemo-notepad"};
};

class NotepadState : public ExportFolders, public testing::WithParamInterface<StateCase> {};

std::wstring replaced(std::wstring text, const std::wstring& what, const std::wstring& with) {
    const std::size_t at = text.find(what);
    return at == std::wstring::npos ? text : text.replace(at, what.size(), with);
}

TEST_P(NotepadState, TheReportArrivesInANewDocumentAndNothingOfTheUsersChanges) {
    const StateCase& c = GetParam();
    for (const Started& user : c.before) {
        start(replaced(user.options, L"SAVED", L"\"" + saved_path().wstring() + L"\""));
        wait_for_window(user.title);
    }

    WinEditorExport::Options options;
    options.command = std::wstring(L"tabbed_editor.exe ") + c.export_editor;
    WinEditorExport exporter(options);
    std::vector<std::string> told;
    exporter.export_text(kReport, [&](const std::string& m) { told.push_back(m); });
    if (*c.opened_during_the_search != L'\0') {
        start(c.opened_during_the_search);
        wait_for_window(L"mine");
    }
    exporter.wait_for_exports();

    EXPECT_EQ(told, std::vector<std::string>{});
    std::map<std::wstring, std::wstring> expected = c.documents;
    for (auto& d : expected) {
        if (d.second == L"REPORT") d.second = without_line_feeds(kReportWide);
        if (d.second == L"SAVED") d.second = without_line_feeds(widen(kSavedLetter));
    }
    EXPECT_EQ(documents(), expected);
    EXPECT_EQ(bytes_of(saved_path()), kSavedLetter);
    EXPECT_EQ(folder_.left(), std::vector<std::wstring>{});
}

INSTANTIATE_TEST_SUITE_P(
    Notepad, NotepadState,
    testing::Values(
        // None running: a new process and window.
        StateCase{"none_running_rich_edit_50", {}, L"--group ours", {{L"ours:1/100", L"REPORT"}}},
        StateCase{"none_running_rich_edit_20",
                  {},
                  L"--group ours --control RichEdit20W",
                  {{L"ours:1/100", L"REPORT"}}},
        // Asked for its text, it gives each line break as one character.
        StateCase{"none_running_counting_breaks_as_one",
                  {},
                  L"--group ours --cr-breaks",
                  {{L"ours:1/100", L"REPORT"}}},
        // The process started starts the editor proper and ends.
        StateCase{"none_running_started_by_a_launcher",
                  {},
                  L"--launcher --group ours",
                  {{L"ours:1/100", L"REPORT"}}},
        // The process started hands over to the app, which the system starts: no descendant.
        StateCase{"none_running_started_by_the_system",
                  {{L"tabbed editor broker", L"--broker"}},
                  L"--via-broker --group ours",
                  {{L"ours:1/100", L"REPORT"}}},
        // It reopens the last session, unsaved documents included, and adds the report's tab.
        StateCase{"session_restored_at_start",
                  {},
                  L"--group ours --restore \"referto Bianchi\" --restore \"appunti\"",
                  {{L"ours:1/1", L"referto Bianchi"},
                   {L"ours:1/2", L"appunti"},
                   {L"ours:1/100", L"REPORT"}}},
        // The user's Notepad has tabs (unsaved ones and a saved document); the launch hands the
        // report over to it as a new tab and ends.
        StateCase{"running_with_the_users_tabs_new_tab",
                  {{L"ours",
                    L"--group ours --alone --restore \"referto Bianchi\" --restore appunti SAVED"}},
                  L"--group ours",
                  {{L"ours:1/1", L"referto Bianchi"},
                   {L"ours:1/2", L"appunti"},
                   {L"ours:1/100", L"SAVED"},
                   {L"ours:1/101", L"REPORT"}}},
        // The same with the setting "open in a new window": a new window of the user's process.
        StateCase{
            "running_with_the_users_tabs_new_window",
            {{L"ours", L"--group ours --alone --new-window --restore \"referto Bianchi\" SAVED"}},
            L"--group ours",
            {{L"ours:1/1", L"referto Bianchi"},
             {L"ours:1/100", L"SAVED"},
             {L"ours:2/101", L"REPORT"}}},
        // The classic Notepad: one process and window for each document.
        StateCase{"classic_notepad_beside_the_users",
                  {{L"mine", L"--group mine --alone --control Edit SAVED"}},
                  L"--group ours --alone --control Edit",
                  {{L"mine:1/100", L"SAVED"}, {L"ours:1/100", L"REPORT"}}},
        // The user's window appears first; the export's own comes after it.
        StateCase{"user_opens_a_window_during_the_search",
                  {},
                  L"--group ours --alone --after mine",
                  {{L"mine:1/100", L""}, {L"ours:1/100", L"REPORT"}},
                  L"--group mine --alone"}),
    [](const testing::TestParamInfo<StateCase>& info) { return std::string(info.param.name); });

// An editor that keeps the file open, not shared for deleting (as some editors keep their
// documents): the user is told where the report is left.
TEST_F(ExportFolders, AReportFileThatCannotBeRemovedIsToldWithItsPlace) {
    WinEditorExport::Options options;
    options.command = L"tabbed_editor.exe --group ours --hold-file";
    options.timeout_ms = 3000;
    WinEditorExport exporter(options);
    std::vector<std::string> told;
    exporter.export_text(kReport, [&](const std::string& m) { told.push_back(m); });
    exporter.wait_for_exports();

    const std::vector<std::wstring> left = folder_.left();
    ASSERT_EQ(left.size(), 2u) << "a folder and the report in it";
    EXPECT_EQ(told, std::vector<std::string>{editor_text::report_not_removed(
                        "Notepad", narrow((folder_.temp() / left[1]).wstring()))});
    EXPECT_EQ(
        documents(),
        (std::map<std::wstring, std::wstring>{{L"ours:1/100", without_line_feeds(kReportWide)}}));
}

}  // namespace
}  // namespace ristemo::platform
