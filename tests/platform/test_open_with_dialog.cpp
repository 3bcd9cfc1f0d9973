#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "platform/linux/open_with_dialog.h"
#include "qt_print.h"

namespace ristemo::platform {
namespace {

DesktopEntry app(const char* id, const char* name) {
    DesktopEntry e;
    e.id = QString::fromUtf8(id);
    e.name = QString::fromUtf8(name);
    e.exec = QStringLiteral("sh %u");
    return e;
}

const std::vector<DesktopEntry> kApps = {app("alfa.desktop", "Alfa"), app("beta.desktop", "Beta")};

template <typename T>
T* child(const QDialog& d, const char* name) {
    T* w = d.findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

TEST(OpenWithDialog, ItalianCaptionsAndTheApplications) {
    OpenWithDialog dialog(QStringLiteral("http://www.zentab.example/"), kApps);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Apri con"));
    EXPECT_EQ(child<QPushButton>(dialog, "other_program")->text(),
              QStringLiteral("Altro programma..."));
    EXPECT_EQ(child<QPushButton>(dialog, "ok")->text(), QStringLiteral("OK"));
    EXPECT_EQ(child<QPushButton>(dialog, "cancel")->text(), QStringLiteral("Annulla"));
    EXPECT_TRUE(child<QLabel>(dialog, "prompt")->text().contains("http://www.zentab.example/"));
    auto* list = child<QListWidget>(dialog, "applications");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Alfa"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("Beta"));
}

TEST(OpenWithDialog, NothingToSelectDisablesOk) {
    OpenWithDialog dialog(QStringLiteral("http://a.example/"), {});
    EXPECT_FALSE(child<QPushButton>(dialog, "ok")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(dialog, "other_program")->isEnabled());
}

// What the user does, and what the dialog then reports.
struct ActionRow {
    const char* name;
    enum { PickRowAndOk, ActivateRow, Cancel, OtherProgram } action;
    int row;
    const char* picked;  // what the program picker returns
    bool accepted;
    const char* chosen_id;
    const char* chosen_program;
};
void PrintTo(const ActionRow& row, std::ostream* os) {
    *os << row.name;
}

class OpenWithDialogAction : public ::testing::TestWithParam<ActionRow> {};

TEST_P(OpenWithDialogAction, Choice) {
    const ActionRow& r = GetParam();
    int picker_calls = 0;
    OpenWithDialog dialog(QStringLiteral("http://a.example/"), kApps, nullptr, [&](QWidget*) {
        ++picker_calls;
        return QString::fromUtf8(r.picked);
    });
    auto* list = child<QListWidget>(dialog, "applications");
    switch (r.action) {
        case ActionRow::PickRowAndOk:
            list->setCurrentRow(r.row);
            child<QPushButton>(dialog, "ok")->click();
            break;
        case ActionRow::ActivateRow:
            emit list->itemActivated(list->item(r.row));
            break;
        case ActionRow::Cancel:
            child<QPushButton>(dialog, "cancel")->click();
            break;
        case ActionRow::OtherProgram:
            child<QPushButton>(dialog, "other_program")->click();
            EXPECT_EQ(picker_calls, 1);
            break;
    }
    EXPECT_EQ(dialog.result() == QDialog::Accepted, r.accepted);
    const auto choice = dialog.choice();
    ASSERT_EQ(choice.has_value(), r.accepted);
    if (!choice) return;
    EXPECT_EQ(choice->application ? choice->application->id : QString(),
              QString::fromUtf8(r.chosen_id));
    EXPECT_EQ(choice->program, QString::fromUtf8(r.chosen_program));
}

INSTANTIATE_TEST_SUITE_P(
    Table, OpenWithDialogAction,
    ::testing::Values(
        ActionRow{"second_row_ok", ActionRow::PickRowAndOk, 1, "", true, "beta.desktop", ""},
        ActionRow{"first_row_ok", ActionRow::PickRowAndOk, 0, "", true, "alfa.desktop", ""},
        ActionRow{"double_click_row", ActionRow::ActivateRow, 1, "", true, "beta.desktop", ""},
        ActionRow{"cancel", ActionRow::Cancel, 0, "", false, "", ""},
        ActionRow{"other_program", ActionRow::OtherProgram, 0, "/bin/sh", true, "", "/bin/sh"},
        ActionRow{"other_program_given_up", ActionRow::OtherProgram, 0, "", false, "", ""},
        ActionRow{"other_program_not_executable", ActionRow::OtherProgram, 0, "/etc/passwd", false,
                  "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OpenWithDialog, NonProgramIsExplainedAndTheDialogStays) {
    OpenWithDialog dialog(QStringLiteral("http://a.example/"), kApps, nullptr,
                          [](QWidget*) { return QStringLiteral("/etc/passwd"); });
    dialog.show();
    child<QPushButton>(dialog, "other_program")->click();
    EXPECT_TRUE(dialog.isVisible());
    auto* problem = child<QLabel>(dialog, "problem");
    EXPECT_TRUE(problem->isVisible());
    EXPECT_TRUE(problem->text().contains("/etc/passwd"));
}

}  // namespace
}  // namespace ristemo::platform
