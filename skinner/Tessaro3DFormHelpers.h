#pragma once
// Small rules the Tessaro3D form's files share.
#include "DictionaryEntries.h"
#include "Text.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <QString>

// The bar's new range without a change signal: its own handler sets it, and the callers read
// back a value the range clamped.
inline void setMaximumQuietly(QScrollBar* bar, int maximum)
{
    const QSignalBlocker block(bar);
    bar->setMaximum(maximum);
}

// What an undo step is called in the Edit menu: the text of the menu item or button that made it,
// without its accelerator and its trailing dots ("Make all &coloured" -> "Make all coloured").
inline QString stepName(const DictionaryEntry& entry)
{
    QString text = Entry(entry).remove(QLatin1Char('&')).trimmed();
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.trimmed();
}

// The button alone, without Shift, Ctrl or Alt.
inline bool onlyButton(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, Qt::MouseButton button)
{
    return buttons == button && (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
}
