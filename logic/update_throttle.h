#pragma once
#include <cstdint>

// The fields of a UTC SYSTEMTIME that the throttle looks at.
struct UtcDay {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t dayOfWeek = 0; // 0 = Sunday
    uint16_t day = 0;
};

// "UpdTime" is a 16-byte SYSTEMTIME: year, month, day of week, day, ... as
// little-endian 16-bit fields. A missing value is all zero.
UtcDay UtcDayFromSystemTimeBytes(const uint8_t bytes[16]);

// "DisableDays" holds three weekdays in bytes 0..2 of a little-endian 32-bit
// number; 0 means no weekday is disabled.
bool IsWeekdayDisabled(uint32_t disableDays, int weekday);

// The unforced update check runs except on the day of a successful update and
// on the disabled weekdays.
bool IsUpdateCheckDueOn(const UtcDay& lastUpdate, uint32_t disableDays, const UtcDay& now);

// The C runtime's generator as the program uses it: never seeded, so its state
// starts at 1 in every process.
class UnseededRand {
public:
    uint32_t Next();

private:
    uint32_t m_nState = 1;
};

// Picks three weekdays to skip from the current UTC millisecond (0..999) and
// the first two values r1, r2 of the generator; the result holds them as
// bytes z, x, y, 0.
uint32_t PickDisableDays(uint32_t milliseconds, uint32_t r1, uint32_t r2);

// PickDisableDays with the first two values of a fresh UnseededRand.
uint32_t ComputeDisableDays(uint32_t milliseconds);
