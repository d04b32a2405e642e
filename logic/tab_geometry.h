#pragma once
#include "skin_geometry.h"

#include <optional>

// Geometry and page-index rules of the primary window's tab strip, in its
// client coordinates, free of GDI so both builds can test it. Tabs are
// 0-based; `pages` is the number of attached game pages.

const int kTabStripLeft = 120;
const int kTabTop = 3;
const int kTabWidth = 189;
const int kTabHeight = 22;

// Close button of tab 0; the others are one tab width further each.
const int kTabCloseLeft = 296;
const int kTabCloseSize = 13;

// Label of tab 0: it stops where the close button starts.
const int kTabLabelLeft = 136;
const int kTabLabelTop = 8;
const int kTabLabelBottom = 22;

// The window keeps the strip this far left of the link in the caption band.
const int kTabLinkOffset = 360;
const int kTabLinkClearance = 3;
const int kMinWindowHeight = 260;

// Where face `tab` of the tab image list is drawn.
SkinRect TabFaceRect(int tab);

// Where the close button of `tab` is drawn.
SkinRect TabCloseRect(int tab);

// The rows of the faces, but only past the strip's left edge: x 120 itself
// belongs to no tab.
bool InTabStrip(SkinPoint point, int pages);

// The tab under the point, -1 outside the strip.
int TabAt(SkinPoint point, int pages);

// Only the columns and the upper bound of the button are tested; the caller
// has already found `tab` under the point, which supplies the rest.
bool OnTabClose(SkinPoint point, int tab);

// The tab whose close button is under the point, -1 for none.
int TabCloseAt(SkinPoint point, int pages);

// The label is drawn clipped to this, left-aligned in one line.
SkinEdges TabLabelRect(int tab);

// Exactly the face, right and bottom exclusive.
SkinEdges TabRedrawRect(int tab);

// Exactly the close button. For tab -1 this is the slot left of the strip,
// which the hover reset invalidates when no tab was hot.
SkinEdges TabCloseRedrawRect(int tab);

// The first `tabs` slots of the strip. After a close pass the count before
// the removal, so the freed slot is cleared too.
SkinEdges TabStripRedrawRect(int tabs);

// The smallest window for the given pages: the strip ends 3 pixels before the
// link at width - 360. Without pages there is no bound; the window is still
// the 1 x 1 placeholder then.
SkinSize MinimumWindowSize(int pages);

// The proposed size raised to the minimum, or nothing when it already fits
// or there is no page, so the default processing runs.
std::optional<SkinSize> RaiseToMinimumSize(SkinSize proposed, int pages);

// The current page after the switch key. One page, or the game hall in front,
// leaves the index alone: the key then only brings that page back.
int PageAfterSwitch(int current, int pages, bool hallVisible);

// The current page after a confirmed close of `closed` out of `pagesBefore`
// (at least 2): the page that moves into the closed index, or the new last
// page when the last was closed. What was current before does not matter.
int PageAfterClose(int closed, int pagesBefore);
