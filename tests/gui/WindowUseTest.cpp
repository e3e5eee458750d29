// The window as a user meets it: where the highlight and the keyboard are
// after the row buttons, the grid's corner, captions that fit, Qt's own
// dialogs in Japanese, and the about page's link.

#include "UrlCatcher.h"
#include "WindowFixture.h"
#include "gui/QtTranslations.h"
#include "platform/SjisText.h"
#include "schedule/TScheduleTable.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTranslator>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace {

class GuiWindowUse : public WindowFixture {
protected:
    // The window shown and active on the schedule page, with dates A, B, C
    // in the first three rows of a grid of `rowCount` rows: 10 for a new
    // table, 21 for a loaded one.
    void OpenSchedule(int rowCount)
    {
        // Each window starts from its own schedule file, not from the last one's.
        window_.reset();
        std::filesystem::remove(Folder() / "schedule.txt");
        if (rowCount > 10) {
            WriteFile("schedule.txt", "\"\",\"\",\"\"\r\n");
        }
        window_ = MakeWindow();
        grid_ = Find<QTableView>(*window_, "StringGrid1");
        QAbstractItemModel* model = grid_->model();
        ASSERT_EQ(model->rowCount() + 1, rowCount);
        for (const auto& [row, text] : { std::pair { 1, "A" }, { 2, "B" }, { 3, "C" } }) {
            model->setData(model->index(row - 1, 0), QString::fromLatin1(text));
        }
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        Find<QTabWidget>(*window_, "PageControl1")->setCurrentIndex(2);
    }

    // Clicks the date cell of a grid row, as a user selects an entry.
    void ClickRow(int row)
    {
        const QModelIndex index = grid_->model()->index(row - 1, 0);
        grid_->scrollTo(index);
        const bool wasCurrent = grid_->currentIndex() == index;
        QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, grid_->visualRect(index).center());
        // A click on the current cell opens its editor once a double click
        // can no longer follow.
        if (wasCurrent) {
            QTest::qWait(QApplication::doubleClickInterval() + 50);
        }
    }

    std::unique_ptr<gui::TForm1> window_;
    QTableView* grid_ = nullptr;
};

TEST_F(GuiWindowUse, HighlightKeyboardAndButtonsStayOnTheSameRow)
{
    struct Case {
        const char* button;
        int rowCount;
        int clickedRow;
        int currentRow; // the grid row the buttons act on afterwards
        std::vector<std::pair<int, const char*>> datesAfterTyping;
    };
    const std::vector<Case> cases = {
        // The new blank row stays current; the entry moves down.
        { "BtnScIns", 10, 2, 2, { { 1, "A" }, { 2, "x" }, { 3, "B" }, { 4, "C" } } },
        // The row below moves into the current row, which stays put.
        { "BtnScDel", 21, 2, 2, { { 1, "A" }, { 2, "x" }, { 3, "" } } },
        // Deleting the last row leaves the new last row current.
        { "BtnScDel", 21, 20, 19, { { 1, "A" }, { 2, "B" }, { 19, "x" } } },
        // The moved entry stays current.
        { "BtnScUp", 10, 2, 1, { { 1, "x" }, { 2, "A" }, { 3, "C" } } },
        { "BtnScDown", 10, 2, 3, { { 1, "A" }, { 2, "C" }, { 3, "x" } } },
        // At the top nothing moves, and nothing else does either.
        { "BtnScUp", 10, 1, 1, { { 1, "x" }, { 2, "B" }, { 3, "C" } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " on row " + std::to_string(c.clickedRow));
        OpenSchedule(c.rowCount);
        ClickRow(c.clickedRow);
        ASSERT_EQ(grid_->currentIndex().row() + 1, c.clickedRow);
        Find<QPushButton>(*window_, c.button)->click();
        QTest::qWait(0);

        EXPECT_EQ(grid_->currentIndex().row() + 1, c.currentRow);
        EXPECT_EQ(grid_->selectionModel()->selectedIndexes(), QModelIndexList { grid_->currentIndex() });
        // The whole current row is drawn highlighted, not only its cell
        // under the editor: its empty text cell differs from another row's.
        const QImage shown = grid_->viewport()->grab().toImage();
        const auto textCell = [&](int row) {
            return shown.pixel(grid_->visualRect(grid_->model()->index(row - 1, 1)).center());
        };
        EXPECT_NE(textCell(c.currentRow), textCell(c.currentRow == 4 ? 5 : 4));

        // What the user types goes into the highlighted row: to its open
        // editor, or to the grid, which opens the editor with the key.
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus == grid_ || grid_->isAncestorOf(focus));
        QTest::keyClicks(focus, QStringLiteral("x"));

        for (const auto& [row, date] : c.datesAfterTyping) {
            EXPECT_EQ(window_->Schedule()->Entries()[static_cast<std::size_t>(row - 1)].date, date)
                << "row " << row;
        }
        window_.reset();
    }
}

TEST_F(GuiWindowUse, EscGivesTheCellItsTextBack)
{
    OpenSchedule(10);
    ClickRow(1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("zz"));
    ASSERT_NE(window_->Schedule()->Entries()[0].date, "A");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(window_->Schedule()->Entries()[0].date, "A");
    EXPECT_EQ(grid_->model()->index(0, 0).data().toString(), QStringLiteral("A"));
}

TEST_F(GuiWindowUse, CornerCellReadsNo)
{
    OpenSchedule(10);
    auto* corner = grid_->findChild<QAbstractButton*>();
    ASSERT_NE(corner, nullptr);
    EXPECT_EQ(corner->text(), QStringLiteral("No"));
    EXPECT_TRUE(corner->isVisible());
    EXPECT_EQ(corner->width(), grid_->verticalHeader()->width());
    // The caption is drawn, not only held.
    const QImage withText = corner->grab().toImage();
    corner->setText(QString());
    EXPECT_NE(corner->grab().toImage(), withText);
}

// Every caption leaves room on both sides of its button with the Japanese
// fonts a Debian desktop has.
TEST_F(GuiWindowUse, CaptionsFitTheirButtons)
{
    ASSERT_TRUE(QFontDatabase::families().contains(QStringLiteral("IPAGothic")));
    constexpr int kSideRoom = 4;
    auto window = MakeWindow();
    const auto buttons = window->findChildren<QPushButton*>();
    ASSERT_GE(buttons.size(), 8);
    for (const QPushButton* button : buttons) {
        const int text = button->fontMetrics().horizontalAdvance(button->text());
        EXPECT_LE(text + 2 * kSideRoom, button->width())
            << button->objectName().toStdString() << ": " << button->text().toStdString();
    }
}

TEST_F(GuiWindowUse, StockDialogsSpeakJapanese)
{
    ASSERT_TRUE(gui::InstallQtTranslations(*QCoreApplication::instance()));
    QMessageBox question(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    QMessageBox error(QMessageBox::Critical, QString(), QString(), QMessageBox::Ok | QMessageBox::Cancel);
    const std::vector<std::pair<QString, QString>> shown = {
        { question.button(QMessageBox::Yes)->text(), QStringLiteral("&Yes") },
        { question.button(QMessageBox::No)->text(), QStringLiteral("&No") },
        { error.button(QMessageBox::Cancel)->text(), QStringLiteral("Cancel") },
        { QColorDialog().windowTitle(), QStringLiteral("Select Color") },
        { QCoreApplication::translate("QColorDialog", "&Basic colors"), QStringLiteral("&Basic colors") },
    };
    for (const auto& [text, english] : shown) {
        EXPECT_NE(text, english);
        EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x3000; }))
            << text.toStdString();
    }
    for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

TEST_F(GuiWindowUse, SupportLinkOpensThePageOrSaysWhyNot)
{
    const std::string docs = (Folder().parent_path() / "share/doc/corkpane/guide/index.html").string();
    WriteFile("guide.md", "guide");
    struct Case {
        std::string page; // as configured; empty for the default
        bool handler; // a handler for the address's kind is there
        QString caption;
        bool opened;
    };
    const std::vector<Case> cases = {
        { "https://corkpane.example.org/", true, QStringLiteral("https://corkpane.example.org/"), true },
        { (Folder() / "guide.md").string(), true, QString::fromStdString((Folder() / "guide.md").string()),
            true },
        // Nothing can open web pages here (no desktop, no handler).
        { "https://corkpane.example.org/", false, QStringLiteral("https://corkpane.example.org/"), false },
        // The installed documentation is the default; a document that is
        // not there is not handed on.
        { "", true, QString::fromStdString(docs), false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        dialogs_.shown.clear();
        supportPage_ = c.page;
        auto window = MakeWindow();
        auto* link = Find<QLabel>(*window, "LbUrl");
        EXPECT_EQ(link->text(), c.caption);
        std::optional<UrlCatcher> catcher;
        if (c.handler) {
            catcher.emplace();
        }
        QTest::mouseClick(link, Qt::LeftButton);
        if (catcher) {
            EXPECT_EQ(catcher->opened.size(), c.opened ? 1 : 0);
        }
        if (c.opened) {
            EXPECT_TRUE(dialogs_.shown.empty());
            EXPECT_EQ(catcher->opened.value(0).isLocalFile() ? catcher->opened.value(0).toLocalFile()
                                                             : catcher->opened.value(0).toString(),
                c.caption);
            continue;
        }
        ASSERT_EQ(dialogs_.shown.size(), 1U);
        EXPECT_EQ(dialogs_.shown[0].kind, QStringLiteral("message"));
        EXPECT_EQ(
            dialogs_.shown[0].text, QString::fromUtf8("利用ガイドを開けませんでした。\r\n") + c.caption);
    }
}

} // namespace

namespace {

TEST_F(GuiWindowUse, CalendarPageKeepsUsableAddressesAndTheDrawSaysWhichFailed)
{
    WriteFile("family.ics",
        "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:a\r\nDTSTART;VALUE=DATE:20261209\r\nSUMMARY:x\r\nEND:"
        "VEVENT\r\n"
        "END:VCALENDAR\r\n");
    const QString family = QString::fromStdString((Folder() / "family.ics").string());
    auto window = MakeWindow();
    auto* list = Find<QListWidget>(*window, "LbCalendars");
    auto* address = Find<QLineEdit>(*window, "EdCalendar");
    auto add = [&](const QString& text) {
        address->setText(text);
        Find<QPushButton>(*window, "BtnCalAdd")->click();
    };
    // Added once; an address the draw would refuse is said and not added.
    add(family);
    add(family);
    add(QStringLiteral("http://calendar.example.com/c.ics"));
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), family);
    ASSERT_EQ(dialogs_.shown.size(), 1U);
    EXPECT_TRUE(dialogs_.shown[0].text.contains(QStringLiteral("https://")));
    EXPECT_EQ(address->text(), QStringLiteral("http://calendar.example.com/c.ics"));

    // The check reads the chosen calendar and says how many events it holds.
    address->clear();
    list->setCurrentRow(0);
    Find<QPushButton>(*window, "BtnCalCheck")->click();
    ASSERT_EQ(dialogs_.shown.size(), 2U);
    EXPECT_TRUE(dialogs_.shown[1].text.endsWith(QString::fromUtf8("の予定は 1 件です。")))
        << dialogs_.shown[1].text.toStdString();

    // A calendar that has gone is named after the draw, which still happens.
    add(QString::fromStdString((Folder() / "gone.ics").string()));
    Find<QPushButton>(*window, "BtnDraw")->click();
    ASSERT_EQ(dialogs_.shown.size(), 3U);
    EXPECT_TRUE(dialogs_.shown[2].text.startsWith(QString::fromUtf8("カレンダー「2: ")))
        << dialogs_.shown[2].text.toStdString();
    EXPECT_TRUE(Exists("kabegami.bmp"));

    // Removing one and closing keeps the rest, numbered from the first key.
    list->setCurrentRow(0);
    Find<QPushButton>(*window, "BtnCalDel")->click();
    EXPECT_TRUE(window->close());
    EXPECT_NE(
        ReadFile("corkpane.ini").find("CalendarURL1=" + (Folder() / "gone.ics").string()), std::string::npos);
    EXPECT_EQ(ReadFile("corkpane.ini").find("CalendarURL2"), std::string::npos);
}

} // namespace
