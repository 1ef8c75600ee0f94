#pragma once

#include <optional>
#include <string>

// A URL, a value type: either a file URL made from a path or a URL parsed from text.
class NSURL {
  public:
    static NSURL fileURLWithPath(const std::string& path);
    // None, as the platform's nil, for text that is not a URL: empty, without a scheme, or
    // holding spaces or control characters.
    static std::optional<NSURL> URLWithString(const std::string& text);

    const std::string& absoluteString() const { return absolute_; }
    std::string scheme() const;
    // For "scheme://host/path" the host part; empty otherwise.
    std::string host() const;
    // The path of a file URL as given; for other URLs the part after the host.
    std::string path() const;
    bool isFileURL() const { return scheme() == "file"; }

    bool operator==(const NSURL&) const = default;

  private:
    explicit NSURL(std::string absolute) : absolute_(std::move(absolute)) {}
    std::size_t afterAuthority() const;

    std::string absolute_;
};
