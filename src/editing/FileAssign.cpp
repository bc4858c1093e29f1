#include "editing/FileAssign.h"

#include "editing/AircraftCfg.h"

namespace FileAssign {

bool anyChoice(const QString& texture, const QString& model, const QString& airFile)
{
    return !texture.isEmpty() || !model.isEmpty() || !airFile.isEmpty();
}

QList<CfgWrites::KeyWrite> plan(const QString& section, const QString& texture, const QString& model,
                                const QString& airFile, int occurrence)
{
    QList<CfgWrites::KeyWrite> writes;
    if (!texture.isEmpty())
        writes.append({section, QStringLiteral("texture"), AircraftCfg::fileFolderWriteText(texture), occurrence});
    if (!model.isEmpty())
        writes.append({section, QStringLiteral("model"), AircraftCfg::fileFolderWriteText(model), occurrence});
    if (!airFile.isEmpty())
        writes.append({section, QStringLiteral("sim"), airFile, occurrence});
    return writes;
}

} // namespace FileAssign
