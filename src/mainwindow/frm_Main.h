#pragma once

#include "editing/AirTypeSwitch.h"
#include "editing/AircraftCfg.h"
#include "editing/UpdateAll.h"
#include "editing/SectionOps.h"
#include "mainwindow/ModelLookup.h"
#include "mainwindow/frm_MainUi.h"
#include "shared/clsIniFile.h"

#include <QByteArray>
#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <optional>
#include <utility>

class BalloonTip;
class ControlEvents;
class QComboBox;
class frm_About;
class frm_Remove;
class frm_RightClick;
class frm_Update;

// The main window: the entry grid of the aircraft folder shown in Dir1, the
// entry editor and the status bar. It owns the state of the loaded folder and
// of the options; other windows reach it directly, as they always have. The
// handlers keep the names of the events they answer and leave the file work
// to the modules of their subsystem.
class frm_Main : public QMainWindow
{
    Q_OBJECT

public:
    explicit frm_Main(QWidget* parent = nullptr);
    ~frm_Main() override;

    frm_MainUi ui;

    // ==== main window ============================================================

    // --- state of the loaded folder and the options -----------------------
    clsIniFile oIni;
    clsIniFile oIniFsx;
    QStringList sSections;
    qint32 lSectionCount = 0;
    QStringList sKeys;
    qint32 lKeyCount = 0;
    QString sDecimalSep;
    QString sExit0Comment;
    QString sExit1Comment;
    QString sExit2Comment;
    bool bDropClosedByButton = false;
    bool bConfirm = true;
    bool bAutoBackup = true;
    bool bAutoUpdate = true;
    bool bResizable = false;
    QString sMdlFile;
    QString vRadiusOrg;
    bool bAirReady = false;
    QString sAirFile;
    int iAirType = 0;
    QString sFS9AircraftPath;
    QString sFSXSimObjectsPath;
    QString sFsxCfgPath;
    QStringList sSimFolders;
    int iEffect = -1;
    bool bLoading = false;
    QString sManualFile;
    QStringList sScanList;
    QString sScanAccum;
    QString sRegPrefix;
    int iLastPanel = 0;
    QStringList sDescriptions;
    QString sDescriptionOrg;

    // --- start-up and lifecycle ---------------------------------------------
    void Form_Load();
    void RunChange();
    static void CheckIfExistInCombo(QComboBox* combo, const QString& value, bool& found);
    void ManualAttach(const QString& folder);

    // --- folder load and reset ----------------------------------------------
    void Dir1_Change();
    void Drive1_Change();
    void ResetValues();
    // The folder shown in Dir1.
    QString folderPath() const;

    // --- entry display --------------------------------------------------------
    void ListView1_Click();
    void ListView1_DblClick();
    void ListView1_MouseDown(Qt::MouseButton button, QPoint pos);
    // The grid menu's delete item names the ticked rows or the selected row.
    void setDeleteCaption();
    void ResizeGrid();
    // The grid's pop-up menu window, created on first use.
    frm_RightClick* rightClick();

    // --- status bar -------------------------------------------------------------
    void SetStatusPanel(int panel, const QString& text, const QColor& back, const QColor& fore,
                        int alignment = 2);
    void StatusBar1_PanelDblClick(int panel);

    // --- navigation, menus, options, tooltips, column options, resizing ---------
    // The window's balloon tooltips (null when the option is off).
    QPointer<BalloonTip> hTip;
    void cmd_DirUp_Click();
    void combo_SimFolder_Click();
    void opt_FS9_Click();
    void opt_FSX_Click();
    void mnuConfirm_Click();
    void mnuAutoBackup_Click();
    void mnu_AutoUpdate_Click();
    void mnuResizable_Click();
    void mnuRememberLastPath_Click();
    void mnuToolTips_Click();
    void mnuEditor_Click();
    void mnuQuit_Click();
    void mnu_Manual_Click();
    void mnuDataGrid_Click();
    void StatusBar1_MouseMove(Qt::MouseButtons buttons, QPoint pos);
    static void UpdateTipText(BalloonTip* tip, QWidget* tool, const QString& text);
    void Form_Resize();
    // Resizable with minimise and maximise boxes, or fixed at its size, as
    // bResizable says.
    void applyResizableStyle();
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // ==== editing ================================================================

    // --- write-back and wing span ---------------------------------------------
    void cmd_cfg_Update_Click();
    void txt_WingSpan_Org_Change();
    void txt_WingSpan_Org_C1_Change();
    void txt_WingSpan_Org_C2_Change();
    void txt_WingSpan_New_Change();
    void txt_WingSpan_New_C1_Change();
    void txt_WingSpan_New_C2_Change();
    void txt_Exit_Change(int exit);

    // --- input rules, effects and description ----------------------------------
    // Key filters of the edit fields: each gets the typed character code and
    // may replace it; 0 drops the key. `index` is the box of the exit (0 to 4).
    void txt_Exit_0_KeyPress(int index, int& KeyAscii);
    void txt_Exit_1_KeyPress(int index, int& KeyAscii);
    void txt_Exit_2_KeyPress(int index, int& KeyAscii);
    void txt_FS9Radius_KeyPress(int& KeyAscii);
    void txt_WingSpan_New_KeyPress(int& KeyAscii);
    void txt_atc_ParkingCodes_KeyPress(int& KeyAscii);
    // Focus guards: the grid takes the focus while there is nothing to edit
    // (no entry shown / no rows), or always (the read-only exit ticks).
    void GotFocus_NeedsEntry();
    void GotFocus_NeedsRows();
    void GotFocus_ToGrid();
    // "&2. Update": the description of the shown entry and the eleven effects.
    void cmd_Effect_Update_Click();
    // The effects pop-up menu's operations on the current effect slot (iEffect).
    void EffectDefault();
    void EffectDisable();
    void EffectSelect();
    void txt_effects_GotFocus(int index);
    void txt_effects_MouseDown(int index, Qt::MouseButton button, QPoint pos);
    // Hooks the key, focus and mouse handlers above to their controls.
    void wireInputRules();

    // --- update-all commands ------------------------------------------------------
    void cmd_Update_all_atc_airline_Click();
    void cmd_Update_all_atc_heavy_Click();
    void cmd_Update_all_atc_model_Click();
    void cmd_Update_all_atc_Parking_codes_Click();
    void cmd_Update_all_atc_Parking_types_Click();
    void cmd_Update_all_ui_Createdby_Click();
    void cmd_Update_all_ui_Manufacturer_Click();
    void cmd_Update_all_ui_Typerole_Click();
    void cmd_Update_all_ui_Type_Click();

    // --- file assignment ----------------------------------------------------------
    void combo_Texture_Change();
    void combo_Texture_Click();
    void combo_Model_Change();
    void combo_Model_Click();
    void combo_Airfile_Change();
    void combo_Airfile_Click();
    void cmd_Associate_Click();

    // --- aircraft type --------------------------------------------------------------
    void lst_Airfile_Click();
    void ReadAirFile();
    void opt_ac_Normal_Click();
    void opt_ac_Helicopter_Click();
    void opt_ac_AI_Click();

    // --- deleting, renumbering, sorting, removing keys, pop-up menu ------------
    void FlightSimSectionDelete();
    void FlightSimSectionRenumber();
    // Renumbers the [fltsim.N] sections, dropping the entries of the given
    // grid rows in the same rewrite. False when nothing was written (the user
    // has been told why).
    bool Renumber_fltsim(const QList<int>& dropRows = {});
    void DoSortKeys();
    static void SortArray(QList<QStringList>& table, int column);
    void mnuDelKeys_Click();
    // The remove-keys window, created on first use.
    frm_Remove* removeKeysWindow();

    // --- parking types and codes -------------------------------------------------
    void cmdDropDown_Click();
    void lstParking_Click();
    void lstParking_LostFocus();
    void Form_Click();
    void cmd_ParkingCodes_Click();
    // The folder parkingspecs.mdb is looked for in; empty means the program
    // folder, else the installed data folder (tests point it at a folder of
    // their own).
    QString sParkingCodeFolder;
    // The parkingspecs.mdb that is read (empty when there is none).
    QString parkingCodeDatabase() const;

    // ==== validation =============================================================

    // --- validation and text files -------------------------------------------
    void mnuValidate_Click();
    void mnuCFG_Click();
    // In a batch run with both airlines.cfg files found: use FS9's (the batch
    // window's simulator choice).
    void setBatchSimulatorChoice(bool fs9) { m_batchChoosesFS9 = fs9; }
    // While kept, a batch-mode validation leaves its report here instead of
    // in the file: the batch window takes each folder's report (none when
    // that validation made none).
    void keepBatchReports(bool keep) { m_keepBatchReports = keep; }
    std::optional<QByteArray> takeBatchReport() { return std::exchange(m_batchReport, std::nullopt); }

    // --- batch validation and report options ------------------------------------
    void mnuvalidateAll_Click();
    void mnuAnalyzeOptions_Click();
    // Shows a text file in the internal editor or the desktop's program, as
    // the "Editor" option says (the batch report).
    void ShowTextFile(const QString& path);

    // ==== about ==================================================================

    // --- program information and update check ----------------------------------
    // The window became the active one: the weekly update check.
    void Form_Activate();
    void mnuAboutProg_Click();
    void mnu_AppUpdate_Click();
    void Zib_Click(int Index);
    // The About and update windows, created on first use.
    frm_About* aboutWindow();
    frm_Update* updateWindow();
    bool event(QEvent* event) override;

private:
    // ==== main window ============================================================

    void closeEvent(QCloseEvent* event) override;
    void wire();
    void applyStartupOptions();
    void applySimulators();
    void setupGridColumns();
    void openStartFolder();
    void findManual();
    bool readSwitchInto(QAction* item, const QString& key);
    void showFolderStatus(bool cfgExists);
    void showCurrentFiles(int row);
    void showModel(const ModelLookup::Result& model, bool* endDisplay);
    // A batch's folder load in place of showing the first entry: only what
    // that display leaves behind past the next load (the model header, whose
    // version validation reads, the air file's type, the description as it
    // would be shown).
    void keepFirstEntryState();
    // The row's model and air file, shown as the entry display shows them;
    // true when the display ends there (the model could not be read).
    bool showModelAndAirFile(int row);

    QPointer<frm_RightClick> m_rightClick;
    // The grid row whose entry the edit fields show (-1 for none): the
    // write-back writes the fields into that entry, wherever the selection
    // has moved since.
    int m_shownRow = -1;
    // Why the aircraft.cfg of the folder shown could not be read (empty when it could).
    QString m_cfgReadError;
    // A folder load or entry display is running (guards against re-entry).
    bool m_inLoad = false;
    // The folder whose leftover temporary files the last load cleared away.
    QString m_leftoversClearedIn;
    // Whether a folder load shows its first entry (a reload that shows its
    // own row afterwards shows only that one).
    bool m_loadShowsEntry = true;

    // ==== editing ================================================================

    // Shared by the commands that change aircraft.cfg: the one-time backup (a
    // failure stops the command through the runtime-error box), the message
    // for a change that could not be written, and the check that the grid
    // still stands for the file's entries (the user is told when not).
    void makeBackupOrStop(const QString& cfgPath);
    void tellUnwritten(const QString& file, const QString& error);
    bool gridMatchesFile();
    // Whether aircraft.cfg may be written: writes stay inside the folder
    // shown, so a link that leads out of it is refused (the user is told,
    // naming the file) before the command asks, copies or writes anything.
    bool cfgWritableOrTell();
    // Checks that the file may be written, asks "Are you sure?" (when
    // confirming is on) and checks that the grid still matches the file;
    // false when the command stops there.
    bool confirmedAndCurrent();
    // The same, then makes the backup (when that option is on).
    bool readyToWrite();
    // The selected grid row, or -1 after telling the user to select the entry
    // that should be `purpose` ("deleted", "updated").
    int selectedRowOrTell(const QString& purpose);
    // The grid row of the entry the edit fields belong to: the one last shown,
    // else the selected one; none at all stops the command as an invalid call.
    int fieldsRow();
    // The section (and which copy of its name) that grid row `row` stands for.
    AircraftCfg::EntryRef entryOfRow(int row);
    // After a write: loads the folder again and shows the row once more (only
    // that row: an entry's messages come once).
    void reloadAndShow(int row);
    bool applyRewrite(const SectionOps::Rewrite& plan);

    void updateAll(UpdateAll::Member member);
    QString updateAllValue(UpdateAll::Member member) const;
    void enableAssociate();
    void switchAirType(AirTypeSwitch::Member member);
    void showRememberedAirType();
    // The .air file whose type record the option buttons show (set by
    // ReadAirFile): the switch writes into no other file.
    QString m_airTypeShownFile;
    QPointer<frm_Remove> m_frmRemove;
    // Context of the connection to the application's focus changes: it goes
    // with the window's own members, before the widgets are torn down, so the
    // focus moves of that teardown never reach a half-destroyed window.
    QObject m_parkingFocusContext;
    // The key handlers of the edit fields (made by wireInputRules).
    QPointer<ControlEvents> m_controlEvents;

    // ==== validation =============================================================

    // Shows a text file in the internal editor (giEditorMode `editorMode`)
    // or, with that option off, in the desktop's program for it. A file the
    // editor cannot read is reported by the editor, or, with
    // `readFailureRaises`, raised to the calling handler's runtime-error box.
    void openTextFile(int editorMode, const QString& path, bool readFailureRaises = false);
    bool m_batchChoosesFS9 = false;
    bool m_keepBatchReports = false;
    std::optional<QByteArray> m_batchReport;

    // ==== about ==================================================================

    QPointer<frm_About> m_aboutWindow;
    QPointer<frm_Update> m_updateWindow;
    // The week of the last update check this run (the store may refuse it).
    int m_checkedWeek = -1;
};

// The one main window of the program (null before it is created).
frm_Main* mainWindow();
