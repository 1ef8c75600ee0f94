#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/PlistValue.h"
#include "platform/foundation/Result.h"

// Writes a value as an XML property list laid out as Python's plistlib lays it out: tabs for
// indentation, sorted keys, empty containers as <array/> and <dict/>, data in base64 lines
// that narrow with depth. Works with an explicit stack, so depth costs no native stack, and
// refuses anything a reader could not bring back unchanged.
class XmlPlistWriter {
  public:
    static constexpr std::string_view kHeader =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n";
    static constexpr std::string_view kFooter = "</plist>\n";

    static Result<std::string> write(const PlistValue& value);
    // The lines of `value` as they stand `depth` containers deep in a document, and the
    // <key> line of a dictionary entry there: the pieces write() joins.
    static Result<std::string> writeFragment(const PlistValue& value, std::size_t depth);
    static Result<std::string> writeKey(std::string_view key, std::size_t depth);

    // Whether a string can be written: false when it holds invalid UTF-8 or a character XML
    // cannot carry (a control character other than tab, LF and CR; U+FFFE; U+FFFF).
    static bool carries(std::string_view text);

    // The shortest text that reads back to the same double, as Python's repr() spells it.
    static std::string formatReal(double value);

  private:
    explicit XmlPlistWriter(std::size_t depth);
    Status writeAll(const PlistValue& value);

    struct Frame {
        const PlistValue::Array* array = nullptr;
        const PlistValue::Dictionary* dictionary = nullptr;
        std::size_t index = 0;
        PlistValue::Dictionary::const_iterator next;
    };

    Status writeValue(const PlistValue& value);
    Status writeLeaf(const PlistValue& value);
    Status writeString(std::string_view element, std::string_view text);
    Status writeData(const PlistValue::Data& bytes);
    Status openContainer(const PlistValue& value);
    Status writeNextChild(Frame& frame);
    void closeContainer();
    void indent();
    void line(std::string_view text);

    std::size_t depth_ = 0;
    std::string out_;
    std::vector<Frame> stack_;
};
