#include "editing/AircraftCfg.h"

#include "TestUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace AircraftCfg;

Q_DECLARE_METATYPE(AircraftCfg::SectionKind)

class TestAircraftCfg : public QObject
{
    Q_OBJECT
private slots:
    void sectionKinds_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<SectionKind>("kind");
        QTest::newRow("entry") << "fltsim.0" << SectionKind::Entry;
        QTest::newRow("entry in capitals") << "FLTSIM.12" << SectionKind::Entry;
        QTest::newRow("entry with capital F") << "Fltsim.3" << SectionKind::Entry;
        QTest::newRow("entry without number") << "fltsim." << SectionKind::Entry;
        QTest::newRow("fltsim without dot") << "fltsim" << SectionKind::Other;
        QTest::newRow("fltsim and more, no dot") << "fltsimx.0" << SectionKind::Other;
        QTest::newRow("effects") << "effects" << SectionKind::Effects;
        QTest::newRow("longer effects name") << "EFFECTS_old" << SectionKind::Effects;
        QTest::newRow("effect, too short") << "effect" << SectionKind::Other;
        QTest::newRow("general") << "general" << SectionKind::General;
        QTest::newRow("General in capitals") << "GENERAL" << SectionKind::General;
        QTest::newRow("general and more") << "general2" << SectionKind::Other;
        QTest::newRow("geometry") << "airplane_geometry" << SectionKind::Other;
        QTest::newRow("empty name") << "" << SectionKind::Other;
    }
    void sectionKinds()
    {
        QFETCH(QString, name);
        QFETCH(SectionKind, kind);
        QCOMPARE(sectionKind(name), kind);
        QCOMPARE(isEntrySection(name), kind == SectionKind::Entry);
        QCOMPARE(isEffectsSection(name), kind == SectionKind::Effects);
        QCOMPARE(isGeneralSection(name), kind == SectionKind::General);
    }

    void entryKeyTable()
    {
        const auto& keys = entryKeys();
        const char* order[] = {
            "title",           "atc_parking_types", "atc_parking_codes", "ui_createdby", "ui_typerole",
            "ui_manufacturer", "ui_type",           "ui_variation",      "model",        "sim",
            "atc_id",          "atc_flight_number", "atc_airline",       "atc_heavy",    "atc_model",
            "texture",         "description"};
        for (int i = 0; i < kEntryKeyCount; ++i) {
            const auto& k = keys[static_cast<size_t>(i)];
            QCOMPARE(QLatin1StringView(k.key), QLatin1StringView(order[i]));
            QCOMPARE(k.column, i < 16 ? i + 2 : 0);
            QCOMPARE(entryKeyIndex(QString::fromLatin1(k.key).toUpper()), i);
        }
        QCOMPARE(entryKeyIndex(u"wing_span"), -1);
        QCOMPARE(entryKeyIndex(u""), -1);
    }

    void readingEntryValues_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("title with comment") << "title"
                                            << "Liner A // red tail"
                                            << "Liner A";
        QTest::newRow("title, leading tab stays") << "Title"
                                                  << "\tLiner"
                                                  << "\tLiner";
        QTest::newRow("parking types upper-cased") << "atc_parking_types"
                                                   << "gate_heavy,ramp_ga // x"
                                                   << "GATE_HEAVY,RAMP_GA";
        QTest::newRow("model empty") << "model"
                                     << ""
                                     << "<default>";
        QTest::newRow("model blank") << "model"
                                     << " "
                                     << "<default>";
        QTest::newRow("model only comment") << "model"
                                            << "// none"
                                            << "<default>";
        QTest::newRow("model separators") << "model"
                                          << "A300/lod"
                                          << "A300\\lod";
        QTest::newRow("model with comment") << "MODEL"
                                            << "A300/lod // tuned"
                                            << "A300\\lod";
        QTest::newRow("texture as model") << "texture"
                                          << "klm/x"
                                          << "klm\\x";
        QTest::newRow("texture empty") << "texture"
                                       << ""
                                       << "<default>";
        QTest::newRow("sim keeps slashes") << "sim"
                                           << " b738/x "
                                           << "b738/x";
        QTest::newRow("description raw") << "description"
                                         << " Raw // text "
                                         << " Raw // text ";
        QTest::newRow("heavy text") << "atc_heavy"
                                    << "1 // heavy"
                                    << "1";
        QTest::newRow("key outside the table") << "wing_span"
                                               << "35 // ft"
                                               << "35";
        QTest::newRow("only //") << "atc_id"
                                 << "//"
                                 << "";
    }
    void readingEntryValues()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, shown);
        QCOMPARE(readEntryValue(entryKeyIndex(key), value), shown);
    }

    void fileFolderWrite()
    {
        QCOMPARE(fileFolderWriteText("<default>"), QStringLiteral(" "));
        QCOMPARE(fileFolderWriteText("klm"), QStringLiteral("klm"));
        // The blank written for "<default>" reads back as "<default>".
        QCOMPARE(fileFolderText(fileFolderWriteText("<default>")), QStringLiteral("<default>"));
    }

    void leadingNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::newRow("plain") << "35.5" << 35.5;
        QTest::newRow("blanks and unit") << "  35.5 ft" << 35.5;
        QTest::newRow("comment") << "35.5//wing" << 35.5;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("negative") << "-12.5" << -12.5;
        QTest::newRow("plus") << "+3" << 3.0;
        QTest::newRow("point first") << ".5" << 0.5;
        QTest::newRow("point last") << "5." << 5.0;
        QTest::newRow("second point ends") << "1.2.3" << 1.2;
        QTest::newRow("decimal comma ends") << "1,5" << 1.0;
        QTest::newRow("blanks inside skipped") << "1 2" << 12.0;
        QTest::newRow("tab before") << "\t7" << 7.0;
        QTest::newRow("sign, blank, digit") << "- 5" << -5.0;
        QTest::newRow("two signs") << "--5" << 0.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("D exponent") << "2D2" << 200.0;
        QTest::newRow("exponent without digits") << "1e" << 1.0;
        QTest::newRow("overflowing exponent") << "1e999" << 0.0;
        QTest::newRow("hex") << "&H10" << 16.0;
        QTest::newRow("hex 16-bit wraps") << "&HFFFF" << -1.0;
        QTest::newRow("hex 32-bit") << "&H10000" << 65536.0;
        QTest::newRow("octal") << "&O17" << 15.0;
        QTest::newRow("ampersand digits are octal") << "&17" << 15.0;
        QTest::newRow("minus zero") << "-0" << 0.0;
    }
    void leadingNumbers()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        QCOMPARE(leadingNumber(text), number);
    }

    void atcHeavy_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("ticked");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("1.0") << "1.0" << true;
        QTest::newRow("01") << "01" << true;
        QTest::newRow("blank before") << " 1" << true;
        QTest::newRow("with comment") << "1 // heavy" << true;
        QTest::newRow("1 and text") << "1x" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("2") << "2" << false;
        QTest::newRow("10") << "10" << false;
        QTest::newRow("1.5") << "1.5" << false;
        QTest::newRow("word") << "yes" << false;
    }
    void atcHeavy()
    {
        QFETCH(QString, value);
        QFETCH(bool, ticked);
        QCOMPARE(atcHeavyTicked(value), ticked);
        QCOMPARE(atcHeavyWriteText(ticked), ticked ? QStringLiteral("1") : QStringLiteral("0"));
    }

    void wingSpanWrite_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("decimal comma") << "35,5"
                                       << "35.5";
        QTest::newRow("every comma") << "1,234,5"
                                     << "1.234.5";
        QTest::newRow("point stays") << "35.5"
                                     << "35.5";
        QTest::newRow("empty") << ""
                               << "";
    }
    void wingSpanWrite()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QCOMPARE(wingSpanWriteText(typed), written);
    }

    void exitKeys()
    {
        QCOMPARE(exitIndex(u"exit.0"), 0);
        QCOMPARE(exitIndex(u"Exit.1"), 1);
        QCOMPARE(exitIndex(u"EXIT.2"), 2);
        QCOMPARE(exitIndex(u"exit.3"), -1);
        QCOMPARE(exitIndex(u"exit.10"), -1);
        QCOMPARE(exitIndex(u"exit"), -1);
    }

    void parsingExits_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<bool>("allParts");
        QTest::newRow("five fields and comment")
            << "0.4, 27.0, -4.0, 4.5, 0 //Main door" << QStringList{"0.4", "27.0", "-4.0", "4.5", "0"}
            << "//Main door" << true;
        QTest::newRow("four fields") << "0.4, 27.0, -4.0, 4.5"
                                     << QStringList{"0.4", "27.0", "-4.0", "4.5", ""} << "" << false;
        QTest::newRow("more than five")
            << "1,2,3,4,5,6,7" << QStringList{"1", "2", "3", "4", "5"} << "" << true;
        QTest::newRow("a part missing") << "1,,3,4,5" << QStringList{"1", "", "3", "4", "5"} << "" << true;
        QTest::newRow("empty fifth part") << "1,2,3,4," << QStringList{"1", "2", "3", "4", ""} << "" << true;
        QTest::newRow("blanks and tabs") << "\t0.4 ,\t27.0\t, -4.0 x, 4.5,0"
                                         << QStringList{"0.4", "27.0", "-4.0", "4.5", "0"} << "" << true;
        QTest::newRow("empty value") << "" << QStringList{"", "", "", "", ""} << "" << false;
        QTest::newRow("only //") << "//" << QStringList{"", "", "", "", ""} << "//" << false;
        QTest::newRow("comment glued to the fifth")
            << "1,2,3,4,5//door" << QStringList{"1", "2", "3", "4", "5"} << "//door" << true;
        QTest::newRow("comment with commas")
            << "1,2,3,4,5 // left, aft" << QStringList{"1", "2", "3", "4", "5"} << "// left, aft" << true;
        QTest::newRow("comment after two fields")
            << "1, 2 // a,b,c,d" << QStringList{"1", "2", "", "", ""} << "// a,b,c,d" << false;
        QTest::newRow("two comment marks")
            << "1,2,3,4,5 // a // b" << QStringList{"1", "2", "3", "4", "5"} << "// a // b" << true;
    }
    void parsingExits()
    {
        QFETCH(QString, value);
        QFETCH(QStringList, boxes);
        QFETCH(QString, comment);
        QFETCH(bool, allParts);
        const ExitValue exit = parseExit(value);
        QCOMPARE(QStringList(exit.boxes.begin(), exit.boxes.end()), boxes);
        QCOMPARE(exit.comment, comment);
        QCOMPARE(exit.allParts, allParts);
        QCOMPARE(exitComplete(exit.boxes), !boxes.contains(QString()));
    }

    void writingExits_data()
    {
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QString>("written");
        QTest::newRow("the documented example") << QStringList{"0,4", "10", "-3", "0", "0"} << "// main door"
                                                << " 0.4, 10, -3, 0, 0            // main door";
        QTest::newRow("no comment") << QStringList{"0.4", "27.0", "-4.0", "4.5", "0"} << ""
                                    << " 0.4, 27.0, -4.0, 4.5, 0            ";
        QTest::newRow("decimal commas") << QStringList{"0,4", "27,0", "-4,0", "4,5", "0"} << "//x"
                                        << " 0.4, 27.0, -4.0, 4.5, 0            //x";
    }
    void writingExits()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QString, comment);
        QFETCH(QString, written);
        ExitBoxes b;
        for (int i = 0; i < kExitBoxCount; ++i)
            b[static_cast<size_t>(i)] = boxes[i];
        QCOMPARE(exitWriteText(b, comment), written);

        // Reading the written line back gives the same exit, so repeated
        // write-backs never grow the line or repeat the comment.
        const ExitValue again = parseExit(written.trimmed());
        QCOMPARE(exitWriteText(again.boxes, again.comment), written);
        QCOMPARE(again.comment, comment);
    }

    void effectSlotTable()
    {
        const auto& table = effectSlots();
        const char* keys[] = {
            "wake",    "water",        "dirt",         "concrete",         "touchdown",       "contrail",
            "startup", "vaportrail_l", "vaportrail_r", "l_wingtipvortice", "r_wingtipvortice"};
        const char* files[] = {"fx_wake",
                               "fx_spray",
                               "fx_tchdrt",
                               "fx_sparks",
                               "fx_tchdwn",
                               "fx_contrail_l",
                               "fx_engstrt",
                               "fx_vaportrail_l",
                               "fx_vaportrail_r",
                               "fx_wingtipvortice_l",
                               "fx_wingtipvortice_r"};
        for (int i = 0; i < kEffectSlotCount; ++i) {
            const auto& s = table[static_cast<size_t>(i)];
            QCOMPARE(QLatin1StringView(s.key), QLatin1StringView(keys[i]));
            QCOMPARE(QLatin1StringView(s.defaultFile), QLatin1StringView(files[i]));
            QCOMPARE(s.defaultOnce, i == 4 || i == 6 || i == 9 || i == 10);
            QCOMPARE(effectSlotIndex(QString::fromLatin1(s.key).toUpper()), i);
        }
        QCOMPARE(effectSlotIndex(u"wingflex"), -1);
    }

    void parsingEffects_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("once");
        QTest::newRow("name, comma, blank, 1") << "fx_tchdwn, 1"
                                               << "fx_tchdwn" << true;
        QTest::newRow("name only") << "fx_wake"
                                   << "fx_wake" << false;
        QTest::newRow("blank before the comma stays") << "fx_name , 1"
                                                      << "fx_name " << true;
        QTest::newRow("empty") << ""
                               << "" << false;
        QTest::newRow("only once") << ",1"
                                   << "" << true;
        QTest::newRow("zero") << "fx_x,0"
                              << "fx_x" << false;
        QTest::newRow("blank inside ,1") << "fx_x, 1 // c"
                                         << "fx_x" << true;
        QTest::newRow("comment stays in the name") << "fx_x // c"
                                                   << "fx_x // c" << false;
        QTest::newRow("leading blank stays") << " fx_x"
                                             << " fx_x" << false;
    }
    void parsingEffects()
    {
        QFETCH(QString, value);
        QFETCH(QString, file);
        QFETCH(bool, once);
        const EffectValue e = parseEffect(value);
        QCOMPARE(e.file, file);
        QCOMPARE(e.once, once);
    }

    void writingEffects_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("once");
        QTest::addColumn<QString>("written");
        QTest::newRow("once") << "fx_name " << true << "fx_name ,1";
        QTest::newRow("not once") << "fx_wake" << false << "fx_wake";
        QTest::newRow("empty, once") << "" << true << ",1";
        QTest::newRow("empty") << "" << false << "";
    }
    void writingEffects()
    {
        QFETCH(QString, file);
        QFETCH(bool, once);
        QFETCH(QString, written);
        QCOMPARE(effectWriteText(file, once), written);
        const EffectValue back = parseEffect(written);
        QCOMPARE(back.file, file);
        QCOMPARE(back.once, once);
    }

    void rowsAndSections()
    {
        const QStringList names{"General", "fltsim.3", "effects", "FLTSIM.7", "exits", "Fltsim.1"};
        const auto sections = [](const QList<EntryRef>& refs) {
            QStringList out;
            for (const EntryRef& r : refs)
                out.append(r.section);
            return out;
        };
        const auto sectionAt = [](const QStringList& all, int row) -> std::optional<QString> {
            const std::optional<EntryRef> ref = entryAt(all, row);
            return ref ? std::optional<QString>(ref->section) : std::nullopt;
        };
        QCOMPARE(sections(entryRefs(names)), (QStringList{"fltsim.3", "FLTSIM.7", "Fltsim.1"}));
        QCOMPARE(sectionAt(names, 0), std::optional<QString>("fltsim.3"));
        QCOMPARE(sectionAt(names, 2), std::optional<QString>("Fltsim.1"));
        QCOMPARE(sectionAt(names, -1), std::nullopt);
        QCOMPARE(sectionAt(names, 3), std::nullopt);
        QCOMPARE(sectionAt({}, 0), std::nullopt);
        QCOMPARE(sections(entryRefs({"general", "effects"})), QStringList{});
        QCOMPARE(rowText("fltsim.3"), QStringLiteral("FLTSIM.3"));
        QCOMPARE(rowText("fltsim.0 // x"), QStringLiteral("FLTSIM.0"));
    }

    void backupPaths_data()
    {
        QTest::addColumn<QString>("cfg");
        QTest::addColumn<QString>("backup");
        QTest::newRow("aircraft.cfg") << "/sim/B738/aircraft.cfg"
                                      << "/sim/B738/aircraft.zib";
        QTest::newRow("capitals") << "/sim/B738/Aircraft.CFG"
                                  << "/sim/B738/Aircraft.zib";
        QTest::newRow("shorter than four") << "cfg"
                                           << ".zib";
        QTest::newRow("empty") << ""
                               << ".zib";
    }
    void backupPaths()
    {
        QFETCH(QString, cfg);
        QFETCH(QString, backup);
        QCOMPARE(backupPathFor(cfg), backup);
    }

    void backupMadeOnce()
    {
        QTemporaryDir tmp;
        const QString cfg = tmp.path() + "/aircraft.cfg";
        testutil::writeFile(cfg, "[fltsim.0]\r\ntitle=A\r\n");
        bool created = false;
        QVERIFY(makeBackupOnce(cfg, &created).ok);
        QVERIFY(created);
        QCOMPARE(testutil::readFile(tmp.path() + "/aircraft.zib"), QByteArray("[fltsim.0]\r\ntitle=A\r\n"));

        // The first backup stays, whatever the file holds later.
        testutil::writeFile(cfg, "[fltsim.0]\r\ntitle=B\r\n");
        QVERIFY(makeBackupOnce(cfg, &created).ok);
        QVERIFY(!created);
        QCOMPARE(testutil::readFile(tmp.path() + "/aircraft.zib"), QByteArray("[fltsim.0]\r\ntitle=A\r\n"));
    }

    void backupInOtherCaseCounts()
    {
        QTemporaryDir tmp;
        const QString cfg = tmp.path() + "/aircraft.cfg";
        testutil::writeFile(cfg, "new");
        testutil::writeFile(tmp.path() + "/AIRCRAFT.ZIB", "old");
        bool created = true;
        QVERIFY(makeBackupOnce(cfg, &created).ok);
        QVERIFY(!created);
        QCOMPARE(testutil::readFile(tmp.path() + "/AIRCRAFT.ZIB"), QByteArray("old"));
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void backupOfFileNamedInOtherCase()
    {
        QTemporaryDir tmp;
        testutil::writeFile(tmp.path() + "/Planes/aircraft.cfg", "data");
        QVERIFY(makeBackupOnce(tmp.path() + "/PLANES/AIRCRAFT.CFG").ok);
        QCOMPARE(testutil::readFile(tmp.path() + "/Planes/AIRCRAFT.zib"), QByteArray("data"));
    }

    void backupFailures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing file") << "missing";
        QTest::newRow("folder holds the name") << "folder";
        QTest::newRow("read-only folder") << "readonly";
        QTest::newRow("dangling link holds the name") << "dangling";
        QTest::newRow("link to a file holds the name") << "link";
    }
    void backupFailures()
    {
        QFETCH(QString, kind);
        QTemporaryDir tmp;
        const QString dir = tmp.path() + "/B738";
        const QString cfg = dir + "/aircraft.cfg";
        testutil::makeDir(dir);
        if (kind != "missing")
            testutil::writeFile(cfg, "data");
        if (kind == "folder")
            testutil::makeDir(dir + "/aircraft.zib");
        if (kind == "dangling")
            QVERIFY(QFile::link(dir + "/gone", dir + "/aircraft.zib"));
        if (kind == "link") {
            testutil::writeFile(tmp.path() + "/elsewhere", "other");
            QVERIFY(QFile::link(tmp.path() + "/elsewhere", dir + "/Aircraft.ZIB"));
        }
        if (kind == "readonly") {
            if (testutil::runningAsRoot())
                QSKIP("root writes into read-only folders");
            testutil::setMode(dir, 0555);
        }
        bool created = true;
        const auto r = makeBackupOnce(cfg, &created);
        testutil::setMode(dir, 0755);
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
        QVERIFY(!created);
        if (kind == "folder")
            QVERIFY(QFileInfo(dir + "/aircraft.zib").isDir());
        else if (kind == "dangling" || kind == "link")
            QVERIFY(QFileInfo(dir + (kind == "link" ? "/Aircraft.ZIB" : "/aircraft.zib")).isSymLink());
        else
            QVERIFY(!QFileInfo::exists(dir + "/aircraft.zib"));
        if (kind == "folder" || kind == "dangling" || kind == "link")
            QVERIFY2(r.error.contains(u"aircraft.zib", Qt::CaseInsensitive), qPrintable(r.error));
        if (kind == "link")
            QCOMPARE(testutil::readFile(tmp.path() + "/elsewhere"), QByteArray("other"));
    }
};

QTEST_GUILESS_MAIN(TestAircraftCfg)
#include "tst_aircraftcfg.moc"
