#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/calculation.h"
#include "core/patient_record.h"
#include "form/form1_design.h"
#include "form/view.h"
#include "platform/editor_export.h"
#include "platform/locale_query.h"
#include "platform/message_box.h"
#include "platform/printer.h"
#include "platform/regional_settings.h"
#include "platform/shell_open.h"

namespace ristemo::form {

// The platform services the window uses; each front-end's main picks them, tests pass fakes.
struct Services {
    platform::MessageBox& message_box;
    platform::LocaleQuery& locale;
    platform::RegionalSettings& regional_settings;
    platform::Printer& printer;
    platform::EditorExport& editor;
    platform::ShellOpen& shell;
};

// Character codes of the 8-bit character set, as the key handlers see them.
inline constexpr int kBackspace = 8;
inline constexpr int kTab = 9;
inline constexpr int kEnter = 13;
inline constexpr int kEscape = 27;
inline constexpr int kComma = 44;
inline constexpr int kPoint = 46;

// The behaviour of the program's only window: its handlers, written once over a View and the
// platform services, for every front-end.
class Form1 {
public:
    Form1(View& view, const Services& services);

    // Runs once before the window is first shown. False when the program must not go on (the
    // decimal separator is not a comma); the caller then ends it without showing the window.
    bool Form_Load();

    const core::PatientRecord& record() const { return record_; }

    // The one way in for the window's buttons, menu items and function keys: the design says
    // which command each runs.
    void run(Command command);

    // Key preview: the window hands every typed character here before the focused control gets
    // it. Returns the code the control must receive: code itself to pass it on, another code to
    // receive that one instead, 0 for nothing.
    int key_press(ControlRef focused, int code);
    // An arrow key without Ctrl or Alt. True when used up here: in the sex group it selects the
    // other option, as selection from the keyboard does on the desktops the program comes from.
    bool arrow_key(ControlRef focused);
    // The user selected an option (mouse or Space); not run when the program sets one.
    void Option1_Click(int index);

private:
    bool check_decimal_separator();
    // The check, and the calculation once it accepts the boxes; a rejection is told, and its box
    // takes the focus.
    core::Calculation verifica_dati();
    // The commands.
    void calcolo_cg();
    void azzera_modulo();
    void direct_print();
    void blocco_note();
    void mnu_about_Click();
    void mnu_nomra_Click();
    void mnu_velsor_Click();
    void mnu_mirdo_Click();
    void mnu_zentab_Click();
    // The About message, with its line breaks.
    std::string about_text() const;

    // The key handlers proper. Setting code to 0 discards the character. Form_KeyPress returns
    // false when it has closed the window and nothing further may run.
    bool Form_KeyPress(int& code);
    void Text1_KeyPress(int index, int& code);
    void Option1_KeyPress(int index, int& code);

    void open_web_link(const char* address);
    // A message box for a report that may come back after the window has gone.
    std::function<void(const std::string&)> later_message();

    View& view_;
    const Services& services_;
    core::PatientRecord record_;
    // Expires with the window, so that late reports find it gone.
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

}  // namespace ristemo::form
