#pragma once

#include "editing/AircraftCfg.h"
#include "editing/CfgWrites.h"
#include "mainwindow/AirMdlFormat.h"
#include "shared/clsIniFile.h"

#include <QList>
#include <QPair>
#include <QString>

#include <array>
#include <optional>

// Writing one entry back into aircraft.cfg: the entry's keys, the wing span,
// the complete exits and the two [general] keys, and the radius byte of the
// entry's model file.
namespace WriteBack {

struct Request
{
    QString section; // the entry section, named by the grid row's text
    int occurrence = 0; // which copy of that name (a pack may hold a name twice)
    // The entry keys in the order they are written, each with its text.
    QList<QPair<QString, QString>> entryKeys;
    QString wingSpanNew; // as typed; empty leaves wing_span untouched
    std::array<AircraftCfg::ExitBoxes, AircraftCfg::kExitCount> exits{};
    std::array<QString, AircraftCfg::kExitCount> exitComments{};
    QString generalAtcModel;
    QString generalAtcType;
};

// What became of the writes (see CfgWrites).
using Outcome = CfgWrites::Outcome;

// The thirteen entry keys in write order, from the edit fields' texts:
// title, parking types, parking codes, created by, type role, manufacturer,
// type, variation, atc id, flight number, airline, atc model, and atc_heavy
// ("1" when ticked, else "0").
QList<QPair<QString, QString>> entryKeyList(const QStringList& twelveTexts, bool heavyTicked);

// The writes without those that would only take the quotes off a line: a key
// whose line reads as the value to write once a pair of quotes is removed
// keeps its line as it stands.
QList<CfgWrites::KeyWrite> keepUnchangedQuoted(const QString& cfgPath, const QList<CfgWrites::KeyWrite>& writes);

// Writes the request through `ini` in one go: either every write lands or the
// file stays as it was and the outcome says why.
Outcome write(clsIniFile& ini, const Request& request);

// What to do with the radius field: nothing (it reads "n/a" or the value shown
// when the entry was displayed), write the byte, or tell the user the value
// cannot be written (not a number from 0 to 255).
struct RadiusPlan
{
    enum class Action { None, Write, Invalid } action = Action::None;
    quint8 value = 0;
};
RadiusPlan planRadius(const QString& radiusText, const QString& radiusShown);

// Whether the model file lies inside the aircraft folder, links resolved: the
// radius is written into no other file.
bool modelFileInside(const QString& mdlFile, const QString& aircraftFolder);

// The message for a model file outside the aircraft folder (links resolved).
QString radiusOutsideMessage(const QString& mdlFile);

// Writes the radius byte into the model file, but only into a file that lies
// inside the aircraft folder (the model header read for the entry now shown).
airmdl::WriteResult writeRadius(const QString& mdlFile, const QString& aircraftFolder, quint8 value);

// What became of a planned radius change, for the user: nothing to tell when
// the byte was written or there was nothing to write; otherwise the message
// that names what stood in the way, and whether it only warns (a model file
// outside the folder) or reports a failure.
struct RadiusNotice
{
    QString message;
    bool warning = false;
};
RadiusNotice applyRadius(const RadiusPlan& plan, const QString& mdlFile, const QString& aircraftFolder);

} // namespace WriteBack
