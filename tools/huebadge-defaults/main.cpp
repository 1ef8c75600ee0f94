// huebadge-defaults: reads and writes settings domains on a device root, as a user of the
// pane (or a developer of the extension) would script them.
#include <fmt/format.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "DomainImport.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileLock.h"
#include "platform/foundation/PropertyList.h"
#include "platform/system/DarwinNotificationCenter.h"
#include "platform/system/DeviceRoot.h"
#include "store/HBPreferences.h"

namespace {

constexpr const char* kUsage =
    "usage: huebadge-defaults [--device-root DIR] [--post NAME] "
    "read DOMAIN [KEY] | write DOMAIN KEY [-string|-int|-float|-bool] VALUE | "
    "write DOMAIN KEY -array V... | write DOMAIN KEY -dict K V ... | delete DOMAIN [KEY] | "
    "export DOMAIN FILE|- | import DOMAIN FILE|-";

enum Exit { kOk = 0, kFailed = 1, kUsageError = 2 };

struct Invocation {
    std::optional<std::string> post;
    std::vector<std::string> words;
};

int usage(const std::string& problem = {}) {
    if (!problem.empty()) {
        std::cerr << "huebadge-defaults: " << problem << "\n";
    }
    std::cerr << kUsage << "\n";
    return kUsageError;
}

int failure(const std::string& message) {
    std::cerr << message << "\n";
    return kFailed;
}

// The domain's file; the store refuses names that would leave the preferences folder.
std::string domainPath(const std::string& domain) {
    return HBPreferences::pathForIdentifier(domain);
}

bool domainExists(const std::string& domain) {
    std::error_code error;
    return std::filesystem::exists(domainPath(domain), error);
}

std::string missingPair(const std::string& domain, const std::string& key) {
    return fmt::format("The domain/default pair of ({}, {}) does not exist", domain, key);
}

// The domain's dictionary; an empty one when the file does not exist yet.
Result<PlistValue> readDomain(const std::string& domain) {
    if (!domainExists(domain)) {
        return PlistValue::dictionary();
    }
    Result<PlistValue> contents = PropertyList::readFile(domainPath(domain));
    if (!contents) {
        return Result<PlistValue>::failure(
            fmt::format("Cannot read domain {}: {}", domain, contents.error()));
    }
    if (!contents->isDictionary()) {
        return Result<PlistValue>::failure(
            fmt::format("Cannot read domain {}: its root is not a dictionary", domain));
    }
    return contents;
}

Status writeBytes(const std::string& path, const std::string& bytes) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    return AtomicFile::write(path, bytes);
}

int writeContents(const std::string& domain, const std::string& xml, const Invocation& call) {
    Status written = writeBytes(domainPath(domain), xml);
    if (!written) {
        return failure(fmt::format("Cannot write domain {}: {}", domain, written.error()));
    }
    if (call.post && !DarwinNotificationCenter::post(*call.post)) {
        return failure(fmt::format("Cannot post {}", *call.post));
    }
    return kOk;
}

int writeDomain(const std::string& domain, const PlistValue& table, const Invocation& call) {
    Result<std::string> xml = PropertyList::toXml(table);
    if (!xml) {
        return failure(fmt::format("Cannot write domain {}: {}", domain, xml.error()));
    }
    return writeContents(domain, xml.value(), call);
}

std::string formatReal(double value) {
    return fmt::format("{}", value);
}

std::string scalarText(const PlistValue& value) {
    switch (value.kind()) {
        case PlistValue::Kind::String:
            return *value.stringValue();
        case PlistValue::Kind::Integer:
            return value.isUnsignedInteger() ? std::to_string(value.unsignedValue())
                                             : std::to_string(value.integerValue());
        case PlistValue::Kind::Real:
            return formatReal(value.doubleValue());
        case PlistValue::Kind::Boolean:
            return value.boolValue() ? "1" : "0";
        default:
            return {};
    }
}

bool isScalar(const PlistValue& value) {
    return value.isString() || value.isNumber();
}

int printValue(const PlistValue& value) {
    if (isScalar(value)) {
        std::cout << scalarText(value) << "\n";
        return kOk;
    }
    Result<std::string> xml = PropertyList::toXml(value);
    if (!xml) {
        return failure(xml.error());
    }
    std::cout << xml.value();
    return kOk;
}

// The failure for a command on a domain that does not exist: "read DOMAIN [KEY]" and
// "delete DOMAIN [KEY]" name the pair when they were given a key.
int missingDomain(const std::vector<std::string>& words) {
    const std::string& domain = words[1];
    return failure(words.size() == 3 ? missingPair(domain, words[2])
                                     : fmt::format("Domain {} does not exist", domain));
}

int readCommand(const Invocation& call) {
    const auto& words = call.words;
    if (words.size() < 2 || words.size() > 3) {
        return usage();
    }
    const std::string& domain = words[1];
    if (!domainExists(domain)) {
        return missingDomain(words);
    }
    FileLock lock(domainPath(domain));
    Result<PlistValue> table = readDomain(domain);
    if (!table) {
        return failure(table.error());
    }
    if (words.size() == 2) {
        return printValue(table.value());
    }
    const PlistValue& value = table.value()[words[2]];
    return value.isAbsent() ? failure(missingPair(domain, words[2])) : printValue(value);
}

std::optional<PlistValue> parseInteger(const std::string& text) {
    std::int64_t number = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return PlistValue::integer(number);
}

std::optional<PlistValue> parseReal(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    double number = std::strtod(text.c_str(), &end);
    if (*end != '\0' || errno == ERANGE) {
        return std::nullopt;
    }
    return PlistValue::real(number);
}

std::optional<PlistValue> parseBool(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (text == "true" || text == "yes" || text == "1") {
        return PlistValue::boolean(true);
    }
    if (text == "false" || text == "no" || text == "0") {
        return PlistValue::boolean(false);
    }
    return std::nullopt;
}

// The value of a write: the words after DOMAIN KEY.
Result<PlistValue> parseValue(const std::vector<std::string>& args) {
    using R = Result<PlistValue>;
    if (args.empty()) {
        return R::failure("write needs a value");
    }
    const std::string& flag = args[0];
    if (flag == "-array") {
        PlistValue array = PlistValue::array();
        for (std::size_t i = 1; i < args.size(); ++i) {
            array.append(args[i]);
        }
        return array;
    }
    if (flag == "-dict") {
        if (args.size() % 2 == 0) {
            return R::failure("-dict needs pairs of keys and values");
        }
        PlistValue dictionary = PlistValue::dictionary();
        for (std::size_t i = 1; i + 1 < args.size(); i += 2) {
            dictionary.set(args[i], args[i + 1]);
        }
        return dictionary;
    }
    bool typed = flag == "-string" || flag == "-int" || flag == "-float" || flag == "-bool";
    if (args.size() != (typed ? 2u : 1u)) {
        return R::failure(typed ? flag + " needs exactly one value" : "write takes one value");
    }
    const std::string& text = args.back();
    std::optional<PlistValue> value;
    if (flag == "-int") {
        value = parseInteger(text);
    } else if (flag == "-float") {
        value = parseReal(text);
    } else if (flag == "-bool") {
        value = parseBool(text);
    } else {
        value = PlistValue(text);
    }
    if (!value) {
        return R::failure(fmt::format("'{}' is not a valid {} value", text, flag.substr(1)));
    }
    return *value;
}

int writeCommand(const Invocation& call) {
    const auto& words = call.words;
    if (words.size() < 4) {
        return usage();
    }
    Result<PlistValue> value = parseValue({words.begin() + 3, words.end()});
    if (!value) {
        return usage(value.error());
    }
    // Held from the read to the write, so that no other writer's change falls between.
    FileLock lock(domainPath(words[1]));
    Result<PlistValue> table = readDomain(words[1]);
    if (!table) {
        return failure(table.error());
    }
    PlistValue updated = table.value();
    updated.set(words[2], value.value());
    return writeDomain(words[1], updated, call);
}

int deleteCommand(const Invocation& call) {
    const auto& words = call.words;
    if (words.size() < 2 || words.size() > 3) {
        return usage();
    }
    const std::string& domain = words[1];
    if (!domainExists(domain)) {
        return missingDomain(words);
    }
    FileLock lock(domainPath(domain));
    if (words.size() == 2) {
        std::error_code error;
        if (!std::filesystem::remove(domainPath(domain), error)) {
            return failure(fmt::format("Cannot delete domain {}: {}", domain, error.message()));
        }
        if (call.post && !DarwinNotificationCenter::post(*call.post)) {
            return failure(fmt::format("Cannot post {}", *call.post));
        }
        return kOk;
    }
    Result<PlistValue> table = readDomain(domain);
    if (!table) {
        return failure(table.error());
    }
    PlistValue updated = table.value();
    if (updated.mutableDictionary().erase(words[2]) == 0) {
        return failure(missingPair(domain, words[2]));
    }
    return writeDomain(domain, updated, call);
}

int exportCommand(const Invocation& call) {
    const auto& words = call.words;
    if (words.size() != 3) {
        return usage();
    }
    if (!domainExists(words[1])) {
        return failure(fmt::format("Domain {} does not exist", words[1]));
    }
    Result<PlistValue> table = readDomain(words[1]);
    if (!table) {
        return failure(table.error());
    }
    Result<std::string> xml = PropertyList::toXml(table.value());
    if (!xml) {
        return failure(xml.error());
    }
    if (words[2] == "-") {
        std::cout << xml.value();
        return std::cout.flush() ? kOk : kFailed;
    }
    Status written = writeBytes(words[2], xml.value());
    return written ? kOk : failure(fmt::format("Cannot write {}: {}", words[2], written.error()));
}

int importCommand(const Invocation& call) {
    const auto& words = call.words;
    if (words.size() != 3) {
        return usage();
    }
    Result<std::string> bytes = DomainImport::readInput(words[2]);
    if (!bytes) {
        return failure(bytes.error());
    }
    Result<std::string> contents = DomainImport::contentsFor(bytes.value(), words[2]);
    if (!contents) {
        return failure(contents.error());
    }
    FileLock lock(domainPath(words[1]));
    return writeContents(words[1], contents.value(), call);
}

int run(const Invocation& call) {
    if (call.words.size() < 2) {
        return usage();
    }
    if (domainPath(call.words[1]).empty()) {
        return usage(fmt::format("'{}' is not a valid domain name", call.words[1]));
    }
    const std::string& command = call.words[0];
    if (command == "read")
        return readCommand(call);
    if (command == "write")
        return writeCommand(call);
    if (command == "delete")
        return deleteCommand(call);
    if (command == "export")
        return exportCommand(call);
    if (command == "import")
        return importCommand(call);
    return usage(fmt::format("unknown command '{}'", command));
}

}  // namespace

int main(int argc, char** argv) {
    if (!DeviceRoot::chooseFromArguments(argc, argv)) {
        return usage("--device-root needs a folder");
    }
    Invocation call;
    int i = 1;
    for (; i < argc && std::string_view(argv[i]) == "--post"; i += 2) {
        if (i + 1 >= argc) {
            return usage("--post needs a name");
        }
        call.post = argv[i + 1];
    }
    call.words.assign(argv + i, argv + argc);
    return run(call);
}
