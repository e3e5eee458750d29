#include "gui/TForm1.h"

#include "app/DrawSettingsFromSettings.h"
#include "app/ReceiveConfigFromSettings.h"
#include "app/SettingsKey.h"
#include "app/SettingsStore.h"
#include "app/TableScheduleSource.h"
#include "gui/ColourSwatch.h"
#include "gui/CornerCaption.h"
#include "gui/Dialogs.h"
#include "gui/GridEditDelegate.h"
#include "gui/LinkLabel.h"
#include "gui/MemoEditor.h"
#include "gui/RadioGroup.h"
#include "gui/ScheduleGridModel.h"
#include "gui/ShortcutMaker.h"
#include "gui/Texts.h"
#include "jconvert/cp932.h"
#include "mail/ReceiveRun.h"
#include "mail/ReceiveWindow.h"
#include "platform/CommandRunner.h"
#include "platform/Desktop.h"
#include "platform/RedrawTimer.h"
#include "platform/SjisText.h"
#include "platform/SystemErrorText.h"
#include "platform/UserFolders.h"
#include "render/Kabegami.h"
#include "schedule/TScheduleTable.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <new>
#include <optional>
#include <stdexcept>

namespace gui {
namespace {

// The reception log's line when an unattended start skips reception
// because no mail server was ever entered.
constexpr std::string_view kReceiveSkipped = "サーバー名が設定されていないため、メール受信を省略しました。";
// Shown with the address when nothing could open the support page.
constexpr std::string_view kSupportPageFailed = "「Corkpane」サポートページを開けませんでした。";

// Where the draw button sits on each of the pages that carry it.
constexpr int kDrawLeft = 408;
constexpr int kDrawTop = 295;

QString Q(std::string_view sjis)
{
    return platform::FromSjis(sjis);
}

// The status bar shows the part of a hint after its bar; the part before it
// (always empty here) would be a tool tip.
void SetHint(QWidget* widget, std::string_view hint)
{
    const QString text = Q(hint);
    const qsizetype bar = text.indexOf(QChar('|'));
    widget->setStatusTip(bar < 0 ? text : text.mid(bar + 1));
    widget->setToolTip(bar < 0 ? text : text.left(bar));
}

// A push button that takes no keyboard focus.
QPushButton* SpeedButton(QWidget* parent, const char* name, std::string_view caption, QRect geometry)
{
    auto* button = new QPushButton(Q(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(geometry);
    return button;
}

// A one-line edit with its caption label on its left.
QLineEdit* LabelledEdit(QWidget* parent, const char* name, std::string_view label, const QString& text,
    int left, int top, int labelWidth, int editWidth)
{
    auto* caption = new QLabel(Q(label), parent);
    caption->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
    caption->setGeometry(left, top, labelWidth, 21);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(left + labelWidth + 4, top, editWidth, 21);
    caption->setBuddy(edit);
    return edit;
}

QLabel* PlainLabel(QWidget* parent, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

QGroupBox* Group(QWidget* parent, const char* name, std::string_view title, QRect geometry)
{
    auto* group = new QGroupBox(Q(title), parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(geometry);
    return group;
}

RadioGroup* Radios(QWidget* parent, const char* name, std::string_view title, const QStringList& items,
    int columns, int index, QRect geometry)
{
    auto* group = new RadioGroup(Q(title), items, columns, parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(geometry);
    group->SetItemIndex(index);
    return group;
}

QCheckBox* Check(QWidget* parent, const char* name, std::string_view caption, bool ticked, QRect geometry)
{
    auto* box = new QCheckBox(Q(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(ticked);
    box->setGeometry(geometry);
    return box;
}

// What a reception run sees of the window: the receive button, the log
// and the memo.
class FormReceiveWindow : public mail::ReceiveWindow {
public:
    FormReceiveWindow(QPushButton& button, QPlainTextEdit& log, MemoEditor& memo)
        : button_(button)
        , log_(log)
        , memo_(memo)
    {
    }
    void SetReceiveEnabled(bool enabled) override { button_.setEnabled(enabled); }
    void AddLogLine(const std::string& line) override { log_.appendPlainText(platform::FromSjis(line)); }
    std::string MemoText() const override { return memo_.SjisText(); }
    void AppendMemoLines(const std::string& text) override { memo_.AppendSjisLines(text); }

private:
    QPushButton& button_;
    QPlainTextEdit& log_;
    MemoEditor& memo_;
};

// The project's own page when the build names one, otherwise the
// documentation installed beside the program (<prefix>/share/doc/corkpane).
QUrl SupportUrl(const FormEnvironment& environment)
{
    std::string address = environment.supportPage;
    if (address.empty()) {
        address = CORKPANE_HOME_PAGE;
    }
    if (address.empty()) {
        const std::filesystem::path prefix = environment.programPath.parent_path().parent_path();
        address = (prefix / "share" / "doc" / "corkpane" / "README.md").lexically_normal().string();
    }
    const QString text = QString::fromStdString(address);
    return text.contains(QStringLiteral("://")) ? QUrl(text)
                                                : QUrl::fromLocalFile(QFile::decodeName(address.c_str()));
}

} // namespace

TForm1::TForm1(FormEnvironment environment, QWidget* parent)
    : QMainWindow(parent)
    , env_(std::move(environment))
    , lastColour_(Qt::black)
{
    if (env_.dialogs == nullptr || env_.desktop == nullptr || !env_.clock) {
        throw std::invalid_argument("TForm1 needs its dialogs, desktop and clock");
    }
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Q(texts::kFormCaption));
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
        grid_,
        [this](int col, int row, std::string text) { StringGrid1SetEditText(col, row, std::move(text)); },
        this);

    BuildReceivePage();
    BuildMemoPage();
    BuildSchedulePage();
    BuildSettingsPage();
    BuildMailPage();
    BuildAboutPage();

    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::TabMemoShow);

    // The password is empty until the settings are read.
    password_.clear();
    FormCreate();
}

TForm1::~TForm1()
{
    // The grid view and its model go before the table's last save so that
    // nothing observes the grid while it is torn down.
    delete StringGrid1;
    StringGrid1 = nullptr;
    delete gridModel_;
    gridModel_ = nullptr;
}

void TForm1::BuildReceivePage()
{
    TabJusin = new QWidget;
    TabJusin->setObjectName(QStringLiteral("TabJusin"));
    MmLog = new QPlainTextEdit(TabJusin);
    MmLog->setObjectName(QStringLiteral("MmLog"));
    MmLog->setGeometry(3, 3, 480, 285);
    MmLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    MmLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont logFont(QStringLiteral("Tahoma"));
    logFont.setPixelSize(15);
    MmLog->setFont(logFont);
    BtnReceive = SpeedButton(TabJusin, "BtnReceive", texts::kBtnReceive, QRect(3, 295, 90, 22));
    connect(BtnReceive, &QPushButton::clicked, this, &TForm1::BtnReceiveClick);
    PageControl1->addTab(TabJusin, Q(texts::kTabJusin));
}

void TForm1::BuildMemoPage()
{
    TabMemo = new QWidget;
    TabMemo->setObjectName(QStringLiteral("TabMemo"));
    MmMemo = new MemoEditor(TabMemo);
    MmMemo->setObjectName(QStringLiteral("MmMemo"));
    MmMemo->setGeometry(3, 3, 480, 285);
    PageControl1->addTab(TabMemo, Q(texts::kTabMemo));
}

void TForm1::BuildSchedulePage()
{
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    StringGrid1 = new QTableView(TabSheet2);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setGeometry(3, 0, 480, 281);
    StringGrid1->setModel(gridModel_);
    StringGrid1->setItemDelegate(new GridEditDelegate(StringGrid1));
    StringGrid1->setEditTriggers(QAbstractItemView::AllEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setShowGrid(true);
    StringGrid1->setWordWrap(false);
    StringGrid1->horizontalHeader()->setSectionsClickable(false);
    StringGrid1->horizontalHeader()->setHighlightSections(false);
    StringGrid1->horizontalHeader()->setMinimumSectionSize(8);
    StringGrid1->verticalHeader()->setSectionsClickable(false);
    StringGrid1->verticalHeader()->setDefaultSectionSize(22);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetHint(StringGrid1, texts::kHintGrid);

    // The grid's column widths and current cell drive the view.
    connect(gridModel_, &ScheduleGridModel::columnWidthChanged, this, [this](int col, int width) {
        if (col == 0) {
            StringGrid1->verticalHeader()->setFixedWidth(width);
        } else {
            StringGrid1->setColumnWidth(col - 1, width);
        }
    });
    connect(gridModel_, &ScheduleGridModel::currentCellChanged, this, [this] { SyncGridCurrentCell(); });
    // The fixed corner cell shows the grid's cell 0,0 ("No") like the other
    // headers; a click on it selects nothing, as on any fixed cell.
    if (auto* corner = StringGrid1->findChild<QAbstractButton*>()) {
        StringGrid1->setCornerButtonEnabled(false);
        CornerCaption::Install(corner);
        connect(gridModel_, &QAbstractItemModel::headerDataChanged, corner,
            [this, corner] { corner->setText(platform::FromSjis(grid_.Cell(0, 0))); });
        corner->setText(platform::FromSjis(grid_.Cell(0, 0)));
    }
    connect(StringGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex& current) {
            if (current.isValid() && !gridModel_->ChangingRows()) {
                grid_.SetCurrentCell(current.column() + 1, current.row() + 1);
            }
        });
    StringGrid1->verticalHeader()->setFixedWidth(grid_.ColWidth(0));
    for (int col = 1; col < grid_.ColCount(); ++col) {
        StringGrid1->setColumnWidth(col - 1, grid_.ColWidth(col));
    }

    BtnScDel = SpeedButton(TabSheet2, "BtnScDel", texts::kBtnScDel, QRect(0, 295, 52, 22));
    BtnScIns = SpeedButton(TabSheet2, "BtnScIns", texts::kBtnScIns, QRect(128, 296, 52, 22));
    BtnScUp = SpeedButton(TabSheet2, "BtnScUp", texts::kBtnScUp, QRect(186, 296, 23, 22));
    BtnScDown = SpeedButton(TabSheet2, "BtnScDown", texts::kBtnScDown, QRect(215, 296, 23, 22));
    BtnScCheck = SpeedButton(TabSheet2, "BtnScCheck", texts::kBtnScCheck, QRect(336, 296, 60, 22));
    SetHint(BtnScCheck, texts::kHintCheck);
    connect(BtnScDel, &QPushButton::clicked, this, &TForm1::BtnScDelClick);
    connect(BtnScIns, &QPushButton::clicked, this, &TForm1::BtnScInsClick);
    connect(BtnScUp, &QPushButton::clicked, this, &TForm1::BtnScUpClick);
    connect(BtnScDown, &QPushButton::clicked, this, &TForm1::BtnScDownClick);
    connect(BtnScCheck, &QPushButton::clicked, this, &TForm1::BtnScCheckClick);
    PageControl1->addTab(TabSheet2, Q(texts::kTabSchedule));
}

void TForm1::BuildSettingsPage()
{
    TabSettei = new QWidget;
    TabSettei->setObjectName(QStringLiteral("TabSettei"));
    const app::Settings defaults;

    QGroupBox* memo = Group(TabSettei, "GroupBox3", texts::kGroupMemo, QRect(3, 0, 300, 290));
    EdMojiSu = LabelledEdit(
        memo, "EdMojiSu", texts::kLbMojiSu, platform::FromSjis(defaults.EdMojiSu), 4, 18, 76, 40);
    EdGyosu = LabelledEdit(
        memo, "EdGyosu", texts::kLbGyosu, platform::FromSjis(defaults.EdGyosu), 150, 18, 76, 40);
    EdFontSize = LabelledEdit(
        memo, "EdFontSize", texts::kLbFontSize, platform::FromSjis(defaults.EdFontSize), 4, 44, 76, 40);
    EdGyokan = LabelledEdit(
        memo, "EdGyokan", texts::kLbGyokan, platform::FromSjis(defaults.EdGyokan), 150, 44, 76, 40);
    EdUeYohaku = LabelledEdit(
        memo, "EdUeYohaku", texts::kLbUeYohaku, platform::FromSjis(defaults.EdUeYohaku), 4, 70, 76, 40);
    EdMigiYohaku = LabelledEdit(memo, "EdMigiYohaku", texts::kLbMigiYohaku,
        platform::FromSjis(defaults.EdMigiYohaku), 150, 70, 76, 40);

    PlainLabel(memo, Q(texts::kLbMojiIroCaption), QRect(4, 98, 76, 24))
        ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LbMojiIro = new ColourSwatch(defaults.LbMojiIro, memo);
    LbMojiIro->setObjectName(QStringLiteral("LbMojiIro"));
    LbMojiIro->move(84, 98);
    PlainLabel(memo, Q(texts::kLbKageIroCaption), QRect(150, 98, 76, 24))
        ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LbKageIro = new ColourSwatch(defaults.LbKageIro, memo);
    LbKageIro->setObjectName(QStringLiteral("LbKageIro"));
    LbKageIro->move(230, 98);
    connect(LbMojiIro, &ColourSwatch::clicked, this, [this] { LbMojiIroClick(LbMojiIro); });
    connect(LbKageIro, &ColourSwatch::clicked, this, [this] { LbMojiIroClick(LbKageIro); });

    RgKage = Radios(memo, "RgKage", texts::kRgKage,
        { Q(texts::kKageNone), Q(texts::kKageShadow), Q(texts::kKageOutline) }, 3, defaults.RgKage,
        QRect(6, 128, 288, 44));
    RgTitle = Radios(memo, "RgTitle", texts::kRgTitle, { Q(texts::kTitleItem0), Q(texts::kTitleItem1) }, 1,
        defaults.RgTitle, QRect(6, 176, 288, 70));
    // The title edit lies over the blank start of the first item.
    EdTitle = new QLineEdit(platform::FromSjis(defaults.EdTitle), RgTitle);
    EdTitle->setObjectName(QStringLiteral("EdTitle"));
    EdTitle->setGeometry(30, 20, 140, 21);
    EdTitle->raise();
    ChShowMemo = Check(memo, "ChShowMemo", texts::kChShowMemo, defaults.ChShowMemo, QRect(10, 252, 200, 22));

    QGroupBox* background = Group(TabSettei, "GroupBox4", texts::kGroupHaikei, QRect(308, 0, 176, 96));
    EdRitu = new QLineEdit(platform::FromSjis(defaults.EdRitu), background);
    EdRitu->setObjectName(QStringLiteral("EdRitu"));
    EdRitu->setGeometry(10, 20, 40, 21);
    PlainLabel(background, QStringLiteral("%"), QRect(54, 20, 20, 21));
    RgHaikei = Radios(background, "RgHaikei", texts::kRgHaikei,
        { Q(texts::kHaikeiWhite), Q(texts::kHaikeiBlack), QStringLiteral("OFF") }, 3, defaults.RgHaikei,
        QRect(6, 46, 164, 44));

    QGroupBox* schedule = Group(TabSettei, "GroupBox5", texts::kGroupSchedule, QRect(308, 100, 176, 190));
    PlainLabel(schedule, Q(texts::kLbHyojibi), QRect(84, 16, 60, 18));
    EdScW = LabelledEdit(schedule, "EdScW", texts::kLbScW, platform::FromSjis(defaults.EdScW), 4, 36, 70, 40);
    EdScM = LabelledEdit(schedule, "EdScM", texts::kLbScM, platform::FromSjis(defaults.EdScM), 4, 62, 70, 40);
    EdScY = LabelledEdit(schedule, "EdScY", texts::kLbScY, platform::FromSjis(defaults.EdScY), 4, 88, 70, 40);
    EdScD
        = LabelledEdit(schedule, "EdScD", texts::kLbScD, platform::FromSjis(defaults.EdScD), 4, 114, 70, 40);
    ChScMemo = Check(schedule, "ChScMemo", texts::kChScMemo, defaults.ChScMemo, QRect(10, 142, 160, 20));
    ChScCal = Check(schedule, "ChScCal", texts::kChScCal, defaults.ChScCal, QRect(10, 164, 160, 20));
    ChScCal->setVisible(false);

    // The draw button starts on this page (its place in the window
    // description) and follows the memo, schedule and settings pages.
    BtnDraw = SpeedButton(TabSettei, "BtnDraw", texts::kBtnDraw, QRect(kDrawLeft, kDrawTop, 72, 22));
    connect(BtnDraw, &QPushButton::clicked, this, &TForm1::BtnDrawClick);
    PageControl1->addTab(TabSettei, Q(texts::kTabSettei));
}

void TForm1::BuildMailPage()
{
    TabMail = new QWidget;
    TabMail->setObjectName(QStringLiteral("TabMail"));
    const app::Settings defaults;

    QGroupBox* account = Group(TabMail, "GroupBox1", texts::kGroupPop3, QRect(3, 0, 480, 140));
    LBoxSetuzokuSaki = new QListWidget(account);
    LBoxSetuzokuSaki->setObjectName(QStringLiteral("LBoxSetuzokuSaki"));
    LBoxSetuzokuSaki->setGeometry(8, 20, 120, 110);
    for (const std::string& entry : defaults.LBoxSetuzokuSaki) {
        LBoxSetuzokuSaki->addItem(platform::FromSjis(entry));
    }
    EdHost = LabelledEdit(
        account, "EdHost", texts::kLbHost, platform::FromSjis(defaults.EdHost), 136, 20, 70, 250);
    EdUser = LabelledEdit(
        account, "EdUser", texts::kLbUser, platform::FromSjis(defaults.EdUser), 136, 47, 70, 250);
    EdPW = LabelledEdit(account, "EdPW", texts::kLbPW, Q(texts::kPasswordPlaceholder), 136, 74, 70, 250);
    // Masked on screen; the text itself is what the change rule reads.
    EdPW->setEchoMode(QLineEdit::Password);
    EdPort = LabelledEdit(
        account, "EdPort", texts::kLbPort, platform::FromSjis(defaults.EdPort), 136, 101, 70, 60);
    connect(EdPW, &QLineEdit::textChanged, this, &TForm1::EdPWChange);

    QGroupBox* keywords = Group(TabMail, "GroupBox2", texts::kGroupKeyword, QRect(3, 146, 480, 80));
    EdKeyWord1 = LabelledEdit(
        keywords, "EdKeyWord1", texts::kLbKeyWord1, platform::FromSjis(defaults.EdKeyWord1), 8, 20, 80, 200);
    EdKeyWord2 = LabelledEdit(
        keywords, "EdKeyWord2", texts::kLbKeyWord2, platform::FromSjis(defaults.EdKeyWord2), 8, 48, 80, 200);

    RgReceive = Radios(TabMail, "RgReceive", texts::kRgReceive,
        { Q(texts::kReceiveYes), Q(texts::kReceiveNo) }, 2, defaults.RgReceive, QRect(3, 232, 230, 48));
    RgSecurity = Radios(TabMail, "RgSecurity", texts::kRgSecurity,
        { Q(texts::kKageNone), QStringLiteral("STARTTLS"), QStringLiteral("SSL/TLS") }, 3,
        defaults.RgSecurity, QRect(238, 232, 245, 48));
    for (int i = 0; i < RgSecurity->Count(); ++i) {
        connect(RgSecurity->Button(i), &QRadioButton::clicked, this, [this, i] { RgSecurityClick(i); });
    }
    ChMimeKaidoku = Check(
        TabMail, "ChMimeKaidoku", texts::kChMimeKaidoku, defaults.ChMimeKaidoku, QRect(8, 286, 300, 22));
    PageControl1->addTab(TabMail, Q(texts::kTabMail));
}

void TForm1::BuildAboutPage()
{
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));

    auto* panel = new QLabel(QString::fromLatin1(texts::kPanel1), TabSheet1);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(2);
    panel->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    panel->setMargin(8);
    QFont panelFont = panel->font();
    panelFont.setPixelSize(16);
    panel->setFont(panelFont);
    panel->setGeometry(20, 14, 448, 110);

    auto* title = new QLabel(Q(texts::kAppTitle), panel);
    title->setObjectName(QStringLiteral("Label2"));
    QFont titleFont(Q(texts::kAboutFont));
    titleFont.setPixelSize(40);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    title->setGeometry(4, 14, 440, 56);

    auto* version = new QLabel(Q(texts::kLabel5), TabSheet1);
    version->setObjectName(QStringLiteral("Label5"));
    version->setGeometry(20, 134, 448, 20);
    version->setAlignment(Qt::AlignCenter);
    auto* notice = new QLabel(QString::fromLatin1(texts::kLabel4), TabSheet1);
    notice->setObjectName(QStringLiteral("Label4"));
    notice->setGeometry(20, 160, 448, 20);
    notice->setAlignment(Qt::AlignCenter);

    supportUrl_ = SupportUrl(env_);
    LbUrl = new LinkLabel(
        supportUrl_.isLocalFile() ? supportUrl_.toLocalFile() : supportUrl_.toString(), TabSheet1);
    LbUrl->setObjectName(QStringLiteral("LbUrl"));
    LbUrl->setGeometry(20, 190, 448, 20);
    LbUrl->setAlignment(Qt::AlignCenter);
    SetHint(LbUrl, texts::kHintUrl);
    connect(LbUrl, &LinkLabel::clicked, this, &TForm1::LbUrlClick);

    // Which folder holds the files, so that a user can find them.
    LbFolder = new QLabel(TabSheet1);
    LbFolder->setObjectName(QStringLiteral("LbFolder"));
    LbFolder->setGeometry(20, 214, 448, 20);
    LbFolder->setAlignment(Qt::AlignCenter);
    LbFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path is shortened in the middle; the whole one is its tooltip.
    const QString folder = QString::fromStdU16String(WorkingFolder().u16string());
    LbFolder->setText(QStringLiteral("\u30D5\u30A1\u30A4\u30EB: ") // ファイル:
        + LbFolder->fontMetrics().elidedText(folder, Qt::ElideMiddle, 380));
    LbFolder->setToolTip(folder);

    BtnShortCut = SpeedButton(TabSheet1, "BtnShortCut", texts::kBtnShortCut, QRect(174, 240, 140, 24));
    connect(BtnShortCut, &QPushButton::clicked, this, &TForm1::BtnShortCutClick);
    PageControl1->addTab(TabSheet1, QStringLiteral("about"));
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
    env_.dialogs->Error(message, Q(texts::kAppTitle));
}

void TForm1::ShowMessage(const std::string& text)
{
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
    };
    try {
        app::LoadSettings(
            WorkingFolder(), settings, memo, [this](const std::string& text) { ShowMessage(text); });
    } catch (...) {
        apply();
        throw;
    }
    apply();
}

void TForm1::SaveSettings()
{
    app::SaveSettings(WorkingFolder(), CollectSettings(), MemoText(),
        [this](const std::string& text) { ShowMessage(text); });
}

void TForm1::FormCreate()
{
    // Each step runs even when one before it failed: the grid handlers and
    // the close rely on the schedule table.
    Guard([&] { LoadSettings(); });
    startupMode_ = 0;
    PageControl1->setCurrentIndex(1);
    Guard([&] {
        schedule_ = std::make_unique<schedule::TScheduleTable>(grid_,
            env_.scheduleFolder.empty() ? env_.programPath.parent_path() : env_.scheduleFolder, env_.clock);
        if (const schedule::ScheduleError* failure = schedule_->LoadFailure())
            throw *failure;
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
    // A failing step is reported and ends the sequence; the window then
    // stays open for the user.
    if (RgReceive->ItemIndex() == 0) {
        // Mail that was never set up (no server name, or still the text that
        // asks for one) is not tried at logon: the lookup could only fail and
        // stop the draw with an error box at every start. A click on the
        // receive button still tries and reports.
        if (!MailServerEntered()) {
            MmLog->appendPlainText(platform::FromSjis(jconvert::Utf8ToCp932(kReceiveSkipped)));
        } else if (!Guard([&] { ReceiveMail(); })) {
            return;
        }
    }
    if (!Guard([&] { DrawKabegami(); })) {
        return;
    }
    // Reception runs to its end before returning, so the button is enabled
    // again here; a disabled one would mean a run is still going on.
    if (!BtnReceive->isEnabled()) {
        return;
    }
    CloseForm();
}

void TForm1::CloseForm()
{
    if (isVisible()) {
        close();
        return;
    }
    if (FormClose()) {
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
            schedule_.reset();
        }
    });
}

void TForm1::TabMemoShow(int pageIndex)
{
    QWidget* page = PageControl1->widget(pageIndex);
    if (page != TabMemo && page != TabSheet2 && page != TabSettei) {
        return;
    }
    if (BtnDraw->parentWidget() != page) {
        BtnDraw->setParent(page);
        BtnDraw->move(kDrawLeft, kDrawTop);
        BtnDraw->show();
    }
}

void TForm1::LbMojiIroClick(ColourSwatch* sender)
{
    // The dialog starts from the colour last chosen in it, not from the
    // swatch's colour.
    Guard([&] {
        if (const std::optional<QColor> colour = env_.dialogs->PickColour(lastColour_)) {
            lastColour_ = *colour;
            sender->SetColour(ColourSwatch::FromQColor(*colour));
        }
    });
}

void TForm1::EdPWChange(const QString& text)
{
    if (text.contains(QChar('*'))) {
        return;
    }
    Guard([&] { password_ = platform::ToSjis(text); });
}

bool TForm1::MailServerEntered() const
{
    const QString host = EdHost->text().trimmed();
    return !host.isEmpty() && host != Q(texts::kEdHost);
}

void TForm1::LbUrlClick()
{
    // A document that is not there cannot be opened; the desktop would
    // only fail later, out of sight.
    const bool missing = supportUrl_.isLocalFile() && !QFileInfo::exists(supportUrl_.toLocalFile());
    if (missing || !QDesktopServices::openUrl(supportUrl_)) {
        ShowMessage(jconvert::Utf8ToCp932(kSupportPageFailed) + "\r\n" + platform::ToSjis(LbUrl->text()));
    }
}

void TForm1::BtnShortCutClick()
{
    Guard([&] {
        if (!env_.dialogs->Question(Q(texts::kShortcutQuestion), Q(texts::kShortcutCaption))) {
            return;
        }
        ShortcutMaker maker(
            env_.programPath, [this](const std::string& text) { ShowMessage(text); }, env_.startFolder);
        maker.MakeShortCut("Corkpane", ShortcutMaker::kDesktop);
        maker.MakeShortCut("Corkpane", ShortcutMaker::kStartup);
        InstallRedrawTimer();
    });
}

void TForm1::InstallRedrawTimer()
{
#ifndef _WIN32
    // The timer runs the command-line tool that is installed beside the
    // program; without it, or without systemd, the logon run alone draws.
    const std::filesystem::path tool = env_.programPath.parent_path() / "corkpane-tool";
    if (!std::filesystem::exists(tool)) {
        return;
    }
    platform::ProcessRunner processes;
    platform::RedrawTimer timer(env_.commandRunner != nullptr ? *env_.commandRunner : processes,
        platform::UserFolders::OfProcess().SystemdUserUnits());
    if (!timer.Available()) {
        return;
    }
    const std::filesystem::path folder
        = env_.startFolder.empty() ? env_.programPath.parent_path() : env_.startFolder;
    if (!timer.Install(tool, folder)) {
        ShowMessage("Save failed!");
    }
#endif
}

void TForm1::RgSecurityClick(int index)
{
    // The usual port of one mode becomes the other's: 110 for a plain or
    // STARTTLS connection, 995 for SSL/TLS. A port of the user's own stays.
    const QString port = EdPort->text().trimmed();
    const bool tls = index == static_cast<int>(mail::Pop3Security::Tls);
    if (tls && port == QString::number(mail::Pop3Client::kDefaultPort)) {
        EdPort->setText(QString::number(mail::Pop3Client::kDefaultTlsPort));
    } else if (!tls && port == QString::number(mail::Pop3Client::kDefaultTlsPort)) {
        EdPort->setText(QString::number(mail::Pop3Client::kDefaultPort));
    }
}

void TForm1::BtnReceiveClick()
{
    Guard([&] { ReceiveMail(); });
}

void TForm1::ReceiveMail()
{
    mail::ReceiveConfig config = app::ToReceiveConfig(CollectSettings());
    FormReceiveWindow window(*BtnReceive, *MmLog, *MmMemo);
    mail::ReceiveRun run(std::move(config), window);
    run.Run();
}

void TForm1::BtnDrawClick()
{
    Guard([&] { DrawKabegami(); });
}

void TForm1::DrawKabegami()
{
    render::KabegamiRequest request;
    request.settings = app::ToDrawSettings(CollectSettings());
    // The memo as the editor shows it: long lines broken where it breaks them.
    request.memoLines = MemoDisplayedLines();
    std::optional<app::TableScheduleSource> source;
    if (schedule_) {
        source.emplace(*schedule_);
        request.schedule = &*source;
    }
    const std::chrono::year_month_day today = env_.clock();
    request.today = { static_cast<int>(today.year()), static_cast<int>(static_cast<unsigned>(today.month())),
        static_cast<int>(static_cast<unsigned>(today.day())) };
    request.outputPath = (WorkingFolder() / "kabegami.bmp").string();
    // The file is written either way. A desktop that did not take it is
    // said, not raised: the unattended run must not stop on it, so there it
    // goes to standard error instead of a box.
    if (!render::DrawKabegami(*env_.desktop, request)) {
        const QString text
            = QStringLiteral(
                  "\u58C1\u7D19\u3092\u8A2D\u5B9A\u3067\u304D\u307E\u305B\u3093\u3067\u3057\u305F\u3002"
                  "\u63CF\u3044\u305F\u753B\u50CF: ") // 壁紙を設定できませんでした。描いた画像:
            + QString::fromStdString(request.outputPath);
        if (startupMode_ == 1) {
            std::cerr << "corkpane: " << text.toLocal8Bit().toStdString() << '\n';
        } else {
            env_.dialogs->Message(text, Q(texts::kAppTitle));
        }
    }
}

void TForm1::StringGrid1SetEditText(int col, int row, std::string text)
{
    Guard([&] {
        if (schedule_) {
            schedule_->SetEditText(col, row, std::move(text));
        } else {
            grid_.SetCell(col, row, std::move(text));
        }
    });
}

void TForm1::BtnScDelClick()
{
    Guard([&] {
        if (schedule_) {
            schedule_->DeleteRow(grid_.Row());
        }
    });
}

void TForm1::BtnScInsClick()
{
    Guard([&] {
        if (schedule_) {
            schedule_->InsertRow(grid_.Row());
        }
    });
}

void TForm1::BtnScUpClick()
{
    Guard([&] {
        if (schedule_) {
            schedule_->MoveRowUp(grid_.Row());
        }
    });
}

void TForm1::BtnScDownClick()
{
    Guard([&] {
        if (schedule_) {
            schedule_->MoveRowDown(grid_.Row());
        }
    });
}

void TForm1::BtnScCheckClick()
{
    Guard([&] {
        if (!schedule_) {
            return;
        }
        const schedule::TScheduleTable::CheckResult result = schedule_->Check();
        if (!result.Ok()) {
            SyncGridCurrentCell();
            ShowMessage(result.message);
        }
    });
}

void TForm1::SyncGridCurrentCell()
{
    const QModelIndex index = gridModel_->index(grid_.Row() - 1, grid_.Col() - 1);
    if (index.isValid() && StringGrid1->currentIndex() != index) {
        StringGrid1->setCurrentIndex(index);
    }
}

namespace {

// The control a stored setting binds to, found by its object name.
template <typename Control> Control* SettingControl(const QObject& form, const app::SettingsKey& key)
{
    return form.findChild<Control*>(
        QString::fromLatin1(key.control.data(), static_cast<int>(key.control.size())));
}

} // namespace

app::Settings TForm1::CollectSettings() const
{
    // Values keep the bytes they were applied with while their text is
    // unchanged (ToSjis alone would turn NEC-selected codes into their IBM
    // twins).
    using Kind = app::SettingsKey::Kind;
    app::Settings s;
    for (const app::SettingsKey& key : app::SettingsKey::All()) {
        switch (key.kind) {
        case Kind::List:
            if (const auto* list = SettingControl<QListWidget>(*this, key)) {
                s.LBoxSetuzokuSaki.clear();
                for (int i = 0; i < list->count(); ++i) {
                    const std::size_t index = static_cast<std::size_t>(i);
                    const std::string original = index < applied_.LBoxSetuzokuSaki.size()
                        ? applied_.LBoxSetuzokuSaki[index]
                        : std::string();
                    s.LBoxSetuzokuSaki.push_back(platform::ToSjis(list->item(i)->text(), original));
                }
            }
            break;
        case Kind::Text:
            if (const auto* edit = SettingControl<QLineEdit>(*this, key))
                s.*key.text = platform::ToSjis(edit->text(), applied_.*key.text);
            break;
        case Kind::Password:
            // Typed into a box that never shows it; the window keeps it.
            s.*key.text = password_;
            break;
        case Kind::Colour:
            if (const auto* swatch = SettingControl<ColourSwatch>(*this, key))
                s.*key.number = swatch->Colour();
            break;
        case Kind::Radio:
            if (const auto* group = SettingControl<RadioGroup>(*this, key))
                s.*key.number = group->ItemIndex();
            break;
        case Kind::Tick:
        case Kind::LaterTick:
            if (const auto* box = SettingControl<QCheckBox>(*this, key))
                s.*key.tick = box->isChecked();
            break;
        }
    }
    return s;
}

void TForm1::ApplySettings(const app::Settings& s)
{
    using Kind = app::SettingsKey::Kind;
    applied_ = s;
    for (const app::SettingsKey& key : app::SettingsKey::All()) {
        switch (key.kind) {
        case Kind::List:
            if (auto* list = SettingControl<QListWidget>(*this, key)) {
                list->clear();
                for (const std::string& entry : s.LBoxSetuzokuSaki)
                    list->addItem(platform::FromSjis(entry));
            }
            break;
        case Kind::Text:
            if (auto* edit = SettingControl<QLineEdit>(*this, key))
                edit->setText(platform::FromSjis(s.*key.text));
            break;
        case Kind::Password:
            password_ = s.*key.text;
            break;
        case Kind::Colour:
            if (auto* swatch = SettingControl<ColourSwatch>(*this, key))
                swatch->SetColour(s.*key.number);
            break;
        case Kind::Radio:
            if (auto* group = SettingControl<RadioGroup>(*this, key))
                group->SetItemIndex(s.*key.number);
            break;
        case Kind::Tick:
        case Kind::LaterTick:
            if (auto* box = SettingControl<QCheckBox>(*this, key))
                box->setChecked(s.*key.tick);
            break;
        }
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

std::vector<std::string> TForm1::MemoDisplayedLines() const
{
    std::vector<std::string> lines;
    for (const QString& line : MmMemo->DisplayedLines()) {
        lines.push_back(platform::ToSjis(line));
    }
    return lines;
}

} // namespace gui
