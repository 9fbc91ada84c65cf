#include "Errors.h"
#include "RecoveryStore.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::span<const std::uint8_t> bytesOf(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string description(std::int64_t process, const std::string& copy)
{
    return "Program=Tessaro3D\nOriginal=/home/ann/HOUSE.3DO\nSaved=2026-01-02T03:04:05Z\nProcess=" +
           std::to_string(process) + "\nCopy=" + copy + "\n";
}

} // namespace

TEST(RecoveryStore, ACopyLeftWithoutACleanExitIsPendingAtTheNextStart)
{
    TempFolder folder;
    {
        RecoveryStore crashed(folder.path() / "recovery", "Tessaro3D");
        crashed.Write(bytesOf("first"), "/home/ann/game/HOUSE.3DO", "3do");
        crashed.Write(bytesOf("second"), "/home/ann/game/HOUSE.3DO", "3do");
        EXPECT_TRUE(crashed.Holds());
    } // dropped: no Remove, as in a crash
    RecoveryStore(folder.path() / "recovery", "Pigmenta").Write(bytesOf("bank"), "", "def");

    const RecoveryStore next(folder.path() / "recovery", "Tessaro3D");
    const std::vector<PendingRecovery> pending = next.Pending();
    ASSERT_EQ(pending.size(), 1u); // the other program's copy is not offered here
    EXPECT_EQ(pending[0].damage, "");
    EXPECT_EQ(pending[0].about.program, "Tessaro3D");
    EXPECT_EQ(pending[0].about.original, "/home/ann/game/HOUSE.3DO");
    EXPECT_EQ(pending[0].about.process, ::getpid());
    EXPECT_EQ(pending[0].copy.extension(), ".3DO");
    EXPECT_EQ(folder.read(fs::relative(pending[0].copy, folder.path()).string()), "second");

    RecoveryStore::Delete(pending[0]);
    EXPECT_TRUE(next.Pending().empty());
}

TEST(RecoveryStore, RemoveLeavesNothingAndAnUntitledCopyTakesTheGivenExtension)
{
    TempFolder folder;
    RecoveryStore store(folder.path(), "Partiva");
    store.Write(bytesOf("x"), "", "ini");
    store.Write(bytesOf("y"), "/g/game.ini", "ini"); // named now: the old copy goes
    store.Write(bytesOf("z"), "/g/NOTES.TXT", "ini");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 2);
    store.Remove();
    EXPECT_FALSE(store.Holds());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 0);
    store.Remove(); // twice is harmless
}

TEST(RecoveryStore, WorkOfAnotherRunningCopyOfTheProgramIsNotOffered)
{
    TempFolder folder;
    folder.write("Tessaro3D-1-1-0.3do", "object");
    folder.write("Tessaro3D-1-1-0.recovery", description(1, "Tessaro3D-1-1-0.3do")); // process 1 always runs
    EXPECT_TRUE(ProcessIsRunning(1));
    EXPECT_TRUE(RecoveryStore(folder.path(), "Tessaro3D").Pending().empty());
}

TEST(RecoveryStore, AProgramKilledButNotYetCollectedRunsNoMore)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(0);
    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOWAIT), 0); // ended, still a zombie
    EXPECT_FALSE(ProcessIsRunning(child));
    ::waitpid(child, nullptr, 0);
}

TEST(RecoveryStore, DamagedRecoveriesAreListedWithTheReasonAndSetAside)
{
    TempFolder folder;
    const std::int64_t gone = 999999999; // above any process id the system gives
    EXPECT_FALSE(ProcessIsRunning(gone));
    const struct {
        std::string name;
        std::string text;
        std::string reason;
    } cases[] = {
        {"Tessaro3D-a.recovery", std::string("\0\xff garbage", 10), "no Program line"},
        {"Tessaro3D-b.recovery", description(gone, "Tessaro3D-b.3do"), "the recovery copy is missing"},
        {"Tessaro3D-c.recovery", description(gone, "../../etc/passwd"), "names no file of the recovery folder"},
        {"Tessaro3D-d.recovery", "Program=Tessaro3D\nOriginal=\nSaved=x\nProcess=many\nCopy=d.3do\n", "holds no number"},
    };
    for (const auto& c : cases)
        folder.write(c.name, c.text);
    const std::vector<PendingRecovery> pending = RecoveryStore(folder.path(), "Tessaro3D").Pending();
    ASSERT_EQ(pending.size(), std::size(cases));
    for (const PendingRecovery& recovery : pending) {
        const auto match = std::find_if(std::begin(cases), std::end(cases),
                                        [&](const auto& c) { return recovery.description.filename() == c.name; });
        ASSERT_NE(match, std::end(cases));
        EXPECT_NE(recovery.damage.find(match->reason), std::string::npos) << recovery.damage;
        EXPECT_NE(recovery.damage.find(folder.path().string()), std::string::npos) << "names the file";
        const fs::path aside = RecoveryStore::SetAside(recovery);
        EXPECT_EQ(aside.extension(), ".damaged");
        EXPECT_TRUE(fs::exists(aside));
    }
    EXPECT_TRUE(RecoveryStore(folder.path(), "Tessaro3D").Pending().empty());
}

TEST(RecoveryStore, PathsWithLineBreaksSurviveTheDescription)
{
    TempFolder folder;
    {
        RecoveryStore store(folder.path(), "Pigmenta");
        store.Write(bytesOf("bank"), "/odd\\name\nwith=break.def", "def");
    }
    const std::vector<PendingRecovery> pending = RecoveryStore(folder.path(), "Pigmenta").Pending();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].about.original, "/odd\\name\nwith=break.def");
}
