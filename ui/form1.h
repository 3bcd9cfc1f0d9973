#pragma once

#include <QMainWindow>
#include <array>

#include "core/patient_record.h"
#include "ui/services.h"

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace ristemo::ui {

// The program's only window. Controls keep their given names and array indices as object names
// ("Text1_2" is Text1 index 2, the age box), so tests and accessibility tools find them.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    explicit Form1(const Services& services, QWidget* parent = nullptr);
    ~Form1() override;

    // Runs once before the window is first shown. False when the program must not go on (the
    // decimal separator is not a comma); the caller then ends it without showing the window.
    bool Form_Load();

    const core::PatientRecord& record() const { return record_; }

    // Commands, as the buttons, menu items and keys run them.
    void calcolo_cg();
    void azzera_modulo();
    void direct_print();
    void blocco_note();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click(int index);
    void mnu_about_Click();
    void mnu_nomra_Click();
    void mnu_velsor_Click();
    void mnu_mirdo_Click();
    void mnu_zentab_Click();

    // The About message, with its line breaks.
    QString about_text() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Controls {
        QGroupBox* Frame1 = nullptr;
        QGroupBox* Frame2 = nullptr;
        QGroupBox* Frame3 = nullptr;
        std::array<QLineEdit*, 4> Text1{};
        std::array<QLabel*, 4> Label1{};
        std::array<QRadioButton*, 2> Option1{};
        QButtonGroup* sex_group = nullptr;
        QPushButton* Command1 = nullptr;
        QPushButton* Command2 = nullptr;
        std::array<QPushButton*, 3> Command3{};
        std::array<QLabel*, 5> Label2{};
        std::array<QLabel*, 5> Label3{};
    };
    struct Actions {
        QAction* mnu_calcolo = nullptr;
        QAction* mnu_stampa = nullptr;
        QAction* mnu_notepad = nullptr;
        QAction* mnu_azzera = nullptr;
        QAction* mnu_esci = nullptr;
        QAction* mnu_about = nullptr;
        QAction* mnu_nomra = nullptr;
        QAction* mnu_velsor = nullptr;
        QAction* mnu_mirdo = nullptr;
        QAction* mnu_zentab = nullptr;
    };
    struct Menus {
        QMenu* mnu_opzioni = nullptr;
        QMenu* mnu_info = nullptr;
        QMenu* mnu_sofr = nullptr;
    };

    void create_controls();
    void create_actions();
    void create_menus();
    void set_tab_order();

    bool check_decimal_separator();
    void verifica_dati();
    void open_web_link(const char* address);
    void set_result(int index, const QString& text);

    // Key handlers. code is the character as the 8-bit character set has it (8 backspace,
    // 13 Enter, 27 Esc); setting it to 0 discards the character. Each returns false when it has
    // closed the window and nothing further may run.
    bool Form_KeyPress(int& code);
    void Text1_KeyPress(int index, int& code);
    void Option1_KeyPress(int index, int& code);
    void Option1_Click(int index);
    bool handle_key(QWidget* focused, QKeyEvent& event);
    void deliver_sent_tab(QWidget* focused);
    void update_option_tab_stops();

    const Services& services_;
    core::PatientRecord record_;
    Controls c_;
    Actions a_;
    Menus m_;
};

}  // namespace ristemo::ui
