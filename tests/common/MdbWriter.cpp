#include "MdbWriter.h"

#include "TestUtil.h"

#include <QtGlobal>

#include <algorithm>

namespace testutil {

namespace {

constexpr int kPage = 4096;
constexpr quint8 kInt16 = 0x03;
constexpr quint8 kInt32 = 0x04;
constexpr quint8 kText = 0x0A;
constexpr quint8 kOle = 0x0B;
constexpr int kCatalogDefPage = 2;
constexpr int kCatalogDataPage = 3;
constexpr int kTableDefPage = 4;
constexpr int kFirstDataPage = 5;

// RC4 keystream of the Jet 4 header key; the header bytes 0x18..0x97 are
// stored XOR-ed with it.
const QByteArray kHeaderKeystream = QByteArray::fromHex(
    "b56f03626108c255eba96772433f009c7a9f90ff809a31c579baed30bcdfcc9d63d9e4c37b42fb8abc4e86fbec375d449cfac65e"
    "28e613b68a6054947b36f572dfb177f41343cfafb1333461795b92b57c2a05f17c99011b98fd124f4a946c3e60265f95f8d08924"
    "8567c61f2744d2eecf65edff07c746a178160cede92d62d4");

void put16(QByteArray& b, int at, quint32 v)
{
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void put32(QByteArray& b, int at, quint32 v)
{
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

void append16(QByteArray& b, quint32 v)
{
    b.append(2, '\0');
    put16(b, static_cast<int>(b.size()) - 2, v);
}

// Jet 4 text: one byte a character after FF FE when every character fits a
// byte and that is shorter, else plain UTF-16LE.
QByteArray encodeText(const QString& s)
{
    bool narrow = s.size() > 2;
    for (const QChar c : s) {
        if (c.unicode() == 0)
            qFatal("MdbWriter: NUL in a text value");
        if (c.unicode() > 0xFF)
            narrow = false;
    }
    QByteArray out;
    if (narrow) {
        out.append("\xFF\xFE", 2);
        for (const QChar c : s)
            out.append(static_cast<char>(c.unicode()));
        return out;
    }
    if (!s.isEmpty() && s.front().unicode() == 0xFEFF)
        qFatal("MdbWriter: a text may not begin with U+FEFF");
    for (const QChar c : s)
        append16(out, c.unicode());
    return out;
}

struct ColumnDef
{
    QString name;
    quint8 type = kText;
    int number = 0;
    int varIndex = 0; // among the variable columns
    bool fixed = false;
    int fixedOffset = 0; // in the fixed area
    int length = 0;      // bytes
};

using Value = std::optional<QByteArray>; // raw bytes of a value; nullopt for NULL

QByteArray tableDefinitionPage(quint8 tableType, quint32 rowCount, const QList<ColumnDef>& columns,
                               quint32 usedMap, quint32 freeMap)
{
    QByteArray def(0x3F, '\0');
    def[0] = 0x02;
    def[1] = 0x01;
    put32(def, 0x10, rowCount);
    def[0x28] = static_cast<char>(tableType);
    int variable = 0;
    for (const ColumnDef& c : columns)
        variable += c.fixed ? 0 : 1;
    put16(def, 0x29, static_cast<quint32>(columns.size()));
    put16(def, 0x2B, static_cast<quint32>(variable));
    put16(def, 0x2D, static_cast<quint32>(columns.size()));
    put32(def, 0x37, usedMap);
    put32(def, 0x3B, freeMap);
    for (const ColumnDef& c : columns) {
        QByteArray e(25, '\0');
        e[0] = static_cast<char>(c.type);
        put16(e, 5, static_cast<quint32>(c.number));
        put16(e, 7, static_cast<quint32>(c.fixed ? 0 : c.varIndex));
        put16(e, 9, static_cast<quint32>(c.number));
        if (c.type == kText) {
            put16(e, 11, 0x0409);
            e[16] = 0x01;
        }
        e[15] = c.fixed ? 0x03 : 0x02;
        put16(e, 21, static_cast<quint32>(c.fixed ? c.fixedOffset : 0));
        put16(e, 23, static_cast<quint32>(c.length));
        def += e;
    }
    for (const ColumnDef& c : columns) {
        append16(def, static_cast<quint32>(c.name.size() * 2));
        for (const QChar ch : c.name)
            append16(def, ch.unicode());
    }
    put32(def, 0x08, static_cast<quint32>(def.size() - 8));
    if (def.size() > kPage)
        qFatal("MdbWriter: table definition larger than a page");
    def.append(kPage - def.size(), '\0');
    return def;
}

QByteArray encodeRow(const QList<ColumnDef>& columns, const QList<Value>& values)
{
    int fixedSize = 0;
    int variable = 0;
    for (const ColumnDef& c : columns) {
        if (c.fixed)
            fixedSize = std::max(fixedSize, c.fixedOffset + c.length);
        else
            ++variable;
    }
    QByteArray row;
    append16(row, static_cast<quint32>(columns.size()));
    row.append(fixedSize, '\0');
    QList<int> starts(variable, 0);
    QByteArray mask((columns.size() + 7) / 8, '\0');
    for (int i = 0; i < columns.size(); ++i) {
        const ColumnDef& c = columns[i];
        const Value& v = values[i];
        if (v)
            mask[c.number / 8] = static_cast<char>(mask[c.number / 8] | (1 << (c.number % 8)));
        if (c.fixed) {
            if (v)
                row.replace(2 + c.fixedOffset, c.length, v->left(c.length));
            continue;
        }
        starts[c.varIndex] = static_cast<int>(row.size());
        if (v)
            row += *v;
    }
    append16(row, static_cast<quint32>(row.size()));
    for (int i = variable - 1; i >= 0; --i)
        append16(row, static_cast<quint32>(starts[i]));
    append16(row, static_cast<quint32>(variable));
    row += mask;
    return row;
}

QByteArray dataPage(quint32 owner, const QList<QByteArray>& rows)
{
    QByteArray page(kPage, '\0');
    page[0] = 0x01;
    page[1] = 0x01;
    put32(page, 4, owner);
    put16(page, 12, static_cast<quint32>(rows.size()));
    int pos = kPage;
    for (int i = 0; i < rows.size(); ++i) {
        pos -= static_cast<int>(rows[i].size());
        page.replace(pos, rows[i].size(), rows[i]);
        put16(page, 14 + 2 * i, static_cast<quint32>(pos));
    }
    const int free = pos - (14 + 2 * static_cast<int>(rows.size()));
    if (free < 0)
        qFatal("MdbWriter: page overflow");
    put16(page, 2, static_cast<quint32>(free));
    return page;
}

// Splits encoded rows into pages: at most 255 a page, as many as fit.
QList<QList<QByteArray>> packRows(const QList<QByteArray>& rows)
{
    QList<QList<QByteArray>> pages{{}};
    int used = 14;
    for (const QByteArray& row : rows) {
        const int need = static_cast<int>(row.size()) + 2;
        if (pages.back().size() == 255 || used + need > kPage) {
            pages.append(QList<QByteArray>());
            used = 14;
        }
        pages.back().append(row);
        used += need;
    }
    return pages;
}

QByteArray usageMap(int bitmapBytes, const QList<int>& pagesUsed)
{
    QByteArray map(5 + bitmapBytes, '\0'); // type 0, first page covered 0
    for (int p : pagesUsed)
        map[5 + p / 8] = static_cast<char>(map[5 + p / 8] | (1 << (p % 8)));
    return map;
}

QByteArray headerPage()
{
    QByteArray page(kPage, '\0');
    page.replace(0, 20, QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20));
    page[0x14] = 0x01;
    Q_ASSERT(kHeaderKeystream.size() == 128);
    QByteArray plain(128, '\0');
    put16(plain, 0x3C - 0x18, 1252);
    put16(plain, 0x6E - 0x18, 0x0409);
    for (int i = 0; i < 128; ++i)
        page[0x18 + i] = static_cast<char>(plain[i] ^ kHeaderKeystream[i]);
    return page;
}

QByteArray int32Bytes(quint32 v)
{
    QByteArray b(4, '\0');
    put32(b, 0, v);
    return b;
}

} // namespace

QByteArray jet4Database(const MdbTable& table)
{
    // The user table's columns: all text, all variable.
    QList<ColumnDef> userColumns;
    for (int i = 0; i < table.columns.size(); ++i) {
        ColumnDef c;
        c.name = table.columns[i].name;
        c.number = i;
        c.varIndex = i;
        c.length = table.columns[i].maxChars * 2;
        userColumns.append(c);
    }
    QList<QByteArray> userRows;
    for (const MdbRow& row : table.rows) {
        if (row.size() != table.columns.size())
            qFatal("MdbWriter: row with %d values for %d columns", int(row.size()),
                   int(table.columns.size()));
        QList<Value> values;
        for (int i = 0; i < row.size(); ++i) {
            if (row[i] && row[i]->size() > table.columns[i].maxChars)
                qFatal("MdbWriter: value longer than its column");
            values.append(row[i] ? Value(encodeText(*row[i])) : Value());
        }
        userRows.append(encodeRow(userColumns, values));
    }
    const QList<QList<QByteArray>> userPages = packRows(userRows);
    const int pageCount = kFirstDataPage + static_cast<int>(userPages.size());
    const int bitmapBytes = std::max(64, (pageCount + 7) / 8);

    const QList<ColumnDef> catalogColumns = {
        {QStringLiteral("Id"), kInt32, 0, 0, true, 0, 4},
        {QStringLiteral("Name"), kText, 1, 0, false, 0, 510},
        {QStringLiteral("Type"), kInt16, 2, 0, true, 4, 2},
        {QStringLiteral("Flags"), kInt32, 3, 0, true, 6, 4},
        {QStringLiteral("LvProp"), kOle, 4, 1, false, 0, 0},
    };
    const auto catalogRow = [&catalogColumns](quint32 id, const QString& name, quint32 flags) {
        QByteArray type(2, '\0');
        put16(type, 0, 1);
        return encodeRow(catalogColumns,
                         {int32Bytes(id), encodeText(name), type, int32Bytes(flags), Value()});
    };

    QList<int> userPageNumbers;
    for (int i = 0; i < userPages.size(); ++i)
        userPageNumbers.append(kFirstDataPage + i);

    QByteArray file = headerPage();
    file += dataPage(0, {usageMap(bitmapBytes, {kCatalogDataPage}), usageMap(bitmapBytes, {}),
                         usageMap(bitmapBytes, userPageNumbers), usageMap(bitmapBytes, {})});
    file += tableDefinitionPage(0x53, 2, catalogColumns, (1 << 8) | 0, (1 << 8) | 1);
    file += dataPage(kCatalogDefPage, {catalogRow(kCatalogDefPage, QStringLiteral("MSysObjects"), 0x80000002),
                                       catalogRow(kTableDefPage, table.name, 0)});
    file += tableDefinitionPage(0x4E, static_cast<quint32>(table.rows.size()), userColumns, (1 << 8) | 2,
                                (1 << 8) | 3);
    for (const QList<QByteArray>& rows : userPages)
        file += dataPage(kTableDefPage, rows);
    return file;
}

MdbTable parkingSpecsTable(const QList<std::pair<QString, QString>>& rows)
{
    MdbTable t;
    t.name = QStringLiteral("parkingSpecs");
    t.columns = {{QStringLiteral("Airline"), 255}, {QStringLiteral("Code"), 50}};
    for (const auto& [airline, code] : rows)
        t.rows.append({airline, code});
    return t;
}

void writeParkingSpecs(const QString& path, const QList<std::pair<QString, QString>>& rows)
{
    writeFile(path, jet4Database(parkingSpecsTable(rows)));
}

} // namespace testutil
