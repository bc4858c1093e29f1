#pragma once

// The reading code of fernquill-mdbread: the rows of one table of an open
// libmdb database, written in the format of platform/MdbWire.h. It runs in a
// process of its own because libmdb trusts the file's bytes: a damaged
// database can crash it or make it loop.

// glib first: mdbtools.h includes it inside its extern "C" block, where g++
// refuses glib's C++ templates.
#include <glib.h>

#include <mdbtools.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mdbread {

// Receives the output in pieces; false when it cannot take them.
using Sink = std::function<bool(std::string_view)>;

// Writes the text of `columns` of every row of `table` (names matched without
// regard to letter case) to `sink`, the end record last. Returns an
// mdbwire::Exit; on failure the output so far is no table.
int dumpTable(MdbHandle* mdb, const std::string& table, const std::vector<std::string>& columns,
              const Sink& sink);

} // namespace mdbread
