#include "editing/CfgWrites.h"

#include "platform/ProfileEngine.h"

namespace CfgWrites {

Outcome writeAll(clsIniFile& ini, const QList<KeyWrite>& writes)
{
    platform::profile::Batch batch(ini.path());
    Outcome out;
    for (const KeyWrite& w : writes) {
        ini.setSection(w.section, w.occurrence);
        ini.setKey(w.key);
        // A null text would delete the key; an empty field writes "key=".
        ini.setValue(w.value.isNull() ? QStringLiteral("") : w.value);
        if (!ini.lastWriteOk()) {
            out.ok = false;
            out.file = ini.path();
            out.error = ini.lastError();
            return out; // the batch goes without a commit: nothing was written
        }
    }
    if (const auto committed = batch.commit(); !committed.ok) {
        out.ok = false;
        out.file = ini.path();
        out.error = committed.error;
    }
    return out;
}

AircraftCfg::EntryRef entryOfRow(clsIniFile& ini, int row, const QString& rowText)
{
    QStringList names;
    qint32 count = 0;
    ini.EnumerateAllSections(names, count);
    return AircraftCfg::entryAt(names, row).value_or(AircraftCfg::EntryRef{rowText, 0});
}

QString unwrittenMessage(const QString& file, const QString& error)
{
    return QStringLiteral("The file:") + file +
           QStringLiteral("\r\n\r\n could not be written. Nothing was changed in it.\r\n") + error;
}

} // namespace CfgWrites
