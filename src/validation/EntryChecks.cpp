// The checks of one validation run on each entry's texture, model and air
// file, and on the effects section.
#include "validation/ValidationRun.h"

#include "platform/PathResolver.h"
#include "shared/modGlobal.h"

#include <QDir>
#include <QFileInfo>

namespace FolderValidation::detail {

void Run::effectsCheck(const QString& section)
{
    m_ini.setSection(section);
    QStringList keys;
    qint32 count = 0;
    m_ini.EnumerateCurrentSection(keys, count);

    // One slot per key; the slots left filled are the files that are missing.
    modGlobal::StringArray files = QStringList();
    for (const QString& key : keys) {
        QString file;
        if (key != u"windshield_rain_effect_available") {
            m_ini.setKey(key);
            const QString v = modGlobal::StripComment(m_ini.Value());
            const QString lower = v.toLower();
            if (lower.startsWith(u"fx_dummy")) {
                file.clear();
            } else if (lower.startsWith(u"false") || lower.startsWith(u"true") || lower.startsWith(u"0") ||
                       lower.startsWith(u"1") || lower.startsWith(u"-1")) {
                // Only switched on: the simulator plays its own default effect.
                file = EffectFileDefault(key);
            } else {
                file = modGlobal::Trim(lower);
            }
            // A trailing ",1" only makes the effect run once.
            const qsizetype comma = file.indexOf(u',');
            if (comma >= 0)
                file = modGlobal::Trim(file.left(comma));
            // An effect without a name ("fueldump=, 0") names no file.
            if (!file.isEmpty() && !file.endsWith(u".fx"))
                file += QStringLiteral(".fx");
        }
        files->append(file);
    }

    for (QString& file : *files) {
        if (file.isEmpty() || m_in.effectsFolder.isEmpty())
            continue;
        if (fileThere(resolve(m_in.effectsFolder, file)))
            file.clear();
    }
    for (qint32 i = static_cast<qint32>(files->size()) - 1; i >= 0; --i) {
        if ((*files)[i].isEmpty())
            ArrayRemoveItem(&files, i);
    }
    m_r.missingEffectFiles = *files;
}

bool Run::holdsImages(const QString& folder)
{
    return holdsFileMatching(listingOrThrow(folder), {u"*.bmp", u"*.dds"});
}

int Run::textureState(Entry& e)
{
    if (!e.texture) {
        m_r.undefinedTextureFound = true;
        return kKeyMissing;
    }
    const QString folder = resolve(m_folder, folderName(QStringLiteral("texture"), *e.texture));
    if (!platform::paths::isFolder(folder))
        return kNotFound;
    if (holdsImages(folder))
        return kFound;
    const QString cfg = resolve(folder, QStringLiteral("texture.cfg"));
    if (!platform::paths::isFile(cfg))
        return kNotFound;
    m_r.textureAliasingUsed = true;
    const CfgSource source = cfgSource(cfg);
    const QString value = ReadIniKey(QStringLiteral("fltsim"), QStringLiteral("fallback.1"), source.path());
    if (value.isEmpty())
        return kNotFound;
    QString v = modGlobal::StripComment(value);
    v.replace(u'/', u'\\');
    const std::optional<QString> target = resolveFallback(folder, v);
    if (!target || !platform::paths::isFolder(*target))
        return kNotFound;
    return holdsImages(*target) ? kFound : kNotFound;
}

// Every "..\" of the value climbs one level from the texture folder and the
// rest of the value, without them, is looked up below the folder reached. A
// value without "..\" names a folder below the texture folder; one that
// climbs above the root names nothing.
std::optional<QString> Run::resolveFallback(const QString& textureFolder, QString value) const
{
    const qint32 ups = modGlobal::CountDelimiters(value, QStringLiteral("..\\"));
    value.remove(QStringLiteral("..\\"));
    QString base = QDir::cleanPath(textureFolder);
    for (qint32 i = 0; i < ups; ++i) {
        if (base == u"/")
            return std::nullopt;
        const qsizetype slash = base.lastIndexOf(u'/');
        base = slash <= 0 ? QStringLiteral("/") : base.left(slash);
    }
    return platform::paths::resolveUnder(base, value);
}

int Run::airState(Entry& e)
{
    if (!e.sim) {
        m_r.undefinedAirFileFound = true;
        return kKeyMissing;
    }
    return fileThere(resolve(m_folder, QString(*e.sim + QStringLiteral(".air")))) ? kFound : kNotFound;
}

int Run::modelFileState(const QString& folder, const QString& normal)
{
    QString name = modGlobal::StripComment(normal);
    if (name.right(3).toLower() != u"mdl")
        name += QStringLiteral(".mdl");
    return fileThere(resolve(folder, name)) ? kFound : kNotFound;
}

int Run::modelState(Entry& e)
{
    if (!e.model) {
        m_r.undefinedModelFound = true;
        return kKeyMissing;
    }
    const QString folder = resolve(m_folder, folderName(QStringLiteral("model"), *e.model));
    if (!platform::paths::isFolder(folder))
        return kNotFound;
    const QString cfg = resolve(folder, QStringLiteral("Model.cfg"));
    if (!platform::paths::isFile(cfg))
        return kNotFound;
    const CfgSource source = cfgSource(cfg);
    const QString normal = ReadIniKey(QStringLiteral("models"), QStringLiteral("normal"), source.path());
    if (!normal.isEmpty())
        return modelFileState(folder, normal);

    // No model of its own: "alias" names another aircraft's model folder,
    // relative to the folder that holds the aircraft folders.
    QString alias = ReadIniKey(QStringLiteral("fltsim"), QStringLiteral("alias"), source.path());
    if (alias.isEmpty())
        return kNotFound;
    alias = modGlobal::StripComment(alias);
    if (!alias.startsWith(u'\\'))
        alias.prepend(u'\\');
    const QString parent = QFileInfo(m_folder).dir().absolutePath();
    const QString aliasFolder = platform::paths::resolveUnder(m_folder == u"/" ? m_folder : parent, alias);
    const QString aliasCfg = resolve(aliasFolder, QStringLiteral("Model.cfg"));
    if (!platform::paths::isFile(aliasCfg))
        return kNotFound;
    const CfgSource aliasSource = cfgSource(aliasCfg);
    const QString aliasNormal =
        ReadIniKey(QStringLiteral("models"), QStringLiteral("normal"), aliasSource.path());
    if (aliasNormal.isEmpty())
        return kNotFound;
    return modelFileState(aliasFolder, aliasNormal);
}

} // namespace FolderValidation::detail
