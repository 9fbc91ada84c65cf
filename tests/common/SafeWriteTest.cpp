#include "Errors.h"
#include "SafeWrite.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(SafeWrite, ReplacesTheFileWhole)
{
    TempFolder folder;
    folder.write("doc.txt", "a much longer old content");
    WriteFileAtomically(folder.path() / "doc.txt", std::string_view("new"));
    EXPECT_EQ(folder.read("doc.txt"), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(SafeWrite, NewFilesGetUsualPermissions)
{
    TempFolder folder;
    const mode_t mask = ::umask(022);
    WriteFileAtomically(folder.path() / "doc.txt", std::string_view("x"));
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat((folder.path() / "doc.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST(SafeWrite, FailuresNameTheFileAndKeepTheOld)
{
    TempFolder folder;
    folder.write("doc.txt", "old");
    SetWriteFaultHook([](const std::filesystem::path&) { return true; });
    try {
        WriteFileAtomically(folder.path() / "doc.txt", std::string_view("new"));
        ADD_FAILURE() << "no error";
    } catch (const IoError& error) {
        EXPECT_NE(std::string(error.what()).find("doc.txt"), std::string::npos);
    }
    SetWriteFaultHook(nullptr);
    EXPECT_EQ(folder.read("doc.txt"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(SafeWrite, AFolderInTheWayIsAFailure)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.path() / "doc.txt" / "inner");
    EXPECT_THROW(WriteFileAtomically(folder.path() / "doc.txt", std::string_view("x")), IoError);
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "doc.txt" / "inner"));
}
