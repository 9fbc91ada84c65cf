#pragma once
// The controls of the parameters page, one row each: its name, the form's member that holds
// it, its kind, the dictionary entry of its text, the game.ini value it shows, edits or
// empties, its line on the page and its place in the tab order. The form builds, connects,
// fills, translates and orders its tabs from this table alone.
#include "DictionaryEntries.h"
#include "Dialogs.h"
#include "GameSettings.h"

#include <span>
#include <string_view>
#include <variant>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TFileLabel;
class TGameParamForm;

enum class ControlKind {
    BoldCaption, // a row's caption; the first control of a line starts the line in the caption column
    Caption,     // a caption inside a line
    TextEdit,    // the title: any text
    NumberEdit,  // an integer or a fraction, as its value's field holds it
    FileLabel,   // a file chosen through the row's dialog, relative to the game folder
    LevelLabel,  // the same, relative to the LEVEL folder; its line is dark blue
    SoundLabel,  // a sound chosen through the sound dialog
    ClearButton, // empties its value
};

using ControlMember = std::variant<QLabel* TGameParamForm::*, QLineEdit* TGameParamForm::*, TFileLabel* TGameParamForm::*,
                                   QPushButton* TGameParamForm::*>;
// The value of TGameSettings the control stands for; none for captions.
using ControlValue = std::variant<std::monostate, std::string TGameSettings::*, std::int32_t TGameSettings::*, float TGameSettings::*>;

struct ParamControl {
    std::string_view name;
    ControlMember member;
    ControlKind kind;
    const DictionaryEntry* entry = nullptr; // the text of captions and Clear buttons
    ControlValue value;
    int line = 0;                           // lines of the page, from the top
    int tab = 0;                            // place in the tab order from 1; 0: not in it
    FileDialogRequest TGameParamForm::* dialog = nullptr; // file labels: the dialog that chooses
};

// Left to right, top to bottom.
std::span<const ParamControl> ParamControls();
// The form's control that a row of the table stands for.
QWidget* ControlWidget(TGameParamForm& form, const ParamControl& control);
