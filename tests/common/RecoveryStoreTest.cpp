#include "Errors.h"
#include "RecoveryStore.h"
#include "TempFolder.h"

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

TEST(RecoveryStore, ACopyLeftWithoutACleanExitIsPendingWithItsDetails)
{
    TempFolder folder;
    Locks locks;
    {
        RecoveryStore crashed(folder.path() / "Tessaro3D" / "recovery", "Tessaro3D", locks.forStore());
        crashed.Write(bytesOf("first"), "/home/ann/game/HOUSE.3DO", "3do");
        crashed.Write(bytesOf("second"), "/home/ann/game/HOUSE.3DO", "3do",
                      {{"Bank", "/home/ann/game/DEMO.DEF"}, {"View", "1 -2 300"}, {"Copy", "ignored"}});
        EXPECT_TRUE(crashed.Holds());
        RecoveryStore other(folder.path() / "Tessaro3D" / "recovery", "Pigmenta", locks.forStore());
        other.Write(bytesOf("bank"), "", "def");
        EXPECT_EQ(locks.held.size(), 2u);
        const RecoveryStore next(folder.path() / "Tessaro3D" / "recovery", "Tessaro3D", locks.forStore());
        EXPECT_TRUE(next.Pending().empty()); // its program still runs
    }
    locks.held.clear(); // the programs are gone

    const RecoveryStore next(folder.path() / "Tessaro3D" / "recovery", "Tessaro3D", locks.forStore());
    const std::vector<PendingRecovery> pending = next.Pending();
    ASSERT_EQ(pending.size(), 1u); // the other program's copy is not offered here
    EXPECT_EQ(pending[0].damage, "");
    EXPECT_EQ(pending[0].about.program, "Tessaro3D");
    EXPECT_EQ(pending[0].about.original, "/home/ann/game/HOUSE.3DO");
    EXPECT_EQ(pending[0].about.details,
              (std::map<std::string, std::string>{{"Bank", "/home/ann/game/DEMO.DEF"}, {"View", "1 -2 300"}}));
    EXPECT_EQ(pending[0].copy.extension(), ".3DO");
    EXPECT_EQ(folder.read(fs::relative(pending[0].copy, folder.path()).string()), "second");
    EXPECT_EQ(locks.held, std::set<fs::path>{pending[0].lock}); // now this program's

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
    const mode_t mask = ::umask(0);
    fs::create_directories(folder.path() / "open" / "recovery");
    fs::permissions(folder.path() / "open", fs::perms::all);
    RecoveryStore store(folder.path() / "open" / "recovery", "Tessaro3D", locks.forStore());
    store.Write(bytesOf("secret"), "/home/ann/private/HOUSE.3DO", "3do");
    RecoveryStore fresh(folder.path() / "new" / "recovery", "Tessaro3D", locks.forStore());
    fresh.Write(bytesOf("secret"), "", "3do");
    ::umask(mask);
    for (const fs::path& made : {folder.path() / "open", folder.path() / "open" / "recovery", folder.path() / "new",
                                 folder.path() / "new" / "recovery"})
        EXPECT_EQ(modeOf(made), 0700u) << made;
    for (const auto& entry : fs::directory_iterator(folder.path() / "open" / "recovery"))
        EXPECT_EQ(modeOf(entry.path()), 0600u) << entry.path();

    fs::create_directories(folder.path() / "elsewhere");
    fs::create_directories(folder.path() / "linked");
    fs::create_directory_symlink(folder.path() / "elsewhere", folder.path() / "linked" / "recovery");
    RecoveryStore linked(folder.path() / "linked" / "recovery", "Tessaro3D", locks.forStore());
    try {
        linked.Write(bytesOf("secret"), "", "3do");
        ADD_FAILURE() << "a linked folder was written";
    } catch (const IoError& error) {
        EXPECT_NE(std::string(error.what()).find((folder.path() / "linked" / "recovery").string() + " is a symbolic link"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_THROW(linked.Pending(), IoError);
    EXPECT_TRUE(fs::is_empty(folder.path() / "elsewhere"));

    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a folder to another user needs root";
    fs::create_directories(folder.path() / "theirs" / "recovery");
    ASSERT_EQ(::chown((folder.path() / "theirs" / "recovery").c_str(), 65534, 65534), 0);
    RecoveryStore theirs(folder.path() / "theirs" / "recovery", "Tessaro3D", locks.forStore());
    EXPECT_THROW(theirs.Write(bytesOf("secret"), "", "3do"), IoError);
    EXPECT_TRUE(fs::is_empty(folder.path() / "theirs" / "recovery"));
}

// Several copies left by programs gone, of different times and programs: this program's come
// oldest first; once taken by one run, another run at the same time is not offered them; left for
// later, they are offered again; deleted, never.
TEST(RecoveryStore, SeveralPendingCopiesComeOldestFirstAndOnceAtATime)
{
    TempFolder folder;
    const struct {
        std::string id;
        std::string saved;
    } left[] = {{"Tessaro3D-1-a", "2026-01-03T10:00:00Z"}, {"Tessaro3D-2-b", "2026-01-01T10:00:00Z"},
                {"Pigmenta-3-c", "2026-01-02T10:00:00Z"},  {"Tessaro3D-4-d", "2026-01-02T09:59:59Z"},
                {"Tessaro3D-5-e", "2026-01-02T09:59:59Z"}};
    for (const auto& copy : left) {
        folder.write("r/" + copy.id + ".3do", copy.id);
        folder.write("r/" + copy.id + ".recovery", description(copy.saved, copy.id + ".3do"));
    }
    Locks locks;
    const RecoveryStore first(folder.path() / "r", "Tessaro3D", locks.forStore());
    const RecoveryStore second(folder.path() / "r", "Tessaro3D", locks.forStore());
    const std::vector<PendingRecovery> offered = first.Pending();
    std::vector<std::string> order;
    for (const PendingRecovery& recovery : offered)
        order.push_back(recovery.copy.stem().string());
    EXPECT_EQ(order, (std::vector<std::string>{"Tessaro3D-2-b", "Tessaro3D-4-d", "Tessaro3D-5-e", "Tessaro3D-1-a"}));
    EXPECT_TRUE(second.Pending().empty());

    first.Leave(offered[0]);
    first.Delete(offered[1]);
    const std::vector<PendingRecovery> again = second.Pending();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].copy.stem(), "Tessaro3D-2-b");
    for (const PendingRecovery& recovery : {offered[2], offered[3], again[0]})
        first.Leave(recovery);
    EXPECT_EQ(second.Pending().size(), 3u);
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
        {"Tessaro3D-c.recovery", description("2026-01-02T03:04:05Z", "../../etc/passwd"), "names no file of the recovery folder"},
        {"Tessaro3D-d.recovery", "Program=Tessaro3D\nOriginal=\nSaved=x\n", "no Copy line"},
    };
    for (const auto& c : cases)
        folder.write("r/" + c.name, c.text);
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
