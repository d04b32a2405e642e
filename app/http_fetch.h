#pragma once
#include <windows.h>
#include <wininet.h>

#include <cstdio>

// The handles and the output file of one running download. A dialog that can
// cancel the download passes its own record so it can reach them.
struct HttpTransfer {
    HINTERNET hInternet = nullptr;
    HINTERNET hConnect = nullptr;
    HINTERNET hRequest = nullptr;
    FILE* fpOut = nullptr;
};

// One GET to an "http://" address; the answer is not read.
bool HttpPing(const wchar_t* address);

// Stores the body in path, reading chunkSize bytes at a time and reporting
// the percentage done to hProgress (PBM_SETPOS) when given. Succeeds when at
// least the announced Content-Length arrived.
bool HttpGetToFile(const wchar_t* address, const wchar_t* path, DWORD chunkSize, HWND hProgress,
                   HttpTransfer* transfer = nullptr);

// Reads a body shorter than 1024 bytes, converted from the ANSI code page,
// into out; the caller zero-fills out beforehand.
bool HttpGetSmallText(const wchar_t* address, wchar_t out[1024]);
