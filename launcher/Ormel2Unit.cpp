#include "Ormel2Unit.h"

#include "Deploy.h"
#include "DeployProgressForm.h"
#include "Dialogs.h"
#include "Errors.h"
#include "FileResolver.h"
#include "FolderContainment.h"
#include "LocalisationUnit.h"
#include "Ormel2Entries.h"
#include "NewProject.h"
#include "Ormel2Settings.h"
#include "Shell.h"
#include "Text.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

// Resources of a static library are registered by hand, from the global namespace.
static void registerLauncherResources() { Q_INIT_RESOURCE(Ormel2); }

namespace {

constexpr int ClientWidth = 494;
constexpr int ClientHeight = 247;
constexpr int ButtonWidth = 153;
constexpr int ButtonHeight = 25;

bool gameProgramExists(const std::string& name) { return ProgramExists(name, ProgramKind::OfTheGame); }

// Whether the deploy may go on into `target`, after a refusal or a question when the folder is not
// one to fill without asking; nothing when it may not.
std::optional<OtherFolderConsent> deployConsent(QWidget* parent, const std::filesystem::path& target)
{
    const QString folder = "\n" + Ui(target.string());
    switch (ExamineDeployTarget(target)) {
    case DeployTargetKind::Unsafe:
        ShowError(parent, EntryOrEnglish(Ormel2Text("UnsafeDeployTarget")));
        return std::nullopt;
    case DeployTargetKind::NotAFolder:
        ShowError(parent, EntryOrEnglish(Ormel2Text("NotADeployFolder")) + folder);
        return std::nullopt;
    case DeployTargetKind::InsideProject:
        ShowError(parent, EntryOrEnglish(Ormel2Text("DeployInsideProject")) + "\n" +
                              Ui(EnclosingGameProject(target).value_or(target).string()));
        return std::nullopt;
    case DeployTargetKind::OtherFolder:
        if (!AskYesNo(parent, Entry(Ormel2Text("DeployCaption")), EntryOrEnglish(Ormel2Text("EmptyOtherFolder")) + "\n" + folder))
            return std::nullopt;
        return OtherFolderConsent::Empty;
    default:
        return OtherFolderConsent::Refuse;
    }
}

// The closing message: where the game went, then what it lacks, what it should not hold and
// what was left out on purpose.
QString deployReport(const DeployCounts& counts)
{
    QString text = Entry(Ormel2Text("Deployed")) + "\n\n" + EntryOrEnglish(Ormel2Text("DeployedInto")) + "\n" +
                   Ui(counts.target.string()) + "\n" +
                   EntryOrEnglish(Ormel2Text("DeployedFiles"))
                       .arg(counts.files)
                       .arg(QLocale().formattedDataSize(static_cast<qint64>(counts.bytes), 1, QLocale::DataSizeTraditionalFormat));
    const auto list = [&text](const QString& heading, const std::vector<std::string>& files) {
        if (files.empty())
            return;
        text += "\n\n" + heading;
        for (const std::string& file : files)
            text += "\n" + Ui(file);
    };
    list(EntryOrEnglish(Ormel2Text("NotCopied")), counts.failures);
    list(EntryOrEnglish(Ormel2Text("NotRemoved")), counts.notRemoved);
    list(EntryOrEnglish(Ormel2Text("SpecialFilesLeftOut")), counts.specialFiles);
    list(EntryOrEnglish(Ormel2Text("RepeatedFoldersLeftOut")), counts.repeatedFolders);
    return text;
}

} // namespace

TOrmel2Form::TOrmel2Form(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName("Ormel2Form");
    registerLauncherResources();
    buildControls();
    buildMenus();
    projectWatcher_ = new QFileSystemWatcher(this);
    connect(projectWatcher_, &QFileSystemWatcher::directoryChanged, this, &TOrmel2Form::watchGameTitle);
    FormCreate();

    setFixedSize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TOrmel2Form::buildControls()
{
    auto* client = new QWidget(this);
    client->setFixedSize(ClientWidth, ClientHeight);
    client->setAutoFillBackground(true);
    QPalette background = client->palette();
    background.setColor(QPalette::Window, QApplication::palette().color(QPalette::Dark));
    client->setPalette(background);
    setCentralWidget(client);

    Image1 = new QLabel(client);
    Image1->setGeometry(170, 4, 320, 240);
    Image1->setPixmap(QPixmap(":/launcher/Ormel2Art.png"));

    Label1 = new QLabel(QStringLiteral("www.ormel2.example"), client);
    Label1->setStyleSheet("QLabel { color: #a0a0a0; background: black; padding: 0 2px; }");
    Label1->adjustSize();
    Label1->move(265, 227);

    const struct {
        QPushButton** button;
        const char* name;
        int top;
        void (TOrmel2Form::*click)();
    } buttons[] = {
        {&TextureButton, "TextureButton", 6, &TOrmel2Form::TextureButtonClick},
        {&Tessaro3DButton, "Tessaro3DButton", 40, &TOrmel2Form::Tessaro3DButtonClick},
        {&TileButton, "TileButton", 75, &TOrmel2Form::TileButtonClick},
        {&LevelButton, "LevelButton", 111, &TOrmel2Form::LevelButtonClick},
        {&PartivaButton, "PartivaButton", 147, &TOrmel2Form::PartivaButtonClick},
        {&TestGameButton, "TestGameButton", 182, &TOrmel2Form::TestGameButtonClick},
        {&DeployButton, "DeployButton", 218, &TOrmel2Form::DeployButtonClick},
    };
    QWidget* previous = nullptr;
    for (const auto& b : buttons) {
        auto* button = new QPushButton(client);
        button->setObjectName(b.name);
        button->setGeometry(8, b.top, ButtonWidth, ButtonHeight);
        connect(button, &QPushButton::clicked, this, b.click);
        if (previous)
            setTabOrder(previous, button);
        previous = button;
        *b.button = button;
    }
}

void TOrmel2Form::buildMenus()
{
    File1 = menuBar()->addMenu(QString());
    NewProject1 = File1->addAction(QString(), QKeySequence(Qt::CTRL | Qt::Key_N), this, &TOrmel2Form::NewProject1Click);
    OpenProject1 = File1->addAction(QString(), QKeySequence(Qt::CTRL | Qt::Key_O), this, &TOrmel2Form::OpenProject1Click);
    File1->addSeparator();
    Quit1 = File1->addAction(QString(), QKeySequence(Qt::CTRL | Qt::Key_Q), this, &TOrmel2Form::Quit1Click);

    Options1 = menuBar()->addMenu(QString());
    RendererMenu = Options1->addMenu(QStringLiteral("Level editor && Game rendering mode"));
    SoftwareMenu = RendererMenu->addAction("Software", this, &TOrmel2Form::SoftwareMenuClick);
    OpenGLMenu = RendererMenu->addAction("OpenGL", this, &TOrmel2Form::OpenGLMenuClick);
    DirectXMenu = RendererMenu->addAction("DirectX", this, &TOrmel2Form::DirectXMenuClick);
    for (QAction* item : RendererMenu->actions())
        item->setCheckable(true);
    LanguageMenu = Options1->addMenu(QStringLiteral("Language"));

    Help1 = menuBar()->addAction(QString(), this, &TOrmel2Form::Help1Click);
    Help1->setShortcut(QKeySequence(Qt::Key_F1));
}

void TOrmel2Form::FormCreate()
{
    TranslateForm();
    LoadSettings();
    TranslateForm();
    if (!projectWatcher_->directories().isEmpty())
        projectWatcher_->removePaths(projectWatcher_->directories());
    projectWatcher_->addPath(QDir::currentPath());
}

void TOrmel2Form::watchGameTitle()
{
    const std::string title = ReadLauncherSettings().GameTitle;
    if (title == GameTitle)
        return;
    GameTitle = title;
    setWindowTitle(Entry(Ormel2Text("Caption")) + " - " + Ui(GameTitle));
}

void TOrmel2Form::enterProject(const QString& folder)
{
    if (!QDir::setCurrent(folder))
        return ShowError(this, EntryOrEnglish(Ormel2Text("NotAProject")) + "\n" + folder);
    FormCreate();
}

void TOrmel2Form::NewProject1Click()
{
    const std::optional<std::filesystem::path> demo = FindProjectTemplate(RunningProgramFolder());
    if (!demo)
        return ShowError(this, EntryOrEnglish(Ormel2Text("NoProjectTemplate")));
    const QString folder = ChooseSaveFile(this, {Entry(Ormel2Text("NewProjectTitle")), {}, QDir::currentPath() + "/..", {}, {}});
    if (folder.isEmpty())
        return;
    {
        const HourglassCursor hourglass;
        MakeProjectFolder(*demo, Native(folder));
    }
    enterProject(folder);
}

void TOrmel2Form::OpenProject1Click()
{
    const QString folder = ChooseFolder(this, {Entry(Ormel2Text("OpenProjectTitle")), {}, QDir::currentPath() + "/..", {}, {}});
    if (folder.isEmpty())
        return;
    // Any folder would do for the launcher, which would write its settings there: only a game's.
    const std::filesystem::path path = Native(folder);
    std::error_code ec;
    if (!IsGameProject(path) && !std::filesystem::exists(ResolvePath("Ormel2.ini", path), ec))
        return ShowError(this, EntryOrEnglish(Ormel2Text("NotAProject")) + "\n" + folder);
    enterProject(folder);
}

void TOrmel2Form::TranslateForm()
{
    // A dictionary that cannot be read leaves the texts as they were. The start translates twice:
    // the same trouble is told once.
    try {
        LoadDictionary("Ormel2.dic");
        dictionaryTrouble_.clear();
    } catch (const OrmelError& error) {
        if (dictionaryTrouble_ != error.what())
            ShowError(this, QString::fromStdString(error.what()));
        dictionaryTrouble_ = error.what();
    }
    File1->setTitle(Entry(Ormel2Text("File1")));
    NewProject1->setText(EntryOrEnglish(Ormel2Text("NewProject1")));
    OpenProject1->setText(EntryOrEnglish(Ormel2Text("OpenProject1")));
    Quit1->setText(Entry(Ormel2Text("Quit1")));
    Options1->setTitle(Entry(Ormel2Text("Options1")));
    RendererMenu->setTitle(Entry(Ormel2Text("RendererMenu")));
    LanguageMenu->setTitle(Entry(Ormel2Text("LanguageMenu")));
    Help1->setText(Entry(Ormel2Text("Help1")));
    setWindowTitle(Entry(Ormel2Text("Caption")) + " - " + Ui(GameTitle));
    SetMessageTitle(EntryOrEnglish(Ormel2Text("Caption")));
    SetDialogButtons(Ormel2Entries);
    Tessaro3DButton->setText(Entry(Ormel2Text("Tessaro3DButton")));
    TextureButton->setText(Entry(Ormel2Text("TextureButton")));
    TileButton->setText(Entry(Ormel2Text("TileButton")));
    LevelButton->setText(Entry(Ormel2Text("LevelButton")));
    PartivaButton->setText(Entry(Ormel2Text("PartivaButton")));
    TestGameButton->setText(Entry(Ormel2Text("TestGameButton")));
    DeployButton->setText(Entry(Ormel2Text("DeployButton")));
}

void TOrmel2Form::LoadSettings()
{
    const LauncherSettings settings = ReadLauncherSettings();
    CurrentLanguage = LanguageName;
    LanguageMenu->clear();
    for (const std::string& name : settings.Languages) {
        QAction* item = LanguageMenu->addAction(Ui(name));
        item->setData(QString::fromStdString(name));
        item->setCheckable(true);
        item->setChecked(name == CurrentLanguage);
        connect(item, &QAction::triggered, this, [this, item] { LanguageItemClick(item); });
    }
    GameTitle = settings.GameTitle;
    SetRenderer(settings.Renderer);
}

void TOrmel2Form::SetRenderer(std::int32_t mode)
{
    try {
        WriteRenderer(mode);
    } catch (const OrmelError& error) {
        ShowError(this, QString::fromStdString(error.what()));
    }
    const QList<QAction*> items = RendererMenu->actions();
    for (qsizetype i = 0; i < items.size(); ++i)
        items[i]->setChecked(i == mode);
    Renderer = mode;
}

void TOrmel2Form::SetLanguage(const std::string& name)
{
    const std::vector<std::string> failures = WriteLanguage(name);
    if (!failures.empty()) {
        QString text;
        for (const std::string& failure : failures)
            text += QString::fromStdString(failure) + "\n";
        ShowError(this, text.trimmed());
    }
    TranslateForm();
}

void TOrmel2Form::LanguageItemClick(QAction* item)
{
    SetLanguage(item->data().toString().toStdString());
    for (QAction* other : LanguageMenu->actions())
        other->setChecked(false);
    item->setChecked(true);
}

void TOrmel2Form::SoftwareMenuClick() { SetRenderer(0); }
void TOrmel2Form::OpenGLMenuClick() { SetRenderer(1); }
void TOrmel2Form::DirectXMenuClick() { SetRenderer(2); }

void TOrmel2Form::startProgram(const std::string& name, ProgramKind kind)
{
    if (StartProgram(name, kind))
        return;
    // A button that does nothing would pass the failure off as nothing: say what is missing where.
    QString text = EntryOrEnglish(Ormel2Text("ProgramMissing")).arg(Ui(name));
    for (const std::filesystem::path& folder : ProgramFolders(kind))
        text += "\n" + Ui(folder.string());
    if (kind == ProgramKind::OfTheGame)
        text += "\n\n" + EntryOrEnglish(Ormel2Text("SeparatePrograms"));
    ShowError(this, text);
}

void TOrmel2Form::TextureButtonClick() { startProgram("Pigmenta.exe", ProgramKind::OfTheSuite); }
void TOrmel2Form::Tessaro3DButtonClick() { startProgram("Tessaro3D.exe", ProgramKind::OfTheSuite); }
void TOrmel2Form::TileButtonClick() { startProgram("Mosaro.exe", ProgramKind::OfTheGame); }
void TOrmel2Form::PartivaButtonClick() { startProgram("Partiva.exe", ProgramKind::OfTheSuite); }
void TOrmel2Form::LevelButtonClick()
{
    startProgram(LevelEditorProgram(Renderer, gameProgramExists), ProgramKind::OfTheGame);
}
void TOrmel2Form::TestGameButtonClick()
{
    startProgram(PlayerProgram(Renderer, gameProgramExists), ProgramKind::OfTheGame);
}

void TOrmel2Form::DeployButtonClick()
{
    const std::optional<QString> typed = AskText(this, Entry(Ormel2Text("DeployCaption")), Entry(Ormel2Text("DeployPrompt")), Ui(DefaultDeployTarget().string()));
    if (!typed)
        return;
    const std::filesystem::path target = DeployTargetPath(Native(*typed));
    const std::optional<OtherFolderConsent> consent = deployConsent(this, target);
    if (!consent)
        return;
    DeployCounts counts;
    {
        const HourglassCursor hourglass;
        TDeployProgressForm progress(this, Entry(Ormel2Text("DeployCaption")));
        progress.ShowNow();
        SetMessageBeep(&QApplication::beep);
        counts = DeployGame(target, *consent, [&progress](TFileCopyNew& copier, std::uint16_t read, std::uint16_t written) {
            progress.CopyProgress(copier, read, written);
        });
    }
    // The closing message offers to show the folder, whatever it says (files missing from the
    // game, or that should not be in it, are what the user may want to look at first).
    const QString folder = Ui(counts.target.string());
    if (AskYesNo(this, Entry(Ormel2Text("DeployCaption")), deployReport(counts) + "\n\n" + EntryOrEnglish(Ormel2Text("OpenDeployedFolder"))))
        OpenFolder(this, folder, EntryOrEnglish(Ormel2Text("FolderNotShown")));
}

void TOrmel2Form::Help1Click() { OpenHelp(this, "Ormel2", Ormel2Text("HelpNotOpened"), Ormel2Text("HelpMissing")); }

void TOrmel2Form::Quit1Click() { QApplication::quit(); }
