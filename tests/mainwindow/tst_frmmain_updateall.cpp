// The update-all buttons, "&3. Update" with its three lists, the air-file list
// and the aircraft-type switch, on real widgets over real files.
#include "editing/AirTypeSwitch.h"
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"

#include "AircraftScene.h"
#include "MainWindowFixture.h"
#include "TestUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtEndian>
#include <QTabWidget>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <memory>

namespace {

using testutil::Files;

QByteArray record(qint32 id, const QByteArray& data)
{
    QByteArray header(8, '\0');
    qToLittleEndian<qint32>(id, header.data());
    qToLittleEndian<qint32>(static_cast<qint32>(data.size()), header.data() + 4);
    return header + data;
}

QByteArray typeRecord(quint8 type)
{
    return record(0x105, QByteArray(1, char(type)) + QByteArray(3, '\0'));
}

// An aircraft folder "Plane" and a main window started on it. Every box gets
// its first button unless a test queues answers.
using Scene = testutil::AircraftScene;

void show(frm_Main& w, int row)
{
    w.ui.ListView1->selectRow(row);
    w.ListView1_DblClick();
}

void choose(QComboBox* list, const QString& text)
{
    const int i = list->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    list->setCurrentIndex(i);
    emit list->activated(i);
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

const QByteArray kFour = "[General]\r\natc_airline=GEN\r\n"
                         "[fltsim.0]\r\ntitle=A\r\natc_airline=OLD // c\r\n"
                         "[fltsim.1]\r\ntitle=B\r\n"
                         "[fltsim.2]\r\ntitle=C\r\natc_airline=OLD\r\n"
                         "[fltsim.3]\r\ntitle=D\r\n";

} // namespace

class TestFrmMainUpdateAll : public QObject
{
    Q_OBJECT

private slots:
    // ---- update-all ---------------------------------------------------------

    void eachButtonSpreadsItsField_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("value"); // check box: "1" ticked, "0" clear
        QTest::addColumn<QByteArray>("line");
        const auto row = [](const char* b, const char* c, const char* v, const char* l) {
            QTest::newRow(b) << QString::fromLatin1(b) << QString::fromLatin1(c) << QString::fromLatin1(v)
                             << QByteArray(l);
        };
        row("cmd_Update_all_atc_airline", "txt_atc_Airline", "NEW AIR", "atc_airline=NEW AIR");
        row("cmd_Update_all_atc_heavy", "chk_atc_heavy", "1", "atc_heavy=1");
        row("cmd_Update_all_atc_model", "txt_atc_Model", "B738", "atc_model=B738");
        row("cmd_Update_all_atc_Parking_codes", "txt_atc_ParkingCodes", "ABC,DEF",
            "atc_parking_codes=ABC,DEF");
        row("cmd_Update_all_atc_Parking_types", "lblSelections", "GATE,RAMP", "atc_parking_types=GATE,RAMP");
        row("cmd_Update_all_ui_Createdby", "txt_ui_CreatedBy", " Someone ", "ui_createdby= Someone ");
        row("cmd_Update_all_ui_Manufacturer", "txt_ui_Manufacturer", "Heather", "ui_manufacturer=Heather");
        row("cmd_Update_all_ui_Typerole", "txt_ui_TypeRole", "Airliner", "ui_typerole=Airliner");
        row("cmd_Update_all_ui_Type", "txt_ui_Type", "HJ-100", "ui_type=HJ-100");
    }

    void eachButtonSpreadsItsField()
    {
        QFETCH(QString, button);
        QFETCH(QString, control);
        QFETCH(QString, value);
        QFETCH(QByteArray, line);
        Scene s("[fltsim.0]\r\ntitle=A\r\n\r\n[fltsim.1]\r\ntitle=B\r\n");
        frm_Main& w = s.start();
        if (auto* box = w.findChild<QLineEdit*>(control))
            box->setText(value);
        else if (auto* check = w.findChild<QCheckBox*>(control))
            check->setChecked(value == u"1");
        else if (auto* label = w.findChild<QLabel*>(control))
            label->setText(value);
        else
            QFAIL("no such control");
        w.findChild<QPushButton*>(button)->click();
        QCOMPARE(s.cfg(),
                 "[fltsim.0]\r\ntitle=A\r\n" + line + "\r\n\r\n[fltsim.1]\r\ntitle=B\r\n" + line + "\r\n");
        QVERIFY(s.answers.calls().empty());
    }

    void whichEntries_data()
    {
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<QString>("airline");
        QTest::addColumn<QByteArray>("expected");
        // [General] is never touched, even where it holds the key.
        QTest::newRow("none ticked: every entry, missing keys added")
            << QList<int>{} << "NEW"
            << QByteArray("[General]\r\natc_airline=GEN\r\n"
                          "[fltsim.0]\r\ntitle=A\r\natc_airline=NEW\r\n"
                          "[fltsim.1]\r\ntitle=B\r\natc_airline=NEW\r\n"
                          "[fltsim.2]\r\ntitle=C\r\natc_airline=NEW\r\n"
                          "[fltsim.3]\r\ntitle=D\r\natc_airline=NEW\r\n");
        QTest::newRow("rows 0 and 2 after [General]")
            << QList<int>{0, 2} << "NEW"
            << QByteArray("[General]\r\natc_airline=GEN\r\n"
                          "[fltsim.0]\r\ntitle=A\r\natc_airline=NEW\r\n"
                          "[fltsim.1]\r\ntitle=B\r\n"
                          "[fltsim.2]\r\ntitle=C\r\natc_airline=NEW\r\n"
                          "[fltsim.3]\r\ntitle=D\r\n");
        QTest::newRow("empty field: nothing after '='")
            << QList<int>{} << ""
            << QByteArray("[General]\r\natc_airline=GEN\r\n"
                          "[fltsim.0]\r\ntitle=A\r\natc_airline=\r\n"
                          "[fltsim.1]\r\ntitle=B\r\natc_airline=\r\n"
                          "[fltsim.2]\r\ntitle=C\r\natc_airline=\r\n"
                          "[fltsim.3]\r\ntitle=D\r\natc_airline=\r\n");
        QTest::newRow("a comment is part of the value")
            << QList<int>{3} << "NEW // kept"
            << QByteArray("[General]\r\natc_airline=GEN\r\n"
                          "[fltsim.0]\r\ntitle=A\r\natc_airline=OLD // c\r\n"
                          "[fltsim.1]\r\ntitle=B\r\n"
                          "[fltsim.2]\r\ntitle=C\r\natc_airline=OLD\r\n"
                          "[fltsim.3]\r\ntitle=D\r\natc_airline=NEW // kept\r\n");
    }

    void whichEntries()
    {
        QFETCH(QList<int>, ticked);
        QFETCH(QString, airline);
        QFETCH(QByteArray, expected);
        Scene s(kFour);
        frm_Main& w = s.start();
        for (int row : ticked)
            w.ui.ListView1->setTicked(row, true);
        w.ui.txt_atc_Airline->setText(airline);
        w.ui.cmd_Update_all_atc_airline->click();
        QCOMPARE(s.cfg(), expected);
    }

    void heavy_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("ticked") << true << QByteArray("1");
        QTest::newRow("clear") << false << QByteArray("0");
    }

    void heavy()
    {
        QFETCH(bool, ticked);
        QFETCH(QByteArray, value);
        Scene s("[fltsim.0]\r\natc_heavy=0\r\n[fltsim.1]\r\natc_heavy=1 // heavy\r\n");
        frm_Main& w = s.start();
        w.ui.chk_atc_heavy->setChecked(ticked);
        w.ui.cmd_Update_all_atc_heavy->click();
        QCOMPARE(s.cfg(),
                 "[fltsim.0]\r\natc_heavy=" + value + "\r\n[fltsim.1]\r\natc_heavy=" + value + "\r\n");
    }

    void afterwards_data()
    {
        QTest::addColumn<int>("selected"); // -1: none
        QTest::addColumn<int>("expectedRow");
        QTest::newRow("row 2 selected") << 2 << 2;
        QTest::newRow("nothing selected: the first row") << -1 << 0;
    }

    void afterwards()
    {
        QFETCH(int, selected);
        QFETCH(int, expectedRow);
        Scene s(kFour);
        frm_Main& w = s.start(false, /*autoBackup*/ true);
        show(w, 2);
        w.ui.ListView1->setTicked(1, true);
        w.ui.ListView1->setTicked(2, true);
        w.ui.ListView1->selectRow(selected);
        w.ui.txt_atc_Airline->setText(QStringLiteral("NEW"));
        w.ui.cmd_Update_all_atc_airline->click();
        QCOMPARE(w.ui.ListView1->tickedRows(), QList<int>{});
        QCOMPARE(w.ui.ListView1->selectedRow(), expectedRow);
        QCOMPARE(w.ui.txt_Title->text(), w.ui.ListView1->rowText(expectedRow, 1));
        QCOMPARE(w.ui.ListView1->rowText(2, 13), QStringLiteral("NEW"));
        // No backup copy, whatever the option says.
        QVERIFY(!QFileInfo::exists(s.file("aircraft.zib")));
    }

    void confirmation_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes") << int(msgbox::vbYes);
        QTest::newRow("No") << int(msgbox::vbNo);
    }

    void confirmation()
    {
        QFETCH(int, answer);
        Scene s(kFour);
        s.answers.button(answer);
        frm_Main& w = s.start(/*confirm*/ true);
        w.ui.ListView1->setTicked(1, true);
        w.ui.txt_atc_Airline->setText(QStringLiteral("NEW"));
        w.ui.cmd_Update_all_atc_airline->click();
        QCOMPARE(s.answers.prompts(), QStringList{"Are you sure?"});
        QCOMPARE(s.answers.calls().front().style, int(msgbox::vbYesNo | msgbox::vbQuestion));
        const bool yes = answer == msgbox::vbYes;
        QCOMPARE(s.cfg() == kFour, !yes);
        QCOMPARE(w.ui.ListView1->isTicked(1), !yes);
    }

    void refusedWriteKeepsTheWindow()
    {
        Scene s(kFour);
        frm_Main& w = s.start();
        testutil::setMode(s.cfgPath(), 0444);
        w.ui.ListView1->setTicked(1, true);
        w.ui.txt_atc_Airline->setText(QStringLiteral("NEW"));
        w.ui.txt_Title->setText(QStringLiteral("typed"));
        w.ui.cmd_Update_all_atc_airline->click();
        QCOMPARE(s.cfg(), kFour);
        QCOMPARE(s.answers.calls().size(), size_t(1));
        QVERIFY(s.answers.calls().front().prompt.startsWith("The file:" + s.cfgPath()));
        QCOMPARE(s.answers.calls().front().style, int(msgbox::vbOKOnly | msgbox::vbCritical));
        QVERIFY(w.ui.ListView1->isTicked(1));
        QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("typed"));
        testutil::setMode(s.cfgPath(), 0644);
    }

    // ---- texture, model and air file ----------------------------------------

    void associate_data()
    {
        QTest::addColumn<QString>("texture");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("air");
        QTest::addColumn<QByteArray>("entry"); // fltsim.1 afterwards
        QTest::addColumn<QStringList>("current");
        QTest::newRow("only the model") << ""
                                        << "B"
                                        << "" << QByteArray("title=B\r\ntexture=A\r\nmodel=B\r\nsim=Old\r\n")
                                        << QStringList{"A", "B", "Old"};
        QTest::newRow("<default> texture: one blank")
            << "<default>"
            << ""
            << "" << QByteArray("title=B\r\ntexture= \r\nmodel=\r\nsim=Old\r\n")
            << QStringList{"<default>", "<default>", "Old"};
        QTest::newRow("air file name cut at its first dot")
            << ""
            << ""
            << "Jet" << QByteArray("title=B\r\ntexture=A\r\nmodel=\r\nsim=Jet\r\n")
            << QStringList{"A", "<default>", "Jet"};
    }

    void associate()
    {
        QFETCH(QString, texture);
        QFETCH(QString, model);
        QFETCH(QString, air);
        QFETCH(QByteArray, entry);
        QFETCH(QStringList, current);
        const QByteArray head = "[fltsim.0]\r\ntitle=A\r\n[fltsim.1]\r\n";
        Scene s(head + "title=B\r\ntexture=A\r\nmodel=\r\nsim=Old\r\n[fltsim.2]\r\ntitle=C\r\n",
                {{"Plane/texture/t.bmp", "t"},
                 {"Plane/texture.A/t.bmp", "t"},
                 {"Plane/model.B/model.cfg", "normal=x\r\n"},
                 {"Plane/Jet.v2.air", typeRecord(0)}});
        frm_Main& w = s.start(false, /*autoBackup*/ true);
        QCOMPARE(w.ui.combo_Airfile->itemText(0), QStringLiteral("Jet"));
        w.ui.ListView1->selectRow(1);
        w.ListView1_Click();
        QVERIFY(!w.ui.cmd_Associate->isEnabled());
        if (!texture.isEmpty())
            choose(w.ui.combo_Texture, texture);
        if (!model.isEmpty())
            choose(w.ui.combo_Model, model);
        if (!air.isEmpty())
            choose(w.ui.combo_Airfile, air);
        QVERIFY(w.ui.cmd_Associate->isEnabled());
        w.ui.cmd_Associate->click();

        QCOMPARE(s.cfg(), head + entry + "[fltsim.2]\r\ntitle=C\r\n");
        QCOMPARE(w.ui.ListView1->selectedRow(), 1);
        QCOMPARE((QStringList{w.ui.txt_CurrentTexture->text(), w.ui.txt_CurrentModel->text(),
                              w.ui.txt_CurrentAirfile->text()}),
                 current);
        for (QComboBox* list : {w.ui.combo_Texture, w.ui.combo_Model, w.ui.combo_Airfile})
            QCOMPARE(list->currentIndex(), -1);
        QVERIFY(!w.ui.cmd_Associate->isEnabled());
        QVERIFY(QFileInfo::exists(s.file("aircraft.zib")));
    }

    void associateAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes") << int(msgbox::vbYes);
        QTest::newRow("No") << int(msgbox::vbNo);
    }

    void associateAsksFirst()
    {
        QFETCH(int, answer);
        const QByteArray cfg = "[fltsim.0]\r\ntitle=A\r\nmodel=\r\n";
        Scene s(cfg, {{"Plane/model.B/model.cfg", "normal=x\r\n"}});
        s.answers.button(answer);
        frm_Main& w = s.start(/*confirm*/ true, /*autoBackup*/ true);
        choose(w.ui.combo_Model, QStringLiteral("B"));
        w.ui.cmd_Associate->click();
        QCOMPARE(s.answers.prompts(), QStringList{"Are you sure?"});
        const bool yes = answer == msgbox::vbYes;
        QCOMPARE(s.cfg() == cfg, !yes);
        QCOMPARE(QFileInfo::exists(s.file("aircraft.zib")), yes);
        QCOMPARE(w.ui.combo_Model->currentText(), yes ? QString() : QStringLiteral("B"));
    }

    void associateWithoutSelection()
    {
        const QByteArray cfg = "[fltsim.0]\r\ntitle=A\r\nmodel=\r\n";
        Scene s(cfg, {{"Plane/model.B/model.cfg", "normal=x\r\n"}});
        frm_Main& w = s.start();
        choose(w.ui.combo_Model, QStringLiteral("B"));
        w.ui.ListView1->selectRow(-1);
        w.ui.cmd_Associate->click();
        QCOMPARE(s.cfg(), cfg);
        QCOMPARE(s.answers.prompts(),
                 QStringList{"You must select the [fltsim.x] entry which should be updated"});
    }

    // ---- air-file list --------------------------------------------------------

    void airListWithoutSelectionDisablesAllFour()
    {
        Scene s("[fltsim.0]\r\nsim=Jet\r\n", {{"Plane/Jet.air", typeRecord(2)}});
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
        Scene s("[fltsim.0]\r\nsim=A\r\n", {{"Plane/A.air", typeRecord(0)}, {"Plane/B.air", typeRecord(1)}});
        frm_Main& w = s.start();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.ui.opt_ac_Normal->isChecked());
        QListWidget* list = w.ui.lst_Airfile;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QVERIFY(w.ui.opt_ac_Helicopter->isChecked());
        w.ui.opt_ac_AI->click();
        QCOMPARE(testutil::readFile(s.file("B.air")), typeRecord(2));
        QCOMPARE(testutil::readFile(s.file("A.air")), typeRecord(0));
        QCOMPARE(s.cfg(), QByteArray("[fltsim.0]\r\nsim=A\r\n"));
    }

    void airListFollowsTheKeys()
    {
        // Moving through the list with the arrow keys picks the file too, so a
        // switch never writes into a file the list no longer highlights.
        Scene s("[fltsim.0]\r\nsim=A\r\n", {{"Plane/A.air", typeRecord(0)}, {"Plane/B.air", typeRecord(1)}});
        frm_Main& w = s.start();
        QListWidget* list = w.ui.lst_Airfile;
        QCOMPARE(list->currentRow(), 0);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), 1);
        QVERIFY(w.ui.opt_ac_Helicopter->isChecked());
        w.ui.opt_ac_AI->click();
        QCOMPARE(testutil::readFile(s.file("B.air")), typeRecord(2));
        QCOMPARE(testutil::readFile(s.file("A.air")), typeRecord(0));
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
            << record(0x100, "0123456789") + record(0x104, {}) << "opt_ac_AI" << false << quint8(2);
    }

    void typeSwitch()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, button);
        QFETCH(bool, readOnly);
        QFETCH(quint8, type);
        // The start type differs from every one written; a record after it stays.
        const QByteArray tail = record(0x105, QByteArray(8, '\x07'));
        const quint8 start = type == 2 ? 1 : 2;
        Scene s("[fltsim.0]\r\nsim=Jet\r\n", {{"Plane/Jet.air", before + typeRecord(start) + tail}});
        if (readOnly)
            testutil::setMode(s.file("Jet.air"), 0444);
        frm_Main& w = s.start();
        typeButton(w, button)->click();
        QCOMPARE(testutil::readFile(s.file("Jet.air")), before + typeRecord(type) + tail);
        QVERIFY(typeButton(w, button)->isChecked());
        QVERIFY(s.answers.calls().empty());
        QVERIFY(QFileInfo(s.file("Jet.air")).permissions().testFlag(QFileDevice::WriteOwner));
    }

    void questions_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("question");
        QTest::newRow("Normal") << "opt_ac_Normal"
                                << "Are you sure that you want to change this aircraft to type 0 = Normal?";
        QTest::newRow("AI") << "opt_ac_AI"
                            << "Are you sure that you want to change this aircraft to type 2 = AI?";
    }

    void questions()
    {
        QFETCH(QString, button);
        QFETCH(QString, question);
        Scene s("[fltsim.0]\r\nsim=Jet\r\n", {{"Plane/Jet.air", typeRecord(1)}});
        frm_Main& w = s.start(/*confirm*/ true);
        QVERIFY(w.ui.opt_ac_Helicopter->isChecked());
        // No: the file stays, the button of the type read is selected again.
        s.answers.button(msgbox::vbNo);
        typeButton(w, button)->click();
        QCOMPARE(s.answers.prompts(), QStringList{question});
        QCOMPARE(s.answers.calls().back().style, int(msgbox::vbYesNo | msgbox::vbQuestion));
        QCOMPARE(testutil::readFile(s.file("Jet.air")), typeRecord(1));
        QVERIFY(w.ui.opt_ac_Helicopter->isChecked());
        QVERIFY(w.bAirReady);
        // Yes: written.
        s.answers.button(msgbox::vbYes);
        typeButton(w, button)->click();
        QCOMPARE(testutil::readFile(s.file("Jet.air")), typeRecord(button == u"opt_ac_AI" ? 2 : 0));
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
        Scene s("[fltsim.0]\r\nsim=Jet\r\n", {{"Plane/Jet.air", typeRecord(1)}});
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
        QCOMPARE(testutil::readFile(s.file("Jet.air")), typeRecord(1));
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
                {{"Plane/A.air", typeRecord(0)}, {"Plane/B.air", typeRecord(2)}});
        frm_Main& w = s.start(/*confirm*/ true);
        show(w, 1);
        QVERIFY(w.ui.opt_ac_AI->isChecked());
        show(w, 0);
        QVERIFY(w.ui.opt_ac_Normal->isChecked());
        w.ui.opt_ac_Helicopter->setChecked(true);
        QVERIFY(s.answers.calls().empty());
        QCOMPARE(testutil::readFile(s.file("A.air")), typeRecord(0));
        QCOMPARE(testutil::readFile(s.file("B.air")), typeRecord(2));
    }

    void nothingToWrite_data()
    {
        QTest::addColumn<QByteArray>("replacement"); // the file's bytes at the click; empty: deleted
        QTest::newRow("file gone") << QByteArray();
        QTest::newRow("no type record") << record(0x100, "abcd");
        QTest::newRow("damaged chain")
            << record(0x100, {}).left(4) + QByteArray("\xf8\xff\xff\xff", 4) + typeRecord(1);
    }

    void nothingToWrite()
    {
        QFETCH(QByteArray, replacement);
        Scene s("[fltsim.0]\r\nsim=Jet\r\n", {{"Plane/Jet.air", typeRecord(0)}});
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
        Scene s("[fltsim.0]\r\nsim=..\\Outside\r\n", {{"Outside.air", typeRecord(0)}});
        frm_Main& w = s.start();
        QVERIFY(w.ui.opt_ac_Normal->isChecked());
        w.ui.opt_ac_AI->click();
        QCOMPARE(testutil::readFile(s.root() + "/Outside.air"), typeRecord(0));
        QVERIFY(w.ui.opt_ac_Normal->isChecked());
        QCOMPARE(s.answers.prompts(), QStringList{AirTypeSwitch::outsideMessage(w.sAirFile)});
        QVERIFY(s.answers.prompts().front().contains(u"Outside.air"));
    }

    void failureIsToldAndReloaded()
    {
        Scene s("[fltsim.0]\r\ntitle=A\r\nsim=Jet\r\n", {{"Plane/Jet.air", typeRecord(0)}});
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

QTEST_MAIN(TestFrmMainUpdateAll)
#include "tst_frmmain_updateall.moc"
