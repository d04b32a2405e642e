#pragma once
// Reads a shortcut back through the shell link object, as the shell does.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

struct LinkFields {
    std::wstring target, args, icon, description;
    int iconIndex = -1;
    bool loaded = false;
};

inline LinkFields ReadLink(const std::wstring& path)
{
    LinkFields f;
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
        wchar_t buf[MAX_PATH] = {};
        link->GetPath(buf, MAX_PATH, nullptr, SLGP_RAWPATH);
        f.target = buf;
        link->GetArguments(buf, MAX_PATH);
        f.args = buf;
        link->GetIconLocation(buf, MAX_PATH, &f.iconIndex);
        f.icon = buf;
        buf[0] = 0;
        link->GetDescription(buf, MAX_PATH);
        f.description = buf;
        f.loaded = true;
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    return f;
}

