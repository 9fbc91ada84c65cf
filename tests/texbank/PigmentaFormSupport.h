#pragma once
// What the texture bank editor's form tests share: the design's window size and the mouse put
// over a slot of the grid.
#include "PigmentaUnit.h"
#include "SlotGrid.h"
#include "UpDownControl.h"

#include <QTest>

#include <algorithm>
#include <memory>

inline std::unique_ptr<TMainForm> MakePigmentaForm()
{
    auto form = std::make_unique<TMainForm>();
    // The design's view of 549 x 329 pixels, the texture list beside it.
    form->centralWidget()->resize(570 + TMainForm::TextureColumnWidth + 1, 434);
    form->FormResize();
    return form;
}

// Where `slot` shows in the form's client area, scrolled into sight.
inline QPoint SlotPoint(TMainForm& form, int slot)
{
    const int columns = form.Columns();
    form.UpDown->SetPosition(std::min(slot / columns, form.UpDown->Max()));
    const CellPlace cell = CellCorner(slot, form.Layout, form.UpDown->Position());
    const QRect view = form.ViewPanel->geometry();
    return {view.x() + cell.x + 30, view.y() + cell.y + 30};
}

// The mouse over `slot`: the cursor slot, which the slot commands act on.
inline bool PointAtSlot(TMainForm& form, int slot)
{
    const QPoint at = SlotPoint(form, slot);
    form.FormMouseMove(at.x(), at.y());
    return form.CursorImage == slot;
}

// A click on `slot` (with Shift: the run from the slot clicked before).
inline void ClickSlot(TMainForm& form, int slot, bool shift = false)
{
    const QPoint at = SlotPoint(form, slot);
    form.FormMouseDown(at.x(), at.y(), shift);
}
