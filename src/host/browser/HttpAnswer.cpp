#include "host/browser/HttpAnswer.h"

#include <httplib.h>

namespace {

constexpr const char* kJsonType = "application/json";

}  // namespace

void HttpAnswer::error(httplib::Response& response, int status, const std::string& message) {
    response.status = status;
    response.set_content(nlohmann::json{{"error", message}}.dump(), kJsonType);
}

void HttpAnswer::json(httplib::Response& response, const nlohmann::json& body) {
    response.set_content(body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace),
                         kJsonType);
}
