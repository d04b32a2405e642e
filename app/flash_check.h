#pragma once

// True when the installed Flash Player ActiveX control is newer than the one
// the game needs; a missing or unreadable version counts as too old.
bool IsFlashPlayerRecent();
