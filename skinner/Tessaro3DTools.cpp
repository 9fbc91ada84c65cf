// TForm1's whole-object tools, each an undoable step: the "Outils" menu.
#include "Tessaro3DUnit.h"

#include "EditorDocument.h"
#include "LocalisationUnit.h"
#include "ObjectChange.h"
#include "ObjectFile.h"
#include "ObjectTools.h"
#include "PointMerge.h"
#include "QuadFit.h"
#include "Tessaro3DEntries.h"
#include "Tessaro3DFormHelpers.h"
#include "Text.h"
#include "UndoCommands.h"

#include <QSlider>

void TForm1::runTool(const QString& name, const std::function<void(Object3D&)>& tool)
{
    Object3D changed = UsedPart(object);
    tool(changed);
    UndoHistory& history = document->History();
    switch (ChangedPart(object, changed)) {
    case ObjectPart::Nothing:
        break;
    case ObjectPart::Faces:
        history.Push(new SwapChange<std::vector<Face>>(name, std::move(changed.faces), [this](std::vector<Face>& held) {
            ExchangeFaces(object, held);
            objectChanged();
        }));
        break;
    case ObjectPart::Points:
        history.Push(new SwapChange<ObjectPoints>(
            name, ObjectPoints{std::move(changed.x), std::move(changed.y), std::move(changed.z)},
            [this](ObjectPoints& held) {
                ExchangePoints(object, held);
                objectChanged();
            }));
        break;
    case ObjectPart::Whole:
        history.Push(new SwapChange<Object3D>(name, std::move(changed), [this](Object3D& held) {
            std::swap(object, held);
            objectChanged();
        }));
        break;
    }
    ShowFaceInfo();
}

void TForm1::ColorieClick()
{
    runTool(stepName(Tessaro3DText("Colorie")), [this](Object3D& o) { ColourAllFaces(o, currentColour); });
}

void TForm1::TextureToutClick()
{
    const auto texture = static_cast<std::uint16_t>(currentTexture);
    runTool(stepName(Tessaro3DText("TextureTout")), [texture](Object3D& o) { TextureAllFaces(o, texture); });
}

void TForm1::FitQuadsClick()
{
    // The selected faces, or every face when none is selected.
    const FaceFlags faces = CountSelected(selection) > 0 ? selection : AllFaces(object.faceCount());
    runTool(stepName(Tessaro3DText("FitQuads")), [&faces](Object3D& o) { FitTexturesToQuads(o, faces); });
}

void TForm1::MettretoutenTransparent1Click()
{
    const auto level = static_cast<std::uint16_t>(Transparence->value());
    runTool(stepName(Tessaro3DText("MettretoutenTransparent1")), [level](Object3D& o) { SetAllTransparency(o, level); });
}

void TForm1::ReprendreHabillageClick()
{
    Object3D other;
    const QString path = runOnChosenObject([&](const std::string& file) { LoadObject(file, other); });
    if (!path.isEmpty()) {
        SkinTakeOver result;
        runTool(stepName(Tessaro3DText("ReprendreHabillage")),
                [&result, &other](Object3D& o) { result = TakeOverSkin(o, other); });
        ShowMessage(this, EntryOrEnglish(Tessaro3DText("SkinTakenOver"))
                              .arg(result.taken)
                              .arg(result.skipped)
                              .arg(path));
    }
    ShowFaceInfo();
}

void TForm1::Remplacerlacouleur1Click()
{
    const std::int32_t sample = currentFace;
    const std::uint8_t colour = currentColour;
    runTool(stepName(Tessaro3DText("Remplacerlacouleur1")),
            [sample, colour](Object3D& o) { ReplaceColour(o, sample, colour); });
}

void TForm1::Supprimerlespointsdoubles1Click()
{
    runTool(stepName(Tessaro3DText("Supprimerlespointsdoubles1")), [](Object3D& o) { MergeCoincidentPoints(o); });
}

void TForm1::dblfac2Click()
{
    runTool(stepName(Tessaro3DText("dblfac2")), [](Object3D& o) { SetAllDoubleSided(o, 0); });
}

void TForm1::dblface1Click()
{
    runTool(stepName(Tessaro3DText("dblface1")), [](Object3D& o) { SetAllDoubleSided(o, 1); });
}

void TForm1::Inverserlesnormales1Click()
{
    runTool(stepName(Tessaro3DText("Inverserlesnormales1")), [](Object3D& o) { TurnFacesOver(o); });
}

void TForm1::Chargerobjetancienformat1Click()
{
    // Nothing is read: the old format is gone; only the caption names the file.
    const QString path = runOnChosenObject([](const std::string&) {});
    if (!path.isEmpty())
        setWindowTitle(Entry(Tessaro3DText("Caption")) + " - " + path + "[*]");
    ShowFaceInfo();
}

void TForm1::Convertirancienobjet1Click()
{
    // An open dialog that writes the object to the chosen file, as the hidden item always did.
    const QString path = runOnChosenObject([this](const std::string& file) { SaveObject(file, object); });
    if (!path.isEmpty())
        document->Saved(path);
    ShowFaceInfo();
}

namespace {

// The mirror and quarter-turn steps: the submenu's name and the item's ("Mirror X").
QString axisStepName(const DictionaryEntry& submenu, const QString& item) { return stepName(submenu) + " " + item; }

QString axisLetter(Axis axis) { return QString(QLatin1Char("XYZ"[static_cast<int>(axis)])); }

} // namespace

void TForm1::mirrorTool(Axis axis)
{
    runTool(axisStepName(Tessaro3DText("Symtrie1"), axisLetter(axis)), [axis](Object3D& o) { MirrorObject(o, axis); });
}

void TForm1::quarterTurnTool(Axis axis)
{
    runTool(axisStepName(Tessaro3DText("Rotation1"), QString::fromUtf8("90° ") + axisLetter(axis)),
            [axis](Object3D& o) { QuarterTurn(o, axis); });
}

void TForm1::X1Click() { mirrorTool(Axis::X); }

void TForm1::Y1Click() { mirrorTool(Axis::Y); }

void TForm1::Z1Click() { mirrorTool(Axis::Z); }

void TForm1::N90Z1Click() { quarterTurnTool(Axis::Z); }

void TForm1::N90X1Click() { quarterTurnTool(Axis::X); }

void TForm1::N90Y1Click() { quarterTurnTool(Axis::Y); }
