#pragma once

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// Read-only access to the registry files of a Wine prefix (system.reg for
// HKEY_LOCAL_MACHINE, user.reg for HKEY_CURRENT_USER). Wine keeps the live
// registry in its server and rewrites these files now and then by writing a
// temporary file and renaming it, so reading them at any moment gives a whole
// file; we never write them.
namespace platform::wine {

// Registry value types as Windows numbers them.
namespace regtype {
inline constexpr quint32 None = 0;
inline constexpr quint32 Sz = 1;
inline constexpr quint32 ExpandSz = 2;
inline constexpr quint32 Binary = 3;
inline constexpr quint32 Dword = 4;
inline constexpr quint32 DwordBigEndian = 5;
inline constexpr quint32 Link = 6;
inline constexpr quint32 MultiSz = 7;
inline constexpr quint32 Qword = 11;
} // namespace regtype

// One value of a key, with its data as Windows holds it: strings in UTF-16LE
// with their terminating NUL, numbers little-endian.
struct RegValue
{
    QString name; // as spelled in the file; empty for the default value "@"
    quint32 type = regtype::None;
    QByteArray data;

    // The data read as UTF-16LE text, without one terminating NUL (an odd last
    // byte is ignored). Meaningful for the string types.
    QString toText() const;

    // The strings of a REG_MULTI_SZ value (the list ends at the first empty string).
    QStringList toMultiString() const;

    // The number of a REG_DWORD value; empty when the data is not four bytes.
    std::optional<quint32> toDword() const;
};

class RegKey
{
public:
    // The key's path relative to the file's root, parts joined by '\'.
    const QString& path() const { return m_path; }

    // The value of that name (letter case ignored); nullptr when there is none.
    const RegValue* value(QStringView name) const;

    // The values in file order.
    const QList<RegValue>& values() const { return m_values; }

private:
    friend class WineRegistry;
    void setValue(RegValue v);

    QString m_path;
    QList<RegValue> m_values;
};

class WineRegistry
{
public:
    // Parses the text of a registry file. A file without the "WINE REGISTRY
    // Version 2" header holds nothing; a damaged file keeps every value that
    // can still be read, the damaged ones are missing.
    static WineRegistry parse(QByteArrayView bytes);

    // Reads and parses a file; a missing or unreadable file gives an empty registry.
    static WineRegistry load(const QString& path);

    // Like load, but keeps the last parse of each file and reuses it while the
    // file is the same one (device, inode, size and times unchanged).
    static std::shared_ptr<const WineRegistry> loadCached(const QString& path);

    // Whether the header was found.
    bool isValid() const { return m_valid; }

    // Whether the file says "#arch=win64"; files without the line are win32.
    bool isWin64() const { return m_win64; }

    // The key with that path (parts separated by '\', empty parts ignored,
    // letter case ignored); nullptr when the file holds no such key. The key
    // stays valid as long as this registry (or a copy of it) lives.
    const RegKey* key(QStringView path) const;

    // Names of the keys directly below `path` that the file holds or implies
    // (a key with values implies its parents), in file order.
    QStringList childKeyNames(QStringView path) const;

    qsizetype keyCount() const;

private:
    // A parse only finds where each key's lines are; the values of a key are
    // read when the key is first asked for. Copies share that state.
    struct Index;
    static WineRegistry parseIndex(std::shared_ptr<Index> idx);
    // Reads an open file, mapping its `mapSize` bytes when that is above 0.
    static WineRegistry readOpen(QFile& f, qint64 mapSize);

    bool m_valid = false;
    bool m_win64 = false;
    std::shared_ptr<Index> m_d;
};

// Normalises a key path for comparison: '\'-separated parts without empty
// ones, case-folded.
QString registryKeyId(QStringView path);

} // namespace platform::wine
