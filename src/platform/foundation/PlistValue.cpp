#include "platform/foundation/PlistValue.h"

#include <cassert>
#include <cstring>

namespace {

const PlistValue& absentValue() {
    static const PlistValue absent;
    return absent;
}

template <typename T>
T& detach(std::shared_ptr<T>& shared) {
    if (shared.use_count() > 1) {
        shared = std::make_shared<T>(*shared);
    }
    return *shared;
}

}  // namespace

PlistValue::PlistValue(std::string text)
    : storage_(std::make_shared<const std::string>(std::move(text))) {}

PlistValue::PlistValue(Array array) : storage_(std::make_shared<Array>(std::move(array))) {}

PlistValue::PlistValue(Dictionary dictionary)
    : storage_(std::make_shared<Dictionary>(std::move(dictionary))) {}

PlistValue PlistValue::integer(std::int64_t value) {
    return PlistValue(Storage(Integer{value, false}));
}

PlistValue PlistValue::unsignedInteger(std::uint64_t value) {
    return PlistValue(Storage(Integer{static_cast<std::int64_t>(value), value > INT64_MAX}));
}

PlistValue PlistValue::real(double value) {
    return PlistValue(Storage(value));
}

PlistValue PlistValue::boolean(bool value) {
    return PlistValue(Storage(value));
}

PlistValue PlistValue::date(double secondsSince1970) {
    return PlistValue(Storage(Date{secondsSince1970}));
}

PlistValue PlistValue::data(Data bytes) {
    return PlistValue(Storage(std::make_shared<const Data>(std::move(bytes))));
}

PlistValue::Kind PlistValue::kind() const {
    static constexpr Kind kinds[] = {Kind::Absent, Kind::String,  Kind::Integer,
                                     Kind::Real,   Kind::Boolean, Kind::Date,
                                     Kind::Data,   Kind::Array,   Kind::Dictionary};
    return kinds[storage_.index()];
}

bool PlistValue::isNumber() const {
    Kind k = kind();
    return k == Kind::Integer || k == Kind::Real || k == Kind::Boolean;
}

bool PlistValue::isUnsignedInteger() const {
    const auto* integer = std::get_if<Integer>(&storage_);
    return integer && integer->isUnsigned;
}

std::int64_t PlistValue::integerValue() const {
    if (const auto* integer = std::get_if<Integer>(&storage_)) {
        return integer->bits;
    }
    if (const auto* real = std::get_if<double>(&storage_)) {
        // Out-of-range reals saturate instead of being undefined.
        if (!(*real == *real)) {
            return 0;
        }
        if (*real >= 9223372036854775807.0) {
            return INT64_MAX;
        }
        if (*real <= -9223372036854775808.0) {
            return INT64_MIN;
        }
        return static_cast<std::int64_t>(*real);
    }
    if (const auto* boolean = std::get_if<bool>(&storage_)) {
        return *boolean ? 1 : 0;
    }
    return 0;
}

std::uint64_t PlistValue::unsignedValue() const {
    return static_cast<std::uint64_t>(integerValue());
}

double PlistValue::doubleValue() const {
    if (const auto* integer = std::get_if<Integer>(&storage_)) {
        return integer->isUnsigned ? static_cast<double>(static_cast<std::uint64_t>(integer->bits))
                                   : static_cast<double>(integer->bits);
    }
    if (const auto* real = std::get_if<double>(&storage_)) {
        return *real;
    }
    if (const auto* boolean = std::get_if<bool>(&storage_)) {
        return *boolean ? 1.0 : 0.0;
    }
    return 0.0;
}

bool PlistValue::boolValue() const {
    if (const auto* integer = std::get_if<Integer>(&storage_)) {
        return integer->bits != 0;
    }
    if (const auto* real = std::get_if<double>(&storage_)) {
        return *real != 0.0;
    }
    if (const auto* boolean = std::get_if<bool>(&storage_)) {
        return *boolean;
    }
    return false;
}

double PlistValue::dateValue() const {
    const auto* date = std::get_if<Date>(&storage_);
    return date ? date->secondsSince1970 : 0.0;
}

const std::string* PlistValue::stringValue() const {
    const auto* text = std::get_if<std::shared_ptr<const std::string>>(&storage_);
    return text ? text->get() : nullptr;
}

std::string PlistValue::stringOr(std::string fallback) const {
    const std::string* text = stringValue();
    return text ? *text : std::move(fallback);
}

const PlistValue::Data* PlistValue::dataValue() const {
    const auto* bytes = std::get_if<std::shared_ptr<const Data>>(&storage_);
    return bytes ? bytes->get() : nullptr;
}

const PlistValue::Array* PlistValue::arrayValue() const {
    const auto* array = std::get_if<std::shared_ptr<Array>>(&storage_);
    return array ? array->get() : nullptr;
}

const PlistValue::Dictionary* PlistValue::dictionaryValue() const {
    const auto* dictionary = std::get_if<std::shared_ptr<Dictionary>>(&storage_);
    return dictionary ? dictionary->get() : nullptr;
}

PlistValue::Array& PlistValue::mutableArray() {
    assert(isArray());
    return detach(std::get<std::shared_ptr<Array>>(storage_));
}

PlistValue::Dictionary& PlistValue::mutableDictionary() {
    assert(isDictionary());
    return detach(std::get<std::shared_ptr<Dictionary>>(storage_));
}

std::size_t PlistValue::count() const {
    if (const Array* array = arrayValue()) {
        return array->size();
    }
    if (const Dictionary* dictionary = dictionaryValue()) {
        return dictionary->size();
    }
    return 0;
}

const PlistValue& PlistValue::operator[](std::string_view key) const {
    const Dictionary* dictionary = dictionaryValue();
    if (!dictionary) {
        return absentValue();
    }
    auto found = dictionary->find(key);
    return found == dictionary->end() ? absentValue() : found->second;
}

const PlistValue& PlistValue::operator[](std::size_t index) const {
    const Array* array = arrayValue();
    return array && index < array->size() ? (*array)[index] : absentValue();
}

void PlistValue::set(std::string_view key, PlistValue value) {
    Dictionary& dictionary = mutableDictionary();
    auto found = dictionary.find(key);
    if (found == dictionary.end()) {
        dictionary.emplace(std::string(key), std::move(value));
    } else {
        found->second = std::move(value);
    }
}

void PlistValue::append(PlistValue value) {
    mutableArray().push_back(std::move(value));
}

bool PlistValue::operator==(const PlistValue& other) const {
    if (storage_.index() != other.storage_.index()) {
        return false;
    }
    switch (kind()) {
        case Kind::Absent:
            return true;
        case Kind::String:
            return *stringValue() == *other.stringValue();
        case Kind::Integer: {
            const auto& a = std::get<Integer>(storage_);
            const auto& b = std::get<Integer>(other.storage_);
            return a.bits == b.bits && a.isUnsigned == b.isUnsigned;
        }
        case Kind::Real:
            return std::get<double>(storage_) == std::get<double>(other.storage_);
        case Kind::Boolean:
            return std::get<bool>(storage_) == std::get<bool>(other.storage_);
        case Kind::Date:
            return dateValue() == other.dateValue();
        case Kind::Data:
            return *dataValue() == *other.dataValue();
        case Kind::Array:
            return arrayValue() == other.arrayValue() || *arrayValue() == *other.arrayValue();
        case Kind::Dictionary:
            return dictionaryValue() == other.dictionaryValue() ||
                   *dictionaryValue() == *other.dictionaryValue();
    }
    return false;
}

std::set<std::string> PlistValue::differingKeys(const PlistValue& a, const PlistValue& b) {
    static const Dictionary kNone;
    const Dictionary& first = a.dictionaryValue() ? *a.dictionaryValue() : kNone;
    const Dictionary& second = b.dictionaryValue() ? *b.dictionaryValue() : kNone;
    std::set<std::string> keys;
    for (const auto& [key, value] : first) {
        auto other = second.find(key);
        if (other == second.end() || !(other->second == value)) {
            keys.insert(key);
        }
    }
    for (const auto& entry : second) {
        if (!first.contains(entry.first)) {
            keys.insert(entry.first);
        }
    }
    return keys;
}
