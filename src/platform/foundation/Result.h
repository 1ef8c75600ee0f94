#pragma once

#include <optional>
#include <string>
#include <utility>

// The outcome of an I/O or parsing step: a value, or a message saying what went wrong.
// Callers must look at it; nothing in the platform layer throws across the pane.
template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : value_(std::move(value)) {}
    static Result failure(std::string message) { return Result(std::move(message), 0); }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *value_; }
    T&& value() && { return std::move(*value_); }
    const T* operator->() const { return &*value_; }
    const std::string& error() const { return error_; }

  private:
    Result(std::string message, int) : error_(std::move(message)) {}

    std::optional<T> value_;
    std::string error_;
};

// A result that carries no value.
class [[nodiscard]] Status {
  public:
    static Status success() { return Status(); }
    static Status failure(std::string message) { return Status(std::move(message)); }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string& error() const { return error_; }

  private:
    Status() = default;
    explicit Status(std::string message) : failed_(true), error_(std::move(message)) {}

    bool failed_ = false;
    std::string error_;
};
