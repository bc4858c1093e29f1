// The four pages of the entry editor's tab control SSTab1.
#include "mainwindow/frm_MainUi.h"

#include "mainwindow/MainUiBuild.h"
#include "mainwindow/widgets/DescriptionEdit.h"
#include "shared/CaptionFit.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace mainui;

namespace {

constexpr int kUpdateAllWidth = 26;
constexpr int kNumberBoxWidth = 64;

QPushButton* updateAllButton(QWidget* parent, const QString& name, const QString& key)
{
    QPushButton* b = button(parent, name, QStringLiteral("A"),
                            QStringLiteral("Update all '") + key +
                                QStringLiteral("=' entries in this aircraft cfg with the current value"));
    b->setFixedWidth(kUpdateAllWidth);
    return b;
}

// The widest text a number box can show: a sign, 15 significant digits and
// a three-digit exponent.
const QString kWidestNumberText = QStringLiteral("-8.88888888888888E-308");

// The texts the program puts into a box: its room is kept wide enough for
// them whatever the window's size.
void fixedTexts(QLineEdit* box, const QStringList& texts)
{
    box->setProperty(captionfit::kFixedTexts, texts);
}

// A row of read-only or editable number boxes of one width; `texts` are the
// texts the box must show whole.
QLineEdit* numberBox(QWidget* parent, const QString& name, const QString& tip, bool readOnly,
                     const QStringList& texts = {kWidestNumberText})
{
    QLineEdit* box = lineEdit(parent, name, tip, readOnly);
    box->setFixedWidth(kNumberBoxWidth);
    fixedTexts(box, texts);
    return box;
}

} // namespace

QWidget* frm_MainUi::setupEntryPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("SSTab1_entry"));
    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(5);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(5, 1);
    grid->setColumnMinimumWidth(3, 12);

    const auto keyLabel = [&](const char* key, int row, int col) {
        grid->addWidget(label(page, QString::fromLatin1(key)), row, col);
    };

    keyLabel("title", 0, 0);
    txt_Title = lineEdit(page, QStringLiteral("txt_Title"));
    grid->addWidget(txt_Title, 0, 1, 1, 6);

    // atc_parking_types: a label in a frame with a small drop-down button; the
    // list itself floats over the window (frm_MainUi::setupUi).
    keyLabel("atc_parking_types", 1, 0);
    const QString typesTip =
        QStringLiteral("This represents the 'atc_parking_types=' entry in the current [fltsim.x] section");
    picCombo = new QFrame(page);
    picCombo->setObjectName(QStringLiteral("picCombo"));
    picCombo->setToolTip(typesTip);
    picCombo->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* comboLayout = new QHBoxLayout(picCombo);
    comboLayout->setContentsMargins(3, 1, 1, 1);
    comboLayout->setSpacing(2);
    lblSelections = label(picCombo, QString(), QStringLiteral("lblSelections"));
    lblSelections->setToolTip(typesTip);
    comboLayout->addWidget(lblSelections, 1);
    cmdDropDown = new QToolButton(picCombo);
    cmdDropDown->setObjectName(QStringLiteral("cmdDropDown"));
    cmdDropDown->setArrowType(Qt::DownArrow);
    cmdDropDown->setFixedSize(18, 18);
    cmdDropDown->setEnabled(false);
    comboLayout->addWidget(cmdDropDown);
    picCombo->setFixedHeight(txt_Title->sizeHint().height());
    grid->addWidget(picCombo, 1, 1);
    cmd_Update_all_atc_Parking_types = updateAllButton(
        page, QStringLiteral("cmd_Update_all_atc_Parking_types"), QStringLiteral("atc_parking_types"));
    grid->addWidget(cmd_Update_all_atc_Parking_types, 1, 2);

    keyLabel("atc_parking_codes", 2, 0);
    auto* codes = new QHBoxLayout;
    codes->setSpacing(2);
    txt_atc_ParkingCodes = lineEdit(
        page, QStringLiteral("txt_atc_ParkingCodes"),
        QStringLiteral("This represents the 'atc_parking_codes=' entry in the current [fltsim.x] section"));
    codes->addWidget(txt_atc_ParkingCodes, 1);
    cmd_ParkingCodes = button(page, QStringLiteral("cmd_ParkingCodes"), QStringLiteral("!"),
                              QStringLiteral("Select the parking codes from a list in an separate dialog"));
    cmd_ParkingCodes->setFixedWidth(kUpdateAllWidth);
    cmd_ParkingCodes->setEnabled(false);
    codes->addWidget(cmd_ParkingCodes);
    grid->addLayout(codes, 2, 1);
    cmd_Update_all_atc_Parking_codes = updateAllButton(
        page, QStringLiteral("cmd_Update_all_atc_Parking_codes"), QStringLiteral("atc_parking_codes"));
    grid->addWidget(cmd_Update_all_atc_Parking_codes, 2, 2);

    // Left column: the ui_ keys.
    struct Field
    {
        const char* key;
        QLineEdit** edit;
        const char* editName;
        QPushButton** all;
        const char* allName;
    };
    const Field left[] = {
        {"ui_createdby", &txt_ui_CreatedBy, "txt_ui_CreatedBy", &cmd_Update_all_ui_Createdby,
         "cmd_Update_all_ui_Createdby"},
        {"ui_typerole", &txt_ui_TypeRole, "txt_ui_TypeRole", &cmd_Update_all_ui_Typerole,
         "cmd_Update_all_ui_Typerole"},
        {"ui_manufacturer", &txt_ui_Manufacturer, "txt_ui_Manufacturer", &cmd_Update_all_ui_Manufacturer,
         "cmd_Update_all_ui_Manufacturer"},
        {"ui_type", &txt_ui_Type, "txt_ui_Type", &cmd_Update_all_ui_Type, "cmd_Update_all_ui_Type"},
        {"ui_variation", &txt_ui_Variation, "txt_ui_Variation", nullptr, nullptr},
    };
    int row = 3;
    for (const Field& f : left) {
        keyLabel(f.key, row, 0);
        *f.edit = lineEdit(page, QString::fromLatin1(f.editName));
        grid->addWidget(*f.edit, row, 1);
        if (f.all) {
            *f.all = updateAllButton(page, QString::fromLatin1(f.allName), QString::fromLatin1(f.key));
            grid->addWidget(*f.all, row, 2);
        }
        ++row;
    }

    // Right column: the atc_ keys, the model header values and the update button.
    const Field right[] = {
        {"atc_id", &txt_atc_Id, "txt_atc_Id", nullptr, nullptr},
        {"atc_flight_number", &txt_atc_Flight_Number, "txt_atc_Flight_Number", nullptr, nullptr},
        {"atc_airline", &txt_atc_Airline, "txt_atc_Airline", &cmd_Update_all_atc_airline,
         "cmd_Update_all_atc_airline"},
    };
    row = 1;
    for (const Field& f : right) {
        keyLabel(f.key, row, 4);
        *f.edit = lineEdit(page, QString::fromLatin1(f.editName));
        grid->addWidget(*f.edit, row, 5);
        if (f.all) {
            *f.all = updateAllButton(page, QString::fromLatin1(f.allName), QString::fromLatin1(f.key));
            grid->addWidget(*f.all, row, 6);
        }
        ++row;
    }
    keyLabel("atc_heavy", row, 4);
    chk_atc_heavy = checkBox(page, QStringLiteral("chk_atc_heavy"), QString());
    chk_atc_heavy->setEnabled(false);
    grid->addWidget(chk_atc_heavy, row, 5);
    cmd_Update_all_atc_heavy =
        updateAllButton(page, QStringLiteral("cmd_Update_all_atc_heavy"), QStringLiteral("atc_heavy"));
    grid->addWidget(cmd_Update_all_atc_heavy, row, 6);
    ++row;
    keyLabel("atc_model", row, 4);
    txt_atc_Model = lineEdit(page, QStringLiteral("txt_atc_Model"));
    grid->addWidget(txt_atc_Model, row, 5);
    cmd_Update_all_atc_model =
        updateAllButton(page, QStringLiteral("cmd_Update_all_atc_model"), QStringLiteral("atc_model"));
    grid->addWidget(cmd_Update_all_atc_model, row, 6);
    ++row;

    grid->addWidget(label(page, QStringLiteral("model version")), row, 4);
    auto* model = new QHBoxLayout;
    txt_FSXVersion = numberBox(page, QStringLiteral("txt_FSXVersion"), QString(), true,
                               {QStringLiteral("FS8/9"), QStringLiteral("FSX"), QStringLiteral("n/a")});
    model->addWidget(txt_FSXVersion);
    model->addSpacing(12);
    model->addWidget(label(page, QStringLiteral("radius")));
    // Locked until a model whose radius can be written back is shown.
    txt_FS9Radius = numberBox(page, QStringLiteral("txt_FS9Radius"), QString(), true,
                              {QStringLiteral("255"), QStringLiteral("n/a")});
    model->addWidget(txt_FS9Radius);
    model->addStretch(1);
    grid->addLayout(model, row, 5);

    cmd_cfg_Update = button(page, QStringLiteral("cmd_cfg_Update"), QStringLiteral("&1. Update"));
    grid->addWidget(cmd_cfg_Update, 7, 5, 1, 2, Qt::AlignRight);
    grid->setRowStretch(8, 1);
    return page;
}

QWidget* frm_MainUi::setupEffectsPage()
{
    static const char* const kKeys[] = {
        "wake",    "water",        "dirt",         "concrete",         "touchdown",       "contrail",
        "startup", "vaportrail_l", "vaportrail_r", "l_wingtipvortice", "r_wingtipvortice"};
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("SSTab1_effects"));
    auto* outer = new QVBoxLayout(page);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(5, 1);
    grid->setColumnMinimumWidth(3, 16);
    for (int slot = 0; slot < 11; ++slot) {
        const QString key = QString::fromLatin1(kKeys[slot]);
        const int row = slot < 6 ? slot : slot - 6;
        const int col = slot < 6 ? 0 : 4;
        QLabel* name = label(page, key, arrayName(QStringLiteral("Label20"), slot));
        QLineEdit* file = lineEdit(page, arrayName(QStringLiteral("txt_effects"), slot),
                                   QStringLiteral("Assigned '") + key.left(1).toUpper() + key.mid(1) +
                                       QStringLiteral("' effect"));
        QCheckBox* once = checkBox(page, arrayName(QStringLiteral("chk_Effect"), slot),
                                   QStringLiteral("1-time"), QStringLiteral("Effect runs only once"));
        Label20.append(name);
        txt_effects.append(file);
        chk_Effect.append(once);
        grid->addWidget(name, row, col);
        grid->addWidget(file, row, col + 1);
        grid->addWidget(once, row, col + 2);
    }
    lbl_EffectsHint =
        label(page,
              QStringLiteral(
                  "Right-clicking on the effect text fields will brings up a menu with additional options"),
              QStringLiteral("lbl_EffectsHint"));
    grid->addWidget(lbl_EffectsHint, 5, 4, 1, 3);
    outer->addLayout(grid);

    outer->addWidget(label(page, QStringLiteral("description")));
    txt_Description = new DescriptionEdit(page);
    txt_Description->setObjectName(QStringLiteral("txt_Description"));
    const int lineHeight = txt_Description->fontMetrics().lineSpacing();
    txt_Description->setFixedHeight(3 * lineHeight + 12);
    outer->addWidget(txt_Description);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmd_Effect_Update = button(page, QStringLiteral("cmd_Effect_Update"), QStringLiteral("&2. Update"));
    buttons->addWidget(cmd_Effect_Update);
    outer->addLayout(buttons);
    outer->addStretch(1);
    return page;
}

QWidget* frm_MainUi::setupValuesPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("SSTab1_values"));
    auto* outer = new QGridLayout(page);
    outer->setHorizontalSpacing(10);

    // Exits: five boxes per exit and a read-only tick for a complete exit.
    auto* exits = new QGroupBox(QStringLiteral("[exits]"), page);
    exits->setObjectName(QStringLiteral("fra_Exits"));
    auto* exitGrid = new QGridLayout(exits);
    exitGrid->setHorizontalSpacing(4);
    exitGrid->setVerticalSpacing(4);
    const char* const headings[] = {"rate", "long.", "lat.", "vert.", "type"};
    for (int box = 0; box < 5; ++box)
        exitGrid->addWidget(label(exits, QString::fromLatin1(headings[box])), 0, box + 1, Qt::AlignHCenter);
    QList<QLineEdit*>* boxes[] = {&txt_Exit_0, &txt_Exit_1, &txt_Exit_2};
    QCheckBox** ticks[] = {&chk_Exit_0, &chk_Exit_1, &chk_Exit_2};
    for (int exit = 0; exit < 3; ++exit) {
        const QString n = QString::number(exit);
        exitGrid->addWidget(label(exits, QStringLiteral("exit.") + n), exit + 1, 0);
        for (int box = 0; box < 5; ++box) {
            QLineEdit* edit = lineEdit(exits, arrayName(QStringLiteral("txt_Exit_") + n, box));
            edit->setFixedWidth(52);
            boxes[exit]->append(edit);
            exitGrid->addWidget(edit, exit + 1, box + 1);
        }
        QCheckBox* tick = checkBox(exits, QStringLiteral("chk_Exit_") + n, QStringLiteral("complete"),
                                   QStringLiteral("All Exit.") + n +
                                       QStringLiteral(" values defined, a jetway is possible [read-only]"));
        makeReadOnly(tick);
        *ticks[exit] = tick;
        exitGrid->addWidget(tick, exit + 1, 6);
    }
    txt_Jetways = lineEdit(exits, QStringLiteral("txt_Jetways"), QString(), true);
    txt_Jetways->setFocusPolicy(Qt::NoFocus);
    fixedTexts(txt_Jetways, {QStringLiteral("Jetways possible: n/a"), QStringLiteral("Jetways possible: yes"),
                             QStringLiteral("Jetways possible: no")});
    exitGrid->addWidget(txt_Jetways, 4, 1, 1, 5);
    outer->addWidget(exits, 0, 0);

    auto* general = new QGroupBox(QStringLiteral("[general]"), page);
    general->setObjectName(QStringLiteral("fra_General"));
    auto* generalGrid = new QGridLayout(general);
    generalGrid->addWidget(label(general, QStringLiteral("atc_model")), 0, 0);
    txt_general_atc_model = lineEdit(general, QStringLiteral("txt_general_atc_model"));
    generalGrid->addWidget(txt_general_atc_model, 0, 1);
    generalGrid->addWidget(label(general, QStringLiteral("atc_type")), 1, 0);
    txt_general_atc_type = lineEdit(general, QStringLiteral("txt_general_atc_type"));
    generalGrid->addWidget(txt_general_atc_type, 1, 1);
    generalGrid->setRowStretch(2, 1);
    outer->addWidget(general, 0, 1);

    // Wing span: feet, metres, half the span, parking-spot size; current and new.
    auto* span = new QGroupBox(QStringLiteral("wing_span"), page);
    span->setObjectName(QStringLiteral("fra_WingSpan"));
    auto* spanGrid = new QGridLayout(span);
    spanGrid->setHorizontalSpacing(4);
    lbl_WingSpanOrg = label(span, QStringLiteral("current wing_span (ft), convert to m, div by 2, spot size"),
                            QStringLiteral("lbl_WingSpanOrg"));
    spanGrid->addWidget(lbl_WingSpanOrg, 0, 0, 1, 5);
    txt_WingSpan_Org =
        numberBox(span, QStringLiteral("txt_WingSpan_Org"),
                  QStringLiteral("Current wing_span value from aircraft.cfg [read-only]."), true);
    txt_WingSpan_Org_C1 =
        numberBox(span, QStringLiteral("txt_WingSpan_Org_C1"),
                  QStringLiteral("Current wing_span value converted to meter [read-only]."), true);
    txt_WingSpan_Org_C2 = numberBox(
        span, QStringLiteral("txt_WingSpan_Org_C2"),
        QStringLiteral("Current wing_span value converted to meter && devided by two [read-only]."), true);
    txt_FSX_Spot_Org = numberBox(span, QStringLiteral("txt_FSX_Spot_Org"),
                                 QStringLiteral("This is how big an FSX parking spot must be to host the "
                                                "aircraft  for the current wing_span value [read-only]."),
                                 true);
    lbl_WingSpanNew = label(span, QStringLiteral("new wing_span (ft), convert to m, div by 2, spot size"),
                            QStringLiteral("lbl_WingSpanNew"));
    txt_WingSpan_New = numberBox(span, QStringLiteral("txt_WingSpan_New"),
                                 QStringLiteral("Enter new wing_span value here"), false);
    txt_WingSpan_New_C1 =
        numberBox(span, QStringLiteral("txt_WingSpan_New_C1"),
                  QStringLiteral("New wing_span value converted to meter [read-only]."), true);
    txt_WingSpan_New_C2 = numberBox(
        span, QStringLiteral("txt_WingSpan_New_C2"),
        QStringLiteral("New wing_span value converted to meter && devided by two [read-only]."), true);
    txt_FSX_Spot_New = numberBox(span, QStringLiteral("txt_FSX_Spot_New"),
                                 QStringLiteral("This is how big an FSX parking spot must be to host the "
                                                "aircraft if new wing_span value is applied"),
                                 true);
    const QList<QLineEdit*> orgRow = {txt_WingSpan_Org, txt_WingSpan_Org_C1, txt_WingSpan_Org_C2,
                                      txt_FSX_Spot_Org};
    const QList<QLineEdit*> newRow = {txt_WingSpan_New, txt_WingSpan_New_C1, txt_WingSpan_New_C2,
                                      txt_FSX_Spot_New};
    for (int i = 0; i < 4; ++i) {
        spanGrid->addWidget(orgRow.at(i), 1, i);
        spanGrid->addWidget(newRow.at(i), 3, i);
    }
    spanGrid->addWidget(lbl_WingSpanNew, 2, 0, 1, 5);
    spanGrid->setColumnStretch(4, 1);
    outer->addWidget(span, 1, 0, 1, 2);
    outer->setColumnStretch(1, 1);
    outer->setRowStretch(2, 1);
    return page;
}

QWidget* frm_MainUi::setupFilesPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("SSTab1_files"));
    auto* outer = new QHBoxLayout(page);
    outer->setSpacing(12);

    auto* files = new QGridLayout;
    files->setHorizontalSpacing(6);
    files->setVerticalSpacing(5);
    files->addWidget(label(page, QStringLiteral("available")), 0, 1);
    files->addWidget(label(page, QStringLiteral("assigned")), 0, 2);
    struct Row
    {
        const char* key;
        QComboBox** list;
        const char* listName;
        const char* listTip;
        QLineEdit** current;
        const char* currentName;
        const char* currentTip;
    };
    const Row rows[] = {
        {"texture", &combo_Texture, "combo_Texture",
         "Lists all available textures in the current aircraft folder", &txt_CurrentTexture,
         "txt_CurrentTexture", "Assigned texture for selected [fltsim.x] section"},
        {"model", &combo_Model, "combo_Model", "Lists all available models in the current aircraft folder",
         &txt_CurrentModel, "txt_CurrentModel", "Assigned model for selected [fltsim.x] section"},
        {"sim", &combo_Airfile, "combo_Airfile",
         "Lists all available airfiles ('*.air') in the current aircraft folder", &txt_CurrentAirfile,
         "txt_CurrentAirfile", "Assigned airfile ('*.air') for selected [fltsim.x] section"},
    };
    int r = 1;
    for (const Row& row : rows) {
        files->addWidget(label(page, QString::fromLatin1(row.key)), r, 0);
        auto* list = new QComboBox(page);
        list->setObjectName(QString::fromLatin1(row.listName));
        list->setToolTip(QString::fromLatin1(row.listTip));
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(12);
        *row.list = list;
        files->addWidget(list, r, 1);
        *row.current =
            lineEdit(page, QString::fromLatin1(row.currentName), QString::fromLatin1(row.currentTip), true);
        files->addWidget(*row.current, r, 2);
        ++r;
    }
    cmd_Associate = button(
        page, QStringLiteral("cmd_Associate"), QStringLiteral("&3. Update"),
        QStringLiteral("Update the selected [fltsim.x] section with chosen texture, model and airfile"));
    // Enabled once one of the three lists holds a choice.
    cmd_Associate->setEnabled(false);
    files->addWidget(cmd_Associate, r, 2, Qt::AlignRight);
    files->setColumnStretch(1, 1);
    files->setColumnStretch(2, 1);
    files->setRowStretch(r + 1, 1);
    outer->addLayout(files, 3);

    fra_AirType = new QGroupBox(QStringLiteral("Aircraft type (.air)"), page);
    fra_AirType->setObjectName(QStringLiteral("fra_AirType"));
    auto* typeLayout = new QHBoxLayout(fra_AirType);
    lst_Airfile = new QListWidget(fra_AirType);
    lst_Airfile->setObjectName(QStringLiteral("lst_Airfile"));
    lst_Airfile->setToolTip(QStringLiteral("List all airfiles ('*.air') in the selected aircraft folder"));
    typeLayout->addWidget(lst_Airfile, 1);
    auto* types = new QVBoxLayout;
    opt_ac_Normal =
        option(fra_AirType, QStringLiteral("opt_ac_Normal"), QStringLiteral("Normal (0)"),
               QStringLiteral("Set aircraft type to 'Normal' - the aircraft is visible in your FS9 "
                              "aircraft selection menu"));
    opt_ac_Helicopter =
        option(fra_AirType, QStringLiteral("opt_ac_Helicopter"), QStringLiteral("Helicopter (1)"),
               QStringLiteral("Set aircraft type to 'Helicopter' - the aircraft is visible in your "
                              "FS9 aircraft selection menu"));
    opt_ac_AI = option(fra_AirType, QStringLiteral("opt_ac_AI"), QStringLiteral("AI (2)"),
                       QStringLiteral("Set aircraft type to 'AI' - the aircraft is not visible in your FS9 "
                                      "aircraft selection menu"));
    opt_ac_Nok = option(fra_AirType, QStringLiteral("opt_ac_Nok"), QStringLiteral("n/a"),
                        QStringLiteral("There is no aircraft section (105) in your airfile ('*.air') - it is "
                                       "most likely an FSX aircraft"));
    // Each as wide as its own caption: a click beside a short caption is no click.
    for (QRadioButton* type : {opt_ac_Normal, opt_ac_Helicopter, opt_ac_AI, opt_ac_Nok}) {
        type->setEnabled(false);
        types->addWidget(type, 0, Qt::AlignLeft);
    }
    types->addStretch(1);
    typeLayout->addLayout(types);
    outer->addWidget(fra_AirType, 2);
    return page;
}
