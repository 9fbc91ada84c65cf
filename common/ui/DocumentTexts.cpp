#include "DocumentTexts.h"

#include "DocumentEntries.h"
#include "Text.h"

#include <iterator>

DocumentTexts DocumentTexts::FromTable(const QString& caption, DictionaryEntries table)
{
    DocumentTexts texts;
    texts.caption = caption;
    // In the order of DocumentEntryRows.
    QString* const members[] = {&texts.editMenu,  &texts.undo,      &texts.redo,         &texts.undoNamed,
                                &texts.redoNamed, &texts.untitled,  &texts.saveQuestion, &texts.save,
                                &texts.discard,   &texts.cancel,    &texts.recoverQuestion, &texts.recover,
                                &texts.damagedRecovery, &texts.recentMenu, &texts.missingRecent,
                                &texts.refusedArgument};
    static_assert(std::size(members) == DocumentEntryCount);
    for (std::size_t i = 0; i < DocumentEntryCount; ++i)
        *members[i] = SharedRowText(table, DocumentEntryRows[i]);
    return texts;
}
