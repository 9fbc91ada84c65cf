// The 3D object selector and the sound dialog: the calling protocol and Play.
#include "OpenWAV.h"

#include "GameSettings.h"
#include "Snd.h"
#include "TempFolder.h"
#include "WaveBytes.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <memory>

class SoundDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> folder;
    QStringList messages;
    QString chosenFile;

    QString inFolder(const char* name) const { return QString::fromStdString((folder->path() / name).string()); }

private slots:
    void init()
    {
        folder = std::make_unique<TempFolder>();
        StartGameSettings();
        UpperCaseGameFolder();
        messages.clear();
        chosenFile.clear();
        Hooks().message = [this](const QString& text) { messages << text; };
        Hooks().error = [this](const QString& text) { messages << text; };
        Hooks().chooseOpenFile = [this](const FileDialogRequest&) { return chosenFile; };
        StartAudio(); // the dummy driver of the form tests
    }

    void cleanup()
    {
        CloseAudio();
        Hooks() = {};
        folder.reset();
    }

    void objectSelectorPicksAFileInsideTheGameFolder()
    {
        TObjectDialog selector;
        QCOMPARE(selector.windowTitle(), QString("3D object selector"));
        QCOMPARE(selector.size(), QSize(347, 66));
        QCOMPARE(selector.pos(), QPoint(299, 265));
        QVERIFY(selector.OpenDialog.filter.contains("*.3do"));

        selector.FileName = "OLD.3DO";
        chosenFile = inFolder("Objects/Ship.3do");
        QTimer::singleShot(0, this, [&] {
            QCOMPARE(selector.FilenameLabel->text(), QString("OLD.3DO"));
            selector.ChangeButton->click();
            selector.OKButton->click();
        });
        QCOMPARE(selector.exec(), int(QDialog::Accepted));
        QCOMPARE(selector.FileName, std::string("OBJECTS\\SHIP.3DO"));

        // Outside the folder: its (empty) message, and the name stays.
        chosenFile = "/elsewhere/Ship.3do";
        QTimer::singleShot(0, this, [&] {
            selector.ChangeButton->click();
            QCOMPARE(selector.FilenameLabel->text(), QString("OBJECTS\\SHIP.3DO"));
            selector.CancelButton->click();
        });
        QCOMPARE(selector.exec(), int(QDialog::Rejected));
        QCOMPARE(messages, QStringList{QString()});
        QCOMPARE(selector.FileName, std::string("OBJECTS\\SHIP.3DO"));
    }

    void playLoadsWhatTheLabelShowsNow()
    {
        folder->write("Sound/Menu.wav", PcmWave(11025, 1, 8, std::string(64, '\x90')));
        TWAVDialog wav;
        wav.FilenameLabel->setText("SOUND\\MENU.WAV");
        std::filesystem::current_path("/"); // Play enters the game folder itself
        wav.PlayButtonClick();
        QVERIFY(wav.Sound && wav.Sound->Buffer);
        QCOMPARE(wav.Sound->Size, 64u);
        QVERIFY(messages.isEmpty());

        wav.ClearButton->click();
        wav.PlayButtonClick(); // nothing to play: silence, no message
        QVERIFY(wav.Sound);
        QVERIFY(!wav.Sound->Buffer);
        QVERIFY(messages.isEmpty());
    }

    void playShowsWhyAFileCannotBePlayed()
    {
        const std::string data = std::string(ORMEL_TEST_DATA) + "/wav/";
        TWAVDialog wav;
        const struct {
            const char* file;
            const char* message;
        } cases[] = {
            {"not_riff.wav", "Not a wave file"},
            {"empty.wav", "mmioDescend Failed"},
            {"data_too_long.wav", "Corrupt Wave File"},
            {"no_data.wav", "Error reading wave file"},
        };
        for (const auto& c : cases) {
            messages.clear();
            wav.FilenameLabel->setText(QString::fromStdString(data + c.file));
            wav.PlayButtonClick();
            QCOMPARE(messages, QStringList{c.message});
        }
    }

    void withoutADeviceNothingHappens()
    {
        CloseAudio();
        qputenv("SDL_AUDIODRIVER", "no-such-driver");
        StartAudio();
        qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY(!AudioReady);
        TWAVDialog wav;
        wav.FilenameLabel->setText(QString::fromStdString(std::string(ORMEL_TEST_DATA) + "/wav/not_riff.wav"));
        wav.PlayButtonClick();
        QVERIFY(!wav.Sound);
        QVERIFY(messages.isEmpty());
    }
};

QTEST_MAIN(SoundDialogTest)
#include "SoundDialogTest.moc"
