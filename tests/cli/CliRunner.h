#pragma once
// Runs the real zelvane-cli binary and captures what it says.

#include <string>
#include <vector>

namespace zelvane::test {

struct CliResult {
    int status = -1; // exit status; 128 + signal when it died
    std::string out;
    std::string err;

    std::vector<std::string> ErrLines() const;
};

// Runs zelvane-cli with `args`, in `folder` when one is given (else in the
// test's current folder).
CliResult RunCli(const std::vector<std::string>& args, const std::string& folder = {});

} // namespace zelvane::test
