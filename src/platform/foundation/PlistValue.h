#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A property-list value: string, integer, real, boolean, date, data, array, dictionary, or
// absent. Copies are O(1): strings, data and containers are shared and copied on write, so
// handing a table's array to a page costs nothing and editing the copy never changes the
// table until the page stores it back.
class PlistValue {
  public:
    enum class Kind { Absent, String, Integer, Real, Boolean, Date, Data, Array, Dictionary };
    using Array = std::vector<PlistValue>;
    using Dictionary = std::map<std::string, PlistValue, std::less<>>;
    using Data = std::vector<std::uint8_t>;

    PlistValue() = default;
    PlistValue(const char* text) : PlistValue(std::string(text)) {}
    PlistValue(std::string text);
    PlistValue(Array array);
    PlistValue(Dictionary dictionary);

    static PlistValue integer(std::int64_t value);
    // Values above INT64_MAX keep their value; integerValue() then wraps as NSNumber does.
    static PlistValue unsignedInteger(std::uint64_t value);
    static PlistValue real(double value);
    static PlistValue boolean(bool value);
    // Seconds since 1970-01-01T00:00:00Z.
    static PlistValue date(double secondsSince1970);
    static PlistValue data(Data bytes);
    static PlistValue array() { return PlistValue(Array{}); }
    static PlistValue dictionary() { return PlistValue(Dictionary{}); }

    Kind kind() const;
    bool isAbsent() const { return kind() == Kind::Absent; }
    bool isString() const { return kind() == Kind::String; }
    bool isArray() const { return kind() == Kind::Array; }
    bool isDictionary() const { return kind() == Kind::Dictionary; }
    // Integers, reals and booleans: what the platform holds as a number object.
    bool isNumber() const;
    // True for an integer above INT64_MAX read from a file.
    bool isUnsignedInteger() const;

    // Number conversions; anything that is not a number gives 0.
    std::int64_t integerValue() const;
    std::uint64_t unsignedValue() const;
    double doubleValue() const;
    bool boolValue() const;
    double dateValue() const;

    // Null when the value is of another kind.
    const std::string* stringValue() const;
    const Data* dataValue() const;
    const Array* arrayValue() const;
    const Dictionary* dictionaryValue() const;
    // The string, or the fallback when the value is of another kind.
    std::string stringOr(std::string fallback) const;

    // Writable access; the value must already be of that kind. Detaches a shared container.
    Array& mutableArray();
    Dictionary& mutableDictionary();

    // Conveniences that treat a value of another kind as empty.
    std::size_t count() const;
    const PlistValue& operator[](std::string_view key) const;
    const PlistValue& operator[](std::size_t index) const;
    void set(std::string_view key, PlistValue value);
    void append(PlistValue value);

    bool operator==(const PlistValue& other) const;

    // The keys added, removed or changed between two dictionaries; a value of another kind
    // counts as an empty one.
    static std::set<std::string> differingKeys(const PlistValue& a, const PlistValue& b);

  private:
    struct Integer {
        std::int64_t bits;
        bool isUnsigned;
    };
    struct Date {
        double secondsSince1970;
    };
    using Storage = std::variant<std::monostate, std::shared_ptr<const std::string>, Integer,
                                 double, bool, Date, std::shared_ptr<const Data>,
                                 std::shared_ptr<Array>, std::shared_ptr<Dictionary>>;
    explicit PlistValue(Storage storage) : storage_(std::move(storage)) {}

    Storage storage_;
};
