// k3x info, check and new-project, and the ormel2 command that starts a program in the user's
// game project folder.
#include "ImageWriters.h"
#include "K3xRun.h"
#include "ObjectFile.h"
#include "Ormel2Entries.h"
#include "PartivaEntries.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

namespace fs = std::filesystem;

namespace {

// Three points and four faces, one of each type; the plain one names a point that is not there.
Object3D sampleObject()
{
    Object3D object;
    object.lastPoint = 2;
    object.lastFace = 3;
    object.x = {0, 10, 0};
    object.y = {0, 0, 20};
    object.z = {0, 0, -5};
    object.faces = {
        Face{0, 1, 2, 5, 0, 0, FaceTextured, 0},
        Face{0, 2, 1, 5, 1, 1, FaceTexturedKeyed, 50},
        Face{2, 64, 80, 6, 0, 0, FaceVirtual, 0}, // 64 x 80 standing at point 2: not broken
        Face{0, 1, 7, 9, 0, 0, FacePlain, 0},
    };
    return object;
}

void writePcx(const TempFolder& folder, const std::string& name, int width, int height)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(i % 4);
    const auto bytes = EncodePcx(width, height, pixels, PalettePlanes{});
    folder.write(name, std::string(bytes.begin(), bytes.end()));
}

void copyData(const TempFolder& folder, const std::string& data, const std::string& name)
{
    std::ifstream in(fs::path(ORMEL_TEST_DATA) / data, std::ios::binary);
    folder.write(name, std::string(std::istreambuf_iterator<char>(in), {}));
}

// A dictionary whose [English] section holds every entry of the program's table but `skipped`.
std::string dictionary(DictionaryEntries entries, int skipped = -1)
{
    std::string text = "[Config]\nLanguage=English\n[English]\n";
    for (const DictionaryEntry& entry : entries)
        if (entry.number != skipped)
            text += std::to_string(entry.number) + "=text\n";
    return text;
}

} // namespace

TEST(K3xInfo, DescribesEachKindOfFile)
{
    const TempFolder folder;
    SaveObject("THING.3DO", sampleObject());
    folder.write("bank.def", "#images\n0=A.PCX\n1=B.PCX\n2=C.PCX\n#textures\n0=0-0\n1=0-2\n2=2-1\n");
    folder.write("far.def", "#images\n40000=FAR.PCX\nrubbish\n3=A.PCX\n#textures\n33000=3-3\n");
    writePcx(folder, "tex.pcx", 128, 128);
    writePcx(folder, "small.PCX", 5, 3);
    copyData(folder, "wav/pcm16_stereo_44100.wav", "sound.wav");
    copyData(folder, "dxf/quad.dxf", "quad.DXF");
    const struct {
        const char* file;
        std::vector<const char*> says;
    } cases[] = {
        {"THING.3DO",
         {"THING.3DO: 3D object, 104 bytes", "3 points, x 0 to 10, y 0 to 20, z -5 to 0",
          "4 faces: 1 textured, 1 textured with see-through colour 0, 1 virtual, 1 plain; 1 double-sided, 1 see-through",
          "textures: 5 (2 faces), 6 (1 face)", "colours: 9 (1 face)",
          "1 face with points the object does not have (the first is face 3)"}},
        {"bank.def",
         {"texture bank", "3 images, 3 textures", "palette from image 0, A.PCX", "flat colours from image 1, B.PCX",
          "1 still texture, 2 animated", "texture 1: images 0 to 2 (3 images)",
          "texture 2: images 2 to 1 (2 images, backwards)"}},
        {"far.def",
         {"1 image, 0 textures", "palette from image 40000, FAR.PCX", "flat colours from image 3, A.PCX",
          "3 lines that the skinning editor does not use"}},
        {"tex.pcx", {"PCX image 128 x 128", "4 colours used, colour 0 (see-through) among them; fits a texture bank"}},
        {"small.PCX", {"PCX image 5 x 3", "a texture bank takes only 128 x 128"}},
        {"sound.wav", {"WAV sound", "PCM, 2 channels, 44100 Hz, 16 bits per sample"}},
        {"quad.DXF", {"DXF mesh", "its 3D faces import as", "4 points", "2 faces", "0 textured", "2 plain"}},
    };
    for (const auto& c : cases) {
        const K3xRun run = k3x(folder, std::string("info ") + c.file);
        EXPECT_EQ(run.exitCode, 0) << c.file << run.err;
        for (const char* text : c.says)
            EXPECT_THAT(run.out, HasSubstr(text)) << c.file;
    }
}

TEST(K3xInfo, FailuresNameTheFile)
{
    const TempFolder folder;
    copyData(folder, "3do/faces-cut.3do", "cut.3do");
    copyData(folder, "pcx/truncated.pcx", "cut.pcx");
    folder.write("notes.txt", "hello");
    const K3xRefusal refusals[] = {
        {"info cut.3do", 1, "cut.3do"},
        {"info cut.pcx", 1, "cut.pcx"},
        {"info gone.wav", 1, "The file gone.wav does not exist"},
        {"info notes.txt", 2, "not notes.txt"},
        {"info", 2, "usage: k3x info"},
    };
    expectRefusals(folder, refusals);
}

TEST(K3xCheck, NamesEveryProblemOfAGameFolder)
{
    const TempFolder folder;
    folder.write("game.ini", "[Game]\nMenuSound=SOUND\\CLICK.WAV\nTimerSound=SOUND\\GONE.WAV\n"
                             "StartLevel=FIRST.LEV\nHelpFile=HELP.HTM\nGameTitle=Not a file\n");
    folder.write("sound/click.wav", "");
    folder.write("Level/first.lev", "");
    writePcx(folder, "tex/a.pcx", 128, 128);
    writePcx(folder, "tex/small.pcx", 16, 16);
    folder.write("bank.def", "#images\n0=TEX\\A.PCX\n1=TEX\\MISSING.PCX\n2=TEX\\SMALL.PCX\n#textures\n0=0-0\n1=0-3\n"
                             "40000=0-0\n");
    fs::create_directory(folder.path() / "objects");
    SaveObject("objects/thing.3do", sampleObject());
    copyData(folder, "3do/faces-cut.3do", "objects/cut.3do");
    folder.write("Ormel2.ini", "[Languages]\nNumber=1\n0=English\n1=Francais\n");
    folder.write("Ormel2.dic", dictionary(Ormel2Entries, 19));
    folder.write("Pigmenta.dic", "[Config]\nLanguage=Klingon\n");
    folder.write("Partiva.dic", dictionary(PartivaEntries));

    const K3xRun run = k3x(folder, "check");
    EXPECT_EQ(run.exitCode, 1);
    for (const char* problem : {
             "game.ini: TimerSound names SOUND\\GONE.WAV, which does not exist",
             "game.ini: HelpFile names HELP.HTM, which does not exist",
             "bank.def: image 1, TEX\\MISSING.PCX, does not exist",
             "bank.def: image 2, TEX\\SMALL.PCX, is 16 x 16 pixels, not 128 x 128",
             "bank.def: texture 1 runs over image 3, which the bank does not list",
             "objects/thing.3do: 1 face of 4 with points the object does not have (the first is face 3)",
             "objects/thing.3do: 3 faces use textures 5, 6, which no texture bank of the project defines",
             "bank.def: \"40000=0-0\" is no entry the skinning editor can use",
             "objects/cut.3do:",
             "Ormel2.dic: English lacks entry 19",
             "Ormel2.dic: no texts in Francais",
             "Partiva.dic: no texts in Francais",
             "Pigmenta.dic: its language Klingon is not one that Ormel2.ini offers",
             "Pigmenta.dic: no texts in English",
             "Tessaro3D.dic: missing",
             "16 problems in the game project",
         })
        EXPECT_THAT(run.out, HasSubstr(problem));
    // Found case-insensitively, or not ours to check.
    EXPECT_THAT(run.out, AllOf(Not(HasSubstr("CLICK")), Not(HasSubstr("FIRST.LEV")), Not(HasSubstr("Not a file")),
                               Not(HasSubstr("Editor.dic")), Not(HasSubstr("A.PCX"))));
}

TEST(K3xNewProject, MakesTheDemoGameAProjectThatChecksClean)
{
    const TempFolder folder;
    const K3xRun made = k3x(folder, "new-project 'My Game'");
    ASSERT_EQ(made.exitCode, 0) << made.err;
    EXPECT_THAT(made.out, HasSubstr("made the game project"));
    for (const auto& entry : fs::recursive_directory_iterator(ORMEL_DEMO_DIR)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".POT")
            continue; // the blend cache is made again when the bank is loaded
        const fs::path copy = folder.path() / "My Game" / fs::relative(entry.path(), ORMEL_DEMO_DIR);
        EXPECT_TRUE(fs::exists(copy)) << copy;
    }
    fs::current_path(folder.path() / "My Game");
    const K3xRun checked = k3x(folder, "check");
    EXPECT_EQ(checked.exitCode, 0) << checked.out;
    EXPECT_THAT(checked.out, HasSubstr("The game project is in order"));

    fs::current_path(folder.path());
    const K3xRun again = k3x(folder, "new-project 'My Game'");
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_THAT(again.err, HasSubstr("already exists and is not empty"));
    EXPECT_EQ(k3x(folder, "new-project").exitCode, 2);
    EXPECT_EQ(k3x(folder, "new-project other --from nowhere").exitCode, 1);
}

TEST(Ormel2Command, MakesTheProjectInTheHomeFolderOnceAndStartsTheProgramThere)
{
    const TempFolder folder;
    const std::string start = "env -u ORMEL2_PROJECT HOME='" + folder.path().string() + "/home' " + ORMEL2_COMMAND;
    fs::create_directory(folder.path() / "home");
    EXPECT_EQ(std::system((start + " k3x check >out.txt").c_str()), 0) << folder.read("out.txt");
    EXPECT_THAT(folder.read("out.txt"), HasSubstr("The game project is in order"));
    ASSERT_TRUE(folder.exists("home/Ormel2Project/game.ini"));

    // The second start keeps what the user changed.
    folder.write("home/Ormel2Project/game.ini", "[Game]\nGameTitle=Mine\n");
    EXPECT_EQ(std::system((start + " k3x info HOUSE.3DO >out.txt").c_str()), 0);
    EXPECT_THAT(folder.read("out.txt"), HasSubstr("HOUSE.3DO: 3D object"));
    EXPECT_EQ(folder.read("home/Ormel2Project/game.ini"), "[Game]\nGameTitle=Mine\n");

    EXPECT_NE(std::system((start + " NoSuchProgram 2>err.txt").c_str()), 0);
    EXPECT_THAT(folder.read("err.txt"), HasSubstr("is not a program of the suite"));
}
