#include "shared/AppInfo.h"

#include "BuildConfig.h"

#include <QCoreApplication>
#include <QDir>

#include <optional>

namespace appinfo {

namespace {
struct Addresses
{
    QString versionFile;
    QString downloadPage;
};

std::optional<Addresses>& testAddresses()
{
    static std::optional<Addresses> addresses;
    return addresses;
}
} // namespace

QString versionFileUrl()
{
    if (testAddresses())
        return testAddresses()->versionFile;
    return QString::fromUtf8(buildconfig::kVersionFileUrl).trimmed();
}

QString downloadPageUrl()
{
    if (testAddresses())
        return testAddresses()->downloadPage;
    return QString::fromUtf8(buildconfig::kDownloadPageUrl).trimmed();
}

bool updateAddressesSet()
{
    return !versionFileUrl().isEmpty() && !downloadPageUrl().isEmpty();
}

void setUpdateAddressesForTests(const QString& versionFile, const QString& downloadPage)
{
    testAddresses() = Addresses{versionFile, downloadPage};
}

QString desktopId()
{
    return QString::fromUtf8(buildconfig::kAppId);
}

QString installedDataFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u'/' +
                           QString::fromUtf8(buildconfig::kDataFolderFromProgram));
}

} // namespace appinfo
