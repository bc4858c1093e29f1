#pragma once

#include "mainwindow/frm_MainUi.h"

#include <QMainWindow>
#include <QObject>
#include <QString>

#include <memory>

// The main window's designed controls on a plain window of their own, shown
// at the designed size once for a whole test class: the tests of names,
// menus and layout derive from it and share one window.
namespace testutil {

class MainUiTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

protected:
    // The control or action of that objectName; null when there is none.
    QObject* find(const QString& name) const;

    std::unique_ptr<QMainWindow> m_window;
    frm_MainUi m_ui;
};

// The visible text of any kind of captioned control.
QString captionOf(QObject* object);

} // namespace testutil
