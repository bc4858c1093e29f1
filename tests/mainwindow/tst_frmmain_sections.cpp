// Deleting, renumbering and sorting from the main menu and the grid's pop-up
// menu: questions, the whole aircraft.cfg afterwards, the reload, and files
// that cannot be written.
#include "editing/frm_RightClick.h"
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"

#include "MainWindowFixture.h"
#include "TestUtil.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace {

// [General], then one entry for each letter of `titles` (B carries a comment).
QByteArray entriesFile(const QString& titles)
{
    QByteArray out = "[General]\r\natc_type=X // maker\r\n\r\n";
    for (int i = 0; i < titles.size(); ++i) {
        out += "[fltsim." + QByteArray::number(i) + "]\r\ntitle=" + titles.at(i).toLatin1() +
               (titles.at(i) == u'B' ? " // two" : "") + "\r\n";
    }
    return out;
}

const QByteArray kFive = entriesFile(QStringLiteral("ABCDE"));

class Scene
{
public:
    explicit Scene(const QByteArray& cfg)
    {
        m_folder = m_tmp.path() + QStringLiteral("/Plane");
        testutil::writeFile(cfgPath(), cfg);
        answers.setResponder([](const msgbox::Call& call) {
            return msgbox::Answer::withButton(msgbox::buttonsOf(call.style).value(0, msgbox::vbOK));
        });
    }
    frm_Main& start(bool confirm, bool autoBackup = false)
    {
        m_fixture = std::make_unique<testutil::MainWindowFixture>(
            testutil::PrefixSpec{},
            QMap<QString, QString>{{QStringLiteral("Path"), m_folder},
                                   {QStringLiteral("Update"), confirm ? "1" : "0"},
                                   {QStringLiteral("AutoBackup"), autoBackup ? "1" : "0"}});
        return m_fixture->start();
    }
    QString cfgPath() const { return m_folder + QStringLiteral("/aircraft.cfg"); }
    QByteArray cfg() const { return testutil::readFile(cfgPath()); }
    QString backupPath() const { return m_folder + QStringLiteral("/aircraft.zib"); }

    msgbox::ScriptedAnswers answers;

private:
    QTemporaryDir m_tmp;
    QString m_folder;
    std::unique_ptr<testutil::MainWindowFixture> m_fixture;
};

QStringList rowTexts(frm_Main& w)
{
    QStringList texts;
    for (int r = 0; r < w.ui.ListView1->rowCount(); ++r)
        texts.append(w.ui.ListView1->rowText(r, 0) + u'=' + w.ui.ListView1->rowText(r, 1));
    return texts;
}

} // namespace

class TestFrmMainSections : public QObject
{
    Q_OBJECT
private slots:
    void deleteEntries_data()
    {
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("remaining");
        QTest::newRow("rows 1 and 3 ticked, row 0 selected")
            << QList<int>{1, 3} << 0 << true << int(msgbox::vbYes)
            << "About to delete several [fltsim.x] sections. Are you sure?"
            << "ACE";
        QTest::newRow("one ticked at position 2") << QList<int>{2} << 4 << true << int(msgbox::vbYes)
                                                  << "About to delete section [2] = C. Are you sure?"
                                                  << "ABDE";
        QTest::newRow("none ticked, FLTSIM.4 selected")
            << QList<int>{} << 4 << true << int(msgbox::vbYes)
            << "About to delete section [FLTSIM.4] = E. Are you sure?"
            << "ABCD";
        QTest::newRow("row 0 after General, nothing asked") << QList<int>{0} << 2 << false << 0 << ""
                                                            << "BCDE";
        QTest::newRow("answered No") << QList<int>{1, 3} << 0 << true << int(msgbox::vbNo)
                                     << "About to delete several [fltsim.x] sections. Are you sure?"
                                     << "ABCDE";
    }
    void deleteEntries()
    {
        QFETCH(QList<int>, ticked);
        QFETCH(int, selected);
        QFETCH(bool, confirm);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(QString, remaining);
        Scene s(kFive);
        frm_Main& w = s.start(confirm, /*autoBackup=*/true);
        for (int r : ticked)
            w.ui.ListView1->setTicked(r, true);
        w.ui.ListView1->selectRow(selected);
        if (answer)
            s.answers.button(answer);

        w.rightClick()->mnuDelete->trigger();

        QCOMPARE(s.answers.prompts(), question.isEmpty() ? QStringList{} : QStringList{question});
        QCOMPARE(s.cfg(), entriesFile(remaining));
        // The backup was made before the question, whatever the answer.
        QCOMPARE(testutil::readFile(s.backupPath()), kFive);
        QCOMPARE(w.ui.ListView1->rowCount(), remaining.size());
        for (int r = 0; r < remaining.size(); ++r)
            QCOMPARE(w.ui.ListView1->rowText(r, 0), QStringLiteral("FLTSIM.%1").arg(r));
        QCOMPARE(w.ui.ListView1->selectedRow(), answer == msgbox::vbNo ? selected : 0);
        if (answer != msgbox::vbNo)
            QCOMPARE(w.ui.txt_Title->text(), remaining.left(1)); // reloaded, first entry shown
    }

    void deleteNeedsASelectedRow()
    {
        Scene s(kFive);
        frm_Main& w = s.start(false, /*autoBackup=*/true);
        w.ui.ListView1->setTicked(1, true);
        w.ui.ListView1->selectRow(-1);
        w.FlightSimSectionDelete();
        QCOMPARE(s.answers.prompts(),
                 QStringList{QStringLiteral("You must select the [fltsim.x] entry which should be deleted")});
        QCOMPARE(s.answers.calls().front().style, msgbox::vbOKOnly | msgbox::vbInformation);
        QCOMPARE(s.cfg(), kFive);
        QVERIFY(!QFileInfo::exists(s.backupPath()));
    }

    void renumberFromEitherMenu_data()
    {
        QTest::addColumn<bool>("gridMenu");
        QTest::newRow("main menu") << false;
        QTest::newRow("grid menu") << true;
    }
    void renumberFromEitherMenu()
    {
        QFETCH(bool, gridMenu);
        Scene s(
            "[fltsim.0]\r\ntitle=A // keep\r\n\r\n  [FLTSIM.2] // old\r\n  title=B\r\n[fltsim.5]\ntitle=C");
        frm_Main& w = s.start(/*confirm=*/true);
        w.ui.ListView1->setTicked(1, true);
        (gridMenu ? w.rightClick()->mnuRenumber : w.ui.mnuRenumber)->trigger();
        QCOMPARE(s.answers.prompts(), QStringList{QStringLiteral("Are you sure?")});
        QCOMPARE(s.answers.calls().front().style, msgbox::vbYesNo | msgbox::vbQuestion);
        QCOMPARE(s.cfg(),
                 QByteArray("[fltsim.0]\r\ntitle=A // keep\r\n\r\n[fltsim.1]\r\n  title=B\r\n[fltsim.2]\n"
                            "title=C"));
        QCOMPARE(rowTexts(w), (QStringList{"FLTSIM.0=A", "FLTSIM.1=B", "FLTSIM.2=C"}));
        QVERIFY(!w.ui.ListView1->isTicked(1)); // reloaded
    }

    void sortFromGridMenu()
    {
        Scene s("[fltsim.0]\r\nTexture=\r\nTitle=My Plane\r\n");
        frm_Main& w = s.start(/*confirm=*/true, /*autoBackup=*/true);
        w.rightClick()->mnuSortKeys->trigger();
        QCOMPARE(s.answers.prompts(),
                 QStringList{QStringLiteral("The keys in the [fltsim.x] sections have been sorted")});
        QCOMPARE(s.answers.calls().front().style, msgbox::vbOKOnly | msgbox::vbInformation);
        QCOMPARE(s.cfg(), QByteArray("[fltsim.0]\r\ntitle=My Plane\r\ntexture= \r\n"));
        QCOMPARE(testutil::readFile(s.backupPath()),
                 QByteArray("[fltsim.0]\r\nTexture=\r\nTitle=My Plane\r\n"));
    }

    void unwritableFile_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("vanished");
        QTest::newRow("delete, read-only") << "delete" << false;
        QTest::newRow("renumber, vanished") << "renumber" << true;
        QTest::newRow("sort, read-only") << "sort" << false;
        QTest::newRow("sort, vanished") << "sort" << true;
    }
    void unwritableFile()
    {
        QFETCH(QString, command);
        QFETCH(bool, vanished);
        // Every command would change this file.
        QByteArray cfg = kFive;
        cfg.replace("[fltsim.4]\r\ntitle=", "[fltsim.9]\r\nTitle=");
        Scene s(cfg);
        frm_Main& w = s.start(false);
        w.ui.ListView1->setTicked(3, true);
        if (vanished)
            QVERIFY(QFile::remove(s.cfgPath()));
        else
            testutil::setMode(s.cfgPath(), 0444);

        if (command == u"delete")
            w.FlightSimSectionDelete();
        else if (command == u"renumber")
            w.FlightSimSectionRenumber();
        else
            w.DoSortKeys();

        QCOMPARE(s.answers.calls().size(), size_t(1));
        QVERIFY(s.answers.calls().front().prompt.startsWith(u"The file:" + s.cfgPath()));
        QCOMPARE(s.answers.calls().front().style, msgbox::vbOKOnly | msgbox::vbCritical);
        QCOMPARE(s.cfg(), vanished ? QByteArray() : cfg);
        QCOMPARE(QFileInfo::exists(s.cfgPath()), !vanished);
        QVERIFY(w.ui.ListView1->isTicked(3)); // not reloaded
    }

    void resizeFromGridMenu()
    {
        Scene s("[fltsim.0]\r\ntitle=A rather long title that needs room\r\n");
        frm_Main& w = s.start(false);
        w.ui.ListView1->setColumnWidth(1, 3);
        w.rightClick()->mnuResize->trigger();
        QVERIFY(w.ui.ListView1->columnWidth(1) > 3);
        QVERIFY(s.answers.calls().empty());
    }
};

QTEST_MAIN(TestFrmMainSections)
#include "tst_frmmain_sections.moc"
