#include "mainwindow/ModelLookup.h"

#include "platform/PathResolver.h"
#include "shared/modGlobal.h"

namespace ModelLookup {

QString modelFolder(const QString& aircraftFolder, const QString& modelColumn)
{
    QString m = modelColumn;
    m.replace(u'/', u'\\');
    if (m == u"<default>")
        return platform::paths::resolveUnder(aircraftFolder, u"model");
    return platform::paths::resolveUnder(aircraftFolder, QString(QStringLiteral("model.") + m));
}

QString modelNameFromLines(const QStringList& lines)
{
    for (const QString& line : lines) {
        if (line.left(7).toLower() != u"normal=")
            continue;
        QString name = line.mid(7).trimmed();
        if (name.right(4).toLower() == u".mdl")
            name.chop(4);
        return name;
    }
    return {};
}

Result lookup(const QString& aircraftFolder, const QString& modelColumn)
{
    Result r;
    if (modelColumn.isEmpty())
        return r;
    r.modelFolder = modelFolder(aircraftFolder, modelColumn);
    const QString cfg = platform::paths::resolveUnder(r.modelFolder, u"model.cfg");
    if (!platform::paths::regularFileExists(cfg)) {
        r.outcome = Outcome::NoModelCfg;
        return r;
    }
    modGlobal::StringArray lines;
    // A model.cfg that opens but cannot be read is told, and the lookup
    // goes on with no lines, as the reading leaves the array.
    if (const auto read = modGlobal::FileToArray(cfg, lines); !read)
        r.cfgReadError = read.error;
    else
        r.cfgEmpty = !lines || lines->isEmpty();
    r.modelName = modelNameFromLines(lines.value_or(QStringList()));
    r.mdlFile = platform::paths::resolveUnder(r.modelFolder, QString(r.modelName + QStringLiteral(".mdl")));
    const airmdl::MdlRead read = airmdl::readMdlHeader(r.mdlFile);
    switch (read.status) {
    case airmdl::MdlStatus::Missing:
        r.outcome = Outcome::NoModelFile;
        break;
    case airmdl::MdlStatus::Unreadable:
        r.outcome = Outcome::Unreadable;
        r.error = read.error;
        break;
    case airmdl::MdlStatus::Decoded:
        r.outcome = Outcome::Decoded;
        r.header = read.header;
        break;
    }
    return r;
}

} // namespace ModelLookup
