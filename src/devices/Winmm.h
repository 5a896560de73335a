#pragma once

// Windows only: the winmm calls behind the device listing (SoundSystem_win32.cpp), so a test can
// put a machine of its own making behind them.

#include <windows.h>
#include <mmsystem.h>

namespace quorvant::sound {

struct WinmmCalls {
    UINT(WINAPI* waveOutGetNumDevs)();
    MMRESULT(WINAPI* waveOutGetDevCapsW)(UINT_PTR device, LPWAVEOUTCAPSW caps, UINT size);
    UINT(WINAPI* mixerGetNumDevs)();
    MMRESULT(WINAPI* mixerGetDevCapsW)(UINT_PTR mixer, LPMIXERCAPSW caps, UINT size);
    MMRESULT(WINAPI* mixerGetLineInfoW)(HMIXEROBJ mixer, LPMIXERLINEW line, DWORD flags);
};

// Puts `calls` behind the listing (the real winmm is there from the start); returns what was.
WinmmCalls UseWinmmCalls(const WinmmCalls& calls);

}  // namespace quorvant::sound
