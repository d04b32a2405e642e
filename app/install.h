#pragma once

// Copies the executable into the common folder, writes the four shortcuts
// and starts the installed copy. Always true: nothing here is reported.
bool InstallSelf();

// Removes the program key and the shortcuts, leaves the self-delete batch
// behind, counts and pings the removal and tells the user. The ping may still
// be running on return; the application's ping-done event ends it.
void UninstallSelf();
