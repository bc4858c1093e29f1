// The effects tab on real widgets: "&2. Update" with whole-file comparisons,
// its question and backup, the effect fields' colours and the effects pop-up
// menu's three operations.
#include "editing/frm_RightClick.h"
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DescriptionEdit.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/VbColors.h"
#include "shared/MessageBox.h"

#include "AircraftScene.h"
#include "MainWindowFixture.h"
#include "TestUtil.h"
#include "WindowEdits.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

using testutil::Edits;

// The blank after the first description's "=" would go if the line were rewritten.
const QByteArray kCfg =
    "[fltsim.0]\r\ntitle=A\r\ndescription = Nice // kept\r\n\r\n"
    "[fltsim.1]\r\ntitle=B\r\ndescription=Second\r\n\r\n"
    "[effects]\r\nwake=fx_wake\r\nwater=fx_spray\r\ndirt=fx_tchdrt\r\nconcrete=fx_sparks\r\n"
    "touchdown=fx_tchdwn\r\ncontrail=fx_contrail_l\r\nstartup=fx_engstrt,1\r\n"
    "vaportrail_l=fx_vaportrail_l\r\nvaportrail_r=fx_vaportrail_r\r\n"
    "l_wingtipvortice=fx_wingtipvortice_l, 1\r\nr_wingtipvortice=fx_wingtipvortice_r,1\r\n";

// kCfg with its [effects] lines as the update writes them back.
QByteArray cfgWith(const QByteArray& entries, const QByteArray& effectLines)
{
    return entries + "[effects]\r\n" + effectLines;
}
const QByteArray kEntries = kCfg.left(kCfg.indexOf("[effects]"));
const QByteArray kEffectsWritten =
    "wake=fx_wake\r\nwater=fx_spray\r\ndirt=fx_tchdrt\r\nconcrete=fx_sparks\r\n"
    "touchdown=fx_tchdwn\r\ncontrail=fx_contrail_l\r\nstartup=fx_engstrt,1\r\n"
    "vaportrail_l=fx_vaportrail_l\r\nvaportrail_r=fx_vaportrail_r\r\n"
    "l_wingtipvortice=fx_wingtipvortice_l,1\r\nr_wingtipvortice=fx_wingtipvortice_r,1\r\n";

// The effects tests start from one aircraft and can bring the effects tab up.
class Scene : public testutil::AircraftScene
{
public:
    explicit Scene(const QByteArray& cfg = kCfg) : AircraftScene(cfg) {}

    // Shows the window with the effects tab in front.
    bool show()
    {
        frm_Main& w = window();
        w.show();
        w.activateWindow();
        w.ui.SSTab1->setCurrentWidget(w.ui.SSTab1->findChild<QWidget*>("SSTab1_effects"));
        return QTest::qWaitForWindowActive(&w) && w.ui.txt_effects[0]->isVisible();
    }

    // Starts the window and shows it with the effects tab in front.
    bool startShown()
    {
        start();
        return show();
    }
};

void clickUpdate(frm_Main& w)
{
    QTest::mouseClick(w.ui.cmd_Effect_Update, Qt::LeftButton);
}

// Opens the effects menu with the right button over slot `slot`'s field.
QMenu* rightClickEffect(frm_Main& w, int slot)
{
    QTest::mousePress(w.ui.txt_effects[slot], Qt::RightButton);
    return w.rightClick()->mnuThisEffects;
}

} // namespace

class TestFrmMainEffects : public QObject
{
    Q_OBJECT

private slots:
    void update_data()
    {
        QTest::addColumn<QByteArray>("cfg");
        QTest::addColumn<int>("row");
        QTest::addColumn<Edits>("edits");
        QTest::addColumn<QByteArray>("expected");

        // All eleven keys are rewritten (the blank in ", 1" goes); the
        // description keeps its line, comment included.
        QTest::newRow("only touchdown's once changed") << kCfg << 0 << Edits{{"chk_Effect[4]", "1"}}
            << cfgWith(kEntries, QByteArray(kEffectsWritten)
                                     .replace("touchdown=fx_tchdwn\r\n", "touchdown=fx_tchdwn,1\r\n"));
        QTest::newRow("description typed back to its text")
            << kCfg << 0 << Edits{{"txt_Description", "Nice // kept"}} << cfgWith(kEntries, kEffectsWritten);
        QTest::newRow("description of the second row") << kCfg << 1 << Edits{{"txt_Description", "Second, changed"}}
            << cfgWith(QByteArray(kEntries).replace("description=Second", "description=Second, changed"),
                       kEffectsWritten);
        QTest::newRow("emptied effect and once")
            << kCfg << 0 << Edits{{"txt_effects[6]", ""}, {"txt_effects[2]", "dust"}}
            << cfgWith(kEntries, QByteArray(kEffectsWritten)
                                     .replace("startup=fx_engstrt,1", "startup=,1")
                                     .replace("dirt=fx_tchdrt", "dirt=dust"));
        // Entry sections out of order: the row's own section gets the text.
        QTest::newRow("[fltsim.7] before [fltsim.2]")
            << QByteArray("[fltsim.7]\r\ntitle=Seven\r\n[fltsim.2]\r\ntitle=Two\r\ndescription=old\r\n") << 1
            << Edits{{"txt_Description", "new"}}
            << QByteArray("[fltsim.7]\r\ntitle=Seven\r\n[fltsim.2]\r\ntitle=Two\r\ndescription=new\r\n"
                          "[effects]\r\nwake=\r\nwater=\r\ndirt=\r\nconcrete=\r\ntouchdown=\r\ncontrail=\r\n"
                          "startup=\r\nvaportrail_l=\r\nvaportrail_r=\r\nl_wingtipvortice=\r\n"
                          "r_wingtipvortice=\r\n");
    }

    void update()
    {
        QFETCH(QByteArray, cfg);
        QFETCH(Edits, edits);
        Scene s(cfg);
        frm_Main& w = testutil::runUpdateRow(s, QStringLiteral("cmd_Effect_Update"));
        // The row shown again shows the file's description.
        QCOMPARE(w.ui.txt_Description->text(), edits.value("txt_Description", w.sDescriptionOrg));
        QCOMPARE(w.sDescriptionOrg, w.ui.txt_Description->text());
    }

    void descriptionGoesToTheShownEntry()
    {
        // A single click on another row moves the selection, not the fields.
        Scene s;
        frm_Main& w = s.start();
        w.ui.txt_Description->setText(QStringLiteral("First, edited"));
        w.ui.ListView1->selectRow(1);
        w.ListView1_Click();
        clickUpdate(w);
        QVERIFY(s.cfg().contains("[fltsim.0]\r\ntitle=A\r\ndescription =First, edited\r\n"));
        QVERIFY(s.cfg().contains("description=Second\r\n"));
        QCOMPARE(w.ui.ListView1->selectedRow(), 0);
    }

    void confirmationAndBackup_data() { testutil::addConfirmationRows(); }

    void confirmationAndBackup()
    {
        QFETCH(bool, confirm);
        QFETCH(bool, written);
        Scene s;
        frm_Main& w = testutil::startForConfirmationRow(s);
        w.ui.txt_effects[0]->setText(QStringLiteral("fx_new"));
        clickUpdate(w);
        testutil::verifyAskedSure(s.answers, confirm);
        QCOMPARE(s.cfg().contains("wake=fx_new\r\n"), written);
        QCOMPARE(QFileInfo::exists(s.folder() + "/aircraft.zib"), written);
        if (written)
            QCOMPARE(testutil::readFile(s.folder() + "/aircraft.zib"), kCfg);
        else
            QCOMPARE(w.ui.txt_effects[0]->text(), QStringLiteral("fx_new")); // no reload
    }

    void refusedWriteKeepsTheEdits()
    {
        // Text the file's code page cannot hold: nothing is written, the user
        // is told which file, and the fields keep what was typed.
        Scene s;
        frm_Main& w = s.start();
        const QString text = QStringLiteral("Kanji \u65e5\u672c");
        w.ui.txt_Description->setText(text);
        w.ui.txt_effects[1]->setText(QStringLiteral("fx_other"));
        clickUpdate(w);
        QCOMPARE(s.cfg(), kCfg);
        QCOMPARE(s.answers.calls().size(), size_t(1));
        const msgbox::Call& box = s.answers.calls().front();
        QVERIFY(box.prompt.startsWith(QStringLiteral("The file:") + s.cfgPath()));
        QCOMPARE(box.style, int(msgbox::vbOKOnly | msgbox::vbCritical));
        QCOMPARE(w.ui.txt_Description->text(), text);
        QCOMPARE(w.ui.txt_effects[1]->text(), QStringLiteral("fx_other"));
    }

    void gotFocusColoursAndLeftButton()
    {
        Scene s;
        frm_Main& w = s.start();
        QCOMPARE(w.iEffect, -1);
        QVERIFY(s.show());
        for (int slot : {2, 7}) {
            QTest::mouseClick(w.ui.txt_effects[slot], Qt::LeftButton);
            QVERIFY(w.ui.txt_effects[slot]->hasFocus());
            QVERIFY(!w.rightClick()->mnuThisEffects->isVisible()); // the left button opens no menu
            QCOMPARE(w.iEffect, slot);
            for (int i = 0; i < w.ui.txt_effects.size(); ++i)
                QCOMPARE(backColor(w.ui.txt_effects[i]),
                         vbColor(i == slot ? vbcolor::LightOrange : vbcolor::White));
        }
        // A reload forgets the slot.
        w.Dir1_Change();
        QCOMPARE(w.iEffect, -1);
    }

    void menuOperations_data()
    {
        QTest::addColumn<int>("focusedBefore");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("once");

        QTest::newRow("disable slot 9, slot 0 focused") << 0 << 9 << "mnuEffectsDisable" << "" << false;
        QTest::newRow("disable slot 3") << 3 << 3 << "mnuEffectsDisable" << "" << false;
        QTest::newRow("default slot 9") << 1 << 9 << "mnuEffectsDefault" << "fx_wingtipvortice_l" << true;
        QTest::newRow("default slot 1") << 9 << 1 << "mnuEffectsDefault" << "fx_spray" << false;
        QTest::newRow("default slot 6") << 0 << 6 << "mnuEffectsDefault" << "fx_engstrt" << true;
    }

    void menuOperations()
    {
        QFETCH(int, focusedBefore);
        QFETCH(int, slot);
        QFETCH(QString, item);
        QFETCH(QString, file);
        QFETCH(bool, once);
        Scene s;
        QVERIFY(s.startShown());
        frm_Main& w = s.window();
        // A file box and once flag that differ from the outcome.
        w.ui.txt_effects[slot]->setText(QStringLiteral("custom"));
        w.ui.chk_Effect[slot]->setChecked(!once);
        w.ui.txt_effects[focusedBefore]->setFocus();
        const QString otherText = w.ui.txt_effects[focusedBefore]->text();

        QMenu* menu = rightClickEffect(w, slot);
        QVERIFY(menu->isVisible());
        QCOMPARE(QApplication::activePopupWidget(), menu); // not the field's own menu
        QCOMPARE(w.iEffect, slot);
        menu->findChild<QAction*>(item)->trigger();
        menu->hide();

        QCOMPARE(w.ui.txt_effects[slot]->text(), file);
        QCOMPARE(w.ui.chk_Effect[slot]->isChecked(), once);
        if (focusedBefore != slot)
            QCOMPARE(w.ui.txt_effects[focusedBefore]->text(), otherText);
        QVERIFY(s.answers.calls().empty());
        // Nothing reaches the file before the update.
        QCOMPARE(s.cfg(), kCfg);
    }

    void fieldsOwnMenu_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<bool>("shown");
        QTest::newRow("right mouse button: suppressed") << int(QContextMenuEvent::Mouse) << false;
        QTest::newRow("menu key: the field's own menu") << int(QContextMenuEvent::Keyboard) << true;
    }

    void fieldsOwnMenu()
    {
        QFETCH(int, reason);
        QFETCH(bool, shown);
        Scene s;
        QVERIFY(s.startShown());
        QLineEdit* field = s.window().ui.txt_effects[5];
        bool nativeMenuShown = false;
        // The field's own menu would block in its event loop: close it from a timer.
        QTimer::singleShot(100, field, [&nativeMenuShown] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                nativeMenuShown = true;
                popup->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Reason(reason), QPoint(2, 2),
                                field->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(field, &event);
        QTest::qWait(200);
        QCOMPARE(nativeMenuShown, shown);
    }

    void selectEffectFile_data()
    {
        QTest::addColumn<QString>("chosen"); // empty: cancelled
        QTest::addColumn<QString>("expected");
        QTest::newRow("lower-case extension") << "/sim/Effects/fx_smoke.fx" << "fx_smoke";
        QTest::newRow("extension in capitals") << "/sim/Effects/FX_SMOKE.FX" << "FX_SMOKE";
        QTest::newRow("other extension") << "/sim/Effects/fx_smoke.txt" << "fx_smoke.txt";
        QTest::newRow(".fxx is another extension") << "/sim/Effects/fx_smoke.fxx" << "fx_smoke.fxx";
        QTest::newRow("Windows path") << "C:\\FS9\\Effects\\fx_wake.Fx" << "fx_wake";
        QTest::newRow("cancelled") << "" << "fx_tchdrt";
    }

    void selectEffectFile()
    {
        Scene s;
        QVERIFY(s.startShown());
        frm_Main& w = s.window();
        w.ui.chk_Effect[2]->setChecked(true);
        QMenu* menu = rightClickEffect(w, 2);
        QFETCH(QString, chosen);
        QFETCH(QString, expected);
        s.answers.text(chosen);
        w.rightClick()->mnuEffectsSelect->trigger();
        menu->hide();
        QCOMPARE(w.ui.txt_effects[2]->text(), expected);
        QVERIFY(w.ui.chk_Effect[2]->isChecked()); // never changed by a file choice
        QCOMPARE(s.answers.calls().size(), size_t(1));
        const msgbox::Call& dialog = s.answers.calls().front();
        QCOMPARE(dialog.kind, msgbox::Kind::OpenFile);
        QCOMPARE(dialog.dialog.filter, QStringLiteral("Effect (*.fx) | *.fx"));
        QCOMPARE(dialog.dialog.initialPath, w.oIni.path());
        QCOMPARE(s.cfg(), kCfg);
    }

    void operationsWithoutASlot()
    {
        // Right after a folder load no effect field has been chosen.
        Scene s;
        frm_Main& w = s.start();
        QCOMPARE(w.iEffect, -1);
        w.EffectSelect();
        QCOMPARE(
            s.answers.prompts(),
            QStringList{"Please click in a effect textbox first to select the effect you want to update"});
        QCOMPARE(s.answers.calls().front().style, int(msgbox::vbOKOnly | msgbox::vbInformation));
        w.EffectDisable();
        w.EffectDefault();
        for (int i = 0; i < w.ui.txt_effects.size(); ++i)
            QVERIFY(!w.ui.txt_effects[i]->text().isEmpty());
        QCOMPARE(s.answers.calls().size(), size_t(1));
    }
};

QTEST_MAIN(TestFrmMainEffects)
#include "tst_frmmain_effects.moc"
