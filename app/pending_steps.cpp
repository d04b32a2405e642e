#include "app/pending_steps.h"

void RunPrimaryGameWindow() {}

INT_PTR RunLoginWindow()
{
    return -1;
}

bool CreateGameFrame()
{
    return false;
}
