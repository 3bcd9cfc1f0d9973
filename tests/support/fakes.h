#pragma once

#include <QString>
#include <QStringList>
#include <deque>
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
        QString prompt;
        platform::Buttons buttons;
        platform::Icon icon;
    };
    std::vector<Shown> shown;
    std::deque<platform::Answer> script;
    platform::Answer default_answer = platform::Answer::No;

    platform::Answer show_message(const QString& prompt, platform::Buttons buttons,
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
    QStringList prompts() const {
        QStringList out;
        for (const auto& s : shown) out << s.prompt;
        return out;
    }
};

class FakeLocale : public platform::LocaleQuery {
public:
    QString separator = QStringLiteral(",");
    int queries = 0;
    QString decimal_separator() override {
        ++queries;
        return separator;
    }
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

class FakeEditorExport : public platform::EditorExport {
public:
    QStringList texts;
    QString failure;  // when set, reported for every export
    void export_text(const QString& text, FailureHandler on_failure) override {
        texts << text;
        if (!failure.isEmpty() && on_failure) on_failure(failure);
    }
};

class FakeShellOpen : public platform::ShellOpen {
public:
    QStringList opened;
    QStringList open_with;
    std::int32_t code = platform::kShellSuccess;
    LateFailure late_failure;  // of the latest launch; a test calls it to fail the launch later
    std::int32_t shell_open(const QString& address, LateFailure on_late_failure) override {
        opened << address;
        late_failure = std::move(on_late_failure);
        return code;
    }
    std::int32_t open_with_dialog(const QString& address) override {
        open_with << address;
        return platform::kShellSuccess;
    }
};

}  // namespace ristemo::test
