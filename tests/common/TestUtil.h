#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Fixture helpers shared by the tests: every case builds what it needs in a
// temporary folder of its own.
namespace testutil {

// Writes bytes to a file, creating the folders on the way. Fails the test on error.
void writeFile(const QString& path, const QByteArray& bytes);

// Writes bytes to a file of that name in `dir` and returns its path.
QString writeFileIn(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);

// Reads a whole file; an empty array when it cannot be read.
QByteArray readFile(const QString& path);

// Creates a folder and its parents.
void makeDir(const QString& path);

// Sets the permission bits of a path (octal, e.g. 0444).
void setMode(const QString& path, unsigned mode);

// The permission bits of a path, a link followed; of the link itself for
// linkModeOf.
unsigned modeOf(const QString& path);
unsigned linkModeOf(const QString& path);

// True when the tests run with the power to ignore file permissions (root).
bool runningAsRoot();

} // namespace testutil
