#include "gui/TForm1.h"

#include "app/CalendarEvents.h"
#include "app/DrawKabegami.h"
#include "app/FilesLock.h"
#include "app/MailReception.h"
#include "app/PasswordScrambler.h"
#include "app/SettingsStore.h"
#include "app/Texts.h"
#include "gui/ColourSwatch.h"
#include "gui/Dialogs.h"
#include "gui/FormReceiveWindow.h"
#include "gui/FormWidgets.h"
#include "gui/LinkLabel.h"
#include "gui/MemoEditor.h"
#include "gui/RadioGroup.h"
#include "gui/ScheduleGridModel.h"
#include "gui/ShortcutSetup.h"
#include "gui/Texts.h"
#include "mail/ReceiveRun.h"
#include "mail/ReceiveWindow.h"
#include "mail/Sasl.h"
#include "platform/Desktop.h"
#include "platform/FileIo.h"
#include "platform/SecretStore.h"
#include "platform/SjisText.h"
#include "platform/SystemErrorText.h"
#include "platform/UserError.h"
#include "schedule/TScheduleTable.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <new>
#include <optional>
#include <stdexcept>

namespace gui {

TForm1::TForm1(FormEnvironment environment, QWidget* parent)
    : QMainWindow(parent)
    , env_(std::move(environment))
{
    if (env_.dialogs == nullptr || env_.desktop == nullptr || !env_.clock) {
        throw std::invalid_argument("TForm1 needs its dialogs, desktop and clock");
    }
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Q(texts::kFormCaption));
    // The installed icon theme's, else the one built in.
    QIcon builtIn;
    builtIn.addFile(QStringLiteral(":/corkpane/corkpane-64.png"));
    builtIn.addFile(QStringLiteral(":/corkpane/corkpane-128.png"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("corkpane"), builtIn));
    QFont formFont(QStringLiteral("Tahoma"));
    formFont.setPixelSize(13);
    setFont(formFont);
    setFixedSize(494, 373);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setDocumentMode(true);
    setCentralWidget(PageControl1);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setFixedHeight(19);
    statusBar()->setSizeGripEnabled(false);

    gridModel_ = new ScheduleGridModel(
        [this](int col, int row, std::string text) { StringGrid1SetEditText(col, row, std::move(text)); },
        this);

    BuildReceivePage();
    BuildMemoPage();
    BuildSchedulePage();
    BuildSettingsPage();
    BuildMailPage();
    BuildCalendarPage();
    BuildAboutPage();

    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::TabMemoShow);

    // The password is empty until the settings are read.
    password_.clear();
    unattended_ = HasStartupArgument(env_.arguments);
    if (unattended_) {
        // A prompt to unlock the keyring stands a few seconds at logon,
        // where nobody may be there to answer it.
        keyring_ = app::KeyringPassword(platform::SecretStore::kUnattendedTimeLimit);
    }
    FormCreate();
}

TForm1::~TForm1()
{
    // The grid view and its model go before the table's last save so that
    // nothing reads the table while it is torn down.
    delete StringGrid1;
    StringGrid1 = nullptr;
    delete gridModel_;
    gridModel_ = nullptr;
}

bool TForm1::HasStartupArgument(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments) {
        if (argument == "/su") {
            return true;
        }
    }
    return false;
}

template <typename Work> bool TForm1::Guard(Work&& work)
{
    try {
        work();
        return true;
    } catch (const std::bad_alloc&) {
        // Out of memory: a plain message, not the library's exception name.
        ReportError(platform::FromSjis(platform::SystemErrorText(ENOMEM)));
    } catch (const std::exception& error) {
        ReportError(platform::FromSjis(error.what()));
    } catch (...) {
        ReportError(QString());
    }
    return false;
}

void TForm1::ReportError(const QString& message)
{
    // The logon run waits on no dialog: its messages go where a session's
    // do (standard error: the journal, ~/.xsession-errors).
    if (unattended_) {
        std::cerr << "corkpane: " << message.toLocal8Bit().toStdString() << '\n';
        return;
    }
    env_.dialogs->Error(message, Q(texts::kAppTitle));
}

void TForm1::ShowMessage(const std::string& text)
{
    if (unattended_) {
        ReportError(platform::FromSjis(text));
        return;
    }
    env_.dialogs->Message(platform::FromSjis(text), Q(texts::kAppTitle));
}

std::filesystem::path TForm1::WorkingFolder() const
{
    return env_.workingFolder.empty() ? std::filesystem::current_path() : env_.workingFolder;
}

void TForm1::LoadSettings()
{
    // The controls hold the window description's defaults; whatever the
    // files set before a read error stays applied.
    app::Settings settings = CollectSettings();
    std::string memo = MemoText();
    auto apply = [&] {
        ApplySettings(settings);
        SetMemoText(memo);
        MmMemo->setReadOnly(unread_.memo);
    };
    try {
        app::LoadSettings(
            WorkingFolder(), settings, memo, [this](const std::string& text) { ShowMessage(text); },
            &unread_);
        // The desktop's keyring keeps the password where one answers.
        keyringAnswers_ = env_.useKeyring && keyring_.Answers();
        if (keyringAnswers_)
            keyring_.Load(settings);
    } catch (...) {
        apply();
        throw;
    }
    apply();
    LbPasswordPlace->setText(Q(keyringAnswers_ ? texts::kPasswordInKeyring : texts::kPasswordInFile));
}

void TForm1::SaveSettings()
{
    const app::Settings settings = CollectSettings();
    const bool inKeyring = keyringAnswers_ && !unread_.settings && keyring_.Store(settings);
    app::SaveSettings(
        WorkingFolder(), settings, MemoText(), [this](const std::string& text) { ShowMessage(text); },
        unread_, inKeyring);
    // Only with the memo saved: a mail remembered as received must have its
    // text stored.
    receivedMemory_.Save();
}

void TForm1::FormCreate()
{
    // Another run on the same files (the logon run, the watcher, a second
    // window) is waited for; one that goes on past the wait ends this start
    // with its message before any file is read. The logon run says so and
    // still draws the wallpaper from the files as they are, writing none of
    // them back.
    try {
        filesLock_ = app::LockFilesForRun(
            WorkingFolder(),
            [](const std::string& text) {
                std::cerr << "corkpane: " << platform::FromSjis(text).toLocal8Bit().toStdString() << '\n';
            },
            env_.filesLockWait);
    } catch (const platform::UserError& busy) {
        if (!unattended_)
            throw;
        ReportError(platform::FromSjis(busy.what()));
        unread_.memo = unread_.settings = true;
        keepFilesAsTheyAre_ = true;
    }
    // Each step runs even when one before it failed: the grid handlers and
    // the close rely on the schedule table.
    const app::UnreadFiles busy = unread_;
    Guard([&] { LoadSettings(); });
    if (keepFilesAsTheyAre_)
        unread_ = busy;
    startupMode_ = 0;
    PageControl1->setCurrentIndex(1);
    Guard([&] {
        schedule_ = std::make_unique<schedule::TScheduleTable>(
            (env_.scheduleFolder.empty() ? env_.programPath.parent_path() : env_.scheduleFolder)
            / schedule::TScheduleTable::kFileName);
        gridModel_->SetTable(schedule_.get());
        if (const platform::FileIoError* failure = schedule_->LoadFailure()) {
            // The file is kept as it is, so the grid takes no edits that a
            // close could not save (and would refuse to close over).
            StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
            for (QPushButton* button : { BtnScDel, BtnScIns, BtnScUp, BtnScDown })
                button->setEnabled(false);
            throw *failure;
        }
    });
    if (HasStartupArgument(env_.arguments)) {
        startupMode_ = 1;
    }
}

void TForm1::setVisible(bool visible)
{
    if (visible && firstShow_) {
        firstShow_ = false;
        // Centred on the desktop when first shown.
        if (const QScreen* screen = this->screen()) {
            const QRect area = screen->availableGeometry();
            move(area.center() - QPoint(width() / 2, height() / 2));
        }
        // Unattended mode runs here, before the window becomes visible: on
        // success the window closes without ever being shown.
        FormShow();
        if (closed_) {
            return;
        }
    }
    QMainWindow::setVisible(visible);
}

void TForm1::FormShow()
{
    if (startupMode_ != 1) {
        return;
    }
    // A failing step is said on standard error and the sequence goes on: the
    // logon run draws the wallpaper with the memo as it stands and ends as it
    // always does, waiting on no dialog (an error box is for the window's
    // own buttons).
    if (RgReceive->ItemIndex() == 0) {
        // Mail that was never set up (no server name, or still the text that
        // asks for one) is not tried at logon. A click on the receive button
        // still tries and reports.
        if (!MailServerEntered()) {
            MmLog->appendPlainText(Q(texts::kReceiveSkipped));
            ReportError(Q(texts::kReceiveSkipped));
        } else if (unread_.memo) {
            // The start already said why; the draw and close still run.
            MmLog->appendPlainText(Q(texts::kReceiveNeedsMemo));
            ReportError(Q(texts::kReceiveNeedsMemo));
        } else {
            Guard([&] { ReceiveMail(true); });
        }
    }
    Guard([&] { DrawKabegami(); });
    CloseForm();
}

void TForm1::CloseForm()
{
    if (isVisible()) {
        close();
        return;
    }
    // The logon run ends even when saving failed: the failure has been said
    // on standard error and nobody is there to answer a window left open.
    if (FormClose() || unattended_) {
        closed_ = true;
    }
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (closed_ || FormClose()) {
        closed_ = true;
        event->accept();
        return;
    }
    event->ignore();
}

bool TForm1::FormClose()
{
    return Guard([&] {
        SaveSettings();
        if (schedule_) {
            schedule_->Save();
            gridModel_->SetTable(nullptr);
            schedule_.reset();
        }
        // Everything is saved: the next run may have the files.
        filesLock_.reset();
    });
}

void TForm1::TabMemoShow(int pageIndex)
{
    QWidget* page = PageControl1->widget(pageIndex);
    if (page != TabMemo && page != TabSheet2 && page != TabSettei) {
        return;
    }
    if (BtnDraw->parentWidget() != page) {
        // The same place on every page that carries it.
        const QPoint place = BtnDraw->pos();
        BtnDraw->setParent(page);
        BtnDraw->move(place);
        BtnDraw->show();
    }
}

void TForm1::LbMojiIroClick(ColourSwatch* sender)
{
    // The dialog starts from the swatch's own colour; Cancel keeps it.
    Guard([&] {
        if (const std::optional<QColor> colour
            = env_.dialogs->PickColour(ColourSwatch::ToQColor(sender->Colour()))) {
            sender->SetColour(ColourSwatch::FromQColor(*colour));
        }
    });
}

void TForm1::EdPWChange(const QString& text)
{
    // The box starts empty (its asterisks are a hint): what is typed is the
    // password, asterisks included, as UTF-8 for the server and the keyring.
    Guard([&] { password_ = text.toStdString(); });
}

void TForm1::EdPWEditingFinished()
{
    // A password that cannot be kept is refused when it is entered, with the
    // reason, and the one kept before stays: never an empty password at the
    // next start.
    if (password_ == storedPassword_) {
        return;
    }
    if (keyringAnswers_ || app::ScrambleKeepsPassword(password_)) {
        storedPassword_ = password_;
        return;
    }
    password_ = storedPassword_;
    EdPW->clear();
    password_ = storedPassword_;
    ShowMessage(app::texts::kPasswordNotKept);
}

bool TForm1::MailServerEntered() const
{
    // The box shows its prompt as a hint; the prompt itself is no server.
    const QString host = EdHost->text().trimmed();
    return !host.isEmpty() && host != Q(texts::kEdHost);
}

void TForm1::LbUrlClick()
{
    // A document that is not there cannot be opened; the desktop would
    // only fail later, out of sight.
    const bool missing = supportUrl_.isLocalFile() && !QFileInfo::exists(supportUrl_.toLocalFile());
    if (missing || !QDesktopServices::openUrl(supportUrl_)) {
        ShowMessage(texts::kSupportPageFailed + "\r\n" + platform::ToSjis(LbUrl->text()));
    }
}

void TForm1::BtnShortCutClick()
{
    Guard([&] {
        if (!env_.dialogs->Question(Q(texts::kShortcutQuestion), Q(texts::kShortcutCaption))) {
            return;
        }
        const ShortcutSetup setup { .program = env_.programPath,
            .startIn = env_.startFolder,
            .commandRunner = env_.commandRunner,
            .sessionRunsAutostart = env_.desktop == nullptr || env_.desktop->RunsAutostartEntries() };
        ShowMessage(MakeShortcuts(setup, [this](const std::string& text) { ShowMessage(text); }));
    });
}

void TForm1::RgSecurityClick(int index)
{
    MovePortWithChoice(CbProtocol->currentIndex(), index);
}

void TForm1::CbProtocolChange(int index)
{
    // The folder is IMAP's alone.
    EdFolder->setEnabled(index == static_cast<int>(mail::MailProtocol::Imap));
    MovePortWithChoice(index, RgSecurity->ItemIndex());
}

void TForm1::MovePortWithChoice(int protocol, int security)
{
    // The usual port of one choice becomes the other's; a port of the
    // user's own stays.
    const int port = app::PortNumber(platform::ToSjis(EdPort->text()));
    const int moved = app::PortAfterChoice(port, static_cast<mail::MailProtocol>(std::max(protocol, 0)),
        static_cast<mail::Pop3Security>(std::max(security, 0)));
    if (moved != port) {
        EdPort->setText(QString::number(moved));
    }
}

void TForm1::CbAuthChange(int index)
{
    // Only the token methods run the command.
    EdTokenCommand->setEnabled(mail::UsesToken(static_cast<mail::Pop3Auth>(index)));
}

void TForm1::BtnReceiveClick()
{
    Guard([&] { ReceiveMail(false); });
}

void TForm1::ReceiveMail(bool logon)
{
    if (unread_.memo)
        throw platform::UserError(texts::kReceiveNeedsMemo);
    mail::ReceiveConfig config = app::ToReceiveConfig(CollectSettings());
    config.networkWaitMs = logon ? env_.logonNetworkWaitMs : 0;
    FormReceiveWindow window(*BtnReceive, *MmLog, *MmMemo);
    app::ReceiveMail(WorkingFolder(), std::move(config), window, receivedMemory_);
}

void TForm1::BtnDrawClick()
{
    Guard([&] { DrawKabegami(); });
}

void TForm1::DrawKabegami()
{
    app::DrawRequest request;
    request.settings = CollectSettings();
    // The memo as its file holds it: the draw wraps each line at the text
    // block's own width, whoever asks for it.
    request.memo = MemoText();
    request.schedule = schedule_.get();
    request.today = env_.clock();
    request.outputFile = WorkingFolder() / "kabegami.bmp";
    // The calendars are fetched now (the kept copy where that fails); a
    // calendar that fails is said after the draw, which goes on without it.
    app::CalendarEvents calendars = app::LoadCalendarEvents(
        request.settings, request.today, app::UserCalendarFetch(calendar::FetchMode::Network));
    request.events = std::move(calendars.events);
    // The file is written either way. A desktop that did not take it is
    // said, not raised: the unattended run must not stop on it, so there it
    // goes to standard error instead of a box.
    QStringList said;
    if (const platform::Installation installed = app::DrawKabegami(*env_.desktop, request);
        !installed.taken) {
        said << Q(installed.problem) + QStringLiteral("\n") + Q(texts::kWallpaperNotTaken)
                + QString::fromStdU16String(request.outputFile.u16string());
    }
    for (const std::string& problem : calendars.problems)
        said << Q(problem);
    if (said.isEmpty())
        return;
    if (unattended_) {
        for (const QString& line : said)
            ReportError(line);
    } else {
        env_.dialogs->Message(said.join(QStringLiteral("\n\n")), Q(texts::kAppTitle));
    }
}

void TForm1::BtnCalAddClick()
{
    Guard([&] {
        const std::string typed = platform::ToSjis(EdCalendar->text().trimmed());
        if (typed.empty())
            return;
        if (LbCalendars->count() >= app::kMaxCalendars) {
            ShowMessage(texts::kCalendarsFull);
            return;
        }
        if (!LbCalendars->findItems(platform::FromSjis(typed), Qt::MatchExactly).isEmpty()) {
            EdCalendar->clear();
            return;
        }
        // An address the draw would refuse is said now, not at every draw.
        const std::string refused = app::CalendarAddressProblem(typed);
        if (!refused.empty()) {
            ShowMessage(refused);
            return;
        }
        LbCalendars->addItem(platform::FromSjis(typed));
        LbCalendars->setCurrentRow(LbCalendars->count() - 1);
        EdCalendar->clear();
    });
}

void TForm1::BtnCalDelClick()
{
    delete LbCalendars->takeItem(LbCalendars->currentRow());
}

void TForm1::BtnCalCheckClick()
{
    Guard([&] {
        // The address typed, else the one chosen in the list.
        QString address = EdCalendar->text().trimmed();
        if (address.isEmpty() && LbCalendars->currentItem())
            address = LbCalendars->currentItem()->text();
        if (address.isEmpty())
            return;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const std::string said = app::CheckCalendar(CollectSettings(), platform::ToSjis(address),
            env_.clock(), app::UserCalendarFetch(calendar::FetchMode::Network));
        QApplication::restoreOverrideCursor();
        ShowMessage(said);
    });
}

void TForm1::StringGrid1SetEditText(int col, int row, std::string text)
{
    Guard([&] {
        if (!schedule_ || row < 0) {
            return;
        }
        const auto index = static_cast<std::size_t>(row);
        if (col == ScheduleGridModel::kDateColumn) {
            schedule_->SetDate(index, std::move(text));
        } else {
            schedule_->SetText(index, std::move(text));
        }
    });
}

void TForm1::BtnScDelClick()
{
    Guard([&] {
        // The entry below moves up into the same row; after the last entry
        // the new last one becomes current.
        const auto [row, column] = GridCurrentCell();
        if (gridModel_->DeleteRow(row)) {
            SetGridCurrentCell(std::min(row, gridModel_->rowCount() - 1), column);
        }
    });
}

void TForm1::BtnScInsClick()
{
    Guard([&] {
        // The new empty row becomes current; the entry moves down.
        const auto [row, column] = GridCurrentCell();
        if (gridModel_->InsertRow(row)) {
            SetGridCurrentCell(row, column);
        }
    });
}

void TForm1::BtnScUpClick()
{
    Guard([&] {
        // The moved entry stays current.
        const auto [row, column] = GridCurrentCell();
        if (gridModel_->MoveRowUp(row)) {
            SetGridCurrentCell(row - 1, column);
        }
    });
}

void TForm1::BtnScDownClick()
{
    Guard([&] {
        const auto [row, column] = GridCurrentCell();
        if (gridModel_->MoveRowDown(row)) {
            SetGridCurrentCell(row + 1, column);
        }
    });
}

void TForm1::BtnScCheckClick()
{
    Guard([&] {
        // The editor goes to the offending date, and the message says which.
        if (const auto failure = gridModel_->Check()) {
            SetGridCurrentCell(static_cast<int>(failure->index), ScheduleGridModel::kDateColumn);
            ShowMessage(failure->message);
        }
    });
}

std::pair<int, int> TForm1::GridCurrentCell() const
{
    const QModelIndex current = StringGrid1->currentIndex();
    if (!current.isValid()) {
        return { 0, ScheduleGridModel::kDateColumn };
    }
    return { current.row(), current.column() };
}

void TForm1::SetGridCurrentCell(int row, int column)
{
    const QModelIndex index = gridModel_->index(row, column);
    if (index.isValid() && StringGrid1->currentIndex() != index) {
        StringGrid1->setCurrentIndex(index);
    }
}

std::string TForm1::MemoText() const
{
    return MmMemo->SjisText();
}

void TForm1::SetMemoText(const std::string& text)
{
    MmMemo->SetSjisText(text);
}

} // namespace gui
