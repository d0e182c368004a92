// FILETIME breakdown and the local clock. The clock's test seam is used, set and cleared, by
// the calendar and calendar-operation suites.
#include "platform/clock.h"

#include <gtest/gtest.h>

#include <ctime>
#include <tuple>

namespace {

auto Fields(const SYSTEMTIME& t) {
    return std::make_tuple(t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond,
                           t.wMilliseconds);
}

TEST(FileTimeTest, BreaksDownUtc) {
    struct Row {
        uint64_t ticks;      // 100 ns since 1601-01-01 UTC
        bool ok;             // whether the call succeeds
        SYSTEMTIME expected; // year, month, weekday, day, hour, minute, second, ms
    };
    const Row rows[] = {
        {0, true, {1601, 1, 1, 1, 0, 0, 0, 0}},
        {116444736000000000ull, true, {1970, 1, 4, 1, 0, 0, 0, 0}},
        {94405824000000000ull, true, {1900, 3, 4, 1, 0, 0, 0, 0}},        // not a leap year
        {125963423999990000ull, true, {2000, 2, 2, 29, 23, 59, 59, 999}}, // a leap century
        {133536836967899999ull, true, {2024, 2, 4, 29, 12, 34, 56, 789}},
        {0x7FFFFFFFFFFFFFFFull, true, {30828, 9, 4, 14, 2, 48, 5, 477}},
        {0x8000000000000000ull, false, {}},
        {0xFFFFFFFFFFFFFFFFull, false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.ticks);
        const FILETIME ft{static_cast<uint32_t>(row.ticks), static_cast<uint32_t>(row.ticks >> 32)};
        SYSTEMTIME st{};
        EXPECT_EQ(platform::FileTimeToSystemTime(&ft, &st), row.ok);
        if (row.ok) {
            EXPECT_EQ(Fields(st), Fields(row.expected));
        }
    }
}

// The local date is the C library's; taken just before, so only a run at midnight can differ.
TEST(LocalTimeTest, IsTheLocalDate) {
    const std::time_t before = std::time(nullptr);
    SYSTEMTIME now{};
    platform::GetLocalTime(&now);
    const std::tm local = *std::localtime(&before);
    EXPECT_EQ(
        std::make_tuple(now.wYear, now.wMonth, now.wDay, now.wDayOfWeek),
        std::make_tuple(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday));
}

} // namespace
