#include "monitor/port_access.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <stdexcept>

#include "monitor/monitor_state.h"
#include "monitor/status_evaluation.h"
#include "monitor/status_window.h"
#include "tests/unit/fakes.h"

namespace {

using fakes::FakeFileSystem;
using fakes::FakeInventory;
using fakes::FakePortIo;
using fakes::FakeRegistry;
using fakes::FakeResources;
using fakes::FakeServices;

const std::string kDevicePath = "\\\\.\\hwinterface";
const std::string kDriverFile = "C:\\windows\\system32\\Drivers\\hwinterface.sys";

// --- CM_RESOURCE_LIST building -------------------------------------------------------------

struct Partial {
  std::uint8_t type;
  std::uint64_t start;
  std::uint32_t length;
};
constexpr std::uint8_t kPort = 1, kInterrupt = 2, kMemory = 3, kDma = 4;

void PutU32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::vector<std::uint8_t> ResourceList(const std::vector<std::vector<Partial>>& fulls) {
  std::vector<std::uint8_t> b(4, 0);
  PutU32(b, 0, static_cast<std::uint32_t>(fulls.size()));
  for (const auto& partials : fulls) {
    const std::size_t at = b.size();
    b.resize(at + 16, 0);
    PutU32(b, at + 0, 1);  // interface type: Isa
    PutU32(b, at + 12, static_cast<std::uint32_t>(partials.size()));
    for (const Partial& p : partials) {
      const std::size_t q = b.size();
      b.resize(q + 16, 0);
      b[q] = p.type;
      b[q + 1] = 1;  // share disposition: device exclusive
      PutU32(b, q + 4, static_cast<std::uint32_t>(p.start));
      PutU32(b, q + 8, static_cast<std::uint32_t>(p.start >> 32));
      PutU32(b, q + 12, p.length);
    }
  }
  return b;
}

// The usual parallel port: 0x378 and 0x778, 8 bytes each, and an interrupt.
std::vector<std::uint8_t> ParallelPortList() {
  return ResourceList({{{kPort, 0x378, 8}, {kPort, 0x778, 8}, {kInterrupt, 7, 1}}});
}

// Runs FindFirstPortRange on an exact-size heap copy of the bytes, so that any read past them
// is a heap overflow the address sanitizer reports.
std::optional<std::uint64_t> FirstPort(const std::vector<std::uint8_t>& bytes) {
  auto copy = std::make_unique<std::uint8_t[]>(bytes.size());
  if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
  std::uint64_t start = 0xDEADBEEF;
  if (!FindFirstPortRange(copy.get(), bytes.size(), &start)) {
    EXPECT_EQ(start, 0xDEADBEEFu) << "start written although no range was found";
    return std::nullopt;
  }
  return start;
}

// --- access mode ---------------------------------------------------------------------------

TEST(OsPlatform, PlatformIdGivesTheAccessMode) {
  struct Case {
    bool ex, basic;
    std::uint32_t id;
    int mode;
    std::vector<std::uint32_t> sizes;
  };
  const Case cases[] = {
      {true, true, 1, 1, {156}},
      {true, true, 2, 2, {156}},
      {true, true, 0, 0, {156}},  // Win32s
      {true, true, 3, 0, {156}},  // CE
      {false, true, 2, 2, {156, 148}},
      {false, true, 1, 1, {156, 148}},
      {false, false, 2, 0, {156, 148}},
  };
  for (const Case& c : cases) {
    FakePortIo io;
    io.version156Ok = c.ex;
    io.version148Ok = c.basic;
    io.platformId = c.id;
    EXPECT_EQ(GetOsPlatform(io), c.mode) << c.ex << c.basic << c.id;
    EXPECT_EQ(io.versionSizes, c.sizes);
  }
}

// --- driver start, install and open --------------------------------------------------------

class PortDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMonitorProcessState();
    image.assign(3026, 0);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7);
    resources.Add("BIN", kIdPortDriverImage, image);
  }
  // A started service makes the driver's device appear.
  void DeviceAppearsOnStart() {
    services.onStart = [this](const std::string& name) {
      if (name == "hwinterface") io.availableDevices.insert(kDevicePath);
    };
  }
  PortDriverPlatform Platform() { return {&io, &services, &files, &resources}; }
  void ExpectAllServiceHandlesClosed() {
    EXPECT_TRUE(services.handles.open.empty()) << services.handles.open.size() << " left open";
  }

  std::vector<std::uint8_t> image;
  FakePortIo io;
  FakeServices services;
  FakeFileSystem files;
  FakeResources resources;
};

TEST_F(PortDriverTest, StartResultPerPath) {
  struct Case {
    const char* what;
    std::set<std::uint32_t> granted;
    std::uint32_t managerError;
    bool serviceExists;
    bool startSucceeds;
    int result;
    std::vector<std::uint32_t> managerOpens;
    std::size_t starts;
  };
  const std::uint32_t all = kScManagerAllAccess, read = kGenericRead;
  const Case cases[] = {
      {"full rights, started", {all, read}, 5, true, true, 0, {all}, 1},
      {"full rights, start fails", {all, read}, 5, true, false, 3, {all}, 1},
      {"full rights, no service", {all, read}, 5, false, true, 1, {all}, 0},
      {"limited rights, start fails", {read}, 5, true, false, 4, {all, read}, 1},
      {"limited rights, started", {read}, 5, true, true, 1, {all, read}, 1},
      {"limited rights, no service", {read}, 5, false, true, 1, {all, read}, 0},
      {"limited rights, no manager", {}, 5, true, true, 1, {all, read}, 0},
      {"manager fails otherwise", {}, 1115, true, true, 1, {all}, 0},
  };
  for (const Case& c : cases) {
    FakeServices s;
    s.managerAccessGranted = c.granted;
    s.managerError = c.managerError;
    if (c.serviceExists) s.services.insert("hwinterface");
    s.startSucceeds = c.startSucceeds;
    EXPECT_EQ(StartPortDriver(s), c.result) << c.what;
    EXPECT_EQ(s.managerOpens, c.managerOpens) << c.what;
    EXPECT_EQ(s.starts.size(), c.starts) << c.what;
    for (const auto& open : s.serviceOpens) {
      EXPECT_EQ(open.name, "hwinterface") << c.what;
      EXPECT_EQ(open.access, kGenericExecute) << c.what;
    }
    EXPECT_TRUE(s.handles.open.empty()) << c.what;
  }
}

TEST_F(PortDriverTest, InstallWritesTheDriverAndCreatesTheService) {
  EXPECT_EQ(InstallPortDriver(Platform()), 0);

  ASSERT_EQ(resources.finds.size(), 1u);
  EXPECT_EQ(resources.finds[0].type, "BIN");
  EXPECT_EQ(resources.finds[0].id, 164u);
  ASSERT_EQ(files.files.count(kDriverFile), 1u);
  EXPECT_EQ(files.files[kDriverFile], image);

  ASSERT_EQ(services.creates.size(), 1u);
  const ServiceConfig& c = services.creates[0];
  EXPECT_EQ(c.name, "hwinterface");
  EXPECT_EQ(c.displayName, "hwinterface");
  EXPECT_EQ(c.desiredAccess, 0xF01FFu);
  EXPECT_EQ(c.serviceType, 1u);
  EXPECT_EQ(c.startType, 1u);
  EXPECT_EQ(c.errorControl, 1u);
  EXPECT_EQ(c.imagePath, "System32\\Drivers\\hwinterface.sys");
  EXPECT_EQ(services.managerOpens, std::vector<std::uint32_t>{kScManagerAllAccess});
  ExpectAllServiceHandlesClosed();
}

TEST_F(PortDriverTest, InstallResultAndEffectsPerPath) {
  {  // access denied: the file is still attempted first, nothing is created, result 5
    FakeServices s;
    s.managerAccessGranted = {kGenericRead};
    FakeFileSystem f;
    EXPECT_EQ(InstallPortDriver({&io, &s, &f, &resources}), 5);
    EXPECT_EQ(f.writeAttempts, std::vector<std::string>{kDriverFile});
    EXPECT_TRUE(s.creates.empty());
  }
  {  // the manager fails for another reason: 0, nothing created
    FakeServices s;
    s.managerUnavailable = true;
    s.managerError = 1115;
    EXPECT_EQ(InstallPortDriver({&io, &s, &files, &resources}), 0);
    EXPECT_TRUE(s.creates.empty());
  }
  {  // the service exists already: the creation fails without effect, result 0
    FakeServices s;
    s.services.insert("hwinterface");
    EXPECT_EQ(InstallPortDriver({&io, &s, &files, &resources}), 0);
    EXPECT_EQ(s.creates.size(), 1u);
    EXPECT_TRUE(s.handles.open.empty());
  }
  {  // no driver image: no file, the service is still created
    FakeResources none;
    FakeFileSystem f;
    FakeServices s;
    EXPECT_EQ(InstallPortDriver({&io, &s, &f, &none}), 0);
    EXPECT_TRUE(f.writeAttempts.empty());
    EXPECT_EQ(s.creates.size(), 1u);
  }
  {  // the file cannot be written: the service is still created
    FakeFileSystem f;
    f.writeSucceeds = false;
    FakeServices s;
    EXPECT_EQ(InstallPortDriver({&io, &s, &f, &resources}), 0);
    EXPECT_EQ(s.creates.size(), 1u);
  }
  {  // no system directory: nothing is written anywhere else
    FakeFileSystem f;
    f.systemDirectory.clear();
    FakeServices s;
    EXPECT_EQ(InstallPortDriver({&io, &s, &f, &resources}), 0);
    EXPECT_TRUE(f.writeAttempts.empty());
  }
}

TEST_F(PortDriverTest, DeviceOpensAtOnce) {
  io.availableDevices.insert(kDevicePath);
  EXPECT_EQ(OpenPortDriver(Platform()), 0);
  EXPECT_EQ(io.opens, std::vector<std::string>{kDevicePath});
  EXPECT_EQ(io.devices.open.count(g_hPortDriver), 1u);
  EXPECT_TRUE(services.managerOpens.empty());
  EXPECT_TRUE(files.writeAttempts.empty());
}

TEST_F(PortDriverTest, StoppedServiceIsStartedAndTheDeviceOpenedAgain) {
  services.services.insert("hwinterface");
  DeviceAppearsOnStart();
  EXPECT_EQ(OpenPortDriver(Platform()), 1);
  EXPECT_EQ(services.starts.size(), 1u);
  EXPECT_TRUE(services.creates.empty());
  EXPECT_TRUE(files.writeAttempts.empty());
  EXPECT_EQ(io.opens.size(), 2u);
  EXPECT_EQ(io.devices.open.count(g_hPortDriver), 1u);
  ExpectAllServiceHandlesClosed();
}

TEST_F(PortDriverTest, MissingServiceIsInstalledThenStarted) {
  DeviceAppearsOnStart();
  EXPECT_EQ(OpenPortDriver(Platform()), 1);
  EXPECT_EQ(files.files.count(kDriverFile), 1u);
  ASSERT_EQ(services.creates.size(), 1u);
  EXPECT_EQ(services.creates[0].startType, kServiceSystemStart);
  EXPECT_EQ(services.starts.size(), 1u);  // the first attempt found no service to start
  EXPECT_EQ(io.devices.open.count(g_hPortDriver), 1u);
  ExpectAllServiceHandlesClosed();
}

TEST_F(PortDriverTest, FailedStartIsFollowedByInstallAndASecondStart) {
  services.services.insert("hwinterface");
  services.startSucceeds = false;
  EXPECT_EQ(OpenPortDriver(Platform()), 1);
  EXPECT_EQ(services.starts.size(), 2u);
  EXPECT_EQ(services.creates.size(), 1u);
  EXPECT_EQ(g_hPortDriver, kInvalidHandle);
  EXPECT_EQ(io.opens.size(), 2u);
}

TEST_F(PortDriverTest, EarlierHandleIsClosedBeforeOpeningAgain) {
  io.availableDevices.insert(kDevicePath);
  ASSERT_EQ(OpenPortDriver(Platform()), 0);
  const DeviceHandle first = g_hPortDriver;
  ASSERT_EQ(OpenPortDriver(Platform()), 0);
  EXPECT_NE(g_hPortDriver, first);
  EXPECT_EQ(io.closed, std::vector<DeviceHandle>{first});
  EXPECT_EQ(io.devices.open, std::set<PlatformHandle>{g_hPortDriver});
}

TEST_F(PortDriverTest, CloseOnlyClosesARealHandle) {
  ClosePortDriver(io);  // never opened
  EXPECT_TRUE(io.closed.empty());
  EXPECT_EQ(g_hPortDriver, kNoHandle);

  OpenPortDriver(Platform());  // fails: invalid handle
  ASSERT_EQ(g_hPortDriver, kInvalidHandle);
  ClosePortDriver(io);
  EXPECT_TRUE(io.closed.empty());
  EXPECT_EQ(g_hPortDriver, kNoHandle);

  io.availableDevices.insert(kDevicePath);
  OpenPortDriver(Platform());
  const DeviceHandle opened = g_hPortDriver;
  ClosePortDriver(io);
  EXPECT_EQ(io.closed, std::vector<DeviceHandle>{opened});
  EXPECT_EQ(g_hPortDriver, kNoHandle);
  ClosePortDriver(io);  // twice is harmless
  EXPECT_EQ(io.closed.size(), 1u);
}

// --- device inventory ----------------------------------------------------------------------

TEST(PnpDeviceLookup, NameContainsTheTagCaseSensitively) {
  struct Case {
    const char* name;
    bool match;
  };
  const Case cases[] = {
      {"ECP Printer Port (LPT1)", true},
      {"Printer Port (LPT1)", true},
      {"Printer Port (LPT2)", false},
      {"ECP Printer Port (lpt1)", false},
      {"ECP Printer Port LPT1", false},
  };
  for (const Case& c : cases) {
    FakeInventory inventory;
    inventory.entries = {{"Wine PnP Device", "ROOT\\WINE\\0000"},
                         {c.name, "ACPI\\PNP0401\\4&1"}};
    std::string s = "(LPT1)";
    EXPECT_EQ(FindPnpDeviceIdByName(inventory, s), 0) << c.name;
    EXPECT_EQ(s, c.match ? "ACPI\\PNP0401\\4&1" : "(LPT1)") << c.name;
    EXPECT_EQ(inventory.closes, 1) << c.name;
  }
}

TEST(PnpDeviceLookup, FirstMatchingEntryDecides) {
  FakeInventory inventory;
  inventory.entries = {{"ECP Printer Port (LPT1)", "ACPI\\PNP0401\\FIRST"},
                       {"Printer Port (LPT1)", "ACPI\\PNP0400\\SECOND"},
                       // would match the identity now held, were it tested
                       {"Alias of ACPI\\PNP0401\\FIRST", "ROOT\\THIRD"}};
  // The third name contains the stored identity: the current value of s is what is tested.
  std::string s = "(LPT1)";
  EXPECT_EQ(FindPnpDeviceIdByName(inventory, s), 0);
  EXPECT_EQ(s, "ROOT\\THIRD");

  inventory.entries.pop_back();
  inventory.nexts = 0;
  s = "(LPT1)";
  EXPECT_EQ(FindPnpDeviceIdByName(inventory, s), 0);
  EXPECT_EQ(s, "ACPI\\PNP0401\\FIRST");
  EXPECT_EQ(inventory.nexts, 3);  // every entry is visited, then the end
}

TEST(PnpDeviceLookup, EmptySearchStringMatchesTheFirstEntry) {
  FakeInventory inventory;
  inventory.entries = {{"Wine PnP Device", "ROOT\\WINE\\0000"},
                       {"ECP Printer Port (LPT1)", "ACPI\\PNP0401\\4&1"}};
  std::string s;
  EXPECT_EQ(FindPnpDeviceIdByName(inventory, s), 0);
  EXPECT_EQ(s, "ROOT\\WINE\\0000");
}

TEST(PnpDeviceLookup, QueryThatCannotRunGivesOneAndKeepsTheString) {
  FakeInventory inventory;
  inventory.openSucceeds = false;
  inventory.entries = {{"ECP Printer Port (LPT1)", "ACPI\\PNP0401\\4&1"}};
  std::string s = "(LPT1)";
  EXPECT_EQ(FindPnpDeviceIdByName(inventory, s), 1);
  EXPECT_EQ(s, "(LPT1)");
  EXPECT_EQ(inventory.nexts, 0);
  EXPECT_EQ(inventory.closes, 0);  // Open releases everything itself when it fails
}

// --- resource list walk --------------------------------------------------------------------

TEST(ResourceListWalk, FirstPortRangeOfTheList) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> list;
    std::optional<std::uint64_t> start;
  };
  const Case cases[] = {
      {"parallel port", ParallelPortList(), 0x378},
      // Full descriptors are stepped over by their actual length.
      {"second descriptor",
       ResourceList({{{kInterrupt, 7, 1}, {kMemory, 0xD0000, 0x1000}, {kDma, 3, 1}},
                     {{kPort, 0x278, 8}}}),
       0x278},
      {"after an empty descriptor", ResourceList({{}, {{kPort, 0x3BC, 4}}}), 0x3BC},
      {"port range later in its descriptor",
       ResourceList({{{kInterrupt, 5, 1}, {kPort, 0x278, 8}, {kPort, 0x678, 8}}}), 0x278},
      {"full 64-bit start", ResourceList({{{kPort, 0x123456789ABCull, 8}}}), 0x123456789ABCull},
      {"no port range", ResourceList({{{kInterrupt, 7, 1}}, {{kDma, 3, 1}}}), std::nullopt},
      {"no descriptors", ResourceList({}), std::nullopt},
      {"empty descriptors", ResourceList({{}, {}}), std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(FirstPort(c.list), c.start) << c.what;
}

TEST(ResourceListWalk, TruncatedListNeverReadsPastItsBytes) {
  // Every proper prefix of a list cuts the descriptor holding the port range.
  for (const auto& list :
       {ParallelPortList(), ResourceList({{{kInterrupt, 7, 1}}, {{kPort, 0x278, 8}}})}) {
    ASSERT_TRUE(FirstPort(list).has_value());
    for (std::size_t n = 0; n < list.size(); ++n) {
      EXPECT_EQ(FirstPort(std::vector<std::uint8_t>(list.begin(), list.begin() + n)),
                std::nullopt)
          << "prefix of " << n << " of " << list.size();
    }
  }
  std::uint64_t start = 0;
  EXPECT_FALSE(FindFirstPortRange(nullptr, 100, &start));
}

TEST(ResourceListWalk, LyingCountsGiveFalse) {
  // The partial descriptor count of a full descriptor claims more than there is, including
  // counts whose 16-fold overflows 32 bits.
  for (std::uint32_t n : {4u, 100u, 0x10000000u, 0x10000001u, 0x0FFFFFFFu, 0xFFFFFFFFu}) {
    auto list = ParallelPortList();
    PutU32(list, 4 + 12, n);
    EXPECT_EQ(FirstPort(list), std::nullopt) << n;
  }
  // More full descriptors claimed than present, none of the present ones with a port.
  for (std::uint32_t count : {2u, 1000u, 0xFFFFFFFFu}) {
    auto list = ResourceList({{{kInterrupt, 7, 1}}});
    PutU32(list, 0, count);
    EXPECT_EQ(FirstPort(list), std::nullopt) << count;
  }
}

TEST(ResourceListWalk, OnlyTheTypeByteMarksAPortRange) {
  auto list = ResourceList({{{kInterrupt, 0x378, 8}}});
  list[4 + 16 + 1] = kPort;  // share disposition 1
  list[4 + 16 + 2] = kPort;  // flags
  EXPECT_EQ(FirstPort(list), std::nullopt);
}

// A second, deliberately different walk: every byte through vector::at, so a read outside the
// list throws instead of reading. It is the reference the randomized run compares against.
std::optional<std::uint64_t> ReferenceFirstPort(const std::vector<std::uint8_t>& b) {
  try {
    auto u32 = [&](std::size_t at) {
      return std::uint32_t{b.at(at)} | std::uint32_t{b.at(at + 1)} << 8 |
             std::uint32_t{b.at(at + 2)} << 16 | std::uint32_t{b.at(at + 3)} << 24;
    };
    const std::uint64_t count = u32(0);
    std::uint64_t at = 4;
    for (std::uint64_t i = 0; i < count; ++i) {
      const std::uint64_t n = u32(at + 12);
      const std::uint64_t end = at + 16 + 16 * n;  // 64-bit: no overflow for a 32-bit n
      if (end > b.size()) return std::nullopt;      // the whole descriptor must be there
      for (std::uint64_t j = 0; j < n; ++j) {
        const std::size_t p = at + 16 + 16 * j;
        if (b.at(p) == kPort) return std::uint64_t{u32(p + 4)} | std::uint64_t{u32(p + 8)} << 32;
      }
      at = end;
    }
    return std::nullopt;
  } catch (const std::out_of_range&) {
    return std::nullopt;
  }
}

// Randomized, deterministic (fixed seed): random bytes, and valid lists with mutated counts,
// bytes and lengths. Every input sits in an exact-size heap block (see FirstPort), so a build
// with SANITIZE=ON turns any out-of-bounds read into a failure; in every build the result must
// agree with the reference walk.
TEST(ResourceListWalk, RandomAndMutatedListsAgreeWithTheReference) {
  std::mt19937 rng(20261211);
  auto uniform = [&](std::uint32_t lo, std::uint32_t hi) {
    return std::uniform_int_distribution<std::uint32_t>(lo, hi)(rng);
  };
  const std::uint32_t interestingCounts[] = {0, 1, 2, 3, 0x7FFFFFFF, 0x0FFFFFFF, 0x10000000,
                                             0x10000001, 0xFFFFFFFF, 0xFFFFFFF0};
  int found = 0;
  int mismatches = 0;
  constexpr int kRounds = 200000;
  for (int round = 0; round < kRounds && mismatches < 10; ++round) {
    std::vector<std::uint8_t> bytes;
    if (round % 4 == 0) {
      bytes.resize(uniform(0, 600));
      for (auto& x : bytes) x = static_cast<std::uint8_t>(uniform(0, 255));
      if (bytes.size() >= 4 && uniform(0, 1)) PutU32(bytes, 0, uniform(0, 4));
    } else {
      std::vector<std::vector<Partial>> fulls(uniform(0, 4));
      for (auto& partials : fulls) {
        partials.resize(uniform(0, 5));
        for (auto& p : partials) {
          p = {static_cast<std::uint8_t>(uniform(0, 3) == 0 ? kPort : uniform(0, 8)),
               (std::uint64_t{uniform(0, 0xFFFFFFFF)} << 32) | uniform(0, 0xFFFF), uniform(0, 16)};
        }
      }
      bytes = ResourceList(fulls);
      const std::uint32_t mutations = uniform(0, 3);
      for (std::uint32_t m = 0; m < mutations && !bytes.empty(); ++m) {
        switch (uniform(0, 4)) {
          case 0:  // a count word somewhere
            if (bytes.size() >= 4) {
              PutU32(bytes, uniform(0, static_cast<std::uint32_t>(bytes.size() - 4)),
                     interestingCounts[uniform(0, 9)]);
            }
            break;
          case 1:  // the list's own count
            if (bytes.size() >= 4) PutU32(bytes, 0, interestingCounts[uniform(0, 9)]);
            break;
          case 2:  // cut
            bytes.resize(uniform(0, static_cast<std::uint32_t>(bytes.size())));
            break;
          case 3:  // a random byte
            bytes[uniform(0, static_cast<std::uint32_t>(bytes.size() - 1))] =
                static_cast<std::uint8_t>(uniform(0, 255));
            break;
          default:  // trailing junk
            bytes.resize(bytes.size() + uniform(1, 40), static_cast<std::uint8_t>(uniform(0, 255)));
            break;
        }
      }
    }
    const auto expected = ReferenceFirstPort(bytes);
    const auto actual = FirstPort(bytes);
    if (actual != expected) {
      ++mismatches;
      ADD_FAILURE() << "round " << round << ", " << bytes.size() << " bytes";
    }
    if (actual) ++found;
  }
  // The generator must reach both outcomes often, or the run proves little.
  EXPECT_GT(found, kRounds / 10);
  EXPECT_LT(found, kRounds * 9 / 10);
}

// --- status port location ------------------------------------------------------------------

class StatusPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMonitorProcessState();
    LptLabel = "ACPI\\PNP0401\\4&1";
  }
  void SetAllocConfig(std::vector<std::uint8_t> bytes) {
    registry.SetValue(RegistryRoot::kLocalMachine, kKey, "AllocConfig", 8 /* REG_RESOURCE_LIST */,
                      std::move(bytes));
  }
  void ExpectKeyClosed() { EXPECT_TRUE(registry.handles.open.empty()); }

  const std::string kKey = "SYSTEM\\CurrentControlSet\\Enum\\ACPI\\PNP0401\\4&1\\Control";
  FakeRegistry registry;
};

TEST_F(StatusPortTest, StatusRegisterFollowsTheBaseAddress) {
  SetAllocConfig(ParallelPortList());
  EXPECT_TRUE(LocateStatusPort(registry));
  EXPECT_EQ(LptStatusPort, 0x379);
  ASSERT_EQ(registry.openCalls.size(), 1u);
  EXPECT_EQ(registry.openCalls[0].root, RegistryRoot::kLocalMachine);
  EXPECT_EQ(registry.openCalls[0].path, kKey);
  EXPECT_EQ(registry.openCalls[0].access, kKeyRead);
  EXPECT_EQ(registry.queried, std::vector<std::string>{"AllocConfig"});
  EXPECT_EQ(registry.querySizes, std::vector<std::uint32_t>{512});
  ExpectKeyClosed();
}

TEST_F(StatusPortTest, PortInTheSecondDescriptor) {
  SetAllocConfig(ResourceList({{{kInterrupt, 7, 1}, {kMemory, 0xD0000, 16}, {kDma, 3, 1}},
                               {{kPort, 0x278, 8}}}));
  EXPECT_TRUE(LocateStatusPort(registry));
  EXPECT_EQ(LptStatusPort, 0x279);
}

TEST_F(StatusPortTest, AddressIsKeptToSixteenBits) {
  for (auto [start, port] : {std::pair<std::uint64_t, std::uint16_t>{0xFFFF, 0x0000},
                             {0x100000378ull, 0x0379}, {0xFFFE, 0xFFFF}}) {
    FakeRegistry r;
    r.SetValue(RegistryRoot::kLocalMachine, kKey, "AllocConfig", 8,
               ResourceList({{{kPort, start, 8}}}));
    EXPECT_TRUE(LocateStatusPort(r));
    EXPECT_EQ(LptStatusPort, port) << std::hex << start;
  }
}

TEST_F(StatusPortTest, FailuresLeaveThePortAndCloseTheKey) {
  struct Case {
    const char* what;
    std::optional<std::vector<std::uint8_t>> value;  // nullopt: key without the value
  };
  std::vector<std::uint8_t> tooLong = ParallelPortList();
  tooLong.resize(513, 0);
  const Case cases[] = {
      {"no value", std::nullopt},
      {"no port range", ResourceList({{{kInterrupt, 7, 1}}})},
      {"value longer than the buffer", tooLong},
      {"empty value", std::vector<std::uint8_t>{}},
  };
  for (const Case& c : cases) {
    FakeRegistry r;
    if (c.value) {
      r.SetValue(RegistryRoot::kLocalMachine, kKey, "AllocConfig", 8, *c.value);
    } else {
      r.AddKey(RegistryRoot::kLocalMachine, kKey);
    }
    LptStatusPort = 0x1234;
    EXPECT_FALSE(LocateStatusPort(r)) << c.what;
    EXPECT_EQ(LptStatusPort, 0x1234) << c.what;
    EXPECT_EQ(r.openCalls.size(), 1u) << c.what;
    EXPECT_TRUE(r.handles.open.empty()) << c.what;
  }
}

TEST_F(StatusPortTest, UnmatchedTagNamesNoKey) {
  LptLabel = "(LPT1)";  // the inventory had no matching entry
  SetAllocConfig(ParallelPortList());
  LptStatusPort = 0x1234;
  EXPECT_FALSE(LocateStatusPort(registry));
  EXPECT_EQ(registry.openCalls[0].path, "SYSTEM\\CurrentControlSet\\Enum\\(LPT1)\\Control");
  EXPECT_EQ(LptStatusPort, 0x1234);
}

TEST_F(StatusPortTest, ValueOfExactlyTheBufferSize) {
  auto list = ParallelPortList();
  list.resize(512, 0xEE);
  SetAllocConfig(list);
  EXPECT_TRUE(LocateStatusPort(registry));
  EXPECT_EQ(LptStatusPort, 0x379);
}

TEST_F(StatusPortTest, OnlyTheBytesReadAreWalked) {
  // The value ends after the descriptor header; the rest of the buffer holds stale bytes that
  // look like port ranges.
  auto list = ParallelPortList();
  list.resize(4 + 16);
  SetAllocConfig(list);
  registry.scribble = kPort;
  EXPECT_FALSE(LocateStatusPort(registry));
}

// --- port reads ----------------------------------------------------------------------------

class PortReadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMonitorProcessState();
    io.portValues[0x379] = 0xDF;
  }
  void OpenDriver() {
    io.availableDevices.insert(kDevicePath);
    FakeServices services;
    FakeFileSystem files;
    FakeResources resources;
    ASSERT_EQ(OpenPortDriver({&io, &services, &files, &resources}), 0);
  }
  FakePortIo io;
};

TEST_F(PortReadTest, DirectModeUsesThePortInstruction) {
  g_portAccessMode = 1;
  EXPECT_EQ(ReadPortByte(io, 0x379), 0xDF);
  EXPECT_EQ(io.inputs, std::vector<std::uint16_t>{0x379});
  EXPECT_TRUE(io.controls.empty());
}

TEST_F(PortReadTest, DriverModeSendsTheTwoBytePortAddress) {
  OpenDriver();
  g_portAccessMode = 2;
  EXPECT_EQ(ReadPortByte(io, 0x379), 0xDF);
  ASSERT_EQ(io.controls.size(), 1u);
  const auto& call = io.controls[0];
  EXPECT_EQ(call.device, g_hPortDriver);
  EXPECT_EQ(call.code, 0x9C402004u);
  EXPECT_EQ(call.in, (std::vector<std::uint8_t>{0x79, 0x03}));
  EXPECT_EQ(call.outSize, 1u);
  EXPECT_TRUE(call.outAliasesIn);
  EXPECT_TRUE(io.inputs.empty());
}

TEST_F(PortReadTest, FailedDriverRequestDecodesAsNoValidReading) {
  OpenDriver();
  g_portAccessMode = 2;
  io.controlSucceeds = false;
  const std::uint8_t byte = ReadPortByte(io, 0x379);
  EXPECT_EQ(byte, 0);
  EXPECT_EQ(DecodeLptStatus(byte), -1);
  // The port address's low byte, left in the request record, would have read as a fault.
  ASSERT_NE(DecodeLptStatus(0x79), -1);
}

TEST_F(PortReadTest, DriverThatNeverOpenedYieldsZero) {
  FakeServices services;
  FakeFileSystem files;
  FakeResources resources;
  OpenPortDriver({&io, &services, &files, &resources});
  ASSERT_EQ(g_hPortDriver, kInvalidHandle);
  g_portAccessMode = 2;
  EXPECT_EQ(ReadPortByte(io, 0x379), 0);
}

TEST_F(PortReadTest, NoAccessModesYieldZero) {
  OpenDriver();
  for (int mode : {0, 3, -1}) {
    g_portAccessMode = mode;
    EXPECT_EQ(ReadPortByte(io, 0x379), 0) << mode;
  }
  EXPECT_TRUE(io.inputs.empty());
  EXPECT_TRUE(io.controls.empty());
}

TEST_F(PortReadTest, StatusTimerOfTheWindowWithAFailingDriver) {
  fakes::FakePlatform fake;
  StatusWindow window(fake.Platform());
  fake.portIo.availableDevices.insert(kDevicePath);
  ASSERT_EQ(OpenPortDriver({&fake.portIo, &fake.services, &fake.files, &fake.resources}), 0);
  g_portAccessMode = 2;
  LptStatusPort = 0x379;
  fake.portIo.portValues[0x379] = 0xD8;  // not busy, selected, no error: ready
  window.OnTimer(kLptStatusTimerId);
  EXPECT_EQ(window.m_nLptStatus, 2);
  fake.portIo.controlSucceeds = false;
  window.OnTimer(kLptStatusTimerId);
  EXPECT_EQ(window.m_nLptStatus, -1);
}

}  // namespace
