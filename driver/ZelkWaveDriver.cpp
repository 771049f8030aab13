// The kernel driver around the virtual card core: one card state shared by every
// client process, reached through \\.\ZelkWave.
#include "driver/Ddk.h"
#include "driver/RequestRules.h"
#include "emulator/VirtualCard.h"

namespace {

// Trivially constructible: the image has no start-up code to run constructors.
CVirtualCard g_card;
// A fast mutex rather than a spin lock: METHOD_NEITHER buffers are the caller's
// pageable memory, which must not be touched at dispatch level.
FAST_MUTEX g_cardLock;

const wchar_t kDeviceName[] = L"\\Device\\ZelkWave";
const wchar_t kLinkName[] = L"\\DosDevices\\ZelkWave";

struct RequestBuffers {
    const void* in;
    ULONG inSize;
    void* out;
    ULONG outSize;
};

NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR bytes) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = bytes;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

// Each transfer method puts the caller's request and reply somewhere else.
RequestBuffers LocateBuffers(PIRP irp, PIO_STACK_LOCATION stack) {
    const ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    RequestBuffers b = {nullptr, stack->Parameters.DeviceIoControl.InputBufferLength, nullptr,
                        stack->Parameters.DeviceIoControl.OutputBufferLength};
    switch (TransferMethodOf(code)) {
    case TransferMethod::Buffered:
        b.in = irp->AssociatedIrp.SystemBuffer;
        b.out = irp->AssociatedIrp.SystemBuffer;
        break;
    case TransferMethod::InDirect:
    case TransferMethod::OutDirect:
        b.in = irp->AssociatedIrp.SystemBuffer;
        if (irp->MdlAddress) b.out = MmGetSystemAddressForMdlSafe(irp->MdlAddress, NormalPagePriority);
        break;
    case TransferMethod::Neither:
        b.in = stack->Parameters.DeviceIoControl.Type3InputBuffer;
        b.out = irp->UserBuffer;
        break;
    }
    if (!b.in) b.inSize = 0;
    if (!b.out) b.outSize = 0;
    return b;
}

void Delay(uint32_t ms) {
    if (ms == 0) return;
    LARGE_INTEGER interval;
    interval.QuadPart = -static_cast<LONGLONG>(ms) * 10000;  // relative, in 100 ns
    KeDelayExecutionThread(KernelMode, FALSE, &interval);
}

NTSTATUS NTAPI OnCreateClose(PDEVICE_OBJECT, PIRP irp) { return Complete(irp, STATUS_SUCCESS, 0); }

NTSTATUS NTAPI OnDeviceControl(PDEVICE_OBJECT, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    const ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    const RequestBuffers b = LocateBuffers(irp, stack);

    uint32_t replyBytes = 0;
    uint32_t delayMs = 0;
    ExAcquireFastMutex(&g_cardLock);
    const bool answered = g_card.Dispatch(code, b.in, b.inSize, b.out, b.outSize, &replyBytes, &delayMs);
    ExReleaseFastMutex(&g_cardLock);

    // Outside the lock: a slow card holds up its caller, not every other client.
    Delay(ClampDelayMs(delayMs));
    if (!answered) {
        // The core writes nothing when it refuses; private codes fail only on size.
        const NTSTATUS refusal = BuffersTooSmall(b.inSize, b.outSize) ? STATUS_BUFFER_TOO_SMALL : STATUS_UNSUCCESSFUL;
        return Complete(irp, refusal, 0);
    }
    // Wine copies back only the bytes reported here, whatever the method.
    return Complete(irp, STATUS_SUCCESS, replyBytes);
}

void NTAPI OnUnload(PDRIVER_OBJECT driver) {
    UNICODE_STRING link;
    RtlInitUnicodeString(&link, kLinkName);
    IoDeleteSymbolicLink(&link);
    IoDeleteDevice(driver->DeviceObject);
}

}  // namespace

extern "C" NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
    g_card.Reset();
    ExInitializeFastMutex(&g_cardLock);

    UNICODE_STRING device;
    UNICODE_STRING link;
    RtlInitUnicodeString(&device, kDeviceName);
    RtlInitUnicodeString(&link, kLinkName);
    PDEVICE_OBJECT object = nullptr;
    NTSTATUS status = IoCreateDevice(driver, 0, &device, FILE_DEVICE_UNKNOWN, 0, FALSE, &object);
    if (!NT_SUCCESS(status)) return status;
    status = IoCreateSymbolicLink(&link, &device);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(object);
        return status;
    }
    driver->MajorFunction[IRP_MJ_CREATE] = OnCreateClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = OnCreateClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = OnDeviceControl;
    driver->DriverUnload = OnUnload;
    return STATUS_SUCCESS;
}
