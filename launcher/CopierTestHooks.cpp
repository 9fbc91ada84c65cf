#include "CopierTestHooks.h"

namespace {

DeleteFaultHook deleteFaultHook = nullptr;

} // namespace

void SetDeleteFaultHook(DeleteFaultHook hook) { deleteFaultHook = hook; }

bool DeleteFaultInjected(const std::string& name) { return deleteFaultHook && deleteFaultHook(name); }
