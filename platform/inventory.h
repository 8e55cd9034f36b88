// The device inventory of the management instrumentation: the Win32_PnPEntity entries.
#pragma once

#include <string>

struct InventoryEntry {
  std::string name;         // "Name", converted to the ANSI code page
  std::string pnpDeviceId;  // "PNPDeviceID", converted to the ANSI code page
};

class IDeviceInventory {
 public:
  virtual ~IDeviceInventory() = default;
  // Initialises COM on this thread (multithreaded), sets process-wide security, connects to
  // "ROOT\CIMV2" and runs "SELECT * FROM Win32_PnPEntity" (forward-only, return-immediately).
  // Returns false, with everything released again, when any of these steps fails.
  virtual bool Open() = 0;
  // The next entry, waiting without time limit. false when the query delivers no more.
  virtual bool Next(InventoryEntry* entry) = 0;
  // Releases the query, the connection and the locator and uninitialises COM.
  virtual void Close() = 0;
};
