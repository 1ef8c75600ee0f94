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
    static Result<std::string> write(const PlistValue& value);

    // The shortest text that reads back to the same double, as Python's repr() spells it.
    static std::string formatReal(double value);

  private:
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

    std::string out_;
    std::string tabs_;
    std::vector<Frame> stack_;
};
