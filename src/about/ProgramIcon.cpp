#include "about/ProgramIcon.h"

// The resources live in a static library: nothing refers to them, so the
// linker leaves them out unless they are registered by name. The macro has to
// be used outside any namespace.
static void registerIconResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(fernquill);
        return true;
    }();
    Q_UNUSED(done);
}

namespace programicon {

QIcon icon()
{
    registerIconResources();
    QIcon result;
    for (int size : {16, 32, 48, 128})
        result.addFile(QStringLiteral(":/icons/fernquill-%1.png").arg(size));
    return result;
}

QPixmap pixmap(int size)
{
    registerIconResources();
    return QPixmap(QStringLiteral(":/icons/fernquill-%1.png").arg(size));
}

} // namespace programicon
