#pragma once
// Faults that tests inject into the copier: a file the system refuses to delete cannot be made
// on demand, so a test names it through this hook.
#include <string>

// When set and answering true for a file, DeleteOneFile leaves it and reports failure.
using DeleteFaultHook = bool (*)(const std::string& name);
void SetDeleteFaultHook(DeleteFaultHook hook);

// True when a test has made deleting `name` fail.
bool DeleteFaultInjected(const std::string& name);
