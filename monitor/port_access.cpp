// Port access for a printer on a parallel port: the access mode, the port I/O driver's device
// and service, the status register's address from the device inventory and the port's resource
// list, and the read of one status byte.
#include "monitor/port_access.h"

#include "monitor/status_window.h"  // kIdPortDriverImage

int g_portAccessMode = 0;
DeviceHandle g_hPortDriver = kNoHandle;
std::string LptLabel;
std::uint16_t LptStatusPort = 0;

namespace {

constexpr std::uint32_t kVersionRecordExSize = 156;  // OSVERSIONINFOEXA
constexpr std::uint32_t kVersionRecordSize = 148;    // OSVERSIONINFOA
constexpr const char* kPortDriverResourceType = "BIN";  // type lookups ignore letter case
constexpr std::size_t kMaxPathChars = 260;              // MAX_PATH, with the terminating NUL

// CM_RESOURCE_LIST layout.
constexpr std::size_t kListHeaderSize = 4;        // Count
constexpr std::size_t kFullDescriptorSize = 16;   // without its partial descriptors
constexpr std::size_t kFullDescriptorCountOffset = 12;
constexpr std::size_t kPartialDescriptorSize = 16;
constexpr std::size_t kPartialStartOffset = 4;
constexpr std::uint8_t kCmResourceTypePort = 1;

bool IsDevice(DeviceHandle h) { return h != kNoHandle && h != kInvalidHandle; }

std::uint32_t ReadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint64_t ReadU64(const std::uint8_t* p) {
  return static_cast<std::uint64_t>(ReadU32(p)) | static_cast<std::uint64_t>(ReadU32(p + 4)) << 32;
}

}  // namespace

int GetOsPlatform(IPortIo& io) {
  std::uint32_t platformId = 0;
  if (!io.GetVersion(kVersionRecordExSize, &platformId) &&
      !io.GetVersion(kVersionRecordSize, &platformId)) {
    return 0;
  }
  if (platformId == kVerPlatformWin32Windows) return 1;
  if (platformId == kVerPlatformWin32Nt) return 2;
  return 0;
}

int OpenPortDriver(const PortDriverPlatform& platform) {
  // Every resolution of an LPT port opens the device anew; the handle of an earlier resolution
  // is closed first so that it does not leak.
  ClosePortDriver(*platform.io);

  g_hPortDriver = platform.io->OpenDevice(kPortDriverDevicePath);
  if (IsDevice(g_hPortDriver)) return 0;

  if (StartPortDriver(*platform.services) != 0) {
    InstallPortDriver(platform);
    StartPortDriver(*platform.services);
  }
  g_hPortDriver = platform.io->OpenDevice(kPortDriverDevicePath);
  return 1;
}

int StartPortDriver(IServices& services) {
  ServiceHandle manager = services.OpenManager(kScManagerAllAccess);
  if (manager != kNoHandle) {
    const ServiceHandle service =
        services.OpenService(manager, kPortDriverServiceName, kGenericExecute);
    if (service == kNoHandle) {
      services.CloseServiceHandle(manager);
      return 1;
    }
    const bool started = services.StartService(service);
    services.CloseServiceHandle(service);
    services.CloseServiceHandle(manager);
    return started ? 0 : 3;
  }
  if (services.LastError() != win_error::kAccessDenied) return 1;

  // Limited rights: the start may still be allowed to this account.
  int result = 1;
  manager = services.OpenManager(kGenericRead);
  if (manager != kNoHandle) {
    const ServiceHandle service =
        services.OpenService(manager, kPortDriverServiceName, kGenericExecute);
    if (service != kNoHandle) {
      if (!services.StartService(service)) result = 4;
      services.CloseServiceHandle(service);
    }
    services.CloseServiceHandle(manager);
  }
  return result;
}

int InstallPortDriver(const PortDriverPlatform& platform) {
  const std::string systemDirectory = platform.files->SystemDirectory();
  const ResourceBytes image = platform.resources->Find(kPortDriverResourceType, kIdPortDriverImage);
  if (image.data != nullptr && !systemDirectory.empty()) {
    const std::string path = systemDirectory + kPortDriverFileSuffix;
    // The path must fit the platform's path buffer; a cut path would name another file.
    if (path.size() < kMaxPathChars) platform.files->WriteNewFile(path, image.data, image.size);
  }

  IServices& services = *platform.services;
  const ServiceHandle manager = services.OpenManager(kScManagerAllAccess);
  if (manager == kNoHandle) {
    return services.LastError() == win_error::kAccessDenied ? 5 : 0;
  }
  ServiceConfig config;
  config.name = kPortDriverServiceName;
  config.displayName = kPortDriverServiceName;
  config.desiredAccess = kServiceAllAccess;
  config.serviceType = kServiceKernelDriver;
  config.startType = kServiceSystemStart;
  config.errorControl = kServiceErrorNormal;
  config.imagePath = kPortDriverImagePath;
  // An existing service makes the creation fail without effect; that is fine.
  const ServiceHandle service = services.CreateService(manager, config);
  if (service != kNoHandle) services.CloseServiceHandle(service);
  services.CloseServiceHandle(manager);
  return 0;
}

void ClosePortDriver(IPortIo& io) {
  if (IsDevice(g_hPortDriver)) io.CloseDevice(g_hPortDriver);
  g_hPortDriver = kNoHandle;
}

int FindPnpDeviceIdByName(IDeviceInventory& inventory, std::string& s) {
  if (!inventory.Open()) return 1;
  for (;;) {
    InventoryEntry entry;
    if (!inventory.Next(&entry)) break;
    // Tested against the current s: once it holds a device identity, later names do not
    // contain it, so the first entry naming the port decides.
    if (entry.name.find(s) != std::string::npos) s = entry.pnpDeviceId;
  }
  inventory.Close();
  return 0;
}

bool LocateStatusPort(IRegistry& registry) {
  const std::string path = "SYSTEM\\CurrentControlSet\\Enum\\" + LptLabel + "\\Control";
  RegKeyHandle key = kNoHandle;
  if (registry.OpenKey(RegistryRoot::kLocalMachine, path, kKeyRead, &key) != 0) return false;

  std::uint8_t buffer[kAllocConfigBufferSize];
  std::uint32_t size = sizeof buffer;
  std::uint32_t type = 0;
  const std::uint32_t error = registry.QueryValue(key, "AllocConfig", &type, buffer, &size);
  std::uint64_t start = 0;
  const bool found = error == 0 && size <= sizeof buffer &&
                     FindFirstPortRange(buffer, size, &start);
  registry.CloseKey(key);
  if (!found) return false;
  LptStatusPort = static_cast<std::uint16_t>(start + 1);
  return true;
}

bool FindFirstPortRange(const std::uint8_t* list, std::size_t size, std::uint64_t* start) {
  if (list == nullptr || size < kListHeaderSize) return false;
  const std::uint32_t fullCount = ReadU32(list);

  // Every count and offset the walk uses is checked against the bytes before it is followed:
  // a full descriptor, with all the partial descriptors it claims, must lie within the bytes
  // before any of them is looked at. The walk stops at the first port range, so descriptors
  // after it are not used (nor judged). Each step consumes at least 16 bytes, so even a huge
  // count ends the walk within size / 16 steps.
  std::size_t offset = kListHeaderSize;
  for (std::uint32_t i = 0; i < fullCount; ++i) {
    if (size - offset < kFullDescriptorSize) return false;
    const std::uint32_t partialCount = ReadU32(list + offset + kFullDescriptorCountOffset);
    const std::size_t partials = offset + kFullDescriptorSize;
    // Divide instead of multiplying: 16 * n cannot overflow this way.
    if (partialCount > (size - partials) / kPartialDescriptorSize) return false;
    for (std::uint32_t j = 0; j < partialCount; ++j) {
      const std::uint8_t* partial = list + partials + std::size_t{j} * kPartialDescriptorSize;
      if (partial[0] == kCmResourceTypePort) {
        *start = ReadU64(partial + kPartialStartOffset);
        return true;
      }
    }
    offset = partials + std::size_t{partialCount} * kPartialDescriptorSize;
  }
  return false;
}

std::uint8_t ReadPortByte(IPortIo& io, std::uint16_t port) {
  switch (g_portAccessMode) {
    case 1:
      return io.InputByte(port);
    case 2: {
      // The record's first two bytes are the request, its first byte the answer. A request that
      // fails (or answers nothing) yields 0, which decodes as "no valid reading", instead of the
      // port address's low byte that would still be in the record.
      std::uint8_t record[3] = {static_cast<std::uint8_t>(port & 0xFF),
                                static_cast<std::uint8_t>(port >> 8), 0};
      if (!IsDevice(g_hPortDriver)) return 0;
      std::uint32_t returned = 0;
      if (!io.Control(g_hPortDriver, kIoctlReadPortByte, record, 2, record, 1, &returned) ||
          returned < 1) {
        return 0;
      }
      return record[0];
    }
    default:
      return 0;
  }
}
