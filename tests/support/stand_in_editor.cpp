// A tiny plain-text editor for the tests: one QPlainTextEdit whose text is saved, UTF-8, to the
// file named by STAND_IN_EDITOR_OUTPUT ("{pid}" in it stands for the process id) whenever it
// changes (checked every 20 ms) and when the window closes, and its pid to the same name with
// ".pid" added. It ignores its command line, so
// it can stand in for any editor's name.
#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTimer>

namespace {

void save(const QString& path, const QString& text) {
    if (path.isEmpty()) return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(text.toUtf8());
    file.commit();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString output =
        qEnvironmentVariable("STAND_IN_EDITOR_OUTPUT")
            .replace(QStringLiteral("{pid}"), QString::number(QCoreApplication::applicationPid()));

    if (!output.isEmpty()) {
        QFile pid_file(output + QStringLiteral(".pid"));
        if (pid_file.open(QIODevice::WriteOnly))
            pid_file.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n');
    }

    QPlainTextEdit editor;
    editor.setWindowTitle(QStringLiteral("stand-in editor"));
    editor.resize(640, 400);
    editor.show();
    editor.activateWindow();

    QString saved;
    bool ever_saved = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const QString text = editor.toPlainText();
        if (ever_saved && text == saved) return;
        save(output, text);
        saved = text;
        ever_saved = true;
    });
    timer.start(20);
    QObject::connect(&app, &QApplication::aboutToQuit, [&] { save(output, editor.toPlainText()); });
    return app.exec();
}
