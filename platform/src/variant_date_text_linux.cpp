// Dates (days since 1899-12-30, the time of day as the fraction) to and from
// wide text, in the en-US form.
#include <cmath>
#include <ctime>
#include <vector>

#include "variant_text_linux.h"

namespace platform::variant_text {
namespace {

// Day 0 of a DATE counted from 1970-01-01.
constexpr int64_t kDateEpoch = -25569;
// The dates that have a text: the years 100 to 9999.
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958465.0;
constexpr int kSecondsPerDay = 86400;

struct CivilDate {
    int64_t year;
    int month;
    int day;
};

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int64_t DaysFromCivil(CivilDate date) {
    const int64_t y = date.year - (date.month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t year_of_era = y - era * 400;
    const int64_t day_of_year =
        (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const int64_t day_of_era =
        year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

CivilDate CivilFromDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t day_of_era = days - era * 146097;
    const int64_t year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const int64_t day_of_year =
        day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const int64_t mp = (5 * day_of_year + 2) / 153;
    const int day = static_cast<int>(day_of_year - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {year_of_era + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

int DaysInMonth(int64_t year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

std::string TimeText(int seconds) {
    const int hour = seconds / 3600;
    const int display_hour = hour % 12 == 0 ? 12 : hour % 12;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d %s", display_hour, seconds / 60 % 60,
                  seconds % 60, hour < 12 ? "AM" : "PM");
    return buffer;
}

// One piece of a date text.
struct Token {
    enum class Kind { kNumber, kWord, kMark } kind;
    int64_t number = 0;
    int length = 0;    // digits of a number
    std::string word;  // lower-case letters of a word
    char mark = 0;     // one of / - . , :
};

bool Tokenise(WideView text, std::vector<Token> &out) {
    for (std::size_t i = 0; i < text.size();) {
        const OLECHAR c = text[i];
        if (c == u' ' || c == u'\t') {
            ++i;
        } else if (c >= u'0' && c <= u'9') {
            Token token{Token::Kind::kNumber};
            for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
                if (token.length < 9)
                    token.number = token.number * 10 + (text[i] - u'0');
                ++token.length;
            }
            out.push_back(token);
        } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
            Token token{Token::Kind::kWord};
            for (; i < text.size() && ((text[i] | 0x20) >= u'a' && (text[i] | 0x20) <= u'z'); ++i)
                token.word.push_back(static_cast<char>(text[i] | 0x20));
            out.push_back(token);
        } else if (c == u'/' || c == u'-' || c == u'.' || c == u',' || c == u':') {
            Token token{Token::Kind::kMark};
            token.mark = static_cast<char>(c);
            out.push_back(token);
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

// 1..12 for an English month name or its abbreviation of at least three letters.
int MonthOfWord(const std::string &word) {
    static constexpr std::string_view kMonths[] = {"january",   "february", "march",    "april",
                                                   "may",       "june",     "july",     "august",
                                                   "september", "october",  "november", "december"};
    if (word.size() < 3)
        return 0;
    for (int i = 0; i < 12; ++i) {
        if (kMonths[i].substr(0, word.size()) == word)
            return i + 1;
    }
    return 0;
}

int CurrentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

struct TimeOfDay {
    bool present = false;
    int seconds = 0;
};

// Reads h[:mm[:ss]] [AM|PM] starting at token `i` (a number followed by ':' or by
// AM/PM); advances `i` past it.
bool ReadTime(const std::vector<Token> &tokens, std::size_t &i, TimeOfDay &out) {
    int parts[3] = {0, 0, 0};
    int count = 0;
    while (i < tokens.size() && tokens[i].kind == Token::Kind::kNumber && count < 3) {
        if (tokens[i].length > 2)
            return false;
        parts[count++] = static_cast<int>(tokens[i].number);
        ++i;
        if (i < tokens.size() && tokens[i].kind == Token::Kind::kMark && tokens[i].mark == ':')
            ++i;
        else
            break;
    }
    int hour = parts[0];
    if (i < tokens.size() && tokens[i].kind == Token::Kind::kWord &&
        (tokens[i].word == "am" || tokens[i].word == "pm" || tokens[i].word == "a" ||
         tokens[i].word == "p")) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (tokens[i].word[0] == 'p' ? 12 : 0);
        ++i;
    }
    if (hour > 23 || parts[1] > 59 || parts[2] > 59)
        return false;
    out.present = true;
    out.seconds = hour * 3600 + parts[1] * 60 + parts[2];
    return true;
}

bool IsTimeStart(const std::vector<Token> &tokens, std::size_t i) {
    if (tokens[i].kind != Token::Kind::kNumber || i + 1 >= tokens.size())
        return false;
    const Token &next = tokens[i + 1];
    return (next.kind == Token::Kind::kMark && next.mark == ':') ||
           (next.kind == Token::Kind::kWord &&
            (next.word == "am" || next.word == "pm" || next.word == "a" || next.word == "p"));
}

int64_t FullYear(const Token &token) {
    if (token.length <= 2)
        return token.number + (token.number < 30 ? 2000 : 1900);
    return token.number;
}

// Orders the numbers (and month name) of a date into year, month and day.
bool AssembleDate(const std::vector<Token> &numbers, int month_name, CivilDate &out) {
    if (month_name != 0) {
        out.month = month_name;
        if (numbers.size() == 2) {
            const bool year_first = numbers[0].length > 2 || numbers[0].number > 31;
            out.year = FullYear(numbers[year_first ? 0 : 1]);
            out.day = static_cast<int>(numbers[year_first ? 1 : 0].number);
        } else if (numbers.size() == 1) {
            const bool is_year = numbers[0].length > 2 || numbers[0].number > 31;
            out.year = is_year ? FullYear(numbers[0]) : CurrentYear();
            out.day = is_year ? 1 : static_cast<int>(numbers[0].number);
        } else {
            return false;
        }
        return true;
    }
    if (numbers.size() == 3) {
        if (numbers[0].length > 2 || numbers[0].number > 31) {
            out = {FullYear(numbers[0]), static_cast<int>(numbers[1].number),
                   static_cast<int>(numbers[2].number)};
        } else {
            out = {FullYear(numbers[2]), static_cast<int>(numbers[0].number),
                   static_cast<int>(numbers[1].number)};
            // A first number that cannot be a month is the day.
            if (out.month > 12 && out.day <= 12)
                std::swap(out.month, out.day);
        }
        return true;
    }
    if (numbers.size() == 2) {
        const bool second_is_year = numbers[1].length > 2 || numbers[1].number > 31;
        out.month = static_cast<int>(numbers[0].number);
        out.year = second_is_year ? FullYear(numbers[1]) : CurrentYear();
        out.day = second_is_year ? 1 : static_cast<int>(numbers[1].number);
        return true;
    }
    return false;
}

}  // namespace

bool FormatDate(DATE value, std::string &out) {
    if (!(value > kFirstDay - 1.0 && value < kLastDay + 1.0))
        return false;
    int64_t day = static_cast<int64_t>(std::trunc(value));
    auto seconds =
        static_cast<int>(std::llround(std::fabs(value - std::trunc(value)) * kSecondsPerDay));
    if (seconds >= kSecondsPerDay) {
        seconds = 0;
        ++day;
    }
    const std::string time = TimeText(seconds);
    if (day == 0) {
        out = time;
        return true;
    }
    const CivilDate date = CivilFromDays(day + kDateEpoch);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d/%d/%04lld", date.month, date.day,
                  static_cast<long long>(date.year));
    out = buffer;
    if (seconds != 0)
        out += " " + time;
    return true;
}

bool ParseDate(WideView text, DATE &out) {
    std::vector<Token> tokens;
    if (!Tokenise(text, tokens) || tokens.empty())
        return false;
    std::vector<Token> numbers;
    int month_name = 0;
    TimeOfDay time;
    for (std::size_t i = 0; i < tokens.size();) {
        const Token &token = tokens[i];
        if (IsTimeStart(tokens, i)) {
            if (time.present || !ReadTime(tokens, i, time))
                return false;
        } else if (token.kind == Token::Kind::kNumber) {
            if (numbers.size() == 3 || token.length > 4)
                return false;
            numbers.push_back(token);
            ++i;
        } else if (token.kind == Token::Kind::kWord) {
            const int month = MonthOfWord(token.word);
            if (month == 0 || month_name != 0)
                return false;
            month_name = month;
            ++i;
        } else {
            if (token.mark == ':')
                return false;
            ++i;
        }
    }
    CivilDate date{1899, 12, 30};
    if (!numbers.empty() || month_name != 0) {
        if (!AssembleDate(numbers, month_name, date))
            return false;
    } else if (!time.present) {
        return false;
    }
    if (date.year < 100 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > DaysInMonth(date.year, date.month))
        return false;
    const auto day = static_cast<double>(DaysFromCivil(date) - kDateEpoch);
    const double fraction = static_cast<double>(time.seconds) / kSecondsPerDay;
    out = day >= 0 ? day + fraction : day - fraction;
    return true;
}

}  // namespace platform::variant_text
