#include "platform/ProfileEngine.h"
#include "shared/AppInfo.h"
#include "validation/FolderValidation.h"
#include "validation/ValidationReport.h"

#include "TestUtil.h"

#include <QRegularExpression>
#include <QTest>

#include <cmath>
#include <tuple>

using namespace FolderValidation;
using namespace ValidationReport;

namespace {

const QString kDate = QStringLiteral("01/02/2024");
const QString kTime = QStringLiteral("13:45");

QStringList allFlags(const QString& value)
{
    QStringList flags;
    for (int i = 0; i < kFlagCount; ++i)
        flags << value;
    return flags;
}

QStringList flagsOn(std::initializer_list<int> on)
{
    QStringList flags = allFlags(QStringLiteral("0"));
    for (int f : on)
        flags[f] = QStringLiteral("1");
    return flags;
}

// Rows of a header length and the length of the separator line under it.
void lengthRows(std::initializer_list<std::tuple<const char*, int, int>> rows)
{
    QTest::addColumn<int>("headerLength");
    QTest::addColumn<int>("separatorLength");
    for (const auto& [name, header, separator] : rows)
        QTest::newRow(name) << header << separator;
}

// The label column: text padded to 35 characters.
QString L(const char* text)
{
    return label(QString::fromUtf8(text));
}
const QString kIndent(35, u' ');

// The whole file as the report should hold it.
QByteArray fileOf(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

// Star line, header, star line and the empty line; `body`; the closing lines.
QStringList framed(const QString& folder, const QStringList& body)
{
    const QString h = headerText(folder, kDate, kTime);
    const QString stars(h.size(), u'*');
    return QStringList{stars, h, stars, QString()} + body + QStringList{QString(), stars};
}

// `base`/`name`, with one letter more where needed so that the report's
// header has an odd (or even) length.
QString folderWithHeaderParity(const QString& base, QString name, bool odd)
{
    if ((headerText(base + u'/' + name + u'/', kDate, kTime).size() % 2 == 1) != odd)
        name += u'x';
    return base + u'/' + name;
}

// The separator of a header: half its length, a half rounded to even.
QString expectedSeparator(qsizetype headerLength)
{
    return QStringLiteral("-:").repeated(static_cast<qsizetype>(std::nearbyint(headerLength / 2.0)));
}

Result synthetic(std::initializer_list<int> on)
{
    Result r;
    r.flags = flagsOn(on);
    r.aircraftFolderText = QStringLiteral("/fs9/aircraft/b738/");
    r.textureFormat = QStringLiteral("*.bmp");
    return r;
}

} // namespace

class TestValidationReport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_fx;

    Input input(const QString& ac, Simulator simulator) const
    {
        Input in;
        in.aircraftFolder = ac;
        in.aircraftCfg = ac + "/aircraft.cfg";
        in.flags = allFlags(QStringLiteral("1"));
        in.airlinesFound = true;
        in.simulator = simulator;
        in.airlineLines = QStringList{"KLM", "BRACKENHOLD"};
        in.effectsFolder = m_fx;
        return in;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        m_fx = m_tmp.path() + "/Effects";
        testutil::writeFile(m_fx + "/fx_wake.fx", "x");
    }
    void init() { platform::profile::clearCache(); }

    void cleanFolderWholeFile()
    {
        const QString ac = folderWithHeaderParity(m_tmp.path(), "B738", true);
        testutil::writeFile(ac + "/aircraft.cfg",
                            "[fltsim.0]\r\ntitle=A\r\nsim=b738\r\nmodel=\r\ntexture=a\r\natc_airline=KLM\r\n"
                            "[fltsim.1]\r\ntitle=B\r\nsim=B738\r\nmodel=\r\ntexture=\r\natc_airline=klm\r\n"
                            "[effects]\r\nwake=1\r\n");
        testutil::writeFile(ac + "/B738.air", "x");
        testutil::writeFile(ac + "/model/model.cfg", "[models]\r\nnormal=b738\r\n");
        testutil::writeFile(ac + "/model/B738.MDL", "x");
        testutil::writeFile(ac + "/texture/t.bmp", "x");
        testutil::writeFile(ac + "/texture.A/t.bmp", "x");
        const Result r = validate(input(ac, Simulator::FSX));
        QCOMPARE(r.status, Status::Ok);
        const Report report = build(r, kDate, kTime);
        const qsizetype length = headerText(ac + "/", kDate, kTime).size();
        const QString s = expectedSeparator(length);
        QCOMPARE(s.size(), length - 1 + 2 * ((length / 2) % 2)); // odd: one shorter or longer
        const QStringList body{
            L("[fltsim.x] sections:") + "2",
            L("[fltsim.x] title undefined:") + "0",
            L("[fltsim.x] title unique:") + "passed",
            L("[fltsim.x] sections numbering:") + "passed",
            s,
            L("Textures found in folder:") + "2",
            L("Textures undefined in [fltsim.x]:") + "0",
            L("Textures missing in folder:") + "0",
            L("Textures unused in folder:") + "0",
            L("Textures used more than once:") + "0",
            L("Texture format:") + "*.bmp",
            s,
            L("Models found in folder:") + "1",
            L("Models undefined in [fltsim.x]:") + "0",
            L("Models missing in folder:") + "0",
            L("Models unused in folder:") + "0",
            s,
            L("Airfiles found in folder:") + "1",
            L("Airfiles undefined in [fltsim.x]:") + "0",
            L("Airfiles missing in folder:") + "0",
            L("Airfiles unused in folder:") + "0",
            s,
            L("atc_airlines compared against:") + "FSX",
            L("atc_airlines found:") + "2",
            L("atc_airlines undefined [fltsim.x]:") + "0",
            L("atc_airlines unknown:") + "0",
            s,
            L("Missing effect files:") + "0",
            s,
            L("Empty folders found:") + "0",
        };
        QCOMPARE(report.bytes, fileOf(framed(ac + "/", body)));
        QVERIFY(!report.reportErrors);
    }

    void findingsWholeFile()
    {
        // A folder name with é: the report holds the Windows-1252 byte E9.
        const QString ac = folderWithHeaderParity(
            m_tmp.path() + QString::fromUtf8("/Avi\u00f3n \u00e9t\u00e9"), "B738", false);
        testutil::writeFile(
            ac + "/aircraft.cfg",
            "[fltsim.0]\r\ntitle=Liner\r\nsim=b738\r\nmodel=\r\ntexture=a\r\natc_airline=KLM\r\n"
            "[fltsim.2]\r\ntitle=Liner\r\nsim=b738\r\nmodel=gone\r\ntexture=x\r\n"
            "atc_airline=XYZ\r\n[effects]\r\nwake=1\r\nstartup=1\r\n");
        testutil::writeFile(ac + "/b738.air", "x");
        testutil::writeFile(ac + "/model/Model.cfg", "[models]\r\nnormal=b738\r\n");
        testutil::writeFile(ac + "/model/b738.mdl", "x");
        testutil::writeFile(ac + "/texture.a/t.bmp", "x");
        testutil::writeFile(ac + "/texture.x/texture.cfg", "[fltsim]\r\nfallback.1=..\\texture.a\r\n");
        testutil::writeFile(ac + "/texture.old/t.bmp", "x");
        testutil::makeDir(ac + "/Empty");
        const Result r = validate(input(ac, Simulator::FS9));
        QCOMPARE(r.status, Status::Ok);
        const Report report = build(r, kDate, kTime);
        const QString h = headerText(ac + "/", kDate, kTime);
        const QString s = expectedSeparator(h.size());
        QCOMPARE(s.size(), h.size());
        const QString note = QString::fromUtf16(kAliasingNote);
        const QStringList body{
            L("[fltsim.x] sections:") + "2   ==> not in sequential order - consider renumbering",
            L("[fltsim.x] title undefined:") + "0",
            L("[fltsim.x] title unique:") + "failed",
            L("[fltsim.x] title duplicate:") + "\"Liner\" --> fltsim.0",
            kIndent + "\"Liner\" --> fltsim.2",
            L("[fltsim.x] sections numbering:") + "failed (duplicates will cause title unique errors above)",
            L("[fltsim.x] sections misnumbered:") + "[fltsim.2]",
            s,
            L("Textures found in folder:") + "3",
            L("Textures undefined in [fltsim.x]:") + "0",
            L("Textures missing in folder:") + "0",
            L("Textures unused in folder:") + "..\\texture.old" + note,
            L("Textures used more than once:") + "0",
            L("Texture format:") + "*.bmp",
            s,
            L("Models found in folder:") + "1",
            L("Models undefined in [fltsim.x]:") + "0",
            L("Models missing in folder:") + "fltsim.2 -->  ..\\Model.gone",
            L("Models unused in folder:") + "0",
            s,
            L("Airfiles found in folder:") + "1",
            L("Airfiles undefined in [fltsim.x]:") + "0",
            L("Airfiles missing in folder:") + "0",
            L("Airfiles unused in folder:") + "0",
            s,
            L("atc_airlines compared against:") + "FS9",
            L("atc_airlines found:") + "1",
            L("atc_airlines undefined [fltsim.x]:") + "0",
            L("atc_airlines unknown:") + "1",
            kIndent + "fltsim.2 -->  atc_airline=XYZ",
            s,
            L("Missing effect files:") + "fx_engstrt.fx",
            s,
            L("Empty folders found:") + "..\\Empty",
        };
        QCOMPARE(report.bytes, fileOf(framed(ac + "/", body)));
        QVERIFY(report.reportErrors);
        QVERIFY(report.bytes.contains(" \xE9t\xE9/B738"));
        QVERIFY(!report.bytes.contains("\xC3\xA9"));
    }

    void separator_data()
    {
        lengthRows({{"80", 80, 80},
                    {"81: 40.5 rounds to 40", 81, 80},
                    {"83: 41.5 rounds to 42", 83, 84},
                    {"1", 1, 0},
                    {"3", 3, 4}});
    }
    void separator()
    {
        QFETCH(int, headerLength);
        QFETCH(int, separatorLength);
        const QString s = separatorLine(headerLength);
        QCOMPARE(s.size(), separatorLength);
        QCOMPARE(s, QStringLiteral("-:").repeated(separatorLength / 2));
    }

    void headerLengths_data() { lengthRows({{"81", 81, 80}, {"83", 83, 84}, {"84", 84, 84}}); }
    void headerLengths()
    {
        QFETCH(int, headerLength);
        QFETCH(int, separatorLength);
        Result r = synthetic({0, 12, 6});
        const qsizetype fixed = headerText(QString(), kDate, kTime).size();
        r.aircraftFolderText = QString(headerLength - fixed - 1, u'a') + u'/';
        const QStringList lines = buildLines(r, kDate, kTime);
        QCOMPARE(lines[1].size(), headerLength);
        QCOMPARE(lines[0], QString(headerLength, u'*'));
        QCOMPARE(lines.last(), QString(headerLength, u'*'));
        QCOMPARE(lines[5].size(), separatorLength);
        QVERIFY(lines[1].startsWith(QStringLiteral("Fernquill V.%1.%2.%3 - 01/02/2024 13:45 - Report for \"")
                                        .arg(appinfo::kMajor)
                                        .arg(appinfo::kMinor)
                                        .arg(appinfo::kRevision)));
    }

    void layout_data()
    {
        QTest::addColumn<QList<int>>("on");
        QTest::addColumn<QStringList>("body"); // "S" stands for the separator
        QTest::newRow("only 22") << QList<int>{22}
                                 << QStringList{"S", L("Empty folders found:") + "..\\a",
                                                L("Empty folders found:") + "..\\b c"};
        QTest::newRow("0 and 12: no separator")
            << QList<int>{0, 12}
            << QStringList{L("[fltsim.x] sections:") + "0", L("Textures found in folder:") + "4"};
        QTest::newRow("0, 12, 6: one separator")
            << QList<int>{0, 12, 6}
            << QStringList{L("[fltsim.x] sections:") + "0", "S", L("Textures found in folder:") + "4",
                           L("Models found in folder:") + "2"};
        QTest::newRow("21 and 22 after airlines")
            << QList<int>{9, 21, 22}
            << QStringList{
                   L("atc_airlines compared against:") + "FSX", L("atc_airlines found:") + "0",         "S",
                   L("Missing effect files:") + "fx_a.fx",      L("Missing effect files:") + "fx_b.fx", "S",
                   L("Empty folders found:") + "..\\a",         L("Empty folders found:") + "..\\b c"};
        QTest::newRow("one missing model")
            << QList<int>{8} << QStringList{L("Models missing in folder:") + "fltsim.0 -->  ..\\Model.x"};
        // A mark that stayed is told whatever the options, one line a file.
        QTest::newRow("byte-order marks kept, no option on")
            << QList<int>{}
            << QStringList{L("Byte-order mark not removed:") + "..\\texture.a\\texture.cfg --> the file is read-only",
                           L("Byte-order mark not removed:") + "..\\model\\Model.cfg --> leads out"};
        QTest::newRow("count and first-item forms")
            << QList<int>{15, 11}
            << QStringList{L("Textures missing in folder:") + "2", kIndent + "fltsim.0 -->  ..\\texture.a",
                           kIndent + "fltsim.1 -->  ..\\texture.",
                           L("atc_airlines compared against:") + "FSX", L("atc_airlines unknown:") + "0"};
    }
    void layout()
    {
        QFETCH(QList<int>, on);
        QFETCH(QStringList, body);
        Result r = synthetic({});
        for (int f : on)
            r.flags[f] = QStringLiteral("1");
        r.texturesFound = 4;
        r.modelsFound = 2;
        r.emptyFolders = QStringList{"..\\a", "..\\b c"};
        r.missingEffectFiles = QStringList{"fx_a.fx", "fx_b.fx"};
        r.missingModels = QStringList{"fltsim.0 -->  ..\\Model.x"};
        r.missingTextures = QStringList{"fltsim.0 -->  ..\\texture.a", "fltsim.1 -->  ..\\texture."};
        if (on.isEmpty())
            r.marksKept = QStringList{"..\\texture.a\\texture.cfg --> the file is read-only",
                                      "..\\model\\Model.cfg --> leads out"};
        const QString s = separatorLine(headerText(r.aircraftFolderText, kDate, kTime).size());
        body.replaceInStrings(QRegularExpression("^S$"), s);
        QCOMPARE(buildLines(r, kDate, kTime), framed(r.aircraftFolderText, body));
    }

    void reportErrors_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<QString>("list");
        QTest::addColumn<bool>("errors");
        QTest::newRow("no missing model") << 8 << "" << false;
        QTest::newRow("missing model") << 8 << "missingModels" << true;
        QTest::newRow("missing model, option off") << 7 << "missingModels" << false;
        QTest::newRow("unused texture") << 14 << "unusedTextures" << true;
        QTest::newRow("used more than once") << 16 << "texturesUsedMoreThanOnce" << true;
        QTest::newRow("unused air file") << 4 << "unusedAirFiles" << true;
        QTest::newRow("undefined title") << 17 << "undefinedTitles" << true;
        QTest::newRow("airline without value") << 10 << "airlinesWithoutValue" << true;
        QTest::newRow("unknown airline") << 11 << "unknownAirlines" << true;
        QTest::newRow("missing effect") << 21 << "missingEffectFiles" << true;
        QTest::newRow("empty folder") << 22 << "emptyFolders" << true;
        QTest::newRow("duplicate title") << 1 << "duplicateTitles" << true;
        QTest::newRow("misnumbered") << 2 << "misnumbered" << true;
        QTest::newRow("counters and format only") << 13 << "" << false;
        QTest::newRow("byte-order mark kept") << 13 << "marksKept" << true;
    }
    void reportErrors()
    {
        QFETCH(int, flag);
        QFETCH(QString, list);
        QFETCH(bool, errors);
        Result r = synthetic({flag, 0, 12, 6, 3, 9});
        r.notInSequentialOrder = true;
        r.texturesFound = 3;
        const QStringList item{"fltsim.0 --> x"};
        if (list == u"missingModels")
            r.missingModels = item;
        else if (list == u"unusedTextures")
            r.unusedTextures = item;
        else if (list == u"texturesUsedMoreThanOnce")
            r.texturesUsedMoreThanOnce = item;
        else if (list == u"unusedAirFiles")
            r.unusedAirFiles = item;
        else if (list == u"undefinedTitles")
            r.undefinedTitles = item, r.undefinedTitleFound = true;
        else if (list == u"airlinesWithoutValue")
            r.airlinesWithoutValue = item, r.airlineKeyRead = true;
        else if (list == u"unknownAirlines")
            r.unknownAirlines = item;
        else if (list == u"missingEffectFiles")
            r.missingEffectFiles = item;
        else if (list == u"emptyFolders")
            r.emptyFolders = item;
        else if (list == u"duplicateTitles")
            r.duplicateTitles = item, r.duplicateTitlesFound = true;
        else if (list == u"misnumbered")
            r.misnumbered = item, r.misnumberedFound = true;
        else if (list == u"marksKept")
            r.marksKept = item;
        QCOMPARE(build(r, kDate, kTime).reportErrors, errors);
    }

    void writesAtomically()
    {
        const QString path = m_tmp.path() + "/zibcheck.log";
        QVERIFY(writeReport(path, "one\r\n").ok);
        QVERIFY(writeReport(path, "two\r\n").ok);
        QCOMPARE(testutil::readFile(path), QByteArray("two\r\n"));
        testutil::setMode(path, 0444);
        QVERIFY(!writeReport(path, "three\r\n").ok);
        QCOMPARE(testutil::readFile(path), QByteArray("two\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestValidationReport)
#include "tst_validationreport.moc"
