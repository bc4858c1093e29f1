// The parking-type drop-down and the parking-code picker of the entry editor.
#include "mainwindow/frm_Main.h"

#include "editing/frm_ParkingCode.h"
#include "editing/ParkingCodes.h"
#include "shared/AppInfo.h"
#include "shared/MessageBox.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

void frm_Main::cmdDropDown_Click()
{
    if (ui.lstParking->isVisible() || bDropClosedByButton) {
        ui.lstParking->hide();
        bDropClosedByButton = false;
        return;
    }
    // Ticks set here are no clicks: the caption stays as it is until the user
    // ticks or unticks a type, so a caption the list cannot show is kept.
    for (int item : ParkingCodes::typesToTick(ui.lblSelections->text())) {
        if (item < ui.lstParking->count())
            ui.lstParking->item(item)->setCheckState(Qt::Checked);
    }
    ui.lstParking->show();
    ui.lstParking->setFocus();
}

void frm_Main::lstParking_Click()
{
    QStringList items;
    QList<bool> ticked;
    for (int i = 0; i < ui.lstParking->count(); ++i) {
        items.append(ui.lstParking->item(i)->text());
        ticked.append(ui.lstParking->item(i)->checkState() == Qt::Checked);
    }
    ui.lblSelections->setText(ParkingCodes::captionFor(items, ticked));
}

void frm_Main::lstParking_LostFocus()
{
    // A list that is hidden already was closed by the program, and the focus
    // only drifted on; only a list the user leaves for the button lets the
    // button's click that follows close the drop-down.
    const bool wasOpen = ui.lstParking->isVisible();
    ui.lstParking->hide();
    const QWidget* now = QApplication::focusWidget();
    bDropClosedByButton = wasOpen && now && now->objectName() == QLatin1String("cmdDropDown");
}

void frm_Main::Form_Click()
{
    ui.lstParking->hide();
}

QString frm_Main::parkingCodeDatabase() const
{
    // Beside the program (a build folder), else in the installed data folder.
    return ParkingCodes::locateDatabase(
        sParkingCodeFolder, {QCoreApplication::applicationDirPath(), appinfo::installedDataFolder()});
}

void frm_Main::cmd_ParkingCodes_Click()
{
    const QString database = parkingCodeDatabase();
    if (database.isEmpty()) {
        msgbox::MsgBox(QStringLiteral("The file 'parkingspecs.mdb' is missing in your installation folder. "
                                      "Re-install Fernquill or copy the file back to fix this issue."),
                       msgbox::vbOKOnly | msgbox::vbCritical);
        return;
    }
    frm_ParkingCode picker(ui.txt_atc_ParkingCodes, this);
    picker.Form_Load(QFileInfo(database).absolutePath(), database);
    picker.exec();
}
