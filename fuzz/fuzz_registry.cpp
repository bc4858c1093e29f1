// Feeds arbitrary bytes to the Wine registry reader as a registry file. A
// key is found in one of two ways: the first look-ups of a parse compare the
// header lines with the path as they pass, later ones (and every list of the
// whole file) go through a table of all headers. Both must find the same key
// with the same values and list the same child keys, for every key the file
// names and for paths spelled as the headers spell them.
#include "FuzzSupport.h"

#include "platform/WineRegistry.h"

#include <QStringList>

using fuzz::check;
using platform::wine::RegKey;
using platform::wine::RegValue;
using platform::wine::WineRegistry;

namespace {

void checkValues(const RegKey& key)
{
    for (const RegValue& v : key.values()) {
        check(key.value(v.name) == &v, "a key's value is not found by its name");
        check(v.toDword().has_value() == (v.data.size() == 4),
              "a number is read from data that is no number");
        (void)v.toMultiString();
    }
}

void checkSameKey(const RegKey* a, const RegKey* b)
{
    check((a == nullptr) == (b == nullptr), "the scan and the table disagree whether a key exists");
    if (!a)
        return;
    check(a->path() == b->path(), "the scan and the table find keys of other paths");
    check(a->values().size() == b->values().size(), "the scan and the table find other values");
    for (qsizetype i = 0; i < a->values().size(); ++i) {
        const RegValue& x = a->values()[i];
        const RegValue& y = b->values()[i];
        check(x.name == y.name && x.type == y.type && x.data == y.data,
              "the scan and the table read other values");
    }
    checkValues(*a);
}

// Letters A-Z and a-z swapped, and the separators doubled: the same key.
QString otherSpelling(const QString& path)
{
    QString out = QStringLiteral("\\");
    for (QChar c : path) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            out += QChar(char16_t(u - 32));
        else if (u >= u'A' && u <= u'Z')
            out += QChar(char16_t(u + 32));
        else
            out += c;
        if (u == u'\\')
            out += c;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes = fuzz::bytesOf(data, size);
    const WineRegistry table = WineRegistry::parse(bytes);
    if (!table.isValid()) {
        check(table.keyCount() == 0 && table.childKeyNames(u"").isEmpty(),
              "a file without header holds keys");
        return 0;
    }
    check(table.keyCount() >= 0, "a negative key count");

    // Every key path the file names (up to a few dozen), through the table.
    QStringList paths{QString()};
    for (qsizetype i = 0; i < paths.size() && paths.size() < 16; ++i) {
        for (const QString& child : table.childKeyNames(paths[i])) {
            check(!child.isEmpty() && !child.contains(u'\\'),
                  "a child key name is empty or holds a separator");
            paths.append(paths[i].isEmpty() ? child : paths[i] + u'\\' + child);
        }
    }
    // And the headers' own text between '[' and ']', backslashes undoubled:
    // paths that match a header's first bytes, found or not.
    const QString text = QString::fromUtf8(bytes);
    for (qsizetype at = text.indexOf(u"\n["), n = 0; at >= 0 && n < 6;
         at = text.indexOf(u"\n[", at + 1), ++n) {
        const qsizetype close = text.indexOf(u']', at);
        const qsizetype end = text.indexOf(u'\n', at + 1);
        const qsizetype stop = close < 0 ? end : (end < 0 ? close : qMin(close, end));
        paths.append(text.mid(at + 2, stop < 0 ? -1 : stop - at - 2)
                         .replace(QStringLiteral("\\\\"), QStringLiteral("\\")));
    }

    for (const QString& path : std::as_const(paths)) {
        for (const QString& spelled : {path, otherSpelling(path)}) {
            // A fresh parse finds its first keys with the scan.
            const WineRegistry scan = WineRegistry::parse(bytes);
            checkSameKey(scan.key(spelled), table.key(spelled));
            if (!path.isEmpty()) {
                const WineRegistry listing = WineRegistry::parse(bytes);
                check(listing.childKeyNames(spelled) == table.childKeyNames(spelled),
                      "the scan and the table list other child keys");
            }
        }
        if (const RegKey* k = table.key(path))
            check(platform::wine::registryKeyId(k->path()) == platform::wine::registryKeyId(path),
                  "a key has another path than the one it was found by");
    }
    return 0;
}
