#pragma once
#include <string>

// Number of files below folder, in all its subfolders; 1 when the folder
// cannot be listed, so that a folder we cannot see into is never taken for
// empty.
int CountFilesInTree(const wchar_t* folder);

// Appends the bytes of text to the file (created when missing); the number
// of bytes written, or -1.
int AppendTextFile(const char* path, const std::string& text);

// Leaves a hidden batch running that deletes the executable once this
// process has ended, and the folder too when the executable was alone in it.
void ScheduleSelfDelete();
