// Times: the settings record, text in both directions, break-down, adjusting, comparing.
// Runs in two zones (ctest sets TZ=UTC and TZ=America/New_York); the expectations name the
// New York offset of each row and hold in UTC with offset 0.
#include "temp_install.h"

#include <chrono>
#include <cstring>

namespace {

int64_t DaysFrom1970(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int era = year / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return int64_t{era} * 146097 + dayOfEra - 719468;
}

// The TIMEDATE of a UTC time, without zone bits.
TIMEDATE Utc(int year, int month, int day, int hour, int minute, int second,
             uint32_t hundredths = 0) {
    TIMEDATE time;
    time.Innards[0] =
        static_cast<uint32_t>((hour * 3600 + minute * 60 + second) * 100) + hundredths;
    time.Innards[1] = static_cast<uint32_t>(DaysFrom1970(year, month, day) + 2440588);
    return time;
}

class TimeTest : public testing::Test {
  protected:
    void SetUp() override {
        const std::string zone = ZoneUnderTest();
        if (zone.empty())
            GTEST_SKIP() << "needs TZ=UTC or TZ=America/New_York";
        newYork = zone != "UTC";
        install.WriteStandard();
        ASSERT_EQ(install.Start(), 0);
    }

    // seconds of offset east in New York, 0 in UTC.
    int64_t Offset(int newYorkHours) const { return newYork ? int64_t{newYorkHours} * 3600 : 0; }

    static INTLFORMAT Settings(uint16_t flags, const char* dateSeparator) {
        INTLFORMAT settings;
        OSGetIntlSettings(&settings, sizeof settings);
        settings.Flags = flags;
        std::strcpy(settings.DateString, dateSeparator);
        std::strcpy(settings.TimeString, ":");
        return settings;
    }

    static std::string Text(const TIMEDATE& time, const INTLFORMAT* settings = nullptr,
                            TFMT format = {TDFMT_FULL_POS, TTFMT_FULL, TZFMT_NEVER,
                                           TSFMT_DATETIME}) {
        char buffer[81];
        uint16_t length = 0;
        const STATUS status = ConvertTIMEDATEToText(settings, &format, &time, buffer, 80, &length);
        return status != 0 ? "status " + std::to_string(status) : std::string(buffer, length);
    }

    bool newYork = false; // whether the process runs in New York (else UTC)
    TempInstall install;  // a started runtime
};

TEST_F(TimeTest, SettingsRecordHasTheZoneAndSeparatorsAtTheirOffsets) {
    unsigned char record[139 + 4];
    std::memset(record, 0xEE, sizeof record);
    OSGetIntlSettings(reinterpret_cast<INTLFORMAT*>(record), 139);
    uint16_t flags;
    int32_t zoneHours;
    std::memcpy(&flags, record, sizeof flags);
    std::memcpy(&zoneHours, record + 4, sizeof zoneHours);
    EXPECT_EQ(flags, 0x0128);
    EXPECT_EQ(zoneHours, newYork ? 5 : 0);
    EXPECT_STREQ(reinterpret_cast<char*>(record + 33), "/");
    EXPECT_STREQ(reinterpret_cast<char*>(record + 38), ":");
    EXPECT_EQ(record[139], 0xEE);
    std::memset(record, 0xEE, sizeof record);
    OSGetIntlSettings(reinterpret_cast<INTLFORMAT*>(record), 2);
    EXPECT_EQ(record[2], 0xEE);
}

struct ParseCase {
    const char* text;          // the text read
    uint16_t flags;            // settings flags; 0: no settings record
    const char* dateSeparator; // settings' date separator
    TFMT format;               // the text format
    int fields[7];             // local year, month, day, hour, minute, second, hundredths
    int newYorkOffset;         // hours east of GMT in New York then
};

class ParseTest : public TimeTest, public testing::WithParamInterface<ParseCase> {};

TEST_P(ParseTest, ReadsLocalTimeInTheSettingsForm) {
    const ParseCase& row = GetParam();
    const INTLFORMAT settings = Settings(row.flags, row.dateSeparator);
    char* cursor = const_cast<char*>(row.text);
    TIMEDATE time = {};
    ASSERT_EQ(ConvertTextToTIMEDATE(row.flags != 0 ? &settings : nullptr, &row.format, &cursor, 80,
                                    &time),
              0);
    const int* f = row.fields;
    const TIMEDATE local = Utc(f[0], f[1], f[2], f[3], f[4], f[5]);
    EXPECT_EQ(UtcSeconds(time), UtcSeconds(local) - Offset(row.newYorkOffset));
    EXPECT_EQ(time.Innards[0] % 100, static_cast<uint32_t>(f[6]));
    EXPECT_EQ(cursor, row.text + std::strlen(row.text));
    const bool dst = newYork && row.newYorkOffset == -4;
    EXPECT_EQ(time.Innards[1] >> 31, dst ? 1u : 0u);
}

constexpr TFMT kDateTime = {TDFMT_FULL_POS, TTFMT_FULL, TZFMT_NEVER, TSFMT_DATETIME};
constexpr TFMT kDate = {TDFMT_FULL_POS, TTFMT_FULL, TZFMT_NEVER, TSFMT_DATE};

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseTest,
    testing::Values(
        ParseCase{" 12/07/2026 09:00:00", 0, "/", kDateTime, {2026, 12, 7, 9, 0, 0, 0}, -5},
        ParseCase{"2011/03/05 09:07:00", 0x188, "/", kDateTime, {2011, 3, 5, 9, 7, 0, 0}, -5},
        ParseCase{"05.03.2011 21:07", 0x048, ".", kDateTime, {2011, 3, 5, 21, 7, 0, 0}, -5},
        ParseCase{"03/05/11 09:07:00 PM", 0x120, "/", kDateTime, {2011, 3, 5, 21, 7, 0, 0}, -5},
        ParseCase{"12/07/2026 09:00:00.5", 0, "/", kDateTime, {2026, 12, 7, 9, 0, 0, 50}, -5},
        ParseCase{"03/08/2026 01:30:00", 0, "/", kDateTime, {2026, 3, 8, 1, 30, 0, 0}, -5},
        ParseCase{"03/08/2026 03:30:00", 0, "/", kDateTime, {2026, 3, 8, 3, 30, 0, 0}, -4},
        ParseCase{"11/01/2026 00:30:00", 0, "/", kDateTime, {2026, 11, 1, 0, 30, 0, 0}, -4},
        ParseCase{"11/01/2026 12:00:00", 0, "/", kDateTime, {2026, 11, 1, 12, 0, 0, 0}, -5},
        ParseCase{"03/08/2026", 0, "/", kDateTime, {2026, 3, 8, 0, 0, 0, 0}, -5}));

class BadTextTest : public TimeTest, public testing::WithParamInterface<const char*> {};

TEST_P(BadTextTest, RefusesTextThatIsNoTime) {
    char* cursor = const_cast<char*>(GetParam());
    TIMEDATE time = {{1, 2}};
    EXPECT_EQ(ConvertTextToTIMEDATE(nullptr, nullptr, &cursor, 80, &time), 0x0114);
    EXPECT_EQ(cursor, GetParam());
    EXPECT_EQ(time.Innards[0], 1u);
}

INSTANTIATE_TEST_SUITE_P(Texts, BadTextTest,
                         testing::Values("", "13/01/2026 00:00:00", "02/29/2026 00:00:00",
                                         "12-07-2026 09:00:00", "12/07/2026 24:00:00",
                                         "12/07/2026 13:00:00 PM", "12/07/2026 09:5", "noon"));

TEST_F(TimeTest, ReadsWithinTheLengthAndStopsAfterTheTime) {
    const char* text = "12/07/2026 09:00:00;12/08/2026";
    char* cursor = const_cast<char*>(text);
    TIMEDATE time = {};
    ASSERT_EQ(ConvertTextToTIMEDATE(nullptr, nullptr, &cursor, 80, &time), 0);
    EXPECT_EQ(*cursor, ';');
    cursor = const_cast<char*>(text);
    ASSERT_EQ(ConvertTextToTIMEDATE(nullptr, nullptr, &cursor, 10, &time), 0);
    EXPECT_EQ(Text(time), "12/07/2026 00:00:00");
}

struct FormatCase {
    TIMEDATE time;             // the time written
    uint16_t flags;            // settings flags; 0: no settings record
    const char* dateSeparator; // settings' date separator
    TFMT format;               // the text format
    const char* utc;           // the text in UTC
    const char* newYork;       // the text in New York
};

class FormatTest : public TimeTest, public testing::WithParamInterface<FormatCase> {};

TEST_P(FormatTest, WritesLocalTimeInTheSettingsForm) {
    const FormatCase& row = GetParam();
    const INTLFORMAT settings = Settings(row.flags, row.dateSeparator);
    EXPECT_EQ(Text(row.time, row.flags != 0 ? &settings : nullptr, row.format),
              newYork ? row.newYork : row.utc);
}

constexpr TFMT kShort = {TDFMT_FULL, TTFMT_PARTIAL, TZFMT_NEVER, TSFMT_DATETIME};
constexpr TFMT kFull = {TDFMT_FULL, TTFMT_FULL, TZFMT_NEVER, TSFMT_DATETIME};

INSTANTIATE_TEST_SUITE_P(
    Times, FormatTest,
    testing::Values(FormatCase{Utc(2026, 7, 1, 16, 0, 0), 0x120, "/", kFull,
                               "07/01/2026 04:00:00 PM", "07/01/2026 12:00:00 PM"},
                    FormatCase{Utc(2026, 1, 1, 5, 0, 0), 0x120, "/", kFull,
                               "01/01/2026 05:00:00 AM", "01/01/2026 12:00:00 AM"},
                    FormatCase{Utc(2026, 7, 1, 16, 0, 0), 0x188, "/", kDate, "2026/07/01",
                               "2026/07/01"},
                    FormatCase{Utc(2026, 7, 1, 16, 0, 0), 0x048, ".", kShort, "01.07.26 16:00",
                               "01.07.26 12:00"},
                    FormatCase{Utc(2026, 3, 8, 6, 59, 59), 0, "/", kFull, "03/08/2026 06:59:59",
                               "03/08/2026 01:59:59"},
                    FormatCase{Utc(2026, 3, 8, 7, 0, 0), 0, "/", kFull, "03/08/2026 07:00:00",
                               "03/08/2026 03:00:00"},
                    FormatCase{Utc(2026, 11, 1, 5, 30, 0), 0, "/", kFull, "11/01/2026 05:30:00",
                               "11/01/2026 01:30:00"},
                    FormatCase{Utc(2026, 11, 1, 6, 30, 0), 0, "/", kFull, "11/01/2026 06:30:00",
                               "11/01/2026 01:30:00"}));

TEST_F(TimeTest, RefusesTimesAndFormatsItCannotWrite) {
    char buffer[8];
    uint16_t length = 0;
    const TIMEDATE time = Utc(2026, 7, 1, 16, 0, 0);
    EXPECT_EQ(ConvertTIMEDATEToText(nullptr, nullptr, &time, buffer, sizeof buffer, &length),
              0x0116);
    EXPECT_EQ(Text(TIMEDATE{{0, 0}}), "status 277");
    EXPECT_EQ(Text(time, nullptr, TFMT{TDFMT_FULL, TTFMT_FULL, 2, TSFMT_DATETIME}), "status 265");
    EXPECT_EQ(Text(LocalTime("02/29/2028 23:59:59")), "02/29/2028 23:59:59");
}

TEST_F(TimeTest, BreaksDownWithTheRecordsZoneAndDst) {
    TIME time = {};
    time.GM = Utc(2026, 3, 8, 7, 30, 15, 42);
    const int cases[][4] = {{5, 0, 2, 30}, {5, 1, 3, 30}, {-1, 0, 8, 30}, {0, 0, 7, 30}};
    for (const auto& row : cases) {
        time.zone = row[0];
        time.dst = row[1];
        ASSERT_EQ(TimeGMToLocal(&time), 0);
        EXPECT_EQ(time.hour, row[2]);
        EXPECT_EQ(time.minute, row[3]);
        EXPECT_EQ(time.year * 10000 + time.month * 100 + time.day, 20260308);
        EXPECT_EQ(time.weekday, 1);
        EXPECT_EQ(time.second * 100 + time.hundredth, 1542);
    }
    time.GM = TIMEDATE{{0, 0}};
    EXPECT_EQ(TimeGMToLocal(&time), 1);
    EXPECT_EQ(time.hour, 7);
}

struct AdjustCase {
    const char* start;                                // local time
    int seconds, minutes, hours, days, months, years; // the amounts added
    const char* utc;                                  // local time afterwards in UTC
    const char* newYork;                              // local time afterwards in New York
    int32_t utcSeconds;                               // elapsed seconds in UTC
    int32_t newYorkSeconds;                           // elapsed seconds in New York
};

class AdjustTest : public TimeTest, public testing::WithParamInterface<AdjustCase> {};

TEST_P(AdjustTest, AddsElapsedTimeAndCalendarSteps) {
    const AdjustCase& row = GetParam();
    const TIMEDATE start = LocalTime(row.start);
    TIMEDATE time = start;
    ASSERT_EQ(
        TimeDateAdjust(&time, row.seconds, row.minutes, row.hours, row.days, row.months, row.years),
        0);
    EXPECT_EQ(Text(time), newYork ? row.newYork : row.utc);
    EXPECT_EQ(TimeDateDifference(&time, &start), newYork ? row.newYorkSeconds : row.utcSeconds);
}

const AdjustCase kSteps[] = {
    {"03/07/2026 09:00:00", 0, 0, 0, 1, 0, 0, "03/08/2026 09:00:00", "03/08/2026 09:00:00", 86400,
     82800},
    {"03/07/2026 09:00:00", 0, 0, 24, 0, 0, 0, "03/08/2026 09:00:00", "03/08/2026 10:00:00", 86400,
     86400},
    {"10/31/2026 09:00:00", 0, 0, 0, 1, 0, 0, "11/01/2026 09:00:00", "11/01/2026 09:00:00", 86400,
     90000},
    {"03/10/2026 00:00:00", 90, 59, 23, 0, 0, 0, "03/11/2026 00:00:30", "03/11/2026 00:00:30",
     86430, 86430},
    {"01/31/2026 10:00:00", 0, 0, 0, 0, 1, 0, "02/28/2026 10:00:00", "02/28/2026 10:00:00", 2419200,
     2419200},
    {"02/29/2024 10:00:00", 0, 0, 0, 0, 0, -1, "02/28/2023 10:00:00", "02/28/2023 10:00:00",
     -31622400, -31622400},
    {"01/15/2026 08:00:00", 0, 0, 0, -1, -2, 0, "11/14/2025 08:00:00", "11/14/2025 08:00:00",
     -5356800, -5356800},
};

INSTANTIATE_TEST_SUITE_P(Steps, AdjustTest, testing::ValuesIn(kSteps));

TEST_F(TimeTest, ComparesInstantsWhateverTheirZone) {
    const TIMEDATE start = Utc(2026, 3, 8, 7, 0, 0);
    TIMEDATE sameInNewYork = start;
    sameInNewYork.Innards[1] |= 0x85000000u;
    const TIMEDATE later = Utc(2026, 3, 8, 7, 1, 29, 99);
    EXPECT_EQ(TimeDateCompare(&start, &sameInNewYork), 0);
    EXPECT_EQ(TimeDateDifference(&sameInNewYork, &start), 0);
    EXPECT_EQ(TimeDateCompare(&later, &start), 1);
    EXPECT_EQ(TimeDateCompare(&start, &later), -1);
    EXPECT_EQ(TimeDateDifference(&later, &start), 89);
    EXPECT_EQ(TimeDateDifference(&start, &later), -89);
}

TEST_F(TimeTest, CurrentTimeIsNowInTheProcessZone) {
    TIMEDATE now;
    OSCurrentTIMEDATE(&now);
    const int64_t system = std::chrono::duration_cast<std::chrono::seconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count();
    EXPECT_LE(std::llabs(UtcSeconds(now) - system), 5);
    EXPECT_EQ((now.Innards[1] >> 24) & 0xF, newYork ? 5u : 0u);
}

} // namespace
