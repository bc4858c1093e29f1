// The entry display of the main window: a click, a double click and the
// right button on the grid, and the model header.
#include "mainwindow/frm_Main.h"

#include "editing/AircraftCfg.h"
#include "editing/CfgWrites.h"
#include "editing/frm_RightClick.h"
#include "mainwindow/FolderLoad.h"
#include "mainwindow/GridRules.h"
#include "mainwindow/ModelLookup.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/VbColors.h"
#include "platform/ProfileEngine.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"
#include "shared/RuntimeError.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QToolButton>

#include "mainwindow/widgets/DescriptionEdit.h"

namespace {

// Grid columns counted from 1, as the entry display names them.
enum Column
{
    ColTitle = 2,
    ColParkingTypes = 3,
    ColParkingCodes = 4,
    ColCreatedBy = 5,
    ColTypeRole = 6,
    ColManufacturer = 7,
    ColType = 8,
    ColVariation = 9,
    ColModel = 10,
    ColSim = 11,
    ColAtcId = 12,
    ColFlightNumber = 13,
    ColAirline = 14,
    ColHeavy = 15,
    ColAtcModel = 16,
};

} // namespace

void frm_Main::showCurrentFiles(int row)
{
    const platform::profile::Snapshot snapshot(oIni.path()); // one parse for the whole display
    const AircraftCfg::EntryRef entry = entryOfRow(row);
    const FolderLoad::CurrentFiles f = FolderLoad::currentFiles(oIni, entry.section, entry.occurrence);
    ui.txt_CurrentTexture->setText(f.texture);
    ui.txt_CurrentModel->setText(f.model);
    ui.txt_CurrentAirfile->setText(f.airFile);
}

void frm_Main::ListView1_Click()
{
    runtimeerror::runHandler(QStringLiteral("ListView1_Click"), [this] {
        if (ui.ListView1->rowCount() == 0)
            return;
        for (int i = 0; i < ui.lstParking->count(); ++i)
            ui.lstParking->item(i)->setCheckState(Qt::Unchecked);

        setDeleteCaption();
        const int row = ui.ListView1->selectedRow();
        if (row < 0)
            return;
        showCurrentFiles(row);

        const QString sim = ui.ListView1->rowText(row, ColSim - 1);
        const QSignalBlocker quiet(ui.lst_Airfile);
        ui.lst_Airfile->setCurrentRow(-1);
        for (int i = 0; i < ui.lst_Airfile->count(); ++i) {
            QListWidgetItem* item = ui.lst_Airfile->item(i);
            const bool match = item->text() == sim;
            item->setSelected(match);
            if (match)
                ui.lst_Airfile->setCurrentRow(i);
        }
        // The list's click shows the type of the row's air file, or disables
        // the type buttons when the folder has no air file of that name.
        lst_Airfile_Click();
        for (QComboBox* combo : {ui.combo_Texture, ui.combo_Model, ui.combo_Airfile})
            combo->setCurrentIndex(-1);
    });
}

void frm_Main::ListView1_DblClick()
{
    if (m_inLoad)
        return;
    const QScopedValueRollback<bool> showing(m_inLoad, true);
    runtimeerror::runHandler(QStringLiteral("ListView1_DblClick"), [this] {
        const int row = ui.ListView1->selectedRow();
        if (ui.ListView1->rowCount() == 0 || row < 0)
            return;
        const auto col = [this, row](int column) { return ui.ListView1->rowText(row, column - 1); };

        ui.txt_Title->setText(col(ColTitle));
        ui.lblSelections->setText(col(ColParkingTypes));
        ui.txt_atc_ParkingCodes->setText(col(ColParkingCodes));
        ui.txt_ui_CreatedBy->setText(col(ColCreatedBy));
        ui.txt_ui_TypeRole->setText(col(ColTypeRole));
        ui.txt_ui_Manufacturer->setText(col(ColManufacturer));
        ui.txt_ui_Type->setText(col(ColType));
        ui.txt_ui_Variation->setText(col(ColVariation));
        ui.txt_atc_Id->setText(col(ColAtcId));
        ui.txt_atc_Flight_Number->setText(col(ColFlightNumber));
        ui.txt_atc_Airline->setText(col(ColAirline));
        ui.txt_Description->setText(row < sDescriptions.size() ? sDescriptions[row] : QString());
        sDescriptionOrg = ui.txt_Description->text();
        ui.chk_atc_heavy->setEnabled(true);
        setBackColor(ui.lblSelections, vbColor(vbcolor::White));
        setBackColor(ui.picCombo, vbColor(vbcolor::White));
        ui.chk_atc_heavy->setChecked(AircraftCfg::atcHeavyTicked(col(ColHeavy)));
        ui.txt_atc_Model->setText(col(ColAtcModel));
        for (QWidget* box : std::initializer_list<QWidget*>{
                 ui.txt_Title, ui.txt_atc_ParkingCodes, ui.txt_ui_CreatedBy, ui.txt_ui_Manufacturer, ui.txt_ui_Type,
                 ui.txt_ui_Variation, ui.txt_atc_Id, ui.txt_atc_Flight_Number, ui.txt_atc_Airline, ui.txt_atc_Model,
                 ui.txt_ui_TypeRole, ui.txt_Description})
            setBackColor(box, vbColor(vbcolor::White));

        if (showModelAndAirFile(row))
            return;
        ui.cmd_ParkingCodes->setEnabled(true);
        ui.cmdDropDown->setEnabled(true);
        showCurrentFiles(row);
    });
}

void frm_Main::keepFirstEntryState()
{
    const QScopedValueRollback<bool> showing(m_inLoad, true);
    runtimeerror::runHandler(QStringLiteral("ListView1_DblClick"), [this] {
        sDescriptionOrg = DescriptionEdit::shownText(sDescriptions.isEmpty() ? QString() : sDescriptions[0]);
        showModelAndAirFile(0);
    });
}

bool frm_Main::showModelAndAirFile(int row)
{
    m_shownRow = row;
    const auto col = [this, row](int column) { return ui.ListView1->rowText(row, column - 1); };
    const ModelLookup::Result model = ModelLookup::lookup(folderPath(), col(ColModel));
    if (!model.cfgReadError.isEmpty()) // told by the reading procedure; the display goes on
        runtimeerror::showBox(runtimeerror::kPathFileAccess, model.cfgReadError, QStringLiteral("FileToArray"), 0);
    if (model.cfgEmpty && !globals::gbBatchValidate) {
        // No lines to search for the model's name: the display ends here.
        // Nothing of a model file was read for this entry, so the radius
        // fields are emptied and locked (nothing may be written back).
        bool ended = false;
        showModel(ModelLookup::Result{}, &ended);
        throw runtimeerror::RuntimeError(runtimeerror::kSubscriptOutOfRange);
    }
    bAirReady = false;
    sAirFile = col(ColSim);
    ReadAirFile();
    bAirReady = true;

    bool endDisplay = false;
    showModel(model, &endDisplay);
    return endDisplay;
}

void frm_Main::showModel(const ModelLookup::Result& m, bool* endDisplay)
{
    vRadiusOrg.clear();
    const QColor white = paletteWhite();

    // Only a model header read for this entry may be written back: on every
    // other path the fields are emptied and the radius locked.
    sMdlFile.clear();
    ui.txt_FSXVersion->clear();
    ui.txt_FS9Radius->clear();
    ui.txt_FS9Radius->setReadOnly(true);
    setBackColor(ui.txt_FS9Radius, vbColor(vbcolor::Grey));

    switch (m.outcome) {
    case ModelLookup::Outcome::NoModelValue:
        return;
    case ModelLookup::Outcome::NoModelCfg:
    case ModelLookup::Outcome::NoModelFile:
        SetStatusPanel(9, QStringLiteral("AC Status: NOK"), paletteRed(), white);
        return;
    case ModelLookup::Outcome::Unreadable:
        SetStatusPanel(9, QStringLiteral("AC Status: NOK"), paletteRed(), white);
        // A batch run asks nothing; validation reports the model as missing.
        if (!globals::gbBatchValidate)
            msgbox::MsgBox(QStringLiteral("The model file:") + m.mdlFile + msgbox::vbCrLf + msgbox::vbCrLf +
                           QStringLiteral(" could not be opened for write access. Please make sure that the sim "
                                          "is not running and no other program access this file."),
                       msgbox::vbOKOnly | msgbox::vbCritical);
        *endDisplay = true;
        return;
    case ModelLookup::Outcome::Decoded:
        break;
    }
    sMdlFile = m.mdlFile;
    ui.txt_FSXVersion->setText(m.header.version);
    ui.txt_FS9Radius->setText(m.header.radiusText);
    if (m.header.radiusEditable()) {
        vRadiusOrg = m.header.radiusText;
        ui.txt_FS9Radius->setReadOnly(false);
        setBackColor(ui.txt_FS9Radius, vbColor(vbcolor::White));
    } else {
        setBackColor(ui.txt_FS9Radius, vbColor(vbcolor::LightYellow));
    }
}

void frm_Main::setDeleteCaption()
{
    const int row = ui.ListView1->selectedRow();
    const QString rowText = row < 0 ? QString() : ui.ListView1->rowText(row, 0);
    rightClick()->mnuDelete->setText(GridRules::deleteCaption(ui.ListView1->tickedRows(), rowText));
}

void frm_Main::ListView1_MouseDown(Qt::MouseButton button, QPoint pos)
{
    if (ui.ListView1->rowCount() == 0 || button != Qt::RightButton)
        return;
    // The press has just selected the row under the pointer, and ticks may
    // have changed by keyboard since the last click: the delete item names
    // what it would delete now.
    setDeleteCaption();
    // pos is in the grid's own coordinates (header and frame included).
    rightClick()->popUp(rightClick()->mnuListView1, ui.ListView1->mapToGlobal(pos));
}

void frm_Main::ResizeGrid()
{
    const int columns = ui.ListView1->columnCount();
    for (int i = 0; i < columns - 1; ++i) {
        if (ui.ListView1->columnWidth(i) != 0)
            ui.ListView1->autoSizeColumn(i);
    }
    ui.ListView1->autoSizeColumn(columns - 1);
}
