#pragma once
#include <windows.h>

#include <span>

#include "core/registration/registry_script.h"

// Runs the registration script that a module carries as a "REGISTRY" resource (its language
// is in core/registration/registry_script.h; the text is ASCII). Registering writes every key and value,
// deleting a ForceRemove key with everything below it first; the first failure ends the run
// with its code and leaves what was written. Unregistering deletes a ForceRemove key with
// everything below it, and another key once the script's own sub-keys are gone, unless it is
// NoRemove or still holds sub-keys of other programs: such a key stays and loses only the
// script's named values. What is already missing is no failure there. A missing resource is
// HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND), one that does not parse
// HRESULT_FROM_WIN32(ERROR_INVALID_DATA).
HRESULT RunRegistrationScript(HMODULE module, UINT resourceId, bool registering,
                              std::span<const core::ScriptReplacement> replacements);
