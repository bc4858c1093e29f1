// The effects tab: writing the description and the eleven effects back, and
// the effect fields' focus colours and pop-up menu operations.
#include "mainwindow/frm_Main.h"

#include "editing/AircraftCfg.h"
#include "editing/EffectsUpdate.h"
#include "editing/frm_RightClick.h"
#include "mainwindow/widgets/DescriptionEdit.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/VbColors.h"
#include "shared/MessageBox.h"
#include "shared/RuntimeError.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>

void frm_Main::cmd_Effect_Update_Click()
{
    runtimeerror::runHandler(QStringLiteral("cmd_Effect_Update_Click"), [this] {
        const int row = fieldsRow();
        if (!readyToWrite())
            return;

        EffectsUpdate::Request request;
        const AircraftCfg::EntryRef entry = entryOfRow(row);
        request.section = entry.section;
        request.occurrence = entry.occurrence;
        request.description = EffectsUpdate::changedDescription(ui.txt_Description->text(), sDescriptionOrg);
        for (int i = 0; i < AircraftCfg::kEffectSlotCount; ++i)
            request.effects[static_cast<size_t>(i)] = {ui.txt_effects.at(i)->text(),
                                                       ui.chk_Effect.at(i)->isChecked()};

        const CfgWrites::Outcome outcome = EffectsUpdate::write(oIni, request);
        if (!outcome.ok) {
            // The edits stay in the fields; reloading now would throw them away.
            tellUnwritten(outcome.file, outcome.error);
            return;
        }

        reloadAndShow(row);
    });
}

void frm_Main::EffectDefault()
{
    if (!EffectsUpdate::isSlot(iEffect))
        return;
    const AircraftCfg::EffectValue effect = EffectsUpdate::defaultEffect(iEffect);
    ui.txt_effects.at(iEffect)->setText(effect.file);
    ui.chk_Effect.at(iEffect)->setChecked(effect.once);
}

void frm_Main::EffectDisable()
{
    // The menu sets the slot before it opens; a call without one does nothing.
    if (!EffectsUpdate::isSlot(iEffect))
        return;
    ui.txt_effects.at(iEffect)->clear();
    ui.chk_Effect.at(iEffect)->setChecked(false);
}

void frm_Main::EffectSelect()
{
    if (!EffectsUpdate::isSlot(iEffect)) {
        msgbox::MsgBox(
            QStringLiteral("Please click in a effect textbox first to select the effect you want to update"),
            msgbox::vbOKOnly | msgbox::vbInformation);
        return;
    }
    const int slot = iEffect;
    msgbox::FileDialog dialog;
    dialog.filter = QStringLiteral("Effect (*.fx) | *.fx");
    // The dialog opens in the folder of aircraft.cfg.
    dialog.initialPath = oIni.path();
    const QString chosen = msgbox::GetOpenFileName(this, dialog);
    if (chosen.isEmpty())
        return;
    ui.txt_effects.at(slot)->setText(EffectsUpdate::effectNameFromPath(chosen));
}

void frm_Main::txt_effects_GotFocus(int index)
{
    iEffect = index;
    for (int i = 0; i < ui.txt_effects.size(); ++i)
        setBackColor(ui.txt_effects[i], vbColor(i == index ? vbcolor::LightOrange : vbcolor::White));
}

void frm_Main::txt_effects_MouseDown(int index, Qt::MouseButton button, QPoint pos)
{
    if (button != Qt::RightButton)
        return;
    iEffect = index;
    rightClick()->popUp(rightClick()->mnuThisEffects, ui.txt_effects.at(index)->mapToGlobal(pos));
}
