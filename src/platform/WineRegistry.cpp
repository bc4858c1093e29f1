#include "platform/WineRegistry.h"

#include "platform/FileIo.h"
#include "platform/RegistryIndex.h"
#include "platform/RegistryText.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>

#include <sys/mman.h>
#include <sys/stat.h>

namespace platform::wine {

using namespace regtext;

QString registryKeyId(QStringView path)
{
    QString id;
    id.reserve(path.size());
    for (QChar c : path) {
        if (c != u'\\')
            id += c;
        else if (!id.isEmpty() && !id.endsWith(u'\\'))
            id += c;
    }
    if (id.endsWith(u'\\'))
        id.chop(1);
    return std::move(id).toCaseFolded();
}

QString RegValue::toText() const
{
    QString s;
    s.reserve(data.size() / 2);
    for (qsizetype i = 0; i + 1 < data.size(); i += 2)
        s.append(QChar(char16_t(uchar(data[i]) | (uchar(data[i + 1]) << 8))));
    if (s.endsWith(QChar(0)))
        s.chop(1);
    return s;
}

QStringList RegValue::toMultiString() const
{
    QStringList out;
    for (const QString& s : toText().split(QChar(0))) {
        if (s.isEmpty())
            break;
        out.append(s);
    }
    return out;
}

std::optional<quint32> RegValue::toDword() const
{
    if (data.size() != 4)
        return std::nullopt;
    quint32 n = 0;
    for (int b = 3; b >= 0; --b)
        n = (n << 8) | uchar(data[b]);
    return n;
}

const RegValue* RegKey::value(QStringView name) const
{
    // Keys hold a handful of values; a scan is cheaper than a hash per key.
    for (const RegValue& v : m_values) {
        if (v.name.compare(name, Qt::CaseInsensitive) == 0)
            return &v;
    }
    return nullptr;
}

void RegKey::setValue(RegValue v)
{
    for (RegValue& old : m_values) {
        if (old.name.compare(v.name, Qt::CaseInsensitive) == 0) {
            old = std::move(v); // a later line for the same name wins
            return;
        }
    }
    m_values.append(std::move(v));
}


WineRegistry WineRegistry::parse(QByteArrayView bytes)
{
    auto idx = std::make_shared<Index>();
    idx->bytes = bytes.toByteArray();
    return parseIndex(std::move(idx));
}

WineRegistry WineRegistry::parseIndex(std::shared_ptr<Index> idx)
{
    WineRegistry reg;
    if (!idx->scan(reg.m_win64))
        return reg;
    reg.m_valid = true;
    reg.m_d = std::move(idx);
    return reg;
}

WineRegistry WineRegistry::readOpen(QFile& f, qint64 mapSize)
{
    auto idx = std::make_shared<Index>();
    // Mapped, the bytes are not copied (a file of many megabytes costs more
    // to copy than to look through); the scan reads every page, so they are
    // mapped at once. A file that cannot be mapped is read.
    void* map = mapSize > 0
                    ? ::mmap(nullptr, size_t(mapSize), PROT_READ, MAP_PRIVATE | MAP_POPULATE, f.handle(), 0)
                    : MAP_FAILED;
    if (map != MAP_FAILED) {
        idx->mapped = map;
        idx->mappedSize = size_t(mapSize);
        idx->bytes = QByteArray::fromRawData(static_cast<const char*>(map), qsizetype(mapSize));
    } else {
        idx->bytes = f.readAll();
    }
    return parseIndex(std::move(idx));
}

qsizetype WineRegistry::keyCount() const
{
    return m_d ? m_d->keyCount() : 0;
}

namespace {

// The size to map of an open file: a regular file's size, else 0 (read it).
qint64 mappableSize(const struct stat& st)
{
    return S_ISREG(st.st_mode) ? qint64(st.st_size) : 0;
}

} // namespace

WineRegistry WineRegistry::load(const QString& path)
{
    QFile f;
    if (!platform::fileio::openRegular(path, &f))
        return {};
    struct stat st
    {
    };
    return readOpen(f, ::fstat(f.handle(), &st) == 0 ? mappableSize(st) : 0);
}

namespace {

struct CacheEntry
{
    platform::fileio::FileIdentity id;
    std::shared_ptr<const WineRegistry> reg;
};

} // namespace

std::shared_ptr<const WineRegistry> WineRegistry::loadCached(const QString& path)
{
    static QMutex mutex;
    static QHash<QString, CacheEntry> cache;
    static const auto empty = std::make_shared<const WineRegistry>();

    QFile f;
    if (!platform::fileio::openRegular(path, &f)) {
        const QMutexLocker lock(&mutex);
        cache.remove(path);
        return empty;
    }
    // The identity of the file actually opened: Wine may rename a new file
    // over the path at any moment.
    struct stat st
    {
    };
    const bool haveStat = ::fstat(f.handle(), &st) == 0;
    {
        const QMutexLocker lock(&mutex);
        const auto it = cache.constFind(path);
        if (haveStat && it != cache.cend() && it->id == platform::fileio::identityOf(st))
            return it->reg;
    }
    auto reg = std::make_shared<const WineRegistry>(readOpen(f, haveStat ? mappableSize(st) : 0));
    if (haveStat) {
        const QMutexLocker lock(&mutex);
        cache.insert(path, CacheEntry{platform::fileio::identityOf(st), reg});
    }
    return reg;
}

const RegKey* WineRegistry::key(QStringView path) const
{
    return m_d ? m_d->key(registryKeyId(path)) : nullptr;
}

QStringList WineRegistry::childKeyNames(QStringView path) const
{
    return m_d ? m_d->childKeyNames(registryKeyId(path)) : QStringList();
}

} // namespace platform::wine
