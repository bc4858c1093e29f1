// The main window's option toggles, Quit, the manual, the column options
// item, the balloon tooltips with the status bar's panel texts, and resizing.
#include "mainwindow/frm_ListViewOptions.h"
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "shared/BalloonTip.h"
#include "shared/Globals.h"
#include "shared/modSettings.h"
#include "shared/modSystem.h"
#include "shared/ProportionalResize.h"

#include "BoxRecorder.h"
#include "ConfigHome.h"
#include "MainWindowFixture.h"
#include "TestUtil.h"
#include "UrlRecorder.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QUrl>

using testutil::BoxRecorder;
using testutil::MainWindowFixture;

namespace {

bool& flagOf(frm_Main& w, const QString& key)
{
    if (key == u"Update")
        return w.bConfirm;
    if (key == u"AutoBackup")
        return w.bAutoBackup;
    if (key == u"AutoUpdate")
        return w.bAutoUpdate;
    if (key == u"Resizeable")
        return w.bResizable;
    if (key == u"IsMerrow")
        return globals::gbRememberPath;
    if (key == u"ToolTips")
        return globals::gbToolTips;
    return globals::gbUseEditor;
}

QPoint panelPoint(const frm_Main& w, int panel, int dx = 0)
{
    const QRect r = w.ui.StatusBar1->panelRect(panel);
    return QPoint(r.left() + r.width() / 2 + dx, r.center().y());
}

} // namespace

class TestFrmMainMenus : public QObject
{
    Q_OBJECT

private slots:

    void toggles_data();
    void toggles();
    void resizableTwice();
    void tooltipsAfterNextStart();
    void tooltipsOfAnotherWindowAtItsNextLoad_data();
    void tooltipsOfAnotherWindowAtItsNextLoad();
    void statusBarBalloon();
    void restingOnAPanelKeepsItsBalloon();
    void statusBarHeldButton();
    void statusBarWithoutTooltips();
    void quit();
    void manual();
    void manualNeedsAProgramForPdf_data();
    void manualNeedsAProgramForPdf();
    void dataGridOpensOneWindow();
    void resizeScalesFonts();

private:
    testutil::OwnConfigHome m_config;
};

void TestFrmMainMenus::toggles_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored"); // null: absent
    QTest::addColumn<bool>("viaMenu");   // a click on the item, or the handler called by code

    const struct
    {
        const char* item;
        const char* key;
    } toggles[] = {
        {"mnuConfirm", "Update"},       {"mnuAutoBackup", "AutoBackup"},     {"mnu_AutoUpdate", "AutoUpdate"},
        {"mnuResizable", "Resizeable"}, {"mnuRememberLastPath", "IsMerrow"}, {"mnuToolTips", "ToolTips"},
        {"mnuEditor", "Editor"}};
    bool viaMenu = true;
    for (const auto& t : toggles) {
        if (viaMenu)
            QTest::addRow("%s, menu click", t.item) << t.item << t.key << QString() << true;
        else
            QTest::addRow("%s, stored 0, by code", t.item) << t.item << t.key << "0" << false;
        viaMenu = !viaMenu;
    }
    QTest::newRow("mnuEditor, stored 0, by code") << "mnuEditor"
                                                  << "Editor"
                                                  << "0" << false;
}

void TestFrmMainMenus::toggles()
{
    QFETCH(QString, item);
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(bool, viaMenu);

    QMap<QString, QString> settings;
    if (!stored.isNull())
        settings.insert(key, stored);
    BoxRecorder boxes;
    MainWindowFixture f({}, settings);
    frm_Main& w = f.start();
    auto* action = w.findChild<QAction*>(item);
    QVERIFY(action);
    // The update check reads its option when the window is activated; start
    // it here from the stored value as the other options are.
    if (key == u"AutoUpdate") {
        w.bAutoUpdate = stored != u"0";
        action->setChecked(w.bAutoUpdate);
    }
    bool& flag = flagOf(w, key);
    QCOMPARE(action->isChecked(), flag);

    const auto toggle = [&] {
        if (viaMenu) {
            action->trigger();
        } else {
            // The handlers are plain functions; call the matching one.
            if (item == u"mnuConfirm")
                w.mnuConfirm_Click();
            else if (item == u"mnuAutoBackup")
                w.mnuAutoBackup_Click();
            else if (item == u"mnu_AutoUpdate")
                w.mnu_AutoUpdate_Click();
            else if (item == u"mnuResizable")
                w.mnuResizable_Click();
            else if (item == u"mnuRememberLastPath")
                w.mnuRememberLastPath_Click();
            else if (item == u"mnuToolTips")
                w.mnuToolTips_Click();
            else
                w.mnuEditor_Click();
        }
    };
    for (int round = 0; round < 2; ++round) {
        const bool before = flag;
        toggle();
        QCOMPARE(flag, !before);
        QCOMPARE(action->isChecked(), flag);
        QCOMPARE(testutil::storedSetting(key), flag ? QStringLiteral("1") : QStringLiteral("0"));
    }
    QVERIFY(boxes.calls().empty());
}

void TestFrmMainMenus::resizableTwice()
{
    MainWindowFixture f;
    frm_Main& w = f.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.minimumSize(), w.maximumSize());

    w.ui.mnuResizable->trigger();
    QVERIFY(w.bResizable);
    QVERIFY(w.minimumSize() != w.maximumSize());
    QVERIFY(w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(w.isVisible());
    QCOMPARE(testutil::storedSetting("Resizeable"), QStringLiteral("1"));

    w.resize(w.width() + 120, w.height() + 40);
    const QSize grown = w.size();
    w.ui.mnuResizable->trigger();
    QVERIFY(!w.bResizable);
    // Fixed again, at the size it has now.
    QCOMPARE(w.minimumSize(), grown);
    QCOMPARE(w.maximumSize(), grown);
    QVERIFY(!w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(w.isVisible());
    QCOMPARE(testutil::storedSetting("Resizeable"), QStringLiteral("0"));
}

void TestFrmMainMenus::tooltipsAfterNextStart()
{
    const QString upTip =
        QStringLiteral("This button is only enabled when the currently selected folder is an "
                       "aircraft folder. By clicking on this button the folder view will move "
                       "one level upwards, and the last folder will be automatically "
                       "pre-selected.  This way you don't have to scroll constantly in long "
                       "folder lists.");
    QString stored;
    {
        MainWindowFixture f;
        frm_Main& w = f.start();
        QVERIFY(w.hTip);
        QCOMPARE(w.hTip->toolText(w.ui.cmd_DirUp), upTip);
        QVERIFY(w.ui.cmd_DirUp->toolTip().isEmpty());
        BalloonTip* before = w.hTip;

        w.ui.mnuToolTips->trigger();
        QVERIFY(!globals::gbToolTips);
        stored = testutil::storedSetting("ToolTips");
        QCOMPARE(stored, QStringLiteral("0"));
        // The running window keeps its balloons.
        QCOMPARE(w.hTip.data(), before);
        QVERIFY(w.hTip->isActive());
        QCOMPARE(w.hTip->toolText(w.ui.cmd_DirUp), upTip);
    }
    MainWindowFixture next({}, {{"ToolTips", stored}});
    frm_Main& w = next.start();
    QVERIFY(!w.hTip);
    QVERIFY(!balloontips::ToolTipOf(&w));
    QVERIFY(w.ui.cmd_DirUp->toolTip().isEmpty());
    QVERIFY(w.ui.combo_SimFolder->toolTip().isEmpty());
}

void TestFrmMainMenus::tooltipsOfAnotherWindowAtItsNextLoad_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("on at the start") << "1";
    QTest::newRow("off at the start") << "0";
}

void TestFrmMainMenus::tooltipsOfAnotherWindowAtItsNextLoad()
{
    QFETCH(QString, stored);
    const QString designed = QStringLiteral("De-select all options above");
    MainWindowFixture f({}, {{"ToolTips", stored}});
    frm_Main& w = f.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    bool on = stored == u"1";
    // Open, look, close by its button, switch the option: three loads.
    for (int load = 0; load < 3; ++load) {
        w.ui.mnuDataGrid->trigger();
        auto* options = w.findChild<frm_ListViewOptions*>();
        QVERIFY(options && options->isVisible());
        const BalloonTip* tip = balloontips::ToolTipOf(options);
        QCOMPARE(tip != nullptr, on);
        QVERIFY(options->cmd_None->toolTip().isEmpty());
        if (on)
            QCOMPARE(tip->toolText(options->cmd_None), designed);
        QTest::mouseClick(options->cmdClose, Qt::LeftButton);
        QVERIFY(!options->isVisible());
        w.ui.mnuToolTips->trigger();
        on = !on;
    }
}

void TestFrmMainMenus::statusBarBalloon()
{
    MainWindowFixture f;
    frm_Main& w = f.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.hTip);
    StatusPanels* bar = w.ui.StatusBar1;
    QVERIFY(w.hTip->hasTool(bar));
    QVERIFY(!bar->tagTipsEnabled());
    QSignalSpy updates(w.hTip.data(), &BalloonTip::tipTextUpdated);

    QTest::mouseMove(bar, panelPoint(w, 3));
    QCOMPARE(w.iLastPanel, 3);
    QCOMPARE(updates.count(), 1);
    QCOMPARE(w.hTip->toolText(bar), bar->panelTag(3));

    // Straight on to panel 5: one change, on entering it; moving within it none.
    w.StatusBar1_MouseMove(Qt::NoButton, panelPoint(w, 5));
    QCOMPARE(updates.count(), 2);
    QCOMPARE(w.hTip->toolText(bar), bar->panelTag(5));
    w.StatusBar1_MouseMove(Qt::NoButton, panelPoint(w, 5, 3));
    w.StatusBar1_MouseMove(Qt::NoButton, panelPoint(w, 5, -3));
    QCOMPARE(updates.count(), 2);
    QVERIFY(bar->toolTip().isEmpty());

    // Resting on the panel shows its explanation as the balloon.
    const QPoint at = panelPoint(w, 5);
    QHelpEvent help(QEvent::ToolTip, at, bar->mapToGlobal(at));
    QApplication::sendEvent(bar, &help);
    QVERIFY(w.hTip->isShowing());
    QCOMPARE(w.hTip->shownText(), bar->panelTag(5));
    QVERIFY(!QToolTip::isVisible());

    // Panel 4 has no explanation: the balloon goes.
    w.StatusBar1_MouseMove(Qt::NoButton, panelPoint(w, 4));
    QCOMPARE(updates.count(), 3);
    QVERIFY(!w.hTip->isShowing());
}

void TestFrmMainMenus::restingOnAPanelKeepsItsBalloon()
{
    MainWindowFixture f;
    frm_Main& w = f.start();
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    StatusPanels* bar = w.ui.StatusBar1;
    QTest::mouseMove(&w, QPoint(1, 1));
    QTest::mouseMove(bar, panelPoint(w, 3));
    QTRY_VERIFY(w.hTip->isShowing());
    QCOMPARE(w.hTip->shownText(), bar->panelTag(3));
    QVERIFY(!w.hTip->balloonWindow()->frameGeometry().contains(QCursor::pos()));
    QTest::qWait(1000);
    QVERIFY(w.hTip->isShowing());
    QCOMPARE(w.hTip->shownTool(), bar);
}

void TestFrmMainMenus::statusBarHeldButton()
{
    MainWindowFixture f;
    frm_Main& w = f.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.StatusBar1_MouseMove(Qt::NoButton, panelPoint(w, 9));
    QCOMPARE(w.iLastPanel, 9);
    // With a button held no panel is under the mouse.
    w.StatusBar1_MouseMove(Qt::LeftButton, panelPoint(w, 10));
    QCOMPARE(w.iLastPanel, 0);
    QVERIFY(w.hTip->toolText(w.ui.StatusBar1).isEmpty());
}

void TestFrmMainMenus::statusBarWithoutTooltips()
{
    MainWindowFixture f({}, {{"ToolTips", "0"}});
    frm_Main& w = f.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(!w.hTip);
    w.ui.StatusBar1->setToolTip("left over");
    w.StatusBar1_MouseMove(Qt::NoButton, panelPoint(w, 3));
    QCOMPARE(w.iLastPanel, 0);
    QVERIFY(w.ui.StatusBar1->toolTip().isEmpty());

    const QPoint at = panelPoint(w, 3);
    QHelpEvent help(QEvent::ToolTip, at, w.ui.StatusBar1->mapToGlobal(at));
    QApplication::sendEvent(w.ui.StatusBar1, &help);
    QVERIFY(!QToolTip::isVisible());
}

void TestFrmMainMenus::quit()
{
    MainWindowFixture f;
    frm_Main& w = f.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.ui.mnuQuit->trigger();
    QVERIFY(!w.isVisible());
}

void TestFrmMainMenus::manual()
{
    QTemporaryDir tmp;
    const QString pdf = tmp.path() + "/Manuals/Fernquill-Readme.pdf";
    testutil::writeFile(pdf, "%PDF-1.4\n");
    testutil::UrlRecorder recorder({"file"});

    MainWindowFixture f;
    frm_Main& w = f.start();
    w.sManualFile = pdf;
    w.ui.mnu_Manual->setEnabled(true);
    w.ui.mnu_Manual->trigger();
    QCOMPARE(recorder.opened, QList<QUrl>{QUrl::fromLocalFile(pdf)});
}

void TestFrmMainMenus::manualNeedsAProgramForPdf_data()
{
    QTest::addColumn<QString>("program"); // what the desktop names for PDF files
    QTest::newRow("a program registered") << "org.gnome.Evince.desktop";
    QTest::newRow("none registered") << "";
}

void TestFrmMainMenus::manualNeedsAProgramForPdf()
{
    QFETCH(QString, program);
    QStringList asked;
    const modSystem::ScriptedProgramLookup lookup([&](const QString& mime) {
        asked << mime;
        return program;
    });
    MainWindowFixture f;
    frm_Main& w = f.start();
    QVERIFY(asked.isEmpty()); // no manual beside the test program: nothing to ask
    w.ui.mnu_Manual->setEnabled(true);
    w.ManualAttach(QDir::tempPath());
    QCOMPARE(asked, QStringList{"application/pdf"});
    QCOMPARE(w.ui.mnu_Manual->isEnabled(), !program.isEmpty());
}

void TestFrmMainMenus::dataGridOpensOneWindow()
{
    MainWindowFixture f;
    frm_Main& w = f.start();
    w.ui.mnuDataGrid->trigger();
    auto* options = w.findChild<frm_ListViewOptions*>();
    QVERIFY(options);
    QVERIFY(options->isVisible());
    QVERIFY(options->isWindow());
    QCOMPARE(options->List1->count(), 15);
    QCOMPARE(options->List1->item(0)->text(), QStringLiteral("parking_type"));
    w.ui.mnuDataGrid->trigger();
    QCOMPARE(w.findChildren<frm_ListViewOptions*>().size(), 1);
}

void TestFrmMainMenus::resizeScalesFonts()
{
    MainWindowFixture f({}, {{"Resizeable", "1"}});
    frm_Main& w = f.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The first resize (when shown) is the reference: the lists take their
    // fixed font, the other fonts stay as they are.
    QVERIFY(modGlobal::FindFormIndex(&w) >= 0);
    auto* parking = w.findChild<QListWidget*>("lstParking");
    QCOMPARE(parking->font().family(), QStringLiteral("Courier New"));
    QVERIFY(parking->font().bold());
    const int buttonPoints = w.ui.cmd_DirUp->font().pointSize();
    const int barPoints = w.ui.StatusBar1->font().pointSize();

    // Twice as large both ways: the captions have room for twice the font.
    const modGlobal::FormRecord& form = modGlobal::gFormRecords.at(size_t(modGlobal::FindFormIndex(&w)));
    const QSize inner(form.innerWidth, form.innerHeight);
    w.resize(w.size() + inner);
    QTRY_COMPARE(w.centralWidget()->size(), inner * 2);
    QCOMPARE(w.ui.cmd_DirUp->font().pointSize(), buttonPoints * 2);
    // The status bar keeps its own font.
    QCOMPARE(w.ui.StatusBar1->font().pointSize(), barPoints);
}

QTEST_MAIN(TestFrmMainMenus)
#include "tst_frmmain_menus.moc"
