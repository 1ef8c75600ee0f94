// huebadge-plutil: checks property-list files and converts XML or binary ones to our XML.
//   huebadge-plutil lint FILE
//   huebadge-plutil convert FILE OUT|-

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "platform/foundation/PropertyList.h"

namespace {

constexpr int kUsageError = 2;

int usage() {
    std::cerr << "usage: huebadge-plutil lint FILE | convert FILE OUT|-\n";
    return kUsageError;
}

int lint(const std::string& path) {
    Result<PlistValue> value = PropertyList::readFile(path);
    if (!value) {
        std::cerr << value.error() << "\n";
        return 1;
    }
    std::cout << path << ": OK\n";
    return 0;
}

bool writeOut(const std::string& out, const std::string& text) {
    if (out == "-") {
        std::cout << text;
        return static_cast<bool>(std::cout.flush());
    }
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    return static_cast<bool>(file);
}

int convert(const std::string& path, const std::string& out) {
    Result<PlistValue> value = PropertyList::readFile(path);
    if (!value) {
        std::cerr << value.error() << "\n";
        return 1;
    }
    Result<std::string> xml = PropertyList::toXml(value.value());
    if (!xml) {
        std::cerr << path << ": " << xml.error() << "\n";
        return 1;
    }
    if (!writeOut(out, xml.value())) {
        std::cerr << "Cannot write " << out << ".\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "lint" && argc == 3) {
        return lint(argv[2]);
    }
    if (command == "convert" && argc == 4) {
        return convert(argv[2], argv[3]);
    }
    return usage();
}
