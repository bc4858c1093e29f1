// The combined report of a batch validation: which folders' blocks go in,
// how they are encoded, and the folder listing a run goes over.
#include "validation/BatchReport.h"

#include "TestUtil.h"

#include <QTest>

using BatchReport::FolderOutcome;
using BatchReport::Mode;

Q_DECLARE_METATYPE(BatchReport::Mode)

namespace {

QStringList linesOf(const QByteArray& bytes)
{
    QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

const QByteArray kReport = "*****\r\nreport\r\n*****\r\n";

} // namespace

class TestBatchReport : public QObject
{
    Q_OBJECT

private slots:
    void blockFor_data()
    {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("skip");
        QTest::addColumn<bool>("written");
        QTest::addColumn<bool>("errors");
        QTest::addColumn<QString>("expected"); // "report", "skip" or "" (nothing)
        QTest::newRow("all: clean report") << Mode::AllAircraft << "" << true << false << "report";
        QTest::newRow("all: report with findings") << Mode::AllAircraft << "" << true << true << "report";
        QTest::newRow("errors only: clean report") << Mode::ErrorsOnly << "" << true << false << "";
        QTest::newRow("errors only: findings") << Mode::ErrorsOnly << "" << true << true << "report";
        QTest::newRow("all: skipped") << Mode::AllAircraft << "Why " << false << false << "skip";
        QTest::newRow("errors only: skipped") << Mode::ErrorsOnly << "Why " << false << false << "skip";
        QTest::newRow("skip wins over a report") << Mode::AllAircraft << "Why " << true << true << "skip";
        // A run that stopped without a reason (all options off) left no report:
        // nothing from an earlier run may stand in for it.
        QTest::newRow("all: neither") << Mode::AllAircraft << "" << false << false << "";
    }
    void blockFor()
    {
        QFETCH(Mode, mode);
        QFETCH(QString, skip);
        QFETCH(bool, written);
        QFETCH(bool, errors);
        QFETCH(QString, expected);
        FolderOutcome o;
        o.folder = "/r/F";
        o.skipMessage = skip;
        o.reportWritten = written;
        o.report = written ? kReport : QByteArray();
        o.reportErrors = errors;
        const QByteArray block = BatchReport::blockFor(mode, o);
        if (expected == "report")
            QCOMPARE(block, kReport);
        else if (expected == "skip")
            QCOMPARE(block, QByteArray("**********\r\nWhy /r/F *\r\n**********\r\n"));
        else
            QVERIFY(block.isEmpty());
    }

    void combineKeepsFolderOrderAndBytes()
    {
        FolderOutcome a{"/r/A", {}, true, "A\r\n", false};
        FolderOutcome b{"/r/B", "Skipped ", false, {}, false};
        FolderOutcome c{QString::fromUtf8("/r/\u0141\u00e9"), "Skipped ", false, {}, false};
        const QByteArray bytes = BatchReport::combine("/r", Mode::AllAircraft, "d", "t", {a, b, c});
        const QStringList lines = linesOf(bytes);
        QCOMPARE(lines.size(), 3 + 1 + 3 + 3);
        QCOMPARE(lines[3], QStringLiteral("A"));
        QCOMPARE(lines[5], QStringLiteral("Skipped /r/B *"));
        // Windows-1252 has é but no Ł: one '?' byte, so the frame still fits.
        QCOMPARE(bytes.mid(bytes.indexOf("Skipped /r/?"), 16), QByteArray("Skipped /r/?\xe9 *\r"));
        QCOMPARE(lines[8].size(), lines[9].size());
    }

    void foldersBelowListsFirstLevelFoldersOnly()
    {
        QTemporaryDir tmp;
        const QString root = tmp.path() + "/Root";
        for (const char* name : {"charlie", "Alpha", "bravo/inner"})
            testutil::makeDir(root + "/" + name);
        testutil::writeFile(root + "/aircraft.cfg", "[fltsim.0]\r\n");
        QCOMPARE(BatchReport::foldersBelow(root),
                 (QStringList{root + "/Alpha", root + "/bravo", root + "/charlie"}));
        QVERIFY(BatchReport::foldersBelow(root + "/Alpha").isEmpty());
        QVERIFY(BatchReport::foldersBelow(root + "/missing").isEmpty());
        QVERIFY(BatchReport::foldersBelow(QString()).isEmpty());
    }

};

QTEST_GUILESS_MAIN(TestBatchReport)
#include "tst_batchreport.moc"
