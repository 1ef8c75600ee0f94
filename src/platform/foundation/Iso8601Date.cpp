#include "platform/foundation/Iso8601Date.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// 0001-01-01 and 10000-01-01 as days since 1970-01-01.
constexpr std::int64_t kFirstDay = -719162;
constexpr std::int64_t kEndDay = 2932897;

struct CivilDate {
    std::int64_t year;
    int month;
    int day;
};

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's civil-days algorithm).
std::int64_t daysFromCivil(CivilDate date) {
    std::int64_t y = date.month <= 2 ? date.year - 1 : date.year;
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    std::int64_t yearOfEra = y - era * 400;
    std::int64_t monthIndex = date.month > 2 ? date.month - 3 : date.month + 9;
    std::int64_t dayOfYear = (153 * monthIndex + 2) / 5 + date.day - 1;
    std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate civilFromDays(std::int64_t days) {
    days += 719468;
    std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    std::int64_t dayOfEra = days - era * 146097;
    std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day};
}

int daysInMonth(std::int64_t year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Reads `width` decimal digits at `at`; -1 when any is not a digit.
int digits(std::string_view text, std::size_t at, std::size_t width) {
    int value = 0;
    for (std::size_t i = at; i < at + width; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool separatorsMatch(std::string_view text) {
    return text.size() == 20 && text[4] == '-' && text[7] == '-' && text[10] == 'T' &&
           text[13] == ':' && text[16] == ':' && text[19] == 'Z';
}

}  // namespace

std::optional<double> Iso8601Date::parse(std::string_view text) {
    if (!separatorsMatch(text)) {
        return std::nullopt;
    }
    int year = digits(text, 0, 4);
    int month = digits(text, 5, 2);
    int day = digits(text, 8, 2);
    int hour = digits(text, 11, 2);
    int minute = digits(text, 14, 2);
    int second = digits(text, 17, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 59 || day > daysInMonth(year, month)) {
        return std::nullopt;
    }
    std::int64_t days = daysFromCivil({year, month, day});
    return static_cast<double>(days * kSecondsPerDay + hour * 3600 + minute * 60 + second);
}

std::optional<std::string> Iso8601Date::format(double secondsSince1970) {
    double floored = std::floor(secondsSince1970);
    if (!(floored >= static_cast<double>(kFirstDay * kSecondsPerDay) &&
          floored < static_cast<double>(kEndDay * kSecondsPerDay))) {
        return std::nullopt;
    }
    auto seconds = static_cast<std::int64_t>(floored);
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    CivilDate date = civilFromDays(days);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", static_cast<int>(date.year),
                  date.month, date.day, static_cast<int>(rest / 3600),
                  static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
    return std::string(text);
}
