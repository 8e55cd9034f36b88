/* Test tool for the hwinterface driver (built by the win32 build as driver/hwif_check.exe).
 *
 * Registers <system directory>\drivers\hwinterface.sys (copy it there first) as a demand-start
 * kernel driver service with an absolute image path, starts it and exercises its device the way
 * the status monitor does, stops it and does it all once more (the second start only works when
 * the unload removed the device and its link), then deletes the service again. Needs
 * administrator rights. Each check prints one line; the exit code is 0 when all passed. */
#include <windows.h>
#include <stdio.h>

#define READ_PORT_BYTE 0x9C402004u
#define WRITE_PORT_BYTE 0x9C402008u

static int g_failures;

static void Check(int ok, const char* what)
{
    printf("%s: %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok)
        ++g_failures;
}

static HANDLE OpenDevice(void)
{
    return CreateFileA("\\\\.\\hwinterface", GENERIC_READ | GENERIC_WRITE, 0, NULL,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
}

static void ExerciseDevice(void)
{
    BYTE record[3] = {0x79, 0x03, 0x00};
    BYTE big[8] = {0x79, 0x03, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    DWORD returned = 0xFFFF;
    BOOL ok;
    HANDLE device = OpenDevice();
    Check(device != INVALID_HANDLE_VALUE, "device \\\\.\\hwinterface opens for read and write");
    if (device == INVALID_HANDLE_VALUE)
        return;

    ok = DeviceIoControl(device, READ_PORT_BYTE, record, 2, record, 1, &returned, NULL);
    Check(ok && returned == 1, "read request: 2 bytes in, 1 byte out");

    ok = DeviceIoControl(device, READ_PORT_BYTE, big, 8, big, 8, &returned, NULL);
    Check(ok && returned == 1 && big[1] == 0x03 && big[2] == 0xAA,
          "read request with larger buffers: only 1 byte out");

    ok = DeviceIoControl(device, READ_PORT_BYTE, record, 1, record, 1, &returned, NULL);
    Check(!ok && GetLastError() == ERROR_INSUFFICIENT_BUFFER,
          "read request with 1 input byte is refused (buffer too small)");

    ok = DeviceIoControl(device, READ_PORT_BYTE, record, 2, NULL, 0, &returned, NULL);
    Check(!ok, "read request without output room is refused");

    record[0] = 0x78;
    record[1] = 0x03;
    record[2] = 0x55;
    ok = DeviceIoControl(device, WRITE_PORT_BYTE, record, 3, NULL, 0, &returned, NULL);
    Check(!ok && GetLastError() == ERROR_INVALID_FUNCTION, "write request is refused");

    ok = DeviceIoControl(device, 0x9C40200Cu, record, 3, record, 3, &returned, NULL);
    Check(!ok && GetLastError() == ERROR_INVALID_FUNCTION, "unknown request is refused");

    Check(CloseHandle(device), "device closes");
}

int main(void)
{
    SC_HANDLE manager = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service;
    SERVICE_STATUS status;
    HANDLE device;
    int i;

    if (!manager) {
        printf("FAIL: service control manager: error %lu\n", GetLastError());
        return 1;
    }
    service = CreateServiceA(manager, "hwinterface", "hwinterface", SERVICE_ALL_ACCESS,
                             SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                             "\\SystemRoot\\System32\\drivers\\hwinterface.sys", NULL, NULL,
                             NULL, NULL, NULL);
    if (!service)
        service = OpenServiceA(manager, "hwinterface", SERVICE_ALL_ACCESS);
    Check(service != NULL, "service hwinterface exists");
    if (!service)
        return 1;

    for (i = 0; i < 2; ++i) {
        BOOL started = StartServiceA(service, 0, NULL);
        Check(started || GetLastError() == ERROR_SERVICE_ALREADY_RUNNING, "driver starts");
        ExerciseDevice();
        Check(ControlService(service, SERVICE_CONTROL_STOP, &status), "driver stops");
        device = OpenDevice();
        Check(device == INVALID_HANDLE_VALUE, "device is gone after the stop");
        if (device != INVALID_HANDLE_VALUE)
            CloseHandle(device);
    }

    DeleteService(service);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    printf("%d failure(s)\n", g_failures);
    return g_failures ? 1 : 0;
}
