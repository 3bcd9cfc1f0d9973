#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>

#include "form/form1.h"
#include "form/view.h"

class QAction;
class QButtonGroup;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace ristemo::ui {

// The program's only window, drawn with Qt Widgets; what it does is Form1's. Controls keep their
// given names and array indices as object names ("Text1_2" is Text1 index 2, the age box), so
// tests and accessibility tools find them.
class Form1Window : public QMainWindow, public form::View {
    Q_OBJECT

public:
    explicit Form1Window(const form::Services& services, QWidget* parent = nullptr);
    ~Form1Window() override;

    form::Form1& form() { return form_; }
    const core::PatientRecord& record() const { return form_.record(); }

    // form::View
    std::string Text1_text(int index) const override;
    void set_Text1_text(int index, const std::string& text) override;
    bool Option1_value(int index) const override;
    void set_Option1_value(int index, bool value) override;
    void set_Label3_caption(int index, const std::string& text) override;
    void set_focus(form::ControlRef control) override;
    void send_tab() override;
    void close_window() override;

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
    void update_option_tab_stops();

    form::ControlRef control_of(const QWidget* widget) const;
    QWidget* widget_of(form::ControlRef control) const;
    bool handle_key(QWidget* focused, QKeyEvent& event);
    void give_keyboard_back();

    form::Form1 form_;
    Controls c_;
    Actions a_;
    Menus m_;
    bool tab_sent_ = false;
    QPointer<QWidget> last_focused_;  // the control that last had the keyboard
};

}  // namespace ristemo::ui
