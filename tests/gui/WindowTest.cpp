#include "UrlCatcher.h"
#include "WindowFixture.h"
#include "app/SettingsKey.h"
#include "common/SjisLiteral.h"
#include "gui/ColourSwatch.h"
#include "gui/MemoEditor.h"
#include "gui/RadioGroup.h"
#include "platform/SjisText.h"
#include "platform/UserError.h"
#include "schedule/TScheduleTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <tuple>

namespace {

using platform::FromSjis;
using platform::ToSjis;

class GuiWindow : public WindowFixture { };

TEST_F(GuiWindow, FirstStartShowsTheDefaultsOfEveryControl)
{
    auto window = MakeWindow();
    EXPECT_EQ(platform::ToSjis(window->windowTitle()), Sjis("CorkpaneⅡ"));
    EXPECT_EQ(window->size(), QSize(494, 373));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    // Its own icon, also where no icon theme has one (the task switcher
    // would show a generic one).
    EXPECT_FALSE(window->windowIcon().pixmap(32, 32).isNull());

    auto* pages = Find<QTabWidget>(*window, "PageControl1");
    const std::vector<std::pair<const char*, std::string>> expectedPages = {
        { "TabJusin", Sjis("受信") },
        { "TabMemo", Sjis("メモ") },
        { "TabSheet2", Sjis("スケジュール") },
        { "TabSettei", Sjis("設定") },
        { "TabMail", Sjis("メール") },
        { "TabCalendar", Sjis("カレンダー") },
        { "TabSheet1", "about" },
    };
    ASSERT_EQ(pages->count(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(pages->widget(i)->objectName().toStdString(), expectedPages[i].first);
        EXPECT_EQ(platform::ToSjis(pages->tabText(i)), expectedPages[i].second);
    }
    EXPECT_EQ(pages->currentIndex(), 1);

    const std::vector<std::pair<const char*, std::string>> edits = {
        { "EdMojiSu", "15" },
        { "EdGyosu", "20" },
        { "EdFontSize", "15" },
        { "EdGyokan", "4" },
        { "EdUeYohaku", "10" },
        { "EdMigiYohaku", "300" },
        { "EdTitle", Sjis("忘れずに！") },
        { "EdRitu", "50" },
        { "EdScW", "1" },
        { "EdScM", "3" },
        { "EdScY", "5" },
        { "EdScD", "10" },
        { "EdHost", "" },
        { "EdUser", "" },
        { "EdPW", "" },
        { "EdPort", "110" },
        { "EdKeyWord1", Sjis("メモ") },
        { "EdKeyWord2", Sjis("めも") },
    };
    for (const auto& [name, text] : edits) {
        EXPECT_EQ(platform::ToSjis(Find<QLineEdit>(*window, name)->text()), text) << name;
    }
    EXPECT_EQ(Find<QLineEdit>(*window, "EdPW")->echoMode(), QLineEdit::Password);
    // The prompts of a new set-up are grey hints in empty boxes.
    const std::vector<std::pair<const char*, std::string>> hints
        = { { "EdHost", Sjis("サーバー名をここに入力") }, { "EdUser", Sjis("ユーザー名をここに入力") },
              { "EdPW", "******" } };
    for (const auto& [name, hint] : hints)
        EXPECT_EQ(platform::ToSjis(Find<QLineEdit>(*window, name)->placeholderText()), hint) << name;

    const std::vector<std::pair<const char*, int>> radios
        = { { "RgKage", 0 }, { "RgTitle", 1 }, { "RgHaikei", 0 }, { "RgReceive", 0 }, { "RgSecurity", 0 } };
    for (const auto& [name, index] : radios) {
        EXPECT_EQ(Find<gui::RadioGroup>(*window, name)->ItemIndex(), index) << name;
    }
    EXPECT_EQ(Find<gui::RadioGroup>(*window, "RgHaikei")->Count(), 3);

    EXPECT_FALSE(Find<QCheckBox>(*window, "ChShowMemo")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(*window, "ChScMemo")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(*window, "ChScCal")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(*window, "ChScCal")->isHidden());
    EXPECT_TRUE(Find<QCheckBox>(*window, "ChMimeKaidoku")->isChecked());
    EXPECT_EQ(platform::ToSjis(Find<QCheckBox>(*window, "ChMimeKaidoku")->text()),
        Sjis("MIME形式のメールを解読する"));
    EXPECT_TRUE(Find<QCheckBox>(*window, "ChShukujitsu")->isChecked());
    EXPECT_EQ(platform::ToSjis(Find<QCheckBox>(*window, "ChShukujitsu")->text()), Sjis("祝日を表示する"));
    EXPECT_EQ(Find<gui::ColourSwatch>(*window, "LbMojiIro")->Colour(), 65280);
    EXPECT_EQ(Find<gui::ColourSwatch>(*window, "LbKageIro")->Colour(), 12632256);

    auto* list = Find<QListWidget>(*window, "LBoxSetuzokuSaki");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(platform::ToSjis(list->item(0)->text()), Sjis("サーバー１"));
    EXPECT_TRUE(Find<QPlainTextEdit>(*window, "MmLog")->toPlainText().isEmpty());
    EXPECT_TRUE(Find<QPlainTextEdit>(*window, "MmMemo")->toPlainText().isEmpty());
    EXPECT_TRUE(Find<QPushButton>(*window, "BtnReceive")->isEnabled());
    EXPECT_EQ(platform::ToSjis(Find<QPushButton>(*window, "BtnReceive")->text()), Sjis("メール受信"));
    EXPECT_EQ(platform::ToSjis(Find<QPushButton>(*window, "BtnDraw")->text()), Sjis("描画"));

    // Hints show their long part in the status bar and no tool tip.
    auto* grid = Find<QTableView>(*window, "StringGrid1");
    EXPECT_EQ(platform::ToSjis(grid->statusTip()),
        Sjis("予定日に使用できる文字　数字(全角可)，日月～土,毎年第曜,平成令和元"));
    EXPECT_TRUE(grid->toolTip().isEmpty());
    EXPECT_EQ(platform::ToSjis(Find<QWidget>(*window, "LbUrl")->statusTip()),
        Sjis("「Corkpane」サポートページを表示します。"));

    // The grid shows the schedule table's headers and nine numbered rows.
    EXPECT_EQ(grid->model()->rowCount(), 9);
    EXPECT_EQ(grid->model()->columnCount(), 2);
    EXPECT_EQ(grid->model()->headerData(8, Qt::Vertical).toString(), QStringLiteral(" 9"));
    EXPECT_EQ(platform::ToSjis(grid->model()->headerData(0, Qt::Horizontal).toString()), Sjis(" 　予定日"));
    EXPECT_EQ(
        platform::ToSjis(grid->model()->headerData(1, Qt::Horizontal).toString()), Sjis("　　スケジュール"));
    EXPECT_EQ(grid->verticalHeader()->width(), 26);
    EXPECT_EQ(grid->columnWidth(0), 128);
    EXPECT_EQ(grid->columnWidth(1), 300);
    EXPECT_EQ(window->Password(), "qqqqq");
    EXPECT_EQ(window->StartupMode(), 0);
}

TEST_F(GuiWindow, EverySettingBindsToAControlOfItsKind)
{
    // The window copies settings to and from controls found by the table's
    // object names; a misspelt name or a wrong kind would drop the value.
    using Kind = app::SettingsKey::Kind;
    auto window = MakeWindow();
    for (const app::SettingsKey& key : app::SettingsKey::All()) {
        const QString name
            = QString::fromLatin1(key.control.data(), static_cast<qsizetype>(key.control.size()));
        SCOPED_TRACE(name.toStdString());
        switch (key.kind) {
        case Kind::List:
        case Kind::ListEntry:
            EXPECT_NE(window->findChild<QListWidget*>(name), nullptr);
            break;
        case Kind::Text:
        case Kind::Number:
            EXPECT_NE(window->findChild<QLineEdit*>(name), nullptr);
            break;
        case Kind::Password:
            break; // held by the window, typed into a box that never shows it
        case Kind::Colour:
            EXPECT_NE(window->findChild<gui::ColourSwatch*>(name), nullptr);
            break;
        case Kind::Radio:
            EXPECT_NE(window->findChild<gui::RadioGroup*>(name), nullptr);
            break;
        case Kind::Tick:
        case Kind::LaterTick:
            EXPECT_NE(window->findChild<QCheckBox*>(name), nullptr);
            break;
        case Kind::Choice:
            EXPECT_NE(window->findChild<QComboBox*>(name), nullptr);
            break;
        }
    }
}

TEST_F(GuiWindow, PasswordFieldTakesWhatIsTypedAndRefusesWhatCannotBeKept)
{
    auto window = MakeWindow();
    auto* field = Find<QLineEdit>(*window, "EdPW");
    // Untouched, the password stays as it was read.
    EXPECT_EQ(window->Password(), "qqqqq");
    // Typing sets it with every keystroke, asterisks included.
    QTest::keyClicks(field, QStringLiteral("se"));
    EXPECT_EQ(window->Password(), "se");
    QTest::keyClicks(field, QStringLiteral("cret*x"));
    EXPECT_EQ(window->Password(), "secret*x");
    window->EdPWEditingFinished();
    EXPECT_TRUE(dialogs_.shown.empty());
    // Without a keyring, one the settings file cannot give back is refused
    // when entered, with the reason; the one kept before stays.
    field->setText(QString::fromUtf8("ñandú"));
    window->EdPWEditingFinished();
    EXPECT_EQ(window->Password(), "secret*x");
    EXPECT_TRUE(field->text().isEmpty());
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_TRUE(dialogs_.shown[0].text.contains(QStringLiteral("corkpane.ini")));
    EXPECT_EQ(
        platform::ToSjis(Find<QLabel>(*window, "LbPasswordPlace")->text()), Sjis("corkpane.ini に保存"));
    // Clearing the field empties it.
    QTest::keyClicks(field, QStringLiteral("x"));
    field->clear();
    EXPECT_EQ(window->Password(), "");
}

TEST_F(GuiWindow, DrawButtonFollowsMemoScheduleAndSettingsPages)
{
    auto window = MakeWindow();
    auto* pages = Find<QTabWidget>(*window, "PageControl1");
    auto* draw = Find<QPushButton>(*window, "BtnDraw");
    window->show();
    EXPECT_EQ(draw->parentWidget(), pages->widget(1));
    EXPECT_TRUE(draw->isVisible());
    const QPoint place = draw->pos();
    // Pages 0, 4 and 5 never carry it; it stays where it was last shown.
    const std::vector<std::pair<int, int>> steps
        = { { 2, 2 }, { 0, 2 }, { 3, 3 }, { 5, 3 }, { 4, 3 }, { 1, 1 } };
    for (const auto& [page, owner] : steps) {
        pages->setCurrentIndex(page);
        EXPECT_EQ(draw->parentWidget(), pages->widget(owner)) << "page " << page;
        EXPECT_EQ(draw->pos(), place);
    }
    pages->setCurrentIndex(2);
    EXPECT_TRUE(draw->isVisible());
}

TEST_F(GuiWindow, StartupArgumentIsTheExactWholeArgumentAnywhere)
{
    const std::vector<std::pair<std::vector<std::string>, bool>> cases = {
        { {}, false },
        { { "/su" }, true },
        { { "x", "/su" }, true },
        { { "a", "b", "/su" }, true },
        { { "/SU" }, false },
        { { "-su" }, false },
        { { "su" }, false },
        { { "/su " }, false },
        { { "/sux" }, false },
    };
    for (const auto& [arguments, startup] : cases) {
        EXPECT_EQ(gui::TForm1::HasStartupArgument(arguments), startup);
    }
    EXPECT_EQ(MakeWindow({ "x", "/su" })->StartupMode(), 1);
    EXPECT_EQ(MakeWindow({ "/SU" })->StartupMode(), 0);
}

TEST_F(GuiWindow, NormalModeShowingDoesNothingElse)
{
    auto window = MakeWindow();
    window->show();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->IsClosed());
    EXPECT_FALSE(Exists("corkpane.ini"));
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(GuiWindow, CloseWritesMemoAndSettingsAndScheduleOnlyWhenModified)
{
    WriteFile("schedule.txt", "\"\",\"4/1\",\"x\"\n");
    {
        auto window = MakeWindow();
        window->SetMemoText("line1\r\nline2");
        window->show();
        EXPECT_TRUE(window->close());
    }
    EXPECT_EQ(ReadFile("memo.txt"), "line1\r\nline2");
    EXPECT_EQ(ReadFile("corkpane.ini").rfind("#-----", 0), 0U);
    // Untouched schedule: the file keeps its bytes (LF and all).
    EXPECT_EQ(ReadFile("schedule.txt"), "\"\",\"4/1\",\"x\"\n");
    {
        auto window = MakeWindow();
        EXPECT_EQ(window->MemoText(), "line1\r\nline2");
        auto* grid = Find<QTableView>(*window, "StringGrid1");
        grid->model()->setData(grid->model()->index(1, 1), QStringLiteral("y"));
        EXPECT_TRUE(window->Schedule()->Modified());
        EXPECT_TRUE(window->close());
    }
    const std::string schedule = ReadFile("schedule.txt");
    EXPECT_EQ(schedule.rfind("\"\",\"4/1\",\"x\"\r\n\"\",\"\",\"y\"\r\n", 0), 0U) << schedule;
    EXPECT_TRUE(dialogs_.Errors().isEmpty()) << dialogs_.Errors().join('\n').toStdString();
}

// A stored set-up from before the MIME box keeps taking bodies as sent and
// stores nothing for the box; ticking the box stores the key. The same for
// the holidays box.
TEST_F(GuiWindow, StoredFileWithoutTheMimeKeyKeepsItOff)
{
    const std::string ini = "POP3Host1=pop.example.jp\r\nPOP3Port1=110\r\n";
    WriteFile("corkpane.ini", ini);
    {
        auto window = MakeWindow();
        EXPECT_FALSE(Find<QCheckBox>(*window, "ChMimeKaidoku")->isChecked());
        EXPECT_FALSE(window->CollectSettings().ChMimeKaidoku);
        EXPECT_FALSE(Find<QCheckBox>(*window, "ChShukujitsu")->isChecked());
        EXPECT_TRUE(window->close());
    }
    const std::string saved = ReadFile("corkpane.ini");
    EXPECT_EQ(saved.find("MIME"), std::string::npos) << saved;
    EXPECT_EQ(saved.find(Sjis("祝日")), std::string::npos) << saved;
    {
        auto window = MakeWindow();
        Find<QCheckBox>(*window, "ChMimeKaidoku")->setChecked(true);
        Find<QCheckBox>(*window, "ChShukujitsu")->setChecked(true);
        EXPECT_TRUE(window->close());
    }
    EXPECT_NE(ReadFile("corkpane.ini").find(Sjis("MIME解読=1\r\n")), std::string::npos);
    EXPECT_NE(ReadFile("corkpane.ini").find(Sjis("祝日表示=1\r\n")), std::string::npos);
    EXPECT_TRUE(MakeWindow()->CollectSettings().ChMimeKaidoku);
    EXPECT_TRUE(MakeWindow()->CollectSettings().ChShukujitsu);
}

// The sign-in and memory controls: remembering is on in a new set-up and
// off for a stored one without its key; a token method enables its command
// and is stored by its word.
TEST_F(GuiWindow, SignInAndMemoryControls)
{
    {
        auto window = MakeWindow();
        EXPECT_TRUE(Find<QCheckBox>(*window, "ChRemember")->isChecked());
        auto* method = Find<QComboBox>(*window, "CbAuth");
        auto* command = Find<QLineEdit>(*window, "EdTokenCommand");
        EXPECT_EQ(method->currentIndex(), 0);
        EXPECT_FALSE(command->isEnabled());
        method->setCurrentIndex(2);
        EXPECT_TRUE(command->isEnabled());
        command->setText(QStringLiteral("oama access me@example.jp"));
        EXPECT_TRUE(window->close());
    }
    const std::string saved = ReadFile("corkpane.ini");
    EXPECT_NE(
        saved.find("POP3Remember1=1\r\nPOP3Auth1=xoauth2\r\nPOP3TokenCommand1=oama access me@example.jp\r\n"),
        std::string::npos)
        << saved;
    WriteFile("corkpane.ini", "POP3Host1=pop.example.jp\r\n");
    EXPECT_FALSE(MakeWindow()->CollectSettings().ChRemember);
}

TEST_F(GuiWindow, FailedSaveKeepsTheWindowOpenAndALaterCloseSavesAgain)
{
    auto window = MakeWindow();
    window->show();
    // A folder where the memo file should be makes writing it fail.
    std::filesystem::create_directory(Folder() / "memo.txt");
    std::filesystem::create_directory(Folder() / "memo.txt" / "inside");
    window->SetMemoText("keep me");
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->IsClosed());
    ASSERT_EQ(dialogs_.shown.size(), 1U);
    EXPECT_EQ(dialogs_.shown[0].kind, QStringLiteral("error"));
    EXPECT_EQ(platform::ToSjis(dialogs_.shown[0].caption), Sjis("Corkpane Ⅱ"));
    EXPECT_NE(window->Schedule(), nullptr);

    std::filesystem::remove_all(Folder() / "memo.txt");
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(window->IsClosed());
    EXPECT_EQ(ReadFile("memo.txt"), "keep me");
    EXPECT_EQ(window->Schedule(), nullptr);
}

TEST_F(GuiWindow, UnreadableFilesAreReportedAndCreationGoesOn)
{
    // A folder where a file should be cannot be read as one.
    for (const char* unreadable : { "corkpane.ini", "schedule.txt" }) {
        SCOPED_TRACE(unreadable);
        std::filesystem::create_directory(Folder() / unreadable);
        WriteFile("memo.txt", "from file\nsecond");
        dialogs_.shown.clear();
        // The logon run says it on standard error, not in a box.
        testing::internal::CaptureStderr();
        auto window = MakeWindow({ "/su" });
        EXPECT_NE(testing::internal::GetCapturedStderr().find(unreadable), std::string::npos);
        EXPECT_TRUE(dialogs_.Errors().empty());
        EXPECT_NE(window->Schedule(), nullptr);
        EXPECT_EQ(window->StartupMode(), 1);
        // The memo was read before the failing file.
        EXPECT_EQ(window->MemoText(), "from file\r\nsecond");
        window.reset();
        std::filesystem::remove_all(Folder() / unreadable);
    }
}

// A memo or schedule the start could not read is left exactly as it is,
// in the window and in the unattended run; the rest is read and saved. The
// window takes nothing it could not save: the memo editor is read only,
// reception is refused, the grid takes no edits, and the close goes through.
TEST_F(GuiWindow, FilesTheStartCouldNotReadAreLeftAsTheyAre)
{
    const std::string ini = "POP3Host1=127.0.0.1\r\nUser1=me\r\n";
    const std::string oversized(platform::kMemoReadLimit + 1, 'm');
    for (const bool unattended : { false, true }) {
        SCOPED_TRACE(unattended ? "/su" : "window");
        WriteFile("memo.txt", oversized);
        WriteFile("corkpane.ini", ini);
        std::filesystem::remove_all(Folder() / "schedule.txt");
        std::filesystem::create_directory(Folder() / "schedule.txt");
        dialogs_.shown.clear();
        testing::internal::CaptureStderr();
        auto window
            = MakeWindow(unattended ? std::vector<std::string> { "/su" } : std::vector<std::string> {});
        // The window's boxes, or the logon run's standard error.
        const QStringList said = unattended ? QString::fromLocal8Bit(testing::internal::GetCapturedStderr())
                                                  .split(QChar('\n'), Qt::SkipEmptyParts)
                                            : (testing::internal::GetCapturedStderr(), dialogs_.Errors());
        ASSERT_EQ(said.size(), 2);
        EXPECT_TRUE(said[0].contains(QString::fromStdString((Folder() / "memo.txt").string())));
        EXPECT_TRUE(said[0].endsWith(platform::FromSjis(Sjis("上書きしません。"))));
        EXPECT_EQ(Find<QLineEdit>(*window, "EdHost")->text(), QStringLiteral("127.0.0.1"));
        EXPECT_TRUE(Find<QPlainTextEdit>(*window, "MmMemo")->isReadOnly());
        EXPECT_EQ(
            Find<QTableView>(*window, "StringGrid1")->editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_FALSE(Find<QPushButton>(*window, "BtnScIns")->isEnabled());
        Find<QLineEdit>(*window, "EdTitle")->setText(QStringLiteral("saved"));
        if (unattended) {
            window->show();
            EXPECT_TRUE(window->IsClosed());
            EXPECT_TRUE(Find<QPlainTextEdit>(*window, "MmLog")
                            ->toPlainText()
                            .contains(platform::FromSjis(
                                Sjis("メモのファイルを読み込めなかったため、メールは受信しません。"))));
            EXPECT_TRUE(Exists("kabegami.bmp"));
        } else {
            Find<QPushButton>(*window, "BtnReceive")->click();
            ASSERT_EQ(dialogs_.Errors().size(), 3);
            EXPECT_EQ(platform::ToSjis(dialogs_.Errors()[2]),
                Sjis("メモのファイルを読み込めなかったため、メールは受信しません。"));
            EXPECT_TRUE(window->close());
        }
        EXPECT_EQ(dialogs_.Errors().size(), unattended ? 0 : 3);
        EXPECT_EQ(ReadFile("memo.txt"), oversized);
        EXPECT_TRUE(std::filesystem::is_directory(Folder() / "schedule.txt"));
        EXPECT_NE(ReadFile("corkpane.ini").find(Sjis("メモタイトル=saved")), std::string::npos);
    }
}

// One run at a time on the files: a start while another run holds them
// gives up after its wait with the message that says so, before any file is
// read or written; the first run lets go when its close has saved.
TEST_F(GuiWindow, AStartWaitsForAnotherRunOnTheSameFiles)
{
    filesLockWait_ = std::chrono::milliseconds(2000);
    WriteFile("memo.txt", "first");
    auto first = MakeWindow();
    try {
        filesLockWait_ = std::chrono::milliseconds(100);
        MakeWindow();
        ADD_FAILURE() << "two windows on one folder";
    } catch (const platform::UserError& error) {
        EXPECT_TRUE(std::string(error.what())
                        .ends_with(Sjis("1 秒待っても終わらなかったため、何もせずに終了します。")))
            << error.what();
    }
    // The logon run says so on standard error and still draws, from the
    // files as they are, writing none of them.
    testing::internal::CaptureStderr();
    auto logon = MakeWindow({ "/su" });
    Find<gui::RadioGroup>(*logon, "RgReceive")->SetItemIndex(1);
    logon->show();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("何もせずに終了します。"), std::string::npos);
    EXPECT_TRUE(logon->IsClosed());
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_TRUE(Exists("kabegami.bmp"));
    EXPECT_FALSE(Exists("corkpane.ini"));
    EXPECT_EQ(ReadFile("memo.txt"), "first");

    // The close saves and lets go, even while the window object lives on.
    first->SetMemoText("saved by the first");
    EXPECT_TRUE(first->close());
    auto second = MakeWindow();
    EXPECT_EQ(second->MemoText(), "saved by the first");
}

TEST_F(GuiWindow, StartupRunClosesAndSavesWithoutBecomingVisible)
{
    auto window = MakeWindow({ "/su" });
    Find<gui::RadioGroup>(*window, "RgReceive")->SetItemIndex(1);
    window->show();
    EXPECT_TRUE(window->IsClosed());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(Exists("corkpane.ini"));
    EXPECT_TRUE(Exists("memo.txt"));
}

TEST_F(GuiWindow, StartupRunWhoseCloseFailsSaysSoAndEnds)
{
    auto window = MakeWindow({ "/su" });
    Find<gui::RadioGroup>(*window, "RgReceive")->SetItemIndex(1);
    std::filesystem::create_directories(Folder() / "memo.txt" / "inside");
    testing::internal::CaptureStderr();
    window->show();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("memo.txt"), std::string::npos);
    EXPECT_TRUE(window->IsClosed());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(GuiWindow, CheckButtonMovesTheCursorToTheBadCellAndSaysWhich)
{
    auto window = MakeWindow();
    auto* grid = Find<QTableView>(*window, "StringGrid1");
    QAbstractItemModel* model = grid->model();
    model->setData(model->index(0, 0), platform::FromSjis(Sjis("水曜")));
    model->setData(model->index(1, 0), QStringLiteral("4/1"));
    model->setData(model->index(2, 0), platform::FromSjis(Sjis("水曜")));
    grid->setCurrentIndex(model->index(5, 1));
    window->Schedule()->SetModified(false);

    Find<QPushButton>(*window, "BtnScCheck")->click();
    EXPECT_EQ(platform::ToSjis(model->index(0, 0).data().toString()), Sjis("毎週水曜日"));
    EXPECT_EQ(
        platform::ToSjis(model->index(2, 0).data().toString()), Sjis("水曜") /* 水曜: after the bad row */);
    EXPECT_EQ(grid->currentIndex(), model->index(1, 0));
    ASSERT_EQ(dialogs_.shown.size(), 1U);
    EXPECT_EQ(dialogs_.shown[0].kind, QStringLiteral("message"));
    EXPECT_EQ(platform::ToSjis(dialogs_.shown[0].text),
        Sjis(
            "2行目の予定日「4/1」は書式が正しくありません。日付には「年」「月」「日」、曜日には「曜」を付けて"
            "書きます。例：2026年12月24日、毎週水曜日、毎月第2火曜日"));
    EXPECT_FALSE(window->Schedule()->Modified());
}

TEST_F(GuiWindow, GridEditorMarksTheTableModifiedOnEveryHandOver)
{
    auto window = MakeWindow();
    window->show();
    Find<QTabWidget>(*window, "PageControl1")->setCurrentIndex(2);
    auto* grid = Find<QTableView>(*window, "StringGrid1");
    const QModelIndex cell = grid->model()->index(2, 1);
    ASSERT_FALSE(window->Schedule()->Modified());

    // Moving onto a cell opens its editor.
    grid->setCurrentIndex(cell);
    auto* editor = grid->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    // Each keystroke reaches the cell at once.
    QTest::keyClicks(editor, QStringLiteral("ab"));
    EXPECT_EQ(window->Schedule()->Entries()[2].text, "ab");
    EXPECT_TRUE(window->Schedule()->Modified());
    window->Schedule()->SetModified(false);
    grid->setCurrentIndex(grid->model()->index(0, 0)); // leaves the cell
    QTest::qWait(0);
    EXPECT_TRUE(window->Schedule()->Modified());
}

TEST_F(GuiWindow, RowButtonsActOnTheCurrentRow)
{
    auto window = MakeWindow();
    auto* grid = Find<QTableView>(*window, "StringGrid1");
    QAbstractItemModel* model = grid->model();
    model->setData(model->index(0, 0), QStringLiteral("a"));
    model->setData(model->index(1, 0), QStringLiteral("b"));
    grid->setCurrentIndex(model->index(1, 0));
    Find<QPushButton>(*window, "BtnScUp")->click();
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("b"));
    EXPECT_EQ(grid->currentIndex().row(), 0);
    Find<QPushButton>(*window, "BtnScIns")->click();
    EXPECT_EQ(model->rowCount(), 10);
    EXPECT_EQ(model->index(0, 0).data().toString(), QString());
    EXPECT_EQ(model->index(1, 0).data().toString(), QStringLiteral("b"));
    EXPECT_EQ(model->headerData(9, Qt::Vertical).toString(), QStringLiteral("10"));
    // A short grid keeps its rows: the entries below move up and an empty
    // row is added at the end.
    model->setData(model->index(9, 1), QStringLiteral("last"));
    Find<QPushButton>(*window, "BtnScDel")->click();
    EXPECT_EQ(model->rowCount(), 10);
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("b"));
    EXPECT_EQ(model->index(8, 1).data().toString(), QStringLiteral("last"));
    EXPECT_EQ(model->index(9, 1).data().toString(), QString());
    EXPECT_EQ(grid->currentIndex().row(), 0);
}

TEST_F(GuiWindow, ColourDialogStartsFromTheSwatchAndCancelChangesNothing)
{
    auto window = MakeWindow();
    auto* text = Find<gui::ColourSwatch>(*window, "LbMojiIro");
    auto* shadow = Find<gui::ColourSwatch>(*window, "LbKageIro");
    // Cancel, a new shadow colour, OK without a change, Cancel again.
    dialogs_.colours = { std::nullopt, QColor(0x12, 0x34, 0x56), QColor(0, 255, 0), std::nullopt };
    QTest::mouseClick(text, Qt::LeftButton);
    EXPECT_EQ(text->Colour(), 65280);
    QTest::mouseClick(shadow, Qt::LeftButton);
    EXPECT_EQ(shadow->Colour(), 0x563412);
    QTest::mouseClick(text, Qt::LeftButton);
    EXPECT_EQ(text->Colour(), 65280);
    QTest::mouseClick(shadow, Qt::LeftButton);
    EXPECT_EQ(shadow->Colour(), 0x563412);
    ASSERT_EQ(dialogs_.colourStarts.size(), 4U);
    EXPECT_EQ(dialogs_.colourStarts[0], QColor(0, 255, 0)); // lime, the text swatch
    EXPECT_EQ(dialogs_.colourStarts[1], QColor(192, 192, 192)); // silver, the shadow swatch
    EXPECT_EQ(dialogs_.colourStarts[2], QColor(0, 255, 0));
    EXPECT_EQ(dialogs_.colourStarts[3], QColor(0x12, 0x34, 0x56));
}

TEST_F(GuiWindow, ChoosingTheEncryptionMovesTheUsualPortAlong)
{
    auto window = MakeWindow();
    auto* port = Find<QLineEdit>(*window, "EdPort");
    auto* security = Find<gui::RadioGroup>(*window, "RgSecurity");
    // (port before, item clicked, port after)
    const std::vector<std::tuple<const char*, int, const char*>> steps = {
        { "110", 2, "995" },
        { "995", 1, "110" },
        { "110", 1, "110" },
        { "995", 0, "110" },
        { "1100", 2, "1100" },
        { "995", 2, "995" },
    };
    for (const auto& [before, item, after] : steps) {
        port->setText(QString::fromLatin1(before));
        security->Button(item)->click();
        EXPECT_EQ(port->text().toStdString(), after) << before << " -> item " << item;
        EXPECT_EQ(window->CollectSettings().RgSecurity, item);
    }
}

TEST_F(GuiWindow, SupportLinkOpensItsCaptionWithTheDesktopHandler)
{
    supportPage_ = "https://corkpane.example.org/";
    auto window = MakeWindow();
    UrlCatcher catcher;
    auto* link = Find<QLabel>(*window, "LbUrl");
    QTest::mouseClick(link, Qt::LeftButton);
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0].toString(), link->text());
    EXPECT_TRUE(link->text().startsWith(QStringLiteral("https://")));
}

} // namespace
