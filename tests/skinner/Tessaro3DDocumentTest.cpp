// The skinning editor's document comforts through its window: every change undone and redone to
// the byte, the question before work is lost, recovery after a crash, the command line, drops, and
// the model import through a stand-in k3x.
#include "CommandLineFolder.h"
#include "EditorDocument.h"
#include "EnabledItems.h"
#include "MaterialsDialog.h"
#include "OrmelApplication.h"
#include "ProgramUsages.h"
#include "Tessaro3DFormSupport.h"
#include "UndoHistory.h"
#include "UserFolders.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTest>
#include <QUndoStack>
#include <QUrl>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

// Eight points at distinct places; faces 0, 2 and 3 plain, face 1 a virtual face 30 x 20 at point 1.
Object3D skinnedSquares()
{
    Object3D object = twoSquares();
    for (int p = 0; p < 8; ++p)
        object.x[p] += 3 * p + 1, object.y[p] -= 5 * p + 2, object.z[p] += 7 * p + 3;
    object.x[7] = object.x[4], object.y[7] = object.y[4], object.z[7] = object.z[4];
    object.faces[1] = Face{1, 30, 20, 1};
    object.faces[1].faceType = FaceVirtual;
    object.faces[2].transparency = 10;
    return object;
}

// A stand-in for k3x in the current folder, where the editor looks for it first: it writes its
// arguments to args.txt, then does `body` ($3 is the object it is to write).
// A stand-in for k3x in the folder of the suite's programs (the project folder is never one):
// it notes its arguments in the project folder, then runs `body`.
void writeImporter(const TempFolder& folder, const std::string& body)
{
    const auto file = folder.write("programs/k3x", "#!/bin/sh\nprintf '%s\\n' \"$@\" > args.txt\n" + body + "\n");
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);
    Shell().suiteFolders = {folder.path() / "programs"};
}

QUndoStack* stack(TForm1& form) { return form.document->History().Stack(); }

} // namespace

class Tessaro3DDocumentTest : public QObject, FormFixture {
    Q_OBJECT

private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    // Save stays at hand with nothing to save; the rest only when there is something to do.
    void itemsAreEnabledOnlyWhenTheyHaveSomethingToDo()
    {
        const auto form = makeForm();
        const auto enabled = [&] { return EnabledItems(*form->document, form->SaveObjet3D); };
        QCOMPARE(enabled(), "save");
        loadObject(*form, skinnedSquares());
        QCOMPARE(enabled(), "recent save");
        form->Inverserlesnormales1->trigger();
        QCOMPARE(enabled(), "recent undo save");
        form->document->History().UndoAction()->trigger();
        QCOMPARE(enabled(), "recent redo save");
    }

    // Each change is one step named as its item or button is; undone, the object saves to the
    // bytes it was loaded from, and redone, to the bytes of the change.
    void everyChangeIsOneStepUndoneAndRedoneToTheByte()
    {
        const struct {
            const char* name; // what the Edit menu calls the step
            std::function<void(TForm1&, FormFixture&)> change;
        } changes[] = {
            {"Entry 27", [](TForm1& f, FormFixture&) { f.currentTexture = 7, f.TextValid->click(); }},
            {"Entry 28", [](TForm1& f, FormFixture&) { f.currentColour = 44, f.CoulValid->click(); }},
            {"Entry 118", [](TForm1& f, FormFixture&) { f.TypeFaceItems->button(FaceTextured)->click(); }},
            {"Entry 29", [](TForm1& f, FormFixture&) { f.Retourne->click(); }},
            {"Entry 30", [](TForm1& f, FormFixture&) { f.Flip->click(); }},
            {"Entry 38", [](TForm1& f, FormFixture&) { f.DoubleFace->click(); }},
            {"Entry 119", [](TForm1& f, FormFixture&) { f.Transparence->setValue(30), f.Transparence->setValue(35); }},
            {"Entry 120", [](TForm1& f, FormFixture&) { f.FaceBar->setValue(1), f.Lx->selectAll(), QTest::keyClicks(f.Lx, "45"); }},
            {"Entry 121", [](TForm1& f, FormFixture&) { f.FaceBar->setValue(1), f.Ly->selectAll(), QTest::keyClicks(f.Ly, "7"); }},
            {"Entry 9", [](TForm1& f, FormFixture&) { f.currentColour = 44, f.Colorie->trigger(); }},
            {"Entry 10", [](TForm1& f, FormFixture&) { f.currentTexture = 7, f.TextureTout->trigger(); }},
            {"Entry 11", [](TForm1& f, FormFixture&) {
                 const QSignalBlocker levelOnly(f.Transparence); // moving the bar is a step of its own
                 f.Transparence->setValue(30);
                 f.MettretoutenTransparent1->trigger();
             }},
            {"Entry 13", [](TForm1& f, FormFixture&) { f.currentColour = 44, f.Remplacerlacouleur1->trigger(); }},
            {"Entry 14", [](TForm1& f, FormFixture&) { f.Supprimerlespointsdoubles1->trigger(); }},
            {"Entry 15", [](TForm1& f, FormFixture&) { f.dblfac2->trigger(); }},
            {"Entry 16", [](TForm1& f, FormFixture&) { f.FaceBar->setValue(1), f.dblface1->trigger(); }},
            {"Entry 17", [](TForm1& f, FormFixture&) { f.Inverserlesnormales1->trigger(); }},
            {"Entry 18 X", [](TForm1& f, FormFixture&) { f.X1->trigger(); }},
            {"Entry 18 Y", [](TForm1& f, FormFixture&) { f.Y1->trigger(); }},
            {"Entry 18 Z", [](TForm1& f, FormFixture&) { f.Z1->trigger(); }},
            {"Entry 19 90° Z", [](TForm1& f, FormFixture&) { f.N90Z1->trigger(); }},
            {"Entry 19 90° X", [](TForm1& f, FormFixture&) { f.N90X1->trigger(); }},
            {"Entry 19 90° Y", [](TForm1& f, FormFixture&) { f.N90Y1->trigger(); }},
            {"Entry 12", [](TForm1& f, FormFixture& t) {
                 Object3D other = skinnedSquares();
                 other.faces[3].texture = 99;
                 SaveObject("other.3do", other);
                 t.choose("other.3do");
                 f.ReprendreHabillage->trigger();
             }},
        };
        for (const auto& c : changes) {
            const auto form = makeForm();
            loadObject(*form, skinnedSquares());
            const std::string original = folder->read("object.3do");
            const std::int32_t height = form->objectHeight;
            c.change(*form, *this);
            errors.clear(); // the skin's take-over reports what it took
            QVERIFY2(form->isWindowModified(), c.name);
            QVERIFY2(stack(*form)->count() == 1, c.name);
            QCOMPARE(form->document->History().UndoAction()->text(), "Entry 83: " + QString(c.name));
            const std::string changed = saveAs(*form, "changed.3do");
            QVERIFY2(changed != original, c.name);

            form->document->History().UndoAction()->trigger();
            QVERIFY2(saveAs(*form, "undone.3do") == original, c.name);
            QCOMPARE(form->objectHeight, height);
            form->document->History().RedoAction()->trigger();
            QVERIFY2(saveAs(*form, "redone.3do") == changed, c.name);
            QVERIFY(errors.isEmpty());
        }
    }

    void anUndoShowsTheFaceItChangedAndAStepNeverSpansTwoFaces()
    {
        const auto form = makeForm();
        loadObject(*form, skinnedSquares());
        form->FaceBar->setValue(2);
        form->Transparence->setValue(40);
        form->FaceBar->setValue(3);
        form->Transparence->setValue(50); // the same bar on another face: a step of its own
        QCOMPARE(stack(*form)->count(), 2);
        form->FaceBar->setValue(0);
        form->document->History().UndoAction()->trigger();
        QCOMPARE(form->currentFace, 3);
        QCOMPARE(form->Transparence->value(), 0);
        form->document->History().UndoAction()->trigger();
        QCOMPARE(form->currentFace, 2);
        QCOMPARE(form->object.faces[2].transparency, std::uint16_t{10});
        QVERIFY(!form->isWindowModified()); // back to the state loaded
        // Showing a face whose transparency the bar cannot show changes nothing.
        Object3D odd = skinnedSquares();
        odd.faces[0].transparency = 150;
        loadObject(*form, odd);
        form->FaceBar->setValue(1);
        form->FaceBar->setValue(0);
        QCOMPARE(form->object.faces[0].transparency, std::uint16_t{150});
        QVERIFY(!form->isWindowModified());
    }

    // The figures of the note: undo and redo of a whole-object tool on the largest object.
    void aToolOnTheLargestObjectUndoesAndRedoesQuickly()
    {
        Object3D large;
        AllocateObject(large, 2, 65535);
        for (std::size_t i = 0; i < large.faceCount(); ++i)
            large.faces[i] = plainFace(0, 1, 2, static_cast<std::uint16_t>(i % 200));
        const auto form = makeForm();
        loadObject(*form, large);
        form->currentColour = 201;
        form->Colorie->trigger();
        QCOMPARE(form->object.faces[65535].texture, std::uint16_t{201});
        QElapsedTimer clock;
        clock.start();
        form->document->History().UndoAction()->trigger();
        const qint64 undo = clock.nsecsElapsed() / 1000;
        clock.restart();
        form->document->History().RedoAction()->trigger();
        const qint64 redo = clock.nsecsElapsed() / 1000;
        qInfo("Make all coloured on 65,536 faces: undo %lld us, redo %lld us, one step holds %zu bytes", undo, redo,
              large.faceCount() * sizeof(Face));
        QCOMPARE(form->object.faces[65535].texture, std::uint16_t{201});
        QVERIFY(undo < 50000 && redo < 50000);
        form->document->History().UndoAction()->trigger();
        QCOMPARE(form->object.faces[65535].texture, std::uint16_t{65535 % 200});
    }

    // Quit, closing the window, New, Load object, Load DXF and Import model over unsaved work ask
    // first: Cancel changes nothing, Discard goes on, Save saves then goes on.
    void theQuestionBeforeUnsavedWorkIsLost_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<SaveChoice>("answer");
        for (const char* way : {"quit", "close", "new", "load", "dxf", "model"}) {
            QTest::addRow("%s, cancel", way) << way << SaveChoice::Cancel;
            QTest::addRow("%s, discard", way) << way << SaveChoice::Discard;
            QTest::addRow("%s, save", way) << way << SaveChoice::Save;
        }
    }

    void theQuestionBeforeUnsavedWorkIsLost()
    {
        QFETCH(QString, way);
        QFETCH(SaveChoice, answer);
        folder->write("mesh.dxf", "0\nSECTION\n0\n3DFACE\n10\n0\n20\n0\n30\n0\n11\n10\n21\n0\n31\n0\n"
                                  "12\n10\n22\n0\n32\n10\n13\n10\n23\n0\n33\n10\n0\nEOF\n");
        SaveObject("model.3do", twoSquares());
        writeImporter(*folder, "cp model.3do \"$3\"");
        SaveObject("other.3do", twoSquares());
        const auto form = makeForm();
        form->show();
        loadObject(*form, skinnedSquares());
        const std::string original = folder->read("object.3do");
        form->currentColour = 44;
        form->CoulValid->click();
        const Object3D edited = form->object;
        saveAnswers = {answer};
        QString next = pathOf(way == "load" ? "other.3do" : way == "dxf" ? "mesh.dxf" : "Model.obj");
        // The file dialog comes first; a Save then asks where, offering the object's own name.
        Hooks().chooseOpenFile = [&next](const FileDialogRequest&) { return next; };
        Hooks().chooseSaveFile = [this](const FileDialogRequest& request) { return request.fileName; };
        if (way == "quit")
            form->Quitter1->trigger();
        else if (way == "close")
            form->close();
        else if (way == "new")
            form->NewObject->trigger();
        else if (way == "load")
            form->LoadObjet3D->trigger();
        else if (way == "dxf")
            form->LoadDXFObjet->trigger();
        else
            form->ImportModel->trigger();
        QCOMPARE(asked, QStringList{"Entry 86: object.3do"});
        const bool goesOn = answer != SaveChoice::Cancel;
        if (way == "quit" || way == "close") {
            QCOMPARE(form->isVisible(), !goesOn);
        } else {
            QCOMPARE(sameObject(form->object, edited), !goesOn);
            QCOMPARE(form->isWindowModified(), !goesOn || way == "dxf" || way == "model"); // imports are unsaved
        }
        const auto bytes = EncodeObject(edited);
        QCOMPARE(folder->read("object.3do") == std::string(bytes.begin(), bytes.end()), answer == SaveChoice::Save);
        if (answer != SaveChoice::Save)
            QCOMPARE(folder->read("object.3do"), original);
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join("; ")));
    }

    void aSaveThatFailsKeepsTheWorkAndTheWindow()
    {
        const auto form = makeForm();
        form->show();
        loadObject(*form, skinnedSquares());
        form->Flip->click();
        saveAnswers = {SaveChoice::Save};
        SetWriteFaultHook([](const std::filesystem::path&) { return true; });
        form->close();
        QVERIFY(form->isVisible());
        QVERIFY(form->isWindowModified());
        QCOMPARE(errors.size(), 1);
        QCOMPARE(form->object.faces[0].p1, std::uint16_t{1});
    }

    void workIsRecoveredAfterACrash()
    {
        auto crashed = makeForm();
        loadObject(*crashed, skinnedSquares());
        const std::string original = folder->read("object.3do");
        crashed->currentColour = 77;
        crashed->Colorie->trigger();
        const auto edited = EncodeObject(crashed->object);
        crashed->document->Recovery().SaveCopy(); // the timer's handler, two minutes later
        crashed.reset();                          // gone without a clean exit

        requests.clear();
        recoveryAnswers = {RecoveryChoice::Recover};
        const auto next = makeForm();
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked[0].startsWith("Entry 90: " + pathOf("object.3do")), qPrintable(asked[0]));
        QCOMPARE(EncodeObject(next->object), edited);
        QVERIFY(next->isWindowModified());
        QCOMPARE(next->windowTitle(), entryText(0) + " - object.3do[*]");
        QCOMPARE(folder->read("object.3do"), original); // not saved behind the user's back
        QCOMPARE(requests.size(), 1);                   // then the bank question, as at every start
        // Saved, nothing is left to recover.
        Hooks().chooseSaveFile = [](const FileDialogRequest& request) { return request.fileName; };
        next->SaveObjet3D->trigger();
        QCOMPARE(folder->read("object.3do"), std::string(edited.begin(), edited.end()));
        QVERIFY(QDir(AutoRecovery::Folder()).entryList(QDir::Files).isEmpty());
    }

    // Tessaro3D [BANK.def] [OBJECT.3do|MODEL]: a bank there skips the bank question; files
    // opened from elsewhere make their game project folder current and enter the recent files.
    void theCommandLineOpensABankAndAnObject()
    {
        folder->write("game/Ormel2.ini", "");
        writeBank(*folder);
        for (const char* name : {"IMG0.PCX", "IMG1.PCX", "bank.def", "bank.POT"})
            std::filesystem::rename(folder->path() / name, folder->path() / "game" / name);
        std::filesystem::create_directories(folder->path() / "game/objects");
        SaveObject("game/objects/house.3do", skinnedSquares());
        folder->write("game/Tessaro3D.dic", testDictionary());
        std::filesystem::create_directories(folder->path() / "elsewhere");
        QDir::setCurrent(pathOf("elsewhere"));

        // As main() does: the project folder entered before the window reads its dictionary.
        const QStringList arguments =
            EnterProjectOfCommandLine(Tessaro3DUsage(), {"../game/objects/house.3do", "../game/bank.def", "notes.txt"});
        QCOMPARE(QDir::currentPath(), pathOf("game"));
        const auto form = makeForm(arguments);
        QVERIFY(requests.isEmpty()); // no bank question
        QCOMPARE(form->context->bank.lastTexture, 1);
        QCOMPARE(form->object.lastFace, std::uint16_t{3});
        QCOMPARE(form->windowTitle(), entryText(0) + " - house.3do[*]");
        QCOMPARE(QDir::currentPath(), pathOf("game"));
        QCOMPARE(QString::fromStdString(form->startFolder), pathOf("game"));
        QCOMPARE(errors, QStringList{"Entry 95: " + pathOf("elsewhere/notes.txt") + " [BANK.def] [OBJECT.3do|MODEL]"});
        QCOMPARE(form->document->Recent().Files(), QStringList{pathOf("game/objects/house.3do")});
    }

    void filesDroppedOnTheWindowOpenByTheirKind()
    {
        writeBank(*folder);
        SaveObject("house.3do", skinnedSquares());
        const auto form = makeForm();
        form->show();
        const auto drop = [&form](const QStringList& files) {
            QMimeData data;
            QList<QUrl> urls;
            for (const QString& file : files)
                urls << QUrl::fromLocalFile(file);
            data.setUrls(urls);
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(form.get(), &enter);
            QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(form.get(), &dropped);
            return enter.isAccepted() && dropped.isAccepted();
        };
        QVERIFY(drop({pathOf("bank.def"), pathOf("house.3do")}));
        QCOMPARE(form->context->bank.lastTexture, 1);
        QCOMPARE(form->windowTitle(), entryText(0) + " - house.3do[*]");
        QVERIFY(errors.isEmpty());
        QVERIFY(drop({pathOf("picture.png")}));
        QCOMPARE(errors.size(), 1);
        QCOMPARE(form->windowTitle(), entryText(0) + " - house.3do[*]");
    }

    // File, Import model runs k3x import-mesh on the model into a scratch object, with the loaded
    // bank; whatever goes wrong there leaves the editor and its object as they were.
    void importingAModelThroughTheImporter_data()
    {
        QTest::addColumn<QString>("importer");
        QTest::addColumn<QString>("message");
        QTest::newRow("crashes") << "kill -SEGV $$" << "Entry 114: " + QString("%1");
        QTest::newRow("hangs") << "exec sleep 30" << "Entry 115: %1 0.3";
        QTest::newRow("refuses") << "echo 'k3x import-mesh: Model.obj: an index out of range' >&2; exit 1"
                                 << "Entry 116: Model.obj: an index out of range";
        QTest::newRow("writes nothing") << "exit 0" << "Entry 116: %1";
        QTest::newRow("is missing, one in the project folder never runs") << "" << "Entry 117: ";
    }

    void importingAModelThroughTheImporter()
    {
        QFETCH(QString, importer);
        QFETCH(QString, message);
        if (!importer.isEmpty())
            writeImporter(*folder, importer.toStdString());
        else // planted by whoever handed the project over
            std::filesystem::permissions(folder->write("k3x", "#!/bin/sh\ntouch planted-ran\n"), std::filesystem::perms::owner_all);
        const auto form = makeForm();
        form->importTimeLimit = 300;
        loadObject(*form, skinnedSquares());
        form->Flip->click();
        const Object3D before = form->object;
        saveAnswers = {SaveChoice::Discard};
        choose("Model.obj");
        QElapsedTimer clock;
        clock.start();
        form->ImportModel->trigger();
        QVERIFY(clock.elapsed() < 10000);
        QCOMPARE(errors.size(), 1);
        const QString expected = message.contains("%1") ? message.arg(pathOf("Model.obj")) : message;
        QVERIFY2(errors[0].startsWith(expected), qPrintable(errors[0]));
        QVERIFY(sameObject(form->object, before));
        QCOMPARE(form->windowTitle(), entryText(0) + " - object.3do[*]");
        QCOMPARE(stack(*form)->count(), 1); // the work and its history as they were
        QVERIFY(!folder->exists("planted-ran"));
    }

    void anImportedModelIsANewUnsavedObjectShownWhole()
    {
        Object3D tower = writeTowerImporter();
        // It tells what the model's two materials became: stone its flat colour 5, bricks (whose
        // picture the bank lacks) its flat colour 7; the table gives bricks texture 1.
        writeImporter(*folder, "cp made.3do \"$3\"\n"
                               "printf 'material\\tstone\\tC0C0C0\\t-\\t1\\t-\\t5\\n"
                               "material\\tbricks\\tFFFFFF\\tbricks.png\\t1\\t-\\t7\\nfaces 0 1\\n' > \"$5\"");
        std::vector<std::string> offered;
        MaterialsHook() = [&offered](const ModelMaterials& list) {
            for (const ModelMaterial& m : list.materials)
                offered.push_back(m.name + " " + m.textureFile);
            return std::optional<MaterialsAnswer>(MaterialsAnswer{{std::nullopt, 1}, false});
        };
        const auto form = makeForm();
        loadBank(*form);
        choose("IMPORT/Tower.obj");
        form->ImportModel->trigger();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join("; ")));
        QCOMPARE(requests.last().title, entryText(112));
        QVERIFY(requests.last().filter.startsWith(entryText(113) + " (*.obj *.OBJ *.stl"));
        const QStringList arguments = QString::fromStdString(folder->read("args.txt")).split('\n', Qt::SkipEmptyParts);
        MaterialsHook() = nullptr;
        QCOMPARE(arguments.size(), 7);
        QCOMPARE(arguments[0], QString("import-mesh"));
        QCOMPARE(arguments[1], pathOf("IMPORT/Tower.obj"));
        QCOMPARE(arguments[3], QString("--materials"));
        QCOMPARE(arguments.mid(5), (QStringList{"--bank", pathOf("bank.def")}));
        QCOMPARE(offered, (std::vector<std::string>{"stone ", "bricks bricks.png"}));
        tower.faces[0].texture = 5;
        tower.faces[1].faceType = FaceTextured;
        tower.faces[1].texture = 1;
        QVERIFY(sameObject(form->object, tower));
        QCOMPARE(form->windowTitle(), entryText(0) + " - Tower.3do[*]");
        QVERIFY(form->isWindowModified());
        QCOMPARE(stack(*form)->count(), 0); // a new history; the import is not a step
        // The view takes in the whole object: its middle at eye height, far enough away.
        QCOMPARE(form->objectHeight, 0); // the height bar stays; the view moves
        QCOMPARE(form->panY, -500);
        form->paint();
        QCOMPARE(form->context->triangleCount, 1); // both triangles drawn (the count is the last index)
        // Top and bottom within the view, nine tenths of it apart.
        const RenderTriangle& drawn = form->context->triangles[0];
        const int top = std::min({drawn.sy1, drawn.sy2, drawn.sy3}), bottom = std::max({drawn.sy1, drawn.sy2, drawn.sy3});
        QVERIFY(top >= 0 && bottom <= form->context->maxY);
        QVERIFY(bottom - top >= form->context->maxY * 85 / 100);
        chosenFile.clear();
        form->SaveObjet3D->trigger();
        QCOMPARE(requests.last().fileName, pathOf("IMPORT/Tower.3do"));

        // A save outside the game folder, where the game would not find the object, asks first.
        QStringList asked;
        Hooks().askYesNo = [&asked](const QString&, const QString& text) {
            asked << text;
            return false;
        };
        const std::string outside = folder->path().string() + "-elsewhere.3do";
        chosenFile = QString::fromStdString(outside);
        form->SaveObjet3D->trigger();
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked[0].contains("lies outside the game folder"));
        QVERIFY(!std::filesystem::exists(outside));
        QVERIFY(form->isWindowModified());
    }

    void aModelFromOutsideTheGameIsSavedInTheGameFolder()
    {
        Object3D tower;
        AllocateObject(tower, 2, 0);
        tower.y[2] = 1000, tower.x[1] = 100;
        SaveObject("made.3do", tower);
        writeImporter(*folder, "cp made.3do \"$3\"");
        const std::filesystem::path outside = folder->path().string() + "-models";
        std::filesystem::create_directories(outside);
        std::ofstream(outside / "Tower.obj") << "";
        const auto form = makeForm();
        chosenFile = QString::fromStdString((outside / "Tower.obj").string());
        form->ImportModel->trigger();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join("; ")));
        chosenFile.clear();
        form->SaveObjet3D->trigger();
        QCOMPARE(requests.last().fileName, pathOf("Tower.3do"));
        std::filesystem::remove_all(outside);
    }

    // A model named on the command line comes through the importer as the menu's does, a DXF
    // drawing too (the importer reads its polyface meshes). Not saved yet, it comes back from a
    // crash as it was: its name (Save offers it), its bank (no bank question) and its view.
    void aModelFromTheCommandLineIsImportedAndRecoveredWithItsNameBankAndView()
    {
        const Object3D tower = writeTowerImporter();
        folder->write("IMPORT/Tower.dxf", "");
        folder->write("Ormel2.ini", ""); // the project folder, which the importer runs in
        auto crashed = makeForm({pathOf("bank.def"), pathOf("IMPORT/Tower.dxf")});
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join("; ")));
        QCOMPARE(QString::fromStdString(folder->read("args.txt")).section('\n', 0, 1), "import-mesh\n" + pathOf("IMPORT/Tower.dxf"));
        crashed->angleX = 10;
        crashed->angleY = -5;
        crashed->HeightBar->setValue(-300);
        crashed->panX = 7;
        crashed->panY = -11;
        const std::int32_t distance = crashed->viewDistance;
        crashed->document->Recovery().SaveCopy();
        crashed.reset();

        requests.clear();
        recoveryAnswers = {RecoveryChoice::Recover};
        const auto next = makeForm();
        QCOMPARE(asked.size(), 1);
        QVERIFY(sameObject(next->object, tower));
        QCOMPARE(next->windowTitle(), entryText(0) + " - Tower.3do[*]");
        QVERIFY(requests.isEmpty()); // the bank came back: no bank question
        QCOMPARE(next->context->bank.lastTexture, 1);
        QCOMPARE((std::array{next->angleX, next->angleY, next->objectHeight, next->viewDistance, next->panX, next->panY}),
                 (std::array{10, -5, -300, distance, 7, -11}));
        chosenFile.clear();
        next->SaveObjet3D->trigger();
        QCOMPARE(requests.last().fileName, pathOf("IMPORT/Tower.3do"));
    }

private:
    // A stand-in importer that makes a tower (two faces, 1,000 high) of any model, and the model
    // IMPORT/Tower.obj.
    Object3D writeTowerImporter()
    {
        Object3D tower;
        AllocateObject(tower, 3, 1);
        const std::int32_t places[4][3] = {{-200, 0, 0}, {200, 0, 0}, {200, 1000, 0}, {-200, 1000, 0}};
        for (int p = 0; p < 4; ++p)
            tower.x[p] = places[p][0], tower.y[p] = places[p][1], tower.z[p] = places[p][2];
        tower.faces[0] = plainFace(0, 1, 2, 3);
        tower.faces[1] = plainFace(2, 3, 0, 3);
        SaveObject("made.3do", tower);
        writeImporter(*folder, "cp made.3do \"$3\"");
        folder->write("IMPORT/Tower.obj", "");
        writeBank(*folder);
        return tower;
    }
};

int main(int argc, char** argv)
{
    const UserFolders userFolders;
    OrmelApplication application(argc, argv, "Tessaro3D document test", "Tessaro3D");
    Tessaro3DDocumentTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "Tessaro3DDocumentTest.moc"
