// The aircraft-wide values the folder load reads from the sections that are
// not entries: wing span, exits with their comments and the jetway text, the
// [general] ATC values and the effects, as the main window shows them.
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/VbColors.h"

#include "DataRows.h"
#include "FolderLoad.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

using namespace testutil::colors;
using testutil::exitBoxes;
using testutil::makeCfg;

class TestFrmMainAircraftWide : public testutil::FolderLoadTest
{
    Q_OBJECT

private slots:
    void aircraftWideFields_data();
    void aircraftWideFields();
    void exits_data();
    void exits();
    void exitCommentsBelongToTheFolder();
    void effects_data();
    void effects();
};

void TestFrmMainAircraftWide::aircraftWideFields_data()
{
    const testutil::TextRows<QByteArray, QString, QString> row({"sections", "field", "text"});
    row("wing span", "[geometry]\r\nwing_span=35.8\r\n", "txt_WingSpan_Org", "35.8");
    row("wing span with comment", "[geometry]\r\nwing_span=35.8 //ft\r\n", "txt_WingSpan_Org", "35.8");
    row("the later wing span", "[geometry]\r\nwing_span=10\r\n[more]\r\nwing_span=20.5\r\n",
        "txt_WingSpan_Org", "20.5");
    row("wing span without a number", "[geometry]\r\nwing_span=abc\r\n", "txt_WingSpan_Org", "0");
    row("general atc_model as written", "[GENERAL]\r\natc_model=B738 //x\r\n", "txt_general_atc_model",
        "B738 //x");
    row("general atc_type", "[general]\r\natc_type=BOEING\r\n", "txt_general_atc_type", "BOEING");
    row("atc_type outside general", "[misc]\r\natc_type=NOPE\r\n", "txt_general_atc_type", "");
    row("exit part cut at its first blank", "[exits]\r\nexit.0= 0.4 x , 27.0\r\n", "txt_Exit_0[0]", "0.4");
    row("exit parts after the fifth", "[exits]\r\nexit.2=1,2,3,4,5,6 //c\r\n", "txt_Exit_2[4]", "5");
    row("exit key in any section", "[doors]\r\nEXIT.1=1,2,3,4,5\r\n", "txt_Exit_1[2]", "3");
}

void TestFrmMainAircraftWide::aircraftWideFields()
{
    QFETCH(QByteArray, sections);
    QFETCH(QString, field);
    QFETCH(QString, text);

    frm_Main& w = window();
    load(makeCfg(root() + "/Wide", "[fltsim.0]\r\ntitle=A\r\n" + sections));
    auto* box = w.findChild<QLineEdit*>(field);
    QVERIFY2(box, qPrintable(field));
    QCOMPARE(box->text(), text);
}

void TestFrmMainAircraftWide::exits_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QStringList>("boxes"); // 15: exit 0 boxes 0..4, exit 1, exit 2
    QTest::addColumn<QStringList>("comments");
    QTest::addColumn<bool>("jetways");
    QTest::addColumn<QList<bool>>("ticks");

    const QStringList none(5, QString());
    const QStringList door{"0.4", "27.0", "-4.0", "4.5", "0"};
    QTest::newRow("a full line with a comment")
        << QByteArray("exit.0=0.4, 27.0, -4.0, 4.5, 0 //Main door") << door + none + none
        << QStringList{"//Main door", "", ""} << true << QList<bool>{true, false, false};
    QTest::newRow("four parts") << QByteArray("exit.1=0.4, 27.0, -4.0, 4.5")
                                << none + QStringList{"0.4", "27.0", "-4.0", "4.5", ""} + none
                                << QStringList{"", "", ""} << false << QList<bool>{false, false, false};
    QTest::newRow("each line its own comment")
        << QByteArray("exit.1=1,2,3,4,5 //left\r\nexit.2=6,7,8,9,10 //right")
        << none + QStringList{"1", "2", "3", "4", "5"} + QStringList{"6", "7", "8", "9", "10"}
        << QStringList{"", "//left", "//right"} << true << QList<bool>{false, true, true};
    // The comment is no part of a box, or saving would write it twice.
    QTest::newRow("comment without its own blank")
        << QByteArray("exit.2=1,2,3,4,5//tight") << none + none + QStringList{"1", "2", "3", "4", "5"}
        << QStringList{"", "", "//tight"} << true << QList<bool>{false, false, true};
    QTest::newRow("commas in the comment")
        << QByteArray("exit.1=1,2,3 //left, rear, small") << none + QStringList{"1", "2", "3", "", ""} + none
        << QStringList{"", "//left, rear, small", ""} << false << QList<bool>{false, false, false};
    QTest::newRow("a short line beside a full one")
        << QByteArray("exit.0=1,2\r\nexit.1=1,2,3,4,5")
        << QStringList{"1", "2", "", "", ""} + QStringList{"1", "2", "3", "4", "5"} + none
        << QStringList{"", "", ""} << true << QList<bool>{false, true, false};
    QTest::newRow("no exits") << QByteArray("door=1") << none + none + none << QStringList{"", "", ""}
                              << false << QList<bool>{false, false, false};
}

void TestFrmMainAircraftWide::exits()
{
    QFETCH(QByteArray, lines);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, comments);
    QFETCH(bool, jetways);
    QFETCH(QList<bool>, ticks);

    frm_Main& w = window();
    load(makeCfg(root() + "/Exits", "[fltsim.0]\r\ntitle=A\r\n[exits]\r\n" + lines + "\r\n"));
    const QList<QLineEdit*> all = exitBoxes(w);
    for (int i = 0; i < 15; ++i)
        QCOMPARE(all.at(i)->text(), boxes.at(i));
    QCOMPARE((QStringList{w.sExit0Comment, w.sExit1Comment, w.sExit2Comment}), comments);
    QCOMPARE(w.ui.txt_Jetways->text(),
             jetways ? QStringLiteral("Jetways possible: yes") : QStringLiteral("Jetways possible: no"));
    QCOMPARE(backColor(w.ui.txt_Jetways), jetways ? kJetwayGreen : kJetwayRed);
    QCOMPARE((QList<bool>{w.ui.chk_Exit_0->isChecked(), w.ui.chk_Exit_1->isChecked(),
                          w.ui.chk_Exit_2->isChecked()}),
             ticks);
}

void TestFrmMainAircraftWide::exitCommentsBelongToTheFolder()
{
    frm_Main& w = window();
    load(makeCfg(root() + "/A", "[fltsim.0]\r\ntitle=A\r\n[exits]\r\nexit.0=1,2,3,4,5 //a\r\n"
                                "exit.1=1,2,3,4,5 //b\r\nexit.2=1,2,3,4,5 //c\r\n"));
    QCOMPARE(w.sExit2Comment, QStringLiteral("//c"));
    load(makeCfg(root() + "/B", "[fltsim.0]\r\ntitle=B\r\n[exits]\r\nexit.0=1,2,3,4,5\r\n"));
    QVERIFY(w.sExit0Comment.isEmpty() && w.sExit1Comment.isEmpty() && w.sExit2Comment.isEmpty());
    load(root() + "/A");
    load(makeCfg(root() + "/C", "[fltsim.0]\r\ntitle=C\r\n"));
    QVERIFY(w.sExit0Comment.isEmpty() && w.sExit1Comment.isEmpty() && w.sExit2Comment.isEmpty());
    QCOMPARE(w.ui.txt_Exit_1.at(0)->text(), QString());
}

void TestFrmMainAircraftWide::effects_data()
{
    QTest::addColumn<QByteArray>("sections");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("once");

    QTest::newRow("once") << QByteArray("[effects]\r\ntouchdown=fx_tchdwn, 1") << 4 << "fx_tchdwn" << true;
    QTest::newRow("every time") << QByteArray("[effects]\r\nwake=fx_wake") << 0 << "fx_wake" << false;
    QTest::newRow("zero flag") << QByteArray("[effects]\r\ndirt=fx_dirt, 0") << 2 << "fx_dirt" << false;
    QTest::newRow("key in capitals") << QByteArray("[EFFECTS]\r\nWATER=fx_spray") << 1 << "fx_spray" << false;
    QTest::newRow("last slot") << QByteArray("[effects]\r\nr_wingtipvortice=fx_vortex,1") << 10 << "fx_vortex"
                               << true;
    QTest::newRow("a later effects section wins")
        << QByteArray("[effects]\r\nstartup=fx_a\r\n[effects.more]\r\nstartup=fx_b, 1") << 6 << "fx_b"
        << true;
    QTest::newRow("unknown keys are ignored")
        << QByteArray("[effects]\r\nsmoke=fx_smoke, 1") << 0 << "" << false;
    QTest::newRow("effect keys elsewhere are ignored")
        << QByteArray("[misc]\r\nwake=fx_wake") << 0 << "" << false;
}

void TestFrmMainAircraftWide::effects()
{
    QFETCH(QByteArray, sections);
    QFETCH(int, slot);
    QFETCH(QString, file);
    QFETCH(bool, once);

    frm_Main& w = window();
    load(makeCfg(root() + "/Fx", "[fltsim.0]\r\ntitle=A\r\n" + sections + "\r\n"));
    QCOMPARE(w.ui.txt_effects.at(slot)->text(), file);
    QCOMPARE(w.ui.chk_Effect.at(slot)->isChecked(), once);
    for (int i = 0; i < 11; ++i) {
        QVERIFY(backColor(w.ui.txt_effects.at(i)) == kWhite);
        if (i != slot)
            QVERIFY2(w.ui.txt_effects.at(i)->text().isEmpty(), qPrintable(QString::number(i)));
    }
}

QTEST_MAIN(TestFrmMainAircraftWide)
#include "tst_frmmain_aircraftwide.moc"
