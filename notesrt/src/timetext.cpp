// Times as text.
#include "timetext.h"

#include "asciicase.h"
#include "os.h"
#include "status.h"
#include "timedate.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace notesrt {
namespace {

template <size_t N> void SetString(char (&field)[N], const char* text) {
    const size_t length = std::min(std::strlen(text), N - 1);
    std::memcpy(field, text, length);
    field[length] = '\0';
}

template <size_t N> std::string StringOf(const char (&field)[N]) {
    size_t length = 0;
    while (length < N && field[length] != '\0')
        ++length;
    return std::string(field, length);
}

// The order of the date's fields.
enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

DateOrder OrderOf(const INTLFORMAT& settings) {
    if (settings.Flags & DATE_YMD)
        return DateOrder::YearMonthDay;
    if (settings.Flags & DATE_DMY)
        return DateOrder::DayMonthYear;
    return DateOrder::MonthDayYear;
}

bool ValidFormat(const TFMT& format) {
    return (format.Date == TDFMT_FULL || format.Date == TDFMT_FULL4) &&
           (format.Time == TTFMT_FULL || format.Time == TTFMT_PARTIAL) &&
           format.Zone == TZFMT_NEVER && format.Structure <= TSFMT_DATETIME;
}

std::string Digits(int value, int width) {
    std::string text;
    AppendPadded(text, value, width);
    return text;
}

std::string DateText(const INTLFORMAT& settings, const TFMT& format, const CivilTime& local) {
    const bool longYear = format.Date == TDFMT_FULL4 || (settings.Flags & DATE_4DIGIT_YEAR);
    const std::string year = longYear ? Digits(local.year, 4) : Digits(local.year % 100, 2);
    const std::string month = Digits(local.month, 2);
    const std::string day = Digits(local.day, 2);
    const std::string separator = StringOf(settings.DateString);
    switch (OrderOf(settings)) {
    case DateOrder::YearMonthDay:
        return year + separator + month + separator + day;
    case DateOrder::DayMonthYear:
        return day + separator + month + separator + year;
    case DateOrder::MonthDayYear:
        break;
    }
    return month + separator + day + separator + year;
}

std::string TimeText(const INTLFORMAT& settings, const TFMT& format, const CivilTime& local) {
    const bool clock24 = (settings.Flags & CLOCK_24_HOUR) != 0;
    const int hour = clock24 ? local.hour : (local.hour % 12 == 0 ? 12 : local.hour % 12);
    const std::string separator = StringOf(settings.TimeString);
    std::string text = Digits(hour, 2) + separator + Digits(local.minute, 2);
    if (format.Time == TTFMT_FULL)
        text += separator + Digits(local.second, 2);
    if (!clock24)
        text += " " + (local.hour < 12 ? StringOf(settings.AMString) : StringOf(settings.PMString));
    return text;
}

// Reads time text from left to right.
class TextReader {
  public:
    explicit TextReader(std::string_view text) : m_text(text) {}

    size_t Position() const { return m_position; }
    void Rewind(size_t position) { m_position = position; }

    void SkipBlanks() {
        while (m_position < m_text.size() && m_text[m_position] == ' ')
            ++m_position;
    }

    bool AtDigit() const {
        return m_position < m_text.size() && m_text[m_position] >= '0' && m_text[m_position] <= '9';
    }

    // Reads 1 to maxDigits digits; digits gets how many were read.
    bool Number(int maxDigits, int& value, int& digits) {
        value = 0;
        digits = 0;
        while (digits < maxDigits && AtDigit()) {
            value = value * 10 + (m_text[m_position++] - '0');
            ++digits;
        }
        return digits > 0;
    }

    // Reads literal exactly (ignoring case when foldCase); an empty literal always matches.
    bool Literal(const std::string& literal, bool foldCase = false) {
        const std::string_view next = m_text.substr(m_position, literal.size());
        if (foldCase ? !EqualsIgnoringCase(next, literal) : next != literal)
            return false;
        m_position += literal.size();
        return true;
    }

  private:
    std::string_view m_text; // the text read
    size_t m_position = 0;   // the next byte to read
};

bool ReadDate(const INTLFORMAT& settings, TextReader& reader, CivilTime& civil) {
    const std::string separator = StringOf(settings.DateString);
    int values[3];
    int digits[3];
    for (int i = 0; i < 3; ++i) {
        if ((i > 0 && !reader.Literal(separator)) || !reader.Number(4, values[i], digits[i]))
            return false;
    }
    int yearIndex = 2;
    switch (OrderOf(settings)) {
    case DateOrder::YearMonthDay:
        yearIndex = 0;
        civil.month = values[1];
        civil.day = values[2];
        break;
    case DateOrder::DayMonthYear:
        civil.day = values[0];
        civil.month = values[1];
        break;
    case DateOrder::MonthDayYear:
        civil.month = values[0];
        civil.day = values[1];
        break;
    }
    civil.year = values[yearIndex];
    if (digits[yearIndex] <= 2)
        civil.year += civil.year < 50 ? 2000 : 1900;
    return civil.year >= 1 && civil.month >= 1 && civil.month <= 12 && civil.day >= 1 &&
           civil.day <= DaysInMonth(civil.year, civil.month);
}

bool ReadTime(const INTLFORMAT& settings, TextReader& reader, CivilTime& civil,
              unsigned& hundredths) {
    const std::string separator = StringOf(settings.TimeString);
    int digits;
    if (!reader.Number(2, civil.hour, digits) || !reader.Literal(separator) ||
        !reader.Number(2, civil.minute, digits) || digits != 2)
        return false;
    civil.second = 0;
    hundredths = 0;
    const size_t afterMinutes = reader.Position();
    if (reader.Literal(separator) && reader.AtDigit()) {
        if (!reader.Number(2, civil.second, digits) || digits != 2)
            return false;
        const size_t afterSeconds = reader.Position();
        int fraction;
        if (reader.Literal(StringOf(settings.DecimalString)) && reader.Number(2, fraction, digits))
            hundredths = static_cast<unsigned>(digits == 1 ? fraction * 10 : fraction);
        else
            reader.Rewind(afterSeconds);
    } else {
        reader.Rewind(afterMinutes);
    }
    const size_t beforeSuffix = reader.Position();
    reader.SkipBlanks();
    const std::string am = StringOf(settings.AMString);
    const std::string pm = StringOf(settings.PMString);
    const bool isAm = !am.empty() && reader.Literal(am, true);
    const bool isPm = !isAm && !pm.empty() && reader.Literal(pm, true);
    if (isAm || isPm) {
        if (civil.hour < 1 || civil.hour > 12)
            return false;
        civil.hour = civil.hour % 12 + (isPm ? 12 : 0);
    } else {
        reader.Rewind(beforeSuffix);
    }
    return civil.hour <= 23 && civil.minute <= 59 && civil.second <= 59;
}

} // namespace

INTLFORMAT DefaultIntlSettings() {
    INTLFORMAT settings;
    std::memset(&settings, 0, sizeof settings);
    settings.Flags = DATE_MDY | DATE_4DIGIT_YEAR | CLOCK_24_HOUR;
    settings.CurrencyDigits = 2;
    settings.Length = sizeof(INTLFORMAT);
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    int32_t standardOffset = 0;
    bool dst = false;
    if (ZoneAt(static_cast<int64_t>(now), standardOffset, dst))
        settings.TimeZone = -standardOffset / 3600;
    SetString(settings.AMString, "AM");
    SetString(settings.PMString, "PM");
    SetString(settings.CurrencyString, "$");
    SetString(settings.ThousandString, ",");
    SetString(settings.DecimalString, ".");
    SetString(settings.DateString, "/");
    SetString(settings.TimeString, ":");
    SetString(settings.YesterdayString, "Yesterday");
    SetString(settings.TodayString, "Today");
    SetString(settings.TomorrowString, "Tomorrow");
    return settings;
}

STATUS FormatTimeText(const INTLFORMAT& settings, const TFMT& format, const TIMEDATE& time,
                      std::string& text) {
    if (!ValidFormat(format))
        return kErrInvalidArgument;
    int64_t utc;
    unsigned hundredths;
    CivilTime local;
    if (!SplitTimeDate(time, utc, hundredths) || !LocalCivil(utc, local) || local.year < 1 ||
        local.year > 9999)
        return kErrTimeOutOfRange;
    switch (format.Structure) {
    case TSFMT_DATE:
        text = DateText(settings, format, local);
        break;
    case TSFMT_TIME:
        text = TimeText(settings, format, local);
        break;
    default:
        text = DateText(settings, format, local) + " " + TimeText(settings, format, local);
        break;
    }
    return 0;
}

STATUS ParseTimeText(const INTLFORMAT& settings, const TFMT& format, std::string_view text,
                     size_t& used, TIMEDATE& time) {
    if (!ValidFormat(format) || format.Structure == TSFMT_TIME)
        return kErrInvalidArgument;
    TextReader reader(text);
    reader.SkipBlanks();
    CivilTime civil;
    unsigned hundredths = 0;
    if (!ReadDate(settings, reader, civil))
        return kErrBadTimeText;
    if (format.Structure == TSFMT_DATETIME) {
        const size_t afterDate = reader.Position();
        reader.SkipBlanks();
        if (!reader.AtDigit())
            reader.Rewind(afterDate);
        else if (!ReadTime(settings, reader, civil, hundredths))
            return kErrBadTimeText;
    }
    int64_t utc;
    TIMEDATE read;
    if (!UtcOfLocalCivil(civil, utc) || !TimeDateInProcessZone(utc, hundredths, read))
        return kErrTimeOutOfRange;
    time = read;
    used = reader.Position();
    return 0;
}

std::string ItemTimeText(const TIMEDATE& time) {
    std::string text;
    if (FormatTimeText(DefaultIntlSettings(), kDefaultTextFormat, time, text) != 0)
        return std::string();
    return text;
}

} // namespace notesrt
