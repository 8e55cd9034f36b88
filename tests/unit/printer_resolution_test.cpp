// Opening the queue, classifying its port and noticing a moved queue.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/model_table.h"
#include "fakes.h"
#include "monitor/monitor_state.h"
#include "monitor/port_access.h"
#include "monitor/status_window.h"

namespace {

const std::string kPrinter = PrinterName[kModelRow];
const std::string kDsSpooler =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\" + kPrinter + "\\DsSpooler";
const std::string kLpt1Id = "ACPI\\PNP0401\\4&1234";

// A CM_RESOURCE_LIST with one full descriptor holding one I/O port range at `base`.
std::vector<std::uint8_t> OnePortRange(std::uint16_t base) {
  std::vector<std::uint8_t> list(4 + 16 + 16, 0);
  list[0] = 1;                      // one full descriptor
  list[4 + 12] = 1;                 // one partial descriptor
  list[20] = 1;                     // CmResourceTypePort
  list[24] = base & 0xFF;
  list[25] = base >> 8;
  list[32] = 8;                     // length
  return list;
}

class PrinterResolution : public ::testing::Test {
 protected:
  void SetUp() override { ResetMonitorProcessState(); }

  void InstallQueue(const std::string& port) { f.spooler.printers[kPrinter].portName = port; }
  // The inventory knows LPT1 and the registry holds its resources at 0x378.
  void ProvideLpt1() {
    f.inventory.entries = {{"Communications Port (COM1)", "ACPI\\PNP0501\\1"},
                           {"ECP Printer Port (LPT1)", kLpt1Id}};
    f.registry.SetValue(RegistryRoot::kLocalMachine,
                        "SYSTEM\\CurrentControlSet\\Enum\\" + kLpt1Id + "\\Control", "AllocConfig",
                        8, OnePortRange(0x378));
  }
  void SetRegistryPort(const std::string& port) {
    std::vector<std::uint8_t> multi(port.begin(), port.end());
    multi.push_back(0);
    multi.push_back(0);
    f.registry.SetValue(RegistryRoot::kLocalMachine, kDsSpooler, "portName", 7, multi);
  }

  fakes::FakePlatform f;
  StatusWindow w{f.Platform()};
};

}  // namespace

TEST_F(PrinterResolution, PortNamesAreClassifiedByTheirFirstMatchingKind) {
  struct Case { const char* port; const char* type; };
  const Case cases[] = {
      {"USB001", "USB"}, {"COM1:", "COM"}, {"FILE:", "FILE:"}, {"LPT1:", "LPT"},
      {"\\\\server\\LPTCOM", "LPT"}, {"com1:", "com1:"}, {"Ne00:", "Ne00:"},
  };
  for (const Case& c : cases) {
    InstallQueue(c.port);
    w.m_nLptStatus = 3;
    ASSERT_TRUE(w.OpenAndResolvePrinter()) << c.port;
    EXPECT_EQ(w.m_strPortType, c.type) << c.port;
    EXPECT_EQ(w.m_strPortName, c.port);
    if (std::string(c.type) != c.port) EXPECT_EQ(w.m_nLptStatus, -1) << c.port;
  }
  EXPECT_EQ(f.spooler.OpenHandleCount(), 1) << "each resolution closes the previous handle";
  EXPECT_EQ(f.spooler.openDefaults.back().desiredAccess, 0xF000Cu);
}

TEST_F(PrinterResolution, ParallelPortStartsTheStatusTimerAndUsbStopsIt) {
  InstallQueue("LPT1:");
  ProvideLpt1();
  ASSERT_TRUE(w.OpenAndResolvePrinter());
  EXPECT_EQ(g_portAccessMode, 2);
  EXPECT_EQ(LptLabel, kLpt1Id) << "the tag (LPT1) was replaced by the device id";
  EXPECT_EQ(LptStatusPort, 0x379);
  EXPECT_EQ(w.m_nLptTimer, 1u);
  EXPECT_EQ(f.view.runningTimers.count(1), 1u);
  EXPECT_EQ(f.view.runningTimers[1], 1000u);
  EXPECT_EQ(f.portIo.opens.front(), "\\\\.\\hwinterface") << "the port driver is opened";

  InstallQueue("USB001");
  ASSERT_TRUE(w.OpenAndResolvePrinter());
  EXPECT_EQ(w.m_nLptTimer, 0u);
  EXPECT_TRUE(f.view.runningTimers.empty());
}

TEST_F(PrinterResolution, ParallelPortWithoutARegisterKeepsNoTimer) {
  InstallQueue("LPT1:");
  f.inventory.entries = {{"Wine PnP Device", "ROOT\\WINE\\0"}};
  ASSERT_TRUE(w.OpenAndResolvePrinter());
  EXPECT_EQ(w.m_strPortType, "LPT");
  EXPECT_EQ(LptLabel, "(LPT1)");
  EXPECT_EQ(w.m_nLptTimer, 0u);
  EXPECT_TRUE(f.view.setTimers.empty());
  EXPECT_EQ(w.m_nLptStatus, -1);
}

TEST_F(PrinterResolution, UnreadablePortRecordFailsWithoutAMessage) {
  InstallQueue("FILE:");
  f.spooler.getPrinter5Fails = true;
  w.m_strPortType = "USB";
  EXPECT_FALSE(w.OpenAndResolvePrinter());
  EXPECT_EQ(w.m_strPortType, "USB") << "a failed size query changes nothing";
  EXPECT_TRUE(f.view.headings.empty());
}

TEST_F(PrinterResolution, PortChangedComparesTheSpoolersRegistryEntry) {
  InstallQueue("LPT1:");
  ASSERT_TRUE(w.OpenAndResolvePrinter());

  EXPECT_FALSE(w.PortChanged()) << "no DsSpooler key (or no full access): no change";
  SetRegistryPort("LPT1:");
  EXPECT_FALSE(w.PortChanged());
  EXPECT_FALSE(w.PortChanged());
  EXPECT_EQ(f.registry.openCalls.back().access, 0xF003Fu);
  EXPECT_EQ(f.registry.querySizes.back(), 21u);
  EXPECT_EQ(f.registry.handles.open.size(), 0u) << "the key is closed every time";

  SetRegistryPort("USB001");
  EXPECT_TRUE(w.PortChanged());
  SetRegistryPort("lpt1:");
  EXPECT_TRUE(w.PortChanged()) << "the comparison is case-sensitive";

  SetRegistryPort(std::string(20, 'P'));
  EXPECT_FALSE(w.PortChanged()) << "a name that does not fit is no reason to restart";

  f.registry.keys[{RegistryRoot::kLocalMachine, kDsSpooler}].erase("portName");
  EXPECT_TRUE(w.PortChanged()) << "a missing value reads as an empty port";

  f.registry.openErrors[{RegistryRoot::kLocalMachine, kDsSpooler}] = win_error::kAccessDenied;
  EXPECT_FALSE(w.PortChanged());
}
