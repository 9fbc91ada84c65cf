#pragma once
// TWAVDialog, the sound dialog: the 3D object selector made to pick a WAV file, with Play to
// hear the file the dialog shows before it is accepted.
#include "Open3DO.h"
#include "Snd.h"

class TWAVDialog : public TObjectDialog {
    Q_OBJECT
public:
    explicit TWAVDialog(QWidget* parent = nullptr);

    QPushButton* PlayButton;
    SoundSlot Sound; // the last sound played; it plays on after the dialog closes

public Q_SLOTS:
    void PlayButtonClick();
};
