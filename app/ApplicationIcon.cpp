#include "app/ApplicationIcon.h"

// The resources live in a static library: the program must ask for them
// once, or the linker leaves them out. Q_INIT_RESOURCE cannot be used inside
// a namespace.
static void InitIconResources()
{
    Q_INIT_RESOURCE(zelvane);
}

namespace zelvane {

QIcon ApplicationIcon()
{
    static const bool initialised = (InitIconResources(), true);
    static_cast<void>(initialised);
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/zelvane-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace zelvane
