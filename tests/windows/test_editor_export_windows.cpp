// The export into a tabbed, session-restoring Notepad (tabbed_editor.exe, in this program's
// folder): where the text goes, and that no document of the user's is ever written to. Needs a
// display (run under Xvfb).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/editor_messages.h"
#include "platform/windows/win32.h"
#include "platform/windows/win_editor_export.h"

namespace ristemo::platform {
namespace {

const char* const kReport = "et\u00e0        : 70 anni\r\nsesso      : maschile\r\n";
const wchar_t* const kReportWide = L"et\u00e0        : 70 anni\r\nsesso      : maschile\r\n";
const wchar_t* const kGroups[] = {L"ours", L"mine"};

std::wstring without_line_feeds(std::wstring text) {
    text.erase(std::remove(text.begin(), text.end(), L'\n'), text.end());
    return text;
}

// Every document of the stand-ins' windows, as "group/id" -> text with its line feeds dropped (a
// rich-edit control gives its line breaks as CR alone or as CR LF).
std::map<std::wstring, std::wstring> documents() {
    std::map<std::wstring, std::wstring> found;
    for (const wchar_t* group : kGroups) {
        for (HWND window = FindWindowExW(nullptr, nullptr, L"Notepad", group); window != nullptr;
             window = FindWindowExW(nullptr, window, L"Notepad", group)) {
            for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                std::wstring text(65536, L'\0');
                DWORD_PTR copied = 0;
                SendMessageTimeoutW(child, WM_GETTEXT, text.size(),
                                    reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                                    &copied);
                text.resize(copied);
                found[std::wstring(group) + L"/" + std::to_wstring(GetDlgCtrlID(child))] =
                    without_line_feeds(text);
            }
        }
    }
    return found;
}

PROCESS_INFORMATION start(const std::wstring& arguments) {
    std::wstring command = L"tabbed_editor.exe " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    CloseHandle(process.hThread);
    return process;
}

// Waits for a stand-in's window to be there and waiting for input.
void wait_until_ready(const PROCESS_INFORMATION& process, const wchar_t* group) {
    WaitForInputIdle(process.hProcess, 60000);
    for (int i = 0; i < 3000 && FindWindowW(L"Notepad", group) == nullptr; ++i) Sleep(20);
    ASSERT_NE(FindWindowW(L"Notepad", group), nullptr) << "the user's editor did not appear";
}

// Closes every stand-in window and waits for their processes to end.
void close_stand_ins() {
    std::vector<HANDLE> processes;
    for (const wchar_t* group : kGroups) {
        while (const HWND window = FindWindowW(L"Notepad", group)) {
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

struct PlacementCase {
    const char* name;
    const wchar_t* user_editor;  // the user's own stand-in, its arguments; empty when none
    bool user_opens_it_during_the_search;
    const wchar_t* export_editor;  // arguments of the stand-in the export starts
    std::string message;           // what the export tells; empty when the text arrived
    // Every document afterwards; "REPORT" stands for the text exported.
    std::map<std::wstring, std::wstring> documents;
};

class EditorPlacement : public testing::TestWithParam<PlacementCase> {
protected:
    void TearDown() override { close_stand_ins(); }
};

TEST_P(EditorPlacement, OnlyAnEmptyNewDocumentOfTheEditorStartedGetsTheText) {
    const PlacementCase& c = GetParam();
    PROCESS_INFORMATION user{};
    if (*c.user_editor != L'\0' && !c.user_opens_it_during_the_search) {
        user = start(c.user_editor);
        wait_until_ready(user, L"ours");
    }

    WinEditorExport::Options options;
    options.command = std::wstring(L"tabbed_editor.exe ") + c.export_editor;
    WinEditorExport exporter(options);
    std::vector<std::string> told;
    exporter.export_text(kReport, [&](const std::string& m) { told.push_back(m); });
    if (c.user_opens_it_during_the_search) {
        user = start(c.user_editor);
        wait_until_ready(user, L"mine");
    }
    exporter.wait_for_exports();

    EXPECT_EQ(told,
              c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    std::map<std::wstring, std::wstring> expected = c.documents;
    for (auto& d : expected)
        if (d.second == L"REPORT") d.second = without_line_feeds(kReportWide);
    EXPECT_EQ(documents(), expected);
    if (user.hProcess != nullptr) CloseHandle(user.hProcess);
}

INSTANTIATE_TEST_SUITE_P(
    TabbedEditor, EditorPlacement,
    testing::Values(
        PlacementCase{
            "new_window_rich_edit_50", L"", false, L"--group ours", "", {{L"ours/100", L"REPORT"}}},
        PlacementCase{"new_window_rich_edit_20",
                      L"",
                      false,
                      L"--group ours --control RichEdit20W",
                      "",
                      {{L"ours/100", L"REPORT"}}},
        // Asked for its text, it gives each line break as one character.
        PlacementCase{"new_window_rich_edit_counting_breaks_as_one",
                      L"",
                      false,
                      L"--group ours --cr-breaks",
                      "",
                      {{L"ours/100", L"REPORT"}}},
        PlacementCase{"new_window_edit",
                      L"",
                      false,
                      L"--group ours --control Edit",
                      "",
                      {{L"ours/100", L"REPORT"}}},
        // The process started starts the editor proper and ends.
        PlacementCase{"launcher_hands_over_to_a_process_it_started",
                      L"",
                      false,
                      L"--launcher --group ours",
                      "",
                      {{L"ours/100", L"REPORT"}}},
        // It reopened the user's last document in the first tab, then a new one.
        PlacementCase{"restored_document",
                      L"",
                      false,
                      L"--group ours --restore \"referto Rossi\"",
                      editor_text::not_a_new_document("Notepad"),
                      {{L"ours/1", L"referto Rossi"}, {L"ours/100", L""}}},
        // The launch passes the new document to the window the user has open, as a tab.
        PlacementCase{"handed_over_to_the_users_window",
                      L"--group ours --alone --restore \"referto Rossi\"",
                      false,
                      L"--group ours",
                      editor_text::handed_over("Notepad"),
                      {{L"ours/1", L"referto Rossi"}, {L"ours/100", L""}, {L"ours/101", L""}}},
        // The user's window appears first; the export's own comes after it.
        PlacementCase{"user_opens_a_window_during_the_search",
                      L"--group mine --alone",
                      true,
                      L"--group ours --alone --after mine",
                      "",
                      {{L"mine/100", L""}, {L"ours/100", L"REPORT"}}}),
    [](const testing::TestParamInfo<PlacementCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ristemo::platform
