#include "validation/frm_AnalyzeOptions.h"

#include "mainwindow/MainUiBuild.h"
#include "shared/BalloonTip.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"
#include "shared/modSettings.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPointer<frm_AnalyzeOptions> g_window;

const QString kKey = QStringLiteral("AnalyzeOptions");

struct BoxText
{
    const char* caption;
    const char* tip;
};

// Captions and help texts of Check1(0) .. Check1(22).
constexpr std::array<BoxText, AnalyzeOptions::kCount> kBoxes{{
    {"[fltsim.x] section count", "report shows count of [fltsim.x] sections"},
    {"[fltsim.x] title unique analyze", "report shows result for [fltsim.x] unique analysis"},
    {"[fltsim.x] sections numbering analyze", "report shows result for [fltsim.x] sequence analysis"},
    {"Airfiles found in folder count", "report shows result for number of AIR files in aircraft folder"},
    {"Airfiles unused in folder count",
     "report shows result for number of unused AIR files in aircraft folder"},
    {"Airfiles missing in folder count",
     "report shows result for number of missing AIR files in aircraft folder"},
    {"Models found in folder count", "report shows result for number of model files in aircraft folder"},
    {"Models unused in folder count",
     "report shows result for number of unused model files in aircraft folder"},
    {"Models missing in folder count",
     "report shows result for number of missing model files in aircraft folder"},
    {"atc_airlines found count", "report shows count of [fltsim.x] sections where the ATC_Airline "
                                 "assignments is included in the respective "
                                 "airlines.cfg file"},
    {"atc_airlines  defined in [fltsim.x]",
     "report shows count of [fltsim.x] sections without an ATC_Airline "},
    {"atc_airlines unknown count",
     "report shows count of [fltsim.x] sections where the ATC_Airline assignments is NOT included in the "
     "respective airlines.cfg file"},
    {"Textures found in folder count", "report shows result for number of texture files in aircraft folder"},
    {"Texture format analyzis", "report shows if textures are BMP or DDS"},
    {"Textures unused in folder count",
     "report shows result for number of unused texture files in aircraft folder"},
    {"Textures missing in folder count",
     "report shows result for number of missing texture files in aircraft folder"},
    {"Textures used more than once count",
     "report shows result for number of textures used in more than one [fltsim.x] section"},
    {"[fltsim.x] title defined analyze", ""},
    {"Textures defined in [fltsim.x]", ""},
    {"Models defined in [fltsim.x]", ""},
    {"Airfiles defined in [fltsim.x]", ""},
    {"Effects found", "report shows missing effect files (*.fx) that are defined in your effects section"},
    {"Report empty folders",
     "report shows empty folders (folders that contain neither files nor sub-folders)"},
}};

} // namespace

frm_AnalyzeOptions* frm_AnalyzeOptions::instance(QWidget* owner)
{
    if (!g_window)
        g_window = new frm_AnalyzeOptions(owner);
    return g_window;
}

frm_AnalyzeOptions* frm_AnalyzeOptions::existing()
{
    return g_window;
}

frm_AnalyzeOptions* frm_AnalyzeOptions::showWindow(QWidget* owner)
{
    frm_AnalyzeOptions* w = instance(owner);
    // An open window keeps the ticks the user has not saved yet.
    if (!w->isVisible())
        w->Form_Load();
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

frm_AnalyzeOptions::frm_AnalyzeOptions(QWidget* owner) : QWidget(owner)
{
    // A window of its own even when owned by the main window: modeless.
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("frm_AnalyzeOptions"));
    setWindowTitle(QStringLiteral("Analyzis Report Options"));
    buildUi();

    connect(cmd_All, &QPushButton::clicked, this, &frm_AnalyzeOptions::cmd_All_Click);
    connect(cmd_None, &QPushButton::clicked, this, &frm_AnalyzeOptions::cmd_None_Click);
    connect(cmd_Close, &QPushButton::clicked, this, &frm_AnalyzeOptions::cmd_Close_Click);
    connect(cmd_Save, &QPushButton::clicked, this, &frm_AnalyzeOptions::cmd_Save_Click);
}

void frm_AnalyzeOptions::buildUi()
{
    using namespace mainui;
    auto* outer = new QVBoxLayout(this);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(Frame1);
    // Two columns, filled top to bottom, as the boxes were laid out.
    constexpr int kRows = (AnalyzeOptions::kCount + 1) / 2;
    for (int i = 0; i < AnalyzeOptions::kCount; ++i) {
        const BoxText& t = kBoxes[static_cast<size_t>(i)];
        Check1[static_cast<size_t>(i)] = checkBox(Frame1, arrayName(QStringLiteral("Check1"), i),
                                                  QString::fromLatin1(t.caption), QString::fromLatin1(t.tip));
        grid->addWidget(Check1[static_cast<size_t>(i)], i % kRows, i / kRows);
    }
    outer->addWidget(Frame1);

    auto* buttons = new QHBoxLayout;
    cmd_All = button(this, QStringLiteral("cmd_All"), QStringLiteral("Select &All"),
                     QStringLiteral("Select all options above"));
    cmd_None = button(this, QStringLiteral("cmd_None"), QStringLiteral("Select &None"),
                      QStringLiteral("De-select all options above"));
    cmd_Close = button(this, QStringLiteral("cmd_Close"), QStringLiteral("&Cancel"),
                       QStringLiteral("Close the form without saving any changes."));
    cmd_Save = button(this, QStringLiteral("cmd_Save"), QStringLiteral("&Save && Close"),
                      QStringLiteral("Save current selection and close the form. The settings will be "
                                     "remembered when the program is restarted."));
    for (QPushButton* b : {cmd_All, cmd_None})
        buttons->addWidget(b);
    buttons->addStretch();
    for (QPushButton* b : {cmd_Close, cmd_Save})
        buttons->addWidget(b);
    outer->addLayout(buttons);
}

void frm_AnalyzeOptions::Form_Load()
{
    balloontips::SetUpToolTips(this, globals::gbToolTips);

    const bool airlinesFound = globals::gbAirlinesFS9Found || globals::gbAirlinesFSXFound;
    const QString stored = modSettings::GetSetting(kKey, AnalyzeOptions::missingKeyDefault());
    const AnalyzeOptions::Loaded loaded = AnalyzeOptions::load(stored, airlinesFound);
    for (int i = 0; i < AnalyzeOptions::kCount; ++i) {
        QCheckBox* box = Check1[static_cast<size_t>(i)];
        box->setChecked(loaded.boxes[static_cast<size_t>(i)].checked);
        box->setEnabled(loaded.boxes[static_cast<size_t>(i)].enabled);
    }
    globals::gsAnalyzeOptions = loaded.options;
    if (loaded.flags)
        globals::gsAnalyzeFlags = *loaded.flags;
    if (loaded.save)
        modSettings::SaveSetting(kKey, loaded.options);
}

void frm_AnalyzeOptions::cmd_All_Click()
{
    // Disabled boxes too: their flags are stored like the others.
    for (QCheckBox* box : Check1)
        box->setChecked(true);
}

void frm_AnalyzeOptions::cmd_None_Click()
{
    for (QCheckBox* box : Check1)
        box->setChecked(false);
}

void frm_AnalyzeOptions::cmd_Close_Click()
{
    close();
}

void frm_AnalyzeOptions::cmd_Save_Click()
{
    std::array<bool, AnalyzeOptions::kCount> ticked{};
    for (size_t i = 0; i < ticked.size(); ++i)
        ticked[i] = Check1[i]->isChecked();
    const QString options = AnalyzeOptions::build(ticked);

    if (modSettings::SaveSetting(kKey, options)) {
        globals::gsAnalyzeOptions = modSettings::GetSetting(kKey, AnalyzeOptions::missingKeyDefault());
    } else {
        // The store refused the write; reading it back would silently bring
        // the old options back. The user's choice serves this run instead.
        globals::gsAnalyzeOptions = options;
        msgbox::MsgBox(QStringLiteral("The report options could not be saved in ") +
                           modSettings::SettingsFilePath() +
                           QStringLiteral(". They apply until the program ends."),
                       msgbox::vbOKOnly | msgbox::vbCritical);
    }
    globals::gsAnalyzeFlags = AnalyzeOptions::flagsOf(globals::gsAnalyzeOptions);
    close();
}
