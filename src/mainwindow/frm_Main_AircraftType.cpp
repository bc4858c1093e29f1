// The aircraft type of the air file an entry uses: reading it into the three
// type buttons and switching it when one of them is clicked.
#include "mainwindow/frm_Main.h"

#include "editing/AirTypeSwitch.h"
#include "mainwindow/AirMdlFormat.h"
#include "platform/PathResolver.h"
#include "shared/MessageBox.h"

#include <QListWidget>
#include <QRadioButton>

#include <array>

namespace {

// The type buttons in the order of the type index (1 Normal, 2 Helicopter, 3 AI).
std::array<QRadioButton*, 3> typeButtons(const frm_MainUi& ui)
{
    return {ui.opt_ac_Normal, ui.opt_ac_Helicopter, ui.opt_ac_AI};
}

} // namespace

void frm_Main::ReadAirFile()
{
    if (!sAirFile.isEmpty())
        sAirFile = platform::paths::resolveUnder(folderPath(), QString(sAirFile + QStringLiteral(".air")));
    if (sAirFile.isEmpty() || !platform::paths::regularFileExists(sAirFile)) {
        bAirReady = true;
        return;
    }
    bAirReady = false;
    const airmdl::AirRead read = airmdl::readAirType(sAirFile);
    const bool found = read.status == airmdl::AirStatus::Found;
    m_airTypeShownFile = found ? sAirFile : QString();
    if (!found)
        ui.opt_ac_Nok->setChecked(true);
    const std::array<QRadioButton*, 3> buttons = typeButtons(ui);
    for (QRadioButton* opt : buttons)
        opt->setEnabled(found);
    if (found) {
        const int index = airmdl::airTypeIndex(read.record.type);
        if (index > 0) {
            buttons[static_cast<size_t>(index - 1)]->setChecked(true);
            iAirType = index;
        }
    }
    bAirReady = true;
}

void frm_Main::lst_Airfile_Click()
{
    const QList<QListWidgetItem*> selected = ui.lst_Airfile->selectedItems();
    if (selected.isEmpty()) {
        for (QRadioButton* opt : {ui.opt_ac_AI, ui.opt_ac_Helicopter, ui.opt_ac_Normal, ui.opt_ac_Nok})
            opt->setEnabled(false);
        return;
    }
    for (QRadioButton* opt : {ui.opt_ac_AI, ui.opt_ac_Helicopter, ui.opt_ac_Normal})
        opt->setEnabled(true);
    // Only decides which file the type buttons show and switch; the entry's
    // sim key stays as it is.
    sAirFile = selected.first()->text();
    ReadAirFile();
}

void frm_Main::opt_ac_Normal_Click()
{
    switchAirType(AirTypeSwitch::Member::Normal);
}
void frm_Main::opt_ac_Helicopter_Click()
{
    switchAirType(AirTypeSwitch::Member::Helicopter);
}
void frm_Main::opt_ac_AI_Click()
{
    switchAirType(AirTypeSwitch::Member::AI);
}

void frm_Main::showRememberedAirType()
{
    bAirReady = false;
    if (iAirType >= 1 && iAirType <= 3)
        typeButtons(ui)[static_cast<size_t>(iAirType - 1)]->setChecked(true);
    bAirReady = true;
}

void frm_Main::switchAirType(AirTypeSwitch::Member member)
{
    if (!bAirReady)
        return;
    const AirTypeSwitch::MemberInfo& m = AirTypeSwitch::info(member);
    if (bConfirm && !msgbox::askedYes(QString::fromLatin1(m.question))) {
        showRememberedAirType();
        return;
    }
    const AirTypeSwitch::Outcome outcome =
        AirTypeSwitch::write(sAirFile, m_airTypeShownFile, folderPath(), m.type);
    switch (outcome.status) {
    case AirTypeSwitch::Status::Written:
        // The clicked button shows the new type; a later "No" must go back
        // to it, not to the type the file held before.
        if (outcome.airTypeIndex > 0)
            iAirType = outcome.airTypeIndex;
        return;
    case AirTypeSwitch::Status::Missing:
    case AirTypeSwitch::Status::NotShown:
    case AirTypeSwitch::Status::NoTypeRecord:
        // Nothing was written: the buttons go back to the type last read.
        showRememberedAirType();
        return;
    case AirTypeSwitch::Status::Outside:
        showRememberedAirType();
        msgbox::MsgBox(AirTypeSwitch::outsideMessage(sAirFile), msgbox::vbOKOnly | msgbox::vbExclamation);
        return;
    case AirTypeSwitch::Status::Failed:
        break;
    }
    msgbox::MsgBox(AirTypeSwitch::failureMessage(sAirFile), msgbox::vbOKOnly | msgbox::vbCritical);
    Dir1_Change();
}
