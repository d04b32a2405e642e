#include "skin/gdiplus_scope.h"

namespace {

volatile LONG g_nOpen = 0;

} // namespace

CGdiplusScope::CGdiplusScope()
{
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok)
        m_token = 0;
    else
        ::InterlockedIncrement(&g_nOpen);
}

CGdiplusScope::~CGdiplusScope()
{
    if (m_token) {
        Gdiplus::GdiplusShutdown(m_token);
        ::InterlockedDecrement(&g_nOpen);
    }
}

long CGdiplusScope::Open()
{
    return g_nOpen;
}
