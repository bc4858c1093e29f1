// Quick ways to an aircraft folder: one level up, the simulation-object
// folders of FSX and the two simulators' aircraft roots. Each only moves the
// drive and folder lists; the folder list's change loads the folder.
#include "mainwindow/frm_Main.h"

#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/DriveList.h"
#include "platform/PathResolver.h"
#include "shared/MessageBox.h"

#include <QComboBox>

namespace {

// Error numbers and texts of a folder change that fails.
constexpr int kDeviceUnavailable = 68;
constexpr int kPathNotFound = 76;

QString afterLastSlash(const QString& path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

void goToSimulatorFolder(frm_Main& w, const QString& path, const QString& message)
{
    if (w.bLoading)
        return;
    if (path.isEmpty() || !platform::paths::folderExists(path)) {
        msgbox::MsgBox(message, msgbox::vbOKOnly | msgbox::vbCritical);
        return;
    }
    w.ui.Drive1->setDrive(path);
    w.ui.Dir1->setPath(path);
    if (w.ui.combo_SimFolder->isVisibleTo(&w))
        w.ui.combo_SimFolder->setCurrentIndex(-1);
}

} // namespace

void frm_Main::cmd_DirUp_Click()
{
    const QString path = ui.Dir1->path();
    const qsizetype cut = path.lastIndexOf(u'/');
    if (cut < 0)
        return;
    const QString name = path.mid(cut + 1);
    ui.Dir1->setPath(path.left(cut + 1));
    // Highlight the folder just left, so the next one is a step away.
    for (int i = 0; i < ui.Dir1->listCount(); ++i) {
        if (afterLastSlash(ui.Dir1->listPath(i)) == name)
            ui.Dir1->setListIndex(i);
    }
}

void frm_Main::combo_SimFolder_Click()
{
    const int i = ui.combo_SimFolder->currentIndex();
    if (i < 0 || i >= sSimFolders.size())
        return;
    const QString folder = sSimFolders.at(i);
    int error = 0;
    QString description;
    if (!ui.Drive1->setDrive(folder)) {
        error = kDeviceUnavailable;
        description = QStringLiteral("Device unavailable");
    } else if (!ui.Dir1->setPath(folder)) {
        error = kPathNotFound;
        description = QStringLiteral("Path not found");
    }
    if (error != 0)
        msgbox::MsgBox(QStringLiteral("Change directory was not successful. Error: ") + QString::number(error) +
                           msgbox::vbCrLf + description,
                       msgbox::vbOKOnly | msgbox::vbCritical);
}

void frm_Main::opt_FS9_Click()
{
    goToSimulatorFolder(*this, sFS9AircraftPath,
                        QStringLiteral("The FS9 path information in your registry is incorrect. The aircraft "
                                       "folder could not be found."));
}

void frm_Main::opt_FSX_Click()
{
    goToSimulatorFolder(*this, sFSXSimObjectsPath,
                        QStringLiteral("The FSX path information in your registry is incorrect. The SimObject "
                                       "folder could not be found."));
}
