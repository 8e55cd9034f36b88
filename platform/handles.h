// Opaque platform handles as the portable code sees them.
//
// The portable code never looks inside a handle; it only stores, compares and passes it back to
// the interface that made it. Win32 adapters convert to and from HANDLE, HWND and friends.
#pragma once

#include <cstdint>

using PlatformHandle = std::uintptr_t;

constexpr PlatformHandle kNoHandle = 0;
// CreateFile's INVALID_HANDLE_VALUE as an opaque value.
constexpr PlatformHandle kInvalidHandle = ~static_cast<PlatformHandle>(0);

using WindowHandle = PlatformHandle;   // HWND
using PrinterHandle = PlatformHandle;  // spooler HANDLE from OpenPrinter
using RegKeyHandle = PlatformHandle;   // HKEY
using DeviceHandle = PlatformHandle;   // HANDLE from CreateFile on a device
using ServiceHandle = PlatformHandle;  // SC_HANDLE
using NotifyHandle = PlatformHandle;   // HDEVNOTIFY
using ImageHandle = PlatformHandle;    // HICON / HCURSOR
using ThreadHandle = PlatformHandle;   // thread HANDLE

// The Win32 error codes the portable code decides on.
namespace win_error {
constexpr std::uint32_t kSuccess = 0;
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kInsufficientBuffer = 122;
constexpr std::uint32_t kAlreadyExists = 183;
constexpr std::uint32_t kMoreData = 234;
constexpr std::uint32_t kNoMoreItems = 259;
}  // namespace win_error
