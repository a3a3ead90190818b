#pragma once
// How work below the GUI says whether it succeeded: a Status, or a Result
// that also carries a value, each holding the message the user should read
// when it failed, and any warnings worth telling even when it worked. Only
// the editor's windows and the command-line tool show these messages; code
// below them never does.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zelvane {

class [[nodiscard]] Status {
public:
    static Status Ok() { return Status(); }
    // `message` is a whole sentence the user can act on, naming what failed.
    static Status Failure(std::string message) { return Status(std::move(message)); }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    // Why it failed; empty when it did not.
    const std::string& Message() const { return message_; }

    // Things the user should hear even though the work went through (a part
    // left out, a file beside the main one not written).
    const std::vector<std::string>& Warnings() const { return warnings_; }
    Status& Warn(std::string warning)
    {
        warnings_.push_back(std::move(warning));
        return *this;
    }
    // This status's warnings joined by those of `other` (not its failure).
    Status& TakeWarnings(const Status& other)
    {
        warnings_.insert(warnings_.end(), other.warnings_.begin(), other.warnings_.end());
        return *this;
    }

private:
    Status() = default;
    explicit Status(std::string message) : message_(std::move(message)), failed_(true) {}

    std::string message_;
    std::vector<std::string> warnings_;
    bool failed_ = false;
};

// A value, or why there is none.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)), status_(Status::Ok()) {} // NOLINT: implicit on purpose
    Result(Status failure) : status_(std::move(failure)) {}               // NOLINT: implicit on purpose
    static Result Failure(std::string message) { return Result(Status::Failure(std::move(message))); }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const std::string& Message() const { return status_.Message(); }
    const std::vector<std::string>& Warnings() const { return status_.Warnings(); }
    Result& Warn(std::string warning)
    {
        status_.Warn(std::move(warning));
        return *this;
    }
    const Status& GetStatus() const { return status_; }

    // Only when ok().
    T& Value() { return *value_; }
    const T& Value() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }

private:
    std::optional<T> value_;
    Status status_;
};

} // namespace zelvane
