#include <QAction>
#include <QtTest>

#include "core/app_info.h"
#include "form1_harness.h"
#include "platform/module1.h"
#include "platform/web_links.h"
#include "report/report.h"

using ristemo::platform::Answer;
using ristemo::platform::Buttons;
using ristemo::platform::Icon;
using ristemo::test::Form1Harness;

namespace {

const QString kSeparatorMessage = QStringLiteral(
    "This is the Italian version of Ristemo. The program require ',' as separator for decimal "
    "numbers.\r\nPress YES for open Regional Settings Dialog Box, and correct setting. Then "
    "restart program");

void fill_worked_example(Form1Harness& h) {
    h.fill(QStringLiteral("1,2"), QStringLiteral("80"), QStringLiteral("70"),
           QStringLiteral("1,75"), 'm');
}

}  // namespace

class Form1CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void start_up_check_data();
    void start_up_check();
    void validation_messages_and_focus_data();
    void validation_messages_and_focus();
    void result_labels_data();
    void result_labels();
    void rejected_run_keeps_labels_and_results();
    void reset_clears_window_and_keeps_record_data();
    void reset_clears_window_and_keeps_record();
    void about_text();
    void exit_commands_close_without_asking_data();
    void exit_commands_close_without_asking();
    void print_data();
    void print();
    void export_to_editor_data();
    void export_to_editor();
    void web_links_data();
    void web_links();
};

void Form1CommandsTest::start_up_check_data() {
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("tool_available");
    QTest::addColumn<bool>("goes_on");
    QTest::addColumn<int>("messages");
    QTest::addColumn<int>("settings_opened");

    QTest::newRow("comma starts") << "," << int(Answer::No) << true << true << 0 << 0;
    QTest::newRow("comma first of several") << ",." << int(Answer::No) << true << true << 0 << 0;
    QTest::newRow("point yes opens settings") << "." << int(Answer::Yes) << true << false << 1 << 1;
    QTest::newRow("point yes without a tool explains")
        << "." << int(Answer::Yes) << false << false << 2 << 1;
    QTest::newRow("point no") << "." << int(Answer::No) << true << false << 1 << 0;
    QTest::newRow("point cancel") << "." << int(Answer::Cancel) << true << false << 1 << 0;
    QTest::newRow("empty separator refused") << "" << int(Answer::No) << true << false << 1 << 0;
    QTest::newRow("comma not first") << ".," << int(Answer::Cancel) << true << false << 1 << 0;
}

void Form1CommandsTest::start_up_check() {
    QFETCH(QString, separator);
    QFETCH(int, answer);
    QFETCH(bool, tool_available);
    QFETCH(bool, goes_on);
    QFETCH(int, messages);
    QFETCH(int, settings_opened);

    Form1Harness h;
    h.locale.separator = separator;
    h.regional_settings.available = tool_available;
    h.message_box.script = {Answer(answer)};

    QCOMPARE(h.form->Form_Load(), goes_on);

    QCOMPARE(h.form->record().crlf_text, std::string("\r\n"));
    QCOMPARE(int(h.message_box.shown.size()), messages);
    QCOMPARE(h.regional_settings.opened, settings_opened);
    QVERIFY(!h.form->isVisible());
    if (messages >= 1) {
        QCOMPARE(h.message_box.shown[0].prompt, kSeparatorMessage);
        QCOMPARE(h.message_box.shown[0].buttons, Buttons::YesNoCancel);
        QCOMPARE(h.message_box.shown[0].icon, Icon::None);
    }
    if (messages == 2) {
        const QString advice = h.message_box.shown[1].prompt;
        QCOMPARE(h.message_box.shown[1].buttons, Buttons::Ok);
        QVERIFY2(advice.contains(QStringLiteral("LC_NUMERIC=it_IT.UTF-8")), qPrintable(advice));
        QVERIFY2(advice.contains(QStringLiteral("log")), qPrintable(advice));
    }
}

void Form1CommandsTest::validation_messages_and_focus_data() {
    QTest::addColumn<QStringList>("texts");  // Text1 index order: creatinine, weight, age, height
    QTest::addColumn<char>("sex");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    QTest::newRow("all empty") << QStringList{"", "", "", ""} << ' '
                               << "valore creatinina 0 mg/dl non accettabile..."
                               << "Text1_0";
    QTest::newRow("lone comma") << QStringList{",", "80", "70", "1,75"} << 'm'
                                << "valore creatinina 0 mg/dl non accettabile..."
                                << "Text1_0";
    QTest::newRow("creatinine low") << QStringList{"0,39", "80", "70", "1,75"} << 'm'
                                    << "valore creatinina 0,39 mg/dl non accettabile..."
                                    << "Text1_0";
    QTest::newRow("weight low") << QStringList{"1,2", "29,9", "70", "1,75"} << 'm'
                                << "valore peso 29,9 Kg  non accettabile..."
                                << "Text1_1";
    QTest::newRow("weight before height")
        << QStringList{"1,2", "250", "70", "3"} << 'm' << "valore peso 250 Kg  non accettabile..."
        << "Text1_1";
    QTest::newRow("height low") << QStringList{"1,2", "80", "70", "0,99"} << 'm'
                                << "valore altezza 0,99 m  non accettabile..."
                                << "Text1_3";
    QTest::newRow("age low") << QStringList{"1,2", "80", "17", "1,75"} << 'f'
                             << "valore et\u00e0 17 anni  non accettabile..."
                             << "Text1_2";
    QTest::newRow("no sex") << QStringList{"1,2", "80", "70", "1,75"} << ' '
                            << "specificare sesso del paziente..."
                            << "Option1_0";
}

void Form1CommandsTest::validation_messages_and_focus() {
    QFETCH(QStringList, texts);
    QFETCH(char, sex);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    Form1Harness h;
    QVERIFY(h.show());
    h.fill(texts[0], texts[1], texts[2], texts[3], sex);
    h.button(QStringLiteral("Command1"))->setFocus();
    QTRY_COMPARE(h.focus_name(), QStringLiteral("Command1"));

    h.button(QStringLiteral("Command1"))->click();

    QCOMPARE(h.message_box.prompts(), QStringList{message});
    QCOMPARE(h.message_box.shown[0].buttons, Buttons::Ok);
    QCOMPARE(h.message_box.shown[0].icon, Icon::None);
    QTRY_COMPARE(h.focus_name(), focus);
    QVERIFY(!h.form->record().data_ok);
    QCOMPARE(h.labels(), QStringList({"", "", "", "", ""}));
    for (int i = 0; i < 4; ++i) QCOMPARE(h.text1(i)->text(), texts[i]);
}

void Form1CommandsTest::result_labels_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<char>("sex");
    QTest::addColumn<QStringList>("labels");

    QTest::newRow("man cockcroft-gault")
        << QStringList{"1,2", "80", "70", "1,75"} << 'm'
        << QStringList{"64,8", "26,1", "70,4 (+13,6%)", "1,96", "65,76"};
    QTest::newRow("woman salazar-corcoran")
        << QStringList{"1", "100", "60", "1,6"} << 'f'
        << QStringList{"76,9", "39,1", "55,0 (+81,7%)", "2,02", "75,35"};
    QTest::newRow("man under ideal weight")
        << QStringList{"0,9", "55", "30", "1,8"} << 'm'
        << QStringList{"93,4", "17,0", "74,5 (-26,2%)", "1,7", "45,21"};
}

void Form1CommandsTest::result_labels() {
    QFETCH(QStringList, texts);
    QFETCH(char, sex);
    QFETCH(QStringList, labels);

    Form1Harness h;
    QVERIFY(h.show());
    h.fill(texts[0], texts[1], texts[2], texts[3], sex);
    h.form->findChild<QAction*>(QStringLiteral("mnu_calcolo"))->trigger();

    QVERIFY(h.message_box.shown.empty());
    QCOMPARE(h.labels(), labels);
    QVERIFY(h.form->record().data_ok);
    QCOMPARE(h.form->record().is_male, sex == 'm');
}

void Form1CommandsTest::rejected_run_keeps_labels_and_results() {
    Form1Harness h;
    QVERIFY(h.show());
    fill_worked_example(h);
    h.form->calcolo_cg();
    const QStringList before = h.labels();
    const float crcl = h.form->record().crcl;

    h.text1(2)->setText(QStringLiteral("17"));
    h.form->calcolo_cg();

    QCOMPARE(h.labels(), before);
    QCOMPARE(h.form->record().crcl, crcl);
    QVERIFY(!h.form->record().data_ok);
    QCOMPARE(h.message_box.prompts(),
             QStringList{QStringLiteral("valore et\u00e0 17 anni  non accettabile...")});
}

void Form1CommandsTest::reset_clears_window_and_keeps_record_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("button nuovo") << "Command2";
    QTest::newRow("menu azzera") << "mnu_azzera";
}

void Form1CommandsTest::reset_clears_window_and_keeps_record() {
    QFETCH(QString, command);

    Form1Harness h;
    QVERIFY(h.show());
    h.fill(QStringLiteral("1"), QStringLiteral("100"), QStringLiteral("60"), QStringLiteral("1,6"),
           'f');
    h.form->calcolo_cg();
    QVERIFY(h.form->record().data_ok);
    const ristemo::core::PatientRecord kept = h.form->record();

    if (auto* button = h.button(command))
        button->click();
    else
        h.form->findChild<QAction*>(command)->trigger();

    for (int i = 0; i < 4; ++i) QCOMPARE(h.text1(i)->text(), QString());
    QCOMPARE(h.labels(), QStringList({"", "", "", "", ""}));
    QVERIFY(!h.option1(0)->isChecked());
    QVERIFY(!h.option1(1)->isChecked());
    // Clearing the sex is no selection: the focus is not sent to the calculate button.
    QTRY_COMPARE(h.focus_name(), QStringLiteral("Text1_0"));
    QTest::qWait(20);
    QCOMPARE(h.focus_name(), QStringLiteral("Text1_0"));
    QVERIFY(h.form->record().data_ok);
    QCOMPARE(h.form->record().crcl, kept.crcl);
    QCOMPARE(h.form->record().is_male, false);

    // The group still works as one: choosing again selects exactly one option.
    h.option1(0)->click();
    QVERIFY(h.option1(0)->isChecked());
    h.option1(1)->click();
    QVERIFY(!h.option1(0)->isChecked());

    // Printing before the next calculation still gives the last successful one.
    h.message_box.script = {Answer::Yes};
    h.form->direct_print();
    QCOMPARE(h.printer.pages.size(), std::size_t(1));
}

void Form1CommandsTest::about_text() {
    Form1Harness h;
    QVERIFY(h.show());
    h.form->findChild<QAction*>(QStringLiteral("mnu_about"))->trigger();

    const QString expected = QStringLiteral(
        "Ristemo 1.0 - \u00a9 2026 gli autori di Ristemo\r\n\r\n"
        "Ristemo \u00e8 destinato a medici professionisti, in grado di interpretarne "
        "correttamente i risultati.\r\n"
        "Questo calcolatore utilizza la classica equazione di Cockroft-Gault per la stima della "
        "clearance della creatinina.\r\n"
        "Nei soggetti con BMI elevato (>=30) viene invece adottata l'equazione di Salazar e "
        "Corcoran.\r\n\r\n"
        "L'autore declina ogni responsabilit\u00e0 per eventuali danni, di qualsiasi tipo, "
        "possano derivare dall'uso del presente programma.\r\n");
    QCOMPARE(h.message_box.prompts(), QStringList{expected});
    QCOMPARE(h.message_box.shown[0].buttons, Buttons::Ok);
    QCOMPARE(h.message_box.shown[0].icon, Icon::None);
    QVERIFY(h.form->isVisible());
}

void Form1CommandsTest::exit_commands_close_without_asking_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("button esci") << "Command3_2";
    QTest::newRow("menu esci") << "mnu_esci";
    QTest::newRow("title bar") << "";
}

void Form1CommandsTest::exit_commands_close_without_asking() {
    QFETCH(QString, command);
    Form1Harness h;
    QVERIFY(h.show());
    if (command.isEmpty())
        QVERIFY(h.form->close());
    else if (auto* button = h.button(command))
        button->click();
    else
        h.form->findChild<QAction*>(command)->trigger();
    QVERIFY(!h.form->isVisible());
    QVERIFY(h.message_box.shown.empty());
}

void Form1CommandsTest::print_data() {
    QTest::addColumn<bool>("calculated");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("printer_ok");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QStringList>("prompts");

    const QString ask = QStringLiteral("Stampare i dati?");
    const QString held = QStringLiteral("La pagina attende nella coda di una stampante in pausa");
    QTest::newRow("no calculation does nothing")
        << false << int(Answer::Yes) << true << QString() << 0 << QStringList{};
    QTest::newRow("yes prints") << true << int(Answer::Yes) << true << QString() << 1
                                << QStringList{ask};
    QTest::newRow("no prints nothing")
        << true << int(Answer::No) << true << QString() << 0 << QStringList{ask};
    QTest::newRow("cancel prints nothing")
        << true << int(Answer::Cancel) << true << QString() << 0 << QStringList{ask};
    QTest::newRow("printer failure is told")
        << true << int(Answer::Yes) << false << QString() << 1
        << QStringList{ask, QStringLiteral("Impossibile stampare il rapporto: nessuna stampante")};
    QTest::newRow("page held by a paused printer is told")
        << true << int(Answer::Yes) << true << held << 1 << QStringList{ask, held};
}

void Form1CommandsTest::print() {
    QFETCH(bool, calculated);
    QFETCH(int, answer);
    QFETCH(bool, printer_ok);
    QFETCH(QString, notice);
    QFETCH(int, pages);
    QFETCH(QStringList, prompts);

    Form1Harness h;
    QVERIFY(h.show());
    fill_worked_example(h);
    if (calculated) h.form->calcolo_cg();
    h.message_box.script = {Answer(answer)};
    h.printer.result = {printer_ok, printer_ok ? QString() : QStringLiteral("nessuna stampante"),
                        notice};

    h.button(QStringLiteral("Command3_0"))->click();

    QCOMPARE(h.message_box.prompts(), prompts);
    if (!prompts.isEmpty()) QCOMPARE(h.message_box.shown[0].icon, Icon::Question);
    if (!prompts.isEmpty()) QCOMPARE(h.message_box.shown[0].buttons, Buttons::YesNoCancel);
    QCOMPARE(int(h.printer.pages.size()), pages);
    if (pages == 1) {
        const auto expected = ristemo::report::build_page(h.form->record());
        const auto& page = h.printer.pages[0];
        QCOMPARE(page.size(), expected.size());
        for (std::size_t i = 0; i < page.size(); ++i) {
            QCOMPARE(page[i].text, QString::fromStdString(expected[i].text));
            QCOMPARE(page[i].x_twips, expected[i].x);
            QCOMPARE(page[i].y_twips, expected[i].y);
            QCOMPARE(page[i].font_family, QString::fromStdString(expected[i].font.name));
            QCOMPARE(page[i].point_size, double(expected[i].font.size));
            QCOMPARE(page[i].bold, expected[i].font.bold);
        }
        QCOMPARE(page[0].text, QString::fromUtf8(ristemo::core::kAppTitle));
    }
}

void Form1CommandsTest::export_to_editor_data() {
    QTest::addColumn<bool>("calculated");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("exports");

    QTest::newRow("no calculation does nothing") << false << QString() << 0;
    QTest::newRow("exports the report") << true << QString() << 1;
    QTest::newRow("failure is told") << true << QStringLiteral("Blocco note non avviato.") << 1;
}

void Form1CommandsTest::export_to_editor() {
    QFETCH(bool, calculated);
    QFETCH(QString, failure);
    QFETCH(int, exports);

    Form1Harness h;
    QVERIFY(h.show());
    fill_worked_example(h);
    if (calculated) h.form->calcolo_cg();
    h.editor.failure = failure;

    h.button(QStringLiteral("Command3_1"))->click();

    QCOMPARE(h.editor.texts.size(), exports);
    if (exports == 1) {
        QCOMPARE(h.editor.texts[0],
                 QString::fromStdString(ristemo::report::build_export_text(h.form->record())));
        QVERIFY(h.editor.texts[0].endsWith(QStringLiteral("\r\n")));
    }
    QCOMPARE(h.message_box.prompts(), failure.isEmpty() ? QStringList{} : QStringList{failure});
}

void Form1CommandsTest::web_links_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("shell_code");
    QTest::addColumn<bool>("fails_later");
    QTest::addColumn<QString>("message");

    using namespace ristemo::platform;
    const QString cannot = QStringLiteral("Can't launch '%1'.");
    QTest::newRow("nomra") << "mnu_nomra" << web_links::kNomra << kShellSuccess << false
                           << QString();
    QTest::newRow("velsor") << "mnu_velsor" << web_links::kVelsor << kShellSuccess << false
                            << QString();
    QTest::newRow("mirdo") << "mnu_mirdo" << web_links::kMirdo << kShellSuccess << false
                           << QString();
    QTest::newRow("zentab") << "mnu_zentab" << web_links::kZentab << kShellSuccess << false
                            << QString();
    QTest::newRow("no association offers open-with")
        << "mnu_mirdo" << web_links::kMirdo << kShellNoAssociation << false << QString();
    QTest::newRow("failure is told") << "mnu_zentab" << web_links::kZentab << kShellFailure << false
                                     << cannot.arg(QLatin1String(web_links::kZentab));
    QTest::newRow("failure after the click is told")
        << "mnu_velsor" << web_links::kVelsor << kShellSuccess << true
        << cannot.arg(QLatin1String(web_links::kVelsor));
}

void Form1CommandsTest::web_links() {
    QFETCH(QString, item);
    QFETCH(QString, address);
    QFETCH(int, shell_code);
    QFETCH(bool, fails_later);
    QFETCH(QString, message);

    Form1Harness h;
    QVERIFY(h.show());
    h.shell.code = shell_code;
    h.form->findChild<QAction*>(item)->trigger();
    QVERIFY(h.shell.late_failure);
    if (fails_later) {
        QVERIFY(h.message_box.shown.empty());
        h.shell.late_failure();
    }

    QCOMPARE(h.shell.opened, QStringList{address});
    QCOMPARE(h.shell.open_with, shell_code == ristemo::platform::kShellNoAssociation
                                    ? QStringList{address}
                                    : QStringList{});
    QCOMPARE(h.message_box.prompts(), message.isEmpty() ? QStringList{} : QStringList{message});
    QCOMPARE(ristemo::platform::Module1::link_target, address);
}

QTEST_MAIN(Form1CommandsTest)
#include "test_form1_commands.moc"
