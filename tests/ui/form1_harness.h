#pragma once

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "support/fakes.h"
#include "support/worked_example.h"
#include "ui/qt/form1_window.h"

namespace ristemo::test {

// A loaded, shown and active window over recording fakes.
struct Form1Harness : FakeServices {
    form::Services services{message_box, locale, regional_settings, printer, editor, shell};
    std::unique_ptr<ui::qt::Form1Window> form = std::make_unique<ui::qt::Form1Window>(services);

    // False when the window did not become active, so keys would go nowhere.
    bool show() {
        if (!form->form().Form_Load()) return false;
        form->show();
        QApplication::setActiveWindow(form.get());
        return QTest::qWaitForWindowActive(form.get());
    }

    template <class T>
    T* get(const QString& name) const {
        return form->findChild<T*>(name);
    }
    template <class T>
    T* get(form::ControlRef control) const {
        return get<T>(QString::fromStdString(form::object_name(control)));
    }
    QLineEdit* text1(int i) const { return get<QLineEdit>({form::Control::Text1, i}); }
    QRadioButton* option1(int i) const { return get<QRadioButton>({form::Control::Option1, i}); }
    QLabel* label3(int i) const { return get<QLabel>({form::Control::Label3, i}); }
    QPushButton* button(const QString& name) const { return get<QPushButton>(name); }

    QString focus_name() const {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() : QString();
    }

    // Inputs as a user leaves them: texts in Text1 index order, sex 'm', 'f' or none.
    void fill(const QString& creatinine, const QString& weight, const QString& age,
              const QString& height, char sex) {
        text1(0)->setText(creatinine);
        text1(1)->setText(weight);
        text1(2)->setText(age);
        text1(3)->setText(height);
        if (sex == 'm') option1(0)->setChecked(true);
        if (sex == 'f') option1(1)->setChecked(true);
    }

    void fill_worked_example() {
        const auto& texts = kWorkedExampleTexts;
        fill(QString::fromStdString(texts[0]), QString::fromStdString(texts[1]),
             QString::fromStdString(texts[2]), QString::fromStdString(texts[3]),
             kWorkedExampleMale ? 'm' : 'f');
    }
    // What the result boxes show of the worked example.
    static QStringList worked_example_results() {
        QStringList out;
        for (const std::string& text : test::worked_example_results())
            out << QString::fromStdString(text);
        return out;
    }

    QStringList prompts() const {
        QStringList out;
        for (const std::string& prompt : message_box.prompts())
            out << QString::fromStdString(prompt);
        return out;
    }

    QStringList labels() const {
        QStringList out;
        for (int i = 0; i < 5; ++i) out << label3(i)->text();
        return out;
    }
};

}  // namespace ristemo::test
