#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/editor_export.h"
#include "platform/locale_query.h"
#include "platform/message_box.h"
#include "platform/printer.h"
#include "platform/regional_settings.h"
#include "platform/shell_open.h"

namespace ristemo::test {

// Records every prompt; answers from a script, then with default_answer (OK boxes answer Ok).
class FakeMessageBox : public platform::MessageBox {
public:
    struct Shown {
        std::string prompt;
        platform::Buttons buttons;
        platform::Icon icon;
    };
    std::vector<Shown> shown;
    std::deque<platform::Answer> script;
    platform::Answer default_answer = platform::Answer::No;

    platform::Answer show_message(const std::string& prompt, platform::Buttons buttons,
                                  platform::Icon icon) override {
        shown.push_back({prompt, buttons, icon});
        if (buttons == platform::Buttons::Ok) return platform::Answer::Ok;
        if (!script.empty()) {
            const platform::Answer a = script.front();
            script.pop_front();
            return a;
        }
        return default_answer;
    }
    std::vector<std::string> prompts() const {
        std::vector<std::string> out;
        for (const auto& s : shown) out.push_back(s.prompt);
        return out;
    }
};

class FakeLocale : public platform::LocaleQuery {
public:
    std::string separator = ",";
    std::string decimal_separator() override { return separator; }
};

class FakeRegionalSettings : public platform::RegionalSettings {
public:
    bool available = true;
    int opened = 0;
    bool open_regional_settings() override {
        ++opened;
        return available;
    }
};

class FakePrinter : public platform::Printer {
public:
    std::vector<std::vector<platform::PrintLine>> pages;
    platform::PrintResult result{true, {}, {}};
    platform::PrintResult print_page(const std::vector<platform::PrintLine>& lines) override {
        pages.push_back(lines);
        return result;
    }
};

// Keeps each export's failure handler, so a test can report a failure after the fact.
class FakeEditorExport : public platform::EditorExport {
public:
    std::vector<std::string> texts;
    std::vector<FailureHandler> handlers;
    void export_text(const std::string& text, FailureHandler on_failure) override {
        texts.push_back(text);
        handlers.push_back(std::move(on_failure));
    }
};

class FakeShellOpen : public platform::ShellOpen {
public:
    std::vector<std::string> opened;
    std::vector<std::string> open_with;
    std::int32_t code = platform::kShellSuccess;
    LateFailure late_failure;  // of the latest launch; a test calls it to fail the launch later
    std::int32_t shell_open(const std::string& address, LateFailure on_late_failure) override {
        opened.push_back(address);
        late_failure = std::move(on_late_failure);
        return code;
    }
    std::int32_t open_with_dialog(const std::string& address) override {
        open_with.push_back(address);
        return platform::kShellSuccess;
    }
};

// Everything the window needs, recording.
struct FakeServices {
    FakeMessageBox message_box;
    FakeLocale locale;
    FakeRegionalSettings regional_settings;
    FakePrinter printer;
    FakeEditorExport editor;
    FakeShellOpen shell;
};

}  // namespace ristemo::test
