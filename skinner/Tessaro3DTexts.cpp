// TForm1's texts in the user's language: the menus, the panel's controls and the document's
// questions from the program's dictionary, English where an older dictionary lacks a text.
#include "Tessaro3DUnit.h"

#include "EditorDocument.h"
#include "LocalisationUnit.h"
#include "OrmelApplication.h"
#include "Tessaro3DEntries.h"
#include "Text.h"

#include <QAction>
#include <QButtonGroup>
#include <QAbstractButton>
#include <QGroupBox>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

void TForm1::TranslateForm()
{
    // A dictionary that cannot be read leaves the texts as they were.
    RunGuarded(this, [] { LoadDictionary("Tessaro3D.dic"); });
    setWindowTitle(Entry(Tessaro3DText("Caption")));
    SetMessageTitle(EntryOrEnglish(Tessaro3DText("Caption")));
    SetDialogButtons(Tessaro3DEntries);
    const struct {
        QMenu* menu;
        const DictionaryEntry& entry;
    } menus[] = {{Fichier1, Tessaro3DText("Fichier1")},
                 {TextMenu, Tessaro3DText("TextMenu")},
                 {Outil, Tessaro3DText("Outil")},
                 {Symtrie1, Tessaro3DText("Symtrie1")},
                 {Rotation1, Tessaro3DText("Rotation1")}};
    for (const auto& m : menus)
        m.menu->setTitle(Entry(m.entry));
    const struct {
        QAction* action;
        const DictionaryEntry& entry;
    } actions[] = {{NewObject, Tessaro3DText("NewObject")},
                   {LoadDXFObjet, Tessaro3DText("LoadDXFObjet")},
                   {ImportModel, Tessaro3DText("ImportModel")},
                   {LoadObjet3D, Tessaro3DText("LoadObjet3D")},
                   {SaveObjet3D, Tessaro3DText("SaveObjet3D")},
                   {Quitter1, Tessaro3DText("Quitter1")},
                   {LoadPigmenta, Tessaro3DText("LoadPigmenta")},
                   {Colorie, Tessaro3DText("Colorie")},
                   {TextureTout, Tessaro3DText("TextureTout")},
                   {MettretoutenTransparent1, Tessaro3DText("MettretoutenTransparent1")},
                   {ReprendreHabillage, Tessaro3DText("ReprendreHabillage")},
                   {Remplacerlacouleur1, Tessaro3DText("Remplacerlacouleur1")},
                   {Supprimerlespointsdoubles1, Tessaro3DText("Supprimerlespointsdoubles1")},
                   {dblfac2, Tessaro3DText("dblfac2")},
                   {dblface1, Tessaro3DText("dblface1")},
                   {Inverserlesnormales1, Tessaro3DText("Inverserlesnormales1")},
                   {Aide1, Tessaro3DText("Aide1")}};
    for (const auto& a : actions)
        a.action->setText(Entry(a.entry));
    TextValid->setText(Entry(Tessaro3DText("TextValid")));
    CoulValid->setText(Entry(Tessaro3DText("CoulValid")));
    Retourne->setText(Entry(Tessaro3DText("Retourne")));
    Flip->setText(Entry(Tessaro3DText("Flip")));
    Reset->setText(Entry(Tessaro3DText("Reset")));
    Label2->setText(Entry(Tessaro3DText("Label2")));
    TypeFace->setTitle(Entry(Tessaro3DText("TypeFace")));
    const DictionaryEntry* typeFaceEntries[] = {&Tessaro3DText("TypeFace0"), &Tessaro3DText("TypeFace1"),
                                                &Tessaro3DText("TypeFace2"), &Tessaro3DText("TypeFace3")};
    for (int i = 0; i < 4; ++i)
        TypeFaceItems->button(i)->setText(Entry(*typeFaceEntries[i]));
    DoubleFace->setText(Entry(Tessaro3DText("DoubleFace")));
    Label3->setText(Entry(Tessaro3DText("Label3")));
    // Texts newer than many projects' dictionaries: English where a dictionary lacks them.
    ViewMenu->setTitle(EntryOrEnglish(Tessaro3DText("ViewMenu")));
    const struct {
        QAction* action;
        const DictionaryEntry& entry;
    } newer[] = {{SelectAll, Tessaro3DText("SelectAll")},
                 {SelectNone, Tessaro3DText("SelectNone")},
                 {InvertSelection, Tessaro3DText("InvertSelection")},
                 {SelectSameSkin, Tessaro3DText("SelectSameSkin")},
                 {SelectConnected, Tessaro3DText("SelectConnected")},
                 {SelectFlatRegion, Tessaro3DText("SelectFlatRegion")},
                 {FrameAll, Tessaro3DText("FrameAll")},
                 {FrameSelection, Tessaro3DText("FrameSelection")},
                 {ResetView, Tessaro3DText("Reset")},
                 {NextFace, Tessaro3DText("NextFace")},
                 {PreviousFace, Tessaro3DText("PreviousFace")},
                 {FitQuads, Tessaro3DText("FitQuads")}};
    for (const auto& a : newer)
        a.action->setText(EntryOrEnglish(a.entry));
    if (document)
        document->Retranslate(DocumentTexts::FromTable(Entry(Tessaro3DText("Caption")), Tessaro3DEntries));
}
