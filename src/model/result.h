#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace quillet {

// Why a parser gave up: a reason for a person, and the 1-based line of the text it is about
// (0 when it is about no one line).
struct Failure {
    std::string reason;
    std::size_t line = 0;

    // The same reason, said of a line.
    Failure onLine(std::size_t lineNumber) const { return {reason, lineNumber}; }
    // Where in the named file it is: "NAME:LINE", or the name alone.
    std::string placeIn(const std::string& fileName) const
    {
        return line > 0 ? fileName + ":" + std::to_string(line) : fileName;
    }
};

// What every parser gives: its value, or the failure that stopped it.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : held_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : held_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return held_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& operator*() { return std::get<0>(held_); }
    const T& operator*() const { return std::get<0>(held_); }
    T* operator->() { return &std::get<0>(held_); }
    const T* operator->() const { return &std::get<0>(held_); }
    const Failure& failure() const { return std::get<1>(held_); }

private:
    std::variant<T, Failure> held_;
};

// A check's answer: fine, or the failure.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)) {}

    bool ok() const { return !failure_; }
    explicit operator bool() const { return ok(); }
    const Failure& failure() const { return failure_.value(); }

private:
    std::optional<Failure> failure_;
};

}  // namespace quillet
