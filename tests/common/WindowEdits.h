#pragma once

#include <QDateTime>
#include <QMap>
#include <QString>

class frm_Main;

namespace msgbox {
class ScriptedAnswers;
}

// What the update tests of the main window share: typing into its fields by
// name, the rows of the "Are you sure?" question, file times.
namespace testutil {

// objectName -> text; check boxes take "1" or "0".
using Edits = QMap<QString, QString>;

// Puts each text into the window's line edit, check box, label or description
// of that name; fails the test for a name the window does not have.
void applyEdits(frm_Main& w, const Edits& edits);

class AircraftScene;

// Runs a row of an update's whole-file data (columns "row", "edits" and
// "expected"): starts the scene's window, shows the row, types the edits and
// clicks the button named `update`. No box may come, the file must be
// `expected` and the row is selected again.
frm_Main& runUpdateRow(AircraftScene& scene, const QString& update);

// Data rows of an update's question, columns "confirm", "answer" (0: none
// scripted) and "written": "option off: no question", "Yes", "No".
void addConfirmationRows();

// Starts the scene's window for a row of addConfirmationRows: the question on
// or off as the row says, its answer scripted, backups on.
frm_Main& startForConfirmationRow(AircraftScene& scene);

// Checks that the update asked "Are you sure?" with Yes and No, or asked nothing.
void verifyAskedSure(const msgbox::ScriptedAnswers& answers, bool asked);

// Data rows "Yes" and "No", column "answer".
void addYesNoRows();

// Sets a file's modification time well into the past, so any rewrite shows.
void ageFile(const QString& path);

QDateTime mtime(const QString& path);

} // namespace testutil
