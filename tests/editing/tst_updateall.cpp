// Which entry sections an update-all command writes, and the texts the file
// assignment writes.
#include "editing/FileAssign.h"
#include "editing/UpdateAll.h"

#include <QTest>

class TestUpdateAll : public QObject
{
    Q_OBJECT

private slots:
    void targetSections_data()
    {
        QTest::addColumn<QStringList>("sections");
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<QStringList>("expected");
        const QStringList mixed{"General", "fltsim.0", "effects", "FLTSIM.1",
                                "Fltsim",  "fltsim.2", "fltsim.3"};
        QTest::newRow("none ticked: every entry, others never")
            << mixed << QList<int>{} << QStringList{"fltsim.0", "FLTSIM.1", "fltsim.2", "fltsim.3"};
        // Other sections do not count: row 2 is the third entry section.
        QTest::newRow("rows 0 and 2") << mixed << QList<int>{0, 2} << QStringList{"fltsim.0", "fltsim.2"};
        QTest::newRow("row 3 is not row 13")
            << QStringList{"fltsim.0", "fltsim.1", "fltsim.2", "fltsim.3"} << QList<int>{13} << QStringList{};
        QTest::newRow("numbers out of order: position counts")
            << QStringList{"fltsim.7", "fltsim.3"} << QList<int>{1} << QStringList{"fltsim.3"};
        QTest::newRow("no entry sections") << QStringList{"General"} << QList<int>{} << QStringList{};
    }

    void targetSections()
    {
        QFETCH(QStringList, sections);
        QFETCH(QList<int>, ticked);
        QFETCH(QStringList, expected);
        QStringList targets;
        for (const CfgWrites::KeyWrite& w : UpdateAll::plan(sections, ticked, "atc_id", "X"))
            targets.append(w.section);
        QCOMPARE(targets, expected);
    }

    void fileAssignment_data()
    {
        QTest::addColumn<QStringList>("choices"); // texture, model, air file
        QTest::addColumn<QStringList>("written"); // key=value
        QTest::newRow("nothing chosen") << QStringList{"", "", ""} << QStringList{};
        QTest::newRow("model only") << QStringList{"", "B", ""} << QStringList{"model=B"};
        QTest::newRow("<default> is one blank")
            << QStringList{"<default>", "<default>", "Jet"} << QStringList{"texture= ", "model= ", "sim=Jet"};
        QTest::newRow("sim is never <default>-mapped")
            << QStringList{"", "", "<default>"} << QStringList{"sim=<default>"};
    }

    void fileAssignment()
    {
        QFETCH(QStringList, choices);
        QFETCH(QStringList, written);
        QCOMPARE(FileAssign::anyChoice(choices[0], choices[1], choices[2]), !written.isEmpty());
        QStringList got;
        for (const CfgWrites::KeyWrite& w :
             FileAssign::plan("FLTSIM.1", choices[0], choices[1], choices[2])) {
            QCOMPARE(w.section, QStringLiteral("FLTSIM.1"));
            got.append(w.key + u'=' + w.value);
        }
        QCOMPARE(got, written);
    }
};

QTEST_GUILESS_MAIN(TestUpdateAll)
#include "tst_updateall.moc"
