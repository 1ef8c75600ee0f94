#pragma once

#include <functional>

#include "platform/ui/NSAttributedString.h"

// An attributed string that can be appended to and whose attributes can be changed over a
// range. Ranges reaching past the end are cut at the end.
class NSMutableAttributedString : public NSAttributedString {
  public:
    using NSAttributedString::NSAttributedString;
    explicit NSMutableAttributedString(const NSAttributedString& other)
        : NSAttributedString(other) {}

    void appendAttributedString(const NSAttributedString& other);
    // Adds the given attributes to every character of the range, keeping the others.
    void addAttributes(const NSTextAttributes& attributes, std::size_t location,
                       std::size_t length);
    // Replaces all attributes of every character of the range.
    void setAttributes(const NSTextAttributes& attributes, std::size_t location,
                       std::size_t length);
    void replaceCharactersInRange(std::size_t location, std::size_t length, std::string text);

  private:
    void forEachRunIn(std::size_t location, std::size_t length,
                      const std::function<void(NSAttributedRun&)>& change);
};
