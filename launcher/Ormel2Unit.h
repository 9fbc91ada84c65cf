#pragma once
// TOrmel2Form: the launcher's window. One button per tool, the game test and deploy buttons,
// the rendering mode and interface language menus, and help.
#include <QMainWindow>

#include <cstdint>
#include <string>

class QAction;
class QFileSystemWatcher;
class QLabel;
class QMenu;
class QPushButton;
enum class ProgramKind; // Shell.h

class TOrmel2Form : public QMainWindow {
    Q_OBJECT
public:
    explicit TOrmel2Form(QWidget* parent = nullptr);

    std::int32_t Renderer = 0;
    std::string CurrentLanguage;
    std::string GameTitle;

    QLabel* Image1;
    QLabel* Label1;
    QPushButton* TextureButton;
    QPushButton* Tessaro3DButton;
    QPushButton* TileButton;
    QPushButton* LevelButton;
    QPushButton* PartivaButton;
    QPushButton* TestGameButton;
    QPushButton* DeployButton;

    QMenu* File1;
    QAction* NewProject1;
    QAction* OpenProject1;
    QAction* Quit1;
    QMenu* Options1;
    QMenu* RendererMenu;
    QAction* SoftwareMenu;
    QAction* OpenGLMenu;
    QAction* DirectXMenu;
    QMenu* LanguageMenu;
    QAction* Help1;

    void TranslateForm();
    void LoadSettings();
    void SetRenderer(std::int32_t mode);
    void SetLanguage(const std::string& name);

public Q_SLOTS:
    void SoftwareMenuClick();
    void OpenGLMenuClick();
    void DirectXMenuClick();
    void LanguageItemClick(QAction* item);
    void TextureButtonClick();
    void Tessaro3DButtonClick();
    void TileButtonClick();
    void PartivaButtonClick();
    void LevelButtonClick();
    void TestGameButtonClick();
    void DeployButtonClick();
    void Help1Click();
    void Quit1Click();
    // A new game project, a copy of the demo game, or another one: the chosen folder becomes
    // current and the launcher works on it as if started there.
    void NewProject1Click();
    void OpenProject1Click();

private:
    void FormCreate();
    void enterProject(const QString& folder);
    // The caption follows the game's title when Partiva saves game.ini while the launcher runs.
    void watchGameTitle();
    void buildControls();
    void buildMenus();
    // Starts a program of the suite (found only with the launcher) or of the game (the tile bank
    // editor, the level editor and the player, installed apart), or tells the user it is missing
    // and where it was looked for.
    void startProgram(const std::string& name, ProgramKind kind);

    std::string dictionaryTrouble_; // the last dictionary error shown, so it is not shown again
    QFileSystemWatcher* projectWatcher_;
};
