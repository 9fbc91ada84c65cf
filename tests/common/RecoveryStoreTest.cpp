#include "Errors.h"
#include "RecoveryStore.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::span<const std::uint8_t> bytesOf(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string description(const std::string& saved, const std::string& copy)
{
    return "Program=Tessaro3D\nOriginal=/home/ann/" + copy + "\nSaved=" + saved + "\nCopy=" + copy + "\n";
}

// The lock files of the running programs: a lock is held until released; a program that is gone
// (crashed) had its locks dropped by the system, which a test does by hand.
struct Locks {
    std::set<fs::path> held;
    RecoveryLocks forStore()
    {
        return {[this](const fs::path& lock) { return held.insert(lock).second; },
                [this](const fs::path& lock) { held.erase(lock); }};
    }
};

mode_t modeOf(const fs::path& path)
{
    struct stat status {};
    ::lstat(path.c_str(), &status);
    return status.st_mode & 07777;
}

} // namespace

// A copy is pending once its program is gone (its lock dropped), for that program only, with the
// editor's details; taken, its lock is the taker's.
TEST(RecoveryStore, ACopyLeftWithoutACleanExitIsPendingWithItsDetails)
{
    TempFolder folder;
    Locks locks;
    const fs::path recovery = folder.path() / "Tessaro3D" / "recovery";
    RecoveryStore(recovery, "Tessaro3D", locks.forStore())
        .Write(bytesOf("object"), "/home/ann/game/HOUSE.3DO", "3do", {{"Bank", "/g/DEMO.DEF"}, {"Copy", "ignored"}});
    RecoveryStore(recovery, "Pigmenta", locks.forStore()).Write(bytesOf("bank"), "", "def");
    const RecoveryStore next(recovery, "Tessaro3D", locks.forStore());
    EXPECT_TRUE(next.Pending().empty()); // its program still runs
    locks.held.clear();                  // the programs are gone

    const std::vector<PendingRecovery> pending = next.Pending();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].damage, "");
    EXPECT_EQ(pending[0].about.original, "/home/ann/game/HOUSE.3DO");
    EXPECT_EQ(pending[0].about.details, (std::map<std::string, std::string>{{"Bank", "/g/DEMO.DEF"}}));
    EXPECT_EQ(folder.read(fs::relative(pending[0].copy, folder.path()).string()), "object");
    EXPECT_EQ(locks.held, std::set<fs::path>{pending[0].lock});
    next.Delete(pending[0]);
    EXPECT_TRUE(locks.held.empty());
    EXPECT_TRUE(next.Pending().empty());
}

TEST(RecoveryStore, RemoveLeavesNothingAndAnUntitledCopyTakesTheGivenExtension)
{
    TempFolder folder;
    Locks locks;
    RecoveryStore store(folder.path() / "p" / "recovery", "Partiva", locks.forStore());
    store.Write(bytesOf("x"), "", "ini");
    store.Write(bytesOf("y"), "/g/game.ini", "ini"); // named now: the old copy goes
    store.Write(bytesOf("z"), "/g/NOTES.TXT", "ini");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path() / "p" / "recovery"), {}), 2);
    store.Remove();
    EXPECT_FALSE(store.Holds());
    EXPECT_TRUE(locks.held.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path() / "p" / "recovery"), {}), 0);
    store.Remove(); // twice is harmless
}

// Other users never read the work: the folders are 0700 and the copies 0600 whatever the umask;
// a folder that is a link or another user's is refused, and nothing is written there.
TEST(RecoveryStore, TheFolderAndTheCopiesArePrivate)
{
    TempFolder folder;
    Locks locks;
    fs::create_directories(folder.path() / "open" / "recovery");
    fs::permissions(folder.path() / "open", fs::perms::all);
    const mode_t mask = ::umask(0);
    RecoveryStore(folder.path() / "open" / "recovery", "Tessaro3D", locks.forStore()).Write(bytesOf("secret"), "", "3do");
    ::umask(mask);
    for (const fs::path& made : {folder.path() / "open", folder.path() / "open" / "recovery"})
        EXPECT_EQ(modeOf(made), 0700u) << made;
    for (const auto& entry : fs::directory_iterator(folder.path() / "open" / "recovery"))
        EXPECT_EQ(modeOf(entry.path()), 0600u) << entry.path();

    fs::create_directories(folder.path() / "elsewhere");
    fs::create_directories(folder.path() / "linked");
    fs::create_directory_symlink(folder.path() / "elsewhere", folder.path() / "linked" / "recovery");
    fs::create_directories(folder.path() / "theirs" / "recovery");
    const bool root = ::geteuid() == 0 && ::chown((folder.path() / "theirs" / "recovery").c_str(), 65534, 65534) == 0;
    for (const std::string refused : {"linked", "theirs"}) {
        if (refused == "theirs" && !root)
            continue; // giving a folder to another user needs root
        const fs::path where = folder.path() / refused / "recovery";
        EXPECT_THROW(RecoveryStore(where, "Tessaro3D", locks.forStore()).Pending(), IoError);
        try {
            RecoveryStore(where, "Tessaro3D", locks.forStore()).Write(bytesOf("secret"), "", "3do");
            ADD_FAILURE() << refused << " was written";
        } catch (const IoError& error) {
            EXPECT_THAT(error.what(), ::testing::HasSubstr(where.string() + (refused == "linked" ? " is a symbolic link"
                                                                                                  : " belongs to another user")));
        }
        EXPECT_TRUE(fs::is_empty(where));
    }
}

TEST(RecoveryStore, DamagedRecoveriesAreListedWithTheReasonAndSetAside)
{
    TempFolder folder;
    const struct {
        std::string name;
        std::string text;
        std::string reason;
    } cases[] = {
        {"Tessaro3D-a.recovery", std::string("\0\xff garbage", 10), "no Program line"},
        {"Tessaro3D-b.recovery", description("2026-01-02T03:04:05Z", "Tessaro3D-b.3do"), "the recovery copy is missing"},
        {"Tessaro3D-c.recovery", description("2026-01-02T03:04:05Z", "../outside.3do"), "names no file of the recovery folder"},
        {"Tessaro3D-d.recovery", "Program=Tessaro3D\nOriginal=\nSaved=x\n", "no Copy line"},
    };
    for (const auto& c : cases)
        folder.write("r/" + c.name, c.text);
    folder.write("outside.3do", "not the recovery's"); // set aside with it, it would be renamed
    Locks locks;
    const RecoveryStore store(folder.path() / "r", "Tessaro3D", locks.forStore());
    const std::vector<PendingRecovery> pending = store.Pending();
    ASSERT_EQ(pending.size(), std::size(cases));
    for (const PendingRecovery& recovery : pending) {
        const auto match = std::find_if(std::begin(cases), std::end(cases),
                                        [&](const auto& c) { return recovery.description.filename() == c.name; });
        ASSERT_NE(match, std::end(cases));
        EXPECT_NE(recovery.damage.find(match->reason), std::string::npos) << recovery.damage;
        EXPECT_NE(recovery.damage.find(folder.path().string()), std::string::npos) << "names the file";
        const fs::path aside = store.SetAside(recovery);
        EXPECT_EQ(aside.extension(), ".damaged");
        EXPECT_TRUE(fs::exists(aside));
    }
    EXPECT_TRUE(locks.held.empty());
    EXPECT_TRUE(store.Pending().empty());
    EXPECT_TRUE(folder.exists("outside.3do"));
}

TEST(RecoveryStore, PathsWithLineBreaksSurviveTheDescription)
{
    TempFolder folder;
    Locks locks;
    {
        RecoveryStore store(folder.path() / "r", "Pigmenta", locks.forStore());
        store.Write(bytesOf("bank"), "/odd\\name\nwith=break.def", "def", {{"Note", "two\nlines\\"}});
    }
    locks.held.clear();
    const std::vector<PendingRecovery> pending = RecoveryStore(folder.path() / "r", "Pigmenta", locks.forStore()).Pending();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].about.original, "/odd\\name\nwith=break.def");
    EXPECT_EQ(pending[0].about.details.at("Note"), "two\nlines\\");
}
