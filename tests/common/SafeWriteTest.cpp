#include "Errors.h"
#include "SafeWrite.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

TEST(SafeWrite, ThroughLinksTheFileTheyNameIsWrittenAndTheLinksKept)
{
    TempFolder folder;
    namespace fs = std::filesystem;
    fs::create_directory(folder.path() / "real");
    folder.write("real/Ormel2.ini", "old");
    fs::create_symlink("real/Ormel2.ini", folder.path() / "middle.ini"); // relative, from the link's folder
    fs::create_symlink(folder.path() / "middle.ini", folder.path() / "Ormel2.ini");
    fs::create_symlink("real/new.ini", folder.path() / "dangling.ini");

    WriteFileAtomically(folder.path() / "Ormel2.ini", std::string_view("new"));
    WriteFileAtomically(folder.path() / "dangling.ini", std::string_view("made"));

    EXPECT_TRUE(fs::is_symlink(folder.path() / "Ormel2.ini"));
    EXPECT_TRUE(fs::is_symlink(folder.path() / "middle.ini"));
    EXPECT_TRUE(fs::is_symlink(folder.path() / "dangling.ini"));
    EXPECT_EQ(folder.read("real/Ormel2.ini"), "new");
    EXPECT_EQ(folder.read("real/new.ini"), "made");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path() / "real"), {}), 2) << "no temporary file left";
}

TEST(SafeWrite, AnExistingFileKeepsItsPermissions)
{
    TempFolder folder;
    for (const mode_t mode : {0600u, 0640u, 0444u}) {
        const auto file = folder.write("doc.txt", "old");
        ASSERT_EQ(::chmod(file.c_str(), mode), 0);
        if (::geteuid() != 0 && (mode & 0200) == 0)
            continue; // only a privileged user may write it
        WriteFileAtomically(file, std::string_view("new"));
        struct stat info {};
        ASSERT_EQ(::stat(file.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode);
        EXPECT_EQ(folder.read("doc.txt"), "new");
    }
}

// The save is tried by a user without the privileges the tests may run with (they run as root in
// CI): a child process takes the identity of "nobody", who owns the folder and a read-only file.
TEST(SafeWrite, AFileTheUserMayNotWriteIsNotReplaced)
{
    TempFolder folder;
    const auto file = folder.write("shared/game.ini", "old");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    uid_t uid = ::geteuid();
    gid_t gid = ::getegid();
    if (uid == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        if (nobody == nullptr)
            GTEST_SKIP() << "no user \"nobody\" to save as without privileges";
        uid = nobody->pw_uid;
        gid = nobody->pw_gid;
        ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
        ASSERT_EQ(::chown(file.parent_path().c_str(), uid, gid), 0);
        ASSERT_EQ(::chown(file.c_str(), uid, gid), 0);
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(gid) != 0 || ::setuid(uid) != 0)
            ::_exit(3);
        try {
            WriteFileAtomically(file, std::string_view("new"));
            ::_exit(1); // replaced
        } catch (const IoError& error) {
            const bool named = std::string(error.what()).find("game.ini: Permission denied") != std::string::npos;
            ::_exit(named ? 0 : 2);
        }
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 3)
        GTEST_SKIP() << "cannot take the identity of an unprivileged user here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the file was replaced; 2: the message did not say why";
    EXPECT_EQ(folder.read("shared/game.ini"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), {}), 1) << "no temporary file left";
}
