// The message queue, the virtual clock and timers. Time moves only when
// advanceClock is called (by a UI driver or a test), so every run is
// repeatable.
#pragma once

#include "win32/windows.h"

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND window, UINT_PTR id);
// Milliseconds of virtual time since the start of the process.
DWORD GetTickCount();
void PostQuitMessage(int exitCode);

namespace nd::win32 {

// Offered every queued message before it is dispatched; true when it was
// taken (the framework's pre-translation goes here). One hook at a time;
// returns the previous one.
using PreTranslateHook = bool (*)(MSG& msg);
PreTranslateHook setPreTranslateHook(PreTranslateHook hook);

// Delivers every queued message (pre-translation, then dialog keyboard
// handling, then the window procedure), then paints windows that were
// invalidated. Returns the number of messages delivered.
int pumpMessages();

// Moves the virtual clock forward. Each timer that falls due fires at its own
// time, in time order, and its WM_TIMER is delivered (with whatever it
// causes) before the clock moves on; a timer with period p fires once per p.
void advanceClock(DWORD milliseconds);
// Number of live timers (for tests that check a timer was stopped).
bool hasTimer(HWND window, UINT_PTR id);

}  // namespace nd::win32
