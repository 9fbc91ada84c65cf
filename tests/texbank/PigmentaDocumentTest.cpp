// The texture bank editor keeps the user's work: every edit undone and redone to the byte, the
// questions, recovery after a crash, the command line, drops, and File, Import images.
#include "AutoRecovery.h"
#include "Dialogs.h"
#include "EditorDocument.h"
#include "EnabledItems.h"
#include "FreshDocumentState.h"
#include "ImportImagesDialog.h"
#include "OrmelApplication.h"
#include "PigmentaFormSupport.h"
#include "ProgramUsages.h"
#include "ScriptedQuestions.h"
#include "TempFolder.h"
#include "TextureListModel.h"
#include "TexturePcx.h"
#include "UserFolders.h"

#include <QAction>
#include <QListView>
#include <QDir>
#include <QImage>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QScrollBar>
#include <QUndoStack>
#include <QUrl>

#include <QFileInfo>

#include <functional>
#include <map>
#include <random>

namespace {

const std::string BankText = "#images\r\n0=PAL.PCX\r\n1=ONE.PCX\r\n2=TWO.PCX\r\n#textures\r\n0=1-2\r\n";

std::vector<std::uint8_t> pixelsOf(const TMainForm& form, int slot)
{
    const auto& image = form.Bank.slots[slot].image;
    return image ? std::vector<std::uint8_t>(image->pixels.begin(), image->pixels.begin() + TexturePixels)
                 : std::vector<std::uint8_t>();
}

// What a user sees of the bank: every slot's name and pixels, the textures' runs and the palette
// (not the image each texture plays now, which the animation moves on).
struct Seen {
    std::vector<std::string> names;
    std::vector<std::vector<std::uint8_t>> pixels;
    std::vector<std::pair<int, int>> textures;
    PalettePlanes palette;

    explicit Seen(const TMainForm& form)
        : palette(form.Bank.bankPalette)
    {
        for (int slot = 0; slot < EditorBank::Capacity; ++slot) {
            names.push_back(form.Bank.slots[slot].name);
            pixels.push_back(pixelsOf(form, slot));
            textures.emplace_back(form.Bank.textures[slot].first, form.Bank.textures[slot].last);
        }
    }
    bool operator==(const Seen&) const = default;
};

void writeImage(const std::filesystem::path& path, const QImage& image) { QVERIFY(image.save(QString::fromStdString(path.string()))); }

QImage gradient(int width, int height, bool seeThroughHalf = false)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x * 255 / width, y * 255 / height, 90, seeThroughHalf && x < width / 2 ? 0 : 255));
    return image;
}

} // namespace

class PigmentaDocumentTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempFolder> folder;
    ScriptedQuestions scripted;
    QStringList messages;
    QStringList errors;
    QString chosenFile;
    QStringList chosenPictures;
    std::optional<ImportChoice> importChoice;

    QString file(const std::string& name) const { return QString::fromStdString((folder->path() / name).string()); }

    std::unique_ptr<TMainForm> openBank(const std::string& name = "bank.def")
    {
        auto form = MakePigmentaForm();
        form->document->OpenFiles({file(name)});
        return form;
    }

    void undo(TMainForm& form) { form.document->History().UndoAction()->trigger(); }
    void redo(TMainForm& form) { form.document->History().RedoAction()->trigger(); }

private Q_SLOTS:
    void init()
    {
        folder = std::make_unique<TempFolder>();
        folder->write("PAL.PCX", PcxFile(128, 128, 7, RampPalette(80)));
        folder->write("ONE.PCX", PcxFile(128, 128, 1, RampPalette(10)));
        folder->write("TWO.PCX", PcxFile(128, 128, 2, RampPalette(10)));
        folder->write("NEW.PCX", PcxFile(128, 128, 3, RampPalette(40)));
        folder->write("NEWPAL.PCX", PcxFile(128, 128, 4, RampPalette(160)));
        folder->write("bank.def", BankText);
        FreshDocumentState(errors, messages, scripted);
        chosenFile.clear();
        chosenPictures.clear();
        importChoice = ImportChoice{file("IMPORT"), true};
        std::filesystem::create_directory(folder->path() / "IMPORT");
        Hooks().chooseOpenFile = [this](const FileDialogRequest&) { return chosenFile; };
        Hooks().chooseSaveFile = [this](const FileDialogRequest&) { return chosenFile; };
        Hooks().chooseOpenFiles = [this](const FileDialogRequest&) { return chosenPictures; };
        ImportChoiceHook() = [this](const ImportChoice&) { return importChoice; };
    }

    void cleanup()
    {
        Hooks() = {};
        ImportChoiceHook() = nullptr;
        folder.reset();
    }

    // Every kind of edit in a row, then undone one by one and redone; after each step the bank
    // file holds the text worked out by hand, and what shows is what showed then. The palette
    // slot changes while TWO.PCX cannot be read: slot 2 keeps its name without a picture, is
    // cleared, and the clearing undone gives it back as it was.
    void aChainOfEditsIsUndoneStepByStep()
    {
        const auto images = [](const std::string& lines) { return "#images\r\n" + lines + "#textures\r\n"; };
        const struct {
            const char* undoText;
            std::function<void(TMainForm&)> edit;
            std::string text;
        } steps[] = {
            {"Load image", [this](TMainForm& f) { PointAtSlot(f, 5); chosenFile = file("NEW.PCX"); f.LoadImage1->trigger(); },
             images("0=PAL.PCX\r\n1=ONE.PCX\r\n2=TWO.PCX\r\n5=NEW.PCX\r\n") + "0=1-2\r\n"},
            {"Load image", [this](TMainForm& f) { PointAtSlot(f, 1); chosenFile = file("NEW.PCX"); f.LoadImage1->trigger(); },
             images("0=PAL.PCX\r\n1=NEW.PCX\r\n2=TWO.PCX\r\n5=NEW.PCX\r\n") + "0=1-2\r\n"},
            {"Define first image", [](TMainForm& f) { f.TextureIndex->setValue(4); PointAtSlot(f, 2); f.Defineasfirsttextureimage1->trigger(); },
             images("0=PAL.PCX\r\n1=NEW.PCX\r\n2=TWO.PCX\r\n5=NEW.PCX\r\n") + "0=1-2\r\n4=2--1\r\n"},
            {"Define last image", [](TMainForm& f) { PointAtSlot(f, 5); f.Defineaslasttextureimage1->trigger(); },
             images("0=PAL.PCX\r\n1=NEW.PCX\r\n2=TWO.PCX\r\n5=NEW.PCX\r\n") + "0=1-2\r\n4=2-5\r\n"},
            {"New palette image", [this](TMainForm& f) {
                 std::filesystem::rename(folder->path() / "TWO.PCX", folder->path() / "TWO.OLD");
                 PointAtSlot(f, 0); chosenFile = file("NEWPAL.PCX"); f.LoadImage1->trigger();
                 std::filesystem::rename(folder->path() / "TWO.OLD", folder->path() / "TWO.PCX"); },
             images("0=NEWPAL.PCX\r\n1=NEW.PCX\r\n2=TWO.PCX\r\n5=NEW.PCX\r\n") + "0=1-2\r\n4=2-5\r\n"},
            {"Clear image", [](TMainForm& f) { PointAtSlot(f, 2); f.Clearimage1->trigger(); },
             images("0=NEWPAL.PCX\r\n1=NEW.PCX\r\n5=NEW.PCX\r\n") + "0=1-2\r\n4=2-5\r\n"},
            {"Clear texture", [](TMainForm& f) { f.TextureIndex->setValue(0); f.ClearTextureButton->click(); },
             images("0=NEWPAL.PCX\r\n1=NEW.PCX\r\n5=NEW.PCX\r\n") + "4=2-5\r\n"},
            {"Clear image", [](TMainForm& f) { PointAtSlot(f, 0); f.Clearimage1->trigger(); },
             images("1=NEW.PCX\r\n5=NEW.PCX\r\n") + "4=2-5\r\n"},
            {"Import images", [this](TMainForm& f) {
                 writeImage(folder->path() / "photo.png", gradient(300, 200));
                 chosenPictures = {file("photo.png")};
                 PointAtSlot(f, 1);
                 f.ImportImages1->trigger(); },
             images("1=NEW.PCX\r\n2=IMPORT\\PHOTO.PCX\r\n5=NEW.PCX\r\n") + "2=2-2\r\n4=2-5\r\n"},
            {"Make texture", [](TMainForm& f) { ClickSlot(f, 5); ClickSlot(f, 1, true); f.MakeTexture1->trigger(); },
             images("1=NEW.PCX\r\n2=IMPORT\\PHOTO.PCX\r\n5=NEW.PCX\r\n") + "0=1-5\r\n2=2-2\r\n4=2-5\r\n"},
            {"Delete texture", [](TMainForm& f) { f.TextureList->setCurrentIndex(f.TextureListRows->index(1)); f.DeleteTexture1->trigger(); },
             images("1=NEW.PCX\r\n2=IMPORT\\PHOTO.PCX\r\n5=NEW.PCX\r\n") + "0=1-5\r\n4=2-5\r\n"},
        };
        const auto form = openBank();
        std::vector<Seen> seen{Seen(*form)};
        std::vector<std::string> texts{BankText};
        for (const auto& step : steps) {
            step.edit(*form);
            QCOMPARE(form->document->History().UndoAction()->text(), QString("&Undo ") + step.undoText);
            QVERIFY(form->isWindowModified());
            QVERIFY(form->SaveDocument());
            QCOMPARE(folder->read("bank.def"), step.text);
            seen.emplace_back(*form);
            texts.push_back(step.text);
        }
        QCOMPARE(errors.size(), 1); // the palette slot's change could not read TWO.PCX again
        QVERIFY2(errors[0].contains("TWO.PCX"), qPrintable(errors[0]));
        QVERIFY(form->Bank.bankPalette == RampPalette(160));
        QVERIFY(!seen[5].pixels[2].size() && seen[5].names[2] == "TWO.PCX");
        for (std::size_t done = std::size(steps); done-- > 0;) {
            undo(*form);
            QVERIFY2(Seen(*form) == seen[done], qPrintable(QString("undone to step %1").arg(done)));
            QVERIFY(form->SaveDocument());
            QCOMPARE(folder->read("bank.def"), texts[done]);
        }
        QVERIFY(form->Bank.bankPalette == RampPalette(80));
        for (std::size_t done = 1; done <= std::size(steps); ++done) {
            redo(*form);
            QVERIFY(form->SaveDocument());
            QCOMPARE(folder->read("bank.def"), texts[done]);
        }
        QVERIFY(Seen(*form) == seen.back());
        QVERIFY(messages.isEmpty());
    }

    // Seeded chains over every kind of edit: after each step the bank file holds what a model of
    // the names and runs gives; undoing all and redoing all passes every step's text again.
    void randomChainsGiveEveryStepBack()
    {
        for (unsigned seed : {1u, 2u, 3u}) {
            folder->write("bank.def", BankText);
            const std::string importFolder = "IMPORT" + std::to_string(seed);
            std::filesystem::create_directory(folder->path() / importFolder);
            importChoice->folder = file(importFolder);
            writeImage(folder->path() / "photo.png", gradient(64, 64));
            chosenPictures = {file("photo.png")};
            const auto form = openBank();
            std::map<int, std::string> names{{0, "PAL.PCX"}, {1, "ONE.PCX"}, {2, "TWO.PCX"}};
            std::map<int, std::pair<int, int>> runs{{0, {1, 2}}};
            const auto text = [&] {
                std::string out = "#images\r\n";
                for (const auto& [slot, name] : names)
                    out += std::to_string(slot) + "=" + name + "\r\n";
                out += "#textures\r\n";
                for (const auto& [texture, run] : runs)
                    if (run.first != -1)
                        out += std::to_string(texture) + "=" + std::to_string(run.first) + "-" + std::to_string(run.second) + "\r\n";
                return out;
            };
            std::vector<std::string> texts{text()};
            std::mt19937 random(seed);
            const int slots[] = {0, 1, 2, 5};
            int imports = 0;
            while (texts.size() <= 30) {
                const int slot = slots[random() % 4], texture = random() % 2 ? 4 : 0;
                std::pair<int, int>& run = runs.try_emplace(texture, -1, -1).first->second;
                switch (random() % 6) {
                case 0: // an image, for the palette slot a palette image
                    chosenFile = file(slot == 0 ? (random() % 2 ? "NEWPAL.PCX" : "PAL.PCX") : random() % 2 ? "NEW.PCX" : "ONE.PCX");
                    names[slot] = QFileInfo(chosenFile).fileName().toStdString();
                    PointAtSlot(*form, slot);
                    form->LoadImage1->trigger();
                    break;
                case 1:
                    if (!names.erase(slot))
                        continue; // an empty slot: nothing to clear
                    PointAtSlot(*form, slot);
                    form->Clearimage1->trigger();
                    break;
                case 2:
                case 3: {
                    const bool first = random() % 2;
                    if ((first ? run.first : run.second) == slot)
                        continue;
                    (first ? run.first : run.second) = slot;
                    form->TextureIndex->setValue(texture);
                    PointAtSlot(*form, slot);
                    (first ? form->Defineasfirsttextureimage1 : form->Defineaslasttextureimage1)->trigger();
                    break;
                }
                case 4:
                    if (run == std::pair{-1, -1})
                        continue;
                    run = {-1, -1};
                    form->TextureIndex->setValue(texture);
                    form->ClearTextureButton->click();
                    break;
                default: { // the picture goes into the first free slot from the cursor's on
                    if (slot == 0)
                        continue; // a palette of its own: out of the model's reach
                    int into = slot;
                    while (names.contains(into))
                        ++into;
                    std::string& name = names[into] = importFolder + "\\PHOTO"; // then _2, _3 ...
                    if (imports++)
                        name.append(1, '_').append(std::to_string(imports));
                    name += ".PCX";
                    const auto taken = [&](int t) { return runs.contains(t) && runs[t].first != -1; };
                    int own = into; // its own texture when free, else the first free one
                    for (int t = 0; taken(own); ++t)
                        own = t;
                    runs[own] = {into, into};
                    PointAtSlot(*form, slot);
                    form->ImportImages1->trigger();
                }
                }
                texts.push_back(text());
                QCOMPARE(form->document->History().Stack()->count(), static_cast<int>(texts.size()) - 1);
                QVERIFY(form->SaveDocument());
                QCOMPARE(folder->read("bank.def"), texts.back());
            }
            for (std::size_t done = texts.size() - 1; done-- > 0;) {
                undo(*form);
                QVERIFY(form->SaveDocument());
                QCOMPARE(folder->read("bank.def"), texts[done]);
            }
            for (std::size_t done = 1; done < texts.size(); ++done) {
                redo(*form);
                QVERIFY(form->SaveDocument());
                QCOMPARE(folder->read("bank.def"), texts[done]);
            }
            QVERIFY(errors.isEmpty() && messages.isEmpty());
        }
    }

    // Save stays at hand with nothing to save; the rest only when there is something to do.
    void itemsAreEnabledOnlyWhenTheyHaveSomethingToDo()
    {
        const auto form = MakePigmentaForm();
        const auto enabled = [&] { return EnabledItems(*form->document, form->Savepigmenta1); };
        QCOMPARE(enabled(), "save");
        PointAtSlot(*form, 5);
        chosenFile = file("NEW.PCX");
        form->LoadImage1->trigger();
        QCOMPARE(enabled(), "undo save");
        undo(*form);
        QCOMPARE(enabled(), "redo save");
        form->document->OpenFiles({file("bank.def")});
        QCOMPARE(enabled(), "recent save");
    }

    void anEditUndoneToTheSavedStateIsNotUnsaved()
    {
        const auto form = openBank();
        QCOMPARE(form->windowTitle(), "Texture bank definition - bank.def[*]");
        PointAtSlot(*form, 1);
        form->Clearimage1->trigger();
        QVERIFY(form->isWindowModified());
        undo(*form);
        QVERIFY(!form->isWindowModified());
        QCOMPARE(form->document->Recent().Files(), QStringList{file("bank.def")});
    }

    void theQuestionsBeforeWorkIsLost()
    {
        const struct {
            SaveChoice answer;
            bool kept; // the bank and its unsaved edit are still there
            std::string onDisk;
        } answers[] = {{SaveChoice::Cancel, true, BankText},
                       {SaveChoice::Discard, false, BankText},
                       {SaveChoice::Save, false, "#images\r\n0=PAL.PCX\r\n2=TWO.PCX\r\n#textures\r\n0=1-2\r\n"}};
        for (const auto& a : answers) {
            for (const char* way : {"load", "new", "close"}) {
                folder->write("bank.def", BankText);
                const auto form = openBank();
                form->show();
                PointAtSlot(*form, 1);
                form->Clearimage1->trigger();
                scripted.asked.clear();
                scripted.saveAnswers = {a.answer};
                chosenFile = file("other.def");
                folder->write("other.def", "#images\r\n9=NEW.PCX\r\n#textures\r\n");
                if (way == std::string("load"))
                    form->Loadpigmenta1->trigger();
                else if (way == std::string("new"))
                    form->Newbank1->trigger();
                else
                    form->close();
                QCOMPARE(scripted.asked, QStringList{"Save the changes to bank.def?"});
                QCOMPARE(form->Bank.slots[2].name == "TWO.PCX", a.kept || way == std::string("close"));
                if (a.kept)
                    QVERIFY(form->isWindowModified() && form->isVisible());
                if (!a.kept && way == std::string("load"))
                    QCOMPARE(form->Bank.slots[9].name, std::string("NEW.PCX"));
                QCOMPARE(folder->read("bank.def"), a.onDisk);
            }
        }
    }

    void unsavedWorkIsRecoveredAfterACrash()
    {
        std::filesystem::create_directory(folder->path() / "elsewhere");
        {
            const auto crashed = openBank();
            PointAtSlot(*crashed, 5);
            chosenFile = file("NEW.PCX");
            crashed->LoadImage1->trigger();
            crashed->document->Recovery().SaveCopy(); // the timer's handler
        } // gone without a clean exit

        std::filesystem::current_path(folder->path() / "elsewhere");
        const auto next = MakePigmentaForm();
        scripted.recoveryAnswers = {RecoveryChoice::Recover};
        next->document->Start(PigmentaUsage(), {});
        QCOMPARE(scripted.asked.size(), 1);
        // The images are found in the bank's folder, not the folder the program started in.
        QCOMPARE(next->Bank.slots[5].name, std::string("NEW.PCX"));
        QVERIFY(next->Bank.slots[5].image && next->Bank.slots[1].image);
        QVERIFY(next->Bank.bankPalette == RampPalette(80));
        QVERIFY(next->isWindowModified());
        QCOMPARE(next->windowTitle(), "Texture bank definition - bank.def[*]");
        QCOMPARE(folder->read("bank.def"), BankText); // not saved behind the user's back
        QVERIFY(next->SaveDocument());
        QCOMPARE(folder->read("bank.def"),
                 std::string("#images\r\n0=PAL.PCX\r\n1=ONE.PCX\r\n2=TWO.PCX\r\n5=NEW.PCX\r\n#textures\r\n0=1-2\r\n"));
        QVERIFY(QDir(AutoRecovery::Folder()).entryList(QDir::Files).isEmpty());
        QVERIFY(errors.isEmpty());
    }

    void theCommandLineAndADropOpenABankInItsGameFolder()
    {
        folder->write("game/Ormel2.ini", "");
        folder->write("game/TEX/ONE.PCX", PcxFile(128, 128, 1, RampPalette(10)));
        folder->write("game/BANKS/b.def", "#images\r\n1=TEX\\ONE.PCX\r\n#textures\r\n");
        for (const char* way : {"command line", "drop"}) {
            std::filesystem::current_path(folder->path());
            errors.clear();
            const auto form = MakePigmentaForm();
            if (way == std::string("command line")) {
                form->document->Start(PigmentaUsage(), {file("game/BANKS/b.def"), "notes.txt"});
                QCOMPARE(errors, QStringList{"notes.txt is not opened: this program opens [BANK.def]."});
            } else {
                QMimeData data;
                data.setUrls({QUrl::fromLocalFile(file("game/BANKS/b.def"))});
                QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QCoreApplication::sendEvent(form.get(), &enter);
                QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QCoreApplication::sendEvent(form.get(), &drop);
                QVERIFY(errors.isEmpty());
            }
            QVERIFY2(QDir::currentPath() == file("game"), way);
            QVERIFY(form->Bank.slots[1].image);
            QCOMPARE(form->windowTitle(), "Texture bank definition - b.def[*]");
        }
    }

    void aBankThatCannotBeOpenedLeavesTheGameFolderOfTheOneShown()
    {
        folder->write("game/Ormel2.ini", "");
        std::filesystem::create_directories(folder->path() / "game/BANKS/folder.def");
        const auto form = openBank();
        for (const char* bank : {"game/BANKS/none.def", "game/BANKS/folder.def"}) {
            form->document->OpenFiles({file(bank)});
            QCOMPARE(QDir::currentPath(), QString::fromStdString(folder->path().string()));
            QCOMPARE(form->Bank.slots[2].name, std::string("TWO.PCX"));
        }
        PointAtSlot(*form, 7);
        chosenFile = file("NEW.PCX");
        form->LoadImage1->trigger(); // still inside the game folder of the bank shown
        QCOMPARE(form->Bank.slots[7].name, std::string("NEW.PCX"));
    }

    void aPcxDroppedOnASlotLoadsThere()
    {
        const auto form = openBank();
        form->show();
        const QPoint at = SlotPoint(*form, 6);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file("NEW.PCX"))});
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form->centralWidget(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form->centralWidget(), &drop);
        QCOMPARE(form->Bank.slots[6].name, std::string("NEW.PCX"));
        undo(*form);
        QVERIFY(form->Bank.slots[6].name.empty());

        // A bank is not a slot's: the window opens it, as a new history.
        folder->write("other.def", "#images\r\n9=NEW.PCX\r\n#textures\r\n");
        data.setUrls({QUrl::fromLocalFile(file("other.def"))});
        QDragEnterEvent bankEnter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form->centralWidget(), &bankEnter);
        QVERIFY(bankEnter.isAccepted());
        QDropEvent bank(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form->centralWidget(), &bank);
        QCOMPARE(form->Bank.slots[9].name, std::string("NEW.PCX"));
        QCOMPARE(form->document->History().Stack()->count(), 0);
    }

    // Good pictures fill the free slots from the cursor's on, each its own still texture; the
    // refused and broken ones are named together at the end.
    void importImagesFillsFreeSlotsAndNamesThePicturesRefused()
    {
        writeImage(folder->path() / "photo.jpg", gradient(1024, 600));
        writeImage(folder->path() / "clear.png", gradient(200, 200, true));
        writeImage(folder->path() / "anim.webp", gradient(64, 64));
        writeImage(folder->path() / "my wall.png", gradient(64, 64));
        const std::string png = folder->read("clear.png");
        folder->write("broken.png", png.substr(0, png.size() / 3));
        folder->write("text.jpg", "not a picture at all");
        chosenPictures = {file("photo.jpg"), file("my wall.png"), file("clear.png"), file("broken.png"),
                          file("anim.webp"), file("text.jpg")};
        const auto form = openBank();
        PointAtSlot(*form, 1);
        form->ImportImages1->trigger();

        const struct {
            int slot;
            std::string name;
        } filled[] = {{3, "IMPORT\\PHOTO.PCX"}, {4, "IMPORT\\CLEAR.PCX"}, {5, "IMPORT\\ANIM.PCX"}};
        for (const auto& f : filled) {
            QCOMPARE(form->Bank.slots[f.slot].name, f.name);
            QVERIFY(form->Bank.slots[f.slot].image);
            QVERIFY(form->Bank.textures[f.slot] == (AnimTexture{f.slot, f.slot, f.slot}));
            QVERIFY(folder->exists(std::string("IMPORT/") + f.name.substr(7)));
        }
        QVERIFY(form->Bank.slots[6].name.empty());
        // The see-through half of the picture is colour 0, the rest never is.
        QCOMPARE(pixelsOf(*form, 4)[0], std::uint8_t(0));
        QVERIFY(pixelsOf(*form, 4)[127] != 0);
        QCOMPARE(messages.size(), 1);
        const QStringList lines = messages[0].split('\n');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[1], file("my wall.png") + ": its name has a blank (rename it, for example my_wall.png)");
        QVERIFY(lines[2].contains("broken.png"));
        QVERIFY(lines[3].contains("text.jpg"));
        QCOMPARE(QSettings().value("Import/TextureFolder").toString(), file("IMPORT"));

        // One command: one undo takes it all back.
        undo(*form);
        for (int slot : {3, 4, 5})
            QVERIFY(form->Bank.slots[slot].name.empty() && form->Bank.textures[slot] == EditorBank::Undefined);
        QVERIFY(!form->isWindowModified());
    }

    void aNewBankGetsOnePaletteMadeFromAllThePictures()
    {
        writeImage(folder->path() / "sky.png", gradient(256, 256));
        writeImage(folder->path() / "sea.png", gradient(128, 300));
        chosenPictures = {file("sky.png"), file("sea.png")};
        importChoice->stillTextures = false;
        const auto form = MakePigmentaForm();
        PointAtSlot(*form, 0);
        form->ImportImages1->trigger();
        QCOMPARE(form->Bank.slots[0].name, std::string("IMPORT\\PALETTE.PCX"));
        QCOMPARE(form->Bank.slots[1].name, std::string("IMPORT\\SKY.PCX"));
        QCOMPARE(form->Bank.slots[2].name, std::string("IMPORT\\SEA.PCX"));
        QVERIFY(form->Bank.textures[1] == EditorBank::Undefined);
        // The palette written into slot 0's file is the bank's, and the pictures use it.
        EditorBank reread;
        folder->write("check.def",
                      "#images\r\n0=IMPORT\\PALETTE.PCX\r\n1=IMPORT\\SKY.PCX\r\n2=IMPORT\\SEA.PCX\r\n#textures\r\n");
        LoadEditorBank("check.def", reread);
        QVERIFY(reread.bankPalette == form->Bank.bankPalette);
        QVERIFY(pixelsOf(*form, 1) == std::vector<std::uint8_t>(reread.slots[1].image->pixels.begin(),
                                                                 reread.slots[1].image->pixels.begin() + TexturePixels));
        QVERIFY(messages.isEmpty() && errors.isEmpty());

        // Undo takes the written files away, so that they do not ship with the game; redo brings
        // them back.
        form->document->History().Stack()->undo();
        QVERIFY(!folder->exists("IMPORT/SKY.PCX") && !folder->exists("IMPORT/PALETTE.PCX"));
        QVERIFY(form->Bank.slots[1].name.empty());
        form->document->History().Stack()->redo();
        QVERIFY(folder->exists("IMPORT/SKY.PCX") && folder->exists("IMPORT/PALETTE.PCX"));
        QCOMPARE(form->Bank.slots[1].name, std::string("IMPORT\\SKY.PCX"));
    }

    void aTexturesFolderOutsideTheGameIsRefused()
    {
        writeImage(folder->path() / "sky.png", gradient(64, 64));
        chosenPictures = {file("sky.png")};
        importChoice->folder = QDir::tempPath();
        const auto form = openBank();
        form->ImportImages1->trigger();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith("The textures' folder must lie inside the game folder"));
        QVERIFY(!form->isWindowModified());
    }
};

int main(int argc, char** argv)
{
    const UserFolders userFolders;
    OrmelApplication application(argc, argv, "Pigmenta document test", "Pigmenta");
    PigmentaDocumentTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PigmentaDocumentTest.moc"
