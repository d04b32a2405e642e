#include "tab_geometry.h"

namespace {

int TabLeft(int tab) { return kTabStripLeft + kTabWidth * tab; }

int CloseLeft(int tab) { return kTabCloseLeft + kTabWidth * tab; }

} // namespace

SkinRect TabFaceRect(int tab) { return SkinRect{TabLeft(tab), kTabTop, kTabWidth, kTabHeight}; }

SkinRect TabCloseRect(int tab)
{
    return SkinRect{CloseLeft(tab), kTabTop, kTabCloseSize, kTabCloseSize};
}

bool InTabStrip(SkinPoint point, int pages)
{
    return point.y >= kTabTop && point.y < kTabTop + kTabHeight && point.x > kTabStripLeft &&
           point.x < TabLeft(pages);
}

int TabAt(SkinPoint point, int pages)
{
    if (!InTabStrip(point, pages))
        return -1;
    return (point.x - kTabStripLeft) / kTabWidth;
}

bool OnTabClose(SkinPoint point, int tab)
{
    return point.x >= CloseLeft(tab) && point.x < CloseLeft(tab) + kTabCloseSize &&
           point.y < kTabTop + kTabCloseSize;
}

int TabCloseAt(SkinPoint point, int pages)
{
    const int tab = TabAt(point, pages);
    return OnTabClose(point, tab) ? tab : -1;
}

SkinEdges TabLabelRect(int tab)
{
    const int shift = kTabWidth * tab;
    return SkinEdges{kTabLabelLeft + shift, kTabLabelTop, kTabCloseLeft + shift, kTabLabelBottom};
}

SkinEdges TabRedrawRect(int tab)
{
    return SkinEdges{TabLeft(tab), kTabTop, TabLeft(tab) + kTabWidth, kTabTop + kTabHeight};
}

SkinEdges TabCloseRedrawRect(int tab)
{
    return SkinEdges{CloseLeft(tab), kTabTop, CloseLeft(tab) + kTabCloseSize,
                     kTabTop + kTabCloseSize};
}

SkinEdges TabStripRedrawRect(int tabs)
{
    return SkinEdges{kTabStripLeft, kTabTop, TabLeft(tabs), kTabTop + kTabHeight};
}

SkinSize MinimumWindowSize(int pages)
{
    if (pages < 1)
        return SkinSize{};
    return SkinSize{TabLeft(pages) + kTabLinkClearance + kTabLinkOffset, kMinWindowHeight};
}

std::optional<SkinSize> RaiseToMinimumSize(SkinSize proposed, int pages)
{
    if (pages < 1)
        return std::nullopt;
    const SkinSize min = MinimumWindowSize(pages);
    if (proposed.w >= min.w && proposed.h >= min.h)
        return std::nullopt;
    return SkinSize{proposed.w < min.w ? min.w : proposed.w,
                    proposed.h < min.h ? min.h : proposed.h};
}

int PageAfterSwitch(int current, int pages, bool hallVisible)
{
    if (pages < 2 || hallVisible)
        return current;
    return (current + 1) % pages;
}

int PageAfterClose(int closed, int pagesBefore)
{
    const int remaining = pagesBefore - 1;
    return closed >= remaining ? remaining - 1 : closed;
}
