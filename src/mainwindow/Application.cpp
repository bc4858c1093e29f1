#include "mainwindow/Application.h"

#include <QApplication>
#include <QIcon>

#include "mainwindow/frm_Main.h"

namespace fernquill {

int runApplication(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fernquill"));
    QApplication::setOrganizationName(QStringLiteral("© Brackenhold Tools"));
    QIcon icon;
    for (int size : {16, 32, 48, 128})
        icon.addFile(QStringLiteral(":/icons/fernquill-%1.png").arg(size));
    QApplication::setWindowIcon(icon);

    frm_Main window;
    window.Form_Load();
    window.show();
    return QApplication::exec();
}

} // namespace fernquill
