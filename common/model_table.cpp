// Rows 0-13 are the sibling models of the range; row 14 is the LX90 VENDRA.
#include "model_table.h"

const char* const PrinterName[kModelCount] = {
    "Veltro LX30 (ESC P)",  // 0
    "Veltro LX30 PLUS (ESC P)",  // 1
    "Veltro LX45 (ESC P)",  // 2
    "Veltro LX45 PLUS (ESC P)",  // 3
    "Veltro LX50 (ESC P)",  // 4
    "Veltro LX50 VENDRA (ESC P)",  // 5
    "Veltro LX60 (ESC P)",  // 6
    "Veltro LX60 VENDRA (ESC P)",  // 7
    "Veltro LX70 (ESC P)",  // 8
    "Veltro LX70 VENDRA (ESC P)",  // 9
    "Veltro LX80 (ESC P)",  // 10
    "Veltro LX80 VENDRA (ESC P)",  // 11
    "Veltro LX90 (ESC P)",  // 12
    "Veltro LX90 PLUS (ESC P)",  // 13
    "Veltro LX90 VENDRA (ESC P)",  // 14
};

const char* const UsbSerialNumber[kModelCount] = {
    "LX30",  // 0
    "LX30_PLUS",  // 1
    "LX45",  // 2
    "LX45_PLUS",  // 3
    "LX50",  // 4
    "LX50_VENDRA",  // 5
    "LX60",  // 6
    "LX60_VENDRA",  // 7
    "LX70",  // 8
    "LX70_VENDRA",  // 9
    "LX80",  // 10
    "LX80_VENDRA",  // 11
    "LX90",  // 12
    "LX90_PLUS",  // 13
    "LX90_VENDRA",  // 14
};

const char* const HardwareId[kModelCount] = {
    "NA",  // 0
    "NA",  // 1
    "NA",  // 2
    "NA",  // 3
    "NA",  // 4
    "NA",  // 5
    "NA",  // 6
    "NA",  // 7
    "NA",  // 8
    "NA",  // 9
    "NA",  // 10
    "NA",  // 11
    "NA",  // 12
    "NA",  // 13
    "NA",  // 14
};

const char* const ShareName[kModelCount] = {
    "VELTROLX30(ESC P)",  // 0
    "VELTROLX30PLUS(ESC P)",  // 1
    "VELTROLX45(ESC P)",  // 2
    "VELTROLX45PLUS(ESC P)",  // 3
    "VELTROLX50(ESC P)",  // 4
    "VELTROLX50VENDRA(ESC P)",  // 5
    "VELTROLX60(ESC P)",  // 6
    "VELTROLX60VENDRA(ESC P)",  // 7
    "VELTROLX70(ESC P)",  // 8
    "VELTROLX70VENDRA(ESC P)",  // 9
    "VELTROLX80(ESC P)",  // 10
    "VELTROLX80VENDRA(ESC P)",  // 11
    "VELTROLX90(ESC P)",  // 12
    "VELTROLX90PLUS(ESC P)",  // 13
    "VELTROLX90VENDRA(ESC P)",  // 14
};

const char* const MonitorFileName[kModelCount] = {
    "LX30(ESCP)",  // 0
    "LX30PLUS(ESCP)",  // 1
    "LX45(ESCP)",  // 2
    "LX45PLUS(ESCP)",  // 3
    "LX50(ESCP)",  // 4
    "LX50VENDRA(ESCP)",  // 5
    "LX60(ESCP)",  // 6
    "LX60VENDRA(ESCP)",  // 7
    "LX70(ESCP)",  // 8
    "LX70VENDRA(ESCP)",  // 9
    "LX80(ESCP)",  // 10
    "LX80VENDRA(ESCP)",  // 11
    "LX90(ESCP)",  // 12
    "LX90PLUS(ESCP)",  // 13
    "LX90VENDRA(ESCP)",  // 14
};

const char* const InfFileName[kModelCount] = {
    "Ombrix_ESCP.INF",  // 0
    "Ombrix_ESCP.INF",  // 1
    "Ombrix_ESCP.INF",  // 2
    "Ombrix_ESCP.INF",  // 3
    "Ombrix_ESCP.INF",  // 4
    "Ombrix_ESCP.INF",  // 5
    "Ombrix_ESCP.INF",  // 6
    "Ombrix_ESCP.INF",  // 7
    "Ombrix_ESCP.INF",  // 8
    "Ombrix_ESCP.INF",  // 9
    "Ombrix_ESCP.INF",  // 10
    "Ombrix_ESCP.INF",  // 11
    "Ombrix_ESCP.INF",  // 12
    "Ombrix_ESCP.INF",  // 13
    "Ombrix_ESCP.INF",  // 14
};

const char* const GpdFileName[kModelCount] = {
    "TALMX30.GPD",  // 0
    "TALMX30P.GPD",  // 1
    "TALMX45.GPD",  // 2
    "TALMX45P.GPD",  // 3
    "TALMX50.GPD",  // 4
    "TALMX50V.GPD",  // 5
    "TALMX60.GPD",  // 6
    "TALMX60V.GPD",  // 7
    "TALMX70.GPD",  // 8
    "TALMX70V.GPD",  // 9
    "TALMX80.GPD",  // 10
    "TALMX80V.GPD",  // 11
    "TALMX90.GPD",  // 12
    "TALMX90P.GPD",  // 13
    "TALMERIX.GPD",  // 14
};
