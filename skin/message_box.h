#pragma once
#include <windows.h>

// The program's only message box. style is MB_OK (0), MB_OKCANCEL (1) or
// MB_YESNO (4); the answer is IDOK, IDCANCEL, IDYES or IDNO, or -1 when no box
// could be shown.
int ShowAppMessage(UINT style, const wchar_t* title, const wchar_t* text, HWND owner);
