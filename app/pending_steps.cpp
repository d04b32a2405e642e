#include "app/pending_steps.h"

#include "app/velmor3_app.h"

LONG WINAPI CrashFilter(EXCEPTION_POINTERS*)
{
    return EXCEPTION_CONTINUE_SEARCH;
}

bool InstallSelf()
{
    return false;
}

// Removes nothing yet and sends no ping, so there is nothing to wait for.
void UninstallSelf()
{
    ::SetEvent(theApp.m_hPingDone);
}

bool CreateShortcuts(const std::wstring&)
{
    return false;
}

void RunPrimaryGameWindow() {}

INT_PTR RunLoginWindow()
{
    return -1;
}

bool CreateGameFrame()
{
    return false;
}

int CVelmor3App::CheckForUpdate(bool)
{
    return 0;
}

bool CVelmor3App::RunUpdate()
{
    return false;
}
