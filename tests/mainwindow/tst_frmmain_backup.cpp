// Every command that backs aircraft.cfg up stops, says which file is in the
// way and writes nothing when the backup's name is taken by something that
// is not a file.
#include "editing/frm_RightClick.h"
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/ListView.h"

#include "AircraftScene.h"
#include "TestUtil.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestFrmMainBackup : public QObject
{
    Q_OBJECT

private slots:
    void nameTakenStopsTheCommand_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("folder"); // a folder at the name, else a dangling link
        for (const char* command :
             {"1. Update", "2. Update", "3. Update", "delete", "renumber", "sort", "remove keys"})
            QTest::newRow(command) << command << false;
        QTest::newRow("1. Update, folder") << "1. Update" << true;
        QTest::newRow("remove keys, folder") << "remove keys" << true;
    }

    void nameTakenStopsTheCommand()
    {
        QFETCH(QString, command);
        QFETCH(bool, folder);
        const QByteArray cfg = "[fltsim.1]\r\ntitle=B\r\ntexture=\r\n[fltsim.0]\r\ntitle=A\r\ntexture=\r\n";
        testutil::AircraftScene s(cfg, {{"Plane/texture/t.bmp", "t"}, {"Plane/texture.X/t.bmp", "t"}});
        const QString backup = s.file(QStringLiteral("aircraft.zib"));
        if (folder)
            testutil::makeDir(backup);
        else
            QVERIFY(QFile::link(s.file(QStringLiteral("gone.zib")), backup));
        frm_Main& w = s.start(false, /*autoBackup*/ true);
        w.ui.ListView1->selectRow(1);
        w.ui.ListView1->setTicked(1, true);
        w.ui.txt_Title->setText(QStringLiteral("typed"));

        if (command == u"1. Update")
            QTest::mouseClick(w.ui.cmd_cfg_Update, Qt::LeftButton);
        else if (command == u"2. Update")
            QTest::mouseClick(w.ui.cmd_Effect_Update, Qt::LeftButton);
        else if (command == u"3. Update") {
            const int i = w.ui.combo_Texture->findText(QStringLiteral("X"));
            QVERIFY(i >= 0);
            w.ui.combo_Texture->setCurrentIndex(i);
            emit w.ui.combo_Texture->activated(i);
            QTest::mouseClick(w.ui.cmd_Associate, Qt::LeftButton);
        } else if (command == u"delete")
            w.rightClick()->mnuDelete->trigger();
        else if (command == u"renumber")
            w.rightClick()->mnuRenumber->trigger();
        else if (command == u"sort")
            w.rightClick()->mnuSortKeys->trigger();
        else
            w.ui.mnuDelKeys->trigger();

        QCOMPARE(s.cfg(), cfg);
        QCOMPARE(s.answers.calls().size(), size_t(1));
        QVERIFY2(s.answers.prompts().front().contains(backup), qPrintable(s.answers.prompts().front()));
        QCOMPARE(QFileInfo(backup).isDir(), folder);
        QCOMPARE(QFileInfo(backup).isSymLink(), !folder);
        QVERIFY(!QFileInfo::exists(s.file(QStringLiteral("gone.zib"))));
    }
};

QTEST_MAIN(TestFrmMainBackup)
#include "tst_frmmain_backup.moc"
