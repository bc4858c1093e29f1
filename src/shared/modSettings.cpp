#include "shared/modSettings.h"

#include "platform/FileIo.h"

#include <QLocale>
#include <QSettings>

#include <cmath>
#include <optional>
#include <utility>

namespace modSettings {

namespace {

QString repeatFlags(const QString& flag, int count)
{
    QStringList flags;
    for (int i = 0; i < count; ++i)
        flags.append(flag);
    return JoinFlags(flags);
}

// One QSettings per call: the object is cheap, and Qt shares the parsed file
// between instances in the process.
struct Store
{
    Store() : settings(QSettings::IniFormat, QSettings::UserScope, kOrganisation, kApplication)
    {
        settings.beginGroup(kSection);
    }
    QSettings settings;
};

struct LastSave
{
    QString key;
    QString value;
    QString file;
    std::optional<platform::fileio::FileIdentity> identity; // none: nothing to compare with
};

LastSave& lastSave()
{
    static LastSave last;
    return last;
}

} // namespace

const QList<KeyInfo>& Keys()
{
    static const QList<KeyInfo> keys = {
        {QStringLiteral("AnalyzeOptions"), Kind::FlagList, repeatFlags(QStringLiteral("1"), 22)},
        {QStringLiteral("AutoBackup"), Kind::Switch, QStringLiteral("1")},
        {QStringLiteral("AutoUpdate"), Kind::Switch, QStringLiteral("1")},
        {QStringLiteral("DataGrid"), Kind::FlagList, repeatFlags(QStringLiteral("0"), kDataGridFlagCount)},
        {QStringLiteral("Editor"), Kind::Switch, QStringLiteral("1")},
        {QStringLiteral("IsMerrow"), Kind::Switch, QStringLiteral("1")},
        {QStringLiteral("LastCheck"), Kind::Text, QStringLiteral("0")},
        {QStringLiteral("Path"), Kind::Text, QString()},
        {QStringLiteral("Resizeable"), Kind::Switch, QStringLiteral("0")},
        {QStringLiteral("ToolTips"), Kind::Switch, QStringLiteral("1")},
        {QStringLiteral("Update"), Kind::Switch, QStringLiteral("1")},
    };
    return keys;
}

QString DefaultFor(const QString& key)
{
    for (const KeyInfo& k : Keys()) {
        if (k.key == key)
            return k.defaultValue;
    }
    return {};
}

QString GetSetting(const QString& key, const QString& defaultValue)
{
    Store s;
    if (!s.settings.contains(key))
        return defaultValue;
    const QVariant v = s.settings.value(key);
    // We always write quoted text, but a hand-edited line with a comma reads
    // back as a list; give the user's text back rather than nothing.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(u',');
    return v.toString();
}

bool SaveSetting(const QString& key, const QString& value)
{
    // Every folder load saves its folder. When this same value was the last
    // one saved and the file is still exactly as that save left it (same
    // file, size, mode and times), writing it again would give the same
    // bytes: it is left alone. Anything else about the file writes.
    LastSave& last = lastSave();
    if (last.identity && last.key == key && last.value == value &&
        platform::fileio::regularFileIdentity(last.file) == last.identity)
        return true;
    last.identity.reset();
    Store s;
    s.settings.setValue(key, value);
    s.settings.sync();
    if (s.settings.status() != QSettings::NoError)
        return false;
    last.key = key;
    last.value = value;
    last.file = s.settings.fileName();
    last.identity = platform::fileio::regularFileIdentity(last.file);
    return true;
}

namespace {
QString g_heldPath;
} // namespace

bool SavePath(const QString& folder)
{
    g_heldPath.clear();
    return SaveSetting(QStringLiteral("Path"), folder);
}

void HoldPath(const QString& folder)
{
    g_heldPath = folder;
}

bool StoreHeldPath()
{
    if (g_heldPath.isEmpty())
        return true;
    const QString folder = std::exchange(g_heldPath, QString());
    return SaveSetting(QStringLiteral("Path"), folder);
}

bool HasSetting(const QString& key)
{
    Store s;
    return s.settings.contains(key);
}

QString SettingsFilePath()
{
    Store s;
    return s.settings.fileName();
}

std::optional<bool> SwitchValue(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    double d = QLocale::c().toDouble(t, &ok);
    if (!ok)
        d = QLocale::system().toDouble(t, &ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d != 0.0;
}

std::optional<bool> GetSwitch(const QString& key)
{
    return SwitchValue(GetSetting(key, DefaultFor(key)));
}

bool SaveSwitch(const QString& key, bool on)
{
    return SaveSetting(key, on ? QStringLiteral("1") : QStringLiteral("0"));
}

QString JoinFlags(const QStringList& flags)
{
    return flags.join(kFlagSeparator);
}

QString BuildFlagList(const QList<bool>& states, bool listRows)
{
    const QString on = listRows ? QStringLiteral("-1") : QStringLiteral("1");
    QStringList flags;
    for (bool s : states)
        flags.append(s ? on : QStringLiteral("0"));
    return JoinFlags(flags);
}

QStringList SplitFlags(const QString& list)
{
    return list.split(kFlagSeparator);
}

PaddedFlags PadAnalyzeOptions(const QString& value)
{
    // An empty stored value has no flag to keep; the literal rule would make
    // its first flag an empty text, which no check box can show.
    if (value.isEmpty())
        return {repeatFlags(QStringLiteral("1"), kAnalyzeFlagCount), true};
    PaddedFlags out{value, false};
    qsizetype count = value.count(kFlagSeparator) + 1;
    while (count < kAnalyzeFlagCount) {
        out.value += kFlagSeparator + QStringLiteral("1");
        out.changed = true;
        ++count;
    }
    return out;
}

QString LoadAnalyzeOptions()
{
    const QString key = QStringLiteral("AnalyzeOptions");
    const PaddedFlags padded = PadAnalyzeOptions(GetSetting(key, DefaultFor(key)));
    if (padded.changed)
        SaveSetting(key, padded.value);
    return padded.value;
}

} // namespace modSettings
