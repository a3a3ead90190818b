#pragma once
// An open-file dialog for tests: installed for its scope, it keeps every
// question and answers from a queue (a path, or nothing for Cancel), then
// with Cancel.

#include "report/OpenFileDialog.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace zelvane::test {

class ScriptedFileDialog final : public IOpenFileDialog {
public:
    ScriptedFileDialog() { SetOpenFileDialog(this); }
    ~ScriptedFileDialog() override { SetOpenFileDialog(nullptr); }
    ScriptedFileDialog(const ScriptedFileDialog&) = delete;
    ScriptedFileDialog& operator=(const ScriptedFileDialog&) = delete;

    std::optional<std::string> AskForFileToOpen(const OpenFileQuestion& question) override
    {
        questions_.push_back(question);
        if (answers_.empty())
            return std::nullopt;
        std::optional<std::string> answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    void QueueAnswer(std::optional<std::string> answer) { answers_.push_back(std::move(answer)); }
    const std::vector<OpenFileQuestion>& Questions() const { return questions_; }

private:
    std::deque<std::optional<std::string>> answers_;
    std::vector<OpenFileQuestion> questions_;
};

} // namespace zelvane::test
