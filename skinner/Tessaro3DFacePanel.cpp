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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>

namespace {

// Controls whose runs of changes on one face make one undo step; the step's id is the control's
// with the face's index in its low 16 bits, so a run never spans two faces.
enum MergingControl { TransparenceRun = 1, LxRun, LyRun };
constexpr int EveryChange = -1;

int runOnFace(int control, std::int32_t face) { return control << 16 | (face & 0xFFFF); }

} // namespace

void TForm1::FaceBarChange()
{
    setMaximumQuietly(FaceBar, object.lastFace);
    currentFace = FaceBar->value();
    ShowFaceInfo();
}

void TForm1::editFace(const DictionaryEntry& name, int control, const std::function<void(Face&)>& edit)
{
    const Face* face = currentFaceRecord();
    if (face == nullptr)
        return;
    Face after = *face;
    edit(after);
    const std::int32_t index = currentFace;
    const int run = control == EveryChange ? EveryChange : runOnFace(control, index);
    PushChange<Face>(document->History(), stepName(name), run, *face, after, [this, index](const Face& value) {
        if (static_cast<std::size_t>(index) < object.faceCount())
            object.faces[static_cast<std::size_t>(index)] = value;
        currentFace = index; // an undo shows the face it changed
        ShowFaceInfo();
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
    editFace(Tessaro3DText("DoubleFace"), EveryChange, [ticked](Face& face) { SetFaceDoubleSided(face, ticked); });
}

void TForm1::RetourneClick() { editFace(Tessaro3DText("Retourne"), EveryChange, &NextMapping); }

void TForm1::FlipClick() { editFace(Tessaro3DText("Flip"), EveryChange, &RotateFacePoints); }

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
             [side, size](Face& face) { SetVirtualFaceSize(face, side, *size); });
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
    // The controls show the face; their change handlers would only write the same values back.
    const QSignalBlocker blockTransparence(Transparence), blockDoubleFace(DoubleFace);
    HeightLabel->setText(QString::number(objectHeight));
    FaceLabel->setText(Entry(Tessaro3DText("FaceWord")) + ":" + QString::number(currentFace) + "/" + QString::number(object.lastFace) +
                       " - " + QString::number(object.lastPoint + 1) + " " + Entry(Tessaro3DText("PointsWord")));
    IndexColorPanel->setText(QString::number(currentColour));
    TextureIndex->setText(QString::number(currentTexture));
    const Face* face = currentFaceRecord();
    if (face == nullptr)
        return;
    if (QAbstractButton* item = TypeFaceItems->button(face->faceType)) {
        item->setChecked(true);
    } else if (QAbstractButton* checked = TypeFaceItems->checkedButton()) {
        // A type the editor does not know: no item chosen.
        TypeFaceItems->setExclusive(false);
        checked->setChecked(false);
        TypeFaceItems->setExclusive(true);
    }
    Transparence->setValue(face->transparency);
    TranspLabel->setText(QString::number(Transparence->value()) + " %");
    DoubleFace->setChecked(face->doubleSided == 1);
    const bool isVirtual = face->faceType == FaceVirtual;
    Lx->setEnabled(isVirtual);
    Ly->setEnabled(isVirtual);
    if (isVirtual) {
        // A text that already means the size stays as typed ("040", "$28"), so typing is not undone.
        if (FaceSizeFromText(Native(Lx->text())) != face->p2)
            Lx->setText(QString::number(face->p2));
        if (FaceSizeFromText(Native(Ly->text())) != face->p3)
            Ly->setText(QString::number(face->p3));
    }
    Retourne->setEnabled(!isVirtual);
    Flip->setEnabled(!isVirtual);
    DoubleFace->setEnabled(!isVirtual);
}

Face* TForm1::currentFaceRecord()
{
    if (currentFace < 0 || static_cast<std::size_t>(currentFace) >= object.faceCount())
        return nullptr;
    return &object.faces[static_cast<std::size_t>(currentFace)];
}
