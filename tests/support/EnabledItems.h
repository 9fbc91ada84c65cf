#pragma once
// Which of an editor's document items a user can choose now, in one text for one comparison:
// "recent" (the File menu's recent files), "undo", "redo" and "save", those enabled, in that order.
#include "EditorDocument.h"

#include <QAction>
#include <QMenu>
#include <QStringList>

inline QString EnabledItems(EditorDocument& document, const QAction* save)
{
    QStringList items;
    const std::pair<const char*, const QAction*> all[] = {{"recent", document.Recent().Menu()->menuAction()},
                                                          {"undo", document.History().UndoAction()},
                                                          {"redo", document.History().RedoAction()},
                                                          {"save", save}};
    for (const auto& [name, action] : all)
        if (action->isEnabled())
            items << name;
    return items.join(' ');
}
