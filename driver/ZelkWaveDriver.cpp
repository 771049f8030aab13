// The kernel driver around the virtual card core: one card state shared by every
// client process, reached through \\.\ZelkWave.
//
// For development and tests under Wine only: on a real Windows kernel it is unsafe.
// Requests of the neither method touch the caller's buffers without structured
// exception handling (MinGW has none), so a bad pointer stops the system; replies of
// the input-direct method are written through a buffer the kernel locked for reading
// only; and the device has the default security, so any local user can open it.
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

// Buffers of the neither method are the caller's own addresses, handed over
// unchecked: the kernel must not read or write through them unless they lie wholly
// in user space, or any local process could make it write a reply anywhere. A
// production driver would add, for a caller in user mode, ProbeForRead and
// ProbeForWrite and every access inside __try/__except, since another thread of
// the caller may unmap or protect those pages at any moment; the range check alone
// keeps the kernel's own memory out of reach.
bool InUserSpace(const RequestBuffers& b) {
    const uintptr_t limit = static_cast<uintptr_t>(MM_USER_PROBE_ADDRESS);
    return WithinUserSpace(reinterpret_cast<uintptr_t>(b.in), b.inSize, limit) &&
           WithinUserSpace(reinterpret_cast<uintptr_t>(b.out), b.outSize, limit);
}

// Each counted request is stamped, so that a benchmark can time a client without
// asking the driver over and over while it works.
uint64_t Now() { return static_cast<uint64_t>(KeQueryPerformanceCounter(nullptr).QuadPart); }

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
    // Sizes first, whatever the method, so that no buffer is touched beyond its end.
    if (BuffersTooSmall(code, b.inSize, b.outSize)) return Complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
    if (TransferMethodOf(code) == TransferMethod::Neither && !InUserSpace(b))
        return Complete(irp, STATUS_ACCESS_VIOLATION, 0);

    uint32_t replyBytes = 0;
    uint32_t delayMs = 0;
    ExAcquireFastMutex(&g_cardLock);
    const uint32_t counted = g_card.RequestCount();
    const bool answered = g_card.Dispatch(code, b.in, b.inSize, b.out, b.outSize, &replyBytes, &delayMs);
    if (g_card.RequestCount() != counted) g_card.StampLastRequest(Now());
    ExReleaseFastMutex(&g_cardLock);

    // Outside the lock: a slow card holds up its caller, not every other client.
    Delay(delayMs);
    // The core writes nothing when it refuses.
    if (!answered) return Complete(irp, STATUS_UNSUCCESSFUL, 0);
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
    // A request may arrive as soon as the link name exists, so the handlers are in
    // place before the device is created.
    driver->MajorFunction[IRP_MJ_CREATE] = OnCreateClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = OnCreateClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = OnDeviceControl;
    driver->DriverUnload = OnUnload;

    UNICODE_STRING device;
    UNICODE_STRING link;
    RtlInitUnicodeString(&device, kDeviceName);
    RtlInitUnicodeString(&link, kLinkName);
    PDEVICE_OBJECT object = nullptr;
    // Secure open: the device's security applies to every name opened below it too.
    NTSTATUS status = IoCreateDevice(driver, 0, &device, FILE_DEVICE_UNKNOWN, FILE_DEVICE_SECURE_OPEN, FALSE, &object);
    if (!NT_SUCCESS(status)) return status;
    status = IoCreateSymbolicLink(&link, &device);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(object);
        return status;
    }
    return STATUS_SUCCESS;
}
