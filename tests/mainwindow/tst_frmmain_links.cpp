// Files of the aircraft folder that are symbolic links, as the window's
// commands write them: a link that stays inside the folder is written as the
// file it names and stays a link; one that leads out of the folder is never
// written, and the user is told which file. Also the leftovers of rewrites
// that were ended half-way, which opening the folder clears away.
#include "editing/AirTypeSwitch.h"
#include "editing/WriteBack.h"
#include "editing/frm_Remove.h"
#include "editing/frm_RightClick.h"
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"

#include "AircraftScene.h"
#include "SimFiles.h"
#include "TestUtil.h"
#include "WindowEdits.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

using Scene = testutil::AircraftScene;

// Every command below changes this file: the keys of [fltsim.0] are out of
// sorted order, [fltsim.2] is misnumbered and a comment goes on any rewrite.
const QByteArray kCfg = "[fltsim.0]\r\natc_airline=AAA\r\ntitle=A // one\r\n"
                        "[fltsim.2]\r\ntitle=B\r\natc_airline=BBB\r\n";

// Where a linked file of the aircraft folder "Plane" really lies: inside it
// (in a subfolder) or beside it, out of the folder.
QString realFile(const Scene& s, bool inside, const QString& name)
{
    return inside ? s.folder() + QStringLiteral("/real/") + name : s.root() + QStringLiteral("/Elsewhere/") + name;
}

// Puts a link at `link` to `target`, the file written with `bytes`.
void linkTo(const QString& link, const QString& target, const QByteArray& bytes)
{
    testutil::writeFile(target, bytes);
    QVERIFY(QFile::link(target, link));
}

// Runs one of the commands that rewrite aircraft.cfg, as the user starts it.
void runCommand(frm_Main& w, const QString& command)
{
    if (command == u"update") {
        w.ui.txt_Title->setText(QStringLiteral("Edited"));
        QTest::mouseClick(w.ui.cmd_cfg_Update, Qt::LeftButton);
    } else if (command == u"effects") {
        QTest::mouseClick(w.ui.cmd_Effect_Update, Qt::LeftButton);
    } else if (command == u"assign") {
        w.ui.combo_Texture->setCurrentIndex(w.ui.combo_Texture->findText(QStringLiteral("y")));
        QTest::mouseClick(w.ui.cmd_Associate, Qt::LeftButton);
    } else if (command == u"update all") {
        w.ui.txt_atc_Airline->setText(QStringLiteral("ZZZ"));
        QTest::mouseClick(w.ui.cmd_Update_all_atc_airline, Qt::LeftButton);
    } else if (command == u"delete") {
        w.rightClick()->mnuDelete->trigger();
    } else if (command == u"renumber") {
        w.ui.mnuRenumber->trigger();
    } else if (command == u"sort") {
        w.ui.mnuSortKeys->trigger();
    } else if (command == u"remove keys") {
        // The window is modal: mark a key, delete it and close the window from inside.
        QTimer::singleShot(0, &w, [&w] {
            frm_Remove* r = w.removeKeysWindow();
            if (!r->isVisible())
                return;
            for (int i = 0; i < r->List1->count(); ++i)
                r->List1->item(i)->setSelected(r->List1->item(i)->text() == u"atc_airline");
            QTest::mouseClick(r->cmd_Wipe, Qt::LeftButton);
            r->close();
        });
        w.ui.mnuDelKeys->trigger();
    } else {
        QFAIL("unknown command");
    }
}

// The prompts of the boxes that said a file could not be written.
QStringList unwrittenPrompts(const msgbox::ScriptedAnswers& answers)
{
    QStringList out;
    for (const QString& p : answers.prompts()) {
        if (p.startsWith(u"The file:"))
            out.append(p);
    }
    return out;
}

} // namespace

class TestFrmMainLinks : public QObject
{
    Q_OBJECT

private slots:
    void linkedAircraftCfg_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("inside");
        for (const char* command :
             {"update", "effects", "assign", "update all", "delete", "renumber", "sort", "remove keys"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, link inside").arg(command))) << command << true;
            QTest::newRow(qPrintable(QStringLiteral("%1, link out of the folder").arg(command))) << command << false;
        }
    }
    void linkedAircraftCfg()
    {
        QFETCH(QString, command);
        QFETCH(bool, inside);
        Scene s(QByteArray(), {{"Plane/texture.y/a.bmp", "x"}});
        const QString real = realFile(s, inside, QStringLiteral("aircraft.cfg"));
        linkTo(s.cfgPath(), real, kCfg);
        frm_Main& w = s.start(/*confirm=*/false, /*autoBackup=*/true);
        QCOMPARE(w.ui.ListView1->rowCount(), 2); // read through the link either way

        runCommand(w, command);

        QVERIFY(QFileInfo(s.cfgPath()).isSymLink());
        QCOMPARE(QFileInfo(s.cfgPath()).symLinkTarget(), real);
        if (inside) {
            QVERIFY(testutil::readFile(real) != kCfg);
            QCOMPARE(unwrittenPrompts(s.answers), QStringList{});
            // The update-all commands make no backup copy.
            if (command != u"update all")
                QCOMPARE(testutil::readFile(s.file("aircraft.zib")), kCfg);
        } else {
            QCOMPARE(testutil::readFile(real), kCfg);
            // Told once, naming the file, before anything was asked or copied.
            QCOMPARE(s.answers.calls().size(), size_t(1));
            const msgbox::Call& told = s.answers.calls().front();
            QVERIFY2(told.prompt.startsWith(u"The file:" + s.cfgPath()), qPrintable(told.prompt));
            QVERIFY(told.prompt.contains(u"outside the folder"));
            QCOMPARE(told.style, msgbox::vbOKOnly | msgbox::vbCritical);
            QVERIFY(!QFileInfo::exists(s.file("aircraft.zib")));
            QCOMPARE(w.ui.ListView1->rowCount(), 2);
        }
    }

    void linkedModelAndAirFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("inside");
        for (const char* kind : {"mdl", "air"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, link inside").arg(kind))) << kind << true;
            QTest::newRow(qPrintable(QStringLiteral("%1, link out of the folder").arg(kind))) << kind << false;
        }
    }
    void linkedModelAndAirFile()
    {
        QFETCH(QString, kind);
        QFETCH(bool, inside);
        const bool mdl = kind == u"mdl";
        const QByteArray before = mdl ? testutil::mdlBytes("MDL9", 42) : testutil::airTypeRecord(0);
        Scene s("[fltsim.0]\r\ntitle=A\r\nmodel=\r\nsim=Jet\r\n", {{"Plane/model/model.cfg", "normal=Plane\r\n"}});
        const QString link = mdl ? s.file("model/Plane.mdl") : s.file("Jet.air");
        const QString real = realFile(s, inside, mdl ? QStringLiteral("Plane.mdl") : QStringLiteral("Jet.air"));
        linkTo(link, real, before);
        frm_Main& w = s.start();

        if (mdl) {
            QCOMPARE(w.ui.txt_FS9Radius->text(), QStringLiteral("42"));
            w.ui.txt_FS9Radius->setText(QStringLiteral("50"));
            w.ui.txt_Title->setText(QStringLiteral("Edited"));
            QTest::mouseClick(w.ui.cmd_cfg_Update, Qt::LeftButton);
            // The entry is written whatever became of the radius.
            QVERIFY(s.cfg().startsWith("[fltsim.0]\r\ntitle=Edited\r\n"));
        } else {
            QVERIFY(w.ui.opt_ac_Normal->isChecked());
            w.ui.opt_ac_AI->click();
        }

        QVERIFY(QFileInfo(link).isSymLink());
        if (inside) {
            QByteArray after = before;
            if (mdl)
                after[28] = char(50);
            else
                after = testutil::airTypeRecord(2);
            QCOMPARE(testutil::readFile(real), after);
            QVERIFY(s.answers.calls().empty());
        } else {
            QCOMPARE(testutil::readFile(real), before);
            const QString told = mdl ? WriteBack::radiusOutsideMessage(w.sMdlFile)
                                     : AirTypeSwitch::outsideMessage(w.sAirFile);
            QCOMPARE(s.answers.prompts(), QStringList{told});
            QVERIFY(told.startsWith(link));
            QCOMPARE(s.answers.calls().front().style, msgbox::vbOKOnly | msgbox::vbExclamation);
        }
    }

    void openingClearsLeftoversOfOurs()
    {
        // What rewrites ended half-way leave: hidden files of one name pattern.
        Scene s("[fltsim.0]\r\ntitle=A\r\n", {{"Plane/texture.a/a.bmp", "x"},
                                             {"Plane/.aircraft.cfg.fq-Ab12Cd", "half"},
                                             {"Plane/texture.a/.texture.cfg.fq-zZ09aB", "half"},
                                             {"Plane/.aircraft.cfg.fq-Young1", "under way"}});
        testutil::ageFile(s.file(".aircraft.cfg.fq-Ab12Cd"));
        testutil::ageFile(s.file("texture.a/.texture.cfg.fq-zZ09aB"));
        s.start();
        QVERIFY(!QFileInfo::exists(s.file(".aircraft.cfg.fq-Ab12Cd")));
        QVERIFY(!QFileInfo::exists(s.file("texture.a/.texture.cfg.fq-zZ09aB")));
        // A write of another run may still be under way.
        QVERIFY(QFileInfo::exists(s.file(".aircraft.cfg.fq-Young1")));
    }
};

QTEST_MAIN(TestFrmMainLinks)
#include "tst_frmmain_links.moc"
