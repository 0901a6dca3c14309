// The system registry as the registry seam sees it (Windows builds only).
// The Windows program passes OpenWin32RegistryKey as its TRegistryOpener.
#pragma once

#include <memory>
#include <string>

#include "platform/Registry.h"

std::unique_ptr<IRegistryKey> OpenWin32RegistryKey(TRegistryRoot Root, const std::string& Path, TRegistryAccess Access);
