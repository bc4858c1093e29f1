#include "shared/modFileExist.h"
#include "shared/modGlobal.h"

#include "TestUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <QTimer>

using namespace modGlobal;

using OptList = std::optional<QStringList>;
Q_DECLARE_METATYPE(OptList)

namespace {
// A list without storage is written as {"<none>"} in data rows.
OptList fromRow(const QStringList& row)
{
    if (row == QStringList{QStringLiteral("<none>")})
        return std::nullopt;
    return row;
}
} // namespace

class TestModGlobal : public QObject
{
    Q_OBJECT
private slots:
    void stripComment_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("name with comment") << "   Boeing 737 // the livery"
                                           << "Boeing 737";
        QTest::newRow("starts with //") << "// only a remark"
                                        << "";
        QTest::newRow("only //") << "//"
                                 << "";
        QTest::newRow("one slash stays") << "A300/lod"
                                         << "A300/lod";
        QTest::newRow("leading tab stays") << "\tname  "
                                           << "\tname";
        QTest::newRow("trailing tab stays") << "name\t // x"
                                            << "name\t";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("only blanks") << "    "
                                     << "";
        QTest::newRow("first // wins") << "a // b // c"
                                       << "a";
        QTest::newRow("comment glued") << "value//x"
                                       << "value";
        QTest::newRow("no comment, blanks") << "  x y  "
                                            << "x y";
    }
    void stripComment()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QString before = text;
        QCOMPARE(StripComment(text), expected);
        QCOMPARE(text, before);
    }

    void fileToArrayLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("three lines, comment on the second")
            << QByteArray("[fltsim.0]\r\ntitle=Liner A // red tail\r\nsim=b738\r\n")
            << QStringList{"[fltsim.0]", "title=Liner A", "sim=b738"};
        QTest::newRow("LF ends") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::newRow("CR ends") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("mixed ends") << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("no final line end") << QByteArray("x\r\ny") << QStringList{"x", "y"};
        QTest::newRow("blank lines kept") << QByteArray("a\r\n\r\n\nb") << QStringList{"a", "", "", "b"};
        QTest::newRow("one line end only") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("comment-only line") << QByteArray("// header\r\nk=v") << QStringList{"", "k=v"};
        QTest::newRow("windows-1252 bytes")
            << QByteArray("caf\xe9 \x80\r\n") << QStringList{u"caf\u00e9 \u20ac"_qs};
        QTest::newRow("tabs stay") << QByteArray("\tk=v\t\n") << QStringList{"\tk=v\t"};
    }
    void fileToArrayLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expected);
        QTemporaryDir tmp;
        const QString f = testutil::writeFileIn(tmp, "model.cfg", bytes);
        // A longer array shrinks to exactly the file's lines.
        OptList array = QStringList{"1", "2", "3", "4", "5", "6"};
        QVERIFY(FileToArray(f, array).ok);
        QVERIFY(array.has_value());
        QCOMPARE(*array, expected);
    }

    void fileToArrayLeavesArray_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<OptList>("before");
        QTest::newRow("missing file") << "missing" << OptList(QStringList{"keep"});
        QTest::newRow("missing file, no storage") << "missing" << OptList();
        QTest::newRow("empty file") << "empty" << OptList(QStringList{"keep", "me"});
        QTest::newRow("hidden file") << "hidden" << OptList(QStringList{"keep"});
        QTest::newRow("folder of that name") << "folder" << OptList(QStringList{"keep"});
        QTest::newRow("empty name") << "noname" << OptList(QStringList{"keep"});
    }
    void fileToArrayLeavesArray()
    {
        QFETCH(QString, kind);
        QFETCH(OptList, before);
        QTemporaryDir tmp;
        QString f = tmp.path() + "/model.cfg";
        if (kind == "empty")
            testutil::writeFile(f, "");
        if (kind == "hidden") {
            f = tmp.path() + "/.model.cfg";
            testutil::writeFile(f, "a\r\nb\r\n");
        }
        if (kind == "folder")
            testutil::makeDir(f);
        if (kind == "noname")
            f.clear();
        OptList array = before;
        QVERIFY(FileToArray(f, array).ok);
        QCOMPARE(array, before);
    }

    void fileToArrayFindsNameWithoutCase()
    {
        QTemporaryDir tmp;
        testutil::writeFile(tmp.path() + "/Model.A300/Model.CFG", "normal=x.mdl\r\n");
        OptList array;
        QVERIFY(FileToArray(tmp.path() + "/model.a300\\model.cfg", array).ok);
        QCOMPARE(array, OptList(QStringList{"normal=x.mdl"}));

        // A relative name is taken from the current folder.
        const QString old = QDir::currentPath();
        QVERIFY(QDir::setCurrent(tmp.path()));
        OptList relative;
        const bool ok = FileToArray("MODEL.a300/model.cfg", relative).ok;
        QDir::setCurrent(old);
        QVERIFY(ok);
        QCOMPARE(relative, array);
    }

    void fileToArrayReportsReadError_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("unreadable file") << "mode";
        QTest::newRow("file whose read fails") << "eio";
    }
    void fileToArrayReportsReadError()
    {
        QFETCH(QString, kind);
        QTemporaryDir tmp;
        const QString f = tmp.path() + "/aircraft.cfg";
        if (kind == "mode") {
            if (testutil::runningAsRoot())
                QSKIP("root reads any file");
            testutil::writeFile(f, "a\r\n");
            testutil::setMode(f, 0000);
        } else {
            // The process's own memory file opens fine but fails on reading at 0.
            if (!QFile::link("/proc/self/mem", f))
                QSKIP("no /proc here");
        }
        OptList array = QStringList{"keep"};
        const auto r = FileToArray(f, array);
        if (kind == "mode")
            testutil::setMode(f, 0644);
        QVERIFY(!r.ok);
        QVERIFY(r.error.contains("aircraft.cfg") || r.error.contains("mem"));
        QCOMPARE(array, OptList(QStringList{"keep"}));
    }

    void fileToArrayRunsWaitingEvents()
    {
        QTemporaryDir tmp;
        const QString f = testutil::writeFileIn(tmp, "aircraft.cfg", "a\r\nb\r\nc\r\n");
        bool ran = false;
        QTimer::singleShot(0, this, [&ran] { ran = true; });
        OptList array;
        QVERIFY(FileToArray(f, array).ok);
        QVERIFY(ran);
    }

    void fileToArrayLongFile()
    {
        QTemporaryDir tmp;
        const QString f = tmp.path() + "/aircraft.cfg";
        QByteArray bytes;
        const int lines = 200000;
        for (int i = 0; i < lines; ++i)
            bytes += "key" + QByteArray::number(i) + "=value // c\r\n";
        testutil::writeFile(f, bytes);
        OptList array;
        QVERIFY(FileToArray(f, array).ok);
        QCOMPARE(array->size(), lines);
        QCOMPARE(array->last(), QStringLiteral("key199999=value"));
    }

    void countDelimiters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<int>("expected");
        QTest::newRow("two backslashes") << "SimObjects\\Airplanes\\B738"
                                         << "\\" << 2;
        QTest::newRow("empty text") << ""
                                    << "\\" << -1;
        QTest::newRow("empty delimiter") << "a\\b"
                                         << "" << 0;
        QTest::newRow("both empty") << ""
                                    << "" << 0;
        QTest::newRow("none found") << "abc"
                                    << "," << 0;
        QTest::newRow("at both ends") << ",a,"
                                      << "," << 2;
        QTest::newRow("no overlap") << "aaa"
                                    << "aa" << 1;
        QTest::newRow("long delimiter") << "a::b::c"
                                        << "::" << 2;
        QTest::newRow("case counts") << "aAa"
                                     << "A" << 1;
    }
    void countDelimiters()
    {
        QFETCH(QString, text);
        QFETCH(QString, delimiter);
        QFETCH(int, expected);
        QCOMPARE(CountDelimiters(text, delimiter), expected);
    }

    void inStrNth_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("expected");
        QTest::newRow("overlap counts") << 2 << "aaa"
                                        << "aa" << 2;
        QTest::newRow("third comma of one") << 3 << "a,b"
                                            << "," << -1;
        QTest::newRow("n is 0") << 0 << "a,b"
                                << "," << 0;
        QTest::newRow("first") << 1 << "x,y,z"
                               << "," << 2;
        QTest::newRow("second") << 2 << "x,y,z"
                                << "," << 4;
        QTest::newRow("empty text") << 1 << ""
                                    << "," << -1;
        QTest::newRow("negative n") << -1 << "a,b"
                                    << "," << -1;
        QTest::newRow("case counts") << 1 << "abcABC"
                                     << "B" << 5;
        QTest::newRow("empty search") << 2 << "abc"
                                      << "" << 2;
        QTest::newRow("empty search past end") << 4 << "abc"
                                               << "" << -1;
        QTest::newRow("beyond 16 bits") << 1 << QString(40000, u'x') + "y"
                                        << "y" << 40001;
        QTest::newRow("second beyond 16 bits") << 2 << "y" + QString(70000, u'x') + "y"
                                               << "y" << 70002;
    }
    void inStrNth()
    {
        QFETCH(int, n);
        QFETCH(QString, text);
        QFETCH(QString, search);
        QFETCH(int, expected);
        QCOMPARE(InStrNth(n, text, search), expected);
    }

    void cleanText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("strict");
        QTest::addColumn<QString>("expected");
        QTest::newRow("strict tabs") << "a\t\tb" << true << "a b";
        QTest::newRow("loose tabs stay") << "a\t\tb" << false << "a\t\tb";
        QTest::newRow("loose double blanks") << "a  b   c" << false << "a b c";
        QTest::newRow("trimmed") << "   a   b  " << false << "a b";
        QTest::newRow("strict CR LF") << "a\r\nb" << true << "a b";
        QTest::newRow("strict control at start") << "\x01"
                                                    "a"
                                                 << true << " a";
        QTest::newRow("strict tab at end") << "a\t" << true << "a ";
        QTest::newRow("strict DEL") << "a\x7f"
                                       "b"
                                    << true << "a b";
        QTest::newRow("strict high letter") << u"caf\u00e9"_qs << true << "caf ";
        QTest::newRow("strict euro (byte 128)") << u"1\u20ac2"_qs << true << "1 2";
        QTest::newRow("strict undefined byte 129") << u"a\u0081b"_qs << true << "a b";
        QTest::newRow("outside the code page stays") << u"a\u4e2db"_qs << true << u"a\u4e2db"_qs;
        QTest::newRow("loose high letter stays") << u"caf\u00e9"_qs << false << u"caf\u00e9"_qs;
        QTest::newRow("printable stays") << "C:\\Temp\\~x" << true << "C:\\Temp\\~x";
        QTest::newRow("empty") << "" << true << "";
    }
    void cleanText()
    {
        QFETCH(QString, text);
        QFETCH(bool, strict);
        QFETCH(QString, expected);
        QCOMPARE(CleanText(text, strict), expected);
    }

    void countCommas_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("three") << "GATE_HEAVY,,RAMP," << 3;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("other comma-like marks") << u"a\uff0cb\u201ac;d"_qs << 0;
    }
    void countCommas()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(CountCommas(text), expected);
    }

    void isNumeric_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        QTest::newRow("digits") << "3" << true;
        QTest::newRow("blanks around") << "  13 " << true;
        QTest::newRow("sign and point") << "-3.5" << true;
        QTest::newRow("point first") << ".5" << true;
        QTest::newRow("exponent") << "1e5" << true;
        QTest::newRow("hex literal") << "&HFF" << true;
        QTest::newRow("letters") << "ab" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("digit then letter") << "3a" << false;
        QTest::newRow("lone point") << "." << false;
        QTest::newRow("two points") << "1.2.3" << false;
        QTest::newRow("lone sign") << "+" << false;
        QTest::newRow("exponent without digits") << "1e" << false;
    }
    void isNumeric()
    {
        QFETCH(QString, text);
        QFETCH(bool, expected);
        QCOMPARE(IsNumeric(text), expected);
    }

    void isInArray_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<bool>("lower");
        QTest::addColumn<bool>("expected");
        QTest::addColumn<QString>("valueAfter");
        QTest::newRow("small value, capital element")
            << "ab" << QStringList{"x", "AB"} << false << true << "AB";
        QTest::newRow("small value, small element") << "ab" << QStringList{"ab"} << false << false << "AB";
        QTest::newRow("3 is not 13") << "3" << QStringList{"13"} << false << false << "3";
        QTest::newRow("3 is 3") << "3" << QStringList{"13", "3"} << false << true << "3";
        QTest::newRow("no storage leaves value") << "abc" << QStringList{"<none>"} << false << false << "abc";
        QTest::newRow("storage without elements") << "" << QStringList{} << false << false << "";
        QTest::newRow("empty element") << "" << QStringList{"A", ""} << false << true << "";
        QTest::newRow("numeric text keeps its case")
            << "1e5" << QStringList{"1E5"} << false << false << "1e5";
        QTest::newRow("part of an element") << "LINER" << QStringList{"LINER A"} << false << false << "LINER";
        QTest::newRow("lower: capitals found") << "AB" << QStringList{"ab"} << true << true << "ab";
        QTest::newRow("lower: capital element") << "AB" << QStringList{"AB"} << true << false << "ab";
        QTest::newRow("lower: no storage") << "AB" << QStringList{"<none>"} << true << false << "AB";
    }
    void isInArray()
    {
        QFETCH(QString, value);
        QFETCH(QStringList, list);
        QFETCH(bool, lower);
        QFETCH(bool, expected);
        QFETCH(QString, valueAfter);
        const OptList l = fromRow(list);
        QCOMPARE(lower ? IsInArrayLower(value, l) : IsInArray(value, l), expected);
        QCOMPARE(value, valueAfter);
    }

    void isInArrayNumber_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<bool>("expected");
        QTest::newRow("3 in 13") << qint64(3) << QStringList{"13"} << false;
        QTest::newRow("3 in 3") << qint64(3) << QStringList{"0", "3"} << true;
        QTest::newRow("13 in 3, 13") << qint64(13) << QStringList{"3", "13"} << true;
        QTest::newRow("no storage") << qint64(0) << QStringList{"<none>"} << false;
    }
    void isInArrayNumber()
    {
        QFETCH(qint64, value);
        QFETCH(QStringList, list);
        QFETCH(bool, expected);
        QCOMPARE(IsInArray(value, fromRow(list)), expected);
        QCOMPARE(IsInArrayLower(value, fromRow(list)), expected);
    }

    void isInPipeList_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("search");
        QTest::addColumn<bool>("expected");
        const QString bar = QStringLiteral("\u00a6");
        QTest::newRow("whole element in capitals") << QStringList{"abc"} << bar + "ABC" + bar << true;
        QTest::newRow("small letters not found") << QStringList{"abc"} << bar + "abc" + bar << false;
        QTest::newRow("substring") << QStringList{"abc"} << "BC" << true;
        QTest::newRow("second element") << QStringList{"klm", "dlh"} << bar + "DLH" + bar << true;
        QTest::newRow("no such element") << QStringList{"klm"} << bar + "KL" + bar << false;
        QTest::newRow("no storage") << QStringList{"<none>"} << "X" << false;
    }
    void isInPipeList()
    {
        QFETCH(QStringList, list);
        QFETCH(QString, search);
        QFETCH(bool, expected);
        QCOMPARE(IsInPipeList(fromRow(list), search), expected);
    }

    void removeStringArrayItem_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("middle of three") << QStringList{"a", "b", "c"} << 1 << QStringList{"a", "c"};
        QTest::newRow("first") << QStringList{"a", "b", "c"} << 0 << QStringList{"b", "c"};
        QTest::newRow("last") << QStringList{"a", "b", "c"} << 2 << QStringList{"a", "b"};
        QTest::newRow("only element") << QStringList{"a"} << 0 << QStringList{"<none>"};
        QTest::newRow("past the end") << QStringList{"a", "b"} << 2 << QStringList{"a", "b"};
        QTest::newRow("negative") << QStringList{"a", "b"} << -1 << QStringList{"a", "b"};
        QTest::newRow("no storage") << QStringList{"<none>"} << 0 << QStringList{"<none>"};
        QTest::newRow("storage without elements") << QStringList{} << 0 << QStringList{};
    }
    void removeStringArrayItem()
    {
        QFETCH(QStringList, list);
        QFETCH(int, index);
        QFETCH(QStringList, expected);
        OptList array = fromRow(list);
        RemoveStringArrayItem(array, index);
        QCOMPARE(array, fromRow(expected));
        const bool allocated = expected != QStringList{"<none>"};
        QCOMPARE(IsArrayAllocated(array), allocated);
        QCOMPARE(ArrayHasBounds(array), allocated);
        QCOMPARE(IsArrayInitialized(array), allocated);
    }

    void fileExist_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("expected");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("folder without separator") << "/Airplanes/B738" << true;
        QTest::newRow("folder with separator") << "/Airplanes/B738/" << true;
        QTest::newRow("folder with backslash") << "/Airplanes\\B738\\" << true;
        QTest::newRow("file in other case") << "/airplanes/b738/AIRCRAFT.CFG" << true;
        QTest::newRow("wildcard") << "/Airplanes/B738/*.air" << true;
        QTest::newRow("wildcard without match") << "/Airplanes/B738/*.mdl" << false;
        QTest::newRow("missing") << "/Airplanes/B738/model.cfg" << false;
    }
    void fileExist()
    {
        QFETCH(QString, relative);
        QFETCH(bool, expected);
        QTemporaryDir tmp;
        testutil::writeFile(tmp.path() + "/Airplanes/B738/aircraft.cfg", "");
        testutil::writeFile(tmp.path() + "/Airplanes/B738/b738.AIR", "");
        const QString path = relative.isEmpty() ? QString() : tmp.path() + relative;
        QCOMPARE(modFileExist::FileExist(path), expected);
    }
};

QTEST_GUILESS_MAIN(TestModGlobal)
#include "tst_modglobal.moc"
