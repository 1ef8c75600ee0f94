#include "host/browser/RequestAdmission.h"

#include <httplib.h>

#include <cstdint>

#include "host/browser/HttpAnswer.h"

std::size_t RequestAdmission::maxBodyBytes(const std::string& path) {
    return path == "/api/import" ? kMaxImportBytes : kMaxBodyBytes;
}

bool RequestAdmission::admit(const httplib::Request& request, httplib::Response& response) const {
    if (stopping_.load()) {
        HttpAnswer::error(response, 503, "The server is stopping");
        return false;
    }
    if (!access_.hostAllowed(request.get_header_value("Host"))) {
        HttpAnswer::error(response, 403, "Unknown Host: use 127.0.0.1 or localhost with this port");
        return false;
    }
    if (request.path == "/" && request.has_param("token")) {
        return admitTokenLink(request, response);
    }
    std::optional<std::string> token = access_.presentedToken(
        request.get_header_value("Authorization"), request.get_header_value("Cookie"));
    if (!token || !access_.tokenMatches(*token)) {
        HttpAnswer::error(response, 401,
                          "Open the address with the token that the program printed");
        return false;
    }
    return request.method == "GET" || request.method == "HEAD" || admitChange(request, response);
}

// The printed address: trade the token in the query for a cookie, then drop it from the
// address bar so that it ends up in no bookmark or history entry.
bool RequestAdmission::admitTokenLink(const httplib::Request& request,
                                      httplib::Response& response) const {
    if (!access_.tokenMatches(request.get_param_value("token"))) {
        HttpAnswer::error(response, 401, "Wrong token");
        return false;
    }
    response.set_header("Set-Cookie", access_.setCookieHeader());
    response.set_redirect("/", 303);
    return false;
}

bool RequestAdmission::admitChange(const httplib::Request& request,
                                   httplib::Response& response) const {
    if (request.has_header("Origin") &&
        !access_.originAllowed(request.get_header_value("Origin"))) {
        HttpAnswer::error(response, 403, "Requests from other sites are refused");
        return false;
    }
    if (!AccessPolicy::isJsonContentType(request.get_header_value("Content-Type"))) {
        HttpAnswer::error(response, 415, "Send events as application/json");
        return false;
    }
    // The library does not bound chunked bodies; browsers always send a length.
    if (request.has_header("Transfer-Encoding")) {
        HttpAnswer::error(response, 411, "Send events with a Content-Length");
        return false;
    }
    if (request.get_header_value<std::uint64_t>("Content-Length") > maxBodyBytes(request.path)) {
        refuseTooLarge(request, response);
        return false;
    }
    return true;
}

void RequestAdmission::refuseTooLarge(const httplib::Request& request,
                                      httplib::Response& response) {
    HttpAnswer::error(response, 413,
                      request.path == "/api/import" ? "Imported files are at most 16 MiB as sent"
                                                    : "Events are at most 64 KiB");
}

std::optional<nlohmann::json> RequestAdmission::parseBody(const httplib::Request& request,
                                                          httplib::Response& response) {
    if (request.body.size() > maxBodyBytes(request.path)) {
        refuseTooLarge(request, response);
        return std::nullopt;
    }
    nlohmann::json body = nlohmann::json::parse(request.body, nullptr, false);
    if (body.is_discarded()) {
        HttpAnswer::error(response, 400, "The body is not valid JSON");
        return std::nullopt;
    }
    return body;
}
