#include "view/ObjectText.h"

namespace zelvane {

QString FromObjectText(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToObjectText(const QString& text)
{
    return text.toLatin1().toStdString();
}

} // namespace zelvane
