#include "platform/ui/NSAttributedString.h"

NSAttributedString::NSAttributedString(std::string string, NSTextAttributes attributes) {
    if (!string.empty()) {
        runs_.push_back(NSAttributedRun{std::move(string), std::move(attributes)});
    }
}

std::string NSAttributedString::string() const {
    std::string text;
    for (const auto& run : runs_) {
        text += run.text;
    }
    return text;
}

std::size_t NSAttributedString::length() const {
    std::size_t length = 0;
    for (const auto& run : runs_) {
        length += run.text.size();
    }
    return length;
}

NSTextAttributes NSAttributedString::attributesAtIndex(std::size_t index) const {
    for (const auto& run : runs_) {
        if (index < run.text.size()) {
            return run.attributes;
        }
        index -= run.text.size();
    }
    return NSTextAttributes{};
}

std::size_t NSAttributedString::splitAt(std::size_t position) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        std::size_t size = runs_[i].text.size();
        if (position == start) {
            return i;
        }
        if (position < start + size) {
            NSAttributedRun tail{runs_[i].text.substr(position - start), runs_[i].attributes};
            runs_[i].text.resize(position - start);
            runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(tail));
            return i + 1;
        }
        start += size;
    }
    return runs_.size();
}

void NSAttributedString::mergeNeighbours() {
    std::vector<NSAttributedRun> merged;
    for (auto& run : runs_) {
        if (run.text.empty()) {
            continue;
        }
        if (!merged.empty() && merged.back().attributes == run.attributes) {
            merged.back().text += run.text;
        } else {
            merged.push_back(std::move(run));
        }
    }
    runs_ = std::move(merged);
}
