#include "app/traversal/interactive_run.h"

namespace {

// Only the main thread runs dialogs and walks.
bool interactive = false;

}  // namespace

CInteractiveRun::CInteractiveRun() {
    interactive = true;
}

CInteractiveRun::~CInteractiveRun() {
    interactive = false;
}

bool CInteractiveRun::Active() {
    return interactive;
}
