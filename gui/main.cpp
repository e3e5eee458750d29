// The program's entry point: the window in normal mode, or the unattended
// run with "/su".

#include "gui/Dialogs.h"
#include "gui/QtTranslations.h"
#include "gui/TForm1.h"
#include "gui/Texts.h"
#include "platform/CommandRunner.h"
#include "platform/FileFolders.h"
#include "platform/SjisText.h"
#ifdef _WIN32
#include "platform/WindowsDesktop.h"
#else
#include "platform/LinuxDesktop.h"
#endif

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QMessageBox>
#include <exception>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    // The arguments as given, before Qt takes out the options it knows.
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    QApplication application(argc, argv);
    // Qt's stock buttons and dialogs in Japanese, like the rest of the window.
    gui::InstallQtTranslations(application);
    const QString title = platform::FromSjis(gui::texts::kAppTitle);
    try {
        QApplication::setApplicationName(title);
        QGuiApplication::setDesktopFileName(QStringLiteral("corkpane"));
        QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("corkpane")));
        gui::QtDialogs dialogs;
#ifdef _WIN32
        platform::WindowsDesktop desktop;
#else
        platform::ProcessRunner runner;
        platform::LinuxDesktop desktop(runner, &platform::ProcessEnvironment);
#endif
        gui::FormEnvironment environment;
        environment.arguments = std::move(arguments);
        environment.programPath = QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
        // An installed program keeps its files in the user's own folder.
        const platform::FileFolders folders
            = platform::ChooseFileFolders(environment.programPath.parent_path());
        platform::PrepareFileFolders(folders);
        environment.workingFolder = folders.files;
        environment.scheduleFolder = folders.schedule;
        environment.startFolder = folders.startIn;
        environment.dialogs = &dialogs;
        environment.desktop = &desktop;
        gui::TForm1 form(std::move(environment));
        dialogs.SetParent(&form);
        form.show();
        if (!form.IsClosed()) {
            QApplication::exec();
        }
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, title, platform::FromSjis(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, title, QString());
    }
    return 0;
}
