// The Model table: the names under which each printer model of the range is known.
//
// Stored column by column; every column is an array of kModelCount constant strings in the
// Windows ANSI code page (1252), indexed by model row. A build serves exactly one model, the row
// kModelRow chosen at build time (MODEL_ROW, 14 by default). Code reads only that row, e.g.
// PrinterName[kModelRow]. Nothing here is allocated or changed at run time.
//
// Both programs link columns A-G and the USB identity. Column H (InstanceMutexName) and the
// printing tips belong to the status monitor only (instance_mutex_names.cpp, printing_tips.h).
#pragma once

#ifndef MODEL_ROW
#define MODEL_ROW 14
#endif

constexpr int kModelCount = 15;
constexpr int kModelRow = MODEL_ROW;
static_assert(kModelRow >= 0 && kModelRow < kModelCount, "MODEL_ROW selects a row of the table");

extern const char* const PrinterName[kModelCount];      // A: driver and queue name
extern const char* const UsbSerialNumber[kModelCount];  // B: serial-number part of the USB path
extern const char* const HardwareId[kModelCount];       // C: "NA" in every row
extern const char* const ShareName[kModelCount];        // D: share name of the queue
extern const char* const MonitorFileName[kModelCount];  // E: monitor file name in the package
extern const char* const InfFileName[kModelCount];      // F: driver INF file
extern const char* const GpdFileName[kModelCount];      // G: driver GPD file
extern const char* const InstanceMutexName[kModelCount];  // H: monitor only, one GUID per row

// The version text of the program that links it: one value for all rows, worded per program
// (version_text_monitor.cpp, version_text_setup.cpp).
extern const char* const VersionText;

// USB identity of the model, per build, shared by both programs.
#define USB_VENDOR_ID "1C9F"
#define USB_PRODUCT_ID "3A06"
constexpr const char* UsbVendorId = USB_VENDOR_ID;
constexpr const char* UsbProductId = USB_PRODUCT_ID;
// Expected device name in device-change notifications: UsbIdPrefix + UsbSerialNumber (any case).
constexpr const char* UsbIdPrefix = "USB#VID_1C9F&PID_3A06#";
// Expected printer interface path: UsbInterfacePathPrefix + UsbSerialNumber + UsbPrintClassSuffix.
constexpr const char* UsbInterfacePathPrefix = "\\\\?\\usb#vid_1c9f&pid_3a06#";
// Setup: interface subkey name UsbDeviceClassesKeyPrefix + UsbSerialNumber + UsbPrintClassSuffix.
constexpr const char* UsbDeviceClassesKeyPrefix = "##?#USB#Vid_1c9f&Pid_3a06#";
constexpr const char* UsbPrintClassSuffix = "#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
constexpr const char* UsbPrintDeviceClassesKey =
    "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
