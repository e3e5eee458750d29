// The window's seven pages: every control with its name, caption, initial
// state and place, and the signal that leads to its handler. The handlers
// themselves are in TForm1.cpp.
#include "app/Settings.h"
#include "gui/ColourSwatch.h"
#include "gui/CornerCaption.h"
#include "gui/FormWidgets.h"
#include "gui/GridEditDelegate.h"
#include "gui/LinkLabel.h"
#include "gui/MemoEditor.h"
#include "gui/RadioGroup.h"
#include "gui/ScheduleGridModel.h"
#include "gui/TForm1.h"
#include "gui/Texts.h"
#include "platform/SjisText.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>

namespace gui {
namespace {

// Where the draw button sits on each of the pages that carry it.
constexpr int kDrawLeft = 408;
constexpr int kDrawTop = 295;

// The project's own page when the build names one, otherwise the user's
// guide installed beside the program (<prefix>/share/doc/corkpane/guide).
QUrl SupportUrl(const FormEnvironment& environment)
{
    std::string address = environment.supportPage;
    if (address.empty()) {
        address = CORKPANE_HOME_PAGE;
    }
    if (address.empty()) {
        const std::filesystem::path prefix = environment.programPath.parent_path().parent_path();
        address
            = (prefix / "share" / "doc" / "corkpane" / "guide" / "index.html").lexically_normal().string();
    }
    const QString text = QString::fromStdString(address);
    return text.contains(QStringLiteral("://")) ? QUrl(text)
                                                : QUrl::fromLocalFile(QFile::decodeName(address.c_str()));
}

} // namespace

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
    // The current row is drawn highlighted (see GridEditDelegate): repaint
    // when it moves.
    connect(StringGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, StringGrid1->viewport(),
        qOverload<>(&QWidget::update));

    // The number column is the vertical header.
    StringGrid1->verticalHeader()->setFixedWidth(26);
    StringGrid1->setColumnWidth(ScheduleGridModel::kDateColumn, 128);
    StringGrid1->setColumnWidth(ScheduleGridModel::kTextColumn, 300);
    // The fixed corner cell shows its caption like the other headers; a
    // click on it selects nothing, as on any fixed cell.
    if (auto* corner = StringGrid1->findChild<QAbstractButton*>()) {
        StringGrid1->setCornerButtonEnabled(false);
        CornerCaption::Install(corner);
        corner->setText(QString::fromLatin1(texts::kGridNumberCaption));
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
        memo, "EdMojiSu", texts::kLbMojiSu, platform::FromSjis(defaults.EdMojiSu.Text()), 4, 18, 76, 40);
    EdGyosu = LabelledEdit(
        memo, "EdGyosu", texts::kLbGyosu, platform::FromSjis(defaults.EdGyosu.Text()), 150, 18, 76, 40);
    EdFontSize = LabelledEdit(memo, "EdFontSize", texts::kLbFontSize,
        platform::FromSjis(defaults.EdFontSize.Text()), 4, 44, 76, 40);
    EdGyokan = LabelledEdit(
        memo, "EdGyokan", texts::kLbGyokan, platform::FromSjis(defaults.EdGyokan.Text()), 150, 44, 76, 40);
    EdUeYohaku = LabelledEdit(memo, "EdUeYohaku", texts::kLbUeYohaku,
        platform::FromSjis(defaults.EdUeYohaku.Text()), 4, 70, 76, 40);
    EdMigiYohaku = LabelledEdit(memo, "EdMigiYohaku", texts::kLbMigiYohaku,
        platform::FromSjis(defaults.EdMigiYohaku.Text()), 150, 70, 76, 40);

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
    EdRitu = new QLineEdit(platform::FromSjis(defaults.EdRitu.Text()), background);
    EdRitu->setObjectName(QStringLiteral("EdRitu"));
    EdRitu->setGeometry(10, 20, 40, 21);
    PlainLabel(background, Q(texts::kPercent), QRect(54, 20, 20, 21));
    RgHaikei = Radios(background, "RgHaikei", texts::kRgHaikei,
        { Q(texts::kHaikeiWhite), Q(texts::kHaikeiBlack), Q(texts::kHaikeiOff) }, 3, defaults.RgHaikei,
        QRect(6, 46, 164, 44));

    QGroupBox* schedule = Group(TabSettei, "GroupBox5", texts::kGroupSchedule, QRect(308, 100, 176, 190));
    PlainLabel(schedule, Q(texts::kLbHyojibi), QRect(84, 16, 60, 18));
    EdScW = LabelledEdit(
        schedule, "EdScW", texts::kLbScW, platform::FromSjis(defaults.EdScW.Text()), 4, 36, 70, 40);
    EdScM = LabelledEdit(
        schedule, "EdScM", texts::kLbScM, platform::FromSjis(defaults.EdScM.Text()), 4, 62, 70, 40);
    EdScY = LabelledEdit(
        schedule, "EdScY", texts::kLbScY, platform::FromSjis(defaults.EdScY.Text()), 4, 88, 70, 40);
    EdScD = LabelledEdit(
        schedule, "EdScD", texts::kLbScD, platform::FromSjis(defaults.EdScD.Text()), 4, 114, 70, 40);
    ChScMemo = Check(schedule, "ChScMemo", texts::kChScMemo, defaults.ChScMemo, QRect(10, 142, 160, 20));
    ChScCal = Check(schedule, "ChScCal", texts::kChScCal, defaults.ChScCal, QRect(10, 164, 160, 20));
    ChScCal->setVisible(false);
    // In the hidden calendar box's place.
    ChShukujitsu = Check(
        schedule, "ChShukujitsu", texts::kChShukujitsu, defaults.ChShukujitsu, QRect(10, 164, 160, 20));

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

    QGroupBox* account = Group(TabMail, "GroupBox1", texts::kGroupPop3, QRect(3, 0, 480, 182));
    LBoxSetuzokuSaki = new QListWidget(account);
    LBoxSetuzokuSaki->setObjectName(QStringLiteral("LBoxSetuzokuSaki"));
    LBoxSetuzokuSaki->setGeometry(8, 20, 120, 48);
    for (const std::string& entry : defaults.LBoxSetuzokuSaki) {
        LBoxSetuzokuSaki->addItem(platform::FromSjis(entry));
    }
    // The protocol under the list; its folder and the interval below.
    CbProtocol = LabelledCombo(account, "CbProtocol", texts::kLbProtocol,
        { QStringLiteral("POP3"), QStringLiteral("IMAP") }, 8, 74, 54, 62);
    EdHost = LabelledEdit(
        account, "EdHost", texts::kLbHost, platform::FromSjis(defaults.EdHost), 136, 20, 70, 250);
    EdUser = LabelledEdit(
        account, "EdUser", texts::kLbUser, platform::FromSjis(defaults.EdUser), 136, 47, 70, 250);
    // Empty, its asterisks a hint: nothing typed keeps the password as it is.
    EdPW = LabelledEdit(account, "EdPW", texts::kLbPW, QString(), 136, 74, 70, 150);
    EdPW->setPlaceholderText(Q(texts::kPasswordPlaceholder));
    EdPW->setEchoMode(QLineEdit::Password);
    connect(EdPW, &QLineEdit::editingFinished, this, &TForm1::EdPWEditingFinished);
    // Where the password is kept, said once beside it.
    LbPasswordPlace = PlainLabel(account, QString(), QRect(364, 74, 110, 21));
    LbPasswordPlace->setObjectName(QStringLiteral("LbPasswordPlace"));
    EdPort = LabelledEdit(
        account, "EdPort", texts::kLbPort, platform::FromSjis(defaults.EdPort.Text()), 136, 101, 70, 60);
    connect(EdPW, &QLineEdit::textChanged, this, &TForm1::EdPWChange);
    // The sign-in method beside the port; the token command below, across
    // the group, for the token methods only.
    CbAuth = LabelledCombo(account, "CbAuth", texts::kLbAuth,
        { QStringLiteral("USER/PASS"), QStringLiteral("PLAIN"), QStringLiteral("XOAUTH2"),
            QStringLiteral("OAUTHBEARER") },
        272, 101, 60, 120);
    EdFolder = LabelledEdit(
        account, "EdFolder", texts::kLbFolder, platform::FromSjis(defaults.EdFolder), 136, 128, 70, 120);
    EdInterval = LabelledEdit(account, "EdInterval", texts::kLbInterval,
        platform::FromSjis(defaults.EdInterval.Text()), 330, 128, 60, 36);
    PlainLabel(account, Q(texts::kMinutes), QRect(430, 128, 24, 21));
    EdTokenCommand = LabelledEdit(account, "EdTokenCommand", texts::kLbTokenCommand,
        platform::FromSjis(defaults.EdTokenCommand), 8, 155, 194, 250);
    connect(CbAuth, &QComboBox::currentIndexChanged, this, &TForm1::CbAuthChange);
    CbAuth->setCurrentIndex(defaults.CbAuth);
    CbAuthChange(defaults.CbAuth);
    connect(CbProtocol, &QComboBox::currentIndexChanged, this, &TForm1::CbProtocolChange);
    CbProtocol->setCurrentIndex(defaults.CbProtocol);
    EdFolder->setEnabled(defaults.CbProtocol == static_cast<int>(mail::MailProtocol::Imap));

    QGroupBox* keywords = Group(TabMail, "GroupBox2", texts::kGroupKeyword, QRect(3, 184, 480, 46));
    EdKeyWord1 = LabelledEdit(
        keywords, "EdKeyWord1", texts::kLbKeyWord1, platform::FromSjis(defaults.EdKeyWord1), 8, 18, 80, 120);
    EdKeyWord2 = LabelledEdit(keywords, "EdKeyWord2", texts::kLbKeyWord2,
        platform::FromSjis(defaults.EdKeyWord2), 240, 18, 80, 120);

    RgReceive = Radios(TabMail, "RgReceive", texts::kRgReceive,
        { Q(texts::kReceiveYes), Q(texts::kReceiveNo) }, 2, defaults.RgReceive, QRect(3, 232, 230, 48));
    RgSecurity = Radios(TabMail, "RgSecurity", texts::kRgSecurity,
        { Q(texts::kSecurityNone), Q(texts::kSecurityStartTls), Q(texts::kSecurityTls) }, 3,
        defaults.RgSecurity, QRect(238, 232, 245, 48));
    for (int i = 0; i < RgSecurity->Count(); ++i) {
        connect(RgSecurity->Button(i), &QRadioButton::clicked, this, [this, i] { RgSecurityClick(i); });
    }
    ChMimeKaidoku = Check(
        TabMail, "ChMimeKaidoku", texts::kChMimeKaidoku, defaults.ChMimeKaidoku, QRect(8, 282, 230, 22));
    ChRemember
        = Check(TabMail, "ChRemember", texts::kChRemember, defaults.ChRemember, QRect(243, 282, 240, 22));
    PageControl1->addTab(TabMail, Q(texts::kTabMail));
}

void TForm1::BuildCalendarPage()
{
    TabCalendar = new QWidget;
    TabCalendar->setObjectName(QStringLiteral("TabCalendar"));
    auto* about = PlainLabel(TabCalendar, Q(texts::kCalendarAbout), QRect(6, 4, 474, 48));
    about->setWordWrap(true);
    LbCalendars = new QListWidget(TabCalendar);
    LbCalendars->setObjectName(QStringLiteral("LbCalendars"));
    LbCalendars->setGeometry(3, 56, 480, 198);
    EdCalendar = new QLineEdit(TabCalendar);
    EdCalendar->setObjectName(QStringLiteral("EdCalendar"));
    EdCalendar->setGeometry(3, 262, 480, 24);
    EdCalendar->setPlaceholderText(Q(texts::kCalendarAddressHint));
    BtnCalAdd = SpeedButton(TabCalendar, "BtnCalAdd", texts::kBtnCalAdd, QRect(3, 295, 60, 22));
    BtnCalDel = SpeedButton(TabCalendar, "BtnCalDel", texts::kBtnCalDel, QRect(69, 295, 60, 22));
    BtnCalCheck = SpeedButton(TabCalendar, "BtnCalCheck", texts::kBtnCalCheck, QRect(135, 295, 60, 22));
    SetHint(BtnCalCheck, texts::kHintCalCheck);
    connect(BtnCalAdd, &QPushButton::clicked, this, &TForm1::BtnCalAddClick);
    connect(EdCalendar, &QLineEdit::returnPressed, this, &TForm1::BtnCalAddClick);
    connect(BtnCalDel, &QPushButton::clicked, this, &TForm1::BtnCalDelClick);
    connect(BtnCalCheck, &QPushButton::clicked, this, &TForm1::BtnCalCheckClick);
    PageControl1->addTab(TabCalendar, Q(texts::kTabCalendar));
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
    LbFolder->setText(
        Q(texts::kFilesFolder) + LbFolder->fontMetrics().elidedText(folder, Qt::ElideMiddle, 380));
    LbFolder->setToolTip(folder);

    BtnShortCut = SpeedButton(TabSheet1, "BtnShortCut", texts::kBtnShortCut, QRect(174, 240, 140, 24));
    connect(BtnShortCut, &QPushButton::clicked, this, &TForm1::BtnShortCutClick);
    PageControl1->addTab(TabSheet1, Q(texts::kTabAbout));
}

} // namespace gui
