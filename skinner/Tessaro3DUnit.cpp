// TForm1: building the window, its controls and menus. Their texts, the face panel, the texture
// panel, the selection, the view, the object files, the bank, model imports and the tools each
// have their own file (Tessaro3D*.cpp).
#include "Tessaro3DUnit.h"

#include "EditorDocument.h"
#include "K3xDisplay.h"
#include "LocalisationUnit.h"
#include "ObjectFile.h"
#include "Renderer.h"
#include "Tessaro3DEntries.h"
#include "Text.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>

#include <filesystem>
#include <system_error>

namespace {

// The client area at the first start (the design's 714 x 414 left no room for the texture
// thumbnails), within nine tenths of the screen.
constexpr int ClientWidth = 960;
constexpr int ClientHeight = 640;
constexpr int AnimationInterval = 100; // ms, ten images a second
constexpr int BlinkInterval = 500;     // ms

QLabel* makePanel(QWidget* parent, const char* name, const QString& text, QRect place, bool white)
{
    auto* panel = new QLabel(text, parent);
    panel->setObjectName(name);
    panel->setGeometry(place);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFrameStyle(white ? QFrame::Panel | QFrame::Sunken : QFrame::Panel | QFrame::Raised);
    if (white) {
        panel->setAutoFillBackground(true);
        QPalette colours = panel->palette();
        colours.setColor(QPalette::Window, Qt::white);
        colours.setColor(QPalette::WindowText, Qt::black);
        panel->setPalette(colours);
    }
    return panel;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, QRect place)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setFocusPolicy(Qt::TabFocus); // a click leaves the keys to the menus
    return button;
}

QScrollBar* makeBar(QWidget* parent, const char* name, QRect place, int minimum, int maximum)
{
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setGeometry(place);
    bar->setRange(minimum, maximum);
    bar->setPageStep(10);
    return bar;
}

QWidget* makePlaceHolder(QWidget* parent, const char* name, QRect place)
{
    auto* holder = new QWidget(parent);
    holder->setObjectName(name);
    holder->setGeometry(place);
    holder->hide();
    return holder;
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent)
    , context(std::make_unique<RenderContext>())
{
    setObjectName("Form1");
    // A sizeable window with a title and a close button only, as a tool window; it keeps its
    // place in the task bar, being the program's only window.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QString::fromUtf8("Habillage d'objets 3D"));

    auto* client = new QWidget(this);
    client->setObjectName("Client");
    client->setMouseTracking(true);
    client->installEventFilter(this);
    setCentralWidget(client);
    buildPanel(client);
    buildMenus();
    // Room for the face panel, the colour grid and the texture view; a smaller window springs back.
    client->setMinimumSize(Label1->width() + 32,
                           Label1->height() + TextureView->height() + TextureBar->height() + 5);

    Timer1 = new QTimer(this);
    Timer1->setInterval(AnimationInterval);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    // Nothing is drawn while nothing changes; the outline of the current face blinks on its own.
    BlinkTimer = new QTimer(this);
    BlinkTimer->setInterval(BlinkInterval);
    connect(BlinkTimer, &QTimer::timeout, this, [this] {
        if (!frameStale_ && OutlineFace(*context, currentFace, {highlightWhite, highlightBlack}, highlightColour))
            centralWidget()->update(RenderView->geometry());
    });
    BlinkTimer->start();

    const int menuHeight = menuBar()->sizeHint().height();
    QSize size(ClientWidth, ClientHeight + menuHeight);
    if (const QScreen* screen = QApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    size = size.expandedTo(client->minimumSize() + QSize(0, menuHeight));
    client->resize(size.width(), size.height() - menuHeight);
    resize(size);
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::buildPanel(QWidget* client)
{
    Label1 = new QFrame(client);
    Label1->setObjectName("Label1");
    Label1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Label1->setGeometry(386, -1, 262, 261);
    QFont small = Label1->font();
    small.setPixelSize(10); // the design's small font, 9 pixels high, one pixel up for legibility
    Label1->setFont(small);

    FaceLabel = makePanel(Label1, "FaceLabel", "Face", {6, 7, 142, 25}, true);
    FaceBar = makeBar(Label1, "FaceBar", {6, 31, 141, 17}, 0, 0);
    TextValid = makeButton(Label1, "TextValid", "Valider Te&xture", {6, 63, 97, 25});
    CoulValid = makeButton(Label1, "CoulValid", "Valider &Couleur", {6, 95, 97, 25});
    Retourne = makeButton(Label1, "Retourne", "Flip T&exture", {6, 127, 97, 25});
    Flip = makeButton(Label1, "Flip", "Flip &Points", {6, 159, 97, 25});
    Info = makePanel(Label1, "Info", "Info", {6, 191, 97, 17}, false);
    Info->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Reset = makeButton(Label1, "Reset", "Reset", {6, 207, 97, 17});

    Transparence = new QSlider(Qt::Vertical, Label1);
    Transparence->setObjectName("Transparence");
    Transparence->setGeometry(114, 64, 33, 105);
    Transparence->setRange(0, 100);
    Transparence->setTickInterval(10);
    Transparence->setTickPosition(QSlider::TicksRight);
    Transparence->setPageStep(1);
    Transparence->setInvertedAppearance(true); // 0 at the top, as a vertical track bar has it
    TranspLabel = new QLabel(Label1);
    TranspLabel->setObjectName("TranspLabel");
    TranspLabel->setGeometry(112, 167, 38, 14);

    TypeFace = new QGroupBox("Type de face", Label1);
    TypeFace->setObjectName("TypeFace");
    TypeFace->setGeometry(151, 63, 105, 105);
    TypeFaceItems = new QButtonGroup(this);
    const char* items[] = {"Text&ure", "Texture Tr&ansp", "&Objet Virtuel", "&Uni"};
    for (int i = 0; i < 4; ++i) {
        auto* item = new QRadioButton(items[i], TypeFace);
        item->setObjectName(QString("TypeFaceItem%1").arg(i));
        item->setGeometry(8, 18 + i * 21, 95, 20);
        TypeFaceItems->addButton(item, i);
    }
    DoubleFace = new QCheckBox("Double face", Label1);
    DoubleFace->setObjectName("DoubleFace");
    DoubleFace->setGeometry(151, 175, 105, 17);
    Lx = new QLineEdit("Lx", Label1);
    Lx->setObjectName("Lx");
    Lx->setGeometry(151, 199, 49, 19);
    Ly = new QLineEdit("Ly", Label1);
    Ly->setObjectName("Ly");
    Ly->setGeometry(207, 199, 49, 19);

    HeightLabel = makePanel(Label1, "HeightLabel", "0", {151, 7, 105, 25}, true);
    HeightBar = makeBar(Label1, "HeightBar", {151, 31, 105, 17}, -512, 512);
    Label2 = new QLabel("Index couleur", Label1);
    Label2->setObjectName("Label2");
    Label2->setGeometry(5, 226, 97, 13);
    Label2->setAlignment(Qt::AlignCenter);
    IndexColorPanel = makePanel(Label1, "IndexColorPanel", "", {6, 239, 97, 17}, true);
    Label3 = new QLabel("Index texture", Label1);
    Label3->setObjectName("Label3");
    Label3->setGeometry(152, 227, 104, 13);
    Label3->setAlignment(Qt::AlignCenter);
    TextureIndex = new QLineEdit(Label1);
    TextureIndex->setObjectName("TextureIndex");
    TextureIndex->setGeometry(152, 239, 104, 17);
    TextureIndex->setAlignment(Qt::AlignCenter);

    RenderView = makePlaceHolder(client, "RenderView", {1, 1, 381, 386});
    ColorPaletteView = makePlaceHolder(client, "ColorPaletteView", {388, 265, 128, 128});
    TextureView = makePlaceHolder(client, "TextureView", {519, 265, 128, 128});
    TextureBar = makeBar(client, "TextureBar", {519, 393, 128, 17}, 0, 0);
    buildTexturePanel(client);

    connect(FaceBar, &QScrollBar::valueChanged, this, &TForm1::FaceBarChange);
    connect(TextureBar, &QScrollBar::valueChanged, this, &TForm1::TextureBarChange);
    connect(HeightBar, &QScrollBar::valueChanged, this, &TForm1::HeightBarChange);
    connect(TextValid, &QPushButton::clicked, this, &TForm1::TextValidClick);
    connect(CoulValid, &QPushButton::clicked, this, &TForm1::CoulValidClick);
    connect(Retourne, &QPushButton::clicked, this, &TForm1::RetourneClick);
    connect(Flip, &QPushButton::clicked, this, &TForm1::FlipClick);
    connect(Reset, &QPushButton::clicked, this, &TForm1::ResetClick);
    connect(Transparence, &QSlider::valueChanged, this, &TForm1::TransparenceChange);
    connect(TypeFaceItems, &QButtonGroup::idClicked, this, &TForm1::TypeFaceClick);
    connect(DoubleFace, &QCheckBox::clicked, this, &TForm1::DoubleFaceClick);
    // Typing changes the face; the texts ShowFaceInfo puts there are its own values already.
    connect(Lx, &QLineEdit::textEdited, this, &TForm1::LxChange);
    connect(Ly, &QLineEdit::textEdited, this, &TForm1::LyChange);
}

void TForm1::buildMenus()
{
    const auto add = [this](QMenu* menu, const char* text, QKeySequence keys, void (TForm1::*handler)()) {
        QAction* action = menu->addAction(QString::fromUtf8(text), keys, this, handler);
        return action;
    };
    Fichier1 = menuBar()->addMenu("&Fichier");
    NewObject = add(Fichier1, "&Nouvel objet", QKeySequence(Qt::CTRL | Qt::Key_N), &TForm1::NewObjectClick);
    LoadDXFObjet = add(Fichier1, "Charger Objet &DXF ...", QKeySequence(Qt::CTRL | Qt::Key_D), &TForm1::LoadDXFObjetClick);
    LoadObjet3D = add(Fichier1, "&Charger Objet ...", QKeySequence(Qt::CTRL | Qt::Key_L), &TForm1::LoadObjet3DClick);
    // Ctrl+L as the editor always had it, and Ctrl+O as every program opens.
    LoadObjet3D->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_L), QKeySequence(Qt::CTRL | Qt::Key_O)});
    // Ctrl+I inverts the selection.
    ImportModel = add(Fichier1, "&Importer un mod\u00e8le ...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I), &TForm1::ImportModelClick);
    SaveObjet3D = add(Fichier1, "&Sauver Objet", QKeySequence(Qt::CTRL | Qt::Key_S), &TForm1::SaveObjet3DClick);
    N2 = Fichier1->addSeparator();
    Quitter1 = add(Fichier1, "&Quitter", QKeySequence(Qt::CTRL | Qt::Key_Q), &TForm1::Quitter1Click);

    TextMenu = menuBar()->addMenu("&Texture");
    LoadPigmenta = add(TextMenu, "&Charger Banque", QKeySequence(Qt::CTRL | Qt::Key_T), &TForm1::LoadPigmentaClick);

    Outil = menuBar()->addMenu("&Outils");
    const QKeySequence none;
    Colorie = add(Outil, "Mettre tout en &Coloré", none, &TForm1::ColorieClick);
    TextureTout = add(Outil, "Mettre tout en &Texturé", none, &TForm1::TextureToutClick);
    FitQuads = add(Outil, "Ajuster les textures aux quadrilatères", none, &TForm1::FitQuadsClick);
    MettretoutenTransparent1 =
        add(Outil, "Mettre tout en Tr&ansparent", none, &TForm1::MettretoutenTransparent1Click);
    ReprendreHabillage = add(Outil, "&Reprendre l'habillage de l'objet ...", none, &TForm1::ReprendreHabillageClick);
    Remplacerlacouleur1 = add(Outil, "Remplacer la couleur", none, &TForm1::Remplacerlacouleur1Click);
    Outil->addSeparator(); // N3
    Supprimerlespointsdoubles1 =
        add(Outil, "&Supprimer les points doubles", none, &TForm1::Supprimerlespointsdoubles1Click);
    dblfac2 = add(Outil, "Mettre tout en &Simple face", none, &TForm1::dblfac2Click);
    dblface1 = add(Outil, "Mettre tout en &Double face", none, &TForm1::dblface1Click);
    Inverserlesnormales1 = add(Outil, "Inverser les normales", none, &TForm1::Inverserlesnormales1Click);
    Chargerobjetancienformat1 =
        add(Outil, "&Charger objet ancien format", none, &TForm1::Chargerobjetancienformat1Click);
    Chargerobjetancienformat1->setVisible(false);
    Convertirancienobjet1 = add(Outil, "C&onvertir ancien objet", none, &TForm1::Convertirancienobjet1Click);
    Convertirancienobjet1->setVisible(false);
    Outil->addSeparator(); // N1
    Symtrie1 = Outil->addMenu(QString::fromUtf8("Symétrie"));
    X1 = add(Symtrie1, "X", none, &TForm1::X1Click);
    Y1 = add(Symtrie1, "Y", none, &TForm1::Y1Click);
    Z1 = add(Symtrie1, "Z", none, &TForm1::Z1Click);
    Rotation1 = Outil->addMenu("Rotation");
    N90Z1 = add(Rotation1, "90° Z", none, &TForm1::N90Z1Click);
    N90X1 = add(Rotation1, "90° X", none, &TForm1::N90X1Click);
    N90Y1 = add(Rotation1, "90° Y", none, &TForm1::N90Y1Click);

    buildSelectionMenus();
    Aide1 = menuBar()->addAction("&Aide", this, &TForm1::Aide1Click);
    Aide1->setShortcut(QKeySequence(Qt::Key_F1));
}

void TForm1::FormCreate()
{
    std::error_code ec;
    startFolder = std::filesystem::current_path(ec).string();
    OpenDialog.folder = SaveDialog.folder = QString::fromStdString(startFolder);
    TranslateForm();
    makeDocument();

    CreateImage(TextureViewImage, TextureSide, TextureSide);
    CreateImage(PaletteViewImage, TextureSide, TextureSide);
    MakeStartObject(object);
    FaceBar->setMaximum(object.lastFace);
    paletteGrid = MakePaletteGrid();
    SetBankPlaceholders(context->bank);
    FormResize(); // the controls in their places and the view's image, before the window shows
    // The design's focal lengths until the window is next resized, which computes them again.
    context->focalX = context->focalY = 256;

    setSelection(FaceFlags(object.faceCount(), 0));

    Timer1Timer(); // the timer runs while an animated texture shows (updateAnimation)
}

void TForm1::makeDocument()
{
    document = new EditorDocument(this, QStringLiteral("Tessaro3D"), QStringLiteral("3do"),
                                  DocumentTexts::FromTable(Entry(Tessaro3DText("Caption")), Tessaro3DEntries),
                                  {[this] { return saveObject(); },
                                   [this] {
                                       const std::vector<std::uint8_t> bytes = EncodeObject(object);
                                       return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                         static_cast<qsizetype>(bytes.size()));
                                   },
                                   [this](const QString& file) { OpenFile(file); },
                                   [this](const QString& copy, const QString& original) { openRecovered(copy, original); },
                                   [this] { return recoveryDetails(); },
                                   [this](const AutoRecovery::Details& details) { restoreRecoveryDetails(details); }});
    addSelectionItems(document->AddMenus(Fichier1, N2, TextMenu->menuAction()));
    UndoHistory& history = document->History();
    history.EndRunsWhenLeft(Lx);
    history.EndRunsWhenLeft(Ly);
    // A drag of the bar is one step; the next drag another.
    connect(Transparence, &QSlider::sliderReleased, &history, &UndoHistory::EndTypingRun);
}
