#include "editing/frm_Remove.h"

#include "editing/CfgWrites.h"

#include "editing/SectionOps.h"
#include "mainwindow/frm_Main.h"
#include "shared/BalloonTip.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frm_Remove::frm_Remove(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_Remove"));
    setWindowTitle(QStringLiteral("Remove keys in all [fltsim.x] sections"));
    setModal(true);

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::MultiSelection);
    cmd_Wipe = new QPushButton(QStringLiteral("&Delete marked keys"), this);
    cmd_Wipe->setObjectName(QStringLiteral("cmd_Wipe"));
    cmd_All = new QPushButton(QStringLiteral("Select &all"), this);
    cmd_All->setObjectName(QStringLiteral("cmd_All"));
    cmd_None = new QPushButton(QStringLiteral("Select &none"), this);
    cmd_None->setObjectName(QStringLiteral("cmd_None"));
    // Enter in the list must not delete anything: no button is the default.
    for (QPushButton* b : {cmd_Wipe, cmd_All, cmd_None})
        b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmd_All);
    buttons->addWidget(cmd_None);
    buttons->addStretch();
    buttons->addWidget(cmd_Wipe);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(List1);
    layout->addLayout(buttons);
    resize(360, 420);

    connect(cmd_Wipe, &QPushButton::clicked, this, &frm_Remove::cmd_Wipe_Click);
    connect(cmd_All, &QPushButton::clicked, this, &frm_Remove::cmd_All_Click);
    connect(cmd_None, &QPushButton::clicked, this, &frm_Remove::cmd_None_Click);
}

void frm_Remove::showModal()
{
    Form_Load();
    exec();
}

void frm_Remove::applyToolTips()
{
    // The designed help texts, then the balloon set-up (or, with the option
    // off, their clearing) as every window does at load.
    List1->setToolTip(QStringLiteral(
        "This list shows all unique keys found in the [fltsim.x] sections of this aircraft.cfg file"));
    cmd_Wipe->setToolTip(QStringLiteral("Delete selected keys in current aircraft.cfg"));
    cmd_All->setToolTip(QStringLiteral("Select all keys above for deletion"));
    cmd_None->setToolTip(QStringLiteral("De-select all keys above for deletion"));
    balloontips::SetUpToolTips(this, globals::gbToolTips);
}

void frm_Remove::Form_Load()
{
    bChanged = false;
    applyToolTips();
    LoadList();
}

void frm_Remove::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void frm_Remove::Form_Unload()
{
    const bool reload = bChanged;
    // The next closing (or a second path to this one) must not reload again.
    bChanged = false;
    if (reload && mainWindow())
        mainWindow()->RunChange();
}

bool frm_Remove::FindInList(QListWidget* list, QString& item)
{
    item = item.trimmed().toLower();
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text().trimmed().toLower() == item)
            return true;
    }
    return false;
}

void frm_Remove::LoadList()
{
    List1->clear();
    if (!mainWindow())
        return;
    const platform::profile::FileLines read = platform::profile::readLines(mainWindow()->oIni.path());
    if (!read.error.isEmpty()) {
        // An empty list would look like a file without keys.
        msgbox::MsgBox(QStringLiteral("The file:") + mainWindow()->oIni.path() + msgbox::vbCrLf + msgbox::vbCrLf +
                           QStringLiteral(" could not be read. ") + read.error,
                       msgbox::vbOKOnly | msgbox::vbCritical);
        return;
    }
    for (QString name : SectionOps::entryKeyNames(read.lines)) {
        if (!FindInList(List1, name))
            List1->addItem(name);
    }
}

void frm_Remove::cmd_All_Click()
{
    for (int i = 0; i < List1->count(); ++i)
        List1->item(i)->setSelected(true);
}

void frm_Remove::cmd_None_Click()
{
    for (int i = 0; i < List1->count(); ++i)
        List1->item(i)->setSelected(false);
}

void frm_Remove::cmd_Wipe_Click()
{
    if (msgbox::MsgBox(
            QStringLiteral("Are you absolutely sure that you wish to delete all marked keys in all "
                           "sections in this aircraft.cfg?"),
            msgbox::vbYesNo | msgbox::vbCritical | msgbox::vbDefaultButton2) != msgbox::vbYes)
        return;
    if (!mainWindow())
        return;

    QStringList marked;
    for (int i = 0; i < List1->count(); ++i) {
        if (List1->item(i)->isSelected())
            marked.append(List1->item(i)->text());
    }
    const SectionOps::Rewrite plan = SectionOps::planRemoveKeys(mainWindow()->oIni.path(), marked);
    if (const auto written = SectionOps::apply(plan); !written.ok) {
        // Nothing was deleted: the list keeps the user's marks for another try.
        msgbox::MsgBox(CfgWrites::unwrittenMessage(plan.file, written.error),
                       msgbox::vbOKOnly | msgbox::vbCritical);
        return;
    }
    if (plan.deletions > 0)
        bChanged = true;
    LoadList();
    msgbox::MsgBox(QStringLiteral("A total of ") + QString::number(plan.deletions) +
                       QStringLiteral(" keys have been deleted in the aircraft.cfg"),
                   msgbox::vbOKOnly | msgbox::vbInformation);
}
