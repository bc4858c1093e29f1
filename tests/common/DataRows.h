#pragma once

#include <QTest>

#include <array>
#include <cstddef>

namespace testutil {

// Data rows whose values are all written as text: each text is turned into
// the type of its column. The columns are declared on construction, each call
// adds a row:
//     TextRows<QString, QByteArray> row({"name", "bytes"});
//     row("tag", "a name", "some bytes");
template <typename... Columns> class TextRows
{
public:
    explicit TextRows(const std::array<const char*, sizeof...(Columns)>& names)
    {
        std::size_t i = 0;
        (QTest::addColumn<Columns>(names[i++]), ...);
    }

    template <typename... Texts> void operator()(const char* tag, const Texts&... texts) const
    {
        static_assert(sizeof...(Texts) == sizeof...(Columns), "one text a column");
        (QTest::newRow(tag) << ... << Columns(texts));
    }
};

// Data rows tagged with their first column, an object name given as text:
//     NamedRows<QString> row({"name", "caption"});
//     row("cmd_Ok", "OK");
template <typename... Columns> class NamedRows : TextRows<QString, Columns...>
{
public:
    using TextRows<QString, Columns...>::TextRows;

    template <typename... Texts> void operator()(const char* name, const Texts&... texts) const
    {
        TextRows<QString, Columns...>::operator()(name, name, texts...);
    }
};

} // namespace testutil
