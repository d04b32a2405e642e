#pragma once
#include <windows.h>

// Sends one usage ping on a thread of its own. Returns once the thread has
// taken its own copy of the address; the thread sets the application's
// ping-done event when the request is over, whatever its outcome.
bool SendUsagePing(const wchar_t* address);

DWORD WINAPI PingThreadProc(LPVOID record);
