#pragma once
// Work that replaced the working object file whole (painted sprites brought
// in), as an undo step: the file's bytes before and after.

#include "document/UndoCommand.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelvane {

class WorkingObjectFile;

class ObjectFileCommand final : public UndoCommand {
public:
    ObjectFileCommand(std::string text, WorkingObjectFile& working, std::vector<uint8_t> before,
                      std::vector<uint8_t> after);

    void Undo() override;
    void Redo() override;
    std::string Text() const override { return text_; }

private:
    void Put(const std::vector<uint8_t>& bytes);

    std::string text_;
    WorkingObjectFile& working_;
    std::vector<uint8_t> before_;
    std::vector<uint8_t> after_;
};

} // namespace zelvane
