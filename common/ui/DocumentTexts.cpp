#include "DocumentTexts.h"

#include "Text.h"

DocumentTexts DocumentTexts::FromDictionary(const QString& caption, int first)
{
    DocumentTexts texts;
    texts.caption = caption;
    QString* const members[] = {&texts.editMenu,        &texts.undo,         &texts.redo,     &texts.undoNamed,
                                &texts.redoNamed,       &texts.untitled,     &texts.saveQuestion, &texts.save,
                                &texts.discard,         &texts.cancel,       &texts.recoverQuestion, &texts.recover,
                                &texts.damagedRecovery, &texts.recentMenu,   &texts.missingRecent,
                                &texts.refusedArgument};
    static_assert(std::size(members) == Count);
    for (int i = 0; i < Count; ++i)
        *members[i] = EntryOr(first + i, *members[i]);
    return texts;
}
