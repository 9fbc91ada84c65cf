#pragma once
// The texture bank editor's dictionary entries (Pigmenta.dic), one row each: number, name in the
// code, use, English text. New texts of the editor are added here as rows.
#include "DialogEntries.h"

inline constexpr DictionaryEntry PigmentaEntries[] = {
    {0, "NewBankQuestion", "question asked before a new bank",
     "Start a new, empty texture bank? Images and textures that were not saved are lost."},
    {1, "NewBankCaption", "caption of that question", "New texture bank"},
    {2, "CaptionPrefix", "window caption before the bank's path, after a load or save (ends in a no-break space)",
     "Texture bank definition -\u00A0"},
    {3, "ImageOutsideStartFolder", "message: the chosen image is not under the start folder",
     "This image does not lie inside the folder Pigmenta started in. Copy it into that folder (or a folder "
     "inside it) first: a bank names its images relative to that folder."},
    {4, "NoBankFile", "message: the bank file does not exist", "This texture bank file does not exist."},
    {5, "NotTextureImage", "message: the image is not a 128 x 128 PCX image",
     "This image is not a 128 x 128 PCX image with 256 colours."},
    {6, "File1", "File menu", "&File"},
    {7, "Newbank1", "File menu: new bank", "&New"},
    {8, "Loadpigmenta1", "File menu: load a bank", "&Load"},
    {9, "Savepigmenta1", "File menu: save the bank", "&Save as ..."},
    {10, "Quit1", "File menu: Quit", "&Quit"},
    {11, "LoadImage1", "slot menu: load an image", "&Load Image"},
    {12, "Clearimage1", "slot menu: clear the image", "&Clear image"},
    {13, "Defineasfirsttextureimage1", "slot menu: first image of the texture", "Define as &first texture image"},
    {14, "Defineaslasttextureimage1", "slot menu: last image of the texture", "Define as l&ast texture image"},
    {15, "Label1", "label of the image index", "Image index:"},
    {16, "Label2", "label of the image file name", "Image filename:"},
    {17, "Label3", "label of the texture index", "Texture index:"},
    {18, "Label4", "label of the first image index", "First image index:"},
    {19, "Label7", "label of the last image index", "Last image index:"},
    {20, "ColorLabel", "note beside slot 0", "(color palette file)"},
    {21, "ClearTextureButton", "button clearing the texture", "Clear texture"},
    {22, "Caption", "window caption", "Texture bank definition"},
    {23, "OpenBankTitle", "title of the bank open dialog", "Please select a texture bank file"},
    {24, "SaveBankTitle", "title of the bank save dialog", "Save the texture bank as"},
    {25, "OpenPCXTitle", "title of the image open dialog", "Please select a PCX image"},
    {26, "Help1", "Help menu item", "&Help"},
    {27, "HelpNotOpened", "message when no program could show the help file (%1 the file)",
     "The help file %1 could not be opened: no program to show it was found."},
    {28, "HelpMissing", "message when there is no help file (%1 the names looked for)",
     "There is no help file: %1 was looked for."},
    {30, "BankImagesMissing", "message after a bank load, before the names of missing images",
     "These images of the bank are missing (their slots keep their names):"},
    {31, "BankImagesWrongSize", "message after a bank load, before the names of images of another size",
     "These images of the bank are not 128 x 128 pixels (their slots keep their names):"},
    {32, "BankImagesUnreadable", "message after a bank load, before the names of files that are no PCX image",
     "These files of the bank are not PCX images with 256 colours (their slots keep their names):"},
    {33, "BankLinesKept", "message after a bank load, before the lines kept without being shown",
     "These lines of the bank cannot be shown here (numbers outside 0 to 512, or text Pigmenta does not read). "
     "They are kept and saved back unchanged:"},
    {34, "NameWithBlank", "message: the chosen image's name holds a blank",
     "A bank cannot keep an image name with a blank in it. Rename the file (for example my_wall.pcx) and choose it "
     "again:"},
    {35, "NameTooLong", "message: the chosen image's name is too long for a bank line",
     "This image name is too long for a bank line (249 characters at most):"},
    {36, "NameCharacter", "message: the chosen image's name holds a character outside Windows-1252, which follows",
     "A bank file cannot hold this character of the image name:"},
    {37, "NoTextureHint", "line under the texture numbers while the bank has images but no texture",
     "No texture yet: for a still texture, press F4 and F5 on the same slot."},
    DialogEntry("Yes", 76),
    DialogEntry("No", 77),
    DialogEntry("OK", 78),
};
static_assert(IsWellFormed(PigmentaEntries));

consteval const DictionaryEntry& PigmentaText(std::string_view name) { return EntryNamed(PigmentaEntries, name); }
