#pragma once

#include "mainwindow/AirMdlFormat.h"

#include <QString>

// Finding an entry's model file: the model folder named by its `model` value,
// the "normal=" line of that folder's model.cfg, and the .mdl file it names.
namespace ModelLookup {

enum class Outcome
{
    NoModelValue,  // the grid's model column is empty: nothing is looked up
    NoModelCfg,    // the folder has no model.cfg
    NoModelFile,   // model.cfg names a file that does not exist
    Unreadable,    // the model file exists but its header cannot be read
    Decoded,       // header read: see `header`
};

struct Result
{
    Outcome outcome = Outcome::NoModelValue;
    QString modelFolder; // the model folder (Linux path)
    QString modelName;   // from "normal=", without ".mdl"
    QString mdlFile;     // the .mdl path built from the name
    airmdl::MdlHeader header;
    QString error;
    QString cfgReadError; // model.cfg exists but could not be read: why (the lookup went on without its lines)
    bool cfgEmpty = false; // model.cfg was read and holds no lines at all
};

// The model folder of a grid model column: folder/model for "<default>",
// else folder/model.<value>, every '/' or '\' a separator, matched without
// regard to case.
QString modelFolder(const QString& aircraftFolder, const QString& modelColumn);

// The model name a model.cfg's lines give: the first line whose first seven
// characters are "normal=" (letter case ignored) names it; the text after the
// '=' is trimmed and a final ".mdl" (any case) removed. Empty when no line
// matches (an empty file included).
QString modelNameFromLines(const QStringList& lines);

// The whole lookup for an entry.
Result lookup(const QString& aircraftFolder, const QString& modelColumn);

} // namespace ModelLookup
