// The update-all buttons and "&3. Update" with its three lists, on real
// widgets over real files.
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"

#include "AircraftScene.h"
#include "DataRows.h"
#include "SimFiles.h"
#include "TestUtil.h"
#include "WindowEdits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

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
        // value of a check box: "1" ticked, "0" clear
        const testutil::NamedRows<QString, QString, QByteArray> row({"button", "control", "value", "line"});
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
        testutil::applyEdits(w, {{control, value}});
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

    void confirmation_data() { testutil::addYesNoRows(); }

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
                 {"Plane/Jet.v2.air", testutil::airTypeRecord(0)}});
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

    void associateAsksFirst_data() { testutil::addYesNoRows(); }

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
};

QTEST_MAIN(TestFrmMainUpdateAll)
#include "tst_frmmain_updateall.moc"
