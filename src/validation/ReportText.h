#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What both report files share: how their header line begins and how their
// lines are stored.
namespace ReportText {

// "Fernquill V.<major>.<minor>.<revision> - <date> <time> - "
QString headerPrefix(const QString& date, const QString& time);

// The lines in Windows-1252, each ending in CR LF. Characters Windows-1252
// lacks (a Linux file name may hold any) become '?', one byte each, so the
// line lengths stay right.
QByteArray encodeLines(const QStringList& lines);

} // namespace ReportText
