#pragma once
// TObjectDialog, the 3D object selector: picks one file name relative to the game folder.
//
// Calling protocol: put the current name into FileName, exec(); when it returns Accepted, take
// the new name from FileName. Any other end (Cancel, the close box) leaves FileName as it was.
#include "Dialogs.h"

#include <QDialog>

#include <string>

class QLabel;
class QPushButton;

class TObjectDialog : public QDialog {
    Q_OBJECT
public:
    explicit TObjectDialog(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* FilenameLabel;
    QPushButton* OKButton;
    QPushButton* ChangeButton;
    QPushButton* ClearButton;
    QPushButton* CancelButton;
    FileDialogRequest OpenDialog;

    std::string OutsideFolderMessage; // shown when a chosen file lies outside the game folder
    std::string FileName;             // in: the name shown; out: the name chosen with OK

public Q_SLOTS:
    void FormActivate();
    void ChangeButtonClick();
    void ClearButtonClick();
    void OKButtonClick();
    void CancelButtonClick();

protected:
    // FilenameLabel is reloaded each time the dialog is shown.
    void showEvent(QShowEvent* event) override;
};
