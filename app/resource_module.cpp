#include "app/resource_module.h"

namespace {
HMODULE g_resourceModule = nullptr;
}

HMODULE ResourceModule() {
    return g_resourceModule ? g_resourceModule : ::GetModuleHandleW(nullptr);
}

void SetResourceModule(HMODULE module) {
    g_resourceModule = module;
}
