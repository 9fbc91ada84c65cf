#include "GameParamUnit.h"

#include "DocumentTexts.h"
#include "EditorDocument.h"
#include "Errors.h"
#include "FileFilter.h"
#include "FileLabel.h"
#include "GameSettings.h"
#include "LocalisationUnit.h"
#include "OrmelApplication.h"
#include "OpenWAV.h"
#include "ParamControls.h"
#include "PartivaEntries.h"
#include "ProgramUsages.h"
#include "Shell.h"
#include "Snd.h"
#include "Text.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <span>
#include <variant>
#include <vector>

namespace {

constexpr int ClientWidth = 763;
constexpr int ClientHeight = 518;
constexpr int RowHeight = 19;
const QColor Background(115, 140, 131);
const QColor DarkBlue(0, 0, 160);


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

QString fromView(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

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
    makeDocument(); // after the centring: a place remembered from the last run wins
}

void TGameParamForm::makeDocument()
{
    // English until the first activation translates the window.
    document = new EditorDocument(this, QStringLiteral("Partiva"), QStringLiteral("ini"),
                                  DocumentTexts::FromTable(EntryOrEnglish(PartivaText("Caption")), PartivaEntries),
                                  {[this] { return saveDocument(); },
                                   [] { return QByteArray::fromStdString(GameSettingsFileBytes()); },
                                   [this](const QString& file) { openFromElsewhere(file); },
                                   [this](const QString& copy, const QString& folder) { openRecovered(copy, folder); }});
    document->AddMenus(File1, Quit1, Help1);
    for (QLineEdit* edit : centralWidget()->findChildren<QLineEdit*>())
        document->History().EndRunsWhenLeft(edit);
    document->Opened(documentFolder());
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

    // One line per line of the table: a line that starts with a bold caption has it in the
    // first column and its other controls left to right in the second; a line without one
    // (the second line of the icons) takes the whole width, less an indent. A line whose
    // controls hold no file label ends with free space.
    int line = -1;
    QHBoxLayout* controls = nullptr;
    bool stretches = false;
    const auto endLine = [&] {
        if (controls && !stretches)
            controls->addStretch(1);
    };
    for (const ParamControl& control : ParamControls()) {
        QWidget* widget = createControl(control, client);
        if (control.line != line) {
            endLine();
            line = control.line;
            controls = new QHBoxLayout;
            controls->setSpacing(4);
            stretches = false;
            grid->setRowMinimumHeight(line, RowHeight);
            if (control.kind == ControlKind::BoldCaption) {
                grid->addWidget(widget, line, 0);
                grid->addLayout(controls, line, 1);
                continue;
            }
            controls->addSpacing(8);
            grid->addLayout(controls, line, 0, 1, 2);
        }
        const bool stretch = control.kind == ControlKind::TextEdit || qobject_cast<TFileLabel*>(widget);
        controls->addWidget(widget, stretch ? 1 : 0);
        stretches = stretches || stretch;
    }
    endLine();
    grid->setRowStretch(line + 1, 1);

    // The start level's line is dark blue.
    const auto level = std::ranges::find(ParamControls(), ControlKind::LevelLabel, &ParamControl::kind);
    for (const ParamControl& control : ParamControls())
        if (control.line == level->line && control.kind != ControlKind::ClearButton) {
            QWidget* widget = ControlWidget(*this, control);
            QPalette text = widget->palette();
            text.setColor(QPalette::WindowText, DarkBlue);
            widget->setPalette(text);
        }
    connectControls();
}

QWidget* TGameParamForm::createControl(const ParamControl& control, QWidget* client)
{
    QFont boldFont = font();
    boldFont.setBold(true);
    // Number edits take a slightly smaller font, so that a fraction's 15 digits ("0.0199999995529652")
    // fit five to a line.
    QFont numberFont = font();
    numberFont.setPointSizeF(7.5);
    const QFontMetrics numberMetrics(numberFont);
    const int integerWidth = numberMetrics.horizontalAdvance("-00000000") + 8;
    // Wide enough for the 15 digits of a fraction; a long translation may narrow them a little.
    const int fractionWidth = numberMetrics.horizontalAdvance("0.0000000000000000") + 14;
    const QString text = control.entry ? fromView(control.entry->english) : QString();

    QWidget* widget = nullptr;
    if (const auto member = std::get_if<QLabel* TGameParamForm::*>(&control.member)) {
        auto* label = new QLabel(WithoutAccelerator(text), client);
        if (control.kind == ControlKind::BoldCaption)
            label->setFont(boldFont);
        widget = this->*(*member) = label;
    } else if (const auto member = std::get_if<QLineEdit* TGameParamForm::*>(&control.member)) {
        QLineEdit* edit = nullptr;
        if (control.kind == ControlKind::NumberEdit) {
            const int width = std::holds_alternative<float TGameSettings::*>(control.value) ? fractionWidth : integerWidth;
            edit = new NumberEdit(client, width);
            edit->setFont(numberFont);
            edit->setMinimumWidth(width * 4 / 5);
            edit->setMaximumWidth(width);
        } else {
            edit = new QLineEdit(client);
        }
        edit->setFixedHeight(RowHeight);
        widget = this->*(*member) = edit;
    } else if (const auto member = std::get_if<TFileLabel* TGameParamForm::*>(&control.member)) {
        auto* label = new TFileLabel(client);
        label->setFixedHeight(RowHeight - 1);
        label->setMinimumWidth(120);
        widget = this->*(*member) = label;
    } else if (const auto member = std::get_if<QPushButton* TGameParamForm::*>(&control.member)) {
        auto* button = new QPushButton(text, client);
        button->setFixedSize(74, 18);
        widget = this->*(*member) = button;
    }
    widget->setObjectName(fromView(control.name));
    return widget;
}

void TGameParamForm::connectControls()
{
    for (const ParamControl& control : ParamControls()) {
        QWidget* widget = ControlWidget(*this, control);
        switch (control.kind) {
        case ControlKind::TextEdit:
            connect(static_cast<QLineEdit*>(widget), &QLineEdit::textChanged, this, [this, &control] { titleChange(control); });
            break;
        case ControlKind::NumberEdit:
            connect(static_cast<QLineEdit*>(widget), &QLineEdit::textChanged, this, [this, &control] { numberEditChange(control); });
            // Leaving the edit or pressing Enter shows the value's own text.
            connect(static_cast<QLineEdit*>(widget), &QLineEdit::editingFinished, this, &TGameParamForm::RefreshControls);
            break;
        case ControlKind::FileLabel:
        case ControlKind::LevelLabel:
        case ControlKind::SoundLabel:
            connect(static_cast<TFileLabel*>(widget), &TFileLabel::clicked, this, [this, &control] { fileLabelClick(control); });
            break;
        case ControlKind::ClearButton:
            connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, this, [this, &control] { clearButtonClick(control); });
            break;
        case ControlKind::BoldCaption:
        case ControlKind::Caption: break;
        }
    }
}

void TGameParamForm::buildMenu()
{
    File1 = menuBar()->addMenu("File");
    File1->setObjectName("File1");
    OpenFolder1 = File1->addAction("Open game folder...", QKeySequence(Qt::CTRL | Qt::Key_O), this,
                                   &TGameParamForm::OpenFolder1Click);
    OpenFolder1->setObjectName("OpenFolder1");
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
    std::vector<const ParamControl*> order;
    for (const ParamControl& control : ParamControls())
        if (control.tab > 0)
            order.push_back(&control);
    std::ranges::sort(order, {}, &ParamControl::tab);
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(ControlWidget(*this, *order[i - 1]), ControlWidget(*this, *order[i]));
}

void TGameParamForm::FormCreate()
{
    loadSettings();
    // An edit narrowed by a long translation shows the start of its number.
    for (QLineEdit* edit : centralWidget()->findChildren<QLineEdit*>())
        edit->setCursorPosition(0);
}

void TGameParamForm::loadSettings()
{
    try {
        LoadGameSettings();
    } catch (const OrmelError& error) {
        // The values are the defaults; a save will report the file's trouble again.
        ShowError(this, QString::fromStdString(error.what()));
    }
    RefreshControls();
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
    for (const ParamControl& control : ParamControls()) {
        QWidget* widget = ControlWidget(*this, control);
        if (const auto text = std::get_if<std::string TGameSettings::*>(&control.value)) {
            if (control.kind == ControlKind::TextEdit)
                setTextIfChanged(static_cast<QLineEdit*>(widget), Ui(GameSettings.*(*text)));
            else if (control.kind != ControlKind::ClearButton)
                static_cast<QLabel*>(widget)->setText(Ui(GameSettings.*(*text)));
        } else if (const auto integer = std::get_if<std::int32_t TGameSettings::*>(&control.value)) {
            setTextIfChanged(static_cast<QLineEdit*>(widget), QString::number(GameSettings.*(*integer)));
        } else if (const auto fraction = std::get_if<float TGameSettings::*>(&control.value)) {
            setTextIfChanged(static_cast<QLineEdit*>(widget), QString::fromStdString(FractionText(GameSettings.*(*fraction))));
        }
    }
}

void TGameParamForm::TranslateForm()
{
    // A dictionary that cannot be read leaves the texts as they were.
    RunGuarded(this, [] { LoadDictionary("Partiva.dic"); });

    document->Retranslate(DocumentTexts::FromTable(Entry(PartivaText("Caption")), PartivaEntries));
    SetMessageTitle(EntryOrEnglish(PartivaText("Caption")));
    SetDialogButtons(PartivaEntries);
    OpenFolder1->setText(Entry(PartivaText("OpenFolder1")));
    SaveParameters1->setText(Entry(PartivaText("SaveParameters1")));
    Quit1->setText(Entry(PartivaText("Quit1")));
    Help1->setText(Entry(PartivaText("Help1")));
    OutsideFolderMessage = DictionaryText(PartivaText("OutsideFolderMessage"));
    File1->setTitle(Entry(PartivaText("File1")));
    if (WAVDialog) {
        WAVDialog->OutsideFolderMessage = DictionaryText(PartivaText("OutsideFolderMessage"));
        WAVDialog->setWindowTitle(Entry(PartivaText("WAVDialogCaption")));
        WAVDialog->Label1->setText(WithoutAccelerator(Entry(PartivaText("File1"))));
        WAVDialog->OKButton->setText(Entry(PartivaText("OKButton")));
        WAVDialog->ChangeButton->setText(Entry(PartivaText("ChangeButton")));
        WAVDialog->ClearButton->setText(Entry(PartivaText("ClearButton")));
        WAVDialog->CancelButton->setText(Entry(PartivaText("CancelButton")));
        WAVDialog->PlayButton->setText(Entry(PartivaText("PlayButton")));
    }
    StartLevelDialog.title = Entry(PartivaText("StartLevelTitle"));
    PCXDialog.title = Entry(PartivaText("PCXTitle"));
    HelpDialog.title = Entry(PartivaText("HelpTitle"));
    // The page's captions and Clear buttons; a caption shows no accelerator marker.
    for (const ParamControl& control : ParamControls()) {
        if (!control.entry)
            continue;
        if (auto* button = qobject_cast<QPushButton*>(ControlWidget(*this, control)))
            button->setText(Entry(*control.entry));
        else
            static_cast<QLabel*>(ControlWidget(*this, control))->setText(WithoutAccelerator(Entry(*control.entry)));
    }
    fitWindow();
}

// ---- The document ----

QString TGameParamForm::documentFolder() const { return QString::fromStdString(GameFolderPath.string()); }

bool TGameParamForm::saveDocument()
{
    // A minimum above its maximum is named with both rows as the page and the Edit menu name
    // them; nothing is written until they agree.
    if (const BoundedPair* pair = BoundsConflict(GameSettings)) {
        const auto caption = [this](std::int32_t TGameSettings::* field) {
            const std::span<const ParamControl> rows = ParamControls();
            return commandText(*std::ranges::find_if(rows, [&](const ParamControl& row) { return row.value == ControlValue(field); }));
        };
        ShowError(this, EntryOrEnglish(PartivaText("BoundsConflict"))
                            .arg(caption(pair->MinimumField), caption(pair->MaximumField))
                            .arg(GameSettings.*pair->MinimumField)
                            .arg(GameSettings.*pair->MaximumField));
        return false;
    }
    SaveGameSettings();
    document->Saved(documentFolder());
    return true;
}

void TGameParamForm::openFromElsewhere(const QString& file)
{
    // A game folder, or the game.ini inside one.
    const QFileInfo info(file);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    if (!info.isDir() && info.fileName().compare(QStringLiteral("game.ini"), Qt::CaseInsensitive) != 0)
        throw FormatError(Native(document->History().Texts().refusedArgument.arg(
            file, QString::fromStdString(PartivaUsage().arguments))));
    if (QFileInfo(folder).canonicalFilePath() == QFileInfo(documentFolder()).canonicalFilePath())
        return; // open already
    if (document->MayDiscard())
        openFolder(folder);
}

void TGameParamForm::openFolder(const QString& folder)
{
    EnterNewGameFolder(Native(folder));
    if (Activated)
        UpperCaseGameFolder();
    loadSettings();
    document->Opened(documentFolder());
}

void TGameParamForm::openRecovered(const QString& copy, const QString& folder)
{
    // The copy holds game.ini's bytes; its folder is the one whose game.ini it is.
    const TGameSettings before = GameSettings;
    try {
        LoadGameSettingsFrom(Native(copy));
        EnterNewGameFolder(Native(folder));
    } catch (const OrmelError&) {
        GameSettings = before; // the copy is set aside; the window keeps what it showed
        throw;
    }
    if (Activated)
        UpperCaseGameFolder();
    RefreshControls();
    document->History().Start(documentFolder());
}

// ---- Menu ----

void TGameParamForm::OpenFolder1Click()
{
    FileDialogRequest request;
    request.title = WithoutAccelerator(OpenFolder1->text()).remove(QStringLiteral("..."));
    request.folder = documentFolder();
    const QString folder = ChooseFolder(this, request);
    if (!folder.isEmpty())
        document->OpenFiles({folder});
}

void TGameParamForm::SaveParameters1Click()
{
    RunGuarded(this, [this] { saveDocument(); });
}

void TGameParamForm::Quit1Click() { close(); }

void TGameParamForm::Help1Click() { OpenHelp(this, "Partiva", PartivaText("HelpNotOpened"), PartivaText("HelpMissing")); }
