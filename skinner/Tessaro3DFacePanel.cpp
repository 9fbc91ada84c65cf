// TForm1's face panel: the face bar, the controls that change the current face, and the panel
// showing the face's values.
#include "Tessaro3DUnit.h"

#include "EditorDocument.h"
#include "Errors.h"
#include "FaceEditing.h"
#include "LocalisationUnit.h"
#include "Tessaro3DEntries.h"
#include "Tessaro3DFormHelpers.h"
#include "Text.h"
#include "UndoCommands.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>

namespace {

// Controls whose runs of changes make one undo step while the same faces are selected: the step's
// id is the control's with the selection's run number in its low 16 bits.
enum MergingControl { TransparenceRun = 1, LxRun, LyRun };
constexpr int EveryChange = -1;

int runOnFaces(int control, int selectionRun) { return control << 16 | (selectionRun & 0xFFFF); }

// What a step changed: the faces and their records, before or after.
struct FaceRecords {
    std::vector<std::uint32_t> faces;
    std::vector<Face> records;
    bool operator==(const FaceRecords&) const = default;
};

bool isVirtual(const Face& face) { return face.faceType == FaceVirtual; }
bool isTriangle(const Face& face) { return face.faceType != FaceVirtual; }

} // namespace

void TForm1::FaceBarChange()
{
    setMaximumQuietly(FaceBar, object.lastFace);
    selectFace(FaceBar->value());
}

void TForm1::editFace(const DictionaryEntry& name, int control, const std::function<void(Face&)>& edit,
                      const std::function<bool(const Face&)>& applies)
{
    FaceRecords before, after;
    for (const std::uint32_t f : editedFaces())
        if (f < object.faceCount() && (!applies || applies(object.faces[f]))) {
            before.faces.push_back(f);
            before.records.push_back(object.faces[f]);
        }
    if (before.faces.empty())
        return;
    after.faces = before.faces;
    after.records = before.records;
    for (Face& face : after.records)
        edit(face);
    QString text = stepName(name);
    if (before.faces.size() > 1)
        text += " (" + EntryOrEnglish(Tessaro3DText("FacesCount")).arg(before.faces.size()) + ")";
    const int run = control == EveryChange ? EveryChange : runOnFaces(control, selectionRun_);
    PushChange<FaceRecords>(document->History(), text, run, std::move(before), std::move(after),
                            [this](const FaceRecords& value) {
                                // An undo or redo shows the faces it changed, selected.
                                FaceFlags changed(object.faceCount(), 0);
                                for (std::size_t i = 0; i < value.faces.size(); ++i)
                                    if (value.faces[i] < object.faceCount()) {
                                        object.faces[value.faces[i]] = value.records[i];
                                        changed[value.faces[i]] = 1;
                                    }
                                viewChanged();
                                if (value.faces.size() == 1 && CountSelected(selection) == 0)
                                    setCurrentFace(static_cast<std::int32_t>(value.faces.front()));
                                else
                                    setSelection(std::move(changed));
                            });
}

void TForm1::TextValidClick()
{
    editFace(Tessaro3DText("TextValid"), EveryChange, [this](Face& face) { SetFaceTexture(face, currentTexture); });
    ShowFaceInfo();
}

void TForm1::CoulValidClick()
{
    editFace(Tessaro3DText("CoulValid"), EveryChange, [this](Face& face) { SetFaceTexture(face, currentColour); });
    ShowFaceInfo();
}

void TForm1::TypeFaceClick()
{
    const int type = TypeFaceItems->checkedId();
    if (type >= 0)
        editFace(Tessaro3DText("UndoFaceType"), EveryChange, [this, type](Face& face) {
            ChangeFaceType(face, static_cast<std::uint16_t>(type), object.pointCount());
        });
    ShowFaceInfo();
}

void TForm1::DoubleFaceClick()
{
    const bool ticked = DoubleFace->isChecked();
    editFace(Tessaro3DText("DoubleFace"), EveryChange, [ticked](Face& face) { SetFaceDoubleSided(face, ticked); },
             isTriangle);
    ShowFaceInfo();
}

void TForm1::RetourneClick() { editFace(Tessaro3DText("Retourne"), EveryChange, &NextMapping, isTriangle); }

void TForm1::FlipClick() { editFace(Tessaro3DText("Flip"), EveryChange, &RotateFacePoints, isTriangle); }

void TForm1::setFaceSize(QLineEdit* edit, VirtualSide side)
{
    const QString text = edit->text();
    if (text.isEmpty())
        return;
    const std::optional<std::uint16_t> size = FaceSizeFromText(Native(text));
    if (!size) {
        ShowError(this, QString("'%1' is not a valid integer value").arg(text));
        return;
    }
    const bool width = side == VirtualSide::Width;
    editFace(width ? Tessaro3DText("UndoWidth") : Tessaro3DText("UndoHeight"), width ? LxRun : LyRun,
             [side, size](Face& face) { SetVirtualFaceSize(face, side, *size); }, isVirtual);
}

void TForm1::LxChange() { setFaceSize(Lx, VirtualSide::Width); }

void TForm1::LyChange() { setFaceSize(Ly, VirtualSide::Height); }

void TForm1::TransparenceChange()
{
    const int level = Transparence->value();
    editFace(Tessaro3DText("UndoTransparency"), TransparenceRun,
             [level](Face& face) { SetFaceTransparency(face, level); });
    ShowFaceInfo();
}

void TForm1::HeightBarChange()
{
    // Raising or lowering the object is a view setting, as turning it is: no step of the history,
    // nothing unsaved (a save writes the same bytes).
    objectHeight = HeightBar->value();
    ShowFaceInfo();
}

void TForm1::ShowFaceInfo()
{
    // The controls show the faces; their change handlers would only write the same values back.
    const QSignalBlocker blockTransparence(Transparence), blockDoubleFace(DoubleFace);
    HeightLabel->setText(QString::number(objectHeight));
    QString line = Entry(Tessaro3DText("FaceWord")) + ":" + QString::number(currentFace) + "/" +
                   QString::number(object.lastFace) + " - " + QString::number(object.lastPoint + 1) + " " +
                   Entry(Tessaro3DText("PointsWord"));
    const std::size_t selected = CountSelected(selection);
    if (selected > 1)
        line += "\n" + EntryOrEnglish(Tessaro3DText("SelectedCount")).arg(selected);
    FaceLabel->setText(line);
    IndexColorPanel->setText(QString::number(currentColour));
    // A typed number that already names the texture stays as typed.
    if (TextureIndex->text().toInt() != currentTexture || TextureIndex->text().isEmpty())
        TextureIndex->setText(QString::number(currentTexture));
    const Face* face = currentFaceRecord();
    if (face == nullptr)
        return;
    // Which values differ across the faces the controls act on.
    bool mixedType = false, mixedTransparency = false, mixedSides = false, mixedWidth = false, mixedHeight = false;
    bool anyVirtual = false, anyTriangle = false;
    const Face* firstVirtual = nullptr;
    for (const std::uint32_t f : editedFaces()) {
        const Face& other = object.faces[f];
        mixedType |= other.faceType != face->faceType;
        mixedTransparency |= other.transparency != face->transparency;
        if (isVirtual(other)) {
            anyVirtual = true;
            firstVirtual = firstVirtual ? firstVirtual : &other;
            mixedWidth |= other.p2 != firstVirtual->p2;
            mixedHeight |= other.p3 != firstVirtual->p3;
        } else {
            mixedSides |= anyTriangle && (other.doubleSided == 1) != DoubleFace->isChecked();
            if (!anyTriangle)
                DoubleFace->setChecked(other.doubleSided == 1);
            anyTriangle = true;
        }
    }
    const QString mixed = EntryOrEnglish(Tessaro3DText("Mixed"));
    if (QAbstractButton* item = mixedType ? nullptr : TypeFaceItems->button(face->faceType)) {
        item->setChecked(true);
    } else if (QAbstractButton* checked = TypeFaceItems->checkedButton()) {
        // Mixed types, or a type the editor does not know: no item chosen.
        TypeFaceItems->setExclusive(false);
        checked->setChecked(false);
        TypeFaceItems->setExclusive(true);
    }
    TypeFace->setTitle(Entry(Tessaro3DText("TypeFace")) + (mixedType ? " (" + mixed + ")" : QString()));
    Transparence->setValue(face->transparency);
    TranspLabel->setText(mixedTransparency ? mixed : QString::number(Transparence->value()) + " %");
    // A tick box of mixed faces shows its third state; a click then ticks them all.
    if (mixedSides)
        DoubleFace->setCheckState(Qt::PartiallyChecked);
    else
        DoubleFace->setTristate(false);
    Lx->setEnabled(anyVirtual);
    Ly->setEnabled(anyVirtual);
    Lx->setPlaceholderText(mixed);
    Ly->setPlaceholderText(mixed);
    if (firstVirtual != nullptr) {
        // A text that already means the size stays as typed ("040", "$28"), so typing is not undone.
        const auto show = [](QLineEdit* edit, bool differ, std::uint16_t size) {
            if (differ)
                edit->clear();
            else if (FaceSizeFromText(Native(edit->text())) != size)
                edit->setText(QString::number(size));
        };
        show(Lx, mixedWidth, firstVirtual->p2);
        show(Ly, mixedHeight, firstVirtual->p3);
    }
    Retourne->setEnabled(anyTriangle);
    Flip->setEnabled(anyTriangle);
    DoubleFace->setEnabled(anyTriangle);
}

Face* TForm1::currentFaceRecord()
{
    if (currentFace < 0 || static_cast<std::size_t>(currentFace) >= object.faceCount())
        return nullptr;
    return &object.faces[static_cast<std::size_t>(currentFace)];
}
