// The rules of the parking fields: which types a caption ticks, what a click
// on a code does to the codes text, Jet's LIKE for the airline filter and
// where the airline list is found.
#include "editing/ParkingCodes.h"

#include "OddFile.h"
#include "TestUtil.h"

#include <QTest>

using ParkingCodes::Outcome;

Q_DECLARE_METATYPE(ParkingCodes::Outcome)

class TestParkingCodes : public QObject
{
    Q_OBJECT

private slots:
    void typesToTick_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QList<int>>("ticks");
        QTest::newRow("two types") << "GATE,RAMP" << QList<int>{2, 5};
        QTest::newRow("all six") << "CARGO,DOCK,GATE,MIL_CARGO,MIL_COMBAT,RAMP"
                                 << QList<int>{0, 1, 2, 3, 4, 5};
        QTest::newRow("lower case ticks nothing") << "gate" << QList<int>{};
        QTest::newRow("a blank before the name ticks nothing") << " GATE" << QList<int>{};
        QTest::newRow("unknown and empty parts are passed over") << "GATE,,HANGAR,RAMP" << QList<int>{2, 5};
        QTest::newRow("MIL_CARGO is not CARGO") << "MIL_CARGO" << QList<int>{3};
        QTest::newRow("empty caption") << "" << QList<int>{};
    }

    void typesToTick()
    {
        QFETCH(QString, caption);
        QFETCH(QList<int>, ticks);
        QList<int> got = ParkingCodes::typesToTick(caption);
        std::sort(got.begin(), got.end());
        QCOMPARE(got, ticks);
    }

    void toggleCode_data()
    {
        QTest::addColumn<QString>("codes");
        QTest::addColumn<QString>("code");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("after");

        QTest::newRow("first code") << ""
                                    << "AB" << Outcome::Added << "AB";
        QTest::newRow("append") << "AB"
                                << "CD" << Outcome::Added << "AB,CD";
        QTest::newRow("blanks around a database code are not added") << "AB"
                                                                    << " CD " << Outcome::Added << "AB,CD";
        QTest::newRow("first code without its blanks") << ""
                                                      << " CD" << Outcome::Added << "CD";
        QTest::newRow("remove from the middle") << "AB,CD,EF"
                                                << "CD" << Outcome::Removed << "AB,EF";
        QTest::newRow("remove the only code") << "AB"
                                              << "AB" << Outcome::Removed << "";
        QTest::newRow("remove the last code") << "AB,CD"
                                              << "CD" << Outcome::Removed << "AB";
        QTest::newRow("fifth code is allowed") << "AB,CD,EF,GH"
                                               << "IJ" << Outcome::Added << "AB,CD,EF,GH,IJ";
        QTest::newRow("sixth code is refused") << "AB,CD,EF,GH,IJ"
                                               << "KL" << Outcome::LimitReached << "AB,CD,EF,GH,IJ";
        QTest::newRow("one of five is removed") << "AB,CD,EF,GH,IJ"
                                                << "GH" << Outcome::Removed << "AB,CD,EF,IJ";
        QTest::newRow("four commas count as five codes") << "AB,CD,EF,GH,"
                                                         << "KL" << Outcome::LimitReached << "AB,CD,EF,GH,";
        QTest::newRow("letter case counts") << "AB"
                                            << "ab" << Outcome::Added << "AB,ab";
        // A code inside a longer one is not one of the codes: it is added.
        QTest::newRow("inside a longer code") << "ABC,DE"
                                              << "AB" << Outcome::Added << "ABC,DE,AB";
        QTest::newRow("longer than a code") << "AB,DE"
                                            << "ABC" << Outcome::Added << "AB,DE,ABC";
        QTest::newRow("every copy goes") << "AB,CD,AB"
                                         << "AB" << Outcome::Removed << "CD";
        QTest::newRow("blanks around a code") << "AB, CD"
                                              << "CD" << Outcome::Removed << "AB";
        QTest::newRow("a row without a code") << "AB,,CD"
                                              << "" << Outcome::Ignored << "AB,,CD";
        QTest::newRow("a row without a code, empty field") << ""
                                                           << "" << Outcome::Ignored << "";
    }

    void toggleCode()
    {
        QFETCH(QString, codes);
        QFETCH(QString, code);
        QFETCH(Outcome, outcome);
        QFETCH(QString, after);
        const ParkingCodes::Toggle t = ParkingCodes::toggleCode(codes, code);
        QCOMPARE(t.outcome, outcome);
        QCOMPARE(t.codes, after);
    }

    void likeMatches_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("match");
        QTest::newRow("contains") << "Fernway Regional"
                                  << "%way%" << true;
        QTest::newRow("letters without regard to case") << "Fernway Regional"
                                                        << "%WAY r%" << true;
        QTest::newRow("accented letters without regard to case") << "ÉCLAIR AIR"
                                                                 << "%éclair%" << true;
        QTest::newRow("apostrophe is literal") << "Fen O'Malley Air"
                                               << "%o'm%" << true;
        QTest::newRow("apostrophe must be there") << "Fen OMalley Air"
                                                  << "%o'm%" << false;
        QTest::newRow("underscore is one character") << "Under_Wood Aero"
                                                     << "%r_w%" << true;
        QTest::newRow("underscore matches any character") << "UnderXWood Aero"
                                                          << "%r_w%" << true;
        QTest::newRow("underscore needs a character") << "UnderWood Aero"
                                                      << "%r_w%" << false;
        QTest::newRow("percent in the filter is a wildcard") << "Sedgeworth Charter"
                                                             << "%worth%char%" << true;
        QTest::newRow("brackets are literal") << "Air [North]"
                                              << "%[north]%" << true;
        QTest::newRow("brackets are no character list") << "Air N"
                                                        << "%[N]%" << false;
        QTest::newRow("a lone percent matches empty text") << ""
                                                           << "%" << true;
        QTest::newRow("underscore does not match empty text") << ""
                                                              << "%_%" << false;
        QTest::newRow("backtracking over a repeated start") << "aaab"
                                                            << "%aab%" << true;
        QTest::newRow("no match") << "Fernway"
                                  << "%moss%" << false;
        QTest::newRow("anchored without percent") << "Fernway"
                                                  << "Fern" << false;
    }

    void likeMatches()
    {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(bool, match);
        QCOMPARE(ParkingCodes::likeMatches(text, pattern), match);
    }

    void findDatabase_data()
    {
        QTest::addColumn<QString>("name"); // what lies in the folder
        QTest::addColumn<bool>("isFolder");
        QTest::addColumn<bool>("found");
        QTest::newRow("as named") << "parkingspecs.mdb" << false << true;
        QTest::newRow("other letter case") << "ParkingSpecs.MDB" << false << true;
        QTest::newRow("a folder of that name") << "parkingspecs.mdb" << true << false;
        QTest::newRow("absent") << "parkingspecs.mdb.bak" << false << false;
    }

    void findDatabase()
    {
        QFETCH(QString, name);
        QFETCH(bool, isFolder);
        QFETCH(bool, found);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (isFolder)
            testutil::makeDir(path);
        else
            testutil::writeFile(path, "x");
        QCOMPARE(ParkingCodes::findDatabase(dir.path()), found ? path : QString());
    }

    void oddDatabaseIsNotFound_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        for (const char* name : {"parkingspecs.mdb", "ParkingSpecs.MDB"}) {
            for (const char* kind : testutil::kOddKinds)
                QTest::addRow("%s %s", kind, name) << QString::fromLatin1(kind) << QString::fromLatin1(name);
        }
    }

    void oddDatabaseIsNotFound()
    {
        // Only a regular file is handed to the database reader, also when
        // the name is found in another letter case.
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QTemporaryDir dir;
        const testutil::OddFile odd(dir.filePath(name), kind);
        QVERIFY(odd.made());
        QCOMPARE(ParkingCodes::findDatabase(dir.path()), QString());
        QCOMPARE(odd.readerOpens(), 0);
    }

    void locateDatabase_data()
    {
        // Folders by letter: c the chosen one, a and b the defaults in order.
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<QString>("holding"); // the folders that hold the file
        QTest::addColumn<QString>("found");   // the folder it is read from; empty for none
        QTest::newRow("chosen folder wins") << true << QString("cab") << QString("c");
        QTest::newRow("chosen folder without it") << true << QString("ab") << QString();
        QTest::newRow("first default") << false << QString("ab") << QString("a");
        QTest::newRow("second default") << false << QString("b") << QString("b");
        QTest::newRow("nowhere") << false << QString() << QString();
    }

    void locateDatabase()
    {
        QFETCH(bool, chosen);
        QFETCH(QString, holding);
        QFETCH(QString, found);
        QTemporaryDir dir;
        for (const QChar folder : QStringLiteral("cab")) {
            testutil::makeDir(dir.filePath(folder));
            if (holding.contains(folder))
                testutil::writeFile(dir.filePath(folder + QStringLiteral("/parkingspecs.mdb")), "x");
        }
        const QString path = ParkingCodes::locateDatabase(
            chosen ? dir.filePath(QStringLiteral("c")) : QString(),
            {dir.filePath(QStringLiteral("a")), dir.filePath(QStringLiteral("b"))});
        QCOMPARE(path,
                 found.isEmpty() ? QString() : dir.filePath(found + QStringLiteral("/parkingspecs.mdb")));
    }
};

QTEST_GUILESS_MAIN(TestParkingCodes)
#include "tst_parkingcodes.moc"
