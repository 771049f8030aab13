#pragma once
// The event the minimal dialog program sets once its first paint is done.
constexpr char kMinimalDialogPainted[] = "WaveBenchMinimalDialogPainted";
constexpr char kMinimalDialogTitle[] = "Minimal dialog";
