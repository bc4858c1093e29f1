// What the commands that change aircraft.cfg share.
#include "mainwindow/frm_Main.h"

#include "editing/AircraftCfg.h"
#include "editing/CfgWrites.h"
#include "editing/SectionOps.h"
#include "mainwindow/widgets/ListView.h"
#include "platform/FileIo.h"
#include "shared/MessageBox.h"
#include "shared/RuntimeError.h"

#include <QApplication>
#include <QScopedValueRollback>

void frm_Main::makeBackupOrStop(const QString& cfgPath)
{
    if (const auto backup = AircraftCfg::makeBackupOnce(cfgPath); !backup)
        throw runtimeerror::RuntimeError(runtimeerror::kPathFileAccess, backup.error);
}

void frm_Main::tellUnwritten(const QString& file, const QString& error)
{
    msgbox::MsgBox(CfgWrites::unwrittenMessage(file, error), msgbox::vbOKOnly | msgbox::vbCritical);
}

void frm_Main::reloadAndShow(int row)
{
    {
        const QScopedValueRollback<bool> quiet(m_loadShowsEntry, false);
        Dir1_Change();
    }
    // A row the file no longer holds: the first, as a load shows it.
    ui.ListView1->selectRow(row < ui.ListView1->rowCount() ? row : 0);
    ListView1_DblClick();
    QApplication::processEvents();
}

bool frm_Main::cfgWritableOrTell()
{
    if (const auto r = platform::fileio::writeTarget(oIni.path(), folderPath()); !r) {
        tellUnwritten(oIni.path(), r.error);
        return false;
    }
    return true;
}

bool frm_Main::confirmedAndCurrent()
{
    if (!cfgWritableOrTell())
        return false;
    if (bConfirm && !msgbox::askedYes(QStringLiteral("Are you sure?")))
        return false;
    return gridMatchesFile();
}

bool frm_Main::readyToWrite()
{
    if (!confirmedAndCurrent())
        return false;
    if (bAutoBackup)
        makeBackupOrStop(oIni.path());
    return true;
}

int frm_Main::selectedRowOrTell(const QString& purpose)
{
    const int row = ui.ListView1->selectedRow();
    if (row < 0)
        msgbox::MsgBox(QStringLiteral("You must select the [fltsim.x] entry which should be ") + purpose,
                       msgbox::vbOKOnly | msgbox::vbInformation);
    return row;
}

int frm_Main::fieldsRow()
{
    // The selection may have moved on by a single click since the entry was shown.
    const int row = m_shownRow >= 0 ? m_shownRow : ui.ListView1->selectedRow();
    if (row < 0)
        throw runtimeerror::RuntimeError(runtimeerror::kInvalidCall,
                                         QStringLiteral("No [fltsim.x] entry is selected"));
    return row;
}

AircraftCfg::EntryRef frm_Main::entryOfRow(int row)
{
    return CfgWrites::entryOfRow(oIni, row, ui.ListView1->rowText(row, 0));
}

bool frm_Main::gridMatchesFile()
{
    QStringList rows;
    for (int r = 0; r < ui.ListView1->rowCount(); ++r)
        rows.append(ui.ListView1->rowText(r, 0));
    const QString mismatch = SectionOps::gridMismatch(oIni.path(), rows);
    if (mismatch.isEmpty())
        return true;
    tellUnwritten(oIni.path(), mismatch);
    return false;
}
