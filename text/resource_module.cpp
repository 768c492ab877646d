#include "text/resource_module.h"

#include "win/this_module.h"

namespace {
HMODULE g_resourceModule = nullptr;
}

HMODULE ResourceModule() {
    return g_resourceModule ? g_resourceModule : ThisModule();
}

void SetResourceModule(HMODULE module) {
    g_resourceModule = module;
}
