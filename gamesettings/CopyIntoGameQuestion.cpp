#include "CopyIntoGameQuestion.h"

#include "CopyIntoGame.h"
#include "Dialogs.h"
#include "Errors.h"
#include "LocalisationUnit.h"
#include "PartivaEntries.h"
#include "Text.h"

#include <QDir>

std::string NameInGame(QWidget* parent, const QString& chosen, const std::filesystem::path& folder,
                       const std::function<std::string(std::string_view)>& relativeTo)
{
    const std::string inside = relativeTo(Native(chosen));
    if (!inside.empty())
        return inside;
    const QString question = EntryOrEnglish(PartivaText("CopyIntoGame"))
                                 .arg(QDir::toNativeSeparators(chosen), Ui(folder.string()));
    if (!AskYesNo(parent, EntryOrEnglish(PartivaText("CopyIntoGameCaption")), question))
        return {};
    try {
        return relativeTo(CopyIntoFolder(Native(chosen), folder).string());
    } catch (const OrmelError& error) {
        ShowError(parent, Ui(error.what()));
        return {};
    }
}
