#include "platform/foundation/NSDateFormatter.h"

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <chrono>
#include <memory>

namespace {

icu::DateFormat::EStyle icuStyle(NSDateFormatterStyle style) {
    switch (style) {
        case NSDateFormatterShortStyle:
            return icu::DateFormat::kShort;
        case NSDateFormatterMediumStyle:
            return icu::DateFormat::kMedium;
        case NSDateFormatterLongStyle:
            return icu::DateFormat::kLong;
        case NSDateFormatterFullStyle:
            return icu::DateFormat::kFull;
        case NSDateFormatterNoStyle:
            break;
    }
    return icu::DateFormat::kNone;
}

}  // namespace

struct NSDateFormatter::Cache {
    std::string key;
    std::unique_ptr<icu::DateFormat> format;
};

std::string NSDateFormatter::stringFromDate(double secondsSince1970) const {
    icu::Locale locale =
        locale_.empty() ? icu::Locale::getDefault() : icu::Locale::createFromName(locale_.c_str());
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createDefault());
    icu::UnicodeString zoneName;
    std::string zoneId;
    zone->getID(zoneName).toUTF8String(zoneId);
    std::string key = std::to_string(dateStyle_) + ' ' + std::to_string(timeStyle_) + ' ' +
                      locale.getName() + ' ' + zoneId;
    if (!cache_ || cache_->key != key) {
        cache_ = std::make_shared<Cache>(
            Cache{key, std::unique_ptr<icu::DateFormat>(icu::DateFormat::createDateTimeInstance(
                           icuStyle(dateStyle_), icuStyle(timeStyle_), locale))});
    }
    if (!cache_->format) {
        return {};
    }
    icu::UnicodeString text;
    cache_->format->format(secondsSince1970 * 1000.0, text);
    std::string utf8;
    text.toUTF8String(utf8);
    return utf8;
}

double NSDateFormatter::now() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}
