#pragma once
// The 3D object skinning editor's dictionary entries (Tessaro3D.dic), one row each: number, name
// in the code, use, English text. New texts of the editor are added here as rows.
#include "DictionaryEntries.h"

inline constexpr DictionaryEntry Tessaro3DEntries[] = {
    {0, "Caption", "window caption; its first part after a file operation", "3D object skinning"},
    {1, "Fichier1", "File menu", "&File"},
    {2, "TextMenu", "Texture menu", "&Texture"},
    {3, "Outil", "Tools menu", "T&ools"},
    {4, "LoadDXFObjet", "File menu: import a DXF mesh", "Load &DXF object ..."},
    {5, "LoadObjet3D", "File menu: load an object", "&Load object ..."},
    {6, "SaveObjet3D", "File menu: save the object", "&Save object"},
    {7, "Quitter1", "File menu: Quit", "&Quit"},
    {8, "LoadPigmenta", "Texture menu: load a texture bank", "&Load bank"},
    {9, "Colorie", "Texture menu: every face coloured", "Make all &coloured"},
    {10, "TextureTout", "Texture menu: every face textured", "Make all &textured"},
    {11, "MettretoutenTransparent1", "Texture menu: every face transparent", "Make all tr&ansparent"},
    {12, "ReprendreHabillage", "Texture menu: take over another object's skin", "&Reuse the skin of object ..."},
    {13, "Remplacerlacouleur1", "Texture menu: replace a colour", "Replace the colour"},
    {14, "Supprimerlespointsdoubles1", "Tools menu: merge double points", "&Merge double points"},
    {15, "dblfac2", "Tools menu: every face single-sided", "Make all &single-sided"},
    {16, "dblface1", "Tools menu: every face double-sided", "Make all &double-sided"},
    {17, "Inverserlesnormales1", "Tools menu: turn every face over", "Turn all faces over"},
    {18, "Symtrie1", "Tools menu: mirror submenu", "Mirror"},
    {19, "Rotation1", "Tools menu: rotation submenu", "Rotation"},
    {20, "Aide1", "Help menu item", "&Help"},
    {21, "OpenBankTitle", "title of the bank open dialog", "Please select a texture bank file"},
    {22, "OpenObjectTitle", "title of the object open dialogs", "Please select a 3D object"},
    {23, "SaveObjectTitle", "title of the object save dialog", "Save the 3D object as"},
    {24, "OpenDxfTitle", "title of the DXF open dialog", "Please select a DXF mesh"},
    {25, "FaceWord", "first word of the face information line", "Face"},
    {26, "PointsWord", "last word of the face information line", "points"},
    {27, "TextValid", "button giving the face the texture", "Set te&xture"},
    {28, "CoulValid", "button giving the face the colour", "Set &colour"},
    {29, "Retourne", "button flipping the face's texture", "Flip t&exture"},
    {30, "Flip", "button turning the face's points", "Turn &points"},
    {31, "Reset", "button resetting the view", "Reset view"},
    {32, "Label2", "label of the colour index", "Colour index"},
    {33, "TypeFace", "caption of the face type group", "Face type"},
    {34, "TypeFace0", "face type item 0", "Text&ure"},
    {35, "TypeFace1", "face type item 1", "Texture tr&ansp."},
    {36, "TypeFace2", "face type item 2", "&Virtual object"},
    {37, "TypeFace3", "face type item 3", "P&lain"},
    {38, "DoubleFace", "double-sided check box", "Double-sided"},
    {39, "Label3", "label of the texture index", "Texture index"},
    {70, "BankImageWrongSize", "message: a bank image is not 128 x 128, so the bank was not loaded (name and size follow)",
     "The bank was not loaded: this image of it is not 128 x 128 pixels"},
    {71, "BankImageUnreadable", "message: a bank image is no 256-colour PCX image, so the bank was not loaded (name follows)",
     "The bank was not loaded: this image of it is not a PCX image with 256 colours"},
};
static_assert(IsWellFormed(Tessaro3DEntries));

consteval const DictionaryEntry& Tessaro3DText(std::string_view name) { return EntryNamed(Tessaro3DEntries, name); }
