// Resource and control ids of the status monitor (status_monitor.rc).
#pragma once

#define IDD_STATUS_MONITOR 102
#define IDC_PRINTER_PICTURE 136
#define IDB_PRINTER 152
#define IDR_PORT_DRIVER 164
#define IDR_ERROR_ANIMATION 165
#define IDR_INFORMATION_ANIMATION 166
#define IDC_ANIMATION 1002
#define IDC_HEADING 1004
#define IDC_ADVICE 1005
#define IDC_OK_BUTTON 1007
#define IDC_TIP 1008
#define IDI_STATUS_MONITOR 1009
#define IDI_TRAY 1010
#define IDC_VERSION 1010

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
