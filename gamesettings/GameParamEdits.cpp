// The game parameters editor's page at work: each control's edit an undo step named after its
// row, numbers taken as typed, files chosen through their dialogs (and copied into the game when
// they lie outside it), sounds through the sound dialog.
#include "GameParamUnit.h"

#include "CopyIntoGameQuestion.h"
#include "EditorDocument.h"
#include "FileResolver.h"
#include "GameSettings.h"
#include "NumberText.h"
#include "OpenWAV.h"
#include "ParamControls.h"
#include "Text.h"
#include "UndoCommands.h"

#include <QLineEdit>

#include <utility>
#include <variant>

namespace {

// A caption as a message names it: "Camera Step:" reads "Camera Step".
QString withoutColon(QString text)
{
    while (text.endsWith(QLatin1Char(':')) || text.endsWith(QLatin1Char(' ')) || text.endsWith(QChar(0xA0)))
        text.chop(1);
    return text;
}

} // namespace

template <typename Value>
void TGameParamForm::change(const ParamControl& control, Value TGameSettings::*field, Value after, bool typed)
{
    if (GameSettings.*field == after)
        return; // a control shown its own value (a refresh), or a file chosen again
    // Each control's row in the table is its field's id: typing into one field merges.
    const int id = typed ? static_cast<int>(&control - ParamControls().data()) : -1;
    const bool typing = std::exchange(typing_, typed);
    PushChange(document->History(), commandText(control), id, GameSettings.*field, std::move(after),
               [this, field](const Value& value) {
                   GameSettings.*field = value;
                   // The field being typed into keeps the user's text ("0." on the way to "0.5").
                   if (!typing_)
                       RefreshControls();
               });
    typing_ = typing;
}

QString TGameParamForm::commandText(const ParamControl& control) const
{
    // What the Edit menu says it undoes: the row's caption, and the caption inside the row before
    // the control ("Cross icon: Left").
    QString row, inRow;
    for (const ParamControl& other : ParamControls()) {
        if (&other == &control)
            break;
        if (other.kind == ControlKind::BoldCaption) {
            row = WithoutAccelerator(EntryOrEnglish(*other.entry));
            inRow.clear();
        } else if (other.kind == ControlKind::Caption) {
            inRow = WithoutAccelerator(EntryOrEnglish(*other.entry));
        } else if (other.line != control.line) {
            inRow.clear();
        }
    }
    if (!inRow.isEmpty())
        return row + QLatin1Char(' ') + inRow;
    return withoutColon(row);
}

void TGameParamForm::titleChange(const ParamControl& control)
{
    change(control, std::get<std::string TGameSettings::*>(control.value),
           Native(static_cast<QLineEdit*>(ControlWidget(*this, control))->text()), true);
}

void TGameParamForm::numberEditChange(const ParamControl& control)
{
    const std::string text = Native(static_cast<QLineEdit*>(ControlWidget(*this, control))->text());
    // A text that converts is the value from now on, and stays as typed ("0." on the way to
    // "0.5"); so does a number still being typed ("-", "1e-"). Any other text gives way to the
    // value's own text at once.
    bool asTyped = true;
    if (const auto integer = std::get_if<std::int32_t TGameSettings::*>(&control.value)) {
        if (const auto number = ParseInteger(text))
            change(control, *integer, *number, true);
        else
            asTyped = IntegerInTheMaking(text);
    } else if (const auto fraction = std::get_if<float TGameSettings::*>(&control.value)) {
        if (const auto number = ParseFraction(text))
            change(control, *fraction, *number, true);
        else
            asTyped = FloatInTheMaking(text);
    }
    if (!asTyped)
        RefreshControls();
}

void TGameParamForm::fileLabelClick(const ParamControl& control)
{
    const auto field = std::get<std::string TGameSettings::*>(control.value);
    std::string value = GameSettings.*field;
    if (control.kind == ControlKind::SoundLabel)
        chooseSound(value);
    else
        chooseFile(this->*control.dialog, value, control.kind == ControlKind::LevelLabel);
    change(control, field, std::move(value), false);
}

void TGameParamForm::clearButtonClick(const ParamControl& control)
{
    change(control, std::get<std::string TGameSettings::*>(control.value), std::string(), false);
}

void TGameParamForm::chooseFile(const FileDialogRequest& dialog, std::string& value, bool levelFile)
{
    FileDialogRequest request = dialog;
    // The dialogs open in the game folder (or its LEVEL folder), as the disk spells them.
    const std::string folder = Native(dialog.folder);
    request.folder = QString::fromStdString((folder == "." ? GameFolderPath : ResolvePath(folder, GameFolderPath)).string());
    const QString chosen = ChooseOpenFile(this, request);
    if (chosen.isEmpty())
        return;
    // A start level must lie in the LEVEL folder; any other file anywhere in the game folder. From
    // elsewhere, it is offered to be copied in.
    const std::string relative =
        levelFile ? NameInGame(this, chosen, ResolvePath("LEVEL", GameFolderPath), RelativeToLevelFolder)
                  : NameInGame(this, chosen, GameFolderPath, RelativeToGameFolder);
    if (!relative.empty())
        value = relative;
    RefreshControls();
}

void TGameParamForm::chooseSound(std::string& value)
{
    if (WAVDialog) {
        WAVDialog->FileName = value;
        if (WAVDialog->exec() == QDialog::Accepted)
            value = WAVDialog->FileName;
    }
    RefreshControls();
}
