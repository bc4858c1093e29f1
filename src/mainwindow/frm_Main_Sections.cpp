// Deleting and renumbering entries, sorting their keys and the remove-keys
// window, as the main menu and the grid's pop-up menu start them.
#include "mainwindow/frm_Main.h"

#include "editing/AircraftCfg.h"
#include "editing/frm_Remove.h"
#include "editing/SectionOps.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"
#include "shared/RuntimeError.h"

// Backs the file up (when the option is on) and writes a planned rewrite;
// a plan that failed or a refused write is told and changes nothing.
bool frm_Main::applyRewrite(const SectionOps::Rewrite& plan)
{
    if (!plan.ok) {
        tellUnwritten(plan.file, plan.error);
        return false;
    }
    if (!cfgWritableOrTell())
        return false;
    if (bAutoBackup)
        makeBackupOrStop(oIni.path());
    if (const auto r = SectionOps::apply(plan); !r.ok) {
        tellUnwritten(plan.file, r.error);
        return false;
    }
    return true;
}

void frm_Main::FlightSimSectionDelete()
{
    runtimeerror::runHandler(QStringLiteral("FlightSimSectionDelete"), [this] {
        const int selected = selectedRowOrTell(QStringLiteral("deleted"));
        if (selected < 0)
            return;
        if (!cfgWritableOrTell())
            return;
        // The copy is made before any question is asked.
        if (bAutoBackup)
            makeBackupOrStop(oIni.path());

        const QList<int> ticked = ui.ListView1->tickedRows();
        QList<int> drop;
        if (ticked.size() > 1) {
            if (bConfirm && !msgbox::askedYes(
                                QStringLiteral("About to delete several [fltsim.x] sections. Are you sure?")))
                return;
            drop = ticked;
        } else if (ticked.size() == 1) {
            const int row = ticked.first();
            if (bConfirm &&
                !msgbox::askedYes(QStringLiteral("About to delete section [") + QString::number(row) +
                                  QStringLiteral("] = ") + ui.ListView1->rowText(row, 1) +
                                  QStringLiteral(". Are you sure?")))
                return;
            drop = ticked;
        } else {
            if (bConfirm &&
                !msgbox::askedYes(QStringLiteral("About to delete section [") +
                                  ui.ListView1->rowText(selected, 0) + QStringLiteral("] = ") +
                                  ui.ListView1->rowText(selected, 1) + QStringLiteral(". Are you sure?")))
                return;
            drop = {selected};
        }
        if (Renumber_fltsim(drop))
            Dir1_Change();
    });
}

void frm_Main::FlightSimSectionRenumber()
{
    runtimeerror::runHandler(QStringLiteral("FlightSimSectionRenumber"), [this] {
        if (!cfgWritableOrTell())
            return;
        if (bConfirm && !msgbox::askedYes(QStringLiteral("Are you sure?")))
            return;
        if (Renumber_fltsim())
            Dir1_Change();
    });
}

bool frm_Main::Renumber_fltsim(const QList<int>& dropRows)
{
    bool written = false;
    runtimeerror::runHandler(QStringLiteral("Renumber_fltsim"), [&] {
        QList<SectionOps::EntryRef> drop;
        for (int row : dropRows)
            drop.append({row, ui.ListView1->rowText(row, 0)});
        // Deleting and renumbering land in one rewrite, or nothing changes.
        written = applyRewrite(SectionOps::planRenumber(oIni.path(), drop));
    });
    return written;
}

void frm_Main::DoSortKeys()
{
    runtimeerror::runHandler(QStringLiteral("DoSortKeys"), [this] {
        if (!applyRewrite(SectionOps::planSortKeys(oIni.path())))
            return;
        // No reload: the grid shows the entries as they were until the next load.
        msgbox::MsgBox(QStringLiteral("The keys in the [fltsim.x] sections have been sorted"),
                       msgbox::vbOKOnly | msgbox::vbInformation);
    });
}

void frm_Main::SortArray(QList<QStringList>& table, int column)
{
    SectionOps::SortArray(table, column);
}

void frm_Main::mnuDelKeys_Click()
{
    bool writable = false;
    const bool ready = runtimeerror::runHandler(QStringLiteral("mnuDelKeys_Click"), [this, &writable] {
        writable = cfgWritableOrTell();
        if (writable && bAutoBackup)
            makeBackupOrStop(oIni.path());
    });
    if (ready && writable)
        removeKeysWindow()->showModal(); // the window reloads the folder itself when it closes
}

frm_Remove* frm_Main::removeKeysWindow()
{
    if (!m_frmRemove)
        m_frmRemove = new frm_Remove(this);
    return m_frmRemove;
}
