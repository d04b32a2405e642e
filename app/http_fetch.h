#pragma once
#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdio>

// The handles and the output file of one running download. A dialog that can
// cancel the download passes its own record so it can reach them. Whoever
// takes a handle out of the record closes it, so a cancel from another
// thread and the end of the download never close one twice.
struct HttpTransfer {
    std::atomic<HINTERNET> hInternet{nullptr};
    std::atomic<HINTERNET> hConnect{nullptr};
    std::atomic<HINTERNET> hRequest{nullptr};
    FILE* fpOut = nullptr; // the downloading thread's alone
    std::atomic<bool> bCancelled{false};
};

// From any thread: the download stops at its next step, and its handles are
// closed now, which also ends a read that is waiting for data. The output
// file stays with the downloading thread, which closes it on its way out.
void CancelHttpTransfer(HttpTransfer* transfer);

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
