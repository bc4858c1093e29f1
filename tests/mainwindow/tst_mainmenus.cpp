#include "MainUiFixture.h"

#include "editing/frm_RightClick.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <vector>

// The main window's menu tree and its pop-up menus.
class tst_MainMenus : public testutil::MainUiTest
{
    Q_OBJECT

private slots:
    void menuToggles()
    {
        const QList<QAction*> toggles = {m_ui.mnuConfirm,   m_ui.mnuAutoBackup,       m_ui.mnu_AutoUpdate,
                                         m_ui.mnuResizable, m_ui.mnuRememberLastPath, m_ui.mnuToolTips,
                                         m_ui.mnuEditor};
        for (QMenu* menu : {m_ui.mnuFile, m_ui.mnuSettings, m_ui.mnuTools, m_ui.mnuAbout}) {
            for (QAction* action : menu->actions())
                QCOMPARE(action->isCheckable(), toggles.contains(action));
        }
    }

    void menuTree_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("File") << "mnuFile"
                              << "&File" << QStringList{"mnuCFG", "mnuSep1", "mnuQuit"}
                              << QStringList{"&Open CFG File", "", "&Quit"};
        QTest::newRow("Settings") << "mnuSettings"
                                  << "&Settings"
                                  << QStringList{"mnuConfirm",        "mnuAutoBackup", "line1",
                                                 "mnu_AutoUpdate",    "mnuResizable",  "mnuRememberLastPath",
                                                 "mnuToolTips",       "mnuEditor",     "line2",
                                                 "mnuAnalyzeOptions", "mnuDataGrid"}
                                  << QStringList{"&Confirm 'aircraft.cfg' Updates",
                                                 "&Auto Backup 'aircraft.cfg'",
                                                 "",
                                                 "Auto &Update Check",
                                                 "Program &Resizable",
                                                 "Remember last aircraft folder",
                                                 "Show Toolt&ips (after next start)",
                                                 "Use internal &Editor",
                                                 "",
                                                 "&Validation Report Options...",
                                                 "Configure Data Grid &Columns..."};
        QTest::newRow("Tools") << "mnuTools"
                               << "&Tools" << QStringList{"mnuDelKeys",  "mnuRenumber", "mnuSortKeys",
                                                          "mnuValidate", "line3",       "mnuvalidateAll"}
                               << QStringList{"&Delete keys...",
                                              "Renumber sections",
                                              "&Sort all [fltsim.x] keys",
                                              "&Validate aircraft",
                                              "",
                                              "Vali&date all aircraft below..."};
        QTest::newRow("Help") << "mnuAbout"
                              << "&Help" << QStringList{"mnu_Manual",    "mnuSep5", "Zib[1]",
                                                        "mnu_AppUpdate", "mnuSep2", "mnuAboutProg"}
                              << QStringList{"Open &Manual...",      "", "&Visit 'Brackenhold' web",
                                             "&Check for Update...", "", "A&bout Fernquill..."};
    }
    void menuTree()
    {
        QFETCH(QString, menu);
        QFETCH(QString, title);
        QFETCH(QStringList, items);
        QFETCH(QStringList, captions);

        auto* m = qobject_cast<QMenu*>(find(menu));
        QVERIFY(m);
        QCOMPARE(m->title(), title);
        QStringList names;
        QStringList texts;
        for (QAction* action : m->actions()) {
            names << action->objectName();
            texts << (action->isSeparator() ? QString() : action->text());
            const bool separatorName = action->objectName().startsWith(QLatin1String("line")) ||
                                       action->objectName().startsWith(QLatin1String("mnuSep"));
            QCOMPARE(action->isSeparator(), separatorName);
        }
        QCOMPARE(names, items);
        QCOMPARE(texts, captions);

        // The menu bar shows the four menus in this order.
        QStringList bar;
        for (QAction* action : m_window->menuBar()->actions())
            bar << (action->menu() ? action->menu()->objectName() : QString());
        QCOMPARE(bar, (QStringList{"mnuFile", "mnuSettings", "mnuTools", "mnuAbout"}));
    }

    void rightClickMenus_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        // One row per item of a menu, in the menu's order.
        const auto menuRows = [](const char* menu, const QStringList& rows, const QStringList& items,
                                 const QStringList& captions) {
            for (int position = 0; position < rows.size(); ++position)
                QTest::newRow(qPrintable(rows.at(position)))
                    << QString::fromLatin1(menu) << position << items.at(position) << captions.at(position);
        };
        menuRows("mnuListView1", {"delete", "renumber", "sort", "resize"},
                 {"mnuDelete", "mnuRenumber", "mnuSortKeys", "mnuResize"},
                 {"Delete [fltsim.x]", "Renumber sections", "&Sort all [fltsim.x] keys",
                  "Resize columns to show all content"});
        menuRows("mnuThisEffects", {"disable", "default", "select"},
                 {"mnuEffectsDisable", "mnuEffectsDefault", "mnuEffectsSelect"},
                 {"Disable effect", "Set default effect", "Select effect file..."});
    }
    void rightClickMenus()
    {
        QFETCH(QString, menu);
        QFETCH(int, position);
        QFETCH(QString, item);
        QFETCH(QString, caption);

        frm_RightClick popups;
        QCOMPARE(popups.windowTitle(), QStringLiteral("Form1"));
        QVERIFY(!popups.isVisible());
        auto* m = popups.findChild<QMenu*>(menu);
        QVERIFY(m);
        QCOMPARE(m->actions().size(), menu == u"mnuListView1" ? 4 : 3);
        QAction* action = m->actions().at(position);
        QCOMPARE(action->objectName(), item);
        QCOMPARE(action->text(), caption);

        // Each item raises its own signal and no other.
        const QList<std::pair<QString, void (frm_RightClick::*)()>> signalOf = {
            {"mnuDelete", &frm_RightClick::mnuDelete_Click},
            {"mnuRenumber", &frm_RightClick::mnuRenumber_Click},
            {"mnuSortKeys", &frm_RightClick::mnuSortKeys_Click},
            {"mnuResize", &frm_RightClick::mnuResize_Click},
            {"mnuEffectsDisable", &frm_RightClick::mnuEffectsDisable_Click},
            {"mnuEffectsDefault", &frm_RightClick::mnuEffectsDefault_Click},
            {"mnuEffectsSelect", &frm_RightClick::mnuEffectsSelect_Click}};
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (const auto& [name, signal] : signalOf)
            spies.push_back(std::make_unique<QSignalSpy>(&popups, signal));
        action->trigger();
        for (std::size_t i = 0; i < spies.size(); ++i)
            QCOMPARE(spies[i]->count(), signalOf.at(qsizetype(i)).first == item ? 1 : 0);
        QVERIFY(!popups.isVisible());
    }
};

QTEST_MAIN(tst_MainMenus)
#include "tst_mainmenus.moc"
