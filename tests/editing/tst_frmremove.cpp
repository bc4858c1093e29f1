// The remove-keys window on a started main window: the key list, the
// question, the deletions and their count, the reload when the window closes,
// and "&Delete keys..." with its backup.
#include "editing/frm_Remove.h"
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"

#include "MainWindowFixture.h"
#include "TestUtil.h"

#include <QAction>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QString kQuestion = QStringLiteral(
    "Are you absolutely sure that you wish to delete all marked keys in all sections in this aircraft.cfg?");

// Ten entries, three of them with a description; [General] and [effects]
// carry keys of the same names.
QByteArray tenEntries(bool withDescriptions)
{
    QByteArray out = "[General]\r\ndescription=G\r\n";
    for (int i = 0; i < 10; ++i) {
        out += "[fltsim." + QByteArray::number(i) + "]\r\ntitle=T" + QByteArray::number(i) +
               (withDescriptions ? "\r\nui_variation=V" : "") + "\r\n";
        if (withDescriptions && i % 4 == 0)
            out += "description=D\r\n";
    }
    return out + "[effects]\r\nui_variation=E\r\n";
}

class Scene
{
public:
    explicit Scene(const QByteArray& cfg, bool autoBackup = false)
    {
        const QString folder = m_tmp.path() + QStringLiteral("/Plane");
        m_cfg = folder + QStringLiteral("/aircraft.cfg");
        testutil::writeFile(m_cfg, cfg);
        answers.setResponder([](const msgbox::Call& call) {
            return msgbox::Answer::withButton(msgbox::buttonsOf(call.style).value(0, msgbox::vbOK));
        });
        m_fixture = std::make_unique<testutil::MainWindowFixture>(
            testutil::PrefixSpec{},
            QMap<QString, QString>{{QStringLiteral("Path"), folder},
                                   {QStringLiteral("AutoBackup"), autoBackup ? "1" : "0"}});
        m_fixture->start();
    }
    frm_Main& main() { return m_fixture->window(); }
    QString cfgPath() const { return m_cfg; }
    QByteArray cfg() const { return testutil::readFile(m_cfg); }
    frm_Remove& loaded()
    {
        frm_Remove* w = main().removeKeysWindow();
        w->Form_Load();
        w->show();
        return *w;
    }

    msgbox::ScriptedAnswers answers;

private:
    QTemporaryDir m_tmp;
    QString m_cfg;
    std::unique_ptr<testutil::MainWindowFixture> m_fixture;
};

QStringList items(const QListWidget* list, bool markedOnly = false)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        if (!markedOnly || list->item(i)->isSelected())
            out.append(list->item(i)->text());
    }
    return out;
}

void mark(QListWidget* list, const QStringList& keys)
{
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setSelected(keys.contains(list->item(i)->text()));
}

} // namespace

class TestFrmRemove : public QObject
{
    Q_OBJECT
private slots:
    void listsEntryKeysOnce()
    {
        Scene s("[General]\r\natc_type=X\r\n[fltsim.0]\r\nTexture=A\r\ntitle=T\r\n[fltsim.1]\r\nTEXTURE=B\r\n"
                "[fltsim.2]\r\ntexture =C\r\nsim=S\r\n[effects]\r\nwake=fx\r\n");
        frm_Remove& w = s.loaded();
        QCOMPARE(items(w.List1), (QStringList{"texture", "title", "sim"}));
        QCOMPARE(w.windowTitle(), QStringLiteral("Remove keys in all [fltsim.x] sections"));

        QTest::mouseClick(w.cmd_All, Qt::LeftButton);
        QCOMPARE(items(w.List1, true), items(w.List1));
        QTest::mouseClick(w.cmd_None, Qt::LeftButton);
        QCOMPARE(items(w.List1, true), QStringList{});
        w.close();
        QVERIFY(s.answers.calls().empty());
    }

    void deleteMarkedKeys_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("marked");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("listAfter");
        const QStringList all{"title", "ui_variation", "description"};
        QTest::newRow("Yes") << int(msgbox::vbYes) << QStringList{"description", "ui_variation"}
                             << QStringList{kQuestion,
                                            "A total of 20 keys have been deleted in the aircraft.cfg"}
                             << QStringList{"title"};
        QTest::newRow("No") << int(msgbox::vbNo) << QStringList{"description", "ui_variation"}
                            << QStringList{kQuestion} << all;
        QTest::newRow("Yes, nothing marked")
            << int(msgbox::vbYes) << QStringList{}
            << QStringList{kQuestion, "A total of 0 keys have been deleted in the aircraft.cfg"} << all;
    }
    void deleteMarkedKeys()
    {
        QFETCH(int, answer);
        QFETCH(QStringList, marked);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, listAfter);
        Scene s(tenEntries(true));
        frm_Remove& w = s.loaded();
        QCOMPARE(items(w.List1), (QStringList{"title", "ui_variation", "description"}));
        mark(w.List1, marked);
        s.answers.button(answer);

        QTest::mouseClick(w.cmd_Wipe, Qt::LeftButton);

        QCOMPARE(s.answers.prompts(), messages);
        QCOMPARE(s.answers.calls().front().style,
                 msgbox::vbYesNo | msgbox::vbCritical | msgbox::vbDefaultButton2);
        const bool deleted = answer == msgbox::vbYes && !marked.isEmpty();
        QCOMPARE(s.cfg(), tenEntries(!deleted));
        QCOMPARE(items(w.List1), listAfter);
        QCOMPARE(w.bChanged, deleted);

        // Closing reloads the grid only after a deletion: the folder load picks
        // up a change made behind its back only then.
        testutil::writeFile(s.cfgPath(), s.cfg() + "[fltsim.10]\r\ntitle=New\r\n");
        w.close();
        QCOMPARE(s.main().ui.ListView1->rowCount(), deleted ? 11 : 10);
        QCOMPARE(s.main().ui.ListView1->rowText(0, 8), QString(deleted ? "" : "V"));
    }

    void unwritableFileDeletesNothing()
    {
        Scene s(tenEntries(true));
        frm_Remove& w = s.loaded();
        testutil::setMode(s.cfgPath(), 0444);
        mark(w.List1, {"title"});
        s.answers.button(msgbox::vbYes);
        w.cmd_Wipe_Click();
        QCOMPARE(s.answers.calls().size(), size_t(2));
        QVERIFY(s.answers.calls().back().prompt.startsWith(u"The file:" + s.cfgPath()));
        QCOMPARE(s.answers.calls().back().style, msgbox::vbOKOnly | msgbox::vbCritical);
        QCOMPARE(s.cfg(), tenEntries(true));
        QCOMPARE(items(w.List1, true), QStringList{"title"}); // marks kept for another try
        QVERIFY(!w.bChanged);
        w.close();
    }

    void menuItemKeepsOldBackup_data()
    {
        QTest::addColumn<bool>("backupThere");
        QTest::newRow("no backup yet") << false;
        QTest::newRow("old backup") << true;
    }
    void menuItemKeepsOldBackup()
    {
        QFETCH(bool, backupThere);
        Scene s(tenEntries(true), /*autoBackup=*/true);
        const QString backup = QFileInfo(s.cfgPath()).absolutePath() + QStringLiteral("/aircraft.zib");
        if (backupThere)
            testutil::writeFile(backup, "old");
        bool wasModal = false;
        QTimer::singleShot(0, [&] {
            frm_Remove* w = s.main().removeKeysWindow();
            wasModal = w->isVisible() && w->isModal() && items(w->List1).size() == 3;
            w->close();
        });
        s.main().ui.mnuDelKeys->trigger();
        QVERIFY(wasModal);
        QCOMPARE(testutil::readFile(backup), backupThere ? QByteArray("old") : tenEntries(true));
        QVERIFY(s.answers.calls().empty());
    }
};

QTEST_MAIN(TestFrmRemove)
#include "tst_frmremove.moc"
