#include "form/form1.h"

#include <array>
#include <vector>

#include "core/app_info.h"
#include "form/module1.h"
#include "form/spoken.h"
#include "form/web_links.h"
#include "report/report.h"

namespace ristemo::form {

namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

const char* const kSeparatorRefusal =
    "This is the Italian version of Ristemo. The program require ',' as separator for decimal "
    "numbers.";
const char* const kSeparatorAdvice =
    "Press YES for open Regional Settings Dialog Box, and correct setting. Then restart program";
// Shown where this desktop has no regional settings tool to open.
const char* const kNoSettingsTool =
    "Su questo desktop non \u00e8 stato trovato alcuno strumento per le impostazioni "
    "internazionali. Scegliere, nelle impostazioni della lingua e dei formati del desktop, un "
    "formato dei numeri che usi ',' come separatore decimale, oppure avviare il programma con "
    "LC_NUMERIC=it_IT.UTF-8. Perch\u00e9 la modifica abbia effetto pu\u00f2 essere necessario "
    "uscire dalla sessione e rientrare.";

// Told when the browser could not open a page of the "medical software" menu.
std::string cannot_open_page(const std::string& address) {
    return "Impossibile aprire la pagina '" + address + "' nel browser.";
}

std::vector<platform::PrintLine> print_lines_of(const std::vector<report::PageLine>& page) {
    std::vector<platform::PrintLine> lines;
    lines.reserve(page.size());
    for (const report::PageLine& line : page) {
        lines.push_back(
            {line.x, line.y, line.font.name, double(line.font.size), line.font.bold, line.text});
    }
    return lines;
}

}  // namespace

Form1::Form1(View& view, const Services& services) : view_(view), services_(services) {}

bool Form1::Form_Load() {
    record_.crlf_text = "\r\n";
    return check_decimal_separator();
}

bool Form1::check_decimal_separator() {
    const std::string separator = services_.locale.decimal_separator();
    // An empty answer is no comma either.
    if (!separator.empty() && separator[0] == ',') return true;

    const Answer answer = services_.message_box.show_message(
        std::string(kSeparatorRefusal) + record_.crlf_text + kSeparatorAdvice, Buttons::YesNoCancel,
        Icon::None);
    if (answer == Answer::Yes && !services_.regional_settings.open_regional_settings())
        services_.message_box.show_message(kNoSettingsTool, Buttons::Ok, Icon::None);
    return false;
}

core::Calculation Form1::verifica_dati() {
    std::array<std::string, 4> texts;
    for (int i = 0; i < 4; ++i) texts[std::size_t(i)] = view_.Text1_text(i);
    const std::array<bool, 2> options = {view_.Option1_value(0), view_.Option1_value(1)};

    const core::Calculation calculation = core::check_and_calculate(texts, options, record_);
    const core::CheckOutcome& outcome = calculation.check;
    if (outcome.accepted) return calculation;

    services_.message_box.show_message(outcome.message, Buttons::Ok, Icon::None);
    const core::FocusTarget& target = outcome.focus;
    view_.set_focus(
        {target.control == core::FocusTarget::Control::Option1 ? Control::Option1 : Control::Text1,
         target.index});
    return calculation;
}

void Form1::calcolo_cg() {
    const core::Calculation calculation = verifica_dati();
    if (!record_.data_ok) return;
    for (int i = 0; i < 5; ++i)
        view_.set_Label3_caption(i, calculation.results.label3[std::size_t(i)]);
    view_.announce(spoken_results(calculation.results.label3));
}

void Form1::azzera_modulo() {
    // The focus moves before the boxes are emptied: a screen reader that sees the emptied box's
    // caret move first takes the focus move for no move and says nothing.
    view_.set_focus({Control::Text1, 0});
    for (int i = 0; i < 4; ++i) view_.set_Text1_text(i, {});
    for (int i = 0; i < 5; ++i) view_.set_Label3_caption(i, {});
    // Clearing is not a selection: the click handler does not run.
    view_.set_Option1_value(0, false);
    view_.set_Option1_value(1, false);
}

std::function<void(const std::string&)> Form1::later_message() {
    return [this, alive = std::weak_ptr<const bool>(alive_)](const std::string& message) {
        if (alive.expired()) return;
        services_.message_box.show_message(message, Buttons::Ok, Icon::None);
    };
}

void Form1::direct_print() {
    if (!record_.data_ok) return;
    const Answer answer = services_.message_box.show_message("Stampare i dati?",
                                                             Buttons::YesNoCancel, Icon::Question);
    if (answer != Answer::Yes) return;
    const platform::PrintResult result =
        services_.printer.print_page(print_lines_of(report::build_page(record_)));
    if (!result.ok) {
        if (!result.error.empty())
            services_.message_box.show_message("Impossibile stampare il rapporto: " + result.error,
                                               Buttons::Ok, Icon::None);
    } else if (!result.notice.empty()) {
        services_.message_box.show_message(result.notice, Buttons::Ok, Icon::None);
    }
}

void Form1::blocco_note() {
    if (!record_.data_ok) return;
    services_.editor.export_text(report::build_export_text(record_), later_message());
}

void Form1::run(Command command) {
    switch (command) {
        case Command::Calculate:
            calcolo_cg();
            break;
        case Command::Reset:
            azzera_modulo();
            break;
        case Command::Print:
            direct_print();
            break;
        case Command::Export:
            blocco_note();
            break;
        case Command::Exit:
            view_.close_window();
            break;
        case Command::About:
            mnu_about_Click();
            break;
        case Command::OpenNomra:
            mnu_nomra_Click();
            break;
        case Command::OpenVelsor:
            mnu_velsor_Click();
            break;
        case Command::OpenMirdo:
            mnu_mirdo_Click();
            break;
        case Command::OpenZentab:
            mnu_zentab_Click();
            break;
        case Command::None:
            break;
    }
}

std::string Form1::about_text() const {
    const std::string& crlf = record_.crlf_text;
    return std::string(core::kAppTitle) + crlf + crlf +
           "Ristemo \u00e8 destinato a medici professionisti, in grado di interpretarne "
           "correttamente i risultati." +
           crlf +
           "Questo calcolatore utilizza la classica equazione di Cockroft-Gault per la stima "
           "della clearance della creatinina." +
           crlf +
           "Nei soggetti con BMI elevato (>=30) viene invece adottata l'equazione di Salazar e "
           "Corcoran." +
           crlf + crlf +
           "L'autore declina ogni responsabilit\u00e0 per eventuali danni, di qualsiasi tipo, "
           "possano derivare dall'uso del presente programma." +
           crlf;
}

void Form1::mnu_about_Click() {
    services_.message_box.show_message(about_text(), Buttons::Ok, Icon::None);
}

void Form1::open_web_link(const char* address) {
    Module1::link_target = address;
    // A failed launch is said, so that a click that seems to do nothing is explained; also when
    // the failure comes after the window has gone on. Module1 keeps its own wording for the
    // failure; the user is told in Italian.
    const auto tell = [message = later_message(), text = cannot_open_page(address)](
                          const std::string& /*launch_error*/) { message(text); };
    if (!Module1::open_link(services_.shell, tell)) tell(Module1::launch_error);
}

void Form1::mnu_nomra_Click() {
    open_web_link(web_links::kNomra);
}

void Form1::mnu_velsor_Click() {
    open_web_link(web_links::kVelsor);
}

void Form1::mnu_mirdo_Click() {
    open_web_link(web_links::kMirdo);
}

void Form1::mnu_zentab_Click() {
    open_web_link(web_links::kZentab);
}

int Form1::key_press(ControlRef focused, int code) {
    if (!Form_KeyPress(code)) return 0;
    if (focused.control == Control::Text1) Text1_KeyPress(focused.index, code);
    if (focused.control == Control::Option1) Option1_KeyPress(focused.index, code);
    // Keyboard use is complete only if Enter runs the focused button, as Space does.
    const ControlDesign* control = find_control(focused);
    if (code == kEnter && control != nullptr && control->kind == ControlKind::PushButton) {
        run(control->command);
        return 0;
    }
    return code;
}

bool Form1::arrow_key(ControlRef focused) {
    if (focused.control != Control::Option1) return false;
    const int other = 1 - focused.index;
    view_.set_focus({Control::Option1, other});
    view_.set_Option1_value(other, true);
    Option1_Click(other);
    return true;
}

bool Form1::Form_KeyPress(int& code) {
    if (code != kEscape) return true;
    const Answer answer =
        services_.message_box.show_message("uscire?", Buttons::YesNo, Icon::Question);
    if (answer == Answer::Yes) {
        view_.close_window();
        return false;
    }
    return true;
}

void Form1::Text1_KeyPress(int index, int& code) {
    if (code == kBackspace) return;
    if (code == kEnter) {
        view_.send_tab();
        code = 0;
    }
    const bool has_comma = view_.Text1_text(index).find(',') != std::string::npos;
    if (code == kPoint && !has_comma) {
        code = kComma;
        return;
    }
    if (code == kComma && has_comma) {
        code = 0;
        return;
    }
    if (code == kComma || code == kTab) return;
    if (code < '0' || code > '9') code = 0;
}

void Form1::Option1_KeyPress(int /*index*/, int& code) {
    if (code == kEnter) {
        view_.send_tab();
        code = 0;
    }
}

// The choice is said before the focus leaves it: the focus move takes it out of hearing.
void Form1::Option1_Click(int index) {
    view_.announce(spoken_choice(index));
    view_.set_focus({Control::Command1, kNoIndex});
}

}  // namespace ristemo::form
