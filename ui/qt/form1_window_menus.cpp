#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/qt/form1_window.h"

namespace ristemo::ui {

namespace {

QAction* make_action(QObject* parent, const char* name, const QString& caption,
                     const QKeySequence& key = {}) {
    auto* action = new QAction(caption, parent);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    // The function keys work whichever control has the focus.
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

}  // namespace

void Form1Window::create_actions() {
    a_.mnu_calcolo = make_action(this, "mnu_calcolo", QStringLiteral("Calcolo"), Qt::Key_F5);
    a_.mnu_stampa = make_action(this, "mnu_stampa", QStringLiteral("Stampa"), Qt::Key_F3);
    a_.mnu_notepad = make_action(this, "mnu_notepad", QStringLiteral("Notepad"), Qt::Key_F7);
    a_.mnu_azzera = make_action(this, "mnu_azzera", QStringLiteral("Azzera"), Qt::Key_F8);
    a_.mnu_esci = make_action(this, "mnu_esci", QStringLiteral("Esci"), Qt::Key_F12);
    a_.mnu_about = make_action(this, "mnu_about", QStringLiteral("Ristemo"));
    a_.mnu_nomra = make_action(this, "mnu_nomra", QStringLiteral("terapia anticoagulante"));
    a_.mnu_velsor = make_action(this, "mnu_velsor", QStringLiteral("stampa rapida ricette"));
    a_.mnu_mirdo = make_action(this, "mnu_mirdo", QStringLiteral("insulino-resistenza"));
    a_.mnu_zentab = make_action(this, "mnu_zentab", QStringLiteral("sito ZENTAB"));

    connect(a_.mnu_calcolo, &QAction::triggered, this, [this] { form_.calcolo_cg(); });
    connect(a_.mnu_stampa, &QAction::triggered, this, [this] { form_.direct_print(); });
    connect(a_.mnu_notepad, &QAction::triggered, this, [this] { form_.blocco_note(); });
    connect(a_.mnu_azzera, &QAction::triggered, this, [this] { form_.azzera_modulo(); });
    connect(a_.mnu_esci, &QAction::triggered, this, [this] { form_.mnu_esci_Click(); });
    connect(a_.mnu_about, &QAction::triggered, this, [this] { form_.mnu_about_Click(); });
    connect(a_.mnu_nomra, &QAction::triggered, this, [this] { form_.mnu_nomra_Click(); });
    connect(a_.mnu_velsor, &QAction::triggered, this, [this] { form_.mnu_velsor_Click(); });
    connect(a_.mnu_mirdo, &QAction::triggered, this, [this] { form_.mnu_mirdo_Click(); });
    connect(a_.mnu_zentab, &QAction::triggered, this, [this] { form_.mnu_zentab_Click(); });
}

void Form1Window::create_menus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menu_bar"));
    bar->setAccessibleName(QStringLiteral("menu"));

    m_.mnu_opzioni = bar->addMenu(QStringLiteral("&Opzioni"));
    m_.mnu_opzioni->setObjectName(QStringLiteral("mnu_opzioni"));
    m_.mnu_opzioni->addActions(
        {a_.mnu_calcolo, a_.mnu_stampa, a_.mnu_notepad, a_.mnu_azzera, a_.mnu_esci});

    m_.mnu_info = bar->addMenu(QStringLiteral("Info"));
    m_.mnu_info->setObjectName(QStringLiteral("mnu_info"));
    m_.mnu_info->addAction(a_.mnu_about);
    m_.mnu_sofr = m_.mnu_info->addMenu(QStringLiteral("medical software"));
    m_.mnu_sofr->setObjectName(QStringLiteral("mnu_sofr"));
    m_.mnu_sofr->addActions({a_.mnu_nomra, a_.mnu_velsor, a_.mnu_mirdo, a_.mnu_zentab});

    for (QMenu* menu : {m_.mnu_opzioni, m_.mnu_info, m_.mnu_sofr}) {
        menu->setAccessibleName(menu->title().remove(QLatin1Char('&')));
        menu->menuAction()->setObjectName(menu->objectName() + QStringLiteral("_item"));
    }
}

}  // namespace ristemo::ui
