// Conversions between the portable opaque handles and Win32 handle types, for the adapters.
#pragma once

#include <windows.h>

#include "platform/handles.h"

template <class T>
T FromPlatform(PlatformHandle handle) {
  return reinterpret_cast<T>(handle);
}

template <class T>
PlatformHandle ToPlatform(T handle) {
  return reinterpret_cast<PlatformHandle>(handle);
}
