// The main window's option toggles and the menu items that only start
// something: quitting, the manual, the column options window.
#include "mainwindow/frm_Main.h"

#include "mainwindow/frm_ListViewOptions.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"
#include "shared/modSettings.h"
#include "shared/modSystem.h"

#include <QAction>
#include <QLayout>

namespace {

// An option lives in its flag and in its menu item's check mark; a toggle
// inverts both and stores the new state at once. A menu click has already
// moved the check mark, so the mark follows the flag rather than flipping.
void toggleOption(QAction* item, bool& flag, const QString& key)
{
    flag = !flag;
    item->setChecked(flag);
    if (!modSettings::SaveSwitch(key, flag))
        msgbox::MsgBox(QStringLiteral("The setting could not be saved to ") + modSettings::SettingsFilePath() +
                           QStringLiteral(". It applies until the program ends."),
                       msgbox::vbOKOnly | msgbox::vbCritical);
}

} // namespace

void frm_Main::mnuConfirm_Click()
{
    toggleOption(ui.mnuConfirm, bConfirm, QStringLiteral("Update"));
}

void frm_Main::mnuAutoBackup_Click()
{
    toggleOption(ui.mnuAutoBackup, bAutoBackup, QStringLiteral("AutoBackup"));
}

void frm_Main::mnu_AutoUpdate_Click()
{
    toggleOption(ui.mnu_AutoUpdate, bAutoUpdate, QStringLiteral("AutoUpdate"));
}

void frm_Main::mnuResizable_Click()
{
    toggleOption(ui.mnuResizable, bResizable, QStringLiteral("Resizeable"));
    applyResizableStyle();
}

void frm_Main::mnuRememberLastPath_Click()
{
    toggleOption(ui.mnuRememberLastPath, globals::gbRememberPath, QStringLiteral("IsMerrow"));
}

void frm_Main::mnuToolTips_Click()
{
    // Windows set their tooltips up when they load: this one at the next start.
    toggleOption(ui.mnuToolTips, globals::gbToolTips, QStringLiteral("ToolTips"));
}

void frm_Main::mnuEditor_Click()
{
    toggleOption(ui.mnuEditor, globals::gbUseEditor, QStringLiteral("Editor"));
}

void frm_Main::applyResizableStyle()
{
    const bool shown = isVisible();
    // No minimum size: the controls shrink with the window however small it
    // gets, and the layouts must not set one of their own either.
    if (layout())
        layout()->setSizeConstraint(QLayout::SetNoConstraint);
    if (bResizable) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        setFixedSize(size());
    }
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowMinimizeButtonHint, bResizable);
    flags.setFlag(Qt::WindowMaximizeButtonHint, bResizable);
    if (flags != windowFlags()) {
        setWindowFlags(flags);
        // New window flags hide a shown window; the frame changes in place.
        if (shown)
            show();
    }
}

void frm_Main::mnuQuit_Click()
{
    // Ends the program the way closing the window does, so an open text
    // editor still asks about its unsaved changes.
    close();
}

void frm_Main::mnu_Manual_Click()
{
    modSystem::OpenWithDesktop(sManualFile);
}

void frm_Main::mnuDataGrid_Click()
{
    frm_ListViewOptions::showOptions(ui.ListView1, this);
}
