#include "text/date_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace vek {

namespace {

constexpr double kFirstDay = -657434.0;     // 0100-01-01
constexpr double kPastLastDay = 2958466.0;  // 10000-01-01
constexpr int64_t kUnixEpochDay = 25569;    // 1970-01-01 as an automation date
constexpr int64_t kSecondsPerDay = 86400;

struct CivilDate {
    int64_t year;
    unsigned month;
    unsigned day;
};

// The proleptic Gregorian date of a day counted from 1970-01-01.
CivilDate CivilFromDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto day_of_era = static_cast<unsigned>(days - era * 146097);
    const unsigned year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const unsigned day_of_year =
        day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const unsigned shifted_month = (5 * day_of_year + 2) / 153;
    const unsigned day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
    const unsigned month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
    return {static_cast<int64_t>(year_of_era) + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// The day, counted from 1970-01-01, of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto year_of_era = static_cast<unsigned>(year - era * 400);
    const unsigned day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned day_of_era =
        year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + static_cast<int64_t>(day_of_era) - 719468;
}

bool IsLeapYear(int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned DaysInMonth(int64_t year, unsigned month) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Reads exactly `digits` decimal digits at `position` and moves past them.
bool ReadDigits(std::string_view text, size_t &position, size_t digits, unsigned &value) {
    if (text.size() - position < digits)
        return false;
    value = 0;
    for (size_t end = position + digits; position < end; ++position) {
        const char c = text[position];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return true;
}

bool ReadSeparator(std::string_view text, size_t &position, char separator) {
    if (position >= text.size() || text[position] != separator)
        return false;
    ++position;
    return true;
}

// Seconds since midnight of "hh:mm:ss" at `position`, which must end the text.
bool ReadTimeOfDay(std::string_view text, size_t position, unsigned &seconds) {
    unsigned hours = 0, minutes = 0, secs = 0;
    if (!ReadDigits(text, position, 2, hours) || !ReadSeparator(text, position, ':') ||
        !ReadDigits(text, position, 2, minutes) || !ReadSeparator(text, position, ':') ||
        !ReadDigits(text, position, 2, secs) || position != text.size())
        return false;
    if (hours > 23 || minutes > 59 || secs > 59)
        return false;
    seconds = hours * 3600 + minutes * 60 + secs;
    return true;
}

}  // namespace

bool IsAutomationDateInRange(double date) {
    // The first day's own times lie below it: 0100-01-01 12:00 is -657434.5.
    return std::trunc(date) >= kFirstDay && date < kPastLastDay;
}

bool ParseAutomationDate(std::string_view text, double &date) {
    size_t position = 0;
    unsigned year = 0, month = 0, day = 0;
    if (!ReadDigits(text, position, 4, year) || !ReadSeparator(text, position, '-') ||
        !ReadDigits(text, position, 2, month) || !ReadSeparator(text, position, '-') ||
        !ReadDigits(text, position, 2, day))
        return false;
    if (year < 100 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    unsigned seconds = 0;
    if (position != text.size()) {
        if (text[position] != ' ' && text[position] != 'T')
            return false;
        if (!ReadTimeOfDay(text, position + 1, seconds))
            return false;
    }
    const int64_t days = DaysFromCivil(year, month, day) + kUnixEpochDay;
    // Before 1899-12-30 the whole days count backwards but the time of day still
    // runs forwards: 1899-12-29 06:00 is -1.25.
    const double fraction = static_cast<double>(seconds) / kSecondsPerDay;
    date = static_cast<double>(days) + (days < 0 ? -fraction : fraction);
    return true;
}

bool FormatAutomationDate(double date, std::string &text) {
    if (!IsAutomationDateInRange(date))
        return false;
    // Negative dates count whole days backwards but their fraction is still the time
    // of day forwards: -1.25 is 1899-12-29 06:00.
    const double whole = std::trunc(date);
    auto day = static_cast<int64_t>(whole);
    int64_t seconds = std::llround(std::fabs(date - whole) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        ++day;
    }
    const CivilDate civil = CivilFromDays(day - kUnixEpochDay);
    if (civil.year > 9999)
        return false;
    char buffer[32];
    int length = std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u",
                               static_cast<int>(civil.year), civil.month, civil.day);
    if (seconds != 0) {
        length +=
            std::snprintf(buffer + length, sizeof buffer - static_cast<size_t>(length),
                          " %02d:%02d:%02d", static_cast<int>(seconds / 3600),
                          static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    }
    text.assign(buffer, static_cast<size_t>(length));
    return true;
}

}  // namespace vek
