// The folder load and the editor reset of the main window.
#include "mainwindow/frm_Main.h"

#include "editing/frm_RightClick.h"
#include "mainwindow/FolderLoad.h"
#include "mainwindow/widgets/DescriptionEdit.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/DriveList.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "mainwindow/widgets/VbColors.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"
#include "shared/RuntimeError.h"
#include "shared/modSettings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

namespace {

void setFieldText(QLineEdit* box, const QString& text, quint32 colour)
{
    box->setText(text);
    setBackColor(box, vbColor(colour));
}

} // namespace

void frm_Main::ResetValues()
{
    if (bLoading)
        return;
    // Every field gets its colour here, whatever it had. A batch goes through
    // its folders without them: the load of the folder it returns to at the
    // end colours them again, so only that one is ever seen.
    const bool paint = !globals::gbBatchValidate;
    const auto colour = [paint](QWidget* w, quint32 c) {
        if (paint)
            setBackColor(w, vbColor(c));
    };
    runtimeerror::runHandler(QStringLiteral("ResetValues"), [this, &colour] {
        ui.ListView1->clearRows();
        ui.txt_WingSpan_Org->clear();
        ui.txt_WingSpan_New->clear();
        for (QLineEdit* box : {ui.txt_Title, ui.txt_atc_ParkingCodes, ui.txt_ui_CreatedBy, ui.txt_ui_TypeRole,
                               ui.txt_ui_Manufacturer, ui.txt_ui_Type, ui.txt_ui_Variation, ui.txt_atc_Id,
                               ui.txt_atc_Flight_Number, ui.txt_atc_Airline, ui.txt_atc_Model,
                               ui.txt_general_atc_model, ui.txt_general_atc_type}) {
            box->setText(QString());
            colour(box, vbcolor::Grey);
        }
        ui.txt_FSXVersion->clear();
        ui.txt_FS9Radius->clear();
        ui.txt_FS9Radius->setReadOnly(true);
        colour(ui.txt_FS9Radius, vbcolor::Grey);
        colour(ui.txt_WingSpan_New, vbcolor::LightYellow);
        colour(ui.picCombo, vbcolor::Grey);
        colour(ui.lblSelections, vbcolor::Grey);
        for (int b = 0; b < 5; ++b) {
            for (QLineEdit* box : {ui.txt_Exit_0[b], ui.txt_Exit_1[b], ui.txt_Exit_2[b]})
                box->clear();
            for (QLineEdit* box : {ui.txt_Exit_0[b], ui.txt_Exit_1[b], ui.txt_Exit_2[b]})
                colour(box, vbcolor::Grey);
        }
        for (int i = 0; i < ui.txt_effects.size(); ++i) {
            ui.txt_effects[i]->setText(QString());
            colour(ui.txt_effects[i], vbcolor::White);
            ui.chk_Effect[i]->setChecked(false);
        }
        ui.lblSelections->clear();
        ui.cmd_ParkingCodes->setEnabled(false);
        ui.cmdDropDown->setEnabled(false);
        ui.txt_Jetways->setText(QStringLiteral("Jetways possible: no"));
        colour(ui.txt_Jetways, vbcolor::Red);
        for (QCheckBox* box : {ui.chk_Exit_0, ui.chk_Exit_1, ui.chk_Exit_2, ui.chk_atc_heavy})
            box->setChecked(false);
        ui.chk_atc_heavy->setEnabled(false);
        sMdlFile.clear();
        iEffect = -1;
        ui.clearAircraftTypeOptions();
        for (QRadioButton* opt : {ui.opt_ac_Normal, ui.opt_ac_Helicopter, ui.opt_ac_AI, ui.opt_ac_Nok})
            opt->setEnabled(false);
        ui.txt_CurrentModel->clear();
        ui.txt_CurrentTexture->clear();
        ui.txt_CurrentAirfile->clear();
        m_shownRow = -1;
        ui.txt_Description->clear();
        sAirFile.clear();
        ui.combo_Texture->clear();
        ui.combo_Model->clear();
        ui.combo_Airfile->clear();
        {
            const QSignalBlocker quiet(ui.lst_Airfile);
            ui.lst_Airfile->clear();
        }
        for (int i = 0; i < ui.lstParking->count(); ++i)
            ui.lstParking->item(i)->setCheckState(Qt::Unchecked);
    });
}

void frm_Main::showFolderStatus(bool cfgExists)
{
    const QColor white = paletteWhite();
    if (!cfgExists) {
        SetStatusPanel(8, QStringLiteral("AC Folder"), paletteRed(), white);
        ui.mnuvalidateAll->setEnabled(true);
        setFieldText(ui.txt_Jetways, QStringLiteral("Jetways possible: n/a"), vbcolor::Grey);
        return;
    }
    SetStatusPanel(9, QStringLiteral("AC Status: OK"), paletteGreen(), white);
    SetStatusPanel(8, QStringLiteral("AC Folder"), paletteGreen(), white);
    // "Upwards" needs a parent on the same volume: not at a volume's root.
    ui.cmd_DirUp->setEnabled(folderPath() != u"/" && folderPath() != ui.Drive1->drive());
}

void frm_Main::Dir1_Change()
{
    sDescriptions.clear();
    if (bLoading || m_inLoad)
        return;
    const QScopedValueRollback<bool> loading(m_inLoad, true);
    runtimeerror::runHandler(QStringLiteral("Dir1_Change"), [this] {
        ResetValues();
        sExit0Comment.clear();
        sExit1Comment.clear();
        sExit2Comment.clear();
        ui.cmd_DirUp->setEnabled(false);

        // A batch window's run loads folder after folder to validate it and
        // ends with the folder it started from: only that load is ever seen.
        // Its folders skip the grid's selection, the entry's fields and the
        // file lists, keeping what validation and the next load read.
        const bool unseen = globals::gbBatchValidate && m_keepBatchReports;
        const QString folder = folderPath();
        // A folder opened anew may hold what a write of an earlier run, ended
        // half-way, left behind.
        if (folder != m_leftoversClearedIn) {
            FolderLoad::removeLeftovers(folder);
            m_leftoversClearedIn = folder;
        }
        // Each row goes to the grid as it is read; the grid was emptied above
        // and nothing sees it before the load ends.
        const auto addRow = [this](FolderLoad::GridRow&& row) {
            QStringList texts;
            texts.reserve(1 + FolderLoad::kSubItems);
            texts.append(std::move(row.text));
            for (QString& s : row.subItems)
                texts.append(std::move(s));
            ui.ListView1->addRow(texts);
        };
        const FolderLoad::Result r = [&] {
            try {
                return FolderLoad::load(folder, oIni, !unseen, addRow);
            } catch (...) {
                // A load that fails half-way shows no rows.
                ui.ListView1->clearRows();
                throw;
            }
        }();
        showFolderStatus(r.cfgExists);
        const QColor white = paletteWhite();

        m_cfgReadError = r.cfgError;
        if (!r.cfgError.isEmpty()) {
            // An aircraft.cfg that cannot be read is not an empty one: say so
            // (a batch run records it instead of asking).
            SetStatusPanel(9, QStringLiteral("AC Status: NOK"), paletteRed(), white);
            if (!globals::gbBatchValidate)
                msgbox::MsgBox(QStringLiteral("The file:") + r.cfgPath + msgbox::vbCrLf + msgbox::vbCrLf +
                               QStringLiteral(" could not be read. ") + r.cfgError,
                           msgbox::vbOKOnly | msgbox::vbCritical);
        }
        if (r.cfgExists) {
            sSections = r.sections;
            lSectionCount = static_cast<qint32>(sSections.size());
            if (r.wingSpanOrg)
                ui.txt_WingSpan_Org->setText(*r.wingSpanOrg);
            QString* comments[] = {&sExit0Comment, &sExit1Comment, &sExit2Comment};
            const QList<QLineEdit*>* boxes[] = {&ui.txt_Exit_0, &ui.txt_Exit_1, &ui.txt_Exit_2};
            for (int e = 0; e < 3; ++e) {
                const auto& exit = r.exits[static_cast<size_t>(e)];
                if (!exit)
                    continue;
                for (int b = 0; b < 5; ++b) {
                    if (exit->boxes[static_cast<size_t>(b)])
                        (*boxes[e])[b]->setText(*exit->boxes[static_cast<size_t>(b)]);
                }
                *comments[e] = exit->comment;
            }
            if (r.jetwaysPossible)
                setFieldText(ui.txt_Jetways, QStringLiteral("Jetways possible: yes"), vbcolor::BrightGreen);
            if (r.generalAtcModel)
                ui.txt_general_atc_model->setText(*r.generalAtcModel);
            if (r.generalAtcType)
                ui.txt_general_atc_type->setText(*r.generalAtcType);
            for (int i = 0; i < ui.txt_effects.size(); ++i) {
                const auto& effect = r.effects[static_cast<size_t>(i)];
                if (!effect)
                    continue;
                ui.txt_effects[i]->setText(effect->file);
                ui.chk_Effect[i]->setChecked(effect->once);
            }
            sDescriptions = r.descriptions;
            if (r.statusNok)
                SetStatusPanel(9, QStringLiteral("AC Status: NOK"), paletteRed(), white);
            sAirFile = r.airFile;
        }

        ReadAirFile();

        const int rows = ui.ListView1->rowCount();
        const bool hasRows = rows > 0;
        for (QAction* item : {ui.mnuCFG, ui.mnuDelKeys, ui.mnuSortKeys, ui.mnuRenumber, ui.mnuValidate})
            item->setEnabled(hasRows);
        ui.mnuvalidateAll->setEnabled(!hasRows);
        for (int e = 0; e < 3; ++e)
            txt_Exit_Change(e);

        if (hasRows) {
            if (!unseen) {
                for (QLineEdit* box : {ui.txt_general_atc_model, ui.txt_general_atc_type, ui.txt_WingSpan_New})
                    setBackColor(box, vbColor(vbcolor::White));
                for (const QList<QLineEdit*>* exit : {&ui.txt_Exit_0, &ui.txt_Exit_1, &ui.txt_Exit_2}) {
                    for (QLineEdit* box : *exit)
                        setBackColor(box, vbColor(vbcolor::White));
                }
            }
            if (globals::gbBatchValidate)
                modSettings::HoldPath(folder);
            else
                modSettings::SavePath(folder);

            if (!unseen)
                ui.ListView1->selectRow(0);
            rightClick()->mnuDelete->setText(QStringLiteral("&Delete [fltsim.0]"));
            if (!unseen)
                showCurrentFiles(0);
            ui.StatusBar1->setPanelText(10, QString::number(rows) + QStringLiteral(" aircraft variations defined"));
        } else {
            ui.ListView1->selectRow(-1);
            rightClick()->mnuDelete->setText(QStringLiteral("&Delete [fltsim.x]"));
            if (r.cfgError.isEmpty())
                SetStatusPanel(9, QStringLiteral("AC Status: n/a"), paletteGrey(), white);
            ui.StatusBar1->setPanelText(10, QStringLiteral("0 aircraft variations defined"));
        }
        // The last column takes its content's width; one the user hid stays hidden.
        if (!unseen && ui.ListView1->columnWidth(ListView::ColumnCount - 1) != 0)
            ui.ListView1->autoSizeColumn(ListView::ColumnCount - 1);
        if (hasRows && m_loadShowsEntry && unseen) {
            keepFirstEntryState();
        } else if (hasRows && m_loadShowsEntry) {
            ui.ListView1->selectRow(0);
            m_inLoad = false; // the display below belongs to this load
            ListView1_DblClick();
            m_inLoad = true;
        }
        if (unseen) {
            // The first air file as a click on the list would take it.
            if (!r.airItems.isEmpty()) {
                sAirFile = r.airItems.first();
                ReadAirFile();
            }
            ui.SSTab1->setEnabled(hasRows);
            return;
        }

        ui.combo_Texture->addItems(r.textureItems);
        ui.combo_Model->addItems(r.modelItems);
        for (QComboBox* combo : {ui.combo_Texture, ui.combo_Model})
            combo->setCurrentIndex(-1);
        ui.combo_Airfile->addItems(r.airItems);
        ui.combo_Airfile->setCurrentIndex(-1);
        {
            const QSignalBlocker quiet(ui.lst_Airfile);
            ui.lst_Airfile->addItems(r.airItems);
            if (ui.lst_Airfile->count() > 0)
                ui.lst_Airfile->setCurrentRow(0);
        }
        // Selecting the first file is a click on it: the type buttons show
        // the type of the file the list highlights.
        if (ui.lst_Airfile->count() > 0)
            lst_Airfile_Click();

        ui.SSTab1->setEnabled(hasRows);
    });
}

void frm_Main::Drive1_Change()
{
    if (!ui.Dir1->setPath(ui.Drive1->drive())) {
        // The folder list stays where it was; so do the drive list and the editor.
        msgbox::MsgBox(QStringLiteral("The drive ") + ui.Drive1->drive() + QStringLiteral(" could not be opened."),
                       msgbox::vbOKOnly | msgbox::vbCritical);
        const QSignalBlocker block(ui.Drive1);
        ui.Drive1->setDrive(folderPath());
        return;
    }
    ResetValues();
    ui.mnuCFG->setEnabled(ui.ListView1->rowCount() > 0);
    // The reset emptied the grid: without an entry the editor cannot be used.
    ui.SSTab1->setEnabled(ui.ListView1->rowCount() > 0);
}
