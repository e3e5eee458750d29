// The program's entry point: the window in normal mode, the unattended run
// with "/su", or a short help or the version with "--help" / "--version".

#include "gui/Dialogs.h"
#include "gui/QtTranslations.h"
#include "gui/TForm1.h"
#include "gui/Texts.h"
#include "platform/CommandRunner.h"
#include "platform/FileFolders.h"
#include "platform/Locale.h"
#include "platform/SjisText.h"
#include "version/Version.h"
#ifdef _WIN32
#include "platform/WindowsDesktop.h"
#else
#include "platform/LinuxDesktop.h"
#include "platform/SessionRecord.h"
#include "platform/UserError.h"
#endif

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

enum class InfoRequest { None, Help, Version };

// "--help" and "--version" count as whole arguments only; the first of the
// two wins. Every other argument keeps its meaning ("/su") or is ignored.
InfoRequest FindInfoRequest(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments) {
        if (argument == "--help") {
            return InfoRequest::Help;
        }
        if (argument == "--version") {
            return InfoRequest::Version;
        }
    }
    return InfoRequest::None;
}

// The help is Japanese where the terminal takes Japanese UTF-8 (a "ja"
// locale in UTF-8), English anywhere else, so that no terminal shows
// garbage: a C locale, another language, or a Japanese locale in another
// encoding.
bool JapaneseUtf8Locale()
{
    const platform::LocaleParts locale = platform::PartsOf(platform::LocaleOf("LC_MESSAGES"));
    return locale.language == "ja" && locale.codeset == "utf8";
}

constexpr const char* kHelpJapanese
    = "使い方: corkpane [/su]\n"
      "メモと予定をデスクトップの壁紙に描きます。\n"
      "\n"
      "  (引数なし)  ウィンドウを開きます。\n"
      "  /su         ログオン時の起動です。設定に従ってメールを受信し、\n"
      "              壁紙を描いて終了します。うまくいかなかったことは\n"
      "              標準エラー出力に示し、ダイアログは出しません。\n"
      "  --help      この説明を表示して終了します。\n"
      "  --version   バージョンを表示して終了します。\n"
      "\n"
      "詳しくは man corkpane と、about ページから開く利用ガイドをご覧ください。\n";

constexpr const char* kHelpEnglish
    = "Usage: corkpane [/su]\n"
      "Keeps a memo and a schedule on the desktop wallpaper.\n"
      "\n"
      "  (no argument)  open the window\n"
      "  /su            the logon run: receive mail if so set, draw the\n"
      "                 wallpaper and exit; failures go to standard error,\n"
      "                 never to a dialog\n"
      "  --help         show this help and exit\n"
      "  --version      show the version and exit\n"
      "\n"
      "See man corkpane, and the user's guide (Japanese) linked from the about page.\n";

// Prints the answer; a failed write (a full disk, a closed pipe) is a failure.
int PrintInfo(InfoRequest request)
{
    if (request == InfoRequest::Version) {
        std::printf("corkpane %s\n", version::kNumber);
    } else {
        std::fputs(JapaneseUtf8Locale() ? kHelpJapanese : kHelpEnglish, stdout);
    }
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}

} // namespace

int main(int argc, char* argv[])
{
    // The arguments as given, before Qt takes out the options it knows.
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    // Answered before Qt starts: no window, no display needed.
    if (const InfoRequest request = FindInfoRequest(arguments); request != InfoRequest::None) {
        return PrintInfo(request);
    }
    QApplication application(argc, argv);
    // Qt's stock buttons and dialogs in Japanese, like the rest of the window.
    gui::InstallQtTranslations(application);
    const QString title = platform::FromSjis(gui::texts::kAppTitle);
    try {
        QApplication::setApplicationName(title);
        QGuiApplication::setDesktopFileName(QStringLiteral("corkpane"));
        gui::QtDialogs dialogs;
#ifdef _WIN32
        platform::WindowsDesktop desktop;
#else
        platform::ProcessRunner runner;
        platform::LinuxDesktop desktop(runner, &platform::ProcessEnvironment);
        // For the daily redraw, which starts outside the session; it is no
        // reason to stop a start.
        try {
            platform::KeepSessionRecord(platform::SessionRecordFile(platform::UserFolders::OfProcess()),
                &platform::ProcessEnvironment);
        } catch (const platform::UserError& error) {
            std::cerr << "corkpane: " << platform::FromSjis(error.what()).toLocal8Bit().toStdString() << '\n';
        }
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
        environment.useKeyring = true;
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
