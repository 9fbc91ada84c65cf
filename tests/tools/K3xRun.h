#pragma once
// Runs the built k3x (K3X_PATH) in the current folder, as a script would.
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <span>
#include <string>
#include <sys/wait.h>

struct K3xRun {
    int exitCode;
    std::string out, err;
};

// Runs k3x with `arguments` in the current folder; what it prints is kept in `folder`.
inline K3xRun k3x(const TempFolder& folder, const std::string& arguments)
{
    const std::string kept = folder.path().string() + "/k3x";
    std::string command = K3X_PATH;
    command += " " + arguments;
    command += " >'" + kept + ".out' 2>'" + kept + ".err'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, folder.read("k3x.out"), folder.read("k3x.err")};
}

// A wrong use of k3x: its arguments, the exit code it must end with and a text its error holds.
struct K3xRefusal {
    const char* arguments;
    int exitCode;
    const char* says;
};

inline void expectRefusals(const TempFolder& folder, std::span<const K3xRefusal> refusals)
{
    for (const K3xRefusal& refusal : refusals) {
        const K3xRun run = k3x(folder, refusal.arguments);
        EXPECT_EQ(run.exitCode, refusal.exitCode) << refusal.arguments;
        EXPECT_THAT(run.err, ::testing::HasSubstr(refusal.says)) << refusal.arguments;
    }
}
