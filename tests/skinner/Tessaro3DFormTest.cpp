// The skinning editor through its window, offscreen, in a fresh folder per test.
#include "ObjectTools.h"
#include "PointMerge.h"
#include "Tessaro3DFormSupport.h"
#include "OrmelApplication.h"
#include "UserFolders.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QUndoStack>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QUndoStack>

#include <cmath>

#include <functional>
#include <memory>

class Tessaro3DFormTest : public QObject, FormFixture {
    Q_OBJECT

    QPoint viewCentre(const TForm1& form) const
    {
        const QRect view = form.RenderView->geometry();
        return {view.x() + form.context->screen.width / 2, view.y() + form.context->screen.height / 2};
    }

private Q_SLOTS:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void startStateTextsAndMenus()
    {
        const auto form = makeForm();
        // The bank question came at once.
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].title, entryText(21));
        QCOMPARE(requests[0].filter, entryText(48) + " (*.def *.DEF)");
        QCOMPARE(requests[0].defaultSuffix, QString("def"));

        QCOMPARE(form->FaceLabel->text(), QString("Entry 25:0/0 - 3 Entry 26"));
        QCOMPARE(MessageTitle(), entryText(0)); // message boxes too speak the user's language
        QVERIFY(form->TypeFaceItems->button(FacePlain)->isChecked());
        // The design's focal lengths until the window is resized.
        QCOMPARE(form->context->focalX, std::uint16_t{256});
        QCOMPARE(form->context->focalY, std::uint16_t{256});

        // Every text the form takes from the dictionary at start.
        const struct {
            QString text;
            int entry;
        } texts[] = {{form->Fichier1->title(), 1},
                     {form->TextMenu->title(), 2},
                     {form->Outil->title(), 3},
                     {form->LoadDXFObjet->text(), 4},
                     {form->LoadObjet3D->text(), 5},
                     {form->SaveObjet3D->text(), 6},
                     {form->Quitter1->text(), 7},
                     {form->LoadPigmenta->text(), 8},
                     {form->Colorie->text(), 9},
                     {form->TextureTout->text(), 10},
                     {form->MettretoutenTransparent1->text(), 11},
                     {form->ReprendreHabillage->text(), 12},
                     {form->Remplacerlacouleur1->text(), 13},
                     {form->Supprimerlespointsdoubles1->text(), 14},
                     {form->dblfac2->text(), 15},
                     {form->dblface1->text(), 16},
                     {form->Inverserlesnormales1->text(), 17},
                     {form->Symtrie1->title(), 18},
                     {form->Rotation1->title(), 19},
                     {form->Aide1->text(), 20},
                     {form->TextValid->text(), 27},
                     {form->CoulValid->text(), 28},
                     {form->Retourne->text(), 29},
                     {form->Flip->text(), 30},
                     {form->Reset->text(), 31},
                     {form->Label2->text(), 32},
                     {form->TypeFace->title(), 33},
                     {form->TypeFaceItems->button(0)->text(), 34},
                     {form->TypeFaceItems->button(1)->text(), 35},
                     {form->TypeFaceItems->button(2)->text(), 36},
                     {form->TypeFaceItems->button(3)->text(), 37},
                     {form->DoubleFace->text(), 38},
                     {form->Label3->text(), 39},
                     {form->NewObject->text(), 110},
                     {form->ImportModel->text(), 111},
                     {form->document->History().UndoAction()->text(), 81}};
        for (const auto& t : texts)
            QCOMPARE(t.text, entryText(t.entry));
        QCOMPARE(form->windowTitle(), entryText(0) + " - " + entryText(85) + "[*]"); // an object never saved
        const struct {
            QAction* action;
            const char* keys;
        } shortcuts[] = {{form->LoadDXFObjet, "Ctrl+D"}, {form->LoadObjet3D, "Ctrl+L"}, {form->SaveObjet3D, "Ctrl+S"},
                         {form->Quitter1, "Ctrl+Q"},     {form->LoadPigmenta, "Ctrl+T"}, {form->Aide1, "F1"},
                         {form->NewObject, "Ctrl+N"},    {form->ImportModel, "Ctrl+Shift+I"}};
        for (const auto& s : shortcuts)
            QCOMPARE(s.action->shortcut(), QKeySequence(s.keys));
        QVERIFY(!form->Chargerobjetancienformat1->isVisible());

        // The face panel at the right edge, the thumbnails under it, the view filling the rest.
        const QSize client = form->centralWidget()->size();
        QCOMPARE(form->Label1->geometry(), QRect(client.width() - 262, 0, 262, 261));
        QCOMPARE(form->TextureBar->geometry(), QRect(client.width() - 128, 391, 128, 17));
        QCOMPARE(form->TexturePanel->geometry().top(), 391 + 17 + 4);
        QCOMPARE(form->RenderView->size(), QSize(client.width() - 262 - 4, client.height() - 4));
        QCOMPARE(form->context->screen.width, (client.width() - 266) / 4 * 4);
        QCOMPARE(form->context->screen.height, (client.height() - 4) / 4 * 4);

        folder->write("Tessaro3D_Test.html", "");
        form->Aide1->trigger();
        QCOMPARE(opened, QStringList{"Tessaro3D_Test.html"});
    }

    void colourGridAndMouseRules()
    {
        const auto form = makeForm();
        const QPoint grid = form->ColorPaletteView->pos();
        const struct {
            int x, y, colour;
        } corners[] = {{1, 1, 15}, {1, 127, 0}, {127, 1, 255}, {60, 60, 7 * 16 + 15 - 7}};
        for (const auto& c : corners) {
            form->FormMouseMove(Qt::LeftButton, Qt::NoModifier, grid.x() + c.x, grid.y() + c.y);
            QCOMPARE(int(form->currentColour), c.colour);
            QCOMPARE(form->IndexColorPanel->text(), QString::number(c.colour));
        }
        // Only the left button alone chooses; the grid's edge is outside it.
        form->FormMouseMove(Qt::LeftButton, Qt::ShiftModifier, grid.x() + 1, grid.y() + 1);
        form->FormMouseMove(Qt::RightButton, Qt::NoModifier, grid.x() + 1, grid.y() + 1);
        form->FormMouseMove(Qt::LeftButton, Qt::NoModifier, grid.x(), grid.y() + 1);
        QCOMPARE(int(form->currentColour), 7 * 16 + 15 - 7);
        // A press without moving chooses too.
        QTest::mousePress(form->centralWidget(), Qt::LeftButton, {}, grid + QPoint(1, 127));
        QCOMPARE(int(form->currentColour), 0);
        QTest::mouseRelease(form->centralWidget(), Qt::LeftButton, {}, grid + QPoint(1, 127));

        // Left drag of 10 right and 5 up turns; right drag moves away; outside the view nothing.
        form->ResetClick();
        const std::int32_t framed = form->viewDistance;
        form->FormMouseMove(Qt::NoButton, Qt::NoModifier, 100, 100);
        form->FormMouseMove(Qt::LeftButton, Qt::NoModifier, 110, 95);
        QCOMPARE(form->angleX, 10);
        QCOMPARE(form->angleY, 5);
        QCOMPARE(form->Info->text(), QString("Ax:10 Ay:5"));
        form->FormMouseMove(Qt::RightButton, Qt::NoModifier, 110, 115);
        QCOMPARE(form->viewDistance, framed + 20);
        QCOMPARE(form->angleX, 10);
        form->FormMouseMove(Qt::LeftButton, Qt::ControlModifier, 150, 150);
        const QPoint panel = form->Label1->pos() + QPoint(100, 100);
        form->FormMouseMove(Qt::LeftButton, Qt::NoModifier, panel.x(), panel.y());
        form->FormMouseMove(Qt::RightButton, Qt::NoModifier, panel.x(), panel.y() + 40);
        QCOMPARE(form->angleX, 10);
        QCOMPARE(form->angleY, 5);
        QCOMPARE(form->viewDistance, framed + 20);
        form->ResetClick();
        QCOMPARE(form->angleX, 0);
    }

    void faceControls()
    {
        const auto form = makeForm();
        Face& face = form->object.faces[0];
        for (int i = 0; i < 4; ++i)
            form->Retourne->click();
        QCOMPARE(face.mapping, std::int16_t{0});
        form->Retourne->click();
        QCOMPARE(face.mapping, std::int16_t{1});
        form->Flip->click();
        QCOMPARE(face.p1, std::uint16_t{1});
        QCOMPARE(face.p3, std::uint16_t{0});
        form->DoubleFace->click();
        QCOMPARE(face.doubleSided, std::int16_t{1});
        form->Transparence->setValue(57);
        QCOMPARE(face.transparency, std::uint16_t{57});
        QCOMPARE(form->TranspLabel->text(), QString("57 %"));
        form->currentColour = 201;
        form->CoulValid->click();
        QCOMPARE(face.texture, std::uint16_t{201});

        // A virtual face: its size in the edits, the triangle controls off.
        form->TypeFaceItems->button(FaceVirtual)->click();
        QCOMPARE(face.faceType, std::uint16_t{FaceVirtual});
        QVERIFY(form->Lx->isEnabled() && form->Ly->isEnabled());
        QVERIFY(!form->Retourne->isEnabled() && !form->Flip->isEnabled() && !form->DoubleFace->isEnabled());
        form->Lx->selectAll();
        QTest::keyClicks(form->Lx, "40");
        QCOMPARE(face.p2, std::uint16_t{40});
        QTest::keyClicks(form->Lx, "x");
        QCOMPARE(errors, QStringList{"'40x' is not a valid integer value"});
        QCOMPARE(face.p2, std::uint16_t{40});
        form->Ly->selectAll();
        QTest::keyClicks(form->Ly, "2");
        QCOMPARE(face.p3, std::uint16_t{2});
        // Back to a triangle: a width that is no point gives way to p1.
        form->TypeFaceItems->button(FaceTextured)->click();
        QVERIFY(!form->Lx->isEnabled() && form->Retourne->isEnabled());
        QCOMPARE(face.p2, face.p1);
        QCOMPARE(face.p3, std::uint16_t{2});
    }

    void bankLoad()
    {
        const auto form = makeForm();
        loadBank(*form);
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join("; ")));
        QCOMPARE(requests.last().title, entryText(21));
        QCOMPARE(form->windowTitle(), entryText(0) + " - " + entryText(85) + "[*]"); // the caption stays
        QCOMPARE(form->context->bank.lastTexture, 1);
        QCOMPARE(form->TextureBar->maximum(), 1);
        const ColourTableEntry purple = form->TextureViewImage.colourTable[0];
        QCOMPARE(QColor(purple.red, purple.green, purple.blue), QColor(128, 0, 128));
        QCOMPARE(form->PaletteViewImage.colourTable[3].blue, std::uint8_t{252}); // the second image's colours
        QCOMPARE(form->context->screen.colourTable[0].red, std::uint8_t{128});
        QCOMPARE(int(form->highlightWhite), 255);
        QCOMPARE(int(form->highlightBlack), 1); // entry 0 is purple by now

        // The texture view: first row on top, colour 0 purple; the animation steps its image.
        form->paint();
        const QPoint view = form->TextureView->pos();
        QCOMPARE(QColor(shown(*form, view + QPoint(5, 0))), QColor(128, 0, 128));
        QCOMPARE(QColor(shown(*form, view + QPoint(5, 127))), QColor(5, 5, 5));
        form->Timer1Timer();
        QCOMPARE(form->context->bank.textures[0].current, 1);
        form->paint();
        const int texel = form->context->bank.image(1)[0];
        QCOMPARE(QColor(shown(*form, view + QPoint(5, 0))), QColor(texel, texel, texel));
        form->TextureBar->setValue(1);
        QCOMPARE(form->currentTexture, 1);
        QCOMPARE(form->TextureIndex->text(), QString("1"));

        // Tables that cannot be written to their cache are used all the same; the user is told.
        std::filesystem::remove(folder->path() / "bank.POT");
        SetWriteFaultHook([](const std::filesystem::path&) { return true; });
        form->LoadPigmenta->trigger();
        SetWriteFaultHook(nullptr);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains("bank.POT"), qPrintable(errors[0]));
        QVERIFY(!folder->exists("bank.POT"));
        QCOMPARE(form->context->bank.lastTexture, 1);
        errors.clear();

        // A missing bank is named and the bank stays.
        choose("gone.def");
        form->LoadPigmenta->trigger();
        QCOMPARE(errors, QStringList{"K3X: The file " + pathOf("gone.def") + " is missing"});
        QCOMPARE(form->context->bank.lastTexture, 1);
        QVERIFY(form->context->bank.image(0) != nullptr);

        // An image that is no texture keeps the bank from loading, told in the user's language.
        const auto small = EncodePcx(64, 64, std::vector<std::uint8_t>(64 * 64, 1), rampPalette(false));
        folder->write("SMALL.PCX", std::string(small.begin(), small.end()));
        folder->write("BROKEN.PCX", "no PCX image");
        folder->write("small.def", "#images\r\n0=img0.pcx\r\n1=small.pcx\r\n");
        folder->write("broken.def", "#images\r\n0=img0.pcx\r\n1=broken.pcx\r\n");
        errors.clear();
        for (const char* bank : {"small.def", "broken.def"}) {
            choose(bank);
            form->LoadPigmenta->trigger();
        }
        QCOMPARE(errors, (QStringList{entryText(70) + " (SMALL.PCX, 64 x 64)", entryText(71) + " (BROKEN.PCX)"}));
        QCOMPARE(form->context->bank.lastTexture, 1);
    }

    void outlineBlinksAndPickChoosesTheNearestFace()
    {
        const auto form = makeForm();
        loadBank(*form);
        loadObject(*form, twoSquares());
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join("; ")));
        QCOMPARE(form->windowTitle(), entryText(0) + " - object.3do[*]");
        QCOMPARE(form->FaceBar->maximum(), 3);
        QCOMPARE(form->FaceLabel->text(), QString("Entry 25:0/3 - 8 Entry 26"));
        // The start's view rather than the framing, which hides the far square behind the near one.
        form->viewDistance = 300;
        form->panX = form->panY = 0;

        form->paint();
        const std::uint8_t first = form->highlightColour;
        form->paint();
        QVERIFY(first != form->highlightColour);
        QVERIFY(first == form->highlightWhite || first == form->highlightBlack);

        const QPoint centre = viewCentre(*form);
        form->FormMouseMove(Qt::NoButton, Qt::NoModifier, centre.x(), centre.y());
        form->FormClick();
        QVERIFY(form->currentFace == 2 || form->currentFace == 3);
        // The far square alone lies under a point off the near one.
        form->FormMouseMove(Qt::NoButton, Qt::NoModifier, centre.x() - 25, centre.y() - 20);
        form->FormClick();
        QVERIFY(form->currentFace == 0 || form->currentFace == 1);
        QCOMPARE(form->FaceBar->value(), form->currentFace); // the bar follows the click
        const std::int32_t picked = form->currentFace;
        // Nothing under the pointer, or outside the view: the face stays.
        form->FormMouseMove(Qt::NoButton, Qt::NoModifier, 5, 5);
        form->FormClick();
        form->FormMouseMove(Qt::NoButton, Qt::NoModifier, form->Label1->x() + 5, 100);
        form->FormClick();
        QCOMPARE(form->currentFace, picked);
        // Through the mouse as a user clicks.
        QTest::mouseClick(form->centralWidget(), Qt::LeftButton, {}, centre);
        QVERIFY(form->currentFace == 2 || form->currentFace == 3);
    }

    // The selection, the current face, the face bar and the panel move together; every control
    // acts on every selected face as one step that names the count.
    void manyFacesAtOnce()
    {
        const auto form = makeForm();
        loadBank(*form);
        loadObject(*form, twoSquares()); // faces 0, 1 far, colour 1; faces 2, 3 near, colour 2
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->viewDistance = 300; // the far square round the near one
        form->panX = form->panY = 0;
        form->paint();
        const QPoint centre = viewCentre(*form);
        QWidget* client = form->centralWidget();
        // A click on the far square, then the bar's arrow: the face after the one clicked.
        QTest::mouseClick(client, Qt::LeftButton, {}, centre - QPoint(45, 40));
        const std::int32_t clicked = form->currentFace;
        QVERIFY(clicked == 0 || clicked == 1);
        // What the window shows after a change is the frame a full paint draws (an outline that
        // moved is drawn on the frame kept without it; a changed face draws the frame anew).
        const auto shownAsDrawnAnew = [&form] {
            form->centralWidget()->repaint();
            const std::vector<std::uint8_t> shown = form->context->screen.pixels;
            const std::uint8_t colour = form->highlightColour;
            form->highlightColour = colour == form->highlightBlack ? form->highlightWhite : form->highlightBlack;
            form->paint();
            return shown == form->context->screen.pixels && form->highlightColour == colour;
        };
        form->FaceBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QVERIFY(shownAsDrawnAnew());
        QCOMPARE(form->currentFace, clicked + 1);
        QCOMPARE(form->FaceLabel->text(), QString("Entry 25:%1/3 - 8 Entry 26").arg(clicked + 1));
        QCOMPARE(CountSelected(form->selection), std::size_t{1});

        form->SelectSameSkin->trigger(); // from face 1 or 2: its square's two faces
        QCOMPARE(CountSelected(form->selection), std::size_t{2});
        form->SelectAll->trigger();
        QVERIFY(form->FaceLabel->text().endsWith("\nEntry 153: 4"));
        form->object.faces[3].transparency = 40;
        form->ShowFaceInfo();
        QCOMPARE(form->TranspLabel->text(), entryText(154)); // mixed
        form->TextureBar->setValue(1);
        form->TextValid->click();
        QUndoStack* steps = form->document->History().Stack();
        QCOMPARE(steps->count(), 1);
        QCOMPARE(steps->undoText(), entryText(27) + " (Entry 152: 4)");
        for (const Face& face : form->object.faces)
            QCOMPARE(face.texture, std::uint16_t{1});
        QVERIFY(shownAsDrawnAnew());
        steps->undo();
        QCOMPARE(form->object.faces[3].texture, std::uint16_t{2});
        QVERIFY(shownAsDrawnAnew());

        // Shift+click takes a face away; a Ctrl drag's box selects what it shows: the near square.
        form->ViewClick(Qt::ShiftModifier, centre.x(), centre.y());
        QCOMPARE(CountSelected(form->selection), std::size_t{3});
        const auto mouse = [client](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, client->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                              buttons, Qt::ControlModifier);
            QCoreApplication::sendEvent(client, &event);
        };
        mouse(QEvent::MouseButtonPress, centre - QPoint(10, 10), Qt::LeftButton);
        mouse(QEvent::MouseMove, centre + QPoint(10, 10), Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, centre + QPoint(10, 10), Qt::NoButton);
        QCOMPARE(SelectedFaces(form->selection), (std::vector<std::uint32_t>{2, 3}));
        QVERIFY(form->currentFace == 2 || form->currentFace == 3);
        QCOMPARE(form->FaceBar->value(), form->currentFace);

        // Page Down: the next face alone. The wheel zooms; Reset view frames the object again.
        form->PreviousFace->trigger();
        form->NextFace->trigger();
        QCOMPARE(SelectedFaces(form->selection), (std::vector<std::uint32_t>{std::uint32_t(form->currentFace)}));
        form->ResetClick();
        const std::int32_t framed = form->viewDistance;
        form->WheelZoom(-2, centre.x(), centre.y()); // two steps away
        QCOMPARE(form->viewDistance, std::int32_t(std::lround(framed * std::pow(0.85, -2))));
        form->ResetClick();
        QCOMPARE(form->viewDistance, framed);
    }

    void narrowWindowSpringsBack()
    {
        const auto form = makeForm();
        form->show();
        form->resize(100, 200);
        QCoreApplication::processEvents();
        QCOMPARE(form->centralWidget()->width(), 262 + 32);
        QVERIFY(form->centralWidget()->height() >= 261 + 128 + 17 + 5);
        QCOMPARE(form->Label1->x(), 32);
        QCOMPARE(form->RenderView->width(), 28);
        QCOMPARE(form->context->screen.width, 28);
        // Too short for thumbnails under the texture view: they take its place beside the colour grid.
        const int shortHeight = form->centralWidget()->height();
        QVERIFY(form->TextureBar->isHidden());
        QCOMPARE(form->TexturePanel->geometry(), QRect(32 + 130, 263, 132, shortHeight - 263 - 2));

        form->resize(903, 603 + form->menuWidget()->height());
        QCoreApplication::processEvents();
        QCOMPARE(form->centralWidget()->size(), QSize(903, 603));
        QCOMPARE(form->Label1->pos(), QPoint(641, 0));
        QCOMPARE(form->TextureBar->pos(), QPoint(775, 391));
        QVERIFY(!form->TextureBar->isHidden());
        QCOMPARE(form->TexturePanel->geometry(), QRect(641, 412, 262, 603 - 412 - 2));
        QCOMPARE(form->RenderView->size(), QSize(637, 599));
        QCOMPARE(form->context->screen.width, 636); // rounded down to fours
        QCOMPARE(form->context->screen.height, 596);
    }

    void objectFiles()
    {
        const auto form = makeForm();
        Object3D six = twoSquares();
        AllocateObject(six, 7, 5);
        six.x = twoSquares().x;
        loadObject(*form, six, "six.3do");
        form->FaceBar->setValue(5);
        QCOMPARE(form->currentFace, 5);
        QCOMPARE(requests.last().title, entryText(22));
        QCOMPARE(requests.last().filter, entryText(45) + " (*.3do *.3DO)");
        QCOMPARE(requests.last().defaultSuffix, QString("3DO"));

        // A smaller object brings the current face within it.
        form->angleX = 12;
        loadObject(*form, twoSquares());
        QCOMPARE(form->currentFace, 3);
        QCOMPARE(form->FaceBar->maximum(), 3);
        QCOMPARE(form->angleX, 0);

        // The Save dialog offers the loaded object's own name.
        choose("saved.3do");
        form->SaveObjet3D->trigger();
        QCOMPARE(requests.last().fileName, pathOf("object.3do"));
        QCOMPARE(requests.last().title, entryText(23));
        QCOMPARE(requests.last().filter, entryText(46) + " (*.3do *.3DO)");
        const auto bytes = EncodeObject(form->object);
        QCOMPARE(folder->read("saved.3do"), std::string(bytes.begin(), bytes.end()));
        QCOMPARE(form->windowTitle(), entryText(0) + " - saved.3do[*]");

        // A failed save is reported and leaves the file whole; a missing file leaves the object.
        SetWriteFaultHook([](const std::filesystem::path&) { return true; });
        form->object.faces[0].texture = 99;
        form->SaveObjet3D->trigger();
        QCOMPARE(requests.last().fileName, pathOf("saved.3do"));
        QCOMPARE(errors.size(), 1);
        QCOMPARE(folder->read("saved.3do"), std::string(bytes.begin(), bytes.end()));
        SetWriteFaultHook(nullptr);
        choose("gone.3do");
        form->LoadObjet3D->trigger();
        QCOMPARE(errors.last(), "K3X: The file " + pathOf("gone.3do") + " is missing");
        QCOMPARE(form->object.faces[0].texture, std::uint16_t{99});

        // A DXF mesh: one four-cornered face, two triangles. The next Save offers the mesh's
        // name as an object, never the object loaded before it.
        folder->write("Vase.DXF", "0\nSECTION\n0\n3DFACE\n62\n4\n10\n0\n20\n0\n30\n0\n11\n10\n21\n0\n31\n0\n"
                                  "12\n10\n22\n0\n32\n10\n13\n0\n23\n0\n33\n10\n0\nEOF\n");
        choose("Vase.DXF");
        form->LoadDXFObjet->trigger();
        QCOMPARE(requests.last().title, entryText(24));
        QCOMPARE(requests.last().filter, entryText(47) + " (*.dxf *.DXF)");
        QCOMPARE(form->object.lastFace, std::uint16_t{1});
        QCOMPARE(form->object.lastPoint, std::uint16_t{3});
        QCOMPARE(form->currentFace, 1);
        QCOMPARE(form->windowTitle(), entryText(0) + " - Vase.3do[*]"); // the object it becomes, unsaved
        QVERIFY(form->isWindowModified());
        chosenFile.clear(); // cancelled
        form->SaveObjet3D->trigger();
        QCOMPARE(requests.last().fileName, pathOf("Vase.3do"));
        // A mesh that cannot be imported changes nothing, the offered name included.
        saveAnswers = {SaveChoice::Discard};
        choose("gone.dxf");
        form->LoadDXFObjet->trigger();
        chosenFile.clear();
        form->SaveObjet3D->trigger();
        QCOMPARE(requests.last().fileName, pathOf("Vase.3do"));
    }

    // Every item of the Tools menu runs its own tool, with the form's colour, texture and
    // transparency: each does to the object exactly what the tool does to a copy of it.
    void toolsMenuItemsRunTheirTools()
    {
        const auto form = makeForm();
        // Eight points at distinct, unequal coordinates, so that every axis tells apart; point 7
        // stands where point 4 does. Face 1 is virtual, face 2 textured with colour 1's number.
        Object3D start = twoSquares();
        for (int p = 0; p < 8; ++p) {
            start.x[p] += 3 * p + 1;
            start.y[p] -= 5 * p + 2;
            start.z[p] += 7 * p + 3;
        }
        start.x[7] = start.x[4], start.y[7] = start.y[4], start.z[7] = start.z[4];
        start.faces[1].faceType = FaceVirtual;
        start.faces[2].faceType = FaceTextured;
        start.faces[2].texture = 1;
        loadObject(*form, start);
        form->currentColour = 44;
        form->currentTexture = 7;
        form->Transparence->setValue(30); // face 0's, and the tool's level

        const struct {
            QAction* item;
            std::function<void(Object3D&)> tool;
        } items[] = {
            {form->Remplacerlacouleur1, [](Object3D& o) { ReplaceColour(o, 0, 44); }},
            {form->Colorie, [](Object3D& o) { ColourAllFaces(o, 44); }},
            {form->TextureTout, [](Object3D& o) { TextureAllFaces(o, 7); }},
            {form->MettretoutenTransparent1, [](Object3D& o) { SetAllTransparency(o, 30); }},
            {form->dblfac2, [](Object3D& o) { SetAllDoubleSided(o, 0); }},
            {form->dblface1, [](Object3D& o) { SetAllDoubleSided(o, 1); }},
            {form->Inverserlesnormales1, [](Object3D& o) { TurnFacesOver(o); }},
            {form->X1, [](Object3D& o) { MirrorObject(o, Axis::X); }},
            {form->Y1, [](Object3D& o) { MirrorObject(o, Axis::Y); }},
            {form->Z1, [](Object3D& o) { MirrorObject(o, Axis::Z); }},
            {form->N90Z1, [](Object3D& o) { QuarterTurn(o, Axis::Z); }},
            {form->N90X1, [](Object3D& o) { QuarterTurn(o, Axis::X); }},
            {form->N90Y1, [](Object3D& o) { QuarterTurn(o, Axis::Y); }},
            {form->Supprimerlespointsdoubles1, [](Object3D& o) { MergeCoincidentPoints(o); }},
        };
        for (const auto& row : items) {
            const Object3D before = form->object;
            Object3D expected = before;
            row.tool(expected);
            QVERIFY2(!sameObject(expected, before), qPrintable(row.item->text())); // the row can fail
            row.item->trigger();
            QVERIFY2(sameObject(form->object, expected), qPrintable(row.item->text()));
        }
        QVERIFY(form->FaceLabel->text().endsWith("- 7 Entry 26"));
        QVERIFY(errors.isEmpty());
    }

    void reusingASkinSaysWhatWasTakenAndSkipped()
    {
        const auto form = makeForm();
        Object3D object = twoSquares();
        loadObject(*form, object);
        // The other object: face 0 a new colour, face 3 naming point 8, which this one lacks.
        Object3D other = twoSquares();
        AllocateObject(other, 8, 3);
        other.x = twoSquares().x, other.x.push_back(0);
        other.faces = twoSquares().faces;
        other.faces[0].texture = 77;
        other.faces[3].p2 = 8;
        SaveObject("other.3do", other);
        choose("other.3do");
        form->ReprendreHabillage->trigger();
        QCOMPARE(requests.last().title, entryText(22));
        QCOMPARE(form->object.faces[0].texture, std::uint16_t{77});
        QCOMPARE(form->object.faces[3], object.faces[3]);
        QCOMPARE(errors, QStringList{"Entry 49: 3 1 " + pathOf("other.3do")});
        // Cancelled or missing: nothing changes and nothing is counted.
        errors.clear();
        chosenFile.clear();
        form->ReprendreHabillage->trigger();
        QVERIFY(errors.isEmpty());
        choose("gone.3do");
        form->ReprendreHabillage->trigger();
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].startsWith("K3X: The file"));
    }

    void hiddenItems()
    {
        const auto form = makeForm();
        // One only names the file, the other writes the object there.
        choose("old.3do");
        form->Chargerobjetancienformat1->trigger();
        QVERIFY(!folder->exists("old.3do"));
        QCOMPARE(form->windowTitle(), entryText(0) + " - " + pathOf("old.3do") + "[*]");
        form->Convertirancienobjet1->trigger();
        QCOMPARE(form->windowTitle(), entryText(0) + " - old.3do[*]");
        const auto bytes = EncodeObject(form->object);
        QCOMPARE(folder->read("old.3do"), std::string(bytes.begin(), bytes.end()));
    }

    // Set texture gives any face the texture number, a plain face too (its colour number then);
    // the height bar raises the object.
    void setTextureAndHeight()
    {
        const auto form = makeForm();
        loadBank(*form);
        form->TextureBar->setValue(1);
        Face& face = form->object.faces[0];
        QCOMPARE(face.faceType, std::uint16_t{FacePlain});
        form->TextValid->click();
        QCOMPARE(face.texture, std::uint16_t{1});
        QCOMPARE(face.faceType, std::uint16_t{FacePlain});

        const bool modified = form->isWindowModified();
        const int steps = form->document->History().Stack()->count();
        form->HeightBar->setValue(-37); // the view's, as its turns are: no step, nothing unsaved
        QCOMPARE(form->objectHeight, -37);
        QCOMPARE(form->HeightLabel->text(), QString("-37"));
        QCOMPARE(form->isWindowModified(), modified);
        QCOMPARE(form->document->History().Stack()->count(), steps);
        form->HeightBar->setValue(600); // the bar's end
        QCOMPARE(form->objectHeight, 512);
    }

    // Where the editor can tell that textures will not show, it says so.
    void banksAndObjectsThatDoNotMatchAreNamed()
    {
        const auto form = makeForm();
        writeBank(*folder);
        choose("images-only.def");
        form->LoadPigmenta->trigger();
        QCOMPARE(errors, QStringList{entryText(50)});
        errors.clear();

        // Faces 0 and 2 name textures 5 and 9 of a bank whose last is 1; plain face 1 names 9 too.
        Object3D object = twoSquares();
        object.faces[0].faceType = FaceTextured, object.faces[0].texture = 5;
        object.faces[1].texture = 9;
        object.faces[2].faceType = FaceTexturedKeyed, object.faces[2].texture = 9;
        object.faces[3].faceType = FaceTextured, object.faces[3].texture = 1;
        loadBank(*form);
        QVERIFY(errors.isEmpty());
        loadObject(*form, object);
        QCOMPARE(errors, QStringList{"Entry 51: 2 9 1"});
        errors.clear();
        loadBank(*form); // and again when the bank comes after the object
        QCOMPARE(errors, QStringList{"Entry 51: 2 9 1"});
    }
};

int main(int argc, char** argv)
{
    const UserFolders userFolders;
    OrmelApplication application(argc, argv, "Tessaro3D form test", "Tessaro3D");
    Tessaro3DFormTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "Tessaro3DFormTest.moc"
