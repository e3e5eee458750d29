// The program's entry point: the window in normal mode, or the unattended
// run with "/su".

#include "gui/Dialogs.h"
#include "gui/SjisText.h"
#include "gui/TForm1.h"
#include "gui/Texts.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <exception>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    // The arguments as given, before Qt takes out the options it knows.
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    QApplication application(argc, argv);
    const QString title = gui::FromSjis(gui::texts::kAppTitle);
    try {
        QApplication::setApplicationName(title);
        QGuiApplication::setDesktopFileName(QStringLiteral("corkpane"));
        gui::QtDialogs dialogs;
        gui::FormEnvironment environment;
        environment.arguments = std::move(arguments);
        environment.programPath = QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
        environment.dialogs = &dialogs;
        gui::TForm1 form(std::move(environment));
        dialogs.SetParent(&form);
        form.show();
        if (!form.IsClosed()) {
            QApplication::exec();
        }
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, title, gui::FromSjis(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, title, QString());
    }
    return 0;
}
