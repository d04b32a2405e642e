#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// Statistics-host paths of the usage pings; the counter is appended.
extern const wchar_t kInstallPing[];
extern const wchar_t kPortalPing[];
extern const wchar_t kGamePing[];
extern const wchar_t kUninstallPing[];

// The full ping address: the statistics host, path and query, "&count=" and
// the counter value.
std::wstring UsagePingAddress(const wchar_t* pathAndQuery, uint32_t count);

// Sends one usage ping on a thread of its own. Returns once the thread has
// taken its own copy of the address; the thread sets the application's
// ping-done event when the request is over, whatever its outcome.
bool SendUsagePing(const wchar_t* address);

DWORD WINAPI PingThreadProc(LPVOID record);
