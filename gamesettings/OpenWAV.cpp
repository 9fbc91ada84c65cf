#include "OpenWAV.h"

#include "Errors.h"
#include "FileFilter.h"
#include "GameSettings.h"
#include "PartivaEntries.h"
#include "Text.h"

#include <QLabel>
#include <QPushButton>

namespace {

// The encoding of a sound that is not played, as the user reads it: "12-bit PCM", "µ-law".
QString encodingText(const TSoundBuffer& sound)
{
    if (sound.Encoding == WAVE_FORMAT_PCM)
        return EntryOrEnglish(PartivaText("PcmBits")).arg(sound.BitsPerSample);
    if (sound.Encoding == WAVE_FORMAT_IEEE_FLOAT)
        return EntryOrEnglish(PartivaText("FloatBits")).arg(sound.BitsPerSample);
    const std::string_view name = EncodingName(sound.Encoding);
    if (!name.empty())
        return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    return EntryOrEnglish(PartivaText("FormatTag")).arg("0x" + QString("%1").arg(sound.Encoding, 4, 16, QChar('0')).toUpper());
}

// Why `sound`, read from `file`, is not played; empty when it is, or has nothing to play.
QString notPlayedMessage(const TSoundBuffer& sound, const QString& file)
{
    switch (sound.Problem) {
    case PlayProblem::Encoding: return EntryOrEnglish(PartivaText("NotPlayedEncoding")).arg(file, encodingText(sound));
    case PlayProblem::Channels: return EntryOrEnglish(PartivaText("NotPlayedChannels")).arg(file).arg(sound.Channels);
    case PlayProblem::Rate: return EntryOrEnglish(PartivaText("NotPlayedRate")).arg(file).arg(sound.SampleRate);
    case PlayProblem::Header: return EntryOrEnglish(PartivaText("NotPlayedHeader")).arg(file);
    case PlayProblem::TooLong: return EntryOrEnglish(PartivaText("NotPlayedTooLong")).arg(file);
    case PlayProblem::None:
    case PlayProblem::NoSamples: break; // an empty sound is silence
    }
    return {};
}

} // namespace

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
    const QString file = FilenameLabel->text();
    // Silence would pass for a fault of the file: say when there is nothing to play it on (a
    // device plugged in since the start is taken now).
    StartAudio();
    if (!AudioReady)
        return ShowMessage(this, EntryOrEnglish(PartivaText("NoSoundDevice")));
    try {
        EnterGameFolder();
        {
            // A sound of hundreds of megabytes takes seconds to read and convert.
            const HourglassCursor hourglass;
            LoadSound(Native(file), Sound);
        }
        StartSound(Sound, false);
        if (!Sound)
            return;
        // The file's samples could not be read, or its format is not played: say why
        // instead of staying silent.
        if (!Sound->DataError.empty())
            ShowError(this, EntryOrEnglish(PartivaText("SoundFileError")).arg(file, Ui(Sound->DataError)));
        else if (const QString why = notPlayedMessage(*Sound, file); !why.isEmpty())
            ShowError(this, why);
    } catch (const OrmelError& error) {
        ShowError(this, EntryOrEnglish(PartivaText("SoundFileError")).arg(file, QString::fromStdString(error.what())));
    }
}
