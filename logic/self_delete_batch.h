#pragma once
#include <string>

// The longest batch text the program writes.
const size_t kMaxBatchBytes = 2047;

// The folder of a path: everything before its last "\", or the whole path
// when it holds none.
std::string FolderOfPath(const std::string& path);

// The text of the hidden batch that deletes the executable once its process
// has ended, and then itself. When the executable is alone in its folder
// tree (filesInTree at most 1) the batch also empties and removes the folder.
// Paths are in the ANSI code page. Empty when the text would not fit.
std::string SelfDeleteBatchText(const std::string& exePath, const std::string& batchPath,
                                int filesInTree);
