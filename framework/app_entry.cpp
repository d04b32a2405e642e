#include "win_app.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    return AfxWinMain(hInstance);
}
