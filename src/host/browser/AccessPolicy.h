#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Result.h"

// Who may talk to the browser host: only pages and scripts on this machine that know the
// token made at start. The token arrives once in the address, then rides in a cookie (or a
// bearer header from scripts). Host and Origin checks keep other web sites out even when
// they reach 127.0.0.1 through the user's browser (DNS rebinding, cross-site posts).
class AccessPolicy {
  public:
    AccessPolicy(std::string token, int port);

    // 32 hexadecimal digits from the system's random source.
    static Result<std::string> makeToken();
    // Equal strings, in a time that does not depend on where they first differ.
    static bool constantTimeEquals(std::string_view a, std::string_view b);
    // "application/json", with or without parameters such as a charset.
    static bool isJsonContentType(std::string_view contentType);

    const std::string& token() const { return token_; }
    // Named after the port: cookies are shared by every port of a host.
    std::string cookieName() const;
    std::string setCookieHeader() const;

    bool hostAllowed(std::string_view host) const;
    bool originAllowed(std::string_view origin) const;
    bool tokenMatches(std::string_view candidate) const;
    // The token a request presents: a bearer Authorization header, else the cookie.
    std::optional<std::string> presentedToken(std::string_view authorization,
                                              std::string_view cookies) const;

  private:
    std::optional<std::string> cookieValue(std::string_view cookies) const;

    std::string token_;
    int port_;
};
