#pragma once
#include <string>

// The running executable's version key; empty when its file cannot be read.
std::string ComputeVersionKey();

// Starts the program again with "/update"; whether the process was created.
bool RestartForUpdate();
