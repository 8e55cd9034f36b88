#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "common/model_table.h"
#include "common/printing_tips.h"

TEST(ModelTable, BuildRowIsTheLx90Vendra) {
  EXPECT_EQ(kModelRow, 14);
  EXPECT_STREQ(PrinterName[kModelRow], "Veltro LX90 VENDRA (ESC P)");
  EXPECT_STREQ(UsbSerialNumber[kModelRow], "LX90_VENDRA");
  EXPECT_STREQ(HardwareId[kModelRow], "NA");
  EXPECT_STREQ(ShareName[kModelRow], "VELTROLX90VENDRA(ESC P)");
  EXPECT_STREQ(MonitorFileName[kModelRow], "LX90VENDRA(ESCP)");
  EXPECT_STREQ(InfFileName[kModelRow], "Ombrix_ESCP.INF");
  EXPECT_STREQ(GpdFileName[kModelRow], "TALMERIX.GPD");
  EXPECT_STREQ(InstanceMutexName[kModelRow], "Global\\{29ABE84F-1EF3-4c82-85D5-B3FCDFB64942}");
  EXPECT_STREQ(VersionText, "Ver 2.01 (9W)");
}

TEST(ModelTable, EveryRowIsFilledAndEachModelHasItsOwnMutex) {
  std::set<std::string> mutexes, printers, serials;
  for (int row = 0; row < kModelCount; ++row) {
    SCOPED_TRACE(row);
    for (const char* const* column : {PrinterName, UsbSerialNumber, ShareName, MonitorFileName,
                                      InfFileName, GpdFileName}) {
      ASSERT_NE(column[row], nullptr);
      EXPECT_GT(std::strlen(column[row]), 0u);
    }
    EXPECT_STREQ(HardwareId[row], "NA");
    const std::string mutex = InstanceMutexName[row];
    // "Global\" and a GUID in braces: 7 + 38 characters.
    ASSERT_EQ(mutex.size(), 45u);
    EXPECT_EQ(mutex.rfind("Global\\{", 0), 0u);
    EXPECT_EQ(mutex.back(), '}');
    mutexes.insert(mutex);
    printers.insert(PrinterName[row]);
    serials.insert(UsbSerialNumber[row]);
    EXPECT_EQ(std::strchr(MonitorFileName[row], ' '), nullptr) << "no blank in the file name";
  }
  EXPECT_EQ(mutexes.size(), 15u);
  EXPECT_EQ(printers.size(), 15u);
  EXPECT_EQ(serials.size(), 15u);
}

TEST(ModelTable, UsbIdentityStringsFitTogether) {
  const std::string path = std::string(UsbInterfacePathPrefix) + UsbSerialNumber[kModelRow] +
                           UsbPrintClassSuffix;
  EXPECT_EQ(std::strlen(UsbInterfacePathPrefix), 26u);
  EXPECT_EQ(std::strlen(UsbPrintClassSuffix), 39u);
  EXPECT_EQ(path.size(), 76u);
  EXPECT_EQ(std::string(UsbIdPrefix) + UsbSerialNumber[kModelRow], "USB#VID_1C9F&PID_3A06#LX90_VENDRA");
  // The class GUID in lower case ends both the interface paths and the DeviceClasses key.
  const std::string key = UsbPrintDeviceClassesKey;
  EXPECT_EQ(key.substr(key.size() - 38), std::string(UsbPrintClassSuffix).substr(1));
  EXPECT_NE(std::string(UsbIdPrefix).find(UsbVendorId), std::string::npos);
  EXPECT_NE(std::string(UsbIdPrefix).find(UsbProductId), std::string::npos);
}

TEST(PrintingTips, ElevenTipsInCodePage1252) {
  EXPECT_STREQ(PrintingTips[0],
               "In case of \"Printer Fonts\" set font size as 10 for better throughput and speed.");
  EXPECT_STREQ(PrintingTips[10], "Use Veltro Ink bank to recharge your ribbon cassette.");
  // The en dash of tips 5 and 6 is the single byte 0x96, one blank on each side.
  for (int tip : {5, 6}) {
    const std::string text = PrintingTips[tip];
    EXPECT_EQ(text.rfind("Caution \x96 Do not ", 0), 0u) << tip;
  }
  EXPECT_EQ(g_tipIndex, 0);
}
