#pragma once

#include "platform/inventory.h"

struct IWbemLocator;
struct IWbemServices;
struct IEnumWbemClassObject;

// IDeviceInventory over the management instrumentation: CoInitializeEx (multithreaded),
// CoInitializeSecurity, the WbemLocator, ConnectServer "ROOT\CIMV2", CoSetProxyBlanket and
// ExecQuery "SELECT * FROM Win32_PnPEntity" (forward-only, return-immediately); Next reads
// "Name" and "PNPDeviceID" of each entry, converted to the ANSI code page.
class Win32DeviceInventory : public IDeviceInventory {
 public:
  ~Win32DeviceInventory() override { Close(); }
  bool Open() override;
  bool Next(InventoryEntry* entry) override;
  void Close() override;

 private:
  bool comInitialised_ = false;
  IWbemLocator* locator_ = nullptr;
  IWbemServices* services_ = nullptr;
  IEnumWbemClassObject* enumerator_ = nullptr;
};
