#include "skin/message_box.h"

// The skinned box is not built yet: no box is shown.
int ShowAppMessage(UINT, const wchar_t*, const wchar_t*, HWND)
{
    return -1;
}
