#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "form/form1_design.h"
#include "ui/qt/form1_window.h"

namespace ristemo::ui::qt {

// The menu tree of the design: a menu holds the entries that follow it one level deeper.
void Form1Window::create_menus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menu_bar"));
    bar->setAccessibleName(QString::fromUtf8(form::kMenuBarName));

    std::vector<QMenu*> open;  // open[level - 2] holds the entries of that level
    for (std::size_t i = 0; i < std::size(form::kMenus); ++i) {
        const form::MenuDesign& entry = form::kMenus[i];
        const QString caption = QString::fromUtf8(entry.caption);
        const QString name = QString::fromUtf8(entry.name);
        open.resize(std::size_t(entry.level - 1));
        if (form::is_menu(i)) {
            QMenu* menu = open.empty() ? bar->addMenu(caption) : open.back()->addMenu(caption);
            menu->setObjectName(name);
            menu->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
            menu->menuAction()->setObjectName(name + QStringLiteral("_item"));
            open.push_back(menu);
            continue;
        }
        auto* action = new QAction(caption, this);
        action->setObjectName(name);
        if (const int key = form::function_key_of(entry.command))
            action->setShortcut(QKeySequence(int(Qt::Key_F1) + key - 1));
        // The function keys work whichever control has the focus.
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this,
                [this, command = entry.command] { form_.run(command); });
        open.back()->addAction(action);
    }
}

}  // namespace ristemo::ui::qt
