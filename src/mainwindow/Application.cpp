#include "mainwindow/Application.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include "about/ProgramIcon.h"
#include "editing/ParkingCodes.h"
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/AppInfo.h"

#include <cstdio>

namespace fernquill {

namespace {

// The install test's check (environment variable FERNQUILL_START_CHECK): once
// the window is up, say what the start-up found, read the parking codes as
// the picker would, and end.
void reportStartAndQuit(frm_Main& window)
{
    const QString database = window.parkingCodeDatabase();
    const ParkingCodes::Listing codes =
        database.isEmpty() ? ParkingCodes::Listing{} : ParkingCodes::readDatabase(database);
    std::printf(
        "entries: %d\nmanual: %s\nparking codes: %s\nparking code rows: %s\n",
        int(window.ui.ListView1->rowCount()), qPrintable(window.sManualFile), qPrintable(database),
        qPrintable(codes.ok ? QString::number(codes.rows.size()) : QStringLiteral("none, ") + codes.error));
    std::fflush(stdout);
    QCoreApplication::exit(window.isVisible() ? 0 : 1);
}

// The start-up benchmark's check (environment variable FERNQUILL_FIRST_PAINT):
// ends the program as soon as the main window has painted for the first time.
class EndAfterFirstPaint : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

int runApplication(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fernquill"));
    QApplication::setOrganizationName(QStringLiteral("© Brackenhold Tools"));
    QApplication::setWindowIcon(programicon::icon());
    QGuiApplication::setDesktopFileName(appinfo::desktopId());

    frm_Main window;
    window.Form_Load();
    EndAfterFirstPaint firstPaint;
    if (qEnvironmentVariableIsSet("FERNQUILL_FIRST_PAINT"))
        window.installEventFilter(&firstPaint);
    window.show();
    if (qEnvironmentVariableIsSet("FERNQUILL_START_CHECK"))
        QTimer::singleShot(0, &window, [&window] { reportStartAndQuit(window); });
    return QApplication::exec();
}

} // namespace fernquill
