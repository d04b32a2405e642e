#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

// One GDI+ start-up paired with its shut-down by scope, so that no exit path
// of a loader can leave them unbalanced.
class CGdiplusScope {
public:
    CGdiplusScope();
    ~CGdiplusScope();
    CGdiplusScope(const CGdiplusScope&) = delete;
    CGdiplusScope& operator=(const CGdiplusScope&) = delete;

    bool Started() const { return m_token != 0; }
    // Start-ups not yet shut down by a scope, in this process.
    static long Open();

private:
    ULONG_PTR m_token = 0;
};
