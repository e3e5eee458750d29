#pragma once

// The main window. Its controls are the program's configuration: the
// settings file fills them at start and is written from them at close, and
// reception, the schedule and the draw read them when they run. Every
// control carries its name as objectName, so tests and people can find it.

#include "app/Clock.h"
#include "app/FilesLock.h"
#include "app/KeyringPassword.h"
#include "app/ReceivedMemory.h"
#include "app/Settings.h"
#include "app/SettingsStore.h"
#include "platform/FolderLock.h"
#include "platform/SecretStore.h"

#include <QMainWindow>
#include <QString>
#include <QUrl>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QWidget;

namespace platform {
class CommandRunner;
class Desktop;
} // namespace platform
namespace schedule {
class TScheduleTable;
}

namespace gui {

class ColourSwatch;
class Dialogs;
class LinkLabel;
class MemoEditor;
class RadioGroup;
class ScheduleGridModel;

// What the window takes from outside: the command line, where the program
// lies, and the seams tests replace.
struct FormEnvironment {
    // The command-line arguments after the program path.
    std::vector<std::string> arguments;
    // The running executable; "schedule.txt" lies beside it and the
    // shortcuts start it.
    std::filesystem::path programPath;
    // Where "corkpane.ini" and "memo.txt" are read and written; empty for
    // the current working directory.
    std::filesystem::path workingFolder;
    // Where "schedule.txt" is kept; empty for the executable's folder.
    std::filesystem::path scheduleFolder;
    // The folder the shortcuts and the daily redraw start the program in;
    // empty for the executable's folder.
    std::filesystem::path startFolder;
    // Message boxes and the colour dialog; must outlive the window.
    Dialogs* dialogs = nullptr;
    // The desktop the wallpaper is drawn for and installed on; must outlive
    // the window.
    platform::Desktop* desktop = nullptr;
    // Runs systemctl for the daily redraw timer; null for real processes.
    platform::CommandRunner* commandRunner = nullptr;
    // Today's date, for the schedule and the memo title.
    app::Clock clock = app::LocalDateClock();
    // How long the start waits for another run on the same files.
    std::chrono::milliseconds filesLockWait = app::kRunLockWait;
    // The address the about page links to (a web address or a file); empty
    // for the project's page, or the installed documentation when the
    // build names no page.
    std::string supportPage;
    // How long the logon run goes on trying to reach the mail server: at
    // logon the network may come up a few seconds after the session.
    int logonNetworkWaitMs = 30000;
    // Whether the mail password is kept in the desktop's keyring where one
    // answers (tests leave the user's keyring alone).
    bool useKeyring = false;
};

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(FormEnvironment environment, QWidget* parent = nullptr);
    ~TForm1() override;

    // True when "/su" is one of the arguments, exactly and as a whole.
    static bool HasStartupArgument(const std::vector<std::string>& arguments);

    int StartupMode() const { return startupMode_; }
    const std::string& Password() const { return password_; }
    schedule::TScheduleTable* Schedule() const { return schedule_.get(); }
    // True once the window has closed for good (its state saved).
    bool IsClosed() const { return closed_; }

    // The controls' stored state, and the reverse.
    app::Settings CollectSettings() const;
    void ApplySettings(const app::Settings& settings);

    // The memo as the files hold it (Shift_JIS, CR LF).
    std::string MemoText() const;
    void SetMemoText(const std::string& text);

    // The settings and memo files to and from the controls. A file that
    // could not be read is not written back: the memo editor is then read
    // only, and reception refused, since nothing it holds could be saved.
    void LoadSettings();
    void SaveSettings();

    // Event handlers.
    void FormCreate();
    void FormShow();
    // Saves; false (after showing the error) when saving failed and the
    // window must stay open.
    bool FormClose();
    void TabMemoShow(int pageIndex);
    void LbMojiIroClick(ColourSwatch* sender);
    void EdPWChange(const QString& text);
    void EdPWEditingFinished();
    void RgSecurityClick(int index);
    void CbProtocolChange(int index);
    void CbAuthChange(int index);
    void LbUrlClick();
    void BtnShortCutClick();
    void BtnReceiveClick();
    void BtnDrawClick();
    void BtnScDelClick();
    void BtnScInsClick();
    void BtnScUpClick();
    void BtnScDownClick();
    void BtnScCheckClick();
    void BtnCalAddClick();
    void BtnCalDelClick();
    void BtnCalCheckClick();
    void StringGrid1SetEditText(int col, int row, std::string text);

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    template <typename Work> bool Guard(Work&& work);
    void ReportError(const QString& message);
    void ShowMessage(const std::string& text);
    std::filesystem::path WorkingFolder() const;
    void BuildReceivePage();
    void BuildMemoPage();
    void BuildSchedulePage();
    void BuildSettingsPage();
    void BuildMailPage();
    void BuildCalendarPage();
    void BuildAboutPage();
    // One reception run; errors are thrown to the caller. The logon run
    // waits for the network; a click tries once.
    void ReceiveMail(bool logon);
    // Composes, writes and installs the wallpaper; errors are thrown.
    void DrawKabegami();
    // The port typed into EdPort, or POP3's standard port when it holds none.
    // Closes the window and saves, also when it was never shown.
    void CloseForm();
    // Row and column of the grid cell the schedule buttons act on: the
    // view's current cell, the first date while it has none. A row
    // operation moves the view's current index along with the rows, so it
    // is read before and set again after.
    std::pair<int, int> GridCurrentCell() const;
    void SetGridCurrentCell(int row, int column);
    // Moves a usual port along with the protocol and security choices.
    void MovePortWithChoice(int protocol, int security);
    // False while the server name is empty or still asks to be entered.
    bool MailServerEntered() const;

    FormEnvironment env_;
    // One run at a time on the files: held from before they are read until
    // they are saved at the close.
    std::optional<platform::FolderLock> filesLock_;
    // The files the start could not read, which the close leaves alone.
    app::UnreadFiles unread_;
    int startupMode_ = 0;
    // "/su": nothing waits on a dialog; messages go to standard error.
    bool unattended_ = false;
    // The logon run found its files held by another run past the wait: it
    // draws from them and writes none back.
    bool keepFilesAsTheyAre_ = false;
    bool keyringAnswers_ = false;
    app::KeyringPassword keyring_ { platform::SecretStore::kInteractiveTimeLimit };
    // The mail password, UTF-8, and the one last accepted as keepable.
    std::string password_;
    std::string storedPassword_;
    // The settings as last applied to the controls, whose bytes
    // CollectSettings keeps for values the user did not change.
    app::Settings applied_;
    bool firstShow_ = true;
    bool closed_ = false;
    QUrl supportUrl_;
    // What reception remembered, stored when the memo is.
    app::ReceivedMemory receivedMemory_;

    // The schedule; the grid view shows its entries through the model.
    std::unique_ptr<schedule::TScheduleTable> schedule_;
    ScheduleGridModel* gridModel_ = nullptr;

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabJusin = nullptr;
    QWidget* TabMemo = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSettei = nullptr;
    QWidget* TabMail = nullptr;
    QWidget* TabCalendar = nullptr;
    QWidget* TabSheet1 = nullptr;

    QPlainTextEdit* MmLog = nullptr;
    QPushButton* BtnReceive = nullptr;
    MemoEditor* MmMemo = nullptr;
    QTableView* StringGrid1 = nullptr;
    QPushButton* BtnScDel = nullptr;
    QPushButton* BtnScIns = nullptr;
    QPushButton* BtnScUp = nullptr;
    QPushButton* BtnScDown = nullptr;
    QPushButton* BtnScCheck = nullptr;

    QLineEdit* EdMojiSu = nullptr;
    QLineEdit* EdGyosu = nullptr;
    QLineEdit* EdFontSize = nullptr;
    QLineEdit* EdGyokan = nullptr;
    QLineEdit* EdUeYohaku = nullptr;
    QLineEdit* EdMigiYohaku = nullptr;
    ColourSwatch* LbMojiIro = nullptr;
    RadioGroup* RgKage = nullptr;
    ColourSwatch* LbKageIro = nullptr;
    RadioGroup* RgTitle = nullptr;
    QLineEdit* EdTitle = nullptr;
    QCheckBox* ChShowMemo = nullptr;
    QLineEdit* EdRitu = nullptr;
    RadioGroup* RgHaikei = nullptr;
    QLineEdit* EdScW = nullptr;
    QLineEdit* EdScM = nullptr;
    QLineEdit* EdScY = nullptr;
    QLineEdit* EdScD = nullptr;
    QCheckBox* ChScMemo = nullptr;
    QCheckBox* ChScCal = nullptr;
    QCheckBox* ChShukujitsu = nullptr;
    QPushButton* BtnDraw = nullptr;

    QListWidget* LBoxSetuzokuSaki = nullptr;
    QListWidget* LbCalendars = nullptr;
    QLineEdit* EdCalendar = nullptr;
    QPushButton* BtnCalAdd = nullptr;
    QPushButton* BtnCalDel = nullptr;
    QPushButton* BtnCalCheck = nullptr;
    QLineEdit* EdHost = nullptr;
    QLineEdit* EdUser = nullptr;
    QLineEdit* EdPW = nullptr;
    QLineEdit* EdPort = nullptr;
    QLineEdit* EdKeyWord1 = nullptr;
    QLineEdit* EdKeyWord2 = nullptr;
    RadioGroup* RgReceive = nullptr;
    RadioGroup* RgSecurity = nullptr;
    QCheckBox* ChMimeKaidoku = nullptr;
    QCheckBox* ChRemember = nullptr;
    QComboBox* CbAuth = nullptr;
    QComboBox* CbProtocol = nullptr;
    QLineEdit* EdFolder = nullptr;
    QLineEdit* EdInterval = nullptr;
    QLabel* LbPasswordPlace = nullptr;
    QLineEdit* EdTokenCommand = nullptr;

    LinkLabel* LbUrl = nullptr;
    QLabel* LbFolder = nullptr;
    QPushButton* BtnShortCut = nullptr;
};

} // namespace gui
