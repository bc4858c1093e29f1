#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>

// What the tests of validation share: the validation-option flags and the
// windows a report leaves behind.
namespace testutil {

// The 23 validation-option flags, "0" but for the given indexes.
QStringList flagListWith(std::initializer_list<int> on);

// The same flags as the stored option text.
QString flagsWith(std::initializer_list<int> on);

// Closes the text editor a report opened, discarding its changes, and
// leaves batch mode, so the next case starts without them.
void closeReportWindows();

} // namespace testutil
