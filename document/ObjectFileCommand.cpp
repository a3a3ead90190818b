#include "document/ObjectFileCommand.h"

#include "document/WorkingObjectFile.h"
#include "report/ErrorLog.h"

namespace zelvane {

ObjectFileCommand::ObjectFileCommand(std::string text, WorkingObjectFile& working, std::vector<uint8_t> before,
                                     std::vector<uint8_t> after)
    : text_(std::move(text)), working_(working), before_(std::move(before)), after_(std::move(after))
{
}

void ObjectFileCommand::Put(const std::vector<uint8_t>& bytes)
{
    // An undo cannot be refused; a disk that fails it is written in the log.
    if (const Status put = working_.ReplaceContents(bytes); !put)
        LogDebug(text_ + ": the working object file was not put back: " + put.Message() + "\n");
}

void ObjectFileCommand::Undo()
{
    Put(before_);
}

void ObjectFileCommand::Redo()
{
    Put(after_);
}

} // namespace zelvane
