#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace httplib {
struct Response;
}  // namespace httplib

// How the server answers in JSON: a body, or an error as {"error": message}.
class HttpAnswer {
  public:
    static void error(httplib::Response& response, int status, const std::string& message);
    // Screens carry texts typed by the user: broken UTF-8 is replaced rather than refused.
    static void json(httplib::Response& response, const nlohmann::json& body);
};
