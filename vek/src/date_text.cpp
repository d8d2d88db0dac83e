#include "date_text.h"

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

}  // namespace

bool FormatAutomationDate(double date, std::string &text) {
    if (!(date >= kFirstDay && date < kPastLastDay))
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
