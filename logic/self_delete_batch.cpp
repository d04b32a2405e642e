#include "self_delete_batch.h"

#include <cstdio>

namespace {

const char kKeepFolder[] =
    "cd\\\r\n:delexe\r\nping -n %d 127.0.0.1\r\ndel \"%s\"\r\nif exist \"%s\" goto :delexe\r\n"
    "del \"%s\"\r\n";
const char kRemoveFolder[] =
    "cd\\\r\n:delexe\r\nping -n %d 127.0.0.1\r\ndel \"%s\"\r\nif exist \"%s\" goto :delexe\r\n"
    "del \"%s\" /Q /F /A\r\nrd \"%s\"\r\ndel \"%s\"\r\n";

} // namespace

std::string FolderOfPath(const std::string& path)
{
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(0, slash);
}

std::string SelfDeleteBatchText(const std::string& exePath, const std::string& batchPath, int filesInTree)
{
    char text[kMaxBatchBytes + 1];
    const char* exe = exePath.c_str();
    int n;
    if (filesInTree > 1) {
        n = std::snprintf(text, sizeof text, kKeepFolder, 1, exe, exe, batchPath.c_str());
    } else {
        const std::string folder = FolderOfPath(exePath);
        n = std::snprintf(text, sizeof text, kRemoveFolder, 1, exe, exe, folder.c_str(), folder.c_str(),
                          batchPath.c_str());
    }
    // A cut-off batch could delete or remove a different path: write none.
    if (n < 0 || static_cast<size_t>(n) > kMaxBatchBytes)
        return std::string();
    return std::string(text, static_cast<size_t>(n));
}
