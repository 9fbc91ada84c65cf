#include "PigmentaUnit.h"

#include "CurrentFolderScope.h"
#include "EditorDocument.h"
#include "Errors.h"
#include "FatalError.h"
#include "FormClient.h"
#include "K3xDisplay.h"
#include "LastFolders.h"
#include "LocalisationUnit.h"
#include "OrmelApplication.h"
#include "PigmentaEntries.h"
#include "Shell.h"
#include "SlotGrid.h"
#include "SlotGridPainter.h"
#include "TextureListModel.h"
#include "StartFolder.h"
#include "Text.h"
#include "UndoCommands.h"
#include "UpDownControl.h"
#include "Windows1252.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <filesystem>
#include <system_error>

namespace {

// The client area of the design's outer size of 581 x 485 with a tool window's frame, and the
// texture list's column beside it.
constexpr int ClientWidth = 573 + TMainForm::TextureColumnWidth + 1;
constexpr int ClientHeight = 434;
// Room for one cell of the grid below the panel; narrower windows cut the panel, as any form would.
constexpr int MinimumClientWidth = 21 + 68 + 1 + TMainForm::TextureColumnWidth + 1;
constexpr int MinimumClientHeight = 104 + 68 + BandHeight + 1;
constexpr int AnimationInterval = 100; // ms, ten images a second


QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, bool bold = false)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    label->move(x, y);
    label->adjustSize();
    return label;
}

} // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent)
    , flicker_(std::random_device{}())
{
    setObjectName("MainForm");
    // A sizeable window with a title and a close button only, as a tool window; it keeps its
    // place in the task bar, being the program's only window.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont small = font();
    small.setPixelSize(11); // the design's small dialog font: its labels sit 16 pixels apart
    setFont(small);

    auto* client = new FormClient(this);
    client->setObjectName("Client");
    client->setMinimumSize(MinimumClientWidth, MinimumClientHeight);
    setCentralWidget(client);
    buildPanel(client);
    buildMenus();
    connect(client, &FormClient::Painting, this, &TMainForm::paintClient);
    connect(client, &FormClient::Resized, this, &TMainForm::FormResize);
    connect(client, &FormClient::MouseMoved, this, &TMainForm::FormMouseMove);
    connect(client, &FormClient::MousePressed, this, &TMainForm::FormMouseDown);
    connect(client, &FormClient::TipAsked, this, &TMainForm::showSlotTip);
    connect(client, &FormClient::MenuAsked, this, &TMainForm::showMenu);
    connect(client, &FormClient::WheelTurned, this, &TMainForm::turnWheel);
    connect(client, &FormClient::FileDropped, this, &TMainForm::DropOnSlot);
    client->takesDrop = [this](const QPoint& at, const QStringList& files) { return SlotTakesDrop(at, files); };

    TextureAnimationTimer = new QTimer(this);
    TextureAnimationTimer->setInterval(AnimationInterval);
    connect(TextureAnimationTimer, &QTimer::timeout, this, &TMainForm::TextureAnimationTimerTimer);

    client->resize(ClientWidth, ClientHeight);
    resize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
    move(192, 107);
    FormCreate();
    makeDocument();
}

void TMainForm::buildPanel(QWidget* client)
{
    InterfacePanel = new QFrame(client);
    InterfacePanel->setObjectName("InterfacePanel");
    InterfacePanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    InterfacePanel->setGeometry(1, 0, 469, 103);

    Label1 = makeLabel(InterfacePanel, "Label1", "Image index:", 10, 8, true);
    ImageIndexLabel = makeLabel(InterfacePanel, "ImageIndexLabel", "Image Index:", 127, 10);
    Label2 = makeLabel(InterfacePanel, "Label2", "Image filename:", 10, 24, true);
    ImageFileNameLabel = makeLabel(InterfacePanel, "ImageFileNameLabel", "Image Filename:", 127, 23);
    ImageFileNameLabel->resize(324, ImageFileNameLabel->height());
    ColorLabel = makeLabel(InterfacePanel, "ColorLabel", "(color palette file)", 226, 11, true);
    QPalette red = ColorLabel->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    ColorLabel->setPalette(red);
    Label3 = makeLabel(InterfacePanel, "Label3", "Texture index:", 8, 40, true);
    TextureIndexLabel = makeLabel(InterfacePanel, "TextureIndexLabel", "Texture Index:", 127, 39, true);
    QPalette navy = TextureIndexLabel->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    TextureIndexLabel->setPalette(navy);
    Label4 = makeLabel(InterfacePanel, "Label4", "First image index:", 16, 56);
    FirstTextureImageLabel = makeLabel(InterfacePanel, "FirstTextureImageLabel", "First Image Index:", 159, 57);
    Label7 = makeLabel(InterfacePanel, "Label7", "Last image index:", 16, 72);
    LastTextureImageLabel = makeLabel(InterfacePanel, "LastTextureImageLabel", "Last Image Index:", 159, 72);
    NoTextureHint = makeLabel(InterfacePanel, "NoTextureHint", "", 8, 87);
    NoTextureHint->setPalette(red);
    NoTextureHint->hide();

    ClearTextureButton = new QPushButton("Clear texture", InterfacePanel);
    ClearTextureButton->setObjectName("ClearTextureButton");
    ClearTextureButton->setGeometry(303, 39, 67, 17);
    connect(ClearTextureButton, &QPushButton::clicked, this, &TMainForm::ClearTextureButtonClick);

    TextureIndex = new QScrollBar(Qt::Vertical, InterfacePanel);
    TextureIndex->setObjectName("TextureIndex");
    TextureIndex->setGeometry(451, 0, 16, 103);
    TextureIndex->setRange(0, LastSlot);
    TextureIndex->setPageStep(10);
    connect(TextureIndex, &QScrollBar::valueChanged, this, &TMainForm::TextureIndexChange);

    UpDown = new UpDownControl(client);
    UpDown->setObjectName("UpDown");
    UpDown->setGeometry(0, 104, 20, 329);
    UpDown->SetIncrement(-1);
    connect(UpDown, &UpDownControl::Changed, this, [this] { Repaint(); });

    buildTextureColumn(client);

    ViewPanel = new QWidget(client);
    ViewPanel->setObjectName("ViewPanel");
    ViewPanel->setGeometry(21, 103, 549, 329);
    ViewPanel->hide();
    TexturePanel = new QWidget(client);
    TexturePanel->setObjectName("TexturePanel");
    TexturePanel->setGeometry(470, 0, 102, 103);
    TexturePanel->hide();
}

void TMainForm::buildTextureColumn(QWidget* client)
{
    MakeTextureButton = new QPushButton("Make texture", client);
    MakeTextureButton->setObjectName("MakeTextureButton");
    TextureList = new QListView(client);
    TextureList->setObjectName("TextureList");
    TextureListRows = new TextureListModel(
        Bank, [](std::int32_t number, const AnimTexture& texture) {
            return texture.first == texture.last
                       ? EntryOrEnglish(PigmentaText("StillTextureRun")).arg(number).arg(texture.first)
                       : EntryOrEnglish(PigmentaText("TextureRun")).arg(number).arg(texture.first).arg(texture.last);
        },
        this);
    TextureList->setModel(TextureListRows);
    TextureList->setUniformItemSizes(true);
    TextureList->setWordWrap(true);
    TextureList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    TextureList->setIconSize(QSize(64, 64));
    TextureList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(TextureList, &QListView::clicked, this, &TMainForm::TextureListClick);
    connect(TextureList->verticalScrollBar(), &QScrollBar::valueChanged, this, &TMainForm::followAnimation);
}

void TMainForm::buildMenus()
{
    File1 = menuBar()->addMenu("&File");
    Newbank1 = File1->addAction("&New", QKeySequence(Qt::CTRL | Qt::Key_N), this, &TMainForm::Newbank1Click);
    Loadpigmenta1 = File1->addAction("&Load", this, &TMainForm::Loadpigmenta1Click);
    // Ctrl+L as the bank editor always had it, and Ctrl+O as every program opens.
    Loadpigmenta1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_L), QKeySequence(Qt::CTRL | Qt::Key_O)});
    Savepigmenta1 =
        File1->addAction("&Save as ...", QKeySequence(Qt::CTRL | Qt::Key_S), this, &TMainForm::Savepigmenta1Click);
    ImportImages1 = File1->addAction("&Import images ...", QKeySequence(Qt::CTRL | Qt::Key_I), this,
                                     &TMainForm::ImportImages1Click);
    Quit1 = File1->addAction("&Quit", QKeySequence(Qt::CTRL | Qt::Key_Q), this, &TMainForm::Quit1Click);
    Help1 = menuBar()->addAction("&Help", this, &TMainForm::Help1Click);
    Help1->setShortcut(QKeySequence(Qt::Key_F1));

    PopupMenu1 = new QMenu(this);
    LoadImage1 = PopupMenu1->addAction("&Load Image", QKeySequence(Qt::Key_F2), this, &TMainForm::LoadImage1Click);
    Clearimage1 = PopupMenu1->addAction("&Clear image", QKeySequence(Qt::Key_F3), this, &TMainForm::Clearimage1Click);
    Defineasfirsttextureimage1 = PopupMenu1->addAction("Define as &first texture image", QKeySequence(Qt::Key_F4), this,
                                                       &TMainForm::Defineasfirsttextureimage1Click);
    Defineaslasttextureimage1 = PopupMenu1->addAction("Define as l&ast texture image", QKeySequence(Qt::Key_F5), this,
                                                      &TMainForm::Defineaslasttextureimage1Click);
    MakeTexture1 = PopupMenu1->addAction("&Make texture", QKeySequence(Qt::Key_F6), this, &TMainForm::MakeTexture1Click);
    connect(MakeTextureButton, &QPushButton::clicked, MakeTexture1, &QAction::trigger);
    // The slot commands' keys work without opening the menu, on the slot under the mouse; the
    // menu shows them.
    for (QAction* command : PopupMenu1->actions())
        command->setShortcutVisibleInContextMenu(true);
    addActions(PopupMenu1->actions());
    DeleteTexture1 = new QAction("&Delete texture", TextureList);
    DeleteTexture1->setShortcut(QKeySequence::Delete);
    DeleteTexture1->setShortcutContext(Qt::WidgetShortcut);
    connect(DeleteTexture1, &QAction::triggered, this, &TMainForm::DeleteTexture1Click);
    TextureList->addAction(DeleteTexture1);
    TextureList->setContextMenuPolicy(Qt::ActionsContextMenu);

    const QString bankFilter = "Texture bank file (*.def)";
    OpenPCXDialog = {"", "PCX file (*.pcx *.PCX)", "", "", "pcx"};
    OpenPicturesDialog = {"", "", "", "", ""};
    OpenBankDialog = {"Please select a texture bank file", bankFilter, "", "", "def"};
    SaveBankDialog = OpenBankDialog;
}

void TMainForm::useStartFolder(const std::string& folder)
{
    startFolder = folder;
    OpenPCXDialog.folder = OpenBankDialog.folder = SaveBankDialog.folder = OpenPicturesDialog.folder = Ui(folder);
}

void TMainForm::FormCreate()
{
    std::error_code ec;
    useStartFolder(std::filesystem::current_path(ec).string());

    CreateImage(PreviewImage, TextureSide, TextureSide);
    SetColourTable(PreviewImage, Bank.bankPalette);
    FormResize(); // the view image, the row scroller's range
    TranslateForm();
    showCursorLabels();
    showTextureLabels();
    bankChanged();
}

void TMainForm::TranslateForm()
{
    // A dictionary that cannot be read leaves the texts as they were.
    RunGuarded(this, [] { LoadDictionary("Pigmenta.dic"); });
    BankTexts = {Native(EntryOrEnglish(PigmentaText("BankImagesMissing"))),
                 Native(EntryOrEnglish(PigmentaText("BankImagesWrongSize"))),
                 Native(EntryOrEnglish(PigmentaText("BankImagesUnreadable"))),
                 Native(EntryOrEnglish(PigmentaText("BankLinesKept")))};
    File1->setTitle(Entry(PigmentaText("File1")));
    Newbank1->setText(Entry(PigmentaText("Newbank1")));
    Loadpigmenta1->setText(Entry(PigmentaText("Loadpigmenta1")));
    Savepigmenta1->setText(Entry(PigmentaText("Savepigmenta1")));
    ImportImages1->setText(EntryOrEnglish(PigmentaText("ImportImages1")));
    Quit1->setText(Entry(PigmentaText("Quit1")));
    LoadImage1->setText(Entry(PigmentaText("LoadImage1")));
    Clearimage1->setText(Entry(PigmentaText("Clearimage1")));
    Defineasfirsttextureimage1->setText(Entry(PigmentaText("Defineasfirsttextureimage1")));
    Defineaslasttextureimage1->setText(Entry(PigmentaText("Defineaslasttextureimage1")));
    MakeTexture1->setText(EntryOrEnglish(PigmentaText("MakeTexture1")));
    MakeTextureButton->setText(WithoutAccelerator(MakeTexture1->text()) + " (F6)");
    DeleteTexture1->setText(EntryOrEnglish(PigmentaText("DeleteTexture1")));
    const struct {
        QLabel* label;
        const DictionaryEntry& entry;
    } labels[] = {{Label1, PigmentaText("Label1")}, {Label2, PigmentaText("Label2")},
                  {Label3, PigmentaText("Label3")}, {Label4, PigmentaText("Label4")},
                  {Label7, PigmentaText("Label7")}, {ColorLabel, PigmentaText("ColorLabel")}};
    for (const auto& l : labels) {
        l.label->setText(Entry(l.entry));
        l.label->adjustSize();
    }
    NoTextureHint->setText(EntryOrEnglish(PigmentaText("NoTextureHint")));
    NoTextureHint->adjustSize();
    ClearTextureButton->setText(Entry(PigmentaText("ClearTextureButton")));
    // A longer translation widens the button towards the scroll bar, never under it.
    ClearTextureButton->resize(std::clamp(ClearTextureButton->sizeHint().width(), 67, TextureIndex->x() - 4 - 303),
                               ClearTextureButton->height());
    SetMessageTitle(EntryOrEnglish(PigmentaText("Caption")));
    SetDialogButtons(PigmentaEntries);
    OpenBankDialog.title = Entry(PigmentaText("OpenBankTitle"));
    SaveBankDialog.title = Entry(PigmentaText("SaveBankTitle"));
    OpenPCXDialog.title = Entry(PigmentaText("OpenPCXTitle"));
    OpenPicturesDialog.title = EntryOrEnglish(PigmentaText("ImportPicturesTitle"));
    OpenPicturesDialog.filter = EntryOrEnglish(PigmentaText("PicturesFilter")) +
                                " (*.png *.jpg *.jpeg *.bmp *.gif *.tga *.webp *.pcx *.PNG *.JPG *.JPEG *.BMP *.GIF "
                                "*.TGA *.WEBP *.PCX)";
    Help1->setText(Entry(PigmentaText("Help1")));
}

AnimTexture& TMainForm::ChosenTexture() { return Bank.textures[static_cast<std::size_t>(TextureIndex->value())]; }

void TMainForm::showMenu(const QPoint& globalPos) { PopupMenu1->popup(globalPos); }

void TMainForm::showCursorLabels()
{
    ColorLabel->setVisible(CursorImage == 0);
    ImageIndexLabel->setText(QString::number(CursorImage));
    ImageIndexLabel->adjustSize();
    ImageFileNameLabel->setText(Ui(Bank.slots[static_cast<std::size_t>(CursorImage)].name));
}

void TMainForm::showTextureLabels()
{
    const AnimTexture& texture = ChosenTexture();
    const struct {
        QLabel* label;
        std::int32_t value;
    } labels[] = {{TextureIndexLabel, TextureIndex->value()},
                  {FirstTextureImageLabel, texture.first},
                  {LastTextureImageLabel, texture.last}};
    for (const auto& l : labels) {
        l.label->setText(QString::number(l.value));
        l.label->adjustSize();
    }
}

void TMainForm::bankPaletteChanged()
{
    SetColourTable(ViewImage, Bank.bankPalette);
    SetColourTable(PreviewImage, Bank.bankPalette);
    TextureListRows->SetThumbnail(64, ViewScale()); // the list's thumbnails take the new colours
}

void TMainForm::bankChanged()
{
    TextureListRows->Refresh();
    const int row = TextureListRows->RowOf(TextureIndex->value());
    TextureList->setCurrentIndex(row < 0 ? QModelIndex() : TextureListRows->index(row));
    NoTextureHint->setVisible(HasImagesButNoTexture(Bank));
    showCursorLabels();
    showTextureLabels();
    Repaint();
    followAnimation();
}

void TMainForm::reportUnread(const EditorBankLoad& problems, const KeptBankLines* kept)
{
    const std::string text = BankLoadMessage(problems, kept, BankTexts);
    if (!text.empty())
        ShowError(this, Ui(text));
}

void TMainForm::TextureIndexChange()
{
    AnimTexture& texture = ChosenTexture();
    texture.current = texture.first;
    const int row = TextureListRows->RowOf(TextureIndex->value());
    TextureList->setCurrentIndex(row < 0 ? QModelIndex() : TextureListRows->index(row));
    showTextureLabels();
    Repaint(); // the chosen texture's band and the preview
    followAnimation();
}

void TMainForm::pushChange(const QString& text, BankChange change)
{
    document->History().Push(
        new SwapChange<BankChange>(text, std::move(change), [this](BankChange& held) { exchange(held); }));
}

void TMainForm::exchange(BankChange& held)
{
    EditorBankLoad reloads;
    {
        const CurrentFolderScope inStartFolder(startFolder);
        reloads = ExchangeBankChange(Bank, held);
    }
    if (held.palette) // the other palette is held now: the bank's changed
        bankPaletteChanged();
    bankChanged();
    reportUnread(reloads);
}

void TMainForm::ClearTextureButtonClick()
{
    if (auto change = TextureChange(Bank, TextureIndex->value(), EditorBank::Undefined))
        pushChange(EntryOrEnglish(PigmentaText("UndoClearTexture")), std::move(*change));
}

void TMainForm::Defineasfirsttextureimage1Click()
{
    AnimTexture texture = ChosenTexture();
    texture.first = CursorImage;
    if (auto change = TextureChange(Bank, TextureIndex->value(), texture))
        pushChange(EntryOrEnglish(PigmentaText("UndoFirstImage")), std::move(*change));
}

void TMainForm::Defineaslasttextureimage1Click()
{
    AnimTexture texture = ChosenTexture();
    texture.last = CursorImage;
    if (auto change = TextureChange(Bank, TextureIndex->value(), texture))
        pushChange(EntryOrEnglish(PigmentaText("UndoLastImage")), std::move(*change));
}

void TMainForm::Clearimage1Click()
{
    if (auto change = ClearSlotChange(Bank, CursorImage))
        pushChange(EntryOrEnglish(PigmentaText("UndoClearImage")), std::move(*change));
}

bool TMainForm::imageNameRefused(const std::string& name)
{
    switch (CheckBankImageName(name)) {
    case BankNameProblem::None:
        return false;
    case BankNameProblem::Blank:
        ShowMessage(this, EntryOrEnglish(PigmentaText("NameWithBlank")) + "\n" + Ui(name));
        break;
    case BankNameProblem::TooLong:
        ShowMessage(this, EntryOrEnglish(PigmentaText("NameTooLong")) + "\n" + Ui(name));
        break;
    case BankNameProblem::Character:
        ShowMessage(this, EntryOrEnglish(PigmentaText("NameCharacter")) + " " +
                              Ui(CharacterOutsideWindows1252(name).value_or("")) + "\n" + Ui(name));
        break;
    }
    return true;
}

void TMainForm::LoadImage1Click()
{
    const QString path = ChooseOpenFileRemembered(this, "Image", OpenPCXDialog);
    if (!path.isEmpty())
        loadImageInto(CursorImage, path);
}

void TMainForm::loadImageInto(std::int32_t slot, const QString& path)
{
    const auto name = BankImageName(Native(path), startFolder);
    if (!name) {
        ShowMessage(this, Entry(PigmentaText("ImageOutsideStartFolder")));
        return;
    }
    if (imageNameRefused(*name))
        return;
    SlotImagePreparation prepared;
    {
        const CurrentFolderScope inStartFolder(startFolder);
        prepared = PrepareSlotImage(Bank, slot, *name);
    }
    if (!prepared.change) {
        const bool missing = prepared.refused && prepared.refused->fault == ImageFault::Missing;
        ShowMessage(this, missing ? EntryOrEnglish(PigmentaText("BankImagesMissing")) + "\n" + Ui(*name)
                                  : Entry(PigmentaText("NotTextureImage")));
        return;
    }
    pushChange(slot == 0 ? EntryOrEnglish(PigmentaText("UndoNewPalette")) : EntryOrEnglish(PigmentaText("UndoLoadImage")),
               std::move(*prepared.change));
}

void TMainForm::Newbank1Click()
{
    // Unsaved work is asked about (Save / Discard / Cancel) instead of the plain question.
    if (document->History().Unsaved() ? !document->MayDiscard()
                                      : !AskOkCancel(this, Entry(PigmentaText("NewBankCaption")),
                                                     Entry(PigmentaText("NewBankQuestion"))))
        return;
    ClearBank(Bank);
    Selection.reset();
    bankChanged();
    document->Started();
}

void TMainForm::Loadpigmenta1Click()
{
    if (!document->MayDiscard())
        return;
    const QString path = ChooseOpenFileRemembered(this, "Bank", OpenBankDialog);
    if (!path.isEmpty() && loadBank(path))
        document->Opened(path);
}

bool TMainForm::loadBank(const QString& path)
{
    EditorBankLoad load;
    {
        const CurrentFolderScope inStartFolder(startFolder);
        try {
            load = LoadEditorBank(Native(path), Bank);
        } catch (const FatalError&) {
            ShowMessage(this, Entry(PigmentaText("NoBankFile"))); // the bank file does not exist; the bank stays
            return false;
        } catch (const OrmelError& error) {
            ShowError(this, Ui(error.what()));
            return false;
        }
    }
    SaveBankDialog.fileName = path;
    bankPaletteChanged();
    Selection.reset();
    bankChanged();
    reportUnread(load, &Bank.kept); // told once: the kept lines stay unshown until saved back
    return true;
}

void TMainForm::Savepigmenta1Click()
{
    const QString path = ChooseSaveFileRemembered(this, "Bank", SaveBankDialog);
    if (!path.isEmpty())
        saveBank(path);
}

bool TMainForm::saveBank(const QString& path)
{
    {
        const CurrentFolderScope inStartFolder(startFolder);
        try {
            SaveEditorBank(Native(path), Bank);
        } catch (const OrmelError& error) {
            ShowError(this, Ui(error.what()));
            return false;
        }
    }
    OpenBankDialog.fileName = SaveBankDialog.fileName = path;
    document->Saved(path);
    return true;
}

void TMainForm::Quit1Click() { close(); } // the document asks about unsaved work first

void TMainForm::Help1Click() { OpenHelp(this, "Pigmenta", PigmentaText("HelpNotOpened"), PigmentaText("HelpMissing")); }
