#include "PipeWatch.h"
#include "SafeWrite.h"
#include "TempFolder.h"
#include "dircpy.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using Report = std::pair<int, int>;

const std::string MissingMemo =
    "Error : you must assign an exsisting TMemo to memo property,\rbefore setting ShowProgressOnMemo = True";

// A copier that records its progress reports and errors.
struct Recorder {
    TFileCopyNew copier;
    std::vector<Report> reports;
    std::vector<std::string> errors;

    Recorder()
    {
        copier.OnCopyProgress = [this](TFileCopyNew&, std::uint16_t read, std::uint16_t written) {
            reports.emplace_back(read, written);
        };
        copier.OnError = [this](TFileCopyNew&, const std::string& message) { errors.push_back(message); };
    }
};

std::string bytes(std::size_t size)
{
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>(i * 7 + i / 251);
    return text;
}

// What a copy passed over, and why.
struct SkipRecorder {
    std::vector<std::string> special, repeated;

    void attach(TFileCopyNew& copier)
    {
        copier.OnSkipped = [this](TFileCopyNew&, const std::string& name, TSkipReason why) {
            (why == TSkipReason::SpecialFile ? special : repeated).push_back(name);
        };
    }
};

std::vector<std::string> filesBelow(const fs::path& folder)
{
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (!entry.is_directory())
            files.push_back(fs::relative(entry.path(), folder).generic_string());
    std::ranges::sort(files);
    return files;
}

} // namespace

TEST(CopyOneFile, ReportsTwicePerBlockThenOneHundred)
{
    const struct {
        std::size_t size;
        std::vector<Report> reports;
    } cases[] = {
        {16384, {{100, 0}, {100, 100}, {200, 100}, {200, 200}, {100, 100}}},
        {20000, {{81, 0}, {81, 81}, {163, 81}, {163, 163}, {245, 163}, {245, 245}, {100, 100}}},
        {0, {{100, 100}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        TempFolder folder;
        folder.write("SOURCE.DAT", bytes(c.size));
        Recorder recorder;
        EXPECT_TRUE(recorder.copier.CopyOneFile("SOURCE.DAT", "TARGET.DAT"));
        EXPECT_EQ(recorder.reports, c.reports);
        EXPECT_EQ(folder.read("TARGET.DAT"), bytes(c.size));
        EXPECT_THAT(recorder.errors, IsEmpty());
    }
}

TEST(CopyOneFile, RefusesToCopyAFileOntoItselfUnderAnyName)
{
    TempFolder folder;
    folder.write("A/X.DAT", "precious");
    fs::create_directory_symlink(folder.path() / "A", folder.path() / "LINK");
    for (const std::string target : {"A/X.DAT", "./A/X.DAT", "LINK/X.DAT"}) {
        Recorder recorder;
        EXPECT_FALSE(recorder.copier.CopyOneFile("A/X.DAT", target));
        EXPECT_THAT(recorder.errors, ElementsAre("Error !!!\rI can't copy A/X.DAT on itself"));
    }
    EXPECT_EQ(folder.read("A/X.DAT"), "precious");
}

TEST(CopyOneFile, ReportsEachFailureWithItsMessage)
{
    TempFolder folder;
    folder.write("X.DAT", bytes(100));
    fs::create_directory(folder.path() / "FOLDER");
    int beeps = 0;
    SetMessageBeep([&beeps] { ++beeps; });
    const struct {
        const char* source;
        const char* target;
        std::string message;
    } cases[] = {
        {"NONE.DAT", "Y.DAT", "NONE.DAT missing or corrupted or opened for exclusive use"},
        {"FOLDER", "Y.DAT", "FOLDER missing or corrupted or opened for exclusive use"},
        {"X.DAT", "NO/SUCH/Y.DAT", "Error on creating NO/SUCH/Y.DAT"},
    };
    for (const auto& c : cases) {
        Recorder recorder;
        EXPECT_FALSE(recorder.copier.CopyOneFile(c.source, c.target)) << c.source;
        EXPECT_THAT(recorder.errors, ElementsAre(c.message));
    }
    SetMessageBeep({});
    EXPECT_EQ(beeps, 2); // once per source that could not be opened
    EXPECT_FALSE(folder.exists("Y.DAT"));
}

TEST(CopyOneFile, AFailedWriteKeepsTheOldTargetWholeAndLeavesNothingElse)
{
    TempFolder folder;
    folder.write("X.DAT", bytes(3 * CopyBlockSize + 5));
    folder.write("Y.DAT", "the old copy");
    SetWriteFaultHook([](const fs::path&) { return true; }); // the disk fills up at the end
    Recorder recorder;
    EXPECT_FALSE(recorder.copier.CopyOneFile("X.DAT", "Y.DAT"));
    SetWriteFaultHook(nullptr);
    EXPECT_THAT(recorder.errors, ElementsAre("Write error on \rY.DAT\rCopy failed."));
    EXPECT_EQ(folder.read("Y.DAT"), "the old copy");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 2) << "no temporary file left";
    EXPECT_TRUE(recorder.copier.FileInProgress().empty());
}

TEST(CopyOneFile, ANoFromOnOverridingKeepsTheTarget)
{
    TempFolder folder;
    folder.write("NEW.DAT", "new");
    for (const bool answer : {false, true}) {
        folder.write("OLD.DAT", "old");
        Recorder recorder;
        int asked = 0;
        recorder.copier.OnOverriding = [&](TFileCopyNew&, bool& CanOverride) {
            EXPECT_FALSE(CanOverride);
            ++asked;
            CanOverride = answer;
        };
        EXPECT_TRUE(recorder.copier.CopyOneFile("NEW.DAT", "OLD.DAT"));
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(folder.read("OLD.DAT"), answer ? "new" : "old");
    }
    // Without a handler an existing target is written.
    folder.write("OLD.DAT", "old");
    EXPECT_TRUE(TFileCopyNew().CopyOneFile("NEW.DAT", "OLD.DAT"));
    EXPECT_EQ(folder.read("OLD.DAT"), "new");
}

TEST(CopyOneFile, ProgramsStayStartable)
{
    TempFolder folder;
    folder.write("PLAYER", "#!/bin/sh\n");
    fs::permissions(folder.path() / "PLAYER", fs::perms::owner_exec, fs::perm_options::add);
    folder.write("DATA", "data");
    TFileCopyNew copier;
    ASSERT_TRUE(copier.CopyOneFile("PLAYER", "PLAYER2"));
    ASSERT_TRUE(copier.CopyOneFile("DATA", "DATA2"));
    EXPECT_NE(fs::status("PLAYER2").permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_EQ(fs::status("DATA2").permissions() & fs::perms::owner_exec, fs::perms::none);
}

TEST(CopyFiles, StopsAtTheFirstSubfolderWhenTheTargetLiesInsideTheSource)
{
    TempFolder folder;
    folder.write("A/ONE.DAT", "1");
    folder.write("A/SUB/TWO.DAT", "2");
    fs::create_directory_symlink(folder.path() / "A", folder.path() / "LINK");
    // The last target names A/B through a link, which a comparison of texts would miss.
    for (const std::string target : {"A/B/*.*", "LINK/B/*.*"}) {
        SCOPED_TRACE(target);
        Recorder recorder;
        recorder.copier.IncludeSubFolders = true;
        recorder.copier.ShowProgressOnMemo = false;
        EXPECT_FALSE(recorder.copier.CopyFiles("A/*.*", target));
        EXPECT_THAT(recorder.errors, ElementsAre("ERROR : folder recursion\r\rCan't copy !"));
        EXPECT_FALSE(folder.exists("A/B/SUB"));
    }
}

TEST(CopyFiles, EmptySubfoldersAndHiddenFilesArrive)
{
    TempFolder folder;
    folder.write("SRC/.hidden", "h");
    folder.write("SRC/LEVELS/ONE.LEV", "1");
    fs::create_directories(folder.path() / "SRC/EMPTY/DEEPER");
    EXPECT_TRUE(CopyFolder("SRC", "OUT/GAME/"));
    EXPECT_EQ(folder.read("OUT/GAME/.hidden"), "h");
    EXPECT_EQ(folder.read("OUT/GAME/LEVELS/ONE.LEV"), "1");
    EXPECT_TRUE(FolderExists("OUT/GAME/EMPTY/DEEPER"));
}

TEST(CopyFiles, AMaskMatchingNothingSucceedsAndCreatesNothing)
{
    TempFolder folder;
    folder.write("SRC/A.DAT", "a");
    Recorder recorder;
    EXPECT_TRUE(recorder.copier.CopyFiles("SRC/*.PCX", "OUT/*.*"));
    EXPECT_FALSE(folder.exists("OUT"));
    EXPECT_TRUE(recorder.copier.CopyFiles("MISSING/*.*", "OUT/*.*"));
    EXPECT_FALSE(folder.exists("OUT"));
}

TEST(CopyFiles, ALinkedFolderLeadingBackUpIsNotFollowed)
{
    TempFolder folder;
    folder.write("SRC/A.DAT", "a");
    fs::create_directory_symlink(folder.path() / "SRC", folder.path() / "SRC/LOOP");
    fs::create_directory_symlink(folder.path(), folder.path() / "SRC/UP"); // holds SRC
    fs::create_directory_symlink(folder.path() / "ELSEWHERE", folder.path() / "SRC/DATA");
    folder.write("ELSEWHERE/B.DAT", "b");
    TMemo memo;
    TFileCopyNew copier;
    copier.IncludeSubFolders = true;
    copier.Memo = &memo;
    SkipRecorder skipped;
    skipped.attach(copier);
    EXPECT_TRUE(copier.CopyFiles("SRC/*.*", "OUT/*.*"));
    EXPECT_THAT(filesBelow("OUT"), ElementsAre("A.DAT", "DATA/B.DAT")); // a link elsewhere is copied as a folder
    EXPECT_THAT(skipped.repeated, ::testing::UnorderedElementsAre("SRC/LOOP", "SRC/UP"));
    EXPECT_THAT(memo.Lines, ::testing::Each(::testing::StartsWith("Ok - ")));
}

TEST(CopyFiles, LinkedFoldersPointingAtEachOtherAreEnteredOnce)
{
    // X holds a link to Y and Y one to X: each folder's files arrive once through the real
    // folder and at most once more through the link that reached it first.
    TempFolder folder;
    folder.write("SRC/X/A.DAT", "a");
    folder.write("SRC/Y/B.DAT", "b");
    fs::create_directory_symlink("../Y", folder.path() / "SRC/X/TO_Y");
    fs::create_directory_symlink("../X", folder.path() / "SRC/Y/TO_X");
    TFileCopyNew copier;
    copier.IncludeSubFolders = true;
    copier.ShowProgressOnMemo = false;
    SkipRecorder skipped;
    skipped.attach(copier);
    EXPECT_TRUE(copier.CopyFiles("SRC/*.*", "OUT/*.*"));
    const std::vector<std::string> files = filesBelow("OUT");
    EXPECT_EQ(files.size(), 3u) << ::testing::PrintToString(files);
    EXPECT_THAT(files, ::testing::IsSupersetOf({"X/A.DAT", "Y/B.DAT"}));
    EXPECT_EQ(skipped.repeated.size(), 2u);
}

TEST(CopyFiles, PipesSocketsAndDevicesAreSkippedWithoutBeingOpened)
{
    TempFolder folder;
    folder.write("SRC/A.DAT", "a");
    const fs::path pipe = folder.path() / "SRC/PIPE";
    MakePipe(pipe);
    fs::create_symlink(pipe, folder.path() / "SRC/TO_PIPE");
    fs::create_symlink("/dev/null", folder.path() / "SRC/NULL");
    TFileCopyNew copier;
    copier.IncludeSubFolders = true;
    copier.ShowProgressOnMemo = false;
    SkipRecorder skipped;
    skipped.attach(copier);
    std::vector<std::string> errors;
    copier.OnError = [&errors](TFileCopyNew&, const std::string& message) { errors.push_back(message); };
    bool result = false;
    EXPECT_TRUE(FinishesWithoutOpening(pipe, [&] { result = copier.CopyFiles("SRC/*.*", "OUT/*.*"); }));
    EXPECT_TRUE(result);
    EXPECT_THAT(skipped.special, ::testing::UnorderedElementsAre("SRC/PIPE", "SRC/TO_PIPE", "SRC/NULL"));
    EXPECT_THAT(filesBelow("OUT"), ElementsAre("A.DAT"));
    EXPECT_THAT(errors, IsEmpty());

    // Named one by one, they are refused with a message.
    EXPECT_TRUE(FinishesWithoutOpening(pipe, [&] { result = copier.CopyOneFile("SRC/PIPE", "OUT/PIPE"); }));
    EXPECT_FALSE(result);
    EXPECT_THAT(errors, ElementsAre("SRC/PIPE is a named pipe, socket or device: not copied"));
}

TEST(CopyFiles, ProgressLinesGoToTheMemoOrTheMissingMemoMessageOncePerFile)
{
    TempFolder folder;
    folder.write("SRC/A.DAT", "a");
    folder.write("SRC/B.DAT", "b");
    folder.write("SRC/C.DAT", "c");
    Recorder recorder;
    EXPECT_TRUE(recorder.copier.CopyFiles("SRC/*.DAT", "OUT/"));
    EXPECT_THAT(recorder.errors, ElementsAre(MissingMemo, MissingMemo, MissingMemo));

    TMemo memo;
    TFileCopyNew copier;
    copier.Memo = &memo;
    EXPECT_TRUE(copier.CopyFiles("SRC/B.DAT", "OUT/B2.DAT"));
    EXPECT_FALSE(copier.CopyFiles("SRC/NONE.DAT", "OUT/N.DAT"));
    EXPECT_TRUE(copier.CopyFiles("SRC/A*", "OUT/"));
    EXPECT_THAT(memo.Lines, ElementsAre("Ok - SRC/B.DAT", "failed - SRC/NONE.DAT", "Ok - SRC/A.DAT"));
}

TEST(Execute, NeedsBothNames)
{
    TempFolder folder;
    folder.write("SRC/A.DAT", "a");
    const struct {
        const char* source;
        const char* target;
        std::vector<std::string> errors;
    } cases[] = {
        {"", "OUT/*.*", {"I can't copy\rSource File name missing"}},
        {"SRC/*.*", "", {"I can't copy\rTarget File name missing"}},
        {"SRC/NONE.DAT", "OUT/NONE.DAT",
         {"SRC/NONE.DAT missing or corrupted or opened for exclusive use",
          "Execution failed :\r\rSRC/NONE.DAT -> OUT/NONE.DAT"}},
    };
    for (const auto& c : cases) {
        Recorder recorder;
        recorder.copier.SourceFile = c.source;
        recorder.copier.TargetFile = c.target;
        recorder.copier.Execute();
        EXPECT_EQ(recorder.errors, c.errors);
    }
    EXPECT_FALSE(folder.exists("OUT"));
}

TEST(DeleteFilesOfType, MatchesTheLastFourCharactersWithoutRegardToCase)
{
    TempFolder folder;
    for (const char* name : {"PIC.bmp", "PIC.BMP", "PIC.jpeg", "ABMP", "SUB/DEEP.Bmp", "SUB/KEEP.PCX"})
        folder.write(name, "x");
    TFileCopyNew copier;
    copier.IncludeSubFolders = true;
    copier.ShowProgressOnMemo = false;
    EXPECT_TRUE(copier.DeleteFilesOfType("*.*", ".BMP", false));
    for (const char* gone : {"PIC.bmp", "PIC.BMP", "SUB/DEEP.Bmp"})
        EXPECT_FALSE(folder.exists(gone)) << gone;
    for (const char* kept : {"PIC.jpeg", "ABMP", "SUB/KEEP.PCX"})
        EXPECT_TRUE(folder.exists(kept)) << kept;
    // A name without a wildcard is deleted whatever its extension.
    EXPECT_TRUE(copier.DeleteFilesOfType("PIC.jpeg", ".BMP", false));
    EXPECT_FALSE(folder.exists("PIC.jpeg"));
}

TEST(DeleteFolder, RemovesTheWholeTreeButNotWhatALinkLeadsTo)
{
    TempFolder folder;
    folder.write("OUT/A.DAT", "a");
    folder.write("OUT/SUB/.hidden", "h");
    fs::create_directories(folder.path() / "OUT/EMPTY");
    folder.write("PRECIOUS/KEEP.DAT", "k");
    fs::create_directory_symlink(folder.path() / "PRECIOUS", folder.path() / "OUT/SUB/LINK");
    EXPECT_TRUE(DeleteFolder("OUT/"));
    EXPECT_FALSE(folder.exists("OUT"));
    EXPECT_EQ(folder.read("PRECIOUS/KEEP.DAT"), "k");
    EXPECT_TRUE(DeleteFolder("NEVER_THERE"));
}

TEST(ForceFolders, CreatesEveryMissingParent)
{
    TempFolder folder;
    EXPECT_TRUE(ForceFolders("A/B/C/"));
    EXPECT_TRUE(FolderExists("A/B/C"));
    EXPECT_TRUE(ForceFolders("A/B"));
    folder.write("FILE", "x");
    EXPECT_FALSE(ForceFolders("FILE/SUB"));
    EXPECT_FALSE(FolderExists("FILE"));
    EXPECT_THROW(ForceFolders(""), std::exception);
}
