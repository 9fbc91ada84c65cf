#include "DocumentTexts.h"

#include "DocumentEntries.h"
#include "Text.h"

#include <algorithm>

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
    for (std::size_t i = 0; i < DocumentEntryCount; ++i) {
        const DictionaryEntry& row = DocumentEntryRows[i];
        const auto own = std::find_if(table.begin(), table.end(),
                                      [&row](const DictionaryEntry& entry) { return entry.name == row.name; });
        *members[i] = own != table.end() ? EntryOrEnglish(*own)
                                         : QString::fromUtf8(row.english.data(), static_cast<qsizetype>(row.english.size()));
    }
    return texts;
}
