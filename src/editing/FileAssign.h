#pragma once

#include "editing/CfgWrites.h"

#include <QList>
#include <QString>

// Assigning a texture folder, a model folder and an .air file to one entry
// ("&3. Update" beside the three drop-down lists).
namespace FileAssign {

// Whether the button can be used: at least one of the lists holds a choice.
bool anyChoice(const QString& texture, const QString& model, const QString& airFile);

// The keys written into `section` for the lists' texts, in the order texture,
// model, sim. A list without a choice writes nothing; "<default>" for a
// texture or model is written as one blank, which reads back as "<default>".
// `occurrence` picks the copy of a section name that stands more than once.
QList<CfgWrites::KeyWrite> plan(const QString& section, const QString& texture, const QString& model,
                                const QString& airFile, int occurrence = 0);

} // namespace FileAssign
