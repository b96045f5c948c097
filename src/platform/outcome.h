#pragma once
// A value or the reason there is none. Expected failures (a damaged file, a
// form we do not handle) travel back as values with a message the caller can
// show or log; exceptions stay for programming errors.
#include <optional>
#include <string>
#include <utility>

namespace corvan {

// The message of a failed operation; converts to any Outcome<T> or Status.
struct Failure {
    std::string message;
};

template <class T>
class Outcome {
public:
    Outcome(T value) : value_(std::move(value)) {}
    Outcome(Failure failure) : error_(std::move(failure.message)) {}

    bool Ok() const { return value_.has_value(); }
    explicit operator bool() const { return Ok(); }
    // Empty when Ok().
    const std::string& Error() const { return error_; }

    // Only when Ok().
    T& Value() { return *value_; }
    const T& Value() const { return *value_; }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }

private:
    std::optional<T> value_;
    std::string error_;
};

// Success or the reason for failure, for operations that return nothing.
class Status {
public:
    Status() = default;
    Status(Failure failure) : error_(std::move(failure.message)), failed_(true) {}

    bool Ok() const { return !failed_; }
    explicit operator bool() const { return Ok(); }
    const std::string& Error() const { return error_; }

private:
    std::string error_;
    bool failed_ = false;
};

}  // namespace corvan
