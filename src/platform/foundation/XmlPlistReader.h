#pragma once

#include <expat.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/PlistValue.h"
#include "platform/foundation/Result.h"

// Reads an XML property list with expat, streaming, building values on an explicit stack so
// that hostile nesting costs neither native stack nor memory beyond the depth limit. Anything
// that is not a well-formed property list is refused with a message naming the line.
class XmlPlistReader {
  public:
    static Result<PlistValue> parse(std::string_view bytes);

    XmlPlistReader(const XmlPlistReader&) = delete;
    XmlPlistReader& operator=(const XmlPlistReader&) = delete;
    ~XmlPlistReader();

  private:
    enum class Element { Plist, Array, Dict, Key, String, Integer, Real, Date, Data, True, False };
    struct Frame {
        Element element;
        PlistValue value;  // the container being filled
        std::string key;   // a dictionary's pending key
        bool hasKey = false;
    };

    XmlPlistReader();
    Result<PlistValue> run(std::string_view bytes);

    static void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char** attributes);
    static void XMLCALL onEnd(void* self, const XML_Char* name);
    static void XMLCALL onText(void* self, const XML_Char* text, int length);
    static void XMLCALL onEntityDeclaration(void* self, const XML_Char*, int, const XML_Char*, int,
                                            const XML_Char*, const XML_Char*, const XML_Char*,
                                            const XML_Char*);
    static void XMLCALL onSkippedEntity(void* self, const XML_Char* name, int);

    void start(std::string_view name);
    static std::optional<Element> elementNamed(std::string_view name);
    void startPlist();
    bool placementAllowed(Element element);
    void end();
    void text(std::string_view chunk);
    void startContainer(Element element);
    void finishLeaf(Element element);
    void deliver(PlistValue value);
    bool expectingValue() const;
    void fail(std::string message);

    XML_Parser parser_;
    std::vector<Frame> stack_;
    // The open leaf element, if any, and the text gathered for it.
    bool inLeaf_ = false;
    Element leaf_ = Element::String;
    std::string leafText_;
    bool sawRoot_ = false;
    PlistValue result_;
    bool haveResult_ = false;
    std::string error_;
};
