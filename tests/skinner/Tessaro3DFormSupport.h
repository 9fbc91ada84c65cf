#pragma once
// What the skinning editor's form tests share: a dictionary whose texts name their entries, a
// small bank, and small objects.
#include "BlendCache.h"
#include "ColourTables.h"
#include "Dialogs.h"
#include "EditorDocument.h"
#include "FreshDocumentState.h"
#include "ImageWriters.h"
#include "LocalisationUnit.h"
#include "ObjectFile.h"
#include "SafeWrite.h"
#include "ScriptedQuestions.h"
#include "Shell.h"
#include "TempFolder.h"
#include "Tessaro3DUnit.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>

#include <map>
#include <memory>
#include <string>
#include <vector>

// Entry n reads "Entry n"; the texts that take values show them after it ("Entry 86: a.3do").
inline std::string testDictionary()
{
    const std::map<int, int> values = {{49, 3}, {51, 3}, {83, 1}, {84, 1}, {86, 1}, {90, 2}, {92, 2},
                                       {94, 1}, {95, 2}, {114, 1}, {115, 2}, {116, 1}, {117, 1},
                                       {152, 1}, {153, 1}, {155, 4}, {156, 1}};
    std::string text = "[Config]\nLanguage=Test\n[Test]\n";
    for (int i = 0; i <= 159; ++i) {
        text += std::to_string(i) + "=Entry " + std::to_string(i);
        const auto found = values.find(i);
        for (int k = 1; found != values.end() && k <= found->second; ++k)
            text += (k == 1 ? ": %" : " %") + std::to_string(k);
        text += "\n";
    }
    return text;
}

inline QString entryText(int i) { return QString("Entry %1").arg(i); }

// Grey ramps: the bank's palette, and one leaning to blue for the flat face colours.
inline PalettePlanes rampPalette(bool blue)
{
    PalettePlanes palette;
    for (int i = 0; i < 256; ++i) {
        palette.red[i] = palette.green[i] = static_cast<std::uint8_t>(i);
        palette.blue[i] = static_cast<std::uint8_t>(blue ? 255 - i : i);
    }
    return palette;
}

// A bank of two images and two textures; image 0's first row is colour 0, the rest colour 5. The
// same images without textures make "images-only.def".
inline void writeBank(const TempFolder& folder)
{
    std::vector<std::uint8_t> pixels(TexturePixels, 5);
    std::fill_n(pixels.begin(), 128, std::uint8_t{0});
    const auto first = EncodePcx(128, 128, pixels, rampPalette(false));
    const auto second = EncodePcx(128, 128, std::vector<std::uint8_t>(TexturePixels, 9), rampPalette(true));
    folder.write("IMG0.PCX", std::string(first.begin(), first.end()));
    folder.write("IMG1.PCX", std::string(second.begin(), second.end()));
    folder.write("bank.def", "#images\r\n0=img0.pcx\r\n1=img1.pcx\r\n#textures\r\n0=0-1\r\n1=1-1\r\n");
    folder.write("images-only.def", "#images\r\n0=img0.pcx\r\n1=img1.pcx\r\n");
    // A cache of the right size is taken as it is: no tables to compute in the test.
    folder.write("bank.POT", std::string(BlendTables::Size, '\0'));
    folder.write("images-only.POT", std::string(BlendTables::Size, '\0'));
}

inline Face plainFace(std::uint16_t p1, std::uint16_t p2, std::uint16_t p3, std::uint16_t colour)
{
    Face face{p1, p2, p3, colour};
    face.faceType = FacePlain;
    face.doubleSided = 1;
    return face;
}

// Two squares facing the eye, one behind the other, both over the view's centre: faces 0 and 1
// are the far one (z 200), faces 2 and 3 the near one (z 0), smaller.
inline Object3D twoSquares()
{
    Object3D object;
    AllocateObject(object, 7, 3);
    const std::int32_t places[8][3] = {{-100, -100, 200}, {100, -100, 200}, {100, 100, 200}, {-100, 100, 200},
                                       {-20, -20, 0},     {20, -20, 0},     {20, 20, 0},     {-20, 20, 0}};
    for (int p = 0; p < 8; ++p) {
        object.x[p] = places[p][0];
        object.y[p] = places[p][1];
        object.z[p] = places[p][2];
    }
    object.faces[0] = plainFace(0, 1, 2, 1);
    object.faces[1] = plainFace(2, 3, 0, 1);
    object.faces[2] = plainFace(4, 5, 6, 2);
    object.faces[3] = plainFace(6, 7, 4, 2);
    return object;
}

inline bool sameObject(const Object3D& a, const Object3D& b)
{
    return a.lastPoint == b.lastPoint && a.lastFace == b.lastFace && a.x == b.x && a.y == b.y && a.z == b.z &&
           a.faces == b.faces;
}

inline QRgb shown(const TForm1& form, QPoint at) { return form.centralWidget()->grab().toImage().pixel(at); }


// A fresh folder (the current one) per test, the dialogs answered by hooks: each file dialog
// answers `chosenFile` and is kept in `requests`; messages and errors go to `errors`; the
// questions about unsaved work and recovery are scripted. The user's settings and recovery copies
// start empty.
struct FormFixture : ScriptedQuestions {
    std::unique_ptr<TempFolder> folder;
    QStringList errors;
    QStringList opened;
    QList<FileDialogRequest> requests;
    QString chosenFile;

    void setUp()
    {
        folder = std::make_unique<TempFolder>();
        folder->write("Tessaro3D.dic", testDictionary());
        opened.clear();
        requests.clear();
        chosenFile.clear();
        LanguageName.clear();
        DictionaryTable.fill("");
        FreshDocumentState(errors, errors, *this);
        Hooks().chooseOpenFile = [this](const FileDialogRequest& request) {
            requests << request;
            return chosenFile;
        };
        Hooks().chooseSaveFile = Hooks().chooseOpenFile;
        Shell().openDocument = [this](const QString& path) {
            opened << QFileInfo(path).fileName();
            return true;
        };
    }

    void tearDown()
    {
        SetWriteFaultHook(nullptr);
        Hooks() = {};
        Shell() = {};
        folder.reset();
    }

    // The window as the program starts it, with `arguments` on its command line; the bank
    // question at start is cancelled unless a bank is chosen.
    std::unique_ptr<TForm1> makeForm(const QStringList& arguments = {})
    {
        auto form = std::make_unique<TForm1>();
        form->Start(arguments);
        QCoreApplication::processEvents();
        return form;
    }

    QString pathOf(const char* name) const { return QString::fromStdString((folder->path() / name).string()); }

    void choose(const char* name) { chosenFile = pathOf(name); }

    void loadObject(TForm1& form, const Object3D& object, const char* name = "object.3do")
    {
        SaveObject(name, object);
        choose(name);
        form.LoadObjet3D->trigger();
    }

    void loadBank(TForm1& form)
    {
        writeBank(*folder);
        choose("bank.def");
        form.LoadPigmenta->trigger();
    }

    // Saves the object through the Save item as `name`; the file's bytes.
    std::string saveAs(TForm1& form, const char* name)
    {
        choose(name);
        form.SaveObjet3D->trigger();
        return folder->read(name);
    }
};
