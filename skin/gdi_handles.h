#pragma once
// Owning handles for GDI objects and image lists: each is released with its
// owner.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <type_traits>

struct GdiObjectDeleter {
    void operator()(HGDIOBJ hObject) const { ::DeleteObject(hObject); }
};

struct ImageListDeleter {
    void operator()(HIMAGELIST hList) const { ::ImageList_Destroy(hList); }
};

using BitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using ImageListHandle = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;
