#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "core/app_info.h"
#include "form/form1.h"
#include "form/module1.h"
#include "form/web_links.h"
#include "report/report.h"
#include "support/fakes.h"
#include "support/golden_rows.h"
#include "support/worked_example.h"

namespace {

using namespace ristemo;
using form::Control;
using form::ControlRef;
using platform::Answer;
using platform::Buttons;
using platform::Icon;
using Strings = std::vector<std::string>;

// The window's controls as plain values.
class FakeView : public form::View {
public:
    std::array<std::string, 4> texts;
    std::array<bool, 2> options{};
    std::array<std::string, 5> labels;
    ControlRef focus{Control::Text1, 0};
    int tabs_sent = 0;
    bool closed = false;
    Strings spoken;  // what a screen reader was told, in order

    std::string Text1_text(int index) const override { return texts.at(std::size_t(index)); }
    void set_Text1_text(int index, const std::string& text) override {
        texts.at(std::size_t(index)) = text;
    }
    bool Option1_value(int index) const override { return options.at(std::size_t(index)); }
    void set_Option1_value(int index, bool value) override {
        if (value) options.at(std::size_t(1 - index)) = false;
        options.at(std::size_t(index)) = value;
    }
    void set_Label3_caption(int index, const std::string& text) override {
        labels.at(std::size_t(index)) = text;
    }
    void set_focus(ControlRef control) override { focus = control; }
    void send_tab() override { ++tabs_sent; }
    void announce(const std::string& text) override { spoken.push_back(text); }
    void close_window() override { closed = true; }

    Strings label_texts() const { return Strings(labels.begin(), labels.end()); }
};

// A loaded window over recording fakes.
struct Harness {
    test::FakeServices fakes;
    form::Services services{fakes.message_box, fakes.locale, fakes.regional_settings,
                            fakes.printer,     fakes.editor, fakes.shell};
    FakeView view;
    form::Form1 form{view, services};

    Harness() {
        form::Module1::link_target.clear();
        EXPECT_TRUE(form.Form_Load());
    }
    // texts in Text1 index order: creatinine, weight, age, height; sex 'm', 'f' or none.
    void fill(const std::array<std::string, 4>& texts, char sex) {
        view.texts = texts;
        view.options = {sex == 'm', sex == 'f'};
    }
    void fill_worked_example() {
        fill(test::kWorkedExampleTexts, test::kWorkedExampleMale ? 'm' : 'f');
    }
    Strings prompts() const { return fakes.message_box.prompts(); }
};

const std::string kSeparatorMessage =
    "This is the Italian version of Ristemo. The program require ',' as separator for decimal "
    "numbers.\r\nPress YES for open Regional Settings Dialog Box, and correct setting. Then "
    "restart program";

const std::string kNoSettingsToolMessage =
    "Su questo desktop non \u00e8 stato trovato alcuno strumento per le impostazioni "
    "internazionali. Scegliere, nelle impostazioni della lingua e dei formati del desktop, un "
    "formato dei numeri che usi ',' come separatore decimale, oppure avviare il programma con "
    "LC_NUMERIC=it_IT.UTF-8. Perch\u00e9 la modifica abbia effetto pu\u00f2 essere necessario "
    "uscire dalla sessione e rientrare.";

struct StartUpRow {
    const char* name;
    const char* separator;
    Answer answer;
    bool tool_available;
    bool goes_on;
    int messages;
    int settings_opened;
};

class StartUpCheck : public testing::TestWithParam<StartUpRow> {};

TEST_P(StartUpCheck, AcceptsOnlyACommaFirst) {
    const StartUpRow& row = GetParam();
    test::FakeServices fakes;
    fakes.locale.separator = row.separator;
    fakes.regional_settings.available = row.tool_available;
    fakes.message_box.script = {row.answer};
    const form::Services services{fakes.message_box, fakes.locale, fakes.regional_settings,
                                  fakes.printer,     fakes.editor, fakes.shell};
    FakeView view;
    form::Form1 form(view, services);

    EXPECT_EQ(form.Form_Load(), row.goes_on);

    EXPECT_EQ(form.record().crlf_text, "\r\n");
    ASSERT_EQ(int(fakes.message_box.shown.size()), row.messages);
    EXPECT_EQ(fakes.regional_settings.opened, row.settings_opened);
    if (row.messages >= 1) {
        EXPECT_EQ(fakes.message_box.shown[0].prompt, kSeparatorMessage);
        EXPECT_EQ(fakes.message_box.shown[0].buttons, Buttons::YesNoCancel);
        EXPECT_EQ(fakes.message_box.shown[0].icon, Icon::None);
    }
    if (row.messages == 2) {
        EXPECT_EQ(fakes.message_box.shown[1].buttons, Buttons::Ok);
        EXPECT_EQ(fakes.message_box.shown[1].prompt, kNoSettingsToolMessage);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Separators, StartUpCheck,
    testing::Values(StartUpRow{"CommaStarts", ",", Answer::No, true, true, 0, 0},
                    StartUpRow{"CommaFirstOfSeveral", ",.", Answer::No, true, true, 0, 0},
                    StartUpRow{"PointYesOpensSettings", ".", Answer::Yes, true, false, 1, 1},
                    StartUpRow{"PointYesWithoutToolExplains", ".", Answer::Yes, false, false, 2, 1},
                    StartUpRow{"PointNo", ".", Answer::No, true, false, 1, 0},
                    StartUpRow{"PointCancel", ".", Answer::Cancel, true, false, 1, 0},
                    StartUpRow{"EmptyRefused", "", Answer::No, true, false, 1, 0},
                    StartUpRow{"CommaNotFirst", ".,", Answer::Cancel, true, false, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// The first row of each verdict in the independent model's vectors: accepted for either sex,
// rejected with the focus on each control. The check itself is core's, and tested there.
std::vector<golden::Row> first_row_of_each_verdict() {
    std::vector<golden::Row> picked;
    std::set<std::string> verdicts;
    for (const golden::Row& row : golden::load_rows(RISTEMO_GOLDEN_FILE)) {
        const std::string verdict =
            row.at("outcome") == "ok" ? "ok " + row.at("sex") : row.at("focus");
        if (verdicts.insert(verdict).second) picked.push_back(row);
    }
    return picked;
}

// The focus as the vectors write it: "Text1:3".
std::string focus_text(ControlRef focus) {
    return (focus.control == Control::Text1 ? "Text1:" : "Option1:") +
           std::string(1, char('0' + focus.index));
}

// The check's verdict reaches the window: the results in the five boxes, or the message and the
// focus on the control to correct with the boxes left as they were.
TEST(Form1, CalculationShowsTheVerdictOfTheCheck) {
    const std::vector<golden::Row> rows = first_row_of_each_verdict();
    ASSERT_EQ(rows.size(), 7u) << "cannot read " << RISTEMO_GOLDEN_FILE;
    for (const golden::Row& row : rows) {
        SCOPED_TRACE("row " + row.at("id"));
        Harness h;
        h.view.texts = golden::texts_of(row);
        h.view.options = golden::options_of(row);
        const ControlRef on_button{Control::Command1, form::kNoIndex};
        h.view.focus = on_button;

        h.form.run(form::Command::Calculate);

        const bool accepted = row.at("outcome") == "ok";
        EXPECT_EQ(h.form.record().data_ok, accepted);
        EXPECT_EQ(h.view.texts, golden::texts_of(row));
        if (accepted) {
            Strings labels;
            for (char i = '0'; i < '5'; ++i) labels.push_back(row.at(std::string("label") + i));
            EXPECT_EQ(h.view.label_texts(), labels);
            EXPECT_TRUE(h.fakes.message_box.shown.empty());
            EXPECT_EQ(h.view.focus, on_button);
        } else {
            EXPECT_EQ(h.view.label_texts(), Strings(5));
            ASSERT_EQ(h.prompts(), Strings{row.at("message")});
            EXPECT_EQ(h.fakes.message_box.shown[0].buttons, Buttons::Ok);
            EXPECT_EQ(h.fakes.message_box.shown[0].icon, Icon::None);
            EXPECT_EQ(focus_text(h.view.focus), row.at("focus"));
        }
    }
}

// A screen reader hears the results of every calculation that gives them, the same numbers again
// too, and nothing of a refused one.
TEST(Form1, ResultsAreSpokenWithTheirCaptionsClearanceFirst) {
    Harness h;
    h.fill_worked_example();
    h.form.run(form::Command::Calculate);
    h.form.run(form::Command::Calculate);
    h.view.texts[2] = "17";
    h.form.run(form::Command::Calculate);

    const auto r = test::worked_example_results();
    const std::string results = "clearance  creatinina stimata " + r[0] + ". body mass index " +
                                r[1] + ". peso ideale e scostamento " + r[2] +
                                ". superficie corporea " + r[3] + ". stima massa magra " + r[4];
    EXPECT_EQ(h.view.spoken, (Strings{results, results}));
}

TEST(Form1, RejectedRunKeepsTheLastResults) {
    Harness h;
    h.fill_worked_example();
    h.form.run(form::Command::Calculate);
    const Strings before = h.view.label_texts();
    const float crcl = h.form.record().crcl;

    h.view.texts[2] = "17";
    h.form.run(form::Command::Calculate);

    EXPECT_EQ(h.view.label_texts(), before);
    EXPECT_EQ(h.form.record().crcl, crcl);
    EXPECT_FALSE(h.form.record().data_ok);
    EXPECT_EQ(h.prompts().size(), 1u);
}

// Clearing the sex is no selection: the focus stays in the first box. The record keeps the last
// calculation, which printing still uses.
TEST(Form1, ResetClearsTheWindowAndKeepsTheRecord) {
    Harness h;
    h.fill({"1", "100", "60", "1,6"}, 'f');
    h.form.run(form::Command::Calculate);
    const core::PatientRecord kept = h.form.record();

    h.form.run(form::Command::Reset);

    EXPECT_EQ(h.view.texts, (std::array<std::string, 4>{}));
    EXPECT_EQ(h.view.label_texts(), Strings(5));
    EXPECT_EQ(h.view.options, (std::array<bool, 2>{false, false}));
    EXPECT_EQ(h.view.focus, (ControlRef{Control::Text1, 0}));
    EXPECT_TRUE(h.form.record().data_ok);
    EXPECT_EQ(h.form.record().crcl, kept.crcl);

    h.fakes.message_box.script = {Answer::Yes};
    h.form.run(form::Command::Print);
    EXPECT_EQ(h.fakes.printer.pages.size(), 1u);
}

TEST(Form1, AboutText) {
    Harness h;
    h.form.run(form::Command::About);
    const std::string expected =
        std::string(core::kAppTitle) +
        "\r\n\r\n"
        "Ristemo \u00e8 destinato a medici professionisti, in grado di interpretarne "
        "correttamente i risultati.\r\n"
        "Questo calcolatore utilizza la classica equazione di Cockroft-Gault per la stima della "
        "clearance della creatinina.\r\n"
        "Nei soggetti con BMI elevato (>=30) viene invece adottata l'equazione di Salazar e "
        "Corcoran.\r\n\r\n"
        "L'autore declina ogni responsabilit\u00e0 per eventuali danni, di qualsiasi tipo, "
        "possano derivare dall'uso del presente programma.\r\n";
    EXPECT_EQ(h.prompts(), Strings{expected});
    EXPECT_EQ(h.fakes.message_box.shown[0].buttons, Buttons::Ok);
    EXPECT_FALSE(h.view.closed);
}

TEST(Form1, ExitClosesWithoutAsking) {
    Harness h;
    h.form.run(form::Command::Exit);
    EXPECT_TRUE(h.view.closed);
    EXPECT_TRUE(h.fakes.message_box.shown.empty());
}

struct PrintRow {
    const char* name;
    bool calculated;
    Answer answer;
    platform::PrintResult printer;
    int pages;
    Strings prompts;
};

class Print : public testing::TestWithParam<PrintRow> {};

TEST_P(Print, AsksThenPrintsTheReportPage) {
    const PrintRow& row = GetParam();
    Harness h;
    h.fill_worked_example();
    if (row.calculated) h.form.run(form::Command::Calculate);
    h.fakes.message_box.script = {row.answer};
    h.fakes.printer.result = row.printer;

    h.form.run(form::Command::Print);

    EXPECT_EQ(h.prompts(), row.prompts);
    if (!row.prompts.empty()) {
        EXPECT_EQ(h.fakes.message_box.shown[0].icon, Icon::Question);
        EXPECT_EQ(h.fakes.message_box.shown[0].buttons, Buttons::YesNoCancel);
    }
    ASSERT_EQ(int(h.fakes.printer.pages.size()), row.pages);
    if (row.pages == 0) return;
    const auto expected = report::build_page(h.form.record());
    const auto& page = h.fakes.printer.pages[0];
    ASSERT_EQ(page.size(), expected.size());
    for (std::size_t i = 0; i < page.size(); ++i) {
        EXPECT_EQ(page[i].text, expected[i].text);
        EXPECT_EQ(page[i].x_twips, expected[i].x);
        EXPECT_EQ(page[i].y_twips, expected[i].y);
        EXPECT_EQ(page[i].font_family, expected[i].font.name);
        EXPECT_EQ(page[i].point_size, double(expected[i].font.size));
        EXPECT_EQ(page[i].bold, expected[i].font.bold);
    }
    EXPECT_EQ(page[0].text, core::kAppTitle);
}

const char* const kAsk = "Stampare i dati?";
const char* const kHeld = "La pagina attende nella coda di una stampante in pausa";

INSTANTIATE_TEST_SUITE_P(
    Answers, Print,
    testing::Values(
        PrintRow{"NoCalculationDoesNothing", false, Answer::Yes, {true, {}, {}}, 0, {}},
        PrintRow{"YesPrints", true, Answer::Yes, {true, {}, {}}, 1, {kAsk}},
        PrintRow{"NoPrintsNothing", true, Answer::No, {true, {}, {}}, 0, {kAsk}},
        PrintRow{"CancelPrintsNothing", true, Answer::Cancel, {true, {}, {}}, 0, {kAsk}},
        PrintRow{"PrinterFailureIsTold",
                 true,
                 Answer::Yes,
                 {false, "nessuna stampante", {}},
                 1,
                 {kAsk, "Impossibile stampare il rapporto: nessuna stampante"}},
        PrintRow{"CancelledByTheUserSaysNothing", true, Answer::Yes, {false, {}, {}}, 1, {kAsk}},
        PrintRow{"PausedPrinterIsTold", true, Answer::Yes, {true, {}, kHeld}, 1, {kAsk, kHeld}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Form1, ExportSendsTheReportAndTellsAFailureWhileTheWindowLives) {
    const std::string failure = "Blocco note non avviato.";
    struct Row {
        const char* name;
        bool calculated;
        bool window_gone;
        int exports;
        Strings prompts;
    };
    const Row rows[] = {{"no calculation does nothing", false, false, 0, {}},
                        {"failure is told", true, false, 1, {failure}},
                        {"failure after the window went is dropped", true, true, 1, {}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        test::FakeServices fakes;
        const form::Services services{fakes.message_box, fakes.locale, fakes.regional_settings,
                                      fakes.printer,     fakes.editor, fakes.shell};
        FakeView view;
        core::PatientRecord record;
        {
            form::Form1 form(view, services);
            ASSERT_TRUE(form.Form_Load());
            view.texts = {"1,2", "80", "70", "1,75"};
            view.options = {true, false};
            if (row.calculated) form.run(form::Command::Calculate);
            form.run(form::Command::Export);
            record = form.record();
            if (!row.window_gone && !fakes.editor.handlers.empty())
                fakes.editor.handlers[0](failure);
        }
        if (row.window_gone && !fakes.editor.handlers.empty()) fakes.editor.handlers[0](failure);

        ASSERT_EQ(int(fakes.editor.texts.size()), row.exports);
        if (row.exports == 1) {
            EXPECT_EQ(fakes.editor.texts[0], report::build_export_text(record));
        }
        EXPECT_EQ(fakes.message_box.prompts(), row.prompts);
    }
}

struct LinkRow {
    const char* name;
    form::Command item;
    const char* address;
    std::int32_t shell_code;
    bool fails_later;
    bool told;
};

class WebLinks : public testing::TestWithParam<LinkRow> {};

TEST_P(WebLinks, OpenTheirPageOrSayWhyNot) {
    const LinkRow& row = GetParam();
    Harness h;
    h.fakes.shell.code = row.shell_code;

    h.form.run(row.item);
    ASSERT_TRUE(h.fakes.shell.late_failure);
    if (row.fails_later) {
        EXPECT_TRUE(h.fakes.message_box.shown.empty());
        h.fakes.shell.late_failure();
    }

    EXPECT_EQ(h.fakes.shell.opened, Strings{row.address});
    EXPECT_EQ(h.fakes.shell.open_with,
              row.shell_code == platform::kShellNoAssociation ? Strings{row.address} : Strings{});
    EXPECT_EQ(h.prompts(), row.told ? Strings{"Impossibile aprire la pagina '" +
                                              std::string(row.address) + "' nel browser."}
                                    : Strings{});
    EXPECT_EQ(form::Module1::link_target, row.address);
}

using Cmd = form::Command;
namespace links = form::web_links;
INSTANTIATE_TEST_SUITE_P(
    MenuItems, WebLinks,
    testing::Values(
        LinkRow{"Nomra", Cmd::OpenNomra, links::kNomra, platform::kShellSuccess, false, false},
        LinkRow{"Velsor", Cmd::OpenVelsor, links::kVelsor, platform::kShellSuccess, false, false},
        LinkRow{"Mirdo", Cmd::OpenMirdo, links::kMirdo, platform::kShellSuccess, false, false},
        LinkRow{"Zentab", Cmd::OpenZentab, links::kZentab, platform::kShellSuccess, false, false},
        LinkRow{"NoAssociationOffersOpenWith", Cmd::OpenMirdo, links::kMirdo,
                platform::kShellNoAssociation, false, false},
        LinkRow{"FailureIsTold", Cmd::OpenZentab, links::kZentab, platform::kShellFailure, false,
                true},
        LinkRow{"FailureAfterTheClickIsTold", Cmd::OpenVelsor, links::kVelsor,
                platform::kShellSuccess, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

// One typed character: where the focus is, what the box holds, what the user answers to "uscire?".
struct KeyRow {
    const char* name;
    ControlRef focused;
    std::string box_text;
    int typed;
    Answer answer;
    int received;  // what the control receives: typed itself, another code, or 0
    int tabs_sent;
    Strings prompts;
    bool closed;
};

class KeyPreview : public testing::TestWithParam<KeyRow> {};

TEST_P(KeyPreview, FiltersAndActs) {
    const KeyRow& row = GetParam();
    Harness h;
    h.view.texts[0] = row.box_text;
    h.view.focus = row.focused;
    h.fakes.message_box.script = {row.answer};

    EXPECT_EQ(h.form.key_press(row.focused, row.typed), row.received);

    EXPECT_EQ(h.view.tabs_sent, row.tabs_sent);
    EXPECT_EQ(h.prompts(), row.prompts);
    EXPECT_EQ(h.view.closed, row.closed);
    EXPECT_EQ(h.view.texts[0], row.box_text);
}

constexpr ControlRef kBox{Control::Text1, 0};
constexpr ControlRef kMale{Control::Option1, 0};
const char* const kQuit = "uscire?";
const char* const kNoCreatinine = "valore creatinina 0 mg/dl non accettabile...";

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyPreview,
    testing::Values(
        KeyRow{"DigitPasses", kBox, "", '7', Answer::No, '7', 0, {}, false},
        KeyRow{"PointBecomesComma", kBox, "1", '.', Answer::No, ',', 0, {}, false},
        KeyRow{"PointAfterCommaDropped", kBox, "1,", '.', Answer::No, 0, 0, {}, false},
        KeyRow{"CommaPasses", kBox, "1", ',', Answer::No, ',', 0, {}, false},
        KeyRow{"SecondCommaDropped", kBox, "1,5", ',', Answer::No, 0, 0, {}, false},
        KeyRow{"LetterDropped", kBox, "", 'a', Answer::No, 0, 0, {}, false},
        KeyRow{"SpaceDropped", kBox, "", ' ', Answer::No, 0, 0, {}, false},
        KeyRow{"LatinOneLetterDropped", kBox, "", 0xe8, Answer::No, 0, 0, {}, false},
        KeyRow{"BackspacePasses", kBox, "1", 8, Answer::No, 8, 0, {}, false},
        KeyRow{"TabPasses", kBox, "1", 9, Answer::No, 9, 0, {}, false},
        KeyRow{"EnterSendsTab", kBox, "1", 13, Answer::No, 0, 1, {}, false},
        KeyRow{"EscapeAnsweredNoStays", kBox, "1", 27, Answer::No, 0, 0, {kQuit}, false},
        KeyRow{"EscapeAnsweredYesCloses", kBox, "1", 27, Answer::Yes, 0, 0, {kQuit}, true},
        KeyRow{"EnterOnOptionSendsTab", kMale, "", 13, Answer::No, 0, 1, {}, false},
        KeyRow{"SpaceOnOptionPasses", kMale, "", ' ', Answer::No, ' ', 0, {}, false},
        KeyRow{"EnterRunsCalculate",
               {Control::Command1, form::kNoIndex},
               "",
               13,
               Answer::No,
               0,
               0,
               {kNoCreatinine},
               false},
        KeyRow{"EnterRunsEsci", {Control::Command3, 2}, "", 13, Answer::No, 0, 0, {}, true},
        KeyRow{"SpaceOnButtonIsTheButtons",
               {Control::Command1, form::kNoIndex},
               "",
               ' ',
               Answer::No,
               ' ',
               0,
               {},
               false},
        KeyRow{"EscapeOnButtonAnsweredNo",
               {Control::Command2, form::kNoIndex},
               "",
               27,
               Answer::No,
               27,
               0,
               {kQuit},
               false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Form1, ArrowInTheSexGroupSelectsTheOtherOption) {
    struct Row {
        ControlRef from;
        bool used;
        std::array<bool, 2> options;
        ControlRef focus;
        Strings spoken;  // the choice is told, since the focus leaves the options at once
    };
    const Row rows[] = {
        {{Control::Option1, 0}, true, {false, true}, {Control::Command1, form::kNoIndex},
         {"femmina, selezionato"}},
        {{Control::Option1, 1}, true, {true, false}, {Control::Command1, form::kNoIndex},
         {"maschio, selezionato"}},
        {{Control::Text1, 2}, false, {false, false}, {Control::Text1, 2}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.from.control) * 10 + row.from.index);
        Harness h;
        h.view.focus = row.from;
        EXPECT_EQ(h.form.arrow_key(row.from), row.used);
        EXPECT_EQ(h.view.options, row.options);
        EXPECT_EQ(h.view.focus, row.focus);
        EXPECT_EQ(h.view.spoken, row.spoken);
    }
}

}  // namespace
