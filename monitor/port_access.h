// Reading the parallel port's status register through the port I/O driver "hwinterface".
//
// The operating system family decides the access mode; the driver's device is opened, and the
// driver started or installed as a kernel driver service when it cannot be; the port's status
// register address is found through the device inventory and the port's resource list in the
// registry; one byte is read per status timer tick.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/files.h"
#include "platform/inventory.h"
#include "platform/port_io.h"
#include "platform/registry.h"
#include "platform/services.h"

// Process-wide port access values.
extern int g_portAccessMode;           // 0 none (reads yield 0), 1 direct, 2 through the driver
extern DeviceHandle g_hPortDriver;     // kNoHandle before the first open, kInvalidHandle after a failed one
extern std::string LptLabel;           // port tag "(LPT1)".., then the port's PNPDeviceID
extern std::uint16_t LptStatusPort;    // base address + 1

constexpr const char* kPortDriverDevicePath = "\\\\.\\hwinterface";
constexpr const char* kPortDriverServiceName = "hwinterface";
constexpr const char* kPortDriverFileSuffix = "\\Drivers\\hwinterface.sys";
constexpr const char* kPortDriverImagePath = "System32\\Drivers\\hwinterface.sys";
constexpr std::uint32_t kIoctlReadPortByte = 0x9C402004;
constexpr std::uint32_t kIoctlWritePortByte = 0x9C402008;
constexpr std::size_t kAllocConfigBufferSize = 512;

// 0 no port access, 1 Windows 9x family, 2 Windows NT family.
int GetOsPlatform(IPortIo& io);

struct PortDriverPlatform {
  IPortIo* io;
  IServices* services;
  IFileSystem* files;
  IResources* resources;
};

// 0 when the device opened at the first attempt, else 1 (after starting / installing).
// Closes a handle held from an earlier call first.
int OpenPortDriver(const PortDriverPlatform& platform);
// 0 started; 1 service cannot be opened or limited-rights path without a failed start;
// 3 start failed (full rights); 4 start failed (limited rights).
int StartPortDriver(IServices& services);
// 5 when the service control manager refuses access, else 0.
int InstallPortDriver(const PortDriverPlatform& platform);
// Closes g_hPortDriver if it holds a device.
void ClosePortDriver(IPortIo& io);

// Replaces s by the PNPDeviceID of the first inventory entry whose name contains s.
// 0 when the query ran (match or not), 1 when it could not be run.
int FindPnpDeviceIdByName(IDeviceInventory& inventory, std::string& s);

// Reads "AllocConfig" of the device LptLabel and sets LptStatusPort from its first I/O port
// range. false when the key, the value or a port range is missing.
bool LocateStatusPort(IRegistry& registry);

// Walks a CM_RESOURCE_LIST of `size` bytes and gives the start of its first I/O port range.
// Every count and offset is checked against `size`: a truncated or inconsistent list gives
// false, never a read outside the bytes.
bool FindFirstPortRange(const std::uint8_t* list, std::size_t size, std::uint64_t* start);

// One byte from an I/O port in the current g_portAccessMode. A failed driver request yields 0.
std::uint8_t ReadPortByte(IPortIo& io, std::uint16_t port);
