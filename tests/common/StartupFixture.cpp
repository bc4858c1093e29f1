#include "StartupFixture.h"

#include "TestUtil.h"

#include <QStringList>

namespace testutil {

QString flags(const QString& flag, int count)
{
    return QStringList(count, flag).join(kBar);
}

QString makeAircraft(const QString& folder)
{
    writeFile(folder + "/aircraft.cfg",
              "[fltsim.0]\r\ntitle=Heather One\r\n[fltsim.1]\r\ntitle=Heather Two\r\n"
              "[General]\r\natc_type=HEATHER\r\n");
    return folder;
}

void StartupTest::initTestCase()
{
    // Outside CTest the settings must not land in the user's own store.
    if (!qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
}

} // namespace testutil
