#pragma once

#include <nlohmann/json.hpp>

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>

#include "host/browser/AccessPolicy.h"

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib

// Which requests the server takes, before any route sees them: none while it stops, only
// those to its own host name that carry the token (the printed address trades it for a
// cookie), and changes only as bounded JSON from the page itself. A refused request gets its
// answer here.
class RequestAdmission {
  public:
    static constexpr std::size_t kMaxBodyBytes = 64 * 1024;
    // A profile file travels base64 in its JSON body: 16 MiB holds a file of 12 MiB, far
    // more than thousands of filters take.
    static constexpr std::size_t kMaxImportBytes = 16 * 1024 * 1024;
    // The largest body the path takes.
    static std::size_t maxBodyBytes(const std::string& path);

    RequestAdmission(const AccessPolicy& access, const std::atomic<bool>& stopping)
        : access_(access), stopping_(stopping) {}

    bool admit(const httplib::Request& request, httplib::Response& response) const;
    // The body of a change: a JSON object within the size its path takes; none (with the
    // refusal sent) for anything else.
    static std::optional<nlohmann::json> parseBody(const httplib::Request& request,
                                                   httplib::Response& response);

  private:
    bool admitTokenLink(const httplib::Request& request, httplib::Response& response) const;
    bool admitChange(const httplib::Request& request, httplib::Response& response) const;
    static void refuseTooLarge(const httplib::Request& request, httplib::Response& response);

    const AccessPolicy& access_;
    const std::atomic<bool>& stopping_;
};
