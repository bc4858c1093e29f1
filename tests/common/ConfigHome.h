#pragma once

#include <QTemporaryDir>
#include <QtGlobal>

namespace testutil {

// Outside CTest the settings must not land in the user's own store: while no
// XDG_CONFIG_HOME is set, the object makes it a temporary folder of its own.
class OwnConfigHome
{
public:
    OwnConfigHome()
    {
        if (!qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
            qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
    }

private:
    QTemporaryDir m_dir;
};

} // namespace testutil
