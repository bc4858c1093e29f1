// The air-file list and the aircraft-type switch of the main window, on real
// widgets over real .air files.
#include "editing/AirTypeSwitch.h"
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"

#include "AircraftScene.h"
#include "SimFiles.h"
#include "TestUtil.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

using testutil::airRecord;
using testutil::airTypeRecord;

// An aircraft folder "Plane" and a main window started on it. Every box gets
// its first button unless a test queues answers.
using Scene = testutil::AircraftScene;

void show(frm_Main& w, int row)
{
    w.ui.ListView1->selectRow(row);
    w.ListView1_DblClick();
}

QRadioButton* typeButton(frm_Main& w, const QString& name)
{
    return w.findChild<QRadioButton*>(name);
}

// Makes a file unwritable for the test process: immutable when running as
// root (permissions do not stop root), no permissions otherwise.
class Unwritable
{
public:
    explicit Unwritable(const QString& path) : m_path(path)
    {
        if (!testutil::runningAsRoot()) {
            testutil::setMode(path, 0);
            m_done = true;
            return;
        }
        m_done = setImmutable(true);
    }
    ~Unwritable()
    {
        if (testutil::runningAsRoot())
            setImmutable(false);
        else
            testutil::setMode(m_path, 0644);
    }
    bool done() const { return m_done; }

private:
    bool setImmutable(bool on)
    {
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return ok;
    }

    QString m_path;
    bool m_done = false;
};

} // namespace

class TestFrmMainAirType : public QObject
{
    Q_OBJECT

private slots:
    // ---- air-file list --------------------------------------------------------

    void airListWithoutSelectionDisablesAllFour()
    {
        Scene s("[fltsim.0]\r\nsim=Jet\r\n", {{"Plane/Jet.air", airTypeRecord(2)}});
        frm_Main& w = s.start();
        QVERIFY(w.ui.opt_ac_AI->isChecked() && w.ui.opt_ac_AI->isEnabled());
        w.ui.opt_ac_Nok->setEnabled(true);
        w.ui.lst_Airfile->clearSelection();
        w.lst_Airfile_Click();
        for (const char* name : {"opt_ac_Normal", "opt_ac_Helicopter", "opt_ac_AI", "opt_ac_Nok"})
            QVERIFY2(!typeButton(w, name)->isEnabled(), name);
    }

    void airListChoosesTheFileSwitched()
    {
        Scene s("[fltsim.0]\r\nsim=A\r\n",
                {{"Plane/A.air", airTypeRecord(0)}, {"Plane/B.air", airTypeRecord(1)}});
        frm_Main& w = s.start();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.ui.opt_ac_Normal->isChecked());
        QListWidget* list = w.ui.lst_Airfile;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QVERIFY(w.ui.opt_ac_Helicopter->isChecked());
        w.ui.opt_ac_AI->click();
        QCOMPARE(testutil::readFile(s.file("B.air")), airTypeRecord(2));
        QCOMPARE(testutil::readFile(s.file("A.air")), airTypeRecord(0));
        QCOMPARE(s.cfg(), QByteArray("[fltsim.0]\r\nsim=A\r\n"));
    }

    void airListFollowsTheKeys()
    {
        // Moving through the list with the arrow keys picks the file too, so a
        // switch never writes into a file the list no longer highlights.
        Scene s("[fltsim.0]\r\nsim=A\r\n",
                {{"Plane/A.air", airTypeRecord(0)}, {"Plane/B.air", airTypeRecord(1)}});
        frm_Main& w = s.start();
        QListWidget* list = w.ui.lst_Airfile;
        QCOMPARE(list->currentRow(), 0);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 1);
        QVERIFY(w.ui.opt_ac_Helicopter->isChecked());
        w.ui.opt_ac_AI->click();
        QCOMPARE(testutil::readFile(s.file("B.air")), airTypeRecord(2));
        QCOMPARE(testutil::readFile(s.file("A.air")), airTypeRecord(0));
    }

    // ---- aircraft-type switch -------------------------------------------------

    void typeSwitch_data()
    {
        QTest::addColumn<QByteArray>("before"); // records ahead of the type record
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<quint8>("type");
        QTest::newRow("Normal") << QByteArray() << "opt_ac_Normal" << false << quint8(0);
        QTest::newRow("Helicopter") << QByteArray() << "opt_ac_Helicopter" << false << quint8(1);
        QTest::newRow("AI, read-only file") << QByteArray() << "opt_ac_AI" << true << quint8(2);
        QTest::newRow("after two records")
            << airRecord(0x100, "0123456789") + airRecord(0x104, {}) << "opt_ac_AI" << false << quint8(2);
    }

    void typeSwitch()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, button);
        QFETCH(bool, readOnly);
        QFETCH(quint8, type);
        // The start type differs from every one written; a record after it stays.
        const QByteArray tail = airRecord(0x105, QByteArray(8, '\x07'));
        const quint8 start = type == 2 ? 1 : 2;
        Scene s("[fltsim.0]\r\nsim=Jet\r\n", {{"Plane/Jet.air", before + airTypeRecord(start) + tail}});
        if (readOnly)
            testutil::setMode(s.file("Jet.air"), 0444);
        frm_Main& w = s.start();
        typeButton(w, button)->click();
        QCOMPARE(testutil::readFile(s.file("Jet.air")), before + airTypeRecord(type) + tail);
        QVERIFY(typeButton(w, button)->isChecked());
        QVERIFY(s.answers.calls().empty());
        QVERIFY(QFileInfo(s.file("Jet.air")).permissions().testFlag(QFileDevice::WriteOwner));
    }

    void questions_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("question");
        QTest::newRow("Normal")
            << QStringLiteral("opt_ac_Normal")
            << QStringLiteral("Are you sure that you want to change this aircraft to type 0 = Normal?");
        QTest::newRow("AI") << QStringLiteral("opt_ac_AI")
                            << QStringLiteral(
                                   "Are you sure that you want to change this aircraft to type 2 = AI?");
    }

    void questions()
    {
        QFETCH(QString, button);
        QFETCH(QString, question);
        Scene s("[fltsim.0]\r\nsim=Jet\r\n", {{"Plane/Jet.air", airTypeRecord(1)}});
        frm_Main& w = s.start(/*confirm*/ true);
        QVERIFY(w.ui.opt_ac_Helicopter->isChecked());
        // No: the file stays, the button of the type read is selected again.
        s.answers.button(msgbox::vbNo);
        typeButton(w, button)->click();
        QCOMPARE(s.answers.prompts(), QStringList{question});
        QCOMPARE(s.answers.calls().back().style, int(msgbox::vbYesNo | msgbox::vbQuestion));
        QCOMPARE(testutil::readFile(s.file("Jet.air")), airTypeRecord(1));
        QVERIFY(w.ui.opt_ac_Helicopter->isChecked());
        QVERIFY(w.bAirReady);
        // Yes: written.
        s.answers.button(msgbox::vbYes);
        typeButton(w, button)->click();
        QCOMPARE(testutil::readFile(s.file("Jet.air")), airTypeRecord(button == u"opt_ac_AI" ? 2 : 0));
        // A later No goes back to the type just written, not the one read before.
        s.answers.button(msgbox::vbNo);
        w.ui.opt_ac_Helicopter->click();
        QVERIFY(typeButton(w, button)->isChecked());
    }

    void clickOnTheSelectedTypeDoesNothing_data()
    {
        QTest::addColumn<bool>("byMouse");
        QTest::newRow("mouse") << true;
        QTest::newRow("space key") << false;
    }

    void clickOnTheSelectedTypeDoesNothing()
    {
        QFETCH(bool, byMouse);
        Scene s("[fltsim.0]\r\nsim=Jet\r\n", {{"Plane/Jet.air", airTypeRecord(1)}});
        frm_Main& w = s.start(/*confirm*/ true);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QRadioButton* selected = w.ui.opt_ac_Helicopter;
        for (int i = 0; i < w.ui.SSTab1->count(); ++i) {
            if (w.ui.SSTab1->widget(i)->isAncestorOf(selected))
                w.ui.SSTab1->setCurrentIndex(i);
        }
        QVERIFY(selected->isChecked() && selected->isVisible());
        if (byMouse) {
            QTest::mouseClick(selected, Qt::LeftButton);
        } else {
            selected->setFocus();
            QTest::keyClick(selected, Qt::Key_Space);
        }
        QVERIFY(s.answers.calls().empty());
        QCOMPARE(testutil::readFile(s.file("Jet.air")), airTypeRecord(1));
        QVERIFY(selected->isChecked());
        // Another type still asks.
        s.answers.button(msgbox::vbNo);
        QTest::mouseClick(w.ui.opt_ac_AI, Qt::LeftButton);
        QCOMPARE(s.answers.calls().size(), size_t(1));
        QVERIFY(selected->isChecked());
    }

    void buttonsSetByCodeWriteNothing()
    {
        Scene s("[fltsim.0]\r\nsim=A\r\n[fltsim.1]\r\nsim=B\r\n",
                {{"Plane/A.air", airTypeRecord(0)}, {"Plane/B.air", airTypeRecord(2)}});
        frm_Main& w = s.start(/*confirm*/ true);
        show(w, 1);
        QVERIFY(w.ui.opt_ac_AI->isChecked());
        show(w, 0);
        QVERIFY(w.ui.opt_ac_Normal->isChecked());
        w.ui.opt_ac_Helicopter->setChecked(true);
        QVERIFY(s.answers.calls().empty());
        QCOMPARE(testutil::readFile(s.file("A.air")), airTypeRecord(0));
        QCOMPARE(testutil::readFile(s.file("B.air")), airTypeRecord(2));
    }

    void nothingToWrite_data()
    {
        QTest::addColumn<QByteArray>("replacement"); // the file's bytes at the click; empty: deleted
        QTest::newRow("file gone") << QByteArray();
        QTest::newRow("no type record") << airRecord(0x100, "abcd");
        QTest::newRow("damaged chain")
            << airRecord(0x100, {}).left(4) + QByteArray("\xf8\xff\xff\xff", 4) + airTypeRecord(1);
    }

    void nothingToWrite()
    {
        QFETCH(QByteArray, replacement);
        Scene s("[fltsim.0]\r\nsim=Jet\r\n", {{"Plane/Jet.air", airTypeRecord(0)}});
        frm_Main& w = s.start();
        QVERIFY(w.ui.opt_ac_Normal->isChecked());
        if (replacement.isEmpty())
            QVERIFY(QFile::remove(s.file("Jet.air")));
        else
            testutil::writeFile(s.file("Jet.air"), replacement);
        w.ui.opt_ac_AI->click();
        QVERIFY(s.answers.calls().empty());
        QCOMPARE(testutil::readFile(s.file("Jet.air")), replacement);
        QVERIFY(w.ui.opt_ac_Normal->isChecked());
    }

    void onlyTheFileShownIsWritten()
    {
        // sim points out of the aircraft folder: the type is shown, but the
        // file is not the aircraft's and is not written; the user is told.
        Scene s("[fltsim.0]\r\nsim=..\\Outside\r\n", {{"Outside.air", airTypeRecord(0)}});
        frm_Main& w = s.start();
        QVERIFY(w.ui.opt_ac_Normal->isChecked());
        w.ui.opt_ac_AI->click();
        QCOMPARE(testutil::readFile(s.root() + "/Outside.air"), airTypeRecord(0));
        QVERIFY(w.ui.opt_ac_Normal->isChecked());
        QCOMPARE(s.answers.prompts(), QStringList{AirTypeSwitch::outsideMessage(w.sAirFile)});
        QVERIFY(s.answers.prompts().front().contains(u"Outside.air"));
    }

    void failureIsToldAndReloaded()
    {
        Scene s("[fltsim.0]\r\ntitle=A\r\nsim=Jet\r\n", {{"Plane/Jet.air", airTypeRecord(0)}});
        frm_Main& w = s.start();
        w.ui.txt_Title->setText(QStringLiteral("typed"));
        const Unwritable lock(s.file("Jet.air"));
        if (!lock.done())
            QSKIP("cannot make a file unwritable here");
        w.ui.opt_ac_AI->click();
        QCOMPARE(
            s.answers.prompts(),
            QStringList{s.file("Jet.air") +
                        "\r\n could not be opened for write access. Please make sure that the sim is not "
                        "running and no other program access this file."});
        QCOMPARE(s.answers.calls().front().style, int(msgbox::vbOKOnly | msgbox::vbCritical));
        // The folder is loaded again: the type clicked is not shown as written.
        QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("A"));
        QVERIFY(!w.ui.opt_ac_AI->isChecked());
    }
};

QTEST_MAIN(TestFrmMainAirType)
#include "tst_frmmain_airtype.moc"
