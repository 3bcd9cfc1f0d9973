#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <vector>

#include "core/app_info.h"
#include "core/calculation.h"
#include "core/validation.h"
#include "platform/module1.h"
#include "platform/web_links.h"
#include "report/report.h"
#include "ui/form1.h"

namespace ristemo::ui {

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
    "No regional settings tool was found on this desktop. Set a number format that uses ',' as "
    "decimal separator in your desktop's region and format settings, or start the program with "
    "LC_NUMERIC=it_IT.UTF-8. You may need to log out and in again for the change to take effect.";

QString utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::vector<platform::PrintLine> print_lines_of(const std::vector<report::PageLine>& page) {
    std::vector<platform::PrintLine> lines;
    lines.reserve(page.size());
    for (const report::PageLine& line : page) {
        lines.push_back({line.x, line.y, utf8(line.font.name), double(line.font.size),
                         line.font.bold, utf8(line.text)});
    }
    return lines;
}

}  // namespace

bool Form1::Form_Load() {
    record_.crlf_text = "\r\n";
    return check_decimal_separator();
}

bool Form1::check_decimal_separator() {
    const QString separator = services_.locale.decimal_separator();
    // An empty answer is no comma either.
    if (!separator.isEmpty() && separator.at(0) == QLatin1Char(',')) return true;

    const QString crlf = utf8(record_.crlf_text);
    const Answer answer = services_.message_box.show_message(
        QLatin1String(kSeparatorRefusal) + crlf + QLatin1String(kSeparatorAdvice),
        Buttons::YesNoCancel, Icon::None);
    if (answer == Answer::Yes && !services_.regional_settings.open_regional_settings())
        services_.message_box.show_message(QLatin1String(kNoSettingsTool), Buttons::Ok, Icon::None);
    return false;
}

void Form1::verifica_dati() {
    std::array<std::string, 4> texts;
    for (int i = 0; i < 4; ++i) texts[i] = c_.Text1[i]->text().toStdString();
    const std::array<bool, 2> options = {c_.Option1[0]->isChecked(), c_.Option1[1]->isChecked()};

    const core::CheckOutcome outcome = core::check_inputs(texts, options);
    core::apply_outcome(outcome, record_);
    if (outcome.accepted) return;

    services_.message_box.show_message(utf8(outcome.message), Buttons::Ok, Icon::None);
    const core::FocusTarget& target = outcome.focus;
    QWidget* focus = target.control == core::FocusTarget::Control::Option1
                         ? static_cast<QWidget*>(c_.Option1.at(std::size_t(target.index)))
                         : static_cast<QWidget*>(c_.Text1.at(std::size_t(target.index)));
    focus->setFocus(Qt::OtherFocusReason);
}

void Form1::calcolo_cg() {
    verifica_dati();
    if (!record_.data_ok) return;
    const core::CalculationResults results = core::calculate(record_);
    for (int i = 0; i < 5; ++i) set_result(i, utf8(results.label3[i]));
}

// A screen reader hears the box's caption, then what the box shows.
void Form1::set_result(int index, const QString& text) {
    QLabel* box = c_.Label3[std::size_t(index)];
    box->setText(text);
    box->setAccessibleDescription(text.isEmpty() ? box->accessibleName() : text);
}

void Form1::azzera_modulo() {
    for (int i = 0; i < 4; ++i) c_.Text1[i]->clear();
    for (int i = 0; i < 5; ++i) set_result(i, QString());
    c_.Text1[0]->setFocus(Qt::OtherFocusReason);
    // An exclusive group never lets its last checked button go; clearing is not a selection,
    // so the click handler must not run.
    c_.sex_group->setExclusive(false);
    c_.Option1[0]->setChecked(false);
    c_.Option1[1]->setChecked(false);
    c_.sex_group->setExclusive(true);
}

void Form1::direct_print() {
    if (!record_.data_ok) return;
    const Answer answer = services_.message_box.show_message(QStringLiteral("Stampare i dati?"),
                                                             Buttons::YesNoCancel, Icon::Question);
    if (answer != Answer::Yes) return;
    const platform::PrintResult result =
        services_.printer.print_page(print_lines_of(report::build_page(record_)));
    if (!result.ok) {
        services_.message_box.show_message(
            QStringLiteral("Impossibile stampare il rapporto: ") + result.error, Buttons::Ok,
            Icon::None);
    } else if (!result.notice.isEmpty()) {
        services_.message_box.show_message(result.notice, Buttons::Ok, Icon::None);
    }
}

void Form1::blocco_note() {
    if (!record_.data_ok) return;
    QPointer<Form1> self(this);
    services_.editor.export_text(
        utf8(report::build_export_text(record_)), [self](const QString& message) {
            // The report may come back after the window has gone.
            if (!self) return;
            self->services_.message_box.show_message(message, Buttons::Ok, Icon::None);
        });
}

void Form1::Command1_Click() {
    calcolo_cg();
}

void Form1::Command2_Click() {
    azzera_modulo();
}

void Form1::Command3_Click(int index) {
    switch (index) {
        case 0:
            direct_print();
            break;
        case 1:
            blocco_note();
            break;
        case 2:
            close();
            break;
        default:
            break;
    }
}

QString Form1::about_text() const {
    const QString crlf = utf8(record_.crlf_text);
    return QString::fromUtf8(core::kAppTitle) + crlf + crlf +
           QStringLiteral(
               "Ristemo \u00e8 destinato a medici professionisti, in grado di "
               "interpretarne correttamente i risultati.") +
           crlf +
           QStringLiteral(
               "Questo calcolatore utilizza la classica equazione di Cockroft-Gault "
               "per la stima della clearance della creatinina.") +
           crlf +
           QStringLiteral(
               "Nei soggetti con BMI elevato (>=30) viene invece adottata "
               "l'equazione di Salazar e Corcoran.") +
           crlf + crlf +
           QStringLiteral(
               "L'autore declina ogni responsabilit\u00e0 per eventuali danni, di "
               "qualsiasi tipo, possano derivare dall'uso del presente programma.") +
           crlf;
}

void Form1::mnu_about_Click() {
    services_.message_box.show_message(about_text(), Buttons::Ok, Icon::None);
}

void Form1::open_web_link(const char* address) {
    platform::Module1::link_target = QString::fromUtf8(address);
    // A failed launch is said, so that a click that seems to do nothing is explained; also when
    // the failure comes after the window has gone on.
    QPointer<Form1> self(this);
    const auto tell = [self](const QString& message) {
        // The report may come back after the window has gone.
        if (!self) return;
        self->services_.message_box.show_message(message, Buttons::Ok, Icon::None);
    };
    if (!platform::Module1::open_link(services_.shell, tell)) tell(platform::Module1::launch_error);
}

void Form1::mnu_nomra_Click() {
    open_web_link(platform::web_links::kNomra);
}

void Form1::mnu_velsor_Click() {
    open_web_link(platform::web_links::kVelsor);
}

void Form1::mnu_mirdo_Click() {
    open_web_link(platform::web_links::kMirdo);
}

void Form1::mnu_zentab_Click() {
    open_web_link(platform::web_links::kZentab);
}

}  // namespace ristemo::ui
