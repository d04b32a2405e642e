#pragma once
#include <cstdint>
#include <string>

// "Statistic.ini" in the common folder: the usage counters.
std::wstring CommonIni();
// "Statistic.ini" beside the executable: hotkeys and notice state.
std::wstring LocalIni();

extern const wchar_t kIniSection[]; // "Pelux"

// Adds one to a counter ("Inst", "UnInst", "Game", "8266") of CommonIni and
// returns the new value.
uint32_t IncrementUsageCounter(const wchar_t* key);

bool IsUpdateCheckDue();
bool IsDisabledWeekday(int weekday);
bool StampUpdTime();
bool WriteDisableDays();
bool SetIeCacheLimit();
// Removes the program key with all its values and subkeys.
bool DeleteProgramKey();
