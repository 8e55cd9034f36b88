#include "monitor/port_access.h"

int g_portAccessMode = 0;
DeviceHandle g_hPortDriver = kNoHandle;
std::string LptLabel;
std::uint16_t LptStatusPort = 0;

int GetOsPlatform(IPortIo&) { return 0; }
int OpenPortDriver(const PortDriverPlatform&) { return 1; }
int StartPortDriver(IServices&) { return 1; }
int InstallPortDriver(const PortDriverPlatform&) { return 0; }
void ClosePortDriver(IPortIo&) {}
int FindPnpDeviceIdByName(IDeviceInventory&, std::string&) { return 1; }
bool LocateStatusPort(IRegistry&) { return false; }
bool FindFirstPortRange(const std::uint8_t*, std::size_t, std::uint64_t*) { return false; }
std::uint8_t ReadPortByte(IPortIo&, std::uint16_t) { return 0; }
