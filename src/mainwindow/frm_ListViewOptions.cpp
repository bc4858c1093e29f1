#include "mainwindow/frm_ListViewOptions.h"

#include "mainwindow/MainUiBuild.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/BalloonTip.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"
#include "shared/modSettings.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

namespace {

QPointer<frm_ListViewOptions> g_options;

} // namespace

frm_ListViewOptions* frm_ListViewOptions::instance(ListView* grid, QWidget* owner)
{
    if (!g_options)
        g_options = new frm_ListViewOptions(grid, owner);
    return g_options;
}

frm_ListViewOptions* frm_ListViewOptions::showOptions(ListView* grid, QWidget* owner)
{
    frm_ListViewOptions* window = instance(grid, owner);
    if (!window->isVisible())
        window->Form_Load();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

frm_ListViewOptions::frm_ListViewOptions(ListView* grid, QWidget* owner) : QWidget(owner), m_grid(grid)
{
    // A window of its own even when owned by the main window: modeless.
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("frm_ListViewOptions"));
    setWindowTitle(QStringLiteral("Define which data grid columns are hidden"));

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setToolTip(QStringLiteral("Place a checkmark beside the columns that you want to hide in the main "
                                     "data grid.  You will see the result instantly ."));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);

    using mainui::button;
    cmd_All = button(this, QStringLiteral("cmd_All"), QStringLiteral("Select &All"),
                     QStringLiteral("Select all options above"));
    cmd_None = button(this, QStringLiteral("cmd_None"), QStringLiteral("Select &None"),
                      QStringLiteral("De-select all options above"));
    cmdClose = button(this, QStringLiteral("cmdClose"), QStringLiteral("&Close"),
                      QStringLiteral("Close the form without saving. Changed settings are lost when you close "
                                     "the program. "));
    cmdSave = button(this, QStringLiteral("cmdSave"), QStringLiteral("&Save && Close"),
                     QStringLiteral("Save current selection and close the form. The settings will be "
                                    "remembered when the program is restarted."));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(List1, 1);
    auto* marks = new QHBoxLayout;
    marks->addWidget(cmd_All);
    marks->addWidget(cmd_None);
    layout->addLayout(marks);
    auto* closing = new QHBoxLayout;
    closing->addWidget(cmdClose);
    closing->addWidget(cmdSave);
    layout->addLayout(closing);
    resize(300, 420);

    // Every change of a mark applies, also those the buttons make; the load
    // is kept out by bLoading.
    connect(List1, &QListWidget::itemChanged, this, &frm_ListViewOptions::List1_Click);
    connect(cmd_All, &QPushButton::clicked, this, &frm_ListViewOptions::cmd_All_Click);
    connect(cmd_None, &QPushButton::clicked, this, &frm_ListViewOptions::cmd_None_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frm_ListViewOptions::cmdClose_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frm_ListViewOptions::cmdSave_Click);
}

void frm_ListViewOptions::Form_Load()
{
    // The window lives on between openings; each opening follows the option.
    balloontips::SetUpToolTips(this, globals::gbToolTips);
    const QScopedValueRollback<bool> loading(bLoading, true);
    List1->clear();
    for (int c = kFirstOptionalColumn; c < m_grid->columnCount(); ++c) {
        auto* item = new QListWidgetItem(m_grid->headerItem()->text(c), List1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(m_grid->columnWidth(c) == 0 ? Qt::Checked : Qt::Unchecked);
    }
}

void frm_ListViewOptions::List1_Click()
{
    if (bLoading)
        return;
    for (int j = 0; j < List1->count(); ++j) {
        const bool hidden = List1->item(j)->checkState() == Qt::Checked;
        m_grid->setColumnWidth(j + kFirstOptionalColumn, hidden ? 0 : kShownColumnWidth);
    }
}

void frm_ListViewOptions::setAllMarks(bool marked)
{
    for (int j = 0; j < List1->count(); ++j)
        List1->item(j)->setCheckState(marked ? Qt::Checked : Qt::Unchecked);
}

void frm_ListViewOptions::cmd_All_Click()
{
    setAllMarks(true);
}

void frm_ListViewOptions::cmd_None_Click()
{
    setAllMarks(false);
}

void frm_ListViewOptions::cmdClose_Click()
{
    close();
}

void frm_ListViewOptions::cmdSave_Click()
{
    QList<bool> marks;
    for (int j = 0; j < List1->count(); ++j)
        marks.append(List1->item(j)->checkState() == Qt::Checked);
    const QString key = QStringLiteral("DataGrid");
    if (!modSettings::SaveSetting(key, modSettings::BuildFlagList(marks, true))) {
        // The choice applies for this run; say that it could not be kept.
        msgbox::MsgBox(QStringLiteral("The column settings could not be saved to ") +
                           modSettings::SettingsFilePath() + QStringLiteral("."),
                       msgbox::vbOKOnly | msgbox::vbCritical);
        return;
    }
    globals::gsDataGrid = modSettings::GetSetting(key, modSettings::DefaultFor(key));
    close();
}
