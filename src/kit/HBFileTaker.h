#pragma once

#include <string>
#include <string_view>

// A page that takes a file the user brings in (chosen in or dropped on a browser page). The
// host offers files to the page shown when it is one of these, without knowing the page.
class HBFileTaker {
  public:
    virtual ~HBFileTaker() = default;
    // What the page makes of the file it says itself (an alert); nothing is returned.
    virtual void takeFile(const std::string& fileName, std::string_view bytes) = 0;
};
