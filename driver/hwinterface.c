/* hwinterface: a minimal kernel-mode driver that lets the status monitor read the parallel
 * port's status register. Device "\Device\hwinterface", reachable from user mode as
 * "\\.\hwinterface". The request handling itself lives in dispatch.c. */
#include <ddk/wdm.h>

#include "driver/dispatch.h"

_Static_assert(HWIF_STATUS_SUCCESS == (uint32_t)STATUS_SUCCESS, "status value");
_Static_assert(HWIF_STATUS_INVALID_PARAMETER == (uint32_t)STATUS_INVALID_PARAMETER,
               "status value");
_Static_assert(HWIF_STATUS_INVALID_DEVICE_REQUEST == (uint32_t)STATUS_INVALID_DEVICE_REQUEST,
               "status value");
_Static_assert(HWIF_STATUS_BUFFER_TOO_SMALL == (uint32_t)STATUS_BUFFER_TOO_SMALL,
               "status value");
_Static_assert(HWIF_IOCTL_READ_PORT_BYTE ==
                   (uint32_t)CTL_CODE(0x9C40, 0x801, METHOD_BUFFERED, FILE_ANY_ACCESS),
               "read request code");
_Static_assert(HWIF_IOCTL_WRITE_PORT_BYTE ==
                   (uint32_t)CTL_CODE(0x9C40, 0x802, METHOD_BUFFERED, FILE_ANY_ACCESS),
               "write request code");

static WCHAR g_deviceNameText[] = L"\\Device\\hwinterface";
static WCHAR g_linkNameText[] = L"\\DosDevices\\hwinterface";
static UNICODE_STRING g_deviceName = {sizeof g_deviceNameText - sizeof(WCHAR),
                                      sizeof g_deviceNameText, g_deviceNameText};
static UNICODE_STRING g_linkName = {sizeof g_linkNameText - sizeof(WCHAR),
                                    sizeof g_linkNameText, g_linkNameText};

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath);

static uint8_t ReadPort(uint16_t port)
{
    return READ_PORT_UCHAR((PUCHAR)(ULONG_PTR)port);
}

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information)
{
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS NTAPI DispatchOpenClose(PDEVICE_OBJECT device, PIRP irp)
{
    (void)device;
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI DispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp)
{
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    hwif_completion c;
    (void)device;

    c = hwif_serve(stack->Parameters.DeviceIoControl.IoControlCode,
                   irp->AssociatedIrp.SystemBuffer,
                   stack->Parameters.DeviceIoControl.InputBufferLength,
                   stack->Parameters.DeviceIoControl.OutputBufferLength, ReadPort);
    return Complete(irp, (NTSTATUS)c.status, c.information);
}

static VOID NTAPI DriverUnload(PDRIVER_OBJECT driver)
{
    IoDeleteSymbolicLink(&g_linkName);
    if (driver->DeviceObject)
        IoDeleteDevice(driver->DeviceObject);
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath)
{
    PDEVICE_OBJECT device = NULL;
    NTSTATUS status;
    (void)registryPath;

    status = IoCreateDevice(driver, 0, &g_deviceName, FILE_DEVICE_UNKNOWN,
                            FILE_DEVICE_SECURE_OPEN, FALSE, &device);
    if (!NT_SUCCESS(status))
        return status;

    status = IoCreateSymbolicLink(&g_linkName, &g_deviceName);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(device);
        return status;
    }

    device->Flags |= DO_BUFFERED_IO;
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    driver->MajorFunction[IRP_MJ_CREATE] = DispatchOpenClose;
    driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchOpenClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchOpenClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchDeviceControl;
    driver->DriverUnload = DriverUnload;
    return STATUS_SUCCESS;
}
