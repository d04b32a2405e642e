#include "app/pending_steps.h"

INT_PTR RunLoginWindow()
{
    return -1;
}

bool CreateGameFrame()
{
    return false;
}
