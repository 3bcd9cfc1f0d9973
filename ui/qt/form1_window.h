#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <utility>
#include <vector>

#include "form/form1.h"
#include "form/form1_design.h"
#include "form/view.h"

class QButtonGroup;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace ristemo::ui::qt {

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
    void announce(const std::string& text) override;
    void close_window() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void create_controls();
    void create_control(const form::ControlDesign& design, QWidget* parent);
    void create_menus();
    void set_tab_order();
    void update_option_tab_stops();
    void group_options();
    void create_announcement();

    form::ControlRef control_of(const QWidget* widget) const;
    QWidget* widget_of(form::ControlRef control) const;
    bool preview_key(QWidget* focused, QKeyEvent& event);
    void give_keyboard_back();

    form::Form1 form_;
    std::array<QLineEdit*, 4> Text1_{};
    std::array<QRadioButton*, 2> Option1_{};
    std::array<QLabel*, 5> Label3_{};
    QButtonGroup* sex_group_ = nullptr;
    QWidget* announcement_ = nullptr;  // what screen readers are told (announce)
    // Every control of the design, with its widget.
    std::vector<std::pair<form::ControlRef, QWidget*>> named_;
    bool tab_sent_ = false;
    QPointer<QWidget> last_focused_;  // the control that last had the keyboard
};

}  // namespace ristemo::ui::qt
