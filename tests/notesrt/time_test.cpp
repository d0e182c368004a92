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

// The TIMEDATE of UTC "YYYY-MM-DD hh:mm:ss.hh".
TIMEDATE Utc(const std::string& text) {
    int f[7] = {};
    std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d.%d", &f[0], &f[1], &f[2], &f[3], &f[4], &f[5],
                &f[6]);
    return Utc(f[0], f[1], f[2], f[3], f[4], f[5], static_cast<uint32_t>(f[6]));
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

    // The settings record with flags (hexadecimal text) and the date separator.
    static INTLFORMAT Settings(const std::string& flags, const std::string& dateSeparator) {
        INTLFORMAT settings;
        OSGetIntlSettings(&settings, sizeof settings);
        settings.Flags = static_cast<uint16_t>(std::stoi(flags, nullptr, 16));
        std::strcpy(settings.DateString, dateSeparator.c_str());
        std::strcpy(settings.TimeString, ":");
        return settings;
    }

    static std::string Text(const TIMEDATE& time, const INTLFORMAT* settings = nullptr,
                            TFMT format = {TDFMT_FULL4, TTFMT_FULL, TZFMT_NEVER, TSFMT_DATETIME}) {
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

class ParseTest : public TimeTest, public testing::WithParamInterface<Row> {};

TEST_P(ParseTest, ReadsLocalTimeInTheSettingsForm) {
    const Row& row = GetParam();
    const INTLFORMAT settings = Settings(row[2], row[3]);
    const TFMT format = {TDFMT_FULL4, TTFMT_FULL, TZFMT_NEVER, TSFMT_DATETIME};
    char* cursor = const_cast<char*>(row[1].c_str());
    TIMEDATE time = {};
    ASSERT_EQ(
        ConvertTextToTIMEDATE(row[2] != "0" ? &settings : nullptr, &format, &cursor, 80, &time), 0);
    const TIMEDATE local = Utc(row[4]);
    const int newYorkOffset = std::stoi(row[5]);
    EXPECT_EQ(UtcSeconds(time), UtcSeconds(local) - Offset(newYorkOffset));
    EXPECT_EQ(time.Innards[0] % 100, local.Innards[0] % 100);
    EXPECT_EQ(cursor, row[1].c_str() + row[1].size());
    EXPECT_EQ(time.Innards[1] >> 31, newYork && newYorkOffset == -4 ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseTest, testing::ValuesIn(DataFile("time_parse.tsv")),
                         FirstField);

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

// The formats the rows name.
constexpr TFMT kFull = {TDFMT_FULL, TTFMT_FULL, TZFMT_NEVER, TSFMT_DATETIME};
constexpr TFMT kDate = {TDFMT_FULL4, TTFMT_FULL, TZFMT_NEVER, TSFMT_DATE};
constexpr TFMT kShort = {TDFMT_FULL, TTFMT_PARTIAL, TZFMT_NEVER, TSFMT_DATETIME};

class FormatTest : public TimeTest, public testing::WithParamInterface<Row> {};

TEST_P(FormatTest, WritesLocalTimeInTheSettingsForm) {
    const Row& row = GetParam();
    const INTLFORMAT settings = Settings(row[2], row[3]);
    const TFMT format = row[4] == "Date" ? kDate : row[4] == "Short" ? kShort : kFull;
    EXPECT_EQ(Text(Utc(row[1]), row[2] != "0" ? &settings : nullptr, format),
              newYork ? row[6] : row[5]);
}

INSTANTIATE_TEST_SUITE_P(Times, FormatTest, testing::ValuesIn(DataFile("time_format.tsv")),
                         FirstField);

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

class AdjustTest : public TimeTest, public testing::WithParamInterface<Row> {};

TEST_P(AdjustTest, AddsElapsedTimeAndCalendarSteps) {
    const Row& row = GetParam();
    int amounts[6];
    for (int i = 0; i < 6; ++i)
        amounts[i] = std::stoi(row[2 + i]);
    const TIMEDATE start = LocalTime(row[1].c_str());
    TIMEDATE time = start;
    ASSERT_EQ(TimeDateAdjust(&time, amounts[0], amounts[1], amounts[2], amounts[3], amounts[4],
                             amounts[5]),
              0);
    EXPECT_EQ(Text(time), newYork ? row[9] : row[8]);
    EXPECT_EQ(TimeDateDifference(&time, &start), std::stoi(newYork ? row[11] : row[10]));
}

INSTANTIATE_TEST_SUITE_P(Steps, AdjustTest, testing::ValuesIn(DataFile("time_adjust.tsv")),
                         FirstField);

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
