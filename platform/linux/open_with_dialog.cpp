#include "platform/linux/open_with_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "platform/linux/detached_launch.h"

namespace ristemo::platform {

namespace {

QString pick_with_file_dialog(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Altro programma"),
                                        QStringLiteral("/usr/bin"));
}

}  // namespace

OpenWithDialog::OpenWithDialog(const QString& address, std::vector<DesktopEntry> applications,
                               QWidget* parent, ProgramPicker picker)
    : QDialog(parent),
      applications_(std::move(applications)),
      picker_(picker ? std::move(picker) : ProgramPicker(pick_with_file_dialog)) {
    setWindowTitle(QStringLiteral("Apri con"));
    setObjectName(QStringLiteral("OpenWithDialog"));

    auto* prompt =
        new QLabel(QStringLiteral("Scegliere il programma con cui aprire:\n") + address, this);
    prompt->setObjectName(QStringLiteral("prompt"));
    prompt->setTextInteractionFlags(Qt::TextSelectableByMouse);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("applications"));
    for (const DesktopEntry& app : applications_) {
        auto* item = new QListWidgetItem(QIcon::fromTheme(app.icon), app.name, list_);
        item->setToolTip(app.id);
    }

    auto* other = new QPushButton(QStringLiteral("Altro programma..."), this);
    other->setObjectName(QStringLiteral("other_program"));
    other->setAutoDefault(false);

    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("problem"));
    problem_->setWordWrap(true);
    problem_->hide();

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok_->setObjectName(QStringLiteral("ok"));
    auto* cancel = buttons->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));

    auto* lower = new QHBoxLayout;
    lower->addWidget(other);
    lower->addStretch();
    lower->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(list_);
    layout->addWidget(problem_);
    layout->addLayout(lower);

    connect(list_, &QListWidget::itemSelectionChanged, this, &OpenWithDialog::update_ok);
    connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        list_->setCurrentItem(item);
        accept_selected();
    });
    connect(ok_, &QPushButton::clicked, this, &OpenWithDialog::accept_selected);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(other, &QPushButton::clicked, this, &OpenWithDialog::pick_program);

    if (list_->count() > 0) list_->setCurrentRow(0);
    update_ok();
    resize(420, 320);
}

void OpenWithDialog::update_ok() {
    ok_->setEnabled(list_->currentRow() >= 0);
}

void OpenWithDialog::accept_selected() {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(applications_.size())) return;
    choice_ = OpenWithChoice{applications_[static_cast<std::size_t>(row)], {}};
    accept();
}

void OpenWithDialog::pick_program() {
    const QString path = picker_(this);
    if (path.isEmpty()) return;
    if (find_program(path).isEmpty()) {
        // Say so here, while the user can still pick another one.
        problem_->setText(QStringLiteral("Il file scelto non \u00e8 un programma: ") + path);
        problem_->show();
        return;
    }
    choice_ = OpenWithChoice{std::nullopt, path};
    accept();
}

std::optional<OpenWithChoice> ask_open_with(const QString& address,
                                            const std::vector<DesktopEntry>& applications) {
    OpenWithDialog dialog(address, applications);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.choice();
}

}  // namespace ristemo::platform
