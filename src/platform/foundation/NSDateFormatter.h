#pragma once

#include <memory>
#include <string>

enum NSDateFormatterStyle : int {
    NSDateFormatterNoStyle = 0,
    NSDateFormatterShortStyle = 1,
    NSDateFormatterMediumStyle = 2,
    NSDateFormatterLongStyle = 3,
    NSDateFormatterFullStyle = 4,
};

// Formats dates with ICU in the process's locale, calendar and time zone (ICU's defaults,
// taken from the environment unless a host sets them).
class NSDateFormatter {
  public:
    void setDateStyle(NSDateFormatterStyle style) { dateStyle_ = style; }
    void setTimeStyle(NSDateFormatterStyle style) { timeStyle_ = style; }
    // An ICU locale name ("en_US", "de_DE"); empty for the process's default.
    void setLocaleIdentifier(std::string identifier) { locale_ = std::move(identifier); }

    // Seconds since 1970-01-01T00:00:00Z.
    std::string stringFromDate(double secondsSince1970) const;
    static double now();

  private:
    // The ICU formatter of the last call, made again only when the styles, the locale or the
    // default time zone changed: making one costs far more than formatting a date.
    struct Cache;

    NSDateFormatterStyle dateStyle_ = NSDateFormatterNoStyle;
    NSDateFormatterStyle timeStyle_ = NSDateFormatterNoStyle;
    std::string locale_;
    mutable std::shared_ptr<Cache> cache_;
};
