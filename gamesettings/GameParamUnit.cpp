#include "GameParamUnit.h"

#include "Errors.h"
#include "FileFilter.h"
#include "FileLabel.h"
#include "FileResolver.h"
#include "GameSettings.h"
#include "LocalisationUnit.h"
#include "OrmelApplication.h"
#include "NumberText.h"
#include "OpenWAV.h"
#include "PartivaEntries.h"
#include "Shell.h"
#include "Snd.h"
#include "Text.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

#include <type_traits>

namespace {

constexpr int ClientWidth = 763;
constexpr int ClientHeight = 518;
constexpr int RowHeight = 19;
const QColor Background(115, 140, 131);
const QColor DarkBlue(0, 0, 160);


// A label's text without its accelerator marker: "&File" as a caption reads "File".
QString withoutAccelerator(QString text)
{
    static const QString escapedAmpersand(QChar(0xFFFF));
    return text.replace("&&", escapedAmpersand).remove('&').replace(escapedAmpersand, "&");
}

// A number edit that asks for its full width and gives some of it up only where a line is
// crowded (the layout shrinks it towards its minimum).
class NumberEdit : public QLineEdit {
public:
    NumberEdit(QWidget* parent, int width) : QLineEdit(parent), width_(width)
    {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override { return {width_, QLineEdit::sizeHint().height()}; }

private:
    int width_;
};

void setTextIfChanged(QLineEdit* edit, const QString& text)
{
    // An unchanged text raises no change: the refresh cascade ends there.
    if (edit->text() == text)
        return;
    edit->setText(text);
}

} // namespace

TGameParamForm::TGameParamForm(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName("GameParamForm");
    setWindowTitle("Game parameters");
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    buildControls();
    buildMenu();
    buildDialogs();
    setTabOrders();
    FormCreate();

    fitWindow();
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TGameParamForm::fitWindow()
{
    // The client area keeps its size whatever the menu's texts make of the menu bar.
    setFixedSize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
}

TGameParamForm::~TGameParamForm()
{
    // The sound device belongs to the main window; it goes with it.
    CloseAudio();
}

void TGameParamForm::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName("Client");
    client->setFixedSize(ClientWidth, ClientHeight);
    client->setAutoFillBackground(true);
    QPalette background = client->palette();
    background.setColor(QPalette::Window, Background);
    client->setPalette(background);
    setCentralWidget(client);

    auto* grid = new QGridLayout(client);
    grid->setContentsMargins(7, 5, 7, 5);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(1);

    QFont boldFont = font();
    boldFont.setBold(true);
    // Number edits take a slightly smaller font, so that a fraction's 15 digits ("0.0199999995529652")
    // fit five to a line.
    QFont numberFont = font();
    numberFont.setPointSizeF(7.5);
    const QFontMetrics numberMetrics(numberFont);
    const int integerWidth = numberMetrics.horizontalAdvance("-00000000") + 8;
    const int fractionWidth = numberMetrics.horizontalAdvance("0.0000000000000000") + 14;

    const auto caption = [&](const char* name, const char* text, bool bold) {
        auto* label = new QLabel(text, client);
        label->setObjectName(name);
        if (bold)
            label->setFont(boldFont);
        return label;
    };
    const auto edit = [&](const char* name, int width) {
        auto* line = new NumberEdit(client, width);
        line->setObjectName(name);
        line->setFont(numberFont);
        line->setFixedHeight(RowHeight);
        line->setMinimumWidth(width * 4 / 5);
        line->setMaximumWidth(width);
        return line;
    };
    const auto integerEdit = [&](const char* name) { return edit(name, integerWidth); };
    // Wide enough for the 15 digits of a fraction; a long translation may narrow them a little.
    const auto fractionEdit = [&](const char* name) { return edit(name, fractionWidth); };
    const auto fileLabel = [&](const char* name) {
        auto* label = new TFileLabel(client);
        label->setObjectName(name);
        label->setFixedHeight(RowHeight - 1);
        label->setMinimumWidth(120);
        return label;
    };
    const auto clearButton = [&](const char* name) {
        auto* button = new QPushButton("Clear", client);
        button->setObjectName(name);
        button->setFixedSize(74, 18);
        return button;
    };

    // One row: its caption in the first column, its controls left to right in the second. A
    // row whose controls hold no file label ends with free space. A row without a caption (the
    // second line of the icons) takes the whole width, less an indent.
    int row = 0;
    const auto addRow = [&](QLabel* rowCaption, std::initializer_list<QWidget*> controls) {
        if (rowCaption)
            grid->addWidget(rowCaption, row, 0);
        auto* line = new QHBoxLayout;
        line->setSpacing(4);
        if (!rowCaption)
            line->addSpacing(8);
        bool stretches = false;
        for (QWidget* control : controls) {
            const bool isFile = qobject_cast<TFileLabel*>(control) || control == GameTitleText;
            line->addWidget(control, isFile ? 1 : 0);
            stretches = stretches || isFile;
        }
        if (!stretches)
            line->addStretch(1);
        if (rowCaption)
            grid->addLayout(line, row, 1);
        else
            grid->addLayout(line, row, 0, 1, 2);
        grid->setRowMinimumHeight(row, RowHeight);
        ++row;
    };

    Label1 = caption("Label1", "Title", true);
    GameTitleText = new QLineEdit(client);
    GameTitleText->setObjectName("GameTitleText");
    GameTitleText->setFixedHeight(RowHeight);
    addRow(Label1, {GameTitleText});

    Label2 = caption("Label2", "Menu sound:", true);
    MenuSoundLabel = fileLabel("MenuSoundLabel");
    addRow(Label2, {MenuSoundLabel});
    Label3 = caption("Label3", "Timer sound:", true);
    TimerSoundLabel = fileLabel("TimerSoundLabel");
    addRow(Label3, {TimerSoundLabel});
    Label4 = caption("Label4", "Camera sound:", true);
    CameraSoundLabel = fileLabel("CameraSoundLabel");
    addRow(Label4, {CameraSoundLabel});

    Label5 = caption("Label5", "Camera minimum distance:", true);
    CameraMinDistanceText = integerEdit("CameraMinDistanceText");
    Label6 = caption("Label6", "Camera maximum distance:", true);
    CameraMaxDistanceText = integerEdit("CameraMaxDistanceText");
    Label7 = caption("Label7", "Camera Step:", true);
    CameraStepText = integerEdit("CameraStepText");
    addRow(Label5, {CameraMinDistanceText, Label6, CameraMaxDistanceText, Label7, CameraStepText});

    Label48 = caption("Label48", "Small font:", true);
    SmallFontLabel = fileLabel("SmallFontLabel");
    ClearSmallFontButton = clearButton("ClearSmallFontButton");
    Label49 = caption("Label49", "Width", false);
    SmallFontWidthText = integerEdit("SmallFontWidthText");
    Label50 = caption("Label50", "Height", false);
    SmallFontHeightText = integerEdit("SmallFontHeightText");
    addRow(Label48, {SmallFontLabel, ClearSmallFontButton, Label49, SmallFontWidthText, Label50, SmallFontHeightText});

    Label51 = caption("Label51", "Big font:", true);
    BigFontLabel = fileLabel("BigFontLabel");
    ClearBigFontButton = clearButton("ClearBigFontButton");
    Label53 = caption("Label53", "Width", false);
    BigFontWidthText = integerEdit("BigFontWidthText");
    Label54 = caption("Label54", "Height", false);
    BigFontHeightText = integerEdit("BigFontHeightText");
    addRow(Label51, {BigFontLabel, ClearBigFontButton, Label53, BigFontWidthText, Label54, BigFontHeightText});

    Label8 = caption("Label8", "Start Level:", true);
    StartLevelLabel = fileLabel("StartLevelLabel");
    for (QWidget* blue : {static_cast<QWidget*>(Label8), static_cast<QWidget*>(StartLevelLabel)}) {
        QPalette text = blue->palette();
        text.setColor(QPalette::WindowText, DarkBlue);
        blue->setPalette(text);
    }
    addRow(Label8, {StartLevelLabel});

    Label9 = caption("Label9", "Help file:", true);
    HelpFileLabel = fileLabel("HelpFileLabel");
    ClearHelpFileButton = clearButton("ClearHelpFileButton");
    addRow(Label9, {HelpFileLabel, ClearHelpFileButton});

    Label10 = caption("Label10", "Default save count:", true);
    StartSaveNumberText = integerEdit("StartSaveNumberText");
    addRow(Label10, {StartSaveNumberText});

    Label11 = caption("Label11", "Timer health hurt value:", true);
    TimerHealthText = fractionEdit("TimerHealthText");
    Label12 = caption("Label12", "Left", false);
    TimerLeftText = fractionEdit("TimerLeftText");
    Label13 = caption("Label13", "Top", false);
    TimerTopText = fractionEdit("TimerTopText");
    addRow(Label11, {TimerHealthText, Label12, TimerLeftText, Label13, TimerTopText});

    Label14 = caption("Label14", "Cross Icon:", true);
    CrossIconLabel = fileLabel("CrossIconLabel");
    ClearCrossButton = clearButton("ClearCrossButton");
    addRow(Label14, {CrossIconLabel, ClearCrossButton});
    Label15 = caption("Label15", "Left", false);
    CrossLeftText = fractionEdit("CrossLeftText");
    Label16 = caption("Label16", "Top", false);
    CrossTopText = fractionEdit("CrossTopText");
    Label17 = caption("Label17", "Width", false);
    CrossWidthText = fractionEdit("CrossWidthText");
    Label18 = caption("Label18", "Height", false);
    CrossHeightText = fractionEdit("CrossHeightText");
    Label19 = caption("Label19", "Alpha", false);
    CrossAlphaText = integerEdit("CrossAlphaText");
    addRow(nullptr, {Label15, CrossLeftText, Label16, CrossTopText, Label17, CrossWidthText, Label18, CrossHeightText,
                     Label19, CrossAlphaText});

    Label20 = caption("Label20", "Life Icon:", true);
    LifeIconLabel = fileLabel("LifeIconLabel");
    ClearLifeIcon = clearButton("ClearLifeIcon");
    addRow(Label20, {LifeIconLabel, ClearLifeIcon});
    Label22 = caption("Label22", "Left", false);
    LifeIconLeftText = fractionEdit("LifeIconLeftText");
    Label23 = caption("Label23", "Top", false);
    LifeIconTopText = fractionEdit("LifeIconTopText");
    Label24 = caption("Label24", "Width", false);
    LifeIconWidthText = fractionEdit("LifeIconWidthText");
    Label25 = caption("Label25", "Height", false);
    LifeIconHeightText = fractionEdit("LifeIconHeightText");
    Label26 = caption("Label26", "Alpha", false);
    LifeIconAlphaText = integerEdit("LifeIconAlphaText");
    addRow(nullptr, {Label22, LifeIconLeftText, Label23, LifeIconTopText, Label24, LifeIconWidthText, Label25,
                     LifeIconHeightText, Label26, LifeIconAlphaText});

    Label28 = caption("Label28", "Life Counter:", true);
    Label21 = caption("Label21", "Left", false);
    LifeStringLeftText = fractionEdit("LifeStringLeftText");
    Label27 = caption("Label27", "Top", false);
    LifeStringTopText = fractionEdit("LifeStringTopText");
    addRow(Label28, {Label21, LifeStringLeftText, Label27, LifeStringTopText});

    // The counts of the inventory and the weapon take a line of their own: the page is too
    // narrow for four fraction edits and their captions on one line.
    Label37 = caption("Label37", "Inventory:", true);
    Label29 = caption("Label29", "Left", false);
    InventoryLeftText = fractionEdit("InventoryLeftText");
    Label30 = caption("Label30", "Top", false);
    InventoryTopText = fractionEdit("InventoryTopText");
    Label33 = caption("Label33", "Alpha", false);
    InventoryAlphaText = integerEdit("InventoryAlphaText");
    addRow(Label37, {Label29, InventoryLeftText, Label30, InventoryTopText, Label33, InventoryAlphaText});
    Label36 = caption("Label36", "Inventory count:", true);
    Label34 = caption("Label34", "Left", false);
    InventoryStringLeftText = fractionEdit("InventoryStringLeftText");
    Label35 = caption("Label35", "Top", false);
    InventoryStringTopText = fractionEdit("InventoryStringTopText");
    addRow(Label36, {Label34, InventoryStringLeftText, Label35, InventoryStringTopText});

    Label42 = caption("Label42", "Weapon:", true);
    Label31 = caption("Label31", "Left", false);
    WeaponLeftText = fractionEdit("WeaponLeftText");
    Label32 = caption("Label32", "Top", false);
    WeaponTopText = fractionEdit("WeaponTopText");
    Label38 = caption("Label38", "Alpha", false);
    WeaponAlphaText = integerEdit("WeaponAlphaText");
    addRow(Label42, {Label31, WeaponLeftText, Label32, WeaponTopText, Label38, WeaponAlphaText});
    Label41 = caption("Label41", "Weapon count:", true);
    Label39 = caption("Label39", "Left", false);
    WeaponStringLeftText = fractionEdit("WeaponStringLeftText");
    Label40 = caption("Label40", "Top", false);
    WeaponStringTopText = fractionEdit("WeaponStringTopText");
    addRow(Label41, {Label39, WeaponStringLeftText, Label40, WeaponStringTopText});

    const struct {
        QLabel** rowCaption;
        const char* captionName;
        const char* text;
        TFileLabel** label;
        const char* labelName;
        QPushButton** clear;
        const char* clearName;
    } media[] = {
        {&Label46, "Label46", "Developer video:", &DeveloperVideoLabel, "DeveloperVideoLabel", &DeveloperVideoClearButton, "DeveloperVideoClearButton"},
        {&Label43, "Label43", "Title video:", &IntroVideoLabel, "IntroVideoLabel", &IntroVideoClearButton, "IntroVideoClearButton"},
        {&Label44, "Label44", "Title music:", &IntroMusicLabel, "IntroMusicLabel", &IntroMusicClearButton, "IntroMusicClearButton"},
        {&Label45, "Label45", "End video:", &ExtroVideoLabel, "ExtroVideoLabel", &ExtroVideoClearButton, "ExtroVideoClearButton"},
        {&Label47, "Label47", "End music:", &ExtroMusicLabel, "ExtroMusicLabel", &ExtroMusicClearButton, "ExtroMusicClearButton"},
    };
    for (const auto& m : media) {
        *m.rowCaption = caption(m.captionName, m.text, true);
        *m.label = fileLabel(m.labelName);
        *m.clear = clearButton(m.clearName);
        addRow(*m.rowCaption, {*m.label, *m.clear});
    }
    grid->setRowStretch(row, 1);

    connect(GameTitleText, &QLineEdit::textChanged, this, &TGameParamForm::GameTitleTextChange);
    const struct {
        QLineEdit* edit;
        void (TGameParamForm::*change)();
    } edits[] = {
        {CameraMinDistanceText, &TGameParamForm::CameraMinDistanceTextChange},
        {CameraMaxDistanceText, &TGameParamForm::CameraMaxDistanceTextChange},
        {CameraStepText, &TGameParamForm::CameraStepTextChange},
        {SmallFontWidthText, &TGameParamForm::SmallFontWidthTextChange},
        {SmallFontHeightText, &TGameParamForm::SmallFontHeightTextChange},
        {BigFontWidthText, &TGameParamForm::BigFontWidthTextChange},
        {BigFontHeightText, &TGameParamForm::BigFontHeightTextChange},
        {StartSaveNumberText, &TGameParamForm::StartSaveNumberTextChange},
        {TimerHealthText, &TGameParamForm::TimerHealthTextChange},
        {TimerLeftText, &TGameParamForm::TimerLeftTextChange},
        {TimerTopText, &TGameParamForm::TimerTopTextChange},
        {CrossLeftText, &TGameParamForm::CrossLeftTextChange},
        {CrossTopText, &TGameParamForm::CrossTopTextChange},
        {CrossWidthText, &TGameParamForm::CrossWidthTextChange},
        {CrossHeightText, &TGameParamForm::CrossHeightTextChange},
        {CrossAlphaText, &TGameParamForm::CrossAlphaTextChange},
        {LifeIconLeftText, &TGameParamForm::LifeIconLeftTextChange},
        {LifeIconTopText, &TGameParamForm::LifeIconTopTextChange},
        {LifeIconWidthText, &TGameParamForm::LifeIconWidthTextChange},
        {LifeIconHeightText, &TGameParamForm::LifeIconHeightTextChange},
        {LifeIconAlphaText, &TGameParamForm::LifeIconAlphaTextChange},
        {LifeStringLeftText, &TGameParamForm::LifeStringLeftTextChange},
        {LifeStringTopText, &TGameParamForm::LifeStringTopTextChange},
        {InventoryLeftText, &TGameParamForm::InventoryLeftTextChange},
        {InventoryTopText, &TGameParamForm::InventoryTopTextChange},
        {InventoryAlphaText, &TGameParamForm::InventoryAlphaTextChange},
        {InventoryStringLeftText, &TGameParamForm::InventoryStringLeftTextChange},
        {InventoryStringTopText, &TGameParamForm::InventoryStringTopTextChange},
        {WeaponLeftText, &TGameParamForm::WeaponLeftTextChange},
        {WeaponTopText, &TGameParamForm::WeaponTopTextChange},
        {WeaponAlphaText, &TGameParamForm::WeaponAlphaTextChange},
        {WeaponStringLeftText, &TGameParamForm::WeaponStringLeftTextChange},
        {WeaponStringTopText, &TGameParamForm::WeaponStringTopTextChange},
    };
    for (const auto& e : edits)
        connect(e.edit, &QLineEdit::textChanged, this, e.change);

    const struct {
        TFileLabel* label;
        void (TGameParamForm::*click)();
    } labels[] = {
        {MenuSoundLabel, &TGameParamForm::MenuSoundLabelClick},
        {TimerSoundLabel, &TGameParamForm::TimerSoundLabelClick},
        {CameraSoundLabel, &TGameParamForm::CameraSoundLabelClick},
        {SmallFontLabel, &TGameParamForm::SmallFontLabelClick},
        {BigFontLabel, &TGameParamForm::BigFontLabelClick},
        {StartLevelLabel, &TGameParamForm::StartLevelLabelClick},
        {HelpFileLabel, &TGameParamForm::HelpFileLabelClick},
        {CrossIconLabel, &TGameParamForm::CrossIconLabelClick},
        {LifeIconLabel, &TGameParamForm::LifeIconLabelClick},
        {DeveloperVideoLabel, &TGameParamForm::DeveloperVideoLabelClick},
        {IntroVideoLabel, &TGameParamForm::IntroVideoLabelClick},
        {IntroMusicLabel, &TGameParamForm::IntroMusicLabelClick},
        {ExtroVideoLabel, &TGameParamForm::ExtroVideoLabelClick},
        {ExtroMusicLabel, &TGameParamForm::ExtroMusicLabelClick},
    };
    for (const auto& l : labels)
        connect(l.label, &TFileLabel::clicked, this, l.click);

    const struct {
        QPushButton* button;
        void (TGameParamForm::*click)();
    } clears[] = {
        {ClearSmallFontButton, &TGameParamForm::ClearSmallFontButtonClick},
        {ClearBigFontButton, &TGameParamForm::ClearBigFontButtonClick},
        {ClearHelpFileButton, &TGameParamForm::ClearHelpFileButtonClick},
        {ClearCrossButton, &TGameParamForm::ClearCrossButtonClick},
        {ClearLifeIcon, &TGameParamForm::ClearLifeIconClick},
        {DeveloperVideoClearButton, &TGameParamForm::DeveloperVideoClearButtonClick},
        {IntroVideoClearButton, &TGameParamForm::IntroVideoClearButtonClick},
        {IntroMusicClearButton, &TGameParamForm::IntroMusicClearButtonClick},
        {ExtroVideoClearButton, &TGameParamForm::ExtroVideoClearButtonClick},
        {ExtroMusicClearButton, &TGameParamForm::ExtroMusicClearButtonClick},
    };
    for (const auto& c : clears)
        connect(c.button, &QPushButton::clicked, this, c.click);
}

void TGameParamForm::buildMenu()
{
    File1 = menuBar()->addMenu("File");
    File1->setObjectName("File1");
    SaveParameters1 = File1->addAction("Save Parameters", QKeySequence(Qt::CTRL | Qt::Key_S), this,
                                       &TGameParamForm::SaveParameters1Click);
    SaveParameters1->setObjectName("SaveParameters1");
    Quit1 = File1->addAction("Quit", QKeySequence(Qt::CTRL | Qt::Key_Q), this, &TGameParamForm::Quit1Click);
    Quit1->setObjectName("Quit1");
    Help1 = menuBar()->addAction("Help", this, &TGameParamForm::Help1Click);
    Help1->setObjectName("Help1");
    Help1->setShortcut(QKeySequence(Qt::Key_F1));
}

void TGameParamForm::buildDialogs()
{
    StartLevelDialog = {"Choose a level file", QtFilter("Level file (*.lev)|*.lev"), "LEVEL", {}, "lev"};
    PCXDialog = {"Choose a PCX file", QtFilter("PCX Image (*.pcx)|*.pcx"), ".", {}, "pcx"};
    HelpDialog = {"Choose an help file", QtFilter("Help file (*.*)|*.*"), ".", {}, {}};
    OpenMusicDialog = {"Please select a music file",
                       QtFilter("All files (*.*)|*.*|MOD music (*.mod)|*.mod|IT music (*.it)|*.it|S3M music (*.s3m)|*.S3M|"
                                "XM music (*.xm)|*.xm|MP3 file (*.mp3)|*.mp3|WAV file (*.wav)|*.wav|MIDI music (*.mid)|*.mid"),
                       ".", {}, {}};
    OpenVideoDialog = {"Please select a video file",
                       QtFilter("All files (*.*)|*.*|AVI file (*.avi)|*.avi|MPEG file (*.mpg;*.mpeg)|*.mpg;*.mpeg"),
                       ".", {}, {}};
}

void TGameParamForm::setTabOrders()
{
    const QWidget* order[] = {
        GameTitleText, CameraMinDistanceText, CameraMaxDistanceText, CameraStepText, ClearHelpFileButton,
        StartSaveNumberText, TimerHealthText, TimerLeftText, TimerTopText, ClearCrossButton, CrossLeftText,
        CrossTopText, CrossWidthText, CrossHeightText, CrossAlphaText, ClearLifeIcon, LifeIconLeftText,
        LifeIconTopText, LifeIconWidthText, LifeIconHeightText, LifeIconAlphaText, LifeStringLeftText,
        LifeStringTopText, InventoryLeftText, InventoryTopText, InventoryAlphaText, InventoryStringLeftText,
        InventoryStringTopText, WeaponLeftText, WeaponTopText, WeaponAlphaText, WeaponStringLeftText,
        WeaponStringTopText, IntroVideoClearButton, IntroMusicClearButton, ExtroVideoClearButton,
        ExtroMusicClearButton, DeveloperVideoClearButton, ClearSmallFontButton, SmallFontWidthText,
        SmallFontHeightText, ClearBigFontButton, BigFontWidthText, BigFontHeightText,
    };
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
}

void TGameParamForm::FormCreate()
{
    try {
        LoadGameSettings();
    } catch (const OrmelError& error) {
        // The values are the defaults; a save will report the file's trouble again.
        ShowError(this, QString::fromStdString(error.what()));
    }
    RefreshControls();
    // An edit narrowed by a long translation shows the start of its number.
    for (QLineEdit* edit : centralWidget()->findChildren<QLineEdit*>())
        edit->setCursorPosition(0);
}

void TGameParamForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    FormActivate();
}

bool TGameParamForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QMainWindow::event(event);
}

void TGameParamForm::FormActivate()
{
    if (Activated)
        return;
    Activated = true;
    UpperCaseGameFolder();
    TranslateForm();
    StartAudio();
}

void TGameParamForm::RefreshControls()
{
    const TGameSettings& s = GameSettings;
    const auto show = [](QLineEdit* edit, const auto& value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, float>)
            setTextIfChanged(edit, QString::fromStdString(FractionText(value)));
        else
            setTextIfChanged(edit, QString::number(value));
    };
    const auto showFile = [](TFileLabel* label, const std::string& value) { label->setText(Ui(value)); };

    setTextIfChanged(GameTitleText, Ui(s.GameTitle));
    showFile(MenuSoundLabel, s.MenuSound);
    showFile(TimerSoundLabel, s.TimerSound);
    showFile(CameraSoundLabel, s.CameraSound);
    show(CameraMinDistanceText, s.CameraMinDistance);
    show(CameraMaxDistanceText, s.CameraMaxDistance);
    show(CameraStepText, s.CameraStep);
    showFile(StartLevelLabel, s.StartLevel);
    showFile(HelpFileLabel, s.HelpFile);
    show(StartSaveNumberText, s.StartSaveNumber);
    show(TimerHealthText, s.TimerHealth);
    show(TimerLeftText, s.TimerLeft);
    show(TimerTopText, s.TimerTop);
    showFile(CrossIconLabel, s.CrossIcon);
    show(CrossLeftText, s.CrossLeft);
    show(CrossTopText, s.CrossTop);
    show(CrossWidthText, s.CrossWidth);
    show(CrossHeightText, s.CrossHeight);
    show(CrossAlphaText, s.CrossAlpha);
    showFile(LifeIconLabel, s.LifeIcon);
    show(LifeIconLeftText, s.LifeLeft);
    show(LifeIconTopText, s.LifeTop);
    show(LifeIconWidthText, s.LifeWidth);
    show(LifeIconHeightText, s.LifeHeight);
    show(LifeIconAlphaText, s.LifeAlpha);
    show(LifeStringLeftText, s.LifeStringLeft);
    show(LifeStringTopText, s.LifeStringTop);
    show(InventoryLeftText, s.InventoryLeft);
    show(InventoryTopText, s.InventoryTop);
    show(InventoryAlphaText, s.InventoryAlpha);
    show(InventoryStringLeftText, s.InventoryStringLeft);
    show(InventoryStringTopText, s.InventoryStringTop);
    show(WeaponLeftText, s.WeaponLeft);
    show(WeaponTopText, s.WeaponTop);
    show(WeaponAlphaText, s.WeaponAlpha);
    show(WeaponStringLeftText, s.WeaponStringLeft);
    show(WeaponStringTopText, s.WeaponStringTop);
    showFile(DeveloperVideoLabel, s.DeveloperVideo);
    showFile(IntroVideoLabel, s.IntroVideo);
    showFile(IntroMusicLabel, s.IntroMusic);
    showFile(ExtroVideoLabel, s.ExtroVideo);
    showFile(ExtroMusicLabel, s.ExtroMusic);
    showFile(SmallFontLabel, s.SmallFontBitmap);
    show(SmallFontWidthText, s.SmallFontWidth);
    show(SmallFontHeightText, s.SmallFontHeight);
    showFile(BigFontLabel, s.BigFontBitmap);
    show(BigFontWidthText, s.BigFontWidth);
    show(BigFontHeightText, s.BigFontHeight);
}

void TGameParamForm::TranslateForm()
{
    // A dictionary that cannot be read leaves the texts as they were.
    RunGuarded(this, [] { LoadDictionary("Partiva.dic"); });
    const auto setAll = [](std::initializer_list<QLabel*> labels, const QString& text) {
        for (QLabel* label : labels)
            label->setText(withoutAccelerator(text));
    };

    setWindowTitle(Entry(PartivaText("Caption")));
    setAll({Label1}, Entry(PartivaText("Label1")));
    SaveParameters1->setText(Entry(PartivaText("SaveParameters1")));
    Quit1->setText(Entry(PartivaText("Quit1")));
    Help1->setText(Entry(PartivaText("Help1")));
    OutsideFolderMessage = DictionaryText(PartivaText("OutsideFolderMessage"));
    File1->setTitle(Entry(PartivaText("File1")));
    if (WAVDialog) {
        WAVDialog->OutsideFolderMessage = DictionaryText(PartivaText("OutsideFolderMessage"));
        WAVDialog->setWindowTitle(Entry(PartivaText("WAVDialogCaption")));
        WAVDialog->Label1->setText(withoutAccelerator(Entry(PartivaText("File1"))));
        WAVDialog->OKButton->setText(Entry(PartivaText("OKButton")));
        WAVDialog->ChangeButton->setText(Entry(PartivaText("ChangeButton")));
        WAVDialog->ClearButton->setText(Entry(PartivaText("ClearButton")));
        WAVDialog->CancelButton->setText(Entry(PartivaText("CancelButton")));
        WAVDialog->PlayButton->setText(Entry(PartivaText("PlayButton")));
    }
    setAll({Label2}, Entry(PartivaText("Label2")));
    setAll({Label3}, Entry(PartivaText("Label3")));
    setAll({Label4}, Entry(PartivaText("Label4")));
    setAll({Label5}, Entry(PartivaText("Label5")));
    setAll({Label6}, Entry(PartivaText("Label6")));
    setAll({Label7}, Entry(PartivaText("Label7")));
    StartLevelDialog.title = Entry(PartivaText("StartLevelTitle"));
    PCXDialog.title = Entry(PartivaText("PCXTitle"));
    setAll({Label8}, Entry(PartivaText("Label8")));
    HelpDialog.title = Entry(PartivaText("HelpTitle"));
    setAll({Label9}, Entry(PartivaText("Label9")));
    for (QPushButton* clear : {ClearSmallFontButton, ClearBigFontButton, ClearHelpFileButton, ClearCrossButton, ClearLifeIcon,
                               DeveloperVideoClearButton, IntroVideoClearButton, IntroMusicClearButton,
                               ExtroVideoClearButton, ExtroMusicClearButton})
        clear->setText(Entry(PartivaText("ClearButtons")));
    setAll({Label10}, Entry(PartivaText("Label10")));
    setAll({Label11}, Entry(PartivaText("Label11")));
    setAll({Label12, Label15, Label22, Label21, Label29, Label34, Label31, Label39}, Entry(PartivaText("LeftLabels")));
    setAll({Label13, Label16, Label23, Label27, Label30, Label35, Label32, Label40}, Entry(PartivaText("TopLabels")));
    setAll({Label17, Label24}, Entry(PartivaText("IconWidthLabels")));
    setAll({Label18, Label25}, Entry(PartivaText("IconHeightLabels")));
    setAll({Label19, Label26, Label33, Label38}, Entry(PartivaText("AlphaLabels")));
    setAll({Label14}, Entry(PartivaText("Label14")));
    setAll({Label20}, Entry(PartivaText("Label20")));
    setAll({Label28}, Entry(PartivaText("Label28")));
    setAll({Label37}, Entry(PartivaText("Label37")));
    setAll({Label36}, Entry(PartivaText("Label36")));
    setAll({Label42}, Entry(PartivaText("Label42")));
    setAll({Label41}, Entry(PartivaText("Label41")));
    setAll({Label43}, Entry(PartivaText("Label43")));
    setAll({Label44}, Entry(PartivaText("Label44")));
    setAll({Label45}, Entry(PartivaText("Label45")));
    setAll({Label47}, Entry(PartivaText("Label47")));
    setAll({Label46}, Entry(PartivaText("Label46")));
    setAll({Label48}, Entry(PartivaText("Label48")));
    setAll({Label49, Label53}, Entry(PartivaText("FontWidthLabels")));
    setAll({Label50, Label54}, Entry(PartivaText("FontHeightLabels")));
    setAll({Label51}, Entry(PartivaText("Label51")));
    fitWindow();
}

// ---- Edits ----

void TGameParamForm::GameTitleTextChange()
{
    GameSettings.GameTitle = Native(GameTitleText->text());
    RefreshControls();
}

void TGameParamForm::integerEditChange(QLineEdit* edit, std::int32_t& value)
{
    if (const auto number = ParseInteger(Native(edit->text())))
        value = *number;
    RefreshControls();
}

void TGameParamForm::fractionEditChange(QLineEdit* edit, float& value)
{
    if (const auto number = ParseFraction(Native(edit->text())))
        value = *number;
    RefreshControls();
}

void TGameParamForm::CameraMinDistanceTextChange() { integerEditChange(CameraMinDistanceText, GameSettings.CameraMinDistance); }
void TGameParamForm::CameraMaxDistanceTextChange() { integerEditChange(CameraMaxDistanceText, GameSettings.CameraMaxDistance); }
void TGameParamForm::CameraStepTextChange() { integerEditChange(CameraStepText, GameSettings.CameraStep); }
void TGameParamForm::SmallFontWidthTextChange() { integerEditChange(SmallFontWidthText, GameSettings.SmallFontWidth); }
void TGameParamForm::SmallFontHeightTextChange() { integerEditChange(SmallFontHeightText, GameSettings.SmallFontHeight); }
void TGameParamForm::BigFontWidthTextChange() { integerEditChange(BigFontWidthText, GameSettings.BigFontWidth); }
void TGameParamForm::BigFontHeightTextChange() { integerEditChange(BigFontHeightText, GameSettings.BigFontHeight); }
void TGameParamForm::StartSaveNumberTextChange() { integerEditChange(StartSaveNumberText, GameSettings.StartSaveNumber); }
void TGameParamForm::TimerHealthTextChange() { fractionEditChange(TimerHealthText, GameSettings.TimerHealth); }
void TGameParamForm::TimerLeftTextChange() { fractionEditChange(TimerLeftText, GameSettings.TimerLeft); }
void TGameParamForm::TimerTopTextChange() { fractionEditChange(TimerTopText, GameSettings.TimerTop); }
void TGameParamForm::CrossLeftTextChange() { fractionEditChange(CrossLeftText, GameSettings.CrossLeft); }
void TGameParamForm::CrossTopTextChange() { fractionEditChange(CrossTopText, GameSettings.CrossTop); }
void TGameParamForm::CrossWidthTextChange() { fractionEditChange(CrossWidthText, GameSettings.CrossWidth); }
void TGameParamForm::CrossHeightTextChange() { fractionEditChange(CrossHeightText, GameSettings.CrossHeight); }
void TGameParamForm::CrossAlphaTextChange() { integerEditChange(CrossAlphaText, GameSettings.CrossAlpha); }
void TGameParamForm::LifeIconLeftTextChange() { fractionEditChange(LifeIconLeftText, GameSettings.LifeLeft); }
void TGameParamForm::LifeIconTopTextChange() { fractionEditChange(LifeIconTopText, GameSettings.LifeTop); }
void TGameParamForm::LifeIconWidthTextChange() { fractionEditChange(LifeIconWidthText, GameSettings.LifeWidth); }
void TGameParamForm::LifeIconHeightTextChange() { fractionEditChange(LifeIconHeightText, GameSettings.LifeHeight); }
void TGameParamForm::LifeIconAlphaTextChange() { integerEditChange(LifeIconAlphaText, GameSettings.LifeAlpha); }
void TGameParamForm::LifeStringLeftTextChange() { fractionEditChange(LifeStringLeftText, GameSettings.LifeStringLeft); }
void TGameParamForm::LifeStringTopTextChange() { fractionEditChange(LifeStringTopText, GameSettings.LifeStringTop); }
void TGameParamForm::InventoryLeftTextChange() { fractionEditChange(InventoryLeftText, GameSettings.InventoryLeft); }
void TGameParamForm::InventoryTopTextChange() { fractionEditChange(InventoryTopText, GameSettings.InventoryTop); }
void TGameParamForm::InventoryAlphaTextChange() { integerEditChange(InventoryAlphaText, GameSettings.InventoryAlpha); }
void TGameParamForm::InventoryStringLeftTextChange() { fractionEditChange(InventoryStringLeftText, GameSettings.InventoryStringLeft); }
void TGameParamForm::InventoryStringTopTextChange() { fractionEditChange(InventoryStringTopText, GameSettings.InventoryStringTop); }
void TGameParamForm::WeaponLeftTextChange() { fractionEditChange(WeaponLeftText, GameSettings.WeaponLeft); }
void TGameParamForm::WeaponTopTextChange() { fractionEditChange(WeaponTopText, GameSettings.WeaponTop); }
void TGameParamForm::WeaponAlphaTextChange() { integerEditChange(WeaponAlphaText, GameSettings.WeaponAlpha); }
void TGameParamForm::WeaponStringLeftTextChange() { fractionEditChange(WeaponStringLeftText, GameSettings.WeaponStringLeft); }
void TGameParamForm::WeaponStringTopTextChange() { fractionEditChange(WeaponStringTopText, GameSettings.WeaponStringTop); }

// ---- Files ----

void TGameParamForm::chooseFile(const FileDialogRequest& dialog, std::string& value, bool levelFile)
{
    FileDialogRequest request = dialog;
    // The dialogs open in the game folder (or its LEVEL folder), as the disk spells them.
    const std::string folder = Native(dialog.folder);
    request.folder = QString::fromStdString((folder == "." ? GameFolderPath : ResolvePath(folder, GameFolderPath)).string());
    const QString chosen = ChooseOpenFile(this, request);
    if (chosen.isEmpty())
        return;
    const std::string relative = levelFile ? RelativeToLevelFolder(Native(chosen)) : RelativeToGameFolder(Native(chosen));
    if (!relative.empty())
        value = relative;
    else
        ShowMessage(this, levelFile ? Entry(PartivaText("LevelOutsideMessage")) : Ui(OutsideFolderMessage));
    RefreshControls();
}

void TGameParamForm::chooseSound(std::string& value)
{
    if (WAVDialog) {
        WAVDialog->FileName = value;
        if (WAVDialog->exec() == QDialog::Accepted)
            value = WAVDialog->FileName;
    }
    RefreshControls();
}

void TGameParamForm::clearFile(std::string& value)
{
    value.clear();
    RefreshControls();
}

void TGameParamForm::MenuSoundLabelClick() { chooseSound(GameSettings.MenuSound); }
void TGameParamForm::TimerSoundLabelClick() { chooseSound(GameSettings.TimerSound); }
void TGameParamForm::CameraSoundLabelClick() { chooseSound(GameSettings.CameraSound); }

void TGameParamForm::SmallFontLabelClick() { chooseFile(PCXDialog, GameSettings.SmallFontBitmap, false); }
void TGameParamForm::BigFontLabelClick() { chooseFile(PCXDialog, GameSettings.BigFontBitmap, false); }
void TGameParamForm::StartLevelLabelClick() { chooseFile(StartLevelDialog, GameSettings.StartLevel, true); }
void TGameParamForm::HelpFileLabelClick() { chooseFile(HelpDialog, GameSettings.HelpFile, false); }
void TGameParamForm::CrossIconLabelClick() { chooseFile(PCXDialog, GameSettings.CrossIcon, false); }
void TGameParamForm::LifeIconLabelClick() { chooseFile(PCXDialog, GameSettings.LifeIcon, false); }
void TGameParamForm::DeveloperVideoLabelClick() { chooseFile(OpenVideoDialog, GameSettings.DeveloperVideo, false); }
void TGameParamForm::IntroVideoLabelClick() { chooseFile(OpenVideoDialog, GameSettings.IntroVideo, false); }
void TGameParamForm::IntroMusicLabelClick() { chooseFile(OpenMusicDialog, GameSettings.IntroMusic, false); }
void TGameParamForm::ExtroVideoLabelClick() { chooseFile(OpenVideoDialog, GameSettings.ExtroVideo, false); }
void TGameParamForm::ExtroMusicLabelClick() { chooseFile(OpenMusicDialog, GameSettings.ExtroMusic, false); }

void TGameParamForm::ClearSmallFontButtonClick() { clearFile(GameSettings.SmallFontBitmap); }
void TGameParamForm::ClearBigFontButtonClick() { clearFile(GameSettings.BigFontBitmap); }
void TGameParamForm::ClearHelpFileButtonClick() { clearFile(GameSettings.HelpFile); }
void TGameParamForm::ClearCrossButtonClick() { clearFile(GameSettings.CrossIcon); }
void TGameParamForm::ClearLifeIconClick() { clearFile(GameSettings.LifeIcon); }
void TGameParamForm::DeveloperVideoClearButtonClick() { clearFile(GameSettings.DeveloperVideo); }
void TGameParamForm::IntroVideoClearButtonClick() { clearFile(GameSettings.IntroVideo); }
void TGameParamForm::IntroMusicClearButtonClick() { clearFile(GameSettings.IntroMusic); }
void TGameParamForm::ExtroVideoClearButtonClick() { clearFile(GameSettings.ExtroVideo); }
void TGameParamForm::ExtroMusicClearButtonClick() { clearFile(GameSettings.ExtroMusic); }

// ---- Menu ----

void TGameParamForm::SaveParameters1Click()
{
    try {
        SaveGameSettings();
    } catch (const OrmelError& error) {
        ShowError(this, QString::fromStdString(error.what()));
    }
}

void TGameParamForm::Quit1Click() { QApplication::quit(); }

void TGameParamForm::Help1Click() { OpenHelp("Partiva"); }
