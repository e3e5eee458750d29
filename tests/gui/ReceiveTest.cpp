#include "FakePop3Server.h"
#include "WindowFixture.h"
#include "common/SjisLiteral.h"
#include "gui/RadioGroup.h"
#include "platform/SjisText.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <chrono>
#include <optional>
#include <thread>

namespace {

using mailtest::FakePop3Server;

const std::string kGreeting = "+OK ready\r\n";
// A subject that decodes to メモ, the first default keyword.
const std::string kMemoTop = "+OK\r\nSubject: =?ISO-2022-JP?B?GyRCJWElYhsoQg==?=\r\n\r\n.\r\n";
const std::string kMemoRetr = "+OK\r\nSubject: =?ISO-2022-JP?B?GyRCJWElYhsoQg==?=\r\n\r\nbuy milk\r\n.\r\n";

std::vector<std::string> OneMemoMail()
{
    return { kGreeting, "+OK\r\n", "+OK\r\n", "+OK 1 100\r\n", kMemoTop, kMemoRetr };
}

class GuiReception : public WindowFixture {
protected:
    void PointAt(gui::TForm1& window, int port)
    {
        Find<QLineEdit>(window, "EdHost")->setText(QStringLiteral("127.0.0.1"));
        Find<QLineEdit>(window, "EdPort")->setText(QString::number(port));
        Find<QLineEdit>(window, "EdUser")->setText(QStringLiteral("u"));
        Find<QLineEdit>(window, "EdPW")->setText(QStringLiteral("pw"));
    }
    static QString Log(gui::TForm1& window) { return Find<QPlainTextEdit>(window, "MmLog")->toPlainText(); }
};

TEST_F(GuiReception, ButtonRunLogsAndAddsTheMemoOnce)
{
    auto window = MakeWindow();
    window->SetMemoText("old");
    {
        FakePop3Server server(OneMemoMail());
        PointAt(*window, server.port());
        Find<QPushButton>(*window, "BtnReceive")->click();
        EXPECT_EQ(server.Transcript(), "CAPA\r\nUSER u\r\nPASS pw\r\nSTAT\r\nTOP 1 0\r\nRETR 1\r\nQUIT\r\n");
    }
    EXPECT_TRUE(dialogs_.Errors().isEmpty()) << dialogs_.Errors().join('\n').toStdString();
    EXPECT_EQ(window->MemoText(), "old\r\nbuy milk\r\n");
    EXPECT_TRUE(Log(*window).contains(QStringLiteral("wwwwwwwwwwwwwwwwwwwwwwwwwwwww")));
    EXPECT_TRUE(Log(*window).contains(QStringLiteral("buy milk")));
    EXPECT_TRUE(Find<QPushButton>(*window, "BtnReceive")->isEnabled());

    // The same mail again is logged but not added twice.
    FakePop3Server again(OneMemoMail());
    PointAt(*window, again.port());
    Find<QPushButton>(*window, "BtnReceive")->click();
    EXPECT_EQ(window->MemoText(), "old\r\nbuy milk\r\n");
    EXPECT_EQ(Log(*window).count(QStringLiteral("buy milk")), 2);
}

TEST_F(GuiReception, StartupRunReceivesThenClosesAndSaves)
{
    FakePop3Server server(OneMemoMail());
    auto window = MakeWindow({ "/su" });
    PointAt(*window, server.port());
    window->show();
    EXPECT_TRUE(window->IsClosed());
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_EQ(ReadFile("memo.txt"), "buy milk\r\n");
    EXPECT_NE(server.Transcript().find("RETR 1\r\n"), std::string::npos);
}

TEST_F(GuiReception, StartupRunWithReceptionOffMakesNoConnection)
{
    // The host cannot be reached; with reception off nothing tries.
    auto window = MakeWindow({ "/su" });
    PointAt(*window, mailtest::UnusedLoopbackPort());
    Find<gui::RadioGroup>(*window, "RgReceive")->SetItemIndex(1);
    window->show();
    EXPECT_TRUE(window->IsClosed());
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_TRUE(Log(*window).isEmpty());
}

// Offline at logon, a server that refuses, a name that does not resolve:
// said on standard error, the wallpaper drawn from the memo as it stands,
// and the run ends as it always does, waiting on no dialog.
TEST_F(GuiReception, AFailedStartupReceptionIsSaidAndTheWallpaperStillDrawn)
{
    auto window = MakeWindow({ "/su" });
    PointAt(*window, mailtest::UnusedLoopbackPort());
    testing::internal::CaptureStderr();
    window->show();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("corkpane: "), std::string::npos);
    EXPECT_TRUE(window->IsClosed());
    EXPECT_TRUE(dialogs_.shown.empty());
    EXPECT_TRUE(Log(*window).contains(platform::FromSjis(Sjis("エラーのため受信を中止しました: "))));
    EXPECT_TRUE(Exists("kabegami.bmp"));
    EXPECT_TRUE(Exists("corkpane.ini"));
}

TEST_F(GuiReception, StartupWithoutAServerNameSkipsReceptionAndDraws)
{
    const QString placeholder = platform::FromSjis(Sjis("サーバー名をここに入力"));
    const QString skipped = QString::fromUtf8("サーバー名が設定されていないため、メール受信を省略しました。");
    EXPECT_EQ(Find<QLineEdit>(*MakeWindow(), "EdHost")->placeholderText(), placeholder);
    // The default text, an empty and a blank name.
    for (const QString& host : { placeholder, QString(), QStringLiteral("   ") }) {
        SCOPED_TRACE(host.toStdString());
        auto window = MakeWindow({ "/su" });
        Find<QLineEdit>(*window, "EdHost")->setText(host);
        testing::internal::CaptureStderr();
        window->show();
        EXPECT_NE(QString::fromLocal8Bit(testing::internal::GetCapturedStderr()).indexOf(skipped), -1);
        EXPECT_TRUE(window->IsClosed());
        EXPECT_TRUE(dialogs_.shown.empty());
        EXPECT_EQ(Log(*window), skipped);
        EXPECT_TRUE(Exists("kabegami.bmp"));
        std::filesystem::remove(Folder() / "kabegami.bmp");
    }

    // A click on the receive button still tries, and reports the failure.
    auto window = MakeWindow();
    Find<QLineEdit>(*window, "EdHost")->setText(placeholder);
    Find<QPushButton>(*window, "BtnReceive")->click();
    ASSERT_EQ(dialogs_.Errors().size(), 1);
    EXPECT_TRUE(platform::ToSjis(dialogs_.Errors()[0]).starts_with(Sjis("Socket エラー # 11001\r\n")))
        << dialogs_.Errors()[0].toStdString();
    EXPECT_NE(Log(*window), skipped);
}

// At logon the run goes on trying while the network comes up; a click tries
// once and names the server it could not reach.
TEST_F(GuiReception, LogonRunWaitsForTheNetworkAClickDoesNot)
{
    logonNetworkWaitMs_ = 6000;
    const QString retry = QString::fromUtf8("接続できませんでした。1 秒後にもう一度試します: ");
    const int port = mailtest::UnusedLoopbackPort();
    auto clicked = MakeWindow();
    PointAt(*clicked, port);
    Find<QPushButton>(*clicked, "BtnReceive")->click();
    ASSERT_EQ(dialogs_.Errors().size(), 1);
    EXPECT_TRUE(dialogs_.Errors()[0].endsWith(QStringLiteral(" (127.0.0.1:%1)").arg(port)));
    EXPECT_FALSE(Log(*clicked).contains(retry));
    // One run at a time on the folder: the first window goes before the
    // logon run starts.
    clicked.reset();

    std::optional<FakePop3Server> server;
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        server.emplace(OneMemoMail(), FakePop3Server::After::Listen, FakePop3Server::kNoCapa, port);
    });
    auto window = MakeWindow({ "/su" });
    PointAt(*window, port);
    window->show();
    late.join();
    EXPECT_TRUE(window->IsClosed());
    EXPECT_EQ(dialogs_.Errors().size(), 1);
    EXPECT_EQ(ReadFile("memo.txt"), "buy milk\r\n");
    EXPECT_TRUE(Log(*window).contains(retry)) << Log(*window).toStdString();
}

} // namespace
