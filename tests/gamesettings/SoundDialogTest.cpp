// The 3D object selector and the sound dialog: the calling protocol and Play.
#include "OpenWAV.h"

#include "GameSettings.h"
#include "LocalisationUnit.h"
#include "Snd.h"
#include "TempFolder.h"
#include "WaveBytes.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
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
        // The sound messages, each showing its arguments.
        folder->write("Partiva.dic", "[Config]\r\nLanguage=English\r\n[English]\r\n52=%1: %2\r\n53=%1 not played: %2\r\n"
                                     "54=%1-bit PCM\r\n55=%1-bit float\r\n56=format %1\r\n57=%1: %2 channels\r\n"
                                     "58=%1: %2 Hz\r\n59=%1: header\r\n60=%1: too long\r\n");
        LoadDictionary("Partiva.dic");
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

        // Outside the folder: the offer to copy it in, declined: the name stays.
        QStringList asked;
        bool copy = false;
        Hooks().askYesNo = [&](const QString&, const QString& text) {
            asked << text;
            return copy;
        };
        chosenFile = "/elsewhere/Ship.3do";
        QTimer::singleShot(0, this, [&] {
            selector.ChangeButton->click();
            QCOMPARE(selector.FilenameLabel->text(), QString("OBJECTS\\SHIP.3DO"));
            selector.CancelButton->click();
        });
        QCOMPARE(selector.exec(), int(QDialog::Rejected));
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked[0].startsWith("/elsewhere/Ship.3do lies outside the game folder"));
        QVERIFY(messages.isEmpty());
        QCOMPARE(selector.FileName, std::string("OBJECTS\\SHIP.3DO"));

        // Accepted: copied into the game folder, beside a file of the same name, and the copy taken.
        const std::filesystem::path outside = folder->path().parent_path() / (folder->path().filename().string() + "-out");
        std::filesystem::create_directories(outside);
        std::ofstream(outside / "Ship.3do") << "a ship";
        folder->write("SHIP.3DO", "another ship");
        chosenFile = QString::fromStdString((outside / "Ship.3do").string());
        copy = true;
        QTimer::singleShot(0, this, [&] {
            selector.ChangeButton->click();
            selector.OKButton->click();
        });
        QCOMPARE(selector.exec(), int(QDialog::Accepted));
        QCOMPARE(selector.FileName, std::string("SHIP_2.3DO"));
        QCOMPARE(folder->read("Ship_2.3do"), std::string("a ship"));
        std::filesystem::remove_all(outside);
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

    void playShowsWhyAFileCannotBePlayedNamingIt()
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
            const QString file = QString::fromStdString(data + c.file);
            wav.FilenameLabel->setText(file);
            wav.PlayButtonClick();
            QCOMPARE(messages, QStringList{file + ": " + c.message});
        }
    }

    void playSaysWhichFormatIsNotPlayed()
    {
        // The formats that were silently not played.
        const struct {
            int tag, channels, rate, bits;
            const char* message;
        } cases[] = {
            {7, 1, 8000, 8, "SOUND\\X.WAV not played: \u00B5-law"},
            {6, 1, 8000, 8, "SOUND\\X.WAV not played: A-law"},
            {2, 1, 22050, 4, "SOUND\\X.WAV not played: Microsoft ADPCM"},
            {0x11, 1, 22050, 4, "SOUND\\X.WAV not played: IMA ADPCM"},
            {3, 1, 44100, 64, "SOUND\\X.WAV not played: 64-bit float"},
            {1, 1, 44100, 12, "SOUND\\X.WAV not played: 12-bit PCM"},
            {0x22, 1, 8000, 8, "SOUND\\X.WAV not played: format 0x0022"},
            {1, 9, 44100, 16, "SOUND\\X.WAV: 9 channels"},
            {1, 1, 2000000, 16, "SOUND\\X.WAV: 2000000 Hz"},
        };
        TWAVDialog wav;
        wav.FilenameLabel->setText("SOUND\\X.WAV");
        for (const auto& c : cases) {
            std::string wave = PcmWave(c.rate, c.channels, c.bits == 12 ? 16 : c.bits, std::string(64 * 9, '\x10'));
            wave[20] = static_cast<char>(c.tag);
            wave[34] = static_cast<char>(c.bits);
            folder->write("Sound/X.wav", wave);
            messages.clear();
            wav.PlayButtonClick();
            QCOMPARE(messages, QStringList{QString::fromUtf8(c.message)});
            QVERIFY(!wav.Sound->Buffer);
        }
    }

    // Without a device nothing is read or played, and Play says why it stays silent.
    void withoutADevicePlaySaysThereIsNone()
    {
        CloseAudio();
        qputenv("SDL_AUDIODRIVER", "no-such-driver");
        StartAudio();
        QVERIFY(!AudioReady);
        TWAVDialog wav;
        wav.FilenameLabel->setText(QString::fromStdString(std::string(ORMEL_TEST_DATA) + "/wav/not_riff.wav"));
        wav.PlayButtonClick();
        qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY(!wav.Sound);
        QCOMPARE(messages, QStringList{"There is no sound device: the sound cannot be played."});
    }
};

QTEST_MAIN(SoundDialogTest)
#include "SoundDialogTest.moc"
