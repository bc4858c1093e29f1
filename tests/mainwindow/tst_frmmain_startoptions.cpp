// Start-up of the main window: the options read from the settings store and
// the grid columns they hide.
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"
#include "shared/modSettings.h"

#include "BoxRecorder.h"
#include "MainWindowFixture.h"
#include "StartupFixture.h"
#include "TestUtil.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using testutil::BoxRecorder;
using testutil::flags;
using testutil::kBar;
using testutil::MainWindowFixture;
using testutil::makeAircraft;
using testutil::PrefixSpec;

class TestFrmMainStartOptions : public testutil::StartupTest
{
    Q_OBJECT

private slots:
    void analyzeOptions_data();
    void analyzeOptions();
    void switches_data();
    void switches();
    void resizable_data();
    void resizable();
    void tooltipsOff();
    void switchNotANumber_data();
    void switchNotANumber();
    void dataGrid_data();
    void dataGrid();
    void hiddenColumnSurvivesTheStartFolderLoad();
};

void TestFrmMainStartOptions::analyzeOptions_data()
{
    QTest::addColumn<QString>("stored"); // null: absent
    QTest::addColumn<QString>("expected");

    QTest::newRow("absent") << QString() << flags("1", 23);
    QTest::newRow("22 flags ending in 0")
        << flags("1", 21) + kBar + "0" << flags("1", 21) + kBar + "0" + kBar + "1";
    QTest::newRow("5 flags") << QStringList{"0", "1", "0", "0", "1"}.join(kBar)
                             << QStringList{"0", "1", "0", "0", "1"}.join(kBar) + kBar + flags("1", 18);
    QTest::newRow("23 flags") << flags("0", 23) << flags("0", 23);
    QTest::newRow("24 flags") << flags("0", 24) << flags("0", 24);
    QTest::newRow("present but empty") << QStringLiteral("") << flags("1", 23);
}

void TestFrmMainStartOptions::analyzeOptions()
{
    QFETCH(QString, stored);
    QFETCH(QString, expected);

    QMap<QString, QString> settings;
    if (!stored.isNull())
        settings.insert("AnalyzeOptions", stored);
    MainWindowFixture f({}, settings);
    f.start();
    QCOMPARE(testutil::storedSetting("AnalyzeOptions"), expected);
    QCOMPARE(globals::gsAnalyzeOptions, expected);
    QCOMPARE(globals::gsAnalyzeFlags, expected.split(kBar));
}

void TestFrmMainStartOptions::switches_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("on");

    const struct
    {
        const char* key;
        const char* menu;
    } items[] = {{"ToolTips", "mnuToolTips"},     {"IsMerrow", "mnuRememberLastPath"},
                 {"AutoBackup", "mnuAutoBackup"}, {"Update", "mnuConfirm"},
                 {"Editor", "mnuEditor"},         {"Resizeable", "mnuResizable"}};
    for (const auto& it : items) {
        QTest::addRow("%s=0", it.key) << it.key << it.menu << "0" << false;
        QTest::addRow("%s=1", it.key) << it.key << it.menu << "1" << true;
        // Any number other than zero is on.
        QTest::addRow("%s=-1", it.key) << it.key << it.menu << "-1" << true;
        QTest::addRow("%s=2", it.key) << it.key << it.menu << "2" << true;
    }
}

namespace {

bool flagOf(const frm_Main& w, const QString& key)
{
    if (key == u"ToolTips")
        return globals::gbToolTips;
    if (key == u"IsMerrow")
        return globals::gbRememberPath;
    if (key == u"AutoBackup")
        return w.bAutoBackup;
    if (key == u"Update")
        return w.bConfirm;
    if (key == u"Editor")
        return globals::gbUseEditor;
    return w.bResizable;
}

} // namespace

void TestFrmMainStartOptions::switches()
{
    QFETCH(QString, key);
    QFETCH(QString, menu);
    QFETCH(QString, value);
    QFETCH(bool, on);

    BoxRecorder boxes;
    MainWindowFixture f({}, {{key, value}});
    frm_Main& w = f.start();
    QVERIFY(boxes.calls().empty());
    auto* item = w.findChild<QAction*>(menu);
    QVERIFY(item);
    QCOMPARE(item->isChecked(), on);
    QCOMPARE(flagOf(w, key), on);
    // Reading is not writing.
    QCOMPARE(testutil::storedSetting(key), value);
}

void TestFrmMainStartOptions::resizable_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("off") << "0";
    QTest::newRow("on") << "1";
}

void TestFrmMainStartOptions::resizable()
{
    QFETCH(QString, value);
    const bool on = value == u"1";
    MainWindowFixture f({}, {{"Resizeable", value}});
    frm_Main& w = f.start();
    QCOMPARE(w.minimumSize() != w.maximumSize(), on);
    QCOMPARE(w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint), on);
    QCOMPARE(w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint), on);
}

void TestFrmMainStartOptions::tooltipsOff()
{
    MainWindowFixture off({}, {{"ToolTips", "0"}});
    frm_Main& w = off.start();
    QVERIFY(w.ui.combo_SimFolder->toolTip().isEmpty());
    QVERIFY(w.ui.cmd_DirUp->toolTip().isEmpty());
    QVERIFY(!w.ui.StatusBar1->tagTipsEnabled());
}

void TestFrmMainStartOptions::switchNotANumber_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("box");

    // Read before the simulators are looked for: the start-up stops with the box.
    QTest::newRow("ToolTips=yes") << "ToolTips"
                                  << "yes" << true;
    QTest::newRow("IsMerrow=on") << "IsMerrow"
                                 << "on" << true;
    QTest::newRow("IsMerrow empty") << "IsMerrow"
                                    << "" << true;
    // Read after: that one statement is skipped, the start-up goes on.
    QTest::newRow("AutoBackup=abc") << "AutoBackup"
                                    << "abc" << false;
    QTest::newRow("Update=x") << "Update"
                              << "x" << false;
    QTest::newRow("Editor=?") << "Editor"
                              << "?" << false;
    QTest::newRow("Resizeable=maybe") << "Resizeable"
                                      << "maybe" << false;
}

void TestFrmMainStartOptions::switchNotANumber()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, box);

    QTemporaryDir tmp;
    const QString aircraft = makeAircraft(tmp.path() + "/Heather");
    // Every other option differs from its default, so a skipped read shows.
    QMap<QString, QString> settings{
        {"ToolTips", "0"}, {"IsMerrow", "1"},   {"AutoBackup", "0"}, {"Update", "0"},
        {"Editor", "0"},   {"Resizeable", "1"}, {"Path", aircraft},  {"DataGrid", "0" + kBar + "-1"}};
    settings.insert(key, value);
    PrefixSpec spec;
    spec.fsx = true;
    MainWindowFixture f(spec, settings);

    BoxRecorder boxes;
    frm_Main& w = f.start();

    if (box) {
        QCOMPARE(boxes.calls().size(), size_t(1));
        const msgbox::Call& call = boxes.calls().front();
        QVERIFY2(call.prompt.contains(QStringLiteral("Procedure Form_Load")), qPrintable(call.prompt));
        QCOMPARE(call.style & 0xF, int(msgbox::vbOKOnly));
        QCOMPARE(call.style & 0x70, 0); // no icon
        QCOMPARE(call.title, msgbox::programTitle());
        // What ran before the error stays; nothing after it ran.
        QCOMPARE(testutil::storedSetting("AnalyzeOptions"), flags("1", 23));
        QVERIFY(!w.ui.StatusBar1->hasPanelPicture(5));
        QVERIFY(!w.ui.opt_FSX->isEnabled());
        QCOMPARE(w.ui.ListView1->rowCount(), 0);
        QVERIFY(w.ui.ListView1->columnWidth(3) > 0);
        return;
    }

    QVERIFY2(boxes.calls().empty(), qPrintable(boxes.prompts().join(" | ")));
    // Each option keeps flag and check mark together ...
    const struct
    {
        const char* key;
        QAction* item;
        bool flag;
    } options[] = {{"AutoBackup", w.ui.mnuAutoBackup, w.bAutoBackup},
                   {"Update", w.ui.mnuConfirm, w.bConfirm},
                   {"Editor", w.ui.mnuEditor, globals::gbUseEditor},
                   {"Resizeable", w.ui.mnuResizable, w.bResizable}};
    for (const auto& o : options) {
        QVERIFY2(o.item->isChecked() == o.flag, o.key);
        // ... and the options that could be read were read.
        if (key != QLatin1String(o.key))
            QVERIFY2(o.flag == (QLatin1String(o.key) == u"Resizeable"), o.key);
    }
    QVERIFY(!globals::gbToolTips);
    QCOMPARE(w.ui.ListView1->columnWidth(3), 0);
    QVERIFY(w.ui.StatusBar1->hasPanelPicture(5));
    QCOMPARE(w.folderPath(), aircraft);
    QCOMPARE(w.ui.ListView1->rowCount(), 2);
    QVERIFY(w.bAirReady);
}

void TestFrmMainStartOptions::dataGrid_data()
{
    QTest::addColumn<QString>("stored"); // null: absent
    QTest::addColumn<QList<int>>("hidden");

    QList<int> all;
    for (int c = 2; c < 17; ++c)
        all << c;
    QStringList last(15, "0");
    last[14] = "-1";
    QStringList beyond(17, "0");
    beyond[15] = beyond[16] = "-1";

    QTest::newRow("absent") << QString() << QList<int>{};
    QTest::newRow("0|-1|0 hides parking_code") << "0" + kBar + "-1" + kBar + "0" << QList<int>{3};
    QTest::newRow("first flag") << "-1" << QList<int>{2};
    QTest::newRow("last flag") << last.join(kBar) << QList<int>{16};
    QTest::newRow("all fifteen") << flags("-1", 15) << all;
    QTest::newRow("flags past the fifteenth") << beyond.join(kBar) << QList<int>{};
    QTest::newRow("1 is not -1") << "1" + kBar + "1" << QList<int>{};
}

void TestFrmMainStartOptions::dataGrid()
{
    QFETCH(QString, stored);
    QFETCH(QList<int>, hidden);

    QMap<QString, QString> settings;
    if (!stored.isNull())
        settings.insert("DataGrid", stored);
    MainWindowFixture f({}, settings);
    frm_Main& w = f.start();
    for (int c = 0; c < ListView::ColumnCount; ++c) {
        const int width = w.ui.ListView1->columnWidth(c);
        QVERIFY2(hidden.contains(c) ? width == 0 : width > 0,
                 qPrintable(QStringLiteral("column %1 width %2").arg(c).arg(width)));
    }
    QCOMPARE(globals::gsDataGrid, stored.isNull() ? flags("0", 15) : stored);
    QVERIFY(!modSettings::HasSetting("DataGrid") || !stored.isNull());
}

void TestFrmMainStartOptions::hiddenColumnSurvivesTheStartFolderLoad()
{
    QTemporaryDir tmp;
    const QString aircraft = makeAircraft(tmp.path() + "/Heather");
    MainWindowFixture f({}, {{"Path", aircraft}, {"DataGrid", "0" + kBar + "-1"}});
    frm_Main& w = f.start();
    QCOMPARE(w.ui.ListView1->rowCount(), 2);
    QCOMPARE(w.ui.ListView1->columnWidth(3), 0);
    QVERIFY(w.ui.ListView1->columnWidth(2) > 0);
}

QTEST_MAIN(TestFrmMainStartOptions)
#include "tst_frmmain_startoptions.moc"
