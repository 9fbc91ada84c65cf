#include "OpenWAV.h"

#include "Errors.h"
#include "FileFilter.h"
#include "GameSettings.h"
#include "Text.h"

#include <QLabel>
#include <QPushButton>

TWAVDialog::TWAVDialog(QWidget* parent)
    : TObjectDialog(parent)
{
    setObjectName("WAVDialog");
    setWindowTitle("Open a WAV file");
    Label1->resize(122, Label1->height());

    PlayButton = new QPushButton("Play", this);
    PlayButton->setObjectName("PlayButton");
    PlayButton->setAutoDefault(false);
    connect(PlayButton, &QPushButton::clicked, this, &TWAVDialog::PlayButtonClick);

    const struct {
        QPushButton* button;
        int left;
    } row[] = {{OKButton, 13}, {ChangeButton, 80}, {PlayButton, 146}, {ClearButton, 213}, {CancelButton, 279}};
    for (const auto& place : row)
        place.button->setGeometry(place.left, 44, 60, 20);
    // Play comes last in the tab order: Change, Clear, OK, Cancel, Play.
    setTabOrder(CancelButton, PlayButton);

    OpenDialog.filter = QtFilter("WAV file (*.wav)|*.wav");
}

void TWAVDialog::PlayButtonClick()
{
    try {
        EnterGameFolder();
        LoadSound(Native(FilenameLabel->text()), Sound);
        StartSound(Sound, false);
        // The file's samples could not be read: say why instead of staying silent.
        if (Sound && !Sound->DataError.empty())
            ShowError(this, Ui(Sound->DataError));
    } catch (const OrmelError& error) {
        ShowError(this, QString::fromStdString(error.what()));
    }
}
