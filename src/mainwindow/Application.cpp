#include "mainwindow/Application.h"

#include <QApplication>

#include "about/ProgramIcon.h"
#include "mainwindow/frm_Main.h"

namespace fernquill {

int runApplication(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fernquill"));
    QApplication::setOrganizationName(QStringLiteral("© Brackenhold Tools"));
    QApplication::setWindowIcon(programicon::icon());

    frm_Main window;
    window.Form_Load();
    window.show();
    return QApplication::exec();
}

} // namespace fernquill
