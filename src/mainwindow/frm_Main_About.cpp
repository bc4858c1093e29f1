// Program information and the update check of the main window.
#include "mainwindow/frm_Main.h"

#include "about/frm_About.h"
#include "about/frm_Update.h"
#include "about/UpdateCheck.h"
#include "shared/AppInfo.h"
#include "shared/MessageBox.h"
#include "shared/modSettings.h"
#include "shared/modSystem.h"

#include <QAction>
#include <QDate>
#include <QEvent>
#include <QMetaObject>

bool frm_Main::event(QEvent* event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return handled;
}

void frm_Main::Form_Activate()
{
    // A stored value that is no number leaves the menu item as it is.
    if (const std::optional<bool> on = modSettings::GetSwitch(QStringLiteral("AutoUpdate")))
        ui.mnu_AutoUpdate->setChecked(*on);
    bAutoUpdate = ui.mnu_AutoUpdate->isChecked();
    // A build without update addresses has nothing to check against.
    if (!bAutoUpdate || !appinfo::updateAddressesSet())
        return;

    const int week = updatecheck::weekOfYear(QDate::currentDate());
    const QString lastCheck = modSettings::GetSetting(QStringLiteral("LastCheck"),
                                                      modSettings::DefaultFor(QStringLiteral("LastCheck")));
    // Checked once a week even when the week cannot be stored: the activation
    // after the window closes must not open it again.
    if (!updatecheck::checkDue(lastCheck, week) || m_checkedWeek == week)
        return;
    m_checkedWeek = week;
    // The week is stored before the window opens: the activation that follows
    // its closing finds this week and starts no second check.
    modSettings::SaveSetting(QStringLiteral("LastCheck"), QString::number(week));
    // Opened once the activation has been handled, not inside it.
    QMetaObject::invokeMethod(this, &frm_Main::mnu_AppUpdate_Click, Qt::QueuedConnection);
}

frm_Update* frm_Main::updateWindow()
{
    if (!m_updateWindow)
        m_updateWindow = new frm_Update(this);
    return m_updateWindow;
}

frm_About* frm_Main::aboutWindow()
{
    if (!m_aboutWindow)
        m_aboutWindow = new frm_About(this);
    return m_aboutWindow;
}

void frm_Main::mnu_AppUpdate_Click()
{
    if (!appinfo::updateAddressesSet()) {
        msgbox::MsgBox(QStringLiteral("This build of Fernquill has no update address, so it cannot check "
                                      "for updates."),
                       msgbox::vbOKOnly | msgbox::vbInformation);
        return;
    }
    frm_Update* window = updateWindow();
    if (window->isVisible())
        return;
    window->showModal();
}

void frm_Main::mnuAboutProg_Click()
{
    frm_About* window = aboutWindow();
    window->Form_Load();
    window->show();
    window->raise();
    window->activateWindow();
}

void frm_Main::Zib_Click(int Index)
{
    if (Index == 1)
        modSystem::OpenURL(appinfo::downloadPageUrl());
}
