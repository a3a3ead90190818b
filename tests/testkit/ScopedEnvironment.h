#pragma once
// Environment variables changed for one scope: every variable a test sets or
// clears through it is put back as it was (set to its old value, or unset)
// when the scope ends, so no test leaks its environment into the next.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zelvane::test {

class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void Set(const std::string& name, const std::string& value);
    void Unset(const std::string& name);

private:
    void Remember(const std::string& name);

    // Each variable's value before its first change here, in the order changed.
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

} // namespace zelvane::test
