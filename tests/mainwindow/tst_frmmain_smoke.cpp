#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"

#include "MainWindowFixture.h"
#include "TestUtil.h"

#include <QLineEdit>
#include <QTest>

class TestFrmMainSmoke : public QObject
{
    Q_OBJECT
private slots:
    void startsAndLoadsRememberedFolder()
    {
        testutil::PrefixSpec spec;
        spec.fsx = true;
        QTemporaryDir tmp;
        const QString folder = tmp.path() + "/B738";
        testutil::writeFile(folder + "/aircraft.cfg", "[fltsim.0]\r\ntitle=A\r\n[fltsim.1]\r\ntitle=B\r\n");
        testutil::MainWindowFixture f(spec, {{"Path", folder}});
        frm_Main& w = f.start();
        QCOMPARE(w.folderPath(), folder);
        QCOMPARE(w.ui.ListView1->rowCount(), 2);
        QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("A"));
        QCOMPARE(w.ui.StatusBar1->panelPictureText(9), QStringLiteral("AC Status: OK"));
        QCOMPARE(testutil::storedSetting("AnalyzeOptions").count(QChar(0xA6)), 22);
    }
};

QTEST_MAIN(TestFrmMainSmoke)
#include "tst_frmmain_smoke.moc"
