#include <QAccessible>
#include <QAccessibleWidget>
#include <QRadioButton>

#include "form/spoken.h"
#include "ui/qt/form1_window.h"

namespace ristemo::ui::qt {

namespace {

// Never shown: what it is named is what a screen reader says when it is announced.
class Announcement : public QWidget {
public:
    using QWidget::QWidget;
};

// Draws nothing: it only holds the sex options together.
class OptionGroup : public QWidget {
public:
    using QWidget::QWidget;
};

// A screen reader speaks a notification as it appears; Qt has no other way of having text said
// without moving the focus (no announcement event before Qt 6.8). A plain widget would be a
// filler, which screen readers pass over; a grouping is named with the options in it.
QAccessibleInterface* accessible_for(const QString& /*class_name*/, QObject* object) {
    if (auto* announcement = dynamic_cast<Announcement*>(object))
        return new QAccessibleWidget(announcement, QAccessible::Notification);
    if (auto* group = dynamic_cast<OptionGroup*>(object))
        return new QAccessibleWidget(group, QAccessible::Grouping);
    return nullptr;
}

}  // namespace

void Form1Window::create_announcement() {
    QAccessible::installFactory(accessible_for);
    announcement_ = new Announcement(centralWidget());
    announcement_->setObjectName(QStringLiteral("announcement"));
    announcement_->hide();
}

// The two options stand in an invisible container of their own, which screen readers name as
// the group the options belong to.
void Form1Window::group_options() {
    QWidget* frame = Option1_[0]->parentWidget();
    QAccessible::installFactory(accessible_for);
    auto* group = new OptionGroup(frame);
    group->setObjectName(QStringLiteral("Option1_group"));
    group->setAccessibleName(QString::fromUtf8(form::kOption1GroupName));
    group->setGeometry(Option1_[0]->geometry() | Option1_[1]->geometry());
    for (QRadioButton* option : Option1_) {
        const QPoint at = option->pos() - group->pos();
        option->setParent(group);
        option->move(at);
        option->show();
    }
}

void Form1Window::announce(const std::string& text) {
    announcement_->setAccessibleName(QString::fromStdString(text));
    QAccessibleEvent shown(announcement_, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace ristemo::ui::qt
