// Scriptable fakes of the platform interfaces and of the status window's view and tray icon.
//
// Every fake is a plain struct: set its public fields to script the platform's answers, then
// read the recorded calls. Handles are made by a per-fake counter (each fake has its own range,
// so handles of different kinds never collide) and open handles are tracked, so a test can check
// that everything opened was closed again. A fake may also append one line per call to a shared
// CallLog to check the order of calls across fakes.
//
// FakePlatform bundles one of each and hands out the MonitorPlatform of a StatusWindow.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "monitor/poller.h"
#include "monitor/status_view.h"
#include "monitor/status_window.h"
#include "platform/devices.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/inventory.h"
#include "platform/kernel.h"
#include "platform/port_io.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "platform/spooler.h"

namespace fakes {

// The order of calls across several fakes: each fake with log set appends "<fake>.<call>".
struct CallLog {
  std::vector<std::string> lines;
  void Add(std::string line) { lines.push_back(std::move(line)); }
  // Index of the first line equal to `line`, or -1.
  int IndexOf(const std::string& line) const {
    auto it = std::find(lines.begin(), lines.end(), line);
    return it == lines.end() ? -1 : static_cast<int>(it - lines.begin());
  }
};

// Hands out distinct non-null handles from `base` on and remembers which are open.
struct HandleSource {
  explicit HandleSource(PlatformHandle base) : next(base) {}
  PlatformHandle next;
  std::set<PlatformHandle> open;
  PlatformHandle Make() {
    PlatformHandle h = next++;
    open.insert(h);
    return h;
  }
  // true when the handle was open.
  bool Release(PlatformHandle h) { return open.erase(h) == 1; }
};

inline void LogTo(CallLog* log, const std::string& line) {
  if (log != nullptr) log->Add(line);
}

// ---------------------------------------------------------------------------------------------
// IDevices: a set of present interfaces, given as a list of members by index.
struct FakeDevices : IDevices {
  struct Member {
    std::uint32_t result = 0;  // 0, an enumeration error code, or kDetailFailed
    std::string path;          // the device path when result is 0
  };
  // Script.
  bool setAvailable = true;        // GetPresentInterfaces gives a set
  std::vector<Member> members;     // index -> answer
  std::uint32_t pastEndError = win_error::kNoMoreItems;  // answer past the list (Wine: 2)
  NotifyHandle notifyResult = 0;   // 0: a fresh handle; kNoHandle via registerFails
  bool registerFails = false;

  // Records.
  std::vector<Guid> setClasses;          // class of each GetPresentInterfaces
  std::vector<std::uint32_t> indices;    // every index asked for, in order
  std::vector<Guid> pathClasses;         // class passed with each GetInterfacePath
  std::vector<DeviceInfoSet> destroyed;  // sets destroyed
  std::vector<std::pair<WindowHandle, Guid>> registrations;
  std::vector<NotifyHandle> unregistered;
  HandleSource sets{0x1000};
  HandleSource notifications{0x1800};
  CallLog* log = nullptr;

  void AddPath(const std::string& path) { members.push_back({0, path}); }
  void AddFailure(std::uint32_t error) { members.push_back({error, {}}); }

  DeviceInfoSet GetPresentInterfaces(const Guid& interfaceClass) override {
    LogTo(log, "devices.GetPresentInterfaces");
    setClasses.push_back(interfaceClass);
    return setAvailable ? sets.Make() : kInvalidHandle;
  }
  std::uint32_t GetInterfacePath(DeviceInfoSet, const Guid& interfaceClass, std::uint32_t index,
                                 std::string* path) override {
    indices.push_back(index);
    pathClasses.push_back(interfaceClass);
    if (index >= members.size()) return pastEndError;
    const Member& m = members[index];
    if (m.result == 0) *path = m.path;
    return m.result;
  }
  void DestroySet(DeviceInfoSet set) override {
    LogTo(log, "devices.DestroySet");
    destroyed.push_back(set);
    sets.Release(set);
  }
  NotifyHandle RegisterInterfaceNotification(WindowHandle window,
                                             const Guid& interfaceClass) override {
    LogTo(log, "devices.RegisterInterfaceNotification");
    registrations.emplace_back(window, interfaceClass);
    if (registerFails) return kNoHandle;
    return notifyResult != 0 ? notifyResult : notifications.Make();
  }
  void UnregisterNotification(NotifyHandle handle) override {
    LogTo(log, "devices.UnregisterNotification");
    unregistered.push_back(handle);
    notifications.Release(handle);
  }
};

inline bool SameGuid(const Guid& a, const Guid& b) {
  return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3 &&
         std::memcmp(a.data4, b.data4, sizeof a.data4) == 0;
}

// ---------------------------------------------------------------------------------------------
// IServices: one service control manager with at most the one service the monitor uses.
struct FakeServices : IServices {
  // Script.
  std::set<std::uint32_t> managerAccessGranted = {kScManagerAllAccess, kGenericRead};
  std::uint32_t managerError = win_error::kAccessDenied;  // when the access is not granted
  bool managerUnavailable = false;   // every OpenManager fails with managerError
  std::set<std::string> services;    // names of existing services
  std::uint32_t serviceMissingError = 1060;  // ERROR_SERVICE_DOES_NOT_EXIST
  bool startSucceeds = true;
  std::uint32_t startError = 1058;   // ERROR_SERVICE_DISABLED
  bool createSucceeds = true;        // and the name is new
  std::function<void(const std::string&)> onStart;  // after a successful start

  // Records.
  std::vector<std::uint32_t> managerOpens;  // access of each OpenManager
  struct ServiceOpen {
    std::string name;
    std::uint32_t access;
  };
  std::vector<ServiceOpen> serviceOpens;
  std::vector<std::string> starts;  // names of services started (attempts)
  std::vector<ServiceConfig> creates;
  std::vector<ServiceHandle> closed;
  HandleSource handles{0x2000};
  std::map<ServiceHandle, std::string> serviceOfHandle;
  std::uint32_t lastError = 0;
  CallLog* log = nullptr;

  ServiceHandle OpenManager(std::uint32_t access) override {
    LogTo(log, "services.OpenManager");
    managerOpens.push_back(access);
    if (managerUnavailable || managerAccessGranted.count(access) == 0) {
      lastError = managerError;
      return kNoHandle;
    }
    return handles.Make();
  }
  ServiceHandle OpenService(ServiceHandle, const std::string& name,
                            std::uint32_t access) override {
    LogTo(log, "services.OpenService");
    serviceOpens.push_back({name, access});
    if (services.count(name) == 0) {
      lastError = serviceMissingError;
      return kNoHandle;
    }
    ServiceHandle h = handles.Make();
    serviceOfHandle[h] = name;
    return h;
  }
  bool StartService(ServiceHandle service) override {
    LogTo(log, "services.StartService");
    const std::string name = serviceOfHandle.count(service) ? serviceOfHandle[service] : "";
    starts.push_back(name);
    if (!startSucceeds) {
      lastError = startError;
      return false;
    }
    if (onStart) onStart(name);
    return true;
  }
  ServiceHandle CreateService(ServiceHandle, const ServiceConfig& config) override {
    LogTo(log, "services.CreateService");
    creates.push_back(config);
    if (!createSucceeds || services.count(config.name) != 0) {
      lastError = createSucceeds ? 1073 /* ERROR_SERVICE_EXISTS */ : win_error::kAccessDenied;
      return kNoHandle;
    }
    services.insert(config.name);
    ServiceHandle h = handles.Make();
    serviceOfHandle[h] = config.name;
    return h;
  }
  void CloseServiceHandle(ServiceHandle handle) override {
    LogTo(log, "services.CloseServiceHandle");
    closed.push_back(handle);
    handles.Release(handle);
  }
  std::uint32_t LastError() override { return lastError; }
};

// ---------------------------------------------------------------------------------------------
// IPortIo: the version, one device path that opens while `deviceAvailable`, port values.
struct FakePortIo : IPortIo {
  // Script.
  bool version156Ok = true;
  bool version148Ok = true;
  std::uint32_t platformId = kVerPlatformWin32Nt;
  std::set<std::string> availableDevices;  // paths that open
  bool controlSucceeds = true;
  std::map<std::uint16_t, std::uint8_t> portValues;  // unknown ports read 0xFF

  // Records.
  std::vector<std::uint32_t> versionSizes;
  std::vector<std::string> opens;  // every path asked for
  std::vector<DeviceHandle> closed;
  struct ControlCall {
    DeviceHandle device;
    std::uint32_t code;
    std::vector<std::uint8_t> in;
    std::size_t outSize;
    bool outAliasesIn;  // the output room is the input buffer
  };
  std::vector<ControlCall> controls;
  std::vector<std::uint16_t> inputs;  // ports read with InputByte
  HandleSource devices{0x3000};
  CallLog* log = nullptr;

  std::uint8_t ValueOf(std::uint16_t port) const {
    auto it = portValues.find(port);
    return it == portValues.end() ? 0xFF : it->second;
  }

  bool GetVersion(std::uint32_t recordSize, std::uint32_t* id) override {
    versionSizes.push_back(recordSize);
    const bool ok = recordSize == 156 ? version156Ok : recordSize == 148 ? version148Ok : false;
    if (ok) *id = platformId;
    return ok;
  }
  DeviceHandle OpenDevice(const std::string& path) override {
    LogTo(log, "portIo.OpenDevice");
    opens.push_back(path);
    return availableDevices.count(path) ? devices.Make() : kInvalidHandle;
  }
  void CloseDevice(DeviceHandle device) override {
    LogTo(log, "portIo.CloseDevice");
    closed.push_back(device);
    devices.Release(device);
  }
  bool Control(DeviceHandle device, std::uint32_t code, const void* in, std::size_t inSize,
               void* out, std::size_t outSize, std::uint32_t* returned) override {
    const auto* bytes = static_cast<const std::uint8_t*>(in);
    controls.push_back({device, code,
                        bytes ? std::vector<std::uint8_t>(bytes, bytes + inSize)
                              : std::vector<std::uint8_t>{},
                        outSize, out == in});
    if (!controlSucceeds || devices.open.count(device) == 0) return false;
    if (code == 0x9C402004 && inSize >= 2 && outSize >= 1 && out != nullptr) {
      const std::uint16_t port = static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
      *static_cast<std::uint8_t*>(out) = ValueOf(port);
      if (returned) *returned = 1;
      return true;
    }
    return false;  // the driver fails every other request
  }
  std::uint8_t InputByte(std::uint16_t port) override {
    inputs.push_back(port);
    return ValueOf(port);
  }
};

// ---------------------------------------------------------------------------------------------
// IDeviceInventory: a list of entries delivered in order.
struct FakeInventory : IDeviceInventory {
  bool openSucceeds = true;
  std::vector<InventoryEntry> entries;

  int opens = 0;
  int nexts = 0;
  int closes = 0;
  std::size_t position = 0;
  bool isOpen = false;

  bool Open() override {
    ++opens;
    position = 0;
    isOpen = openSucceeds;
    return openSucceeds;
  }
  bool Next(InventoryEntry* entry) override {
    ++nexts;
    if (!isOpen || position >= entries.size()) return false;
    *entry = entries[position++];
    return true;
  }
  void Close() override {
    ++closes;
    isOpen = false;
  }
};

// ---------------------------------------------------------------------------------------------
// IRegistry: keys by root and exact path, values by exact name, with RegQueryValueEx's
// sizing rules.
struct FakeRegistry : IRegistry {
  struct Value {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;
  };
  using KeyId = std::pair<RegistryRoot, std::string>;
  std::map<KeyId, std::map<std::string, Value>> keys;
  std::map<KeyId, std::uint32_t> openErrors;  // forced RegOpenKeyEx error for a key
  // When 0..255: a query first fills all the room it is offered with this byte, as stale
  // contents of the caller's buffer, so that a caller reading past the value's length shows.
  int scribble = -1;

  struct OpenCall {
    RegistryRoot root;
    std::string path;
    std::uint32_t access;
  };
  std::vector<OpenCall> openCalls;
  std::vector<std::string> queried;  // value names asked for
  std::vector<std::uint32_t> querySizes;  // room offered with each query
  std::vector<RegKeyHandle> closed;
  HandleSource handles{0x4000};
  std::map<RegKeyHandle, KeyId> keyOfHandle;

  void SetValue(RegistryRoot root, const std::string& path, const std::string& name,
                std::uint32_t type, std::vector<std::uint8_t> bytes) {
    keys[{root, path}][name] = Value{type, std::move(bytes)};
  }
  void SetString(RegistryRoot root, const std::string& path, const std::string& name,
                 const std::string& text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    SetValue(root, path, name, 1 /* REG_SZ */, std::move(bytes));
  }
  void AddKey(RegistryRoot root, const std::string& path) { keys[{root, path}]; }

  std::uint32_t OpenKey(RegistryRoot root, const std::string& path, std::uint32_t access,
                        RegKeyHandle* key) override {
    openCalls.push_back({root, path, access});
    const KeyId id{root, path};
    auto forced = openErrors.find(id);
    if (forced != openErrors.end()) return forced->second;
    if (keys.count(id) == 0) return win_error::kFileNotFound;
    *key = handles.Make();
    keyOfHandle[*key] = id;
    return 0;
  }
  std::uint32_t QueryValue(RegKeyHandle key, const std::string& name, std::uint32_t* type,
                           void* data, std::uint32_t* size) override {
    queried.push_back(name);
    querySizes.push_back(size ? *size : 0);
    auto k = keyOfHandle.find(key);
    if (k == keyOfHandle.end() || handles.open.count(key) == 0) return 6;  // ERROR_INVALID_HANDLE
    auto& values = keys[k->second];
    auto v = values.find(name);
    if (v == values.end()) return win_error::kFileNotFound;
    const auto length = static_cast<std::uint32_t>(v->second.bytes.size());
    if (type) *type = v->second.type;
    if (data == nullptr) {
      if (size) *size = length;
      return 0;
    }
    if (size == nullptr) return 87;  // ERROR_INVALID_PARAMETER
    if (scribble >= 0) std::memset(data, scribble, *size);
    if (*size < length) {
      *size = length;
      return win_error::kMoreData;
    }
    if (length != 0) std::memcpy(data, v->second.bytes.data(), length);
    *size = length;
    return 0;
  }
  void CloseKey(RegKeyHandle key) override {
    closed.push_back(key);
    handles.Release(key);
  }
};

// ---------------------------------------------------------------------------------------------
// IFileSystem: the system directory and the files written.
struct FakeFileSystem : IFileSystem {
  std::string systemDirectory = "C:\\windows\\system32";
  bool writeSucceeds = true;

  std::map<std::string, std::vector<std::uint8_t>> files;  // written files
  std::vector<std::string> writeAttempts;

  std::string SystemDirectory() override { return systemDirectory; }
  bool WriteNewFile(const std::string& path, const void* data, std::size_t size) override {
    writeAttempts.push_back(path);
    if (!writeSucceeds) return false;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    files[path] = bytes ? std::vector<std::uint8_t>(bytes, bytes + size)
                        : std::vector<std::uint8_t>{};
    return true;
  }
};

// ---------------------------------------------------------------------------------------------
// IResources: resources by type (letter case ignored, as FindResource does) and id.
struct FakeResources : IResources {
  std::map<std::pair<std::string, std::uint32_t>, std::vector<std::uint8_t>> resources;

  struct FindCall {
    std::string type;
    std::uint32_t id;
  };
  std::vector<FindCall> finds;

  static std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
  }
  void Add(const std::string& type, std::uint32_t id, std::vector<std::uint8_t> bytes) {
    resources[{Upper(type), id}] = std::move(bytes);
  }
  ResourceBytes Find(const char* type, std::uint32_t id) override {
    finds.push_back({type ? type : "", id});
    auto it = resources.find({Upper(type ? type : ""), id});
    if (it == resources.end()) return {};
    return {it->second.data(), it->second.size()};
  }
};

// ---------------------------------------------------------------------------------------------
// IImages: every creation gives a fresh handle unless createFails.
struct FakeImages : IImages {
  bool createFails = false;
  std::map<std::uint32_t, ImageHandle> icons;  // LoadIconResource answers; missing -> fresh

  struct CreateCall {
    const void* bits;
    std::size_t size;
    bool isIcon;
    std::uint32_t version;
    ImageHandle result;
  };
  std::vector<CreateCall> creates;
  std::vector<ImageHandle> destroyed;
  std::vector<std::uint32_t> iconLoads;
  HandleSource handles{0x5000};

  ImageHandle CreateFromResource(const void* bits, std::size_t size, bool isIcon,
                                 std::uint32_t version) override {
    const ImageHandle h = createFails ? kNoHandle : handles.Make();
    creates.push_back({bits, size, isIcon, version, h});
    return h;
  }
  void DestroyCursor(ImageHandle cursor) override {
    destroyed.push_back(cursor);
    handles.Release(cursor);
  }
  ImageHandle LoadIconResource(std::uint32_t id) override {
    iconLoads.push_back(id);
    auto it = icons.find(id);
    return it != icons.end() ? it->second : handles.Make();
  }
};

// ---------------------------------------------------------------------------------------------
// IShellWindows: a tree of windows by class, client sizes, and the messages sent.
struct FakeShellWindows : IShellWindows {
  std::map<std::string, WindowHandle> topLevel;                          // class -> window
  std::map<std::pair<WindowHandle, std::string>, WindowHandle> children;  // (parent, class)
  std::map<WindowHandle, std::pair<int, int>> clientSizes;  // window -> (right, bottom)

  struct Message {
    WindowHandle window;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
  };
  std::vector<Message> sent;
  std::vector<std::string> searches;  // class names asked for, in order
  CallLog* log = nullptr;

  // The Windows 7 chain Shell_TrayWnd > TrayNotifyWnd > SysPager > ToolbarWindow32 with a
  // toolbar client area of right x bottom; returns the toolbar.
  WindowHandle AddNotificationArea(int right, int bottom) {
    topLevel["Shell_TrayWnd"] = 0x6001;
    children[{0x6001, "TrayNotifyWnd"}] = 0x6002;
    children[{0x6002, "SysPager"}] = 0x6003;
    children[{0x6003, "ToolbarWindow32"}] = 0x6004;
    clientSizes[0x6004] = {right, bottom};
    return 0x6004;
  }

  WindowHandle FindTopLevel(const char* className) override {
    searches.push_back(className);
    auto it = topLevel.find(className);
    return it == topLevel.end() ? kNoHandle : it->second;
  }
  WindowHandle FindChild(WindowHandle parent, const char* className) override {
    searches.push_back(className);
    auto it = children.find({parent, className});
    return it == children.end() ? kNoHandle : it->second;
  }
  bool ClientSize(WindowHandle window, int* right, int* bottom) override {
    auto it = clientSizes.find(window);
    if (it == clientSizes.end()) return false;
    *right = it->second.first;
    *bottom = it->second.second;
    return true;
  }
  void Send(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
            std::intptr_t lParam) override {
    if (sent.empty()) LogTo(log, "shell.Send");  // one line for a whole sweep
    sent.push_back({window, message, wParam, lParam});
  }
};

// ---------------------------------------------------------------------------------------------
// ISpooler: printers by name with their port, status and jobs.
struct FakeSpooler : ISpooler {
  struct Printer {
    std::string portName;
    std::uint32_t status = 0;
    std::vector<std::uint32_t> jobs;  // status of each job
  };
  std::map<std::string, Printer> printers;
  std::uint32_t openError = 1801;   // ERROR_INVALID_PRINTER_NAME
  bool getPrinter2Fails = false;    // the size query fails with `failError`
  bool getPrinter5Fails = false;
  bool enumJobsStub = false;        // Wine: FALSE, needed 0, last error untouched (0)
  std::uint32_t failError = 5;
  // Reported cJobs; -1: the number of jobs.
  int reportedJobCount = -1;

  // Records.
  std::vector<std::string> openNames;
  std::vector<PrinterDefaults> openDefaults;
  std::vector<PrinterHandle> closed;
  int getPrinter2Calls = 0;
  int getPrinter5Calls = 0;
  int enumJobsCalls = 0;
  std::vector<std::uint32_t> enumJobsCounts;  // count asked for with each EnumJobs2
  HandleSource handles{0x7000};
  std::map<PrinterHandle, std::string> printerOfHandle;
  CallLog* log = nullptr;

  static constexpr std::uint32_t kInfo2Size = 136;
  static constexpr std::uint32_t kInfo5Size = 20;
  static constexpr std::uint32_t kJob2Size = 104;

  int OpenHandleCount() const { return static_cast<int>(handles.open.size()); }
  Printer* Find(PrinterHandle printer) {
    auto h = printerOfHandle.find(printer);
    if (h == printerOfHandle.end() || handles.open.count(printer) == 0) return nullptr;
    auto p = printers.find(h->second);
    return p == printers.end() ? nullptr : &p->second;
  }

  bool OpenPrinter(const std::string& name, const PrinterDefaults& defaults,
                   PrinterHandle* printer) override {
    LogTo(log, "spooler.OpenPrinter");
    openNames.push_back(name);
    openDefaults.push_back(defaults);
    if (printers.count(name) == 0) return false;
    *printer = handles.Make();
    printerOfHandle[*printer] = name;
    return true;
  }
  void ClosePrinter(PrinterHandle printer) override {
    LogTo(log, "spooler.ClosePrinter");
    closed.push_back(printer);
    handles.Release(printer);
  }
  SpoolerReply GetPrinter2(PrinterHandle printer, void*, std::uint32_t size,
                           PrinterInfo2* info) override {
    ++getPrinter2Calls;
    Printer* p = Find(printer);
    if (p == nullptr) return {false, 6, 0};
    if (getPrinter2Fails) return {false, failError, 0};
    const std::uint32_t needed = kInfo2Size + static_cast<std::uint32_t>(p->portName.size()) + 1;
    if (size < needed) return {false, win_error::kInsufficientBuffer, needed};
    if (info) {
      info->status = p->status;
      info->cJobs = reportedJobCount >= 0 ? static_cast<std::uint32_t>(reportedJobCount)
                                          : static_cast<std::uint32_t>(p->jobs.size());
    }
    return {true, 0, needed};
  }
  SpoolerReply GetPrinter5(PrinterHandle printer, void*, std::uint32_t size,
                           PrinterInfo5* info) override {
    ++getPrinter5Calls;
    Printer* p = Find(printer);
    if (p == nullptr) return {false, 6, 0};
    if (getPrinter5Fails) return {false, failError, 0};
    const std::uint32_t needed = kInfo5Size + static_cast<std::uint32_t>(p->portName.size()) + 1;
    if (size < needed) return {false, win_error::kInsufficientBuffer, needed};
    if (info) info->portName = p->portName;
    return {true, 0, needed};
  }
  SpoolerReply EnumJobs2(PrinterHandle printer, std::uint32_t firstJob, std::uint32_t count,
                         void*, std::uint32_t size, std::vector<JobInfo2>* jobs) override {
    ++enumJobsCalls;
    enumJobsCounts.push_back(count);
    Printer* p = Find(printer);
    if (p == nullptr) return {false, 6, 0};
    if (enumJobsStub) return {false, 0, 0};
    std::vector<JobInfo2> found;
    for (std::uint32_t i = firstJob; i < p->jobs.size() && i - firstJob < count; ++i) {
      found.push_back(JobInfo2{p->jobs[i]});
    }
    const auto needed = static_cast<std::uint32_t>(found.size()) * kJob2Size;
    if (size < needed) return {false, win_error::kInsufficientBuffer, needed};
    if (jobs) *jobs = found;
    return {true, 0, needed};
  }
};

// ---------------------------------------------------------------------------------------------
// IStatusView: records every call; timers are kept as a map of the running ones.
struct FakeStatusView : IStatusView {
  WindowHandle mainWindow = 0x8001;
  bool setTimerFails = false;

  int windowIconCalls = 0;
  std::vector<std::pair<std::string, int>> headingFonts;
  std::vector<std::string> captions;
  std::vector<std::string> versions;
  std::vector<std::string> tips;
  std::vector<std::string> headings;
  std::vector<std::string> advices;
  std::vector<ImageHandle> animations;
  std::vector<ShowCommand> shows;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> setTimers;  // (id, ms)
  std::vector<std::uint32_t> killTimers;
  std::map<std::uint32_t, std::uint32_t> runningTimers;  // id -> ms
  std::vector<int> endDialogs;
  CallLog* log = nullptr;

  // The state the controls show now (the last value set), empty when never set.
  std::string Heading() const { return headings.empty() ? "" : headings.back(); }
  std::string Advice() const { return advices.empty() ? "" : advices.back(); }
  ImageHandle Animation() const { return animations.empty() ? kNoHandle : animations.back(); }
  bool Visible() const { return !shows.empty() && shows.back() == ShowCommand::kRestore; }

  WindowHandle MainWindow() override { return mainWindow; }
  void SetWindowIcons() override { ++windowIconCalls; }
  void SetHeadingFont(const char* faceName, int pointSizeTenths) override {
    headingFonts.emplace_back(faceName, pointSizeTenths);
  }
  void SetCaption(const std::string& text) override { captions.push_back(text); }
  void SetVersionText(const std::string& text) override { versions.push_back(text); }
  void SetTipText(const std::string& text) override { tips.push_back(text); }
  void SetHeading(const std::string& text) override { headings.push_back(text); }
  void SetAdviceText(const std::string& text) override { advices.push_back(text); }
  void SetAnimation(ImageHandle cursor) override { animations.push_back(cursor); }
  void Show(ShowCommand command) override {
    LogTo(log, command == ShowCommand::kRestore ? "view.Show(restore)" : "view.Show(hide)");
    shows.push_back(command);
  }
  std::uint32_t SetTimer(std::uint32_t id, std::uint32_t milliseconds) override {
    setTimers.emplace_back(id, milliseconds);
    if (setTimerFails) return 0;
    runningTimers[id] = milliseconds;
    return id;
  }
  bool KillTimer(std::uint32_t id) override {
    killTimers.push_back(id);
    return runningTimers.erase(id) == 1;
  }
  void EndDialog(int result) override {
    LogTo(log, "view.EndDialog");
    endDialogs.push_back(result);
  }
};

// ITrayIcon: records.
struct FakeTrayIcon : ITrayIcon {
  struct Create {
    std::uint32_t callbackMessage;
    std::string tip;
    ImageHandle icon;
  };
  std::vector<Create> creates;
  int restores = 0;
  int removes = 0;
  CallLog* log = nullptr;

  bool Present() const { return creates.size() > static_cast<std::size_t>(removes); }

  int CreateTrayIcon(std::uint32_t callbackMessage, const std::string& tip,
                     ImageHandle icon) override {
    LogTo(log, "tray.CreateTrayIcon");
    creates.push_back({callbackMessage, tip, icon});
    return 0;
  }
  void RestoreTrayIcon() override {
    LogTo(log, "tray.RestoreTrayIcon");
    ++restores;
  }
  void RemoveTrayIcon() override {
    LogTo(log, "tray.RemoveTrayIcon");
    ++removes;
  }
};

// IThreads: records Start/Join/Terminate/Close; nothing runs.
struct FakeThreads : IThreads {
  bool startFails = false;

  struct StartCall {
    ThreadProc proc;
    void* argument;
    ThreadHandle result;
  };
  std::vector<StartCall> starts;
  std::vector<ThreadHandle> joins;
  std::vector<ThreadHandle> terminates;
  std::vector<ThreadHandle> closes;
  HandleSource handles{0x9000};  // open = started and not closed
  CallLog* log = nullptr;

  ThreadHandle Start(ThreadProc proc, void* argument) override {
    LogTo(log, "threads.Start");
    const ThreadHandle h = startFails ? kNoHandle : handles.Make();
    starts.push_back({proc, argument, h});
    return h;
  }
  void Join(ThreadHandle thread) override {
    LogTo(log, "threads.Join");
    joins.push_back(thread);
  }
  void Terminate(ThreadHandle thread) override {
    LogTo(log, "threads.Terminate");
    terminates.push_back(thread);
  }
  void Close(ThreadHandle thread) override {
    LogTo(log, "threads.Close");
    closes.push_back(thread);
    handles.Release(thread);
  }
};

// IMutexes: named mutexes that exist while a handle to them is open.
struct FakeMutexes : IMutexes {
  std::set<std::string> existing;  // names that exist from elsewhere (another process)
  bool createFails = false;

  std::vector<std::string> creates;
  std::vector<PlatformHandle> closed;
  HandleSource handles{0xA000};
  std::map<PlatformHandle, std::string> nameOfHandle;

  PlatformHandle CreateNamedMutex(const std::string& name, std::uint32_t* lastError) override {
    creates.push_back(name);
    if (createFails) {
      *lastError = win_error::kAccessDenied;
      return kNoHandle;
    }
    bool exists = existing.count(name) != 0;
    for (const auto& [h, n] : nameOfHandle) {
      if (n == name && handles.open.count(h)) exists = true;
    }
    const PlatformHandle h = handles.Make();
    nameOfHandle[h] = name;
    *lastError = exists ? win_error::kAlreadyExists : 0;
    return h;
  }
  void CloseHandle(PlatformHandle handle) override {
    closed.push_back(handle);
    handles.Release(handle);
  }
};

// IClock: records sleeps; onSleep runs after each (e.g. to set a stop flag).
struct FakeClock : IClock {
  std::vector<std::uint32_t> sleeps;
  std::function<void(std::size_t sleepCount)> onSleep;
  void Sleep(std::uint32_t milliseconds) override {
    sleeps.push_back(milliseconds);
    if (onSleep) onSleep(sleeps.size());
  }
};

// IMessagePoster: records posts.
struct FakeMessagePoster : IMessagePoster {
  std::vector<std::pair<WindowHandle, std::uint32_t>> posts;
  std::function<void(std::size_t postCount)> onPost;
  void Post(WindowHandle window, std::uint32_t message) override {
    posts.emplace_back(window, message);
    if (onPost) onPost(posts.size());
  }
};

// ---------------------------------------------------------------------------------------------
// One of each, wired into a MonitorPlatform (Platform()) and sharing one CallLog.
struct FakePlatform {
  FakeStatusView view;
  FakeTrayIcon tray;
  FakeSpooler spooler;
  FakeRegistry registry;
  FakeDevices devices;
  FakeServices services;
  FakePortIo portIo;
  FakeInventory inventory;
  FakeFileSystem files;
  FakeResources resources;
  FakeImages images;
  FakeShellWindows shellWindows;
  FakeThreads threads;
  CallLog log;

  static std::uint32_t NoPoller(void*) { return 0; }

  FakePlatform() {
    view.log = &log;
    tray.log = &log;
    spooler.log = &log;
    devices.log = &log;
    services.log = &log;
    portIo.log = &log;
    shellWindows.log = &log;
    threads.log = &log;
  }
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  MonitorPlatform Platform() {
    MonitorPlatform p;
    p.view = &view;
    p.tray = &tray;
    p.spooler = &spooler;
    p.registry = &registry;
    p.devices = &devices;
    p.services = &services;
    p.portIo = &portIo;
    p.inventory = &inventory;
    p.files = &files;
    p.resources = &resources;
    p.images = &images;
    p.shellWindows = &shellWindows;
    p.threads = &threads;
    p.pollerEntry = &NoPoller;
    return p;
  }
};

}  // namespace fakes
