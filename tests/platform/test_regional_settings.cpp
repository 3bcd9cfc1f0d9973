#include <QtTest>

#include "platform/linux/desktop_regional_settings.h"

class RegionalSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void command_for_desktop_data();
    void command_for_desktop();
};

void RegionalSettingsTest::command_for_desktop_data() {
    QTest::addColumn<QString>("desktop");  // XDG_CURRENT_DESKTOP
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QStringList>("command");  // program path then arguments; empty: none

    const QStringList all{"gnome-control-center", "systemsettings", "lxqt-config-locale"};
    QTest::newRow("gnome") << "GNOME" << all
                           << QStringList{"/usr/bin/gnome-control-center", "region"};
    QTest::newRow("gnome among several")
        << "ubuntu:GNOME" << all << QStringList{"/usr/bin/gnome-control-center", "region"};
    QTest::newRow("kde") << "KDE" << all
                         << QStringList{"/usr/bin/systemsettings", "kcm_regionandlang"};
    QTest::newRow("lxqt") << "LXQt" << all << QStringList{"/usr/bin/lxqt-config-locale"};
    QTest::newRow("case of the name ignored")
        << "lxqt" << all << QStringList{"/usr/bin/lxqt-config-locale"};
    QTest::newRow("first desktop without tool, second with")
        << "KDE:GNOME" << QStringList{"gnome-control-center"}
        << QStringList{"/usr/bin/gnome-control-center", "region"};
    QTest::newRow("tool not installed")
        << "GNOME" << QStringList{"systemsettings"} << QStringList{};
    QTest::newRow("other desktop") << "XFCE" << all << QStringList{};
    QTest::newRow("no desktop") << "" << all << QStringList{};
    QTest::newRow("only separators") << "::" << all << QStringList{};
}

void RegionalSettingsTest::command_for_desktop() {
    QFETCH(QString, desktop);
    QFETCH(QStringList, installed);
    QFETCH(QStringList, command);

    const auto found =
        ristemo::platform::regional_settings_command(desktop, [&](const QString& name) {
            return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
        });
    QStringList got;
    if (!found.program.isEmpty()) got << found.program << found.arguments;
    QCOMPARE(got, command);
}

QTEST_MAIN(RegionalSettingsTest)
#include "test_regional_settings.moc"
