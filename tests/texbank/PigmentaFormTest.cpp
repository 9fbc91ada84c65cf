// The texture bank editor through its form, offscreen, in a fresh folder per test.
#include "Dialogs.h"
#include "EditorDocument.h"
#include "FreshDocumentState.h"
#include "ImportImagesDialog.h"
#include "LocalisationUnit.h"
#include "OrmelApplication.h"
#include "PigmentaFormSupport.h"
#include "ProgramUsages.h"
#include "SafeWrite.h"
#include "ScriptedQuestions.h"
#include "Shell.h"
#include "SlotGrid.h"
#include "TempFolder.h"
#include "TextureListModel.h"
#include "TexturePcx.h"
#include "UpDownControl.h"
#include "UserFolders.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLayout>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>

#include <memory>

#include <time.h>

namespace {

// Entry i reads "Entry i"; entry 2, the caption prefix, ends with a no-break space.
std::string testDictionary()
{
    std::string text = "[Config]\nLanguage=Test\n[Test]\n";
    for (int i = 0; i <= 37; ++i)
        text += std::to_string(i) + "=Entry " + std::to_string(i) + (i == 2 ? "\xA0" : "") + "\n"; // Windows-1252
    return text;
}

QString entryText(int i) { return QString("Entry %1").arg(i); }

std::vector<std::uint8_t> slotPixels(const TMainForm& form, int slot)
{
    const auto& image = *form.Bank.slots[slot].image;
    return {image.pixels.begin(), image.pixels.begin() + TexturePixels};
}

QRgb paletteColour(const PalettePlanes& palette, int c) { return qRgb(palette.red[c], palette.green[c], palette.blue[c]); }

bool failEveryWrite(const std::filesystem::path&) { return true; }

} // namespace

class PigmentaFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempFolder> folder;
    QStringList messages;
    QStringList errors;
    QStringList opened;
    QStringList questions;
    QString chosenFile;
    bool answer = true;
    ScriptedQuestions scripted;

    std::unique_ptr<TMainForm> makeForm() { return MakePigmentaForm(); }

    // Puts the mouse over `slot` (scrolling it into sight) and loads `name` there through F2.
    void loadInto(TMainForm& form, int slot, const std::string& name)
    {
        pointAt(form, slot);
        chosenFile = QString::fromStdString((folder->path() / name).string());
        form.LoadImage1->trigger();
    }

    void pointAt(TMainForm& form, int slot) { QVERIFY(PointAtSlot(form, slot)); }

private Q_SLOTS:
    void init()
    {
        folder = std::make_unique<TempFolder>();
        folder->write("Pigmenta.dic", testDictionary());
        opened.clear();
        questions.clear();
        chosenFile.clear();
        answer = true;
        FreshDocumentState(errors, messages, scripted);
        LanguageName.clear();
        DictionaryTable.fill("");
        Hooks().askYesNo = [](const QString&, const QString&) { return true; };
        Hooks().askOkCancel = [this](const QString& caption, const QString& text) {
            questions << caption + ": " + text;
            return answer;
        };
        Hooks().chooseOpenFile = [this](const FileDialogRequest&) { return chosenFile; };
        Hooks().chooseSaveFile = [this](const FileDialogRequest&) { return chosenFile; };
        Shell().openDocument = [this](const QString& path) {
            opened << QFileInfo(path).fileName();
            return true;
        };
    }
    void cleanup()
    {
        SetWriteFaultHook(nullptr);
        Hooks() = {};
        ImportChoiceHook() = nullptr;
        folder.reset();
    }

    void windowControlsAndTexts()
    {
        const auto form = std::make_unique<TMainForm>();
        QCOMPARE(form->pos(), QPoint(192, 107));
        const struct {
            QString text;
            int entry;
        } texts[] = {{form->File1->title(), 6},
                     {form->Savepigmenta1->text(), 9},  {form->Defineaslasttextureimage1->text(), 14},
                     {form->Label7->text(), 19},        {form->ColorLabel->text(), 20},
                     {form->ClearTextureButton->text(), 21}, {form->OpenBankDialog.title, 23},
                     {form->SaveBankDialog.title, 24},  {form->OpenPCXDialog.title, 25},
                     {form->Help1->text(), 26}};
        for (const auto& t : texts)
            QCOMPARE(t.text, entryText(t.entry));
        QCOMPARE(form->windowTitle(), entryText(22) + " - Untitled[*]");
        // The slot commands' keys work on the window, not only in the open menu.
        QVERIFY(form->actions().contains(form->LoadImage1));
        QCOMPARE(form->LoadImage1->shortcut(), QKeySequence("F2"));
        QCOMPARE(form->Loadpigmenta1->shortcuts(), (QList<QKeySequence>{QKeySequence("Ctrl+L"), QKeySequence("Ctrl+O")}));

        form->Help1->trigger();
        folder->write("Pigmenta_Test.html", "");
        form->Help1->trigger();
        QCOMPARE(opened, QStringList{"Pigmenta_Test.html"});
    }

    void slotUnderTheMouse()
    {
        const auto form = makeForm();
        QCOMPARE(form->ViewPanel->geometry(), QRect(21, 104, 549, 329));
        QCOMPARE(form->UpDown->geometry(), QRect(0, 104, 20, 329));
        QCOMPARE(form->Columns(), 8);
        QCOMPARE(form->ViewImage.width, 548);
        QCOMPARE(form->ViewImage.height, 328);

        QCOMPARE(form->Layout, (GridLayout{64, 2, 14, 8})); // cells of 68 x 82

        form->FormMouseMove(21 + 5, 104 + 82 + 5); // second row's first cell
        QCOMPARE(form->CursorImage, 8);
        QCOMPARE(form->ImageIndexLabel->text(), QString("8"));
        form->FormMouseMove(5, 300); // over the up-down control: not the grid
        QCOMPARE(form->CursorImage, 8);
        form->FormMouseMove(21 + 549, 104 + 329); // the view's far corner is still inside
        QCOMPARE(form->CursorImage, 8 * 4 + 7);

        form->UpDown->SetPosition(form->UpDown->Max());
        form->FormMouseMove(21 + 300, 104 + 3 * 82 + 10); // the last row's empty cells
        QCOMPARE(form->CursorImage, 512);
        form->FormMouseMove(21 + 5, 104 + 3 * 82 + 10);
        QCOMPARE(form->CursorImage, 512);

        // "(color palette file)" shows over slot 0 only, whose frame changes colour at every repaint.
        form->Paint();
        QVERIFY(!form->ColorLabel->isVisibleTo(form.get()));
        form->UpDown->SetPosition(0);
        form->FormMouseMove(21 + 10, 104 + 20);
        QCOMPARE(form->CursorImage, 0);
        QSet<QRgb> colours;
        for (int i = 0; i < 20; ++i)
            colours.insert(form->centralWidget()->grab().toImage().pixel(21 + 1, 104 + 14 + 1));
        QVERIFY(form->ColorLabel->isVisibleTo(form.get()));
        QVERIFY(colours.size() > 1);
    }

    void rowScrollerFollowsTheColumns()
    {
        const auto form = makeForm();
        const struct {
            int viewWidth;
            int thumbnail, columns;
        } sizes[] = {{549, 64, 8}, {279, 64, 4}, {1379, 128, 10}, {70, 64, 1}};
        for (const auto& size : sizes) {
            form->centralWidget()->resize(21 + size.viewWidth + TMainForm::TextureColumnWidth + 1, 434);
            form->FormResize();
            QCOMPARE(form->Layout.thumbnail, size.thumbnail);
            QCOMPARE(form->Columns(), size.columns);
            QCOMPARE(form->UpDown->Max(), TopRowMaximum(form->Layout, 328));
            // The last slot can always be reached.
            form->UpDown->SetPosition(form->UpDown->Max());
            const CellPlace last = CellCorner(LastSlot, form->Layout, form->UpDown->Position());
            form->FormMouseMove(21 + last.x + 5, 104 + last.y + 5);
            QCOMPARE(form->CursorImage, LastSlot);
        }
        form->UpDown->SetPosition(3);
        form->UpDown->Step(1); // the upper arrow shows the row above
        QCOMPARE(form->UpDown->Position(), 2);
    }

    void imageOutsideTheStartFolderIsRefused()
    {
        const auto form = makeForm();
        // A sibling folder whose name starts with the start folder's.
        const std::string outside = folder->path().string() + "-other";
        folder->write("A.PCX", PcxFile(128, 128, 1, RampPalette(10)));
        std::filesystem::create_directory(outside);
        std::filesystem::copy_file(folder->path() / "A.PCX", outside + "/A.PCX");
        pointAt(*form, 3);
        chosenFile = QString::fromStdString(outside + "/A.PCX");
        form->LoadImage1->trigger();
        std::filesystem::remove_all(outside);
        QCOMPARE(messages, QStringList{entryText(3)});
        QVERIFY(form->Bank.slots[3].name.empty());
        QVERIFY(!form->Bank.slots[3].image);

        chosenFile.clear(); // cancelled: nothing at all
        form->LoadImage1->trigger();
        QCOMPARE(messages.size(), 1);
    }

    void imageOfAnotherSizeKeepsTheSlot()
    {
        const auto form = makeForm();
        folder->write("textures/GOOD.PCX", PcxFile(128, 128, 1, RampPalette(10)));
        folder->write("SMALL.PCX", PcxFile(64, 64, 1, RampPalette(10)));
        loadInto(*form, 3, "textures/GOOD.PCX");
        QCOMPARE(form->Bank.slots[3].name, std::string("textures\\GOOD.PCX"));
        QCOMPARE(form->ImageFileNameLabel->text(), QString("textures\\GOOD.PCX"));
        const std::vector<std::uint8_t> before = slotPixels(*form, 3);
        loadInto(*form, 3, "SMALL.PCX");
        QCOMPARE(messages, QStringList{entryText(5)});
        QCOMPARE(form->Bank.slots[3].name, std::string("textures\\GOOD.PCX"));
        QVERIFY(slotPixels(*form, 3) == before);

        loadInto(*form, 4, "SMALL.PCX"); // an empty slot stays empty
        QVERIFY(form->Bank.slots[4].name.empty());
        QVERIFY(!form->Bank.slots[4].image);
        QVERIFY(errors.isEmpty());
    }

    void aNewPaletteSlotRemapsTheOthers()
    {
        const auto form = makeForm();
        folder->write("ONE.PCX", PcxFile(128, 128, 1, RampPalette(10)));
        folder->write("PAL.PCX", PcxFile(128, 128, 7, RampPalette(80)));
        loadInto(*form, 20, "ONE.PCX");
        const std::vector<std::uint8_t> onBlack = slotPixels(*form, 20);
        loadInto(*form, 0, "PAL.PCX");
        QVERIFY(form->Bank.bankPalette == RampPalette(80));
        QVERIFY(slotPixels(*form, 20) != onBlack);
        QCOMPARE(form->ViewImage.colourTable[200].red, std::uint8_t(200));
        QCOMPARE(form->PreviewImage.colourTable[200].green, std::uint8_t(80));
        QVERIFY(messages.isEmpty() && errors.isEmpty());

        form->Clearimage1->trigger(); // F3 on slot 0
        QVERIFY(form->Bank.slots[0].name.empty() && !form->Bank.slots[0].image);
        QVERIFY(form->Bank.bankPalette == RampPalette(80)); // the palette stays
    }

    void theWindowShowsThumbnailsAndThePreviewFirstRowOnTop()
    {
        const auto form = makeForm();
        folder->write("PAL.PCX", PcxFile(128, 128, 7, RampPalette(80)));
        loadInto(*form, 0, "PAL.PCX");
        form->Bank.textures[0] = {0, 0, 0};
        form->FormMouseMove(21 + 300, 104 + 300); // the cursor frame away from slot 0
        form->Repaint();
        const QImage shot = form->centralWidget()->grab().toImage();
        QVERIFY(form->PreviewShown);
        const PalettePlanes palette = RampPalette(80);
        const auto imageColour = [&](int x, int y) { return paletteColour(palette, (x + 3 * y + 7) % 256); };
        // Below the band strip, away from the slot's number (top left) and its palette mark (bottom left).
        for (const QPoint& uv : {QPoint(63, 0), QPoint(30, 20), QPoint(0, 25), QPoint(63, 63)})
            QCOMPARE(shot.pixel(21 + 2 + uv.x(), 104 + 14 + 2 + uv.y()), imageColour(2 * uv.x(), 2 * uv.y()));
        // The preview spreads 128 x 128 over 102 x 103: its corners are the image's corners.
        QCOMPARE(shot.pixel(470, 0), imageColour(0, 0));
        QCOMPARE(shot.pixel(470, 102), imageColour(0, 127));
        QCOMPARE(shot.pixel(571, 102), imageColour(127, 127));
    }

    void aTextureRunningDownPreviewsItsImagesInTurn()
    {
        const auto form = makeForm();
        for (int slot : {2, 3, 4}) {
            const std::string name = QString("T%1.PCX").arg(slot).toStdString();
            folder->write(name, PcxFile(128, 128, slot * 10, RampPalette(10)));
            loadInto(*form, slot, name);
        }
        form->TextureIndex->setValue(7);
        pointAt(*form, 4);
        form->Defineasfirsttextureimage1->trigger();
        pointAt(*form, 2);
        form->Defineaslasttextureimage1->trigger();
        QCOMPARE(form->ChosenTexture().current, -1); // defining does not reset it

        QList<int> shown;
        for (int tick = 0; tick < 4; ++tick) {
            form->TextureAnimationTimerTimer();
            form->Paint();
            const int current = form->ChosenTexture().current;
            shown << current;
            QVERIFY(form->PreviewShown);
            QVERIFY(std::equal(form->PreviewImage.pixels.begin(), form->PreviewImage.pixels.begin() + TexturePixels,
                               form->Bank.slots[current].image->pixels.begin()));
        }
        QCOMPARE(shown, (QList<int>{4, 3, 2, 4}));
        QCOMPARE(form->TextureIndexLabel->text(), QString("7"));
        QCOMPARE(form->FirstTextureImageLabel->text(), QString("4"));
        QCOMPARE(form->LastTextureImageLabel->text(), QString("2"));

        form->TextureIndex->setValue(8);
        form->TextureIndex->setValue(7); // choosing it again starts at its first image
        QCOMPARE(form->ChosenTexture().current, 4);
        form->ClearTextureButton->click();
        QVERIFY(form->ChosenTexture() == EditorBank::Undefined);
        form->Paint();
        QVERIFY(!form->PreviewShown);
    }

    void newThenSaveWritesOnlyTheHeaders()
    {
        const auto form = makeForm();
        folder->write("A.PCX", PcxFile(128, 128, 1, RampPalette(10)));
        loadInto(*form, 5, "A.PCX");
        form->ChosenTexture() = {5, 5, 5};
        // Unsaved work: Save / Discard / Cancel instead of the plain question; Cancel keeps it.
        form->Newbank1->trigger();
        QCOMPARE(scripted.asked, QStringList{"Save the changes to Untitled?"});
        QVERIFY(questions.isEmpty());
        QCOMPARE(form->Bank.slots[5].name, std::string("A.PCX"));
        scripted.saveAnswers = {SaveChoice::Discard};
        form->Newbank1->trigger();
        QVERIFY(form->Bank.slots[5].name.empty() && !form->Bank.slots[5].image);
        QVERIFY(form->ChosenTexture() == EditorBank::Undefined);
        QVERIFY(!form->isWindowModified());
        answer = false; // nothing unsaved: the plain question, whose Cancel keeps the bank
        form->Bank.textures[1] = {5, 5, 5};
        form->Newbank1->trigger();
        QCOMPARE(questions, QStringList{entryText(1) + ": " + entryText(0)});
        QVERIFY(form->Bank.textures[1] == (AnimTexture{5, 5, 5}));
        form->Bank.textures[1] = EditorBank::Undefined;

        folder->write("walls.POT", "stale tables");
        chosenFile = QString::fromStdString((folder->path() / "walls.def").string());
        form->Savepigmenta1->trigger();
        QCOMPARE(QString::fromStdString(folder->read("walls.def")), QString("#images\r\n#textures\r\n"));
        QVERIFY(!folder->exists("walls.POT"));
        QCOMPARE(form->windowTitle(), entryText(22) + " - walls.def[*]");
        QCOMPARE(form->OpenBankDialog.fileName, chosenFile);
        QVERIFY(errors.isEmpty());
    }

    void aFailedSaveIsReportedAndKeepsTheOldFile()
    {
        const auto form = makeForm();
        folder->write("walls.def", "#images\r\n0=OLD.PCX\r\n#textures\r\n");
        chosenFile = QString::fromStdString((folder->path() / "walls.def").string());
        SetWriteFaultHook(failEveryWrite);
        form->Savepigmenta1->trigger();
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains("walls.def"));
        QCOMPARE(folder->read("walls.def"), std::string("#images\r\n0=OLD.PCX\r\n#textures\r\n"));
        QCOMPARE(form->windowTitle(), entryText(22) + " - Untitled[*]");
        QVERIFY(form->OpenBankDialog.fileName.isEmpty());
    }

    void loadingABankNamesItsMissingImagesAndKeepsThem()
    {
        const auto form = makeForm();
        folder->write("PAL.PCX", PcxFile(128, 128, 7, RampPalette(80)));
        folder->write("ONE.PCX", PcxFile(128, 128, 1, RampPalette(10)));
        folder->write("bank.def", "#images\r\n0=pal.pcx\r\n1=one.pcx\r\n2=lost.pcx\r\n#textures\r\n3=1-2\r\n");
        chosenFile = QString::fromStdString((folder->path() / "bank.def").string());
        form->Loadpigmenta1->trigger();
        QCOMPARE(errors, QStringList{entryText(30) + "\nLOST.PCX"});
        QVERIFY(form->Bank.bankPalette == RampPalette(80));
        QCOMPARE(form->Bank.slots[2].name, std::string("LOST.PCX"));
        QVERIFY(form->Bank.textures[3] == (AnimTexture{1, 2, 1}));
        QCOMPARE(form->windowTitle(), entryText(22) + " - bank.def[*]");
        QCOMPARE(form->SaveBankDialog.fileName, chosenFile);
        QCOMPARE(form->ViewImage.colourTable[9].red, std::uint8_t(9));

        // Saved again, the missing image's entry is still there.
        form->Savepigmenta1->trigger();
        QCOMPARE(folder->read("bank.def"),
                 std::string("#images\r\n0=PAL.PCX\r\n1=ONE.PCX\r\n2=LOST.PCX\r\n#textures\r\n3=1-2\r\n"));
    }

    void linesItCannotShowAreToldOnceAndSavedBack()
    {
        const auto form = makeForm();
        folder->write("PAL.PCX", PcxFile(128, 128, 7, RampPalette(80)));
        const std::string text = "#images\r\n0=PAL.PCX\r\n600=FAR.PCX\r\n40000=FARTHER.PCX\r\njunk\r\n#textures\r\n"
                                 "0=0-0\r\n9000=600-600\r\n";
        folder->write("bank.def", text);
        chosenFile = QString::fromStdString((folder->path() / "bank.def").string());
        form->Loadpigmenta1->trigger();
        QCOMPARE(errors, QStringList{entryText(33) + "\n600=FAR.PCX\n40000=FARTHER.PCX\njunk\n9000=600-600"});
        form->Savepigmenta1->trigger();
        QCOMPARE(errors.size(), 1); // told once, not at every save
        QCOMPARE(folder->read("bank.def"), text);
    }

    void imageNamesABankCannotKeepAreRefused()
    {
        const auto form = makeForm();
        folder->write("my wall.pcx", PcxFile(128, 128, 1, RampPalette(10)));
        folder->write(std::string(250, 'a'), PcxFile(128, 128, 1, RampPalette(10)));
        folder->write("\xe2\x88\x9e.pcx", PcxFile(128, 128, 1, RampPalette(10)));
        loadInto(*form, 5, "my wall.pcx");
        loadInto(*form, 5, std::string(250, 'a'));
        loadInto(*form, 5, "\xe2\x88\x9e.pcx");
        QCOMPARE(messages, (QStringList{entryText(34) + "\nmy wall.pcx", entryText(35) + "\n" + QString(250, 'a'),
                                        entryText(36) + " \u221e\n\u221e.pcx"}));
        QVERIFY(form->Bank.slots[5].name.empty() && !form->Bank.slots[5].image);
    }

    void aBankWithImagesButNoTextureSaysSo()
    {
        const auto form = makeForm();
        form->show();
        folder->write("A.PCX", PcxFile(128, 128, 1, RampPalette(10)));
        form->TextureAnimationTimerTimer();
        QVERIFY(!form->NoTextureHint->isVisible()); // an empty bank
        loadInto(*form, 5, "A.PCX");
        form->TextureAnimationTimerTimer();
        QVERIFY(form->NoTextureHint->isVisible());
        QCOMPARE(form->NoTextureHint->text(), entryText(37));
        form->TextureIndex->setValue(9);
        form->Defineasfirsttextureimage1->trigger(); // F4 alone is a texture already
        form->TextureAnimationTimerTimer();
        QVERIFY(!form->NoTextureHint->isVisible());
    }

    void aMissingBankFileChangesNothing()
    {
        const auto form = makeForm();
        folder->write("A.PCX", PcxFile(128, 128, 1, RampPalette(10)));
        loadInto(*form, 5, "A.PCX");
        chosenFile = QString::fromStdString((folder->path() / "none.def").string());
        scripted.saveAnswers = {SaveChoice::Discard};
        form->Loadpigmenta1->trigger();
        QCOMPARE(messages, QStringList{entryText(4)});
        QVERIFY(form->isWindowModified()); // the work stays, still unsaved
        QCOMPARE(form->Bank.slots[5].name, std::string("A.PCX"));
        QCOMPARE(form->windowTitle(), entryText(22) + " - Untitled[*]");
    }

    // A run selected and made a texture, and a still one, save the bytes that F4 and F5 give.
    void makeTextureSavesWhatF4AndF5Save()
    {
        const auto form = makeForm();
        const std::string names[] = {"PAL.PCX", "ONE.PCX", "W0.PCX", "W1.PCX", "W2.PCX", "W3.PCX"};
        for (int slot = 0; slot < 6; ++slot)
            folder->write(names[slot], PcxFile(128, 128, slot + 1, RampPalette(10 * slot)));
        const auto fill = [&] {
            for (int slot = 0; slot < 6; ++slot)
                loadInto(*form, slot, names[slot]);
        };
        const auto save = [&](const std::string& bank) {
            chosenFile = QString::fromStdString((folder->path() / bank).string());
            form->Savepigmenta1->trigger();
            return folder->read(bank);
        };
        fill();
        ClickSlot(*form, 5);
        ClickSlot(*form, 2, true); // a run chosen from its end
        QCOMPARE(form->Selection, (SlotSpan{2, 5}));
        const int steps = form->document->History().Stack()->count();
        form->MakeTexture1->trigger();
        QCOMPARE(form->document->History().Stack()->count(), steps + 1);
        QCOMPARE(form->TextureIndex->value(), 0); // the new texture is the chosen one, playing
        ClickSlot(*form, 1);
        form->MakeTextureButton->click();
        const std::string made = save("made.def");

        scripted.saveAnswers = {SaveChoice::Discard};
        form->Newbank1->trigger();
        fill();
        const struct {
            int texture, first, last;
        } defined[] = {{0, 2, 5}, {1, 1, 1}};
        for (const auto& d : defined) {
            form->TextureIndex->setValue(d.texture);
            pointAt(*form, d.first);
            form->Defineasfirsttextureimage1->trigger();
            pointAt(*form, d.last);
            form->Defineaslasttextureimage1->trigger();
        }
        QCOMPARE(save("keys.def"), made);
        QCOMPARE(made, std::string("#images\r\n0=PAL.PCX\r\n1=ONE.PCX\r\n2=W0.PCX\r\n3=W1.PCX\r\n4=W2.PCX\r\n5=W3.PCX\r\n"
                                   "#textures\r\n0=2-5\r\n1=1-1\r\n"));
        QVERIFY(errors.isEmpty() && messages.isEmpty());
    }

    // The list plays the bank's textures; a click chooses one and scrolls its run into sight;
    // Delete removes it, its images staying.
    void theTextureListChoosesAndDeletes()
    {
        const auto form = makeForm();
        folder->write("A.PCX", PcxFile(128, 128, 1, RampPalette(10)));
        loadInto(*form, 300, "A.PCX");
        ClickSlot(*form, 300);
        ClickSlot(*form, 302, true);
        form->MakeTexture1->trigger();
        ClickSlot(*form, 7);
        form->MakeTexture1->trigger();
        QCOMPARE(form->TextureListRows->rowCount(), 2);
        QCOMPARE(form->TextureListRows->data(form->TextureListRows->index(0), Qt::DisplayRole).toString(),
                 QString("0: slots 300 to 302"));
        QCOMPARE(form->TextureListRows->data(form->TextureListRows->index(1), Qt::DisplayRole).toString(),
                 QString("1: slot 7"));

        form->UpDown->SetPosition(0);
        const QModelIndex first = form->TextureListRows->index(0);
        QTest::mouseClick(form->TextureList->viewport(), Qt::LeftButton, {},
                          form->TextureList->visualRect(first).center());
        QCOMPARE(form->TextureIndex->value(), 0);
        QCOMPARE(form->UpDown->Position(), 300 / 8); // slot 300's row on top
        QCOMPARE(form->TextureList->currentIndex().row(), 0);

        form->DeleteTexture1->trigger();
        QVERIFY(form->Bank.textures[0] == EditorBank::Undefined);
        QCOMPARE(form->Bank.slots[300].name, std::string("A.PCX"));
        QCOMPARE(form->TextureListRows->rowCount(), 1);
        form->document->History().UndoAction()->trigger();
        QVERIFY(form->Bank.textures[0] == (AnimTexture{300, 302, 300}));
        QCOMPARE(form->TextureListRows->rowCount(), 2);
    }

    // Idle, the window neither draws nor ticks: the animation timer runs only while an animated
    // texture shows (the chosen one, or one in sight in the list) and the window is shown.
    void theAnimationTimerRunsOnlyWhileAnimationShows()
    {
        const auto form = makeForm();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QVERIFY(!form->TextureAnimationTimer->isActive());
        form->ChosenTexture() = {3, 3, 3};
        form->Bank.textures[1] = {4, 4, 4};
        form->TextureIndexChange();
        QVERIFY(!form->TextureAnimationTimer->isActive()); // still textures only
        form->TextureIndex->setValue(2);
        form->Defineasfirsttextureimage1->trigger();
        pointAt(*form, 6);
        form->Defineaslasttextureimage1->trigger();
        QVERIFY(form->TextureAnimationTimer->isActive()); // 2 plays: chosen, and in the list
        form->TextureIndex->setValue(1);
        QVERIFY(form->TextureAnimationTimer->isActive()); // still in sight in the list
        form->hide();
        QVERIFY(!form->TextureAnimationTimer->isActive());
        form->show();
        form->document->History().UndoAction()->trigger(); // 2 runs from 2 down to -1: still plays
        QVERIFY(form->TextureAnimationTimer->isActive());
        form->document->History().UndoAction()->trigger();
        QVERIFY(!form->TextureAnimationTimer->isActive());
    }

    // The grid says which slot gives what: slots 0 and 1 by a mark and a tooltip, an empty slot
    // how to fill it, an empty bank how to start.
    void slotsSayWhatTheyGiveAndHowToFillThem()
    {
        const auto form = makeForm();
        const QString tips[] = {form->SlotTip(SlotPoint(*form, 0)), form->SlotTip(SlotPoint(*form, 1)),
                                form->SlotTip(SlotPoint(*form, 7))};
        QVERIFY(tips[0].startsWith("Slot 0 gives the bank its palette"));
        QVERIFY(tips[1].startsWith("Slot 1 gives the colour grid"));
        QVERIFY(tips[2].startsWith("Slot 7 is empty. Fill it: right-click, Load Image (F2)"));
        QVERIFY(form->SlotTip(QPoint(5, 5)).isEmpty()); // not over the grid
        const QImage empty = form->centralWidget()->grab().toImage();
        folder->write("A.PCX", PcxFile(128, 128, 1, RampPalette(10)));
        loadInto(*form, 7, "A.PCX");
        form->Bank.textures[2] = {7, 7, 7};
        QCOMPARE(form->SlotTip(SlotPoint(*form, 7)), QString("Slot 7: A.PCX\nIn textures: 2"));
        // The hint over the empty grid's middle goes with the first image.
        const QPoint middle = form->ViewPanel->geometry().center();
        QVERIFY(form->centralWidget()->grab().toImage().pixel(middle) != empty.pixel(middle));
    }

    // A full bank at 1920 x 1080 redraws (thumbnails, marks and window) at little more than the
    // cost of the empty window: the thumbnails are copied by rows, not scaled or set pixel by pixel
    // anew. Both are timed in the same run, so a slow or busy machine slows both alike (here the
    // full redraw takes about 6 ms of processor time, within a 60 Hz frame).
    void aFullGridRedrawsAtLittleMoreThanTheEmptyWindow()
    {
        const auto form = makeForm();
        form->resize(1920, 1080); // the window, which lays out its client
        form->layout()->activate();
        form->FormResize();
        // The processor time of this thread, which other programs running meanwhile do not lengthen.
        const auto threadMicroseconds = [] {
            timespec now{};
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
            return static_cast<qint64>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
        };
        const auto medianRedraw = [&] {
            QList<qint64> times;
            for (int i = 0; i < 9; ++i) {
                const qint64 start = threadMicroseconds();
                form->Repaint();
                const QImage shot = form->centralWidget()->grab().toImage();
                times << threadMicroseconds() - start;
            }
            std::sort(times.begin(), times.end());
            return times[4];
        };
        const qint64 empty = medianRedraw();
        for (int slot = 0; slot <= LastSlot; ++slot) {
            BankImageSlot& held = form->Bank.slots[static_cast<std::size_t>(slot)];
            held.name = "IMAGE.PCX";
            held.image = std::make_unique<DisplayImage>();
            CreateImage(*held.image, 128, 128);
            std::fill(held.image->pixels.begin(), held.image->pixels.end(), static_cast<std::uint8_t>(slot));
        }
        for (int texture = 0; texture < 128; ++texture)
            form->Bank.textures[static_cast<std::size_t>(texture)] = {4 * texture, 4 * texture + 3, 4 * texture};
        form->Bank.bankPalette = RampPalette(0);
        form->FormResize();
        form->Selection = SlotSpan{20, 60};
        const qint64 full = medianRedraw();
        qInfo("%d columns of %d-pixel thumbnails at 1920 x 1080: median redraw %lld us of processor time, "
              "empty window %lld us",
              form->Layout.columns, form->Layout.thumbnail, full, empty);
        QVERIFY2(full < 4 * empty + 2000, "the thumbnails cost several times the window");
    }

    // The import's folder field takes a typed folder, relative to the game folder or whole, and
    // keeps the dialog open, saying why, until the folder exists inside the game folder.
    void theImportFolderCanBeTyped()
    {
        const auto form = makeForm();
        std::filesystem::create_directories(folder->path() / "TEXTURES" / "NEW");
        const QString game = QString::fromStdString(folder->path().string());
        const ImportFolderCheck check{game, [](const QString& chosen) {
                                          return QFileInfo(chosen).isDir() ? QString() : "missing " + chosen;
                                      }};
        const struct {
            QString typed;
            bool accepted;
            QString folder;
        } cases[] = {{"TEXTURES/NEW", true, game + "/TEXTURES/NEW"},
                     {"TEXTURES\\NEW\\..", true, game + "/TEXTURES"},
                     {game + "/TEXTURES ", true, game + "/TEXTURES"},
                     {"NOPE", false, game + "/NOPE"}};
        for (const auto& c : cases) {
            messages.clear();
            ImportImagesDialog dialog(form.get(), {game, true}, {}, check, {});
            dialog.findChild<QLineEdit*>("ImportFolder")->setText(c.typed);
            dialog.accept();
            QVERIFY2((dialog.result() == QDialog::Accepted) == c.accepted, qPrintable(messages.join("; ") + " " + dialog.Choice().folder));
            QCOMPARE(dialog.Choice().folder, c.folder);
            QCOMPARE(messages.isEmpty(), c.accepted);
        }
    }

    void loadsKeepTheCurrentFolder()
    {
        const auto form = makeForm();
        folder->write("A.PCX", PcxFile(128, 128, 1, RampPalette(10)));
        std::filesystem::create_directory(folder->path() / "elsewhere");
        std::filesystem::current_path(folder->path() / "elsewhere");
        loadInto(*form, 1, "A.PCX"); // found through the start folder
        QCOMPARE(form->Bank.slots[1].name, std::string("A.PCX"));
        QCOMPARE(std::filesystem::current_path(), folder->path() / "elsewhere");
    }
};

int main(int argc, char** argv)
{
    const UserFolders userFolders;
    OrmelApplication application(argc, argv, "Pigmenta form test", "Pigmenta");
    PigmentaFormTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "PigmentaFormTest.moc"
