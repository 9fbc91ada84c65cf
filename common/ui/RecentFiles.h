#pragma once
// The File menu's recent files: the last Count documents opened or saved, most recent first,
// numbered "&1 HOUSE.3DO" (the whole path as the item's tip). Kept in the user's settings
// (QSettings: the user's configuration folder, never the game folder). An item whose file no
// longer exists is taken off the list with a message instead of being opened.
#include "DocumentTexts.h"

#include <QObject>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;
class QWidget;

class RecentFiles : public QObject {
public:
    static constexpr int Count = 8;
    // Opens a file chosen in the menu, as the program's Open would (asking first about unsaved work).
    using Open = std::function<void(const QString& file)>;

    // A submenu of `fileMenu` before `before` (at the end when null), for `window`'s messages.
    RecentFiles(QWidget* window, QMenu* fileMenu, QAction* before, const DocumentTexts& texts, Open open);

    // The document in `file` was opened or saved: it goes first.
    void Add(const QString& file);
    QStringList Files() const;
    QMenu* Menu() const { return menu_; }
    void Retranslate(const DocumentTexts& texts);

private:
    void choose(const QString& file);
    void store(const QStringList& files);
    void fillMenu();

    QWidget* window_;
    DocumentTexts texts_;
    Open open_;
    QMenu* menu_;
};
