#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Stands in for the runtime's lookup of classes by name: a class registers a factory under
// its name, and code that only knows the name creates instances through it. Each kind of
// product (pages, cells, platform services) has its own table. Lookups of absent classes
// give null, so callers can tolerate components that are not installed.
template <typename Product, typename... Args>
class ClassRegistry {
  public:
    using Factory = std::function<std::shared_ptr<Product>(Args...)>;

    // Returns false (and keeps the first factory) when the name is already taken.
    static bool registerClass(std::string name, Factory factory) {
        return table().emplace(std::move(name), std::move(factory)).second;
    }
    static bool contains(std::string_view name) { return table().find(name) != table().end(); }
    // A new instance, or null for a name that was never registered.
    static std::shared_ptr<Product> create(std::string_view name, Args... args) {
        auto found = table().find(name);
        if (found == table().end()) {
            return nullptr;
        }
        return found->second(std::forward<Args>(args)...);
    }
    static std::vector<std::string> names() {
        std::vector<std::string> result;
        for (const auto& [name, factory] : table()) {
            result.push_back(name);
        }
        return result;
    }

  private:
    // Built on first use, so registrars in other translation units may run in any order.
    static std::map<std::string, Factory, std::less<>>& table() {
        static std::map<std::string, Factory, std::less<>> classes;
        return classes;
    }
};
