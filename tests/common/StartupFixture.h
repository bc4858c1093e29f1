#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

// What the tests of the main window's start-up share: the list separator of
// the stored options, the panel colours, a small aircraft folder, and a
// settings store that stays out of the user's own.
namespace testutil {

// The separator of list-valued options.
inline const QString kBar = QStringLiteral("\u00A6");

inline const QColor kGreen{0, 128, 0};
inline const QColor kRed{128, 0, 0};
inline const QColor kWhite{255, 255, 255};

// `count` copies of `flag`, joined by kBar.
QString flags(const QString& flag, int count);

// An aircraft folder with two entries and no model, so nothing else is looked up.
QString makeAircraft(const QString& folder);

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

private:
    QTemporaryDir m_config;
};

} // namespace testutil
