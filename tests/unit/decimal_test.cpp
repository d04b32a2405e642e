#include "../../logic/decimal.h"
#include "../check.h"

TEST(reads_numbers_like_the_settings_store)
{
    struct Row {
        const wchar_t* text;
        int32_t value;
    } rows[] = {
        {L"0", 0},
        {L"17", 17},
        {L"  42", 42},
        {L"\t-7", -7},
        {L"+8", 8},
        {L"12abc", 12},
        {L"abc", 0},
        {L"", 0},
        {L"-", 0},
        {L"- 5", 0},
        {L"2147483647", 2147483647},
        {L"2147483648", 2147483647},
        {L"4294967295", 2147483647},
        {L"99999999999999999999999", 2147483647},
        {L"-2147483648", INT32_MIN},
        {L"-2147483649", INT32_MIN},
        {L"-99999999999999999999999", INT32_MIN},
        {L"007", 7},
    };
    for (const Row& r : rows)
        CHECK_EQ_AT(r.text, ReadDecimal(r.text), r.value);
    CHECK_EQ(ReadDecimal(nullptr), 0);
}

CHECK_MAIN()
