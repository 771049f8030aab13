#pragma once
// The kernel headers. wdm.h defines two interlocked bit tests that intrin.h has
// already defined inline, which C++ rejects; keep wdm.h's definitions only.
#define __INTRINSIC_DEFINED_InterlockedBitTestAndSet
#define __INTRINSIC_DEFINED_InterlockedBitTestAndReset
#include <ntddk.h>
