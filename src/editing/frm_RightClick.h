#pragma once

#include <QMenu>
#include <QPoint>
#include <QWidget>

class QAction;

// A window that is never shown: it owns the two pop-up menus of the main
// window, the grid menu mnuListView1 and the effects menu mnuThisEffects. Each
// item raises its own signal; the main window connects them to its procedures
// and pops the menus up at the mouse position.
class frm_RightClick : public QWidget
{
    Q_OBJECT

public:
    explicit frm_RightClick(QWidget* parent = nullptr);

    QMenu* mnuListView1 = nullptr;
    QAction* mnuDelete = nullptr;
    QAction* mnuRenumber = nullptr;
    QAction* mnuSortKeys = nullptr;
    QAction* mnuResize = nullptr;

    QMenu* mnuThisEffects = nullptr;
    QAction* mnuEffectsDisable = nullptr;
    QAction* mnuEffectsDefault = nullptr;
    QAction* mnuEffectsSelect = nullptr;

    // Opens one of the menus as a pop-up with its top left corner at a point
    // of the screen; says so first, with the point asked for.
    void popUp(QMenu* menu, QPoint globalPos);

signals:
    void poppingUp(QMenu* menu, QPoint globalPos);
    void mnuDelete_Click();
    void mnuRenumber_Click();
    void mnuSortKeys_Click();
    void mnuResize_Click();
    void mnuEffectsDisable_Click();
    void mnuEffectsDefault_Click();
    void mnuEffectsSelect_Click();
};
