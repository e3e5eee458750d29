// Text the user does not change goes back to the files with the bytes it was
// read with, also where code page 932 has two codes for a character
// (NEC-selected extensions such as EE EF, which plain encoding writes as
// their IBM twins FA 40) and for bytes that are no character.

#include "WindowFixture.h"
#include "platform/SjisText.h"
#include "schedule/TScheduleTable.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>

namespace {

class GuiKeptBytes : public WindowFixture { };

// ⅰ as NEC-selected code, 﨑 and 髙 likewise; the bytes a plain encoding
// gives for them are FA 40, FA B1 and FB FC.
const std::string kNecSelected = "\xEE\xEF\xED\x95\xEE\xE0";
const std::string kMemo = "plain\r\n" + kNecSelected + " memo\r\n\x80 raw \x83\r\n\r\nlast " + kNecSelected;
const std::string kSchedule = "\"\",\"4/1\",\"" + kNecSelected + "\"\r\n";

TEST_F(GuiKeptBytes, UntouchedMemoSettingsAndScheduleKeepTheirBytesThroughEveryRun)
{
    WriteFile("schedule.txt", kSchedule);
    {
        auto window = MakeWindow();
        app::Settings settings = window->CollectSettings();
        settings.EdTitle = kNecSelected;
        settings.EdKeyWord1 = "\xEE\xEF";
        settings.RgReceive = 1; // no reception in the unattended run
        window->ApplySettings(settings);
        window->SetMemoText(kMemo);
        ASSERT_EQ(platform::ToSjis(Find<QLineEdit>(*window, "EdTitle")->text()), "\xFA\x40\xFA\xB1\xFB\xFC");
        EXPECT_EQ(window->MemoText(), kMemo);
        const app::Settings collected = window->CollectSettings();
        EXPECT_EQ(collected.EdTitle, kNecSelected);
        EXPECT_EQ(collected.EdKeyWord1, "\xEE\xEF");
        EXPECT_TRUE(window->close());
    }
    EXPECT_EQ(ReadFile("memo.txt"), kMemo);
    const std::string ini = ReadFile("corkpane.ini");
    EXPECT_NE(ini.find("=" + kNecSelected + "\r\n"), std::string::npos) << ini;

    // The unattended run reads, draws and writes everything back unchanged.
    {
        auto window = MakeWindow({ "/su" });
        window->show();
        ASSERT_TRUE(window->IsClosed());
    }
    EXPECT_EQ(ReadFile("memo.txt"), kMemo);
    EXPECT_EQ(ReadFile("corkpane.ini"), ini);
    EXPECT_EQ(ReadFile("schedule.txt"), kSchedule);
    EXPECT_TRUE(dialogs_.Errors().isEmpty()) << dialogs_.Errors().join('\n').toStdString();
}

TEST_F(GuiKeptBytes, OnlyWhatTheUserChangedIsEncodedAnew)
{
    WriteFile("schedule.txt", kSchedule + kSchedule);
    auto window = MakeWindow();
    window->SetMemoText(kMemo);
    app::Settings settings = window->CollectSettings();
    settings.EdTitle = kNecSelected;
    settings.EdKeyWord2 = kNecSelected;
    settings.LBoxSetuzokuSaki = { "\xED\x95", "server" };
    window->ApplySettings(settings);

    // An editor handing back the text it was given keeps the cell's bytes;
    // an edited cell is encoded as Windows would.
    auto* grid = Find<QTableView>(*window, "StringGrid1");
    QAbstractItemModel* model = grid->model();
    model->setData(model->index(0, 1), model->index(0, 1).data());
    model->setData(model->index(1, 1), model->index(1, 1).data().toString() + QStringLiteral("!"));
    EXPECT_EQ(window->Schedule()->Entries()[0].text, kNecSelected);
    EXPECT_EQ(window->Schedule()->Entries()[1].text, "\xFA\x40\xFA\xB1\xFB\xFC!");

    // One memo line edited: that line only is encoded anew, and a line
    // moved elsewhere keeps its bytes.
    auto* memo = window->findChild<QPlainTextEdit*>(QStringLiteral("MmMemo"));
    ASSERT_NE(memo, nullptr);
    QStringList lines = memo->toPlainText().split(QChar('\n'));
    lines[0] += QStringLiteral("!");
    lines.move(1, 4);
    lines[1] += QStringLiteral("?");
    memo->setPlainText(lines.join(QChar('\n')));
    EXPECT_EQ(window->MemoText(),
        "plain!\r\n\x80 raw \x83?\r\n\r\nlast " + kNecSelected + "\r\n" + kNecSelected + " memo");

    auto* keyword = Find<QLineEdit>(*window, "EdKeyWord2");
    keyword->setText(keyword->text() + QStringLiteral("x"));
    const app::Settings collected = window->CollectSettings();
    EXPECT_EQ(collected.EdTitle, kNecSelected);
    EXPECT_EQ(collected.EdKeyWord2, "\xFA\x40\xFA\xB1\xFB\xFCx");
    EXPECT_EQ(collected.LBoxSetuzokuSaki, settings.LBoxSetuzokuSaki);
}

} // namespace
