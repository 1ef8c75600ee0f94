#include "host/browser/AccessPolicy.h"

#include <fmt/format.h>

#include <array>
#include <cctype>
#include <fstream>

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

AccessPolicy::AccessPolicy(std::string token, int port) : token_(std::move(token)), port_(port) {}

Result<std::string> AccessPolicy::makeToken() {
    std::array<unsigned char, 16> bytes{};
    std::ifstream random("/dev/urandom", std::ios::binary);
    if (!random.read(reinterpret_cast<char*>(bytes.data()), bytes.size())) {
        return Result<std::string>::failure("Cannot read /dev/urandom for the access token");
    }
    std::string token;
    for (unsigned char byte : bytes) {
        token += fmt::format("{:02x}", byte);
    }
    return token;
}

bool AccessPolicy::constantTimeEquals(std::string_view a, std::string_view b) {
    // The length is no secret (every token has 32 digits); the digits are.
    if (a.size() != b.size()) {
        return false;
    }
    unsigned char difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    }
    return difference == 0;
}

bool AccessPolicy::isJsonContentType(std::string_view contentType) {
    std::string_view mediaType = trimmed(contentType.substr(0, contentType.find(';')));
    return equalsIgnoringCase(mediaType, "application/json");
}

std::string AccessPolicy::cookieName() const {
    return fmt::format("huebadge_token_{}", port_);
}

std::string AccessPolicy::setCookieHeader() const {
    return fmt::format("{}={}; Path=/; HttpOnly; SameSite=Strict", cookieName(), token_);
}

bool AccessPolicy::hostAllowed(std::string_view host) const {
    return host == fmt::format("127.0.0.1:{}", port_) || host == fmt::format("localhost:{}", port_);
}

bool AccessPolicy::originAllowed(std::string_view origin) const {
    return origin == fmt::format("http://127.0.0.1:{}", port_) ||
           origin == fmt::format("http://localhost:{}", port_);
}

bool AccessPolicy::tokenMatches(std::string_view candidate) const {
    return constantTimeEquals(candidate, token_);
}

std::optional<std::string> AccessPolicy::presentedToken(std::string_view authorization,
                                                        std::string_view cookies) const {
    constexpr std::string_view kBearer = "Bearer ";
    authorization = trimmed(authorization);
    if (authorization.size() > kBearer.size() &&
        equalsIgnoringCase(authorization.substr(0, kBearer.size()), kBearer)) {
        return std::string(trimmed(authorization.substr(kBearer.size())));
    }
    return cookieValue(cookies);
}

std::optional<std::string> AccessPolicy::cookieValue(std::string_view cookies) const {
    const std::string name = cookieName();
    while (!cookies.empty()) {
        std::size_t end = cookies.find(';');
        std::string_view pair = trimmed(cookies.substr(0, end));
        std::size_t equals = pair.find('=');
        if (equals != std::string_view::npos && trimmed(pair.substr(0, equals)) == name) {
            return std::string(trimmed(pair.substr(equals + 1)));
        }
        cookies = end == std::string_view::npos ? std::string_view() : cookies.substr(end + 1);
    }
    return std::nullopt;
}
