#pragma once

#include "mainwindow/ModelLookup.h"
#include "mainwindow/frm_MainUi.h"
#include "shared/clsIniFile.h"

#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

class QComboBox;
class frm_About;
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

    // --- entry display --------------------------------------------------------
    void ListView1_Click();
    void ListView1_DblClick();
    void ListView1_MouseDown(Qt::MouseButton button, QPoint pos);
    void ResizeGrid();
    void ReadAirFile();

    // --- write-back and wing span ---------------------------------------------
    void cmd_cfg_Update_Click();
    void txt_WingSpan_Org_Change();
    void txt_WingSpan_Org_C1_Change();
    void txt_WingSpan_Org_C2_Change();
    void txt_WingSpan_New_Change();
    void txt_WingSpan_New_C1_Change();
    void txt_WingSpan_New_C2_Change();
    void txt_Exit_Change(int exit);

    // --- validation and text files -------------------------------------------
    void mnuValidate_Click();
    void mnuCFG_Click();
    // In a batch run with both airlines.cfg files found: use FS9's (the batch
    // window's simulator choice).
    void setBatchSimulatorChoice(bool fs9) { m_batchChoosesFS9 = fs9; }

    // --- status bar -------------------------------------------------------------
    void SetStatusPanel(int panel, const QString& text, const QColor& back, const QColor& fore, int alignment = 2);
    void StatusBar1_PanelDblClick(int panel);

    // --- input rules, effects and description ----------------------------------

    // --- update-all commands, file assignment, aircraft-type switch ------------

    // --- deleting, renumbering, sorting, removing keys, pop-up menu ------------

    // --- parking types and codes -------------------------------------------------

    // --- batch validation and report options ------------------------------------

    // --- navigation, menus, options, tooltips, column options, resizing ---------

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
    QPointer<frm_About> m_aboutWindow;
    QPointer<frm_Update> m_updateWindow;

public:

    // The grid's pop-up menu window, created on first use.
    frm_RightClick* rightClick();

    // The folder shown in Dir1.
    QString folderPath() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
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
    void openTextFile(int editorMode, const QString& path);

    QPointer<frm_RightClick> m_rightClick;
    bool m_batchChoosesFS9 = false;
    // The grid row whose entry the edit fields show (-1 for none): the
    // write-back writes the fields into that entry, wherever the selection
    // has moved since.
    int m_shownRow = -1;
    // Why the aircraft.cfg of the folder shown could not be read (empty when it could).
    QString m_cfgReadError;
    // A folder load or entry display is running (guards against re-entry).
    bool m_inLoad = false;
};

// The one main window of the program (null before it is created).
frm_Main* mainWindow();
