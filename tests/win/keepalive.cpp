// Keeps a Wine session's wineserver and services running between the test
// programs: it waits until the wineserver ends it.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    for (;;)
        ::Sleep(INFINITE);
}
