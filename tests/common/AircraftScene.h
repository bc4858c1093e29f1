#pragma once

#include "MainWindowFixture.h"
#include "shared/MessageBox.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class frm_Main;

// An aircraft folder of a test with its aircraft.cfg and other files, and a
// main window started on it. Every message box is answered with its first
// button unless the test scripts `answers` otherwise.
namespace testutil {

using Files = QMap<QString, QByteArray>;

class AircraftScene
{
public:
    // `cfg` null: no aircraft.cfg. `files` are paths below the temporary root.
    explicit AircraftScene(const QByteArray& cfg, const Files& files = {},
                           const QString& folderName = QStringLiteral("Plane"));
    virtual ~AircraftScene();

    // Starts the window on the folder with the confirm and backup options given.
    frm_Main& start(bool confirm = false, bool autoBackup = false);
    frm_Main& window() { return *m_window; }

    QString root() const { return m_tmp.path(); }
    QString folder() const { return m_folder; }
    QString cfgPath() const { return m_folder + QStringLiteral("/aircraft.cfg"); }
    QByteArray cfg() const;
    QString file(const QString& name) const { return m_folder + u'/' + name; }

    msgbox::ScriptedAnswers answers;

private:
    QTemporaryDir m_tmp;
    QString m_folder;
    std::unique_ptr<MainWindowFixture> m_fixture;
    frm_Main* m_window = nullptr;
};

} // namespace testutil
