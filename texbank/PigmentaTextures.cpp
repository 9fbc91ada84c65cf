// The texture bank editor's textures: the animation step while an animated texture shows,
// Make texture on the selected run, and the texture list's choice and Delete.
#include "PigmentaUnit.h"

#include "Dialogs.h"
#include "PigmentaEntries.h"
#include "SlotGridPainter.h"
#include "Text.h"
#include "TextureListModel.h"
#include "UpDownControl.h"

#include <QEvent>
#include <QListView>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

void TMainForm::TextureAnimationTimerTimer()
{
    const std::int32_t was = ChosenTexture().current;
    StepTexture(ChosenTexture());
    showTextureLabels();
    if (ChosenTexture().current != was) {
        updateCell(was);
        updateCell(ChosenTexture().current);
        PreviewShown = DrawPreview(PreviewImage, Bank, ChosenTexture());
        centralWidget()->update(TexturePanel->geometry());
    }
    // Only the rows in sight play.
    const QRect seen = TextureList->viewport()->rect();
    const int first = TextureList->indexAt(seen.topLeft()).row();
    const int last = TextureList->indexAt(seen.bottomLeft()).row();
    TextureListRows->Step(std::max(0, first), last < 0 ? TextureListRows->rowCount() - 1 : last);
}

bool TMainForm::Animating() const
{
    if (!isVisible() || isMinimized())
        return false;
    const AnimTexture& chosen = Bank.textures[static_cast<std::size_t>(TextureIndex->value())];
    if (chosen.first != -1 && chosen.first != chosen.last)
        return true;
    const QRect seen = TextureList->viewport()->rect();
    for (int row = 0; row < TextureListRows->rowCount(); ++row)
        if (TextureListRows->Animated(row) && TextureList->visualRect(TextureListRows->index(row)).intersects(seen))
            return true;
    return false;
}

void TMainForm::followAnimation()
{
    const bool animating = Animating();
    if (animating && !TextureAnimationTimer->isActive())
        TextureAnimationTimer->start();
    else if (!animating)
        TextureAnimationTimer->stop();
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    followAnimation();
}

void TMainForm::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    followAnimation();
}

void TMainForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        followAnimation();
}

void TMainForm::MakeTexture1Click()
{
    const SlotSpan run = Selection.value_or(SlotSpan{CursorImage, CursorImage});
    std::optional<NewTexture> made = MakeTextureChange(Bank, run.first, run.last);
    if (!made) {
        ShowMessage(this, EntryOrEnglish(PigmentaText("NoFreeTexture")));
        return;
    }
    const std::int32_t texture = made->texture;
    pushChange(EntryOrEnglish(PigmentaText("UndoMakeTexture")), std::move(made->change));
    TextureIndex->setValue(texture); // the new texture plays in the preview
}

void TMainForm::DeleteTexture1Click()
{
    const QModelIndex row = TextureList->currentIndex();
    if (!row.isValid())
        return;
    if (auto change = TextureChange(Bank, TextureListRows->TextureAt(row.row()), EditorBank::Undefined))
        pushChange(EntryOrEnglish(PigmentaText("UndoDeleteTexture")), std::move(*change));
}

void TMainForm::TextureListClick(const QModelIndex& row)
{
    if (!row.isValid())
        return;
    const std::int32_t texture = TextureListRows->TextureAt(row.row());
    TextureIndex->setValue(texture);
    // Its run comes into sight in the grid, from its top row, unless it shows whole already.
    if (const std::optional<SlotSpan> run = TextureSpan(Bank.textures[static_cast<std::size_t>(texture)])) {
        const int firstRow = run->first / Layout.columns, lastRow = run->last / Layout.columns;
        const int rows = std::max(1, ViewImage.height / Layout.CellHeight());
        if (firstRow < UpDown->Position() || lastRow >= UpDown->Position() + rows)
            UpDown->SetPosition(firstRow);
    }
}
