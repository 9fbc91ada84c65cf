#pragma once
// Runs the built k3x (K3X_PATH) in the current folder, as a script would.
#include "TempFolder.h"

#include <cstdlib>
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
