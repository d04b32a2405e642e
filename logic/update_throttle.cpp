#include "update_throttle.h"

namespace {

uint16_t Field(const uint8_t* bytes, int index)
{
    return static_cast<uint16_t>(bytes[index * 2] | (bytes[index * 2 + 1] << 8));
}

} // namespace

UtcDay UtcDayFromSystemTimeBytes(const uint8_t bytes[16])
{
    UtcDay d;
    d.year = Field(bytes, 0);
    d.month = Field(bytes, 1);
    d.dayOfWeek = Field(bytes, 2);
    d.day = Field(bytes, 3);
    return d;
}

bool IsWeekdayDisabled(uint32_t disableDays, int weekday)
{
    if (disableDays == 0)
        return false;
    for (int i = 0; i < 3; ++i) {
        if (static_cast<int>((disableDays >> (8 * i)) & 0xFF) == weekday)
            return true;
    }
    return false;
}

bool IsUpdateCheckDueOn(const UtcDay& lastUpdate, uint32_t disableDays, const UtcDay& now)
{
    if (lastUpdate.year == now.year && lastUpdate.month == now.month && lastUpdate.day == now.day)
        return false;
    return !IsWeekdayDisabled(disableDays, now.dayOfWeek);
}

uint32_t UnseededRand::Next()
{
    m_nState = m_nState * 214013u + 2531011u;
    return (m_nState >> 16) & 0x7FFF;
}

uint32_t ComputeDisableDays(uint32_t milliseconds)
{
    UnseededRand rng;
    const uint32_t r1 = rng.Next();
    const uint32_t r2 = rng.Next();
    return PickDisableDays(milliseconds, r1, r2);
}

uint32_t PickDisableDays(uint32_t milliseconds, uint32_t r1, uint32_t r2)
{
    const uint32_t m = milliseconds;
    const uint32_t x = (r1 + 7u - m) % 7u;
    uint32_t z = (r2 + 7u - m) % 7u;
    uint32_t y = (m & 0xFFFFFFu) % 7u;
    if (y == x)
        y = (y + 6u) % 7u;
    if (z == x)
        z = (z + 1u) % 7u;
    return y * 65536u + x * 256u + z;
}
