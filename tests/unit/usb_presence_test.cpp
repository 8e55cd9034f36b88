#include "monitor/usb_presence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "common/model_table.h"
#include "monitor/monitor_state.h"
#include "monitor/status_window.h"
#include "tests/unit/fakes.h"

namespace {

const std::string kSerial = UsbSerialNumber[kModelRow];
const std::string kExpectedPath = std::string(UsbInterfacePathPrefix) + kSerial + UsbPrintClassSuffix;
const std::string kUsbDeviceClass = "#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
const std::string kPrinterName = "\\\\?\\" + std::string(UsbIdPrefix) + kSerial + kUsbDeviceClass;

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}
std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// A DEV_BROADCAST_DEVICEINTERFACE_A record in a heap block of exactly `size` bytes, so that a
// read past the record's size is a read past the block (caught by the address sanitizer).
struct Record {
  std::unique_ptr<std::uint8_t[]> bytes;
  std::size_t size;
  const void* get() const { return bytes.get(); }
};

Record MakeRecord(const std::string& name, std::uint32_t type = kDbtDevtypDeviceInterface,
                  std::int64_t sizeField = -1, std::size_t blockSize = 0, bool terminate = true) {
  const std::size_t natural = 28 + name.size() + (terminate ? 1 : 0);
  const std::uint32_t size =
      sizeField < 0 ? static_cast<std::uint32_t>(natural) : static_cast<std::uint32_t>(sizeField);
  if (blockSize == 0) blockSize = std::max<std::size_t>(natural, 8);
  Record r{std::make_unique<std::uint8_t[]>(blockSize), blockSize};
  std::memset(r.bytes.get(), 0, blockSize);
  std::memcpy(r.bytes.get(), &size, 4);
  std::memcpy(r.bytes.get() + 4, &type, 4);
  if (blockSize > 28) {
    std::memcpy(r.bytes.get() + 28, name.data(), std::min(name.size(), blockSize - 28));
  }
  return r;
}

TEST(UsbPath, MatchesOnlyTheExpectedPathExactly) {
  struct Case {
    std::string path;
    bool match;
  };
  const Case cases[] = {
      {kExpectedPath, true},
      {Upper(kExpectedPath), false},  // letter case counts at start-up
      {std::string(UsbInterfacePathPrefix) + Lower(kSerial) + UsbPrintClassSuffix,
       Lower(kSerial) == kSerial},
      {std::string(UsbInterfacePathPrefix) + "LX90_OTHER" + UsbPrintClassSuffix, false},
      {kExpectedPath + "x", false},
      {kExpectedPath.substr(0, kExpectedPath.size() - 1), false},
      {std::string(UsbInterfacePathPrefix) + kSerial, false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsPrinterInterfacePath(c.path, kSerial), c.match) << c.path;
}

TEST(UsbPath, ShippedPathIs76Characters) {
  if (kModelRow != 14) GTEST_SKIP() << "the shipped row only";
  EXPECT_EQ(kExpectedPath.size(), 76u);
  EXPECT_TRUE(IsPrinterInterfacePath(
      "\\\\?\\usb#vid_1c9f&pid_3a06#LX90_VENDRA#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}",
      "LX90_VENDRA"));
}

TEST(UsbPath, BufferLimitsOfPathAndSerial) {
  // The expected path has room for a serial of 84 characters, no more.
  const std::string serial84(84, 'S');
  const std::string serial85(85, 'S');
  const auto path = [](const std::string& s) {
    return std::string(UsbInterfacePathPrefix) + s + UsbPrintClassSuffix;
  };
  EXPECT_TRUE(IsPrinterInterfacePath(path(serial84), serial84));
  EXPECT_FALSE(IsPrinterInterfacePath(path(serial85), serial85));
  // A device path of 256 bytes or more never fits the path buffer.
  const std::string serial190(190, 'S');  // path of 255 characters
  const std::string serial191(191, 'S');  // path of 256 characters
  EXPECT_EQ(path(serial190).size(), 255u);
  EXPECT_FALSE(IsPrinterInterfacePath(path(serial190), serial190));  // expected path too long
  EXPECT_FALSE(IsPrinterInterfacePath(path(serial191), serial191));
}

TEST(UsbNotificationName, MatchRule) {
  struct Case {
    std::string name;
    bool match;
  };
  const std::string identity = std::string(UsbIdPrefix) + kSerial;
  const Case cases[] = {
      {kPrinterName, true},
      {Lower(kPrinterName), true},  // letter case is ignored
      {Upper(kPrinterName), true},
      {"abcd" + identity + kUsbDeviceClass, true},  // the first 4 characters are not looked at
      {"\\\\?\\" + identity + "#", true},           // empty class part
      {"\\\\?\\" + identity + "#x#y", false},       // only the last '#' and after are cut
      {"\\\\?\\" + std::string(UsbIdPrefix) + "LX90_OTHER" + kUsbDeviceClass, false},
      {"\\\\?\\" + std::string(UsbIdPrefix) + kSerial + "X" + kUsbDeviceClass, false},
      {"\\\\?\\USB#VID_1234&PID_5678#" + kSerial + kUsbDeviceClass, false},
      {"\\\\?\\" + identity, false},  // no '#' after the prefix part
      {"\\\\?" + identity + kUsbDeviceClass, false},  // the cut prefix eats the 'U'
      {"\\\\?\\", false},
      {"###", false},  // shorter than the prefix
      {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsPrinterNotificationName(c.name, kSerial), c.match) << c.name;
  }
}

TEST(DeviceInterfaceRecord, NameOfAWellFormedRecord) {
  const Record r = MakeRecord(kPrinterName);
  EXPECT_EQ(DeviceInterfaceName(r.get()), kPrinterName);
  // The record as RegisterDeviceNotification's filter has it: size 32, empty name.
  const Record empty = MakeRecord("", kDbtDevtypDeviceInterface, 32, 32);
  EXPECT_EQ(DeviceInterfaceName(empty.get()), "");
}

TEST(DeviceInterfaceRecord, RejectsMalformedRecords) {
  EXPECT_EQ(DeviceInterfaceName(nullptr), std::nullopt);
  for (std::uint32_t type : {0u, 1u, 2u, 3u, 4u, 6u, 7u, 0xFFFFFFFFu}) {
    EXPECT_EQ(DeviceInterfaceName(MakeRecord(kPrinterName, type).get()), std::nullopt) << type;
  }
  // A size below the fixed part: a bare header of 12 bytes, a volume record of 18 bytes, 28.
  for (std::uint32_t size : {0u, 4u, 12u, 18u, 27u, 28u}) {
    const Record r = MakeRecord("", kDbtDevtypDeviceInterface, size, 28);
    EXPECT_EQ(DeviceInterfaceName(r.get()), std::nullopt) << size;
  }
  // The size ends before the name's NUL; the block holds the NUL just past the record.
  const Record cut = MakeRecord(kPrinterName, kDbtDevtypDeviceInterface,
                                28 + kPrinterName.size(), 28 + kPrinterName.size() + 1);
  EXPECT_EQ(DeviceInterfaceName(cut.get()), std::nullopt);
  // No NUL at all up to the record's end: never read past it.
  const Record unterminated = MakeRecord(kPrinterName, kDbtDevtypDeviceInterface, -1, 0, false);
  EXPECT_EQ(DeviceInterfaceName(unterminated.get()), std::nullopt);
}

TEST(DeviceInterfaceRecord, NameEndsAtTheFirstNulInsideTheRecord) {
  const Record r = MakeRecord(kPrinterName + std::string(1, '\0') + "junk",
                              kDbtDevtypDeviceInterface);
  EXPECT_EQ(DeviceInterfaceName(r.get()), kPrinterName);
}

class UsbPresenceTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetMonitorProcessState(); }
  fakes::FakePlatform fake;
  StatusWindow window{fake.Platform()};
};

TEST_F(UsbPresenceTest, NoPrinterPresent) {
  window.CheckUsbPrinterPresence();
  EXPECT_FALSE(window.UsbPresent);
  ASSERT_EQ(fake.devices.setClasses.size(), 1u);
  EXPECT_TRUE(fakes::SameGuid(fake.devices.setClasses[0], kGuidDevInterfaceUsbPrint));
  EXPECT_TRUE(fake.devices.sets.open.empty());  // the set is released
}

TEST_F(UsbPresenceTest, PrinterFoundInAnyOrderAmongOthers) {
  const std::vector<std::string> others = {
      std::string(UsbInterfacePathPrefix) + "LX90_OTHER" + UsbPrintClassSuffix,
      "\\\\?\\usb#vid_04b8&pid_0005#123#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}"};
  for (std::size_t position = 0; position <= others.size(); ++position) {
    ResetMonitorProcessState();
    fakes::FakePlatform f;
    StatusWindow w(f.Platform());
    std::vector<std::string> paths = others;
    paths.insert(paths.begin() + static_cast<long>(position), kExpectedPath);
    for (const auto& p : paths) f.devices.AddPath(p);
    w.CheckUsbPrinterPresence();
    EXPECT_TRUE(w.UsbPresent) << "printer at " << position;
    // The members after the match are not examined.
    EXPECT_EQ(f.devices.indices.size(), position + 1);
    for (const Guid& g : f.devices.pathClasses) {
      EXPECT_TRUE(fakes::SameGuid(g, kGuidDevInterfaceUsbPrint));
    }
    EXPECT_TRUE(f.devices.sets.open.empty());
  }
}

TEST_F(UsbPresenceTest, PathInOtherLetterCaseDoesNotCount) {
  fake.devices.AddPath(Upper(kExpectedPath));
  window.CheckUsbPrinterPresence();
  EXPECT_FALSE(window.UsbPresent);
}

TEST_F(UsbPresenceTest, SetUnavailableEndsTheScanAtOnce) {
  fake.devices.setAvailable = false;
  fake.devices.AddPath(kExpectedPath);
  window.CheckUsbPrinterPresence();
  EXPECT_FALSE(window.UsbPresent);
  EXPECT_TRUE(fake.devices.indices.empty());
  EXPECT_TRUE(fake.devices.destroyed.empty());
}

TEST_F(UsbPresenceTest, FailedMembersAreSkipped) {
  fake.devices.AddFailure(win_error::kFileNotFound);
  fake.devices.AddFailure(IDevices::kDetailFailed);
  fake.devices.AddFailure(1784);  // ERROR_INVALID_USER_BUFFER
  fake.devices.AddPath(kExpectedPath);
  window.CheckUsbPrinterPresence();
  EXPECT_TRUE(window.UsbPresent);
  EXPECT_EQ(fake.devices.indices, (std::vector<std::uint32_t>{0, 1, 2, 3}));
}

TEST_F(UsbPresenceTest, EmptySetUnderWineEndsAlthoughNoMoreItemsNeverComes) {
  // Wine answers every index of the empty set with error 2 instead of 259.
  fake.devices.pastEndError = win_error::kFileNotFound;
  window.CheckUsbPrinterPresence();
  EXPECT_FALSE(window.UsbPresent);
  EXPECT_FALSE(fake.devices.indices.empty());
  EXPECT_LE(fake.devices.indices.size(), 16u);
  EXPECT_EQ(fake.devices.destroyed.size(), 1u);
}

TEST_F(UsbPresenceTest, ShortRunOfFailuresBeforeThePrinterIsStillSkipped) {
  for (int i = 0; i < 7; ++i) fake.devices.AddFailure(win_error::kFileNotFound);
  fake.devices.AddPath(kExpectedPath);
  window.CheckUsbPrinterPresence();
  EXPECT_TRUE(window.UsbPresent);
}

TEST_F(UsbPresenceTest, EndlessUnreadableMembersEndAtTheIndexCap) {
  fake.devices.pastEndError = IDevices::kDetailFailed;
  window.CheckUsbPrinterPresence();
  EXPECT_FALSE(window.UsbPresent);
  EXPECT_GT(fake.devices.indices.size(), 16u);
  EXPECT_LE(fake.devices.indices.size(), 4096u);
  EXPECT_EQ(fake.devices.destroyed.size(), 1u);
}

TEST_F(UsbPresenceTest, ScanLeavesAnEarlierTrueValueAlone) {
  window.UsbPresent = true;
  window.CheckUsbPrinterPresence();  // no member at all
  EXPECT_TRUE(window.UsbPresent);
}

TEST_F(UsbPresenceTest, RegistersForUsbDeviceInterfacesOfTheWindow) {
  fake.view.mainWindow = 0x4242;
  window.RegisterUsbNotification();
  ASSERT_EQ(fake.devices.registrations.size(), 1u);
  EXPECT_EQ(fake.devices.registrations[0].first, 0x4242u);
  EXPECT_TRUE(fakes::SameGuid(fake.devices.registrations[0].second, kGuidDevInterfaceUsbDevice));
  EXPECT_NE(window.DeviceNotifyHandle, kNoHandle);
  EXPECT_EQ(fake.devices.notifications.open.count(window.DeviceNotifyHandle), 1u);
}

TEST_F(UsbPresenceTest, FailedRegistrationIsStoredAsNoHandle) {
  fake.devices.registerFails = true;
  window.RegisterUsbNotification();
  EXPECT_EQ(window.DeviceNotifyHandle, kNoHandle);
}

TEST_F(UsbPresenceTest, RemovalAndArrivalOfThePrinterFollowTheScan) {
  fake.devices.AddPath(kExpectedPath);
  window.CheckUsbPrinterPresence();
  ASSERT_TRUE(window.UsbPresent);

  const Record printer = MakeRecord(kPrinterName);
  window.OnDeviceChange(kDbtDeviceRemoveComplete, printer.get());
  EXPECT_FALSE(window.UsbPresent);
  const Record lowerCase = MakeRecord(Lower(kPrinterName));
  window.OnDeviceChange(kDbtDeviceArrival, lowerCase.get());
  EXPECT_TRUE(window.UsbPresent);
}

TEST_F(UsbPresenceTest, OtherEventsAndOtherDevicesChangeNothing) {
  const Record printer = MakeRecord(kPrinterName);
  const Record otherUnit =
      MakeRecord("\\\\?\\" + std::string(UsbIdPrefix) + "LX90_OTHER" + kUsbDeviceClass);
  const Record otherDevice = MakeRecord("\\\\?\\USB#VID_046D&PID_C077#5&1a2b#" + kUsbDeviceClass);
  const Record portRecord = MakeRecord(kPrinterName, 3);  // DBT_DEVTYP_PORT
  const Record tooShort = MakeRecord("\\\\?");

  for (bool before : {false, true}) {
    struct Event {
      std::uintptr_t type;
      const void* record;
    };
    const Event events[] = {
        {0x8001, printer.get()},  // query remove
        {0x8003, printer.get()},  // remove pending
        {0x8002, printer.get()},  // query remove failed
        {0x0007, nullptr},        // DBT_DEVNODES_CHANGED, no record
        {kDbtDeviceArrival, nullptr},
        {kDbtDeviceRemoveComplete, nullptr},
        {before ? kDbtDeviceRemoveComplete : kDbtDeviceArrival, otherUnit.get()},
        {before ? kDbtDeviceRemoveComplete : kDbtDeviceArrival, otherDevice.get()},
        {before ? kDbtDeviceRemoveComplete : kDbtDeviceArrival, portRecord.get()},
        {before ? kDbtDeviceRemoveComplete : kDbtDeviceArrival, tooShort.get()},
    };
    for (const Event& e : events) {
      window.UsbPresent = before;
      window.OnDeviceChange(e.type, e.record);
      EXPECT_EQ(window.UsbPresent, before) << std::hex << e.type;
    }
  }
}

}  // namespace
