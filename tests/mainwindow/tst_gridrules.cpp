#include "mainwindow/GridRules.h"

#include <QTest>

class TestGridRules : public QObject
{
    Q_OBJECT
private slots:
    void hiddenColumns_data()
    {
        QTest::addColumn<QString>("dataGrid");
        QTest::addColumn<QList<int>>("columns");
        const QChar bar(0xA6);
        QTest::newRow("only parking_code") << (QString("0") + bar + "-1" + bar + "0") << QList<int>{3};
        QTest::newRow("first and last") << (QString("-1") + QString("%1 0").arg(bar).repeated(13) + bar + "-1")
                                        << QList<int>{2, 16};
        QTest::newRow("sixteenth flag has no column") << (QStringList(16, "-1").join(bar))
                                                      << QList<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
        QTest::newRow("empty") << QString() << QList<int>{};
    }
    void hiddenColumns()
    {
        QFETCH(QString, dataGrid);
        QFETCH(QList<int>, columns);
        QCOMPARE(GridRules::hiddenColumns(dataGrid), columns);
    }
};

QTEST_GUILESS_MAIN(TestGridRules)
#include "tst_gridrules.moc"
