#include "decimal.h"

#include <cstdint>

int32_t ReadDecimal(const wchar_t* text)
{
    if (!text)
        return 0;
    while (*text == L' ' || *text == L'\t' || *text == L'\n' || *text == L'\r' ||
           *text == L'\v' || *text == L'\f')
        ++text;
    bool negative = false;
    if (*text == L'+' || *text == L'-')
        negative = *text++ == L'-';
    // Accumulate in 64 bits and stop growing once past the 32-bit range.
    int64_t value = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text) {
        if (value <= INT64_C(0x80000000))
            value = value * 10 + (*text - L'0');
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}
