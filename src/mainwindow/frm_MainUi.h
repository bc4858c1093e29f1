#pragma once

#include <QList>
#include <QMap>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMainWindow;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class QWidget;

class DescriptionEdit;
class DirList;
class DriveList;
class ListView;
class StatusPanels;

// The controls of the main window frm_Main. setupUi creates every control with
// its objectName set to the control's name (array elements as "name[index]",
// e.g. "txt_Exit_0[3]"), its caption, tooltip, designed enabled and read-only
// state, and lays them out. The window's behaviour is wired elsewhere.
struct frm_MainUi
{
    // The window may be resized to any size; between these percentages of its
    // designed size (the same for width and height) every caption keeps its
    // whole text at the font the resizing gives.
    static constexpr int kSmallestScale = 75;
    static constexpr int kLargestScale = 200;

    // Folder navigation (left)
    DriveList* Drive1 = nullptr;
    DirList* Dir1 = nullptr;
    QPushButton* cmd_DirUp = nullptr;
    QRadioButton* opt_FS9 = nullptr;
    QRadioButton* opt_FSX = nullptr;
    QComboBox* combo_SimFolder = nullptr;

    // The entry grid and the tab control of the entry editor
    ListView* ListView1 = nullptr;
    QTabWidget* SSTab1 = nullptr;

    // Entry fields
    QLineEdit* txt_Title = nullptr;
    QFrame* picCombo = nullptr;
    QLabel* lblSelections = nullptr;
    QToolButton* cmdDropDown = nullptr;
    QListWidget* lstParking = nullptr;
    QLineEdit* txt_atc_ParkingCodes = nullptr;
    QPushButton* cmd_ParkingCodes = nullptr;
    QLineEdit* txt_ui_CreatedBy = nullptr;
    QLineEdit* txt_ui_TypeRole = nullptr;
    QLineEdit* txt_ui_Manufacturer = nullptr;
    QLineEdit* txt_ui_Type = nullptr;
    QLineEdit* txt_ui_Variation = nullptr;
    QLineEdit* txt_atc_Id = nullptr;
    QLineEdit* txt_atc_Flight_Number = nullptr;
    QLineEdit* txt_atc_Airline = nullptr;
    QCheckBox* chk_atc_heavy = nullptr;
    QLineEdit* txt_atc_Model = nullptr;
    QLineEdit* txt_FSXVersion = nullptr;
    QLineEdit* txt_FS9Radius = nullptr;
    QPushButton* cmd_cfg_Update = nullptr;

    // The nine "A" buttons: apply one field to all (or all ticked) entries
    QPushButton* cmd_Update_all_atc_Parking_types = nullptr;
    QPushButton* cmd_Update_all_atc_Parking_codes = nullptr;
    QPushButton* cmd_Update_all_ui_Createdby = nullptr;
    QPushButton* cmd_Update_all_ui_Typerole = nullptr;
    QPushButton* cmd_Update_all_ui_Manufacturer = nullptr;
    QPushButton* cmd_Update_all_ui_Type = nullptr;
    QPushButton* cmd_Update_all_atc_airline = nullptr;
    QPushButton* cmd_Update_all_atc_heavy = nullptr;
    QPushButton* cmd_Update_all_atc_model = nullptr;

    // Effects (slots 0 to 10) and description
    QList<QLabel*> Label20;
    QList<QLineEdit*> txt_effects;
    QList<QCheckBox*> chk_Effect;
    DescriptionEdit* txt_Description = nullptr;
    QPushButton* cmd_Effect_Update = nullptr;
    QLabel* lbl_EffectsHint = nullptr;

    // Exits (boxes 0 to 4 each), jetways, wing span, [general]
    QList<QLineEdit*> txt_Exit_0;
    QList<QLineEdit*> txt_Exit_1;
    QList<QLineEdit*> txt_Exit_2;
    QCheckBox* chk_Exit_0 = nullptr;
    QCheckBox* chk_Exit_1 = nullptr;
    QCheckBox* chk_Exit_2 = nullptr;
    QLineEdit* txt_Jetways = nullptr;
    QLabel* lbl_WingSpanOrg = nullptr;
    QLineEdit* txt_WingSpan_Org = nullptr;
    QLineEdit* txt_WingSpan_Org_C1 = nullptr;
    QLineEdit* txt_WingSpan_Org_C2 = nullptr;
    QLineEdit* txt_FSX_Spot_Org = nullptr;
    QLabel* lbl_WingSpanNew = nullptr;
    QLineEdit* txt_WingSpan_New = nullptr;
    QLineEdit* txt_WingSpan_New_C1 = nullptr;
    QLineEdit* txt_WingSpan_New_C2 = nullptr;
    QLineEdit* txt_FSX_Spot_New = nullptr;
    QLineEdit* txt_general_atc_model = nullptr;
    QLineEdit* txt_general_atc_type = nullptr;

    // Texture, model and air file of the entry; the aircraft type of an .air file
    QComboBox* combo_Texture = nullptr;
    QComboBox* combo_Model = nullptr;
    QComboBox* combo_Airfile = nullptr;
    QLineEdit* txt_CurrentTexture = nullptr;
    QLineEdit* txt_CurrentModel = nullptr;
    QLineEdit* txt_CurrentAirfile = nullptr;
    QPushButton* cmd_Associate = nullptr;
    QGroupBox* fra_AirType = nullptr;
    QListWidget* lst_Airfile = nullptr;
    QRadioButton* opt_ac_Normal = nullptr;
    QRadioButton* opt_ac_Helicopter = nullptr;
    QRadioButton* opt_ac_AI = nullptr;
    QRadioButton* opt_ac_Nok = nullptr;

    StatusPanels* StatusBar1 = nullptr;

    // Menu bar, in display order
    QMenu* mnuFile = nullptr;
    QAction* mnuCFG = nullptr;
    QAction* mnuSep1 = nullptr;
    QAction* mnuQuit = nullptr;
    QMenu* mnuSettings = nullptr;
    QAction* mnuConfirm = nullptr;
    QAction* mnuAutoBackup = nullptr;
    QAction* line1 = nullptr;
    QAction* mnu_AutoUpdate = nullptr;
    QAction* mnuResizable = nullptr;
    QAction* mnuRememberLastPath = nullptr;
    QAction* mnuToolTips = nullptr;
    QAction* mnuEditor = nullptr;
    QAction* line2 = nullptr;
    QAction* mnuAnalyzeOptions = nullptr;
    QAction* mnuDataGrid = nullptr;
    QMenu* mnuTools = nullptr;
    QAction* mnuDelKeys = nullptr;
    QAction* mnuRenumber = nullptr;
    QAction* mnuSortKeys = nullptr;
    QAction* mnuValidate = nullptr;
    QAction* line3 = nullptr;
    QAction* mnuvalidateAll = nullptr;
    QMenu* mnuAbout = nullptr;
    QAction* mnu_Manual = nullptr;
    QAction* mnuSep5 = nullptr;
    QMap<int, QAction*> Zib; // menu array; only element 1 exists
    QAction* mnu_AppUpdate = nullptr;
    QAction* mnuSep2 = nullptr;
    QAction* mnuAboutProg = nullptr;

    void setupUi(QMainWindow* window);

    // The four aircraft-type options form one exclusive group, which on its own
    // never lets the last selected button go. This unselects all four.
    void clearAircraftTypeOptions();

private:
    void setupNavigation(QWidget* parent);
    void setupMenus(QMainWindow* window);
    QWidget* setupEntryPage();
    QWidget* setupEffectsPage();
    QWidget* setupValuesPage();
    QWidget* setupFilesPage();
};

// Unselects an option button even when it is the selected one of an exclusive
// group (the others stay unselected).
void clearOptionButton(QRadioButton* button);
