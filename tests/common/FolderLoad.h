#pragma once

#include "mainwindow/widgets/VbColors.h"

#include "BoxRecorder.h"
#include "ConfigHome.h"
#include "MainWindowFixture.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QAction;
class QComboBox;
class QLineEdit;
class QListWidget;
class frm_Main;

// The folder-load tests of the main window: one started window per test
// case, folders made in a temporary root and loaded into it, and no box
// allowed on the way.
namespace testutil {

// The colours a load leaves on panels and fields.
namespace colors {
inline const QColor kPanelGreen(0, 128, 0);
inline const QColor kPanelRed(128, 0, 0);
inline const QColor kPanelGrey(128, 128, 128);
inline const QColor kWhite = vbColor(0xFFFFFF);
inline const QColor kGrey = vbColor(0xE0E0E0);
inline const QColor kLightYellow = vbColor(0xC0FFFF);
inline const QColor kJetwayRed = vbColor(255);
inline const QColor kJetwayGreen = vbColor(0xFF00);
} // namespace colors

// The text with Windows line ends, as aircraft.cfg files have them.
QByteArray crlf(const char* text);

// An FS9 model header: tag "MDL9" and the radius byte at offset 28.
QByteArray mdl9(quint8 radius);

// Three entries with every grid key, the aircraft-wide sections, a model that
// can be read, an .air file and texture and model folders.
QString makeFullAircraft(const QString& folder);

// A folder holding only the given aircraft.cfg.
QString makeCfg(const QString& folder, const QByteArray& cfg);

QStringList itemsOf(const QComboBox* combo);
QStringList itemsOf(const QListWidget* list);

// The fifteen exit boxes.
QList<QLineEdit*> exitBoxes(frm_Main& w);
// The thirteen entry fields the reset greys.
QList<QLineEdit*> entryFields(frm_Main& w);
// The menu items that need an entry.
QList<QAction*> entryMenus(frm_Main& w);

// The base of a folder-load test class: a started window for every test case,
// a temporary root for its folders, and every box that comes a failure of
// the case.
class FolderLoadTest : public QObject
{
    Q_OBJECT

private slots:
    // English numbers.
    void initTestCase();
    void init();
    void cleanup();

protected:
    frm_Main& window() { return m_fixture->window(); }
    QString root() const { return m_tmp->path(); }
    BoxRecorder& boxes() { return *m_boxes; }
    // Forgets the boxes asserted so far.
    void resetBoxes() { m_boxes.reset(new BoxRecorder); }

    // Loads a folder the way the folder list does; the one shown is run again.
    void load(const QString& folder);

private:
    OwnConfigHome m_config;
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<BoxRecorder> m_boxes;
    std::unique_ptr<MainWindowFixture> m_fixture;
};

} // namespace testutil
