#include "editing/FileAssign.h"

#include "editing/AircraftCfg.h"

namespace FileAssign {

bool anyChoice(const QString& texture, const QString& model, const QString& airFile)
{
    return !texture.isEmpty() || !model.isEmpty() || !airFile.isEmpty();
}

QList<CfgWrites::KeyWrite> plan(const QString& section, const QString& texture, const QString& model,
                                const QString& airFile)
{
    QList<CfgWrites::KeyWrite> writes;
    if (!texture.isEmpty())
        writes.append({section, QStringLiteral("texture"), AircraftCfg::fileFolderWriteText(texture)});
    if (!model.isEmpty())
        writes.append({section, QStringLiteral("model"), AircraftCfg::fileFolderWriteText(model)});
    if (!airFile.isEmpty())
        writes.append({section, QStringLiteral("sim"), airFile});
    return writes;
}

} // namespace FileAssign
