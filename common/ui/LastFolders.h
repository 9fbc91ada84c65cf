#pragma once
// Each file dialog of a program opens in the folder it was last used in within the same project
// (remembered in the user's settings between starts), as long as that folder still exists; in
// another project it opens where the program would without it.
#include "Dialogs.h"

// `dialog` names the dialog within the program ("Object", "Bank", "Image"); the request's own
// folder is the first start's choice.
QString ChooseOpenFileRemembered(QWidget* parent, const QString& dialog, FileDialogRequest request);
QString ChooseSaveFileRemembered(QWidget* parent, const QString& dialog, FileDialogRequest request);
QStringList ChooseOpenFilesRemembered(QWidget* parent, const QString& dialog, FileDialogRequest request);
