#include "editing/frm_RightClick.h"

#include "shared/FormControls.h"

#include <QAction>
#include <QMenu>

namespace {

using formcontrols::named;

QMenu* popupMenu(QWidget* owner, const QString& name, const QString& title)
{
    return named(new QMenu(title, owner), name);
}

QAction* popupItem(QMenu* menu, const QString& name, const QString& caption)
{
    return named(menu->addAction(caption), name);
}

} // namespace

frm_RightClick::frm_RightClick(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_RightClick"));
    setWindowTitle(QStringLiteral("Form1"));

    mnuListView1 = popupMenu(this, QStringLiteral("mnuListView1"), QStringLiteral("ListView1"));
    // The folder load and the grid's click replace this caption with the entry
    // (or entries) a delete would remove.
    mnuDelete = popupItem(mnuListView1, QStringLiteral("mnuDelete"), QStringLiteral("Delete [fltsim.x]"));
    mnuRenumber = popupItem(mnuListView1, QStringLiteral("mnuRenumber"), QStringLiteral("Renumber sections"));
    mnuSortKeys =
        popupItem(mnuListView1, QStringLiteral("mnuSortKeys"), QStringLiteral("&Sort all [fltsim.x] keys"));
    mnuResize = popupItem(mnuListView1, QStringLiteral("mnuResize"),
                          QStringLiteral("Resize columns to show all content"));

    mnuThisEffects = popupMenu(this, QStringLiteral("mnuThisEffects"), QStringLiteral("Effects"));
    mnuEffectsDisable =
        popupItem(mnuThisEffects, QStringLiteral("mnuEffectsDisable"), QStringLiteral("Disable effect"));
    mnuEffectsDefault =
        popupItem(mnuThisEffects, QStringLiteral("mnuEffectsDefault"), QStringLiteral("Set default effect"));
    mnuEffectsSelect = popupItem(mnuThisEffects, QStringLiteral("mnuEffectsSelect"),
                                 QStringLiteral("Select effect file..."));

    connect(mnuDelete, &QAction::triggered, this, &frm_RightClick::mnuDelete_Click);
    connect(mnuRenumber, &QAction::triggered, this, &frm_RightClick::mnuRenumber_Click);
    connect(mnuSortKeys, &QAction::triggered, this, &frm_RightClick::mnuSortKeys_Click);
    connect(mnuResize, &QAction::triggered, this, &frm_RightClick::mnuResize_Click);
    connect(mnuEffectsDisable, &QAction::triggered, this, &frm_RightClick::mnuEffectsDisable_Click);
    connect(mnuEffectsDefault, &QAction::triggered, this, &frm_RightClick::mnuEffectsDefault_Click);
    connect(mnuEffectsSelect, &QAction::triggered, this, &frm_RightClick::mnuEffectsSelect_Click);
}

void frm_RightClick::popUp(QMenu* menu, QPoint globalPos)
{
    emit poppingUp(menu, globalPos);
    menu->popup(globalPos);
}
