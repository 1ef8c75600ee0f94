#include "platform/foundation/XmlPlistReader.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "platform/foundation/Base64.h"
#include "platform/foundation/Iso8601Date.h"
#include "platform/foundation/PropertyList.h"

namespace {

bool isXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isXmlSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isXmlSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Decimal with an optional sign ("010" is ten), or hexadecimal after "0x"; from -2^63 to
// 2^64-1.
std::optional<PlistValue> parseInteger(std::string_view text) {
    text = trimmed(text);
    int base = 10;
    bool negative = false;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text[0] == '+' || text[0] == '-') {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    if (!negative) {
        return PlistValue::unsignedInteger(magnitude);
    }
    constexpr std::uint64_t kMostNegative = std::uint64_t{1} << 63;
    if (magnitude > kMostNegative) {
        return std::nullopt;
    }
    return PlistValue::integer(static_cast<std::int64_t>(0 - magnitude));
}

// A short excerpt of hostile text for a message.
std::string excerpt(std::string_view text) {
    text = trimmed(text);
    return text.size() <= 40 ? std::string(text) : std::string(text.substr(0, 40)) + "...";
}

std::optional<double> parseReal(std::string_view text) {
    text = trimmed(text);
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

XmlPlistReader::XmlPlistReader() : parser_(XML_ParserCreate(nullptr)) {
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, &onStart, &onEnd);
    XML_SetCharacterDataHandler(parser_, &onText);
    XML_SetEntityDeclHandler(parser_, &onEntityDeclaration);
    XML_SetSkippedEntityHandler(parser_, &onSkippedEntity);
}

XmlPlistReader::~XmlPlistReader() {
    XML_ParserFree(parser_);
}

Result<PlistValue> XmlPlistReader::parse(std::string_view bytes) {
    XmlPlistReader reader;
    if (!reader.parser_) {
        return Result<PlistValue>::failure("Out of memory reading the property list.");
    }
    return reader.run(bytes);
}

Result<PlistValue> XmlPlistReader::run(std::string_view bytes) {
    // Fed in slices: expat takes an int length.
    constexpr std::size_t kSlice = std::size_t{1} << 24;
    XML_Status status = XML_STATUS_OK;
    do {
        std::size_t length = std::min(kSlice, bytes.size());
        bool last = length == bytes.size();
        status = XML_Parse(parser_, bytes.data(), static_cast<int>(length), last);
        bytes.remove_prefix(length);
    } while (status == XML_STATUS_OK && !bytes.empty());
    if (status != XML_STATUS_OK && error_.empty()) {
        error_ = XML_ErrorString(XML_GetErrorCode(parser_));
    }
    if (error_.empty() && !haveResult_) {
        error_ = "no value";
    }
    if (!error_.empty()) {
        return Result<PlistValue>::failure("Not a valid property list (line " +
                                           std::to_string(XML_GetCurrentLineNumber(parser_)) +
                                           "): " + error_ + ".");
    }
    return std::move(result_);
}

void XMLCALL XmlPlistReader::onStart(void* self, const XML_Char* name, const XML_Char**) {
    static_cast<XmlPlistReader*>(self)->start(name);
}

void XMLCALL XmlPlistReader::onEnd(void* self, const XML_Char*) {
    // expat has already matched the end tag against its start tag.
    static_cast<XmlPlistReader*>(self)->end();
}

void XMLCALL XmlPlistReader::onText(void* self, const XML_Char* text, int length) {
    static_cast<XmlPlistReader*>(self)->text(
        std::string_view(text, static_cast<std::size_t>(length)));
}

void XMLCALL XmlPlistReader::onEntityDeclaration(void* self, const XML_Char*, int, const XML_Char*,
                                                 int, const XML_Char*, const XML_Char*,
                                                 const XML_Char*, const XML_Char*) {
    // Property lists never declare entities; refusing them closes off expansion attacks.
    static_cast<XmlPlistReader*>(self)->fail("entity declarations are not allowed");
}

void XMLCALL XmlPlistReader::onSkippedEntity(void* self, const XML_Char* name, int) {
    static_cast<XmlPlistReader*>(self)->fail(std::string("unknown entity &") + name + ";");
}

void XmlPlistReader::fail(std::string message) {
    if (error_.empty()) {
        error_ = std::move(message);
        XML_StopParser(parser_, XML_FALSE);
    }
}

void XmlPlistReader::start(std::string_view name) {
    if (!error_.empty()) {
        return;
    }
    if (inLeaf_) {
        return fail("element <" + std::string(name) + "> inside a value");
    }
    std::optional<Element> element = elementNamed(name);
    if (!element) {
        return fail("unknown element <" + std::string(name) + ">");
    }
    if (*element == Element::Plist) {
        return startPlist();
    }
    sawRoot_ = true;
    if (!placementAllowed(*element)) {
        return;
    }
    if (*element == Element::Array || *element == Element::Dict) {
        return startContainer(*element);
    }
    inLeaf_ = true;
    leaf_ = *element;
    leafText_.clear();
}

std::optional<XmlPlistReader::Element> XmlPlistReader::elementNamed(std::string_view name) {
    static constexpr std::pair<std::string_view, Element> kNames[] = {
        {"plist", Element::Plist}, {"array", Element::Array},   {"dict", Element::Dict},
        {"key", Element::Key},     {"string", Element::String}, {"integer", Element::Integer},
        {"real", Element::Real},   {"date", Element::Date},     {"data", Element::Data},
        {"true", Element::True},   {"false", Element::False}};
    for (const auto& [known, element] : kNames) {
        if (known == name) {
            return element;
        }
    }
    return std::nullopt;
}

void XmlPlistReader::startPlist() {
    if (sawRoot_) {
        return fail("<plist> inside a value");
    }
    sawRoot_ = true;
    stack_.push_back({Element::Plist, {}, {}, false});
}

// Keys alternate with values inside a dictionary and appear nowhere else; the top level holds
// one value.
bool XmlPlistReader::placementAllowed(Element element) {
    bool isKey = element == Element::Key;
    bool inDict = !stack_.empty() && stack_.back().element == Element::Dict;
    if (isKey != (inDict && !stack_.back().hasKey)) {
        fail(isKey ? "<key> where a value belongs" : "value without a <key>");
        return false;
    }
    if (!isKey && !expectingValue()) {
        fail("more than one value at the top level");
        return false;
    }
    return true;
}

bool XmlPlistReader::expectingValue() const {
    if (stack_.empty()) {
        return !haveResult_;
    }
    if (stack_.back().element == Element::Plist) {
        return stack_.size() == 1 && !haveResult_;
    }
    return true;
}

void XmlPlistReader::startContainer(Element element) {
    // The <plist> wrapper does not count towards the depth.
    std::size_t depth =
        stack_.size() + 1 - (!stack_.empty() && stack_[0].element == Element::Plist);
    if (depth > static_cast<std::size_t>(PropertyList::kMaxDepth)) {
        return fail("nesting deeper than " + std::to_string(PropertyList::kMaxDepth) + " levels");
    }
    PlistValue value = element == Element::Array ? PlistValue::array() : PlistValue::dictionary();
    stack_.push_back({element, std::move(value), {}, false});
}

void XmlPlistReader::text(std::string_view chunk) {
    if (!error_.empty()) {
        return;
    }
    if (inLeaf_) {
        if (leaf_ == Element::True || leaf_ == Element::False) {
            return fail("text inside <true/> or <false/>");
        }
        leafText_.append(chunk);
        return;
    }
    for (char c : chunk) {
        if (!isXmlSpace(c)) {
            return fail("text outside a value");
        }
    }
}

void XmlPlistReader::end() {
    if (!error_.empty()) {
        return;
    }
    if (inLeaf_) {
        inLeaf_ = false;
        return finishLeaf(leaf_);
    }
    Frame frame = std::move(stack_.back());
    stack_.pop_back();
    if (frame.element == Element::Plist) {
        return;
    }
    if (frame.hasKey) {
        return fail("<key> " + excerpt(frame.key) + " without a value");
    }
    deliver(std::move(frame.value));
}

void XmlPlistReader::finishLeaf(Element element) {
    switch (element) {
        case Element::Key:
            stack_.back().key = std::move(leafText_);
            stack_.back().hasKey = true;
            return;
        case Element::String:
            return deliver(PlistValue(std::move(leafText_)));
        case Element::Integer: {
            std::optional<PlistValue> value = parseInteger(leafText_);
            return value ? deliver(*value)
                         : fail("bad or out-of-range <integer> " + excerpt(leafText_));
        }
        case Element::Real: {
            std::optional<double> value = parseReal(leafText_);
            return value ? deliver(PlistValue::real(*value))
                         : fail("bad <real> " + excerpt(leafText_));
        }
        case Element::Date: {
            std::optional<double> value = Iso8601Date::parse(trimmed(leafText_));
            return value ? deliver(PlistValue::date(*value))
                         : fail("bad <date> " + excerpt(leafText_));
        }
        case Element::Data: {
            auto bytes = Base64::decode(leafText_);
            return bytes ? deliver(PlistValue::data(std::move(*bytes))) : fail("bad <data>");
        }
        case Element::True:
        case Element::False:
            return deliver(PlistValue::boolean(element == Element::True));
        default:
            return;
    }
}

void XmlPlistReader::deliver(PlistValue value) {
    if (stack_.empty() || stack_.back().element == Element::Plist) {
        result_ = std::move(value);
        haveResult_ = true;
        return;
    }
    Frame& parent = stack_.back();
    if (parent.element == Element::Array) {
        parent.value.append(std::move(value));
        return;
    }
    // A repeated key replaces the earlier value. Keys mostly arrive sorted (as written), so
    // the end is the right place to start looking.
    PlistValue::Dictionary& dictionary = parent.value.mutableDictionary();
    dictionary.insert_or_assign(dictionary.end(), std::move(parent.key), std::move(value));
    parent.key.clear();
    parent.hasKey = false;
}
