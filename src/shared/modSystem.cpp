#include "shared/modSystem.h"

#include "platform/Cp1252.h"
#include "platform/FileIo.h"
#include "platform/PathResolver.h"
#include "platform/PrivateTemp.h"
#include "platform/WinePrefix.h"
#include "shared/Globals.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace modSystem {

using platform::wine::RegKey;
using platform::wine::RegValue;
namespace regtype = platform::wine::regtype;

qint32 QueryValueEx(const RegKey* key, const QString& valueName, RegData& value)
{
    if (!key)
        return kStatusInvalidHandle;
    const RegValue* v = key->value(valueName);
    if (!v)
        return kStatusFileNotFound;
    switch (v->type) {
    case regtype::Sz:
        // toText() drops the terminating NUL only when there is one, so a
        // string stored without it keeps its last character.
        value = v->toText();
        return kStatusSuccess;
    case regtype::Dword: {
        if (v->data.size() > 4)
            return kStatusMoreData;
        quint32 n = 0;
        for (qsizetype b = v->data.size() - 1; b >= 0; --b)
            n = (n << 8) | uchar(v->data[b]);
        value = n;
        return kStatusSuccess;
    }
    default:
        return kStatusOtherType;
    }
}

QString QueryRegString(const QString& keyPath, const QString& valueName)
{
    const auto machine = platform::wine::machineRegistry();
    RegData value;
    QueryValueEx(machine->key(keyPath), valueName, value);
    if (const QString* text = std::get_if<QString>(&value))
        return *text;
    if (const quint32* n = std::get_if<quint32>(&value))
        return QString::number(*n);
    return {};
}

bool Is64BitOS()
{
    return platform::wine::isWin64();
}

QString GetSpecialFolderPath(int csidl)
{
    if (csidl == kCsidlAppData)
        return platform::wine::roamingAppDataPath();
    return {};
}

bool OpenURL(const QString& url)
{
    if (url.trimmed().isEmpty())
        return false;
    // The desktop hands the address to the browser in a process of its own
    // (xdg-open), so nothing here waits for it.
    return QDesktopServices::openUrl(QUrl::fromUserInput(url));
}

bool OpenWithDesktop(const QString& path)
{
    if (path.isEmpty())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

namespace {

std::function<QString(const QString&)>& scriptedLookup()
{
    static std::function<QString(const QString&)> answer;
    return answer;
}

} // namespace

QString DefaultProgramFor(const QString& mimeType)
{
    if (scriptedLookup())
        return scriptedLookup()(mimeType);
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return {};
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished();
        return {};
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

ScriptedProgramLookup::ScriptedProgramLookup(std::function<QString(const QString&)> answer)
{
    scriptedLookup() = std::move(answer);
}

ScriptedProgramLookup::~ScriptedProgramLookup()
{
    scriptedLookup() = {};
}

QStringList SplitAirlineLines(const QString& text)
{
    if (text.isEmpty())
        return {};
    return text.split(QStringLiteral("\r\n"), Qt::KeepEmptyParts);
}

QStringList ReadAirlineLines(const QByteArray& bytes)
{
    return SplitAirlineLines(platform::cp1252::decode(bytes));
}

namespace {

bool reload(const QString& path, QStringList& cache)
{
    if (path.isEmpty())
        return false;
    QByteArray bytes;
    if (!platform::fileio::readAll(platform::paths::resolvePath(path), &bytes))
        return false;
    cache = ReadAirlineLines(bytes);
    return true;
}

} // namespace

bool ReloadAirlinesFS9()
{
    return reload(globals::gsAirlinesFS9Path, globals::gsAirlinesFS9);
}

bool ReloadAirlinesFSX()
{
    return reload(globals::gsAirlinesFSXPath, globals::gsAirlinesFSX);
}

QString TempPath()
{
    QString p = QDir::tempPath();
    if (!p.endsWith(u'/'))
        p += u'/';
    return p;
}

TempFolder PrivateTempFolder()
{
    namespace pt = platform::privatetemp;
    const QString folder = pt::folderFor(qEnvironmentVariable("XDG_RUNTIME_DIR"), TempPath(), pt::currentUid());
    if (QString error = pt::prepare(folder, pt::currentUid()); !error.isEmpty())
        return {QString(), error};
    return {folder + u'/', QString()};
}

QString TempFolderProblem()
{
    if (globals::gsTempPath.isEmpty()) {
        return globals::gsTempPathError.isEmpty() ? QStringLiteral("The program has no temporary folder.")
                                                  : globals::gsTempPathError;
    }
    QString folder = globals::gsTempPath;
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    namespace pt = platform::privatetemp;
    return pt::prepare(folder, pt::currentUid());
}

} // namespace modSystem
