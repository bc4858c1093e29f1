// Deleting, renumbering, sorting and removing keys on whole aircraft.cfg
// files: every case compares the file byte for byte afterwards.
#include "editing/SectionOps.h"
#include "shared/clsIniFile.h"

#include "TestUtil.h"

#include <QFileInfo>
#include <QTest>

using namespace SectionOps;

namespace {

struct Cfg
{
    QTemporaryDir tmp;
    QString path = tmp.path() + QStringLiteral("/aircraft.cfg");
    explicit Cfg(const QByteArray& bytes) { testutil::writeFile(path, bytes); }
    QByteArray bytes() const { return testutil::readFile(path); }
};

// Applies a plan and fails the test when it does not land.
void land(const Rewrite& plan)
{
    QVERIFY2(plan.ok, qPrintable(plan.error));
    const auto r = apply(plan);
    QVERIFY2(r.ok, qPrintable(r.error));
}

QByteArray utf16(const QString& s)
{
    QByteArray b("\xFF\xFE", 2);
    for (QChar c : s) {
        b += static_cast<char>(c.unicode() & 0xFF);
        b += static_cast<char>(c.unicode() >> 8);
    }
    return b;
}

// Sorting the way the profile calls do it, one key at a time, to hold the
// one-pass rewrite against.
void sortThroughProfileCalls(const QString& path)
{
    clsIniFile ini;
    ini.setPath(path);
    QStringList sections;
    qint32 count = 0;
    ini.EnumerateAllSections(sections, count);
    for (const QString& s : sections) {
        if (!s.toLower().startsWith(u"fltsim."))
            continue;
        ini.setSection(s);
        QStringList keys;
        ini.EnumerateCurrentSection(keys, count);
        QList<QStringList> table;
        for (const QString& k : keys) {
            ini.setKey(k);
            table.append({k.toLower(), ini.Value()});
        }
        SortArray(table, 0);
        for (const QString& k : keys) {
            ini.setKey(k);
            ini.DeleteKey();
        }
        for (const KeyWrite& w : sortedKeyWrites(table)) {
            ini.setKey(w.key);
            ini.setValue(w.value);
        }
    }
}

} // namespace

class TestSectionOps : public QObject
{
    Q_OBJECT
private slots:
    void renumber_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("gaps close, comments and indentation stay")
            << QByteArray("// pack\r\n[General]\r\n  atc_type=X // maker\r\n[fltsim.0]\r\ntitle=A // a\r\n"
                          "[fltsim.2]\r\ntitle=B\r\n[fltsim.5]\r\n\ttitle=C\r\n")
            << QByteArray("// pack\r\n[General]\r\n  atc_type=X // maker\r\n[fltsim.0]\r\ntitle=A // a\r\n"
                          "[fltsim.1]\r\ntitle=B\r\n[fltsim.2]\r\n\ttitle=C\r\n");
        QTest::newRow("header with blanks, capitals and comment")
            << QByteArray("[fltsim.0]\r\n   [FLTSIM.7] // spare\r\ntitle=B\r\n")
            << QByteArray("[fltsim.0]\r\n[fltsim.1]\r\ntitle=B\r\n");
        QTest::newRow("tab before, text after the bracket")
            << QByteArray("\t[Fltsim.4]junk\n[fltsim.9\n") << QByteArray("[fltsim.0]\n[fltsim.1]\n");
        QTest::newRow("own line ends, last line without one")
            << QByteArray("[fltsim.3]\rtitle=A\n[fltsim.8]") << QByteArray("[fltsim.0]\rtitle=A\n[fltsim.1]");
        QTest::newRow("headers that are no entries stay")
            << QByteArray("//[fltsim.9]\r\n;[fltsim.9]\r\n[fltsim]\r\n[fltsimx.2]\r\n[fltsim.6]\r\n")
            << QByteArray("//[fltsim.9]\r\n;[fltsim.9]\r\n[fltsim]\r\n[fltsimx.2]\r\n[fltsim.0]\r\n");
        QTest::newRow("Windows-1252 bytes stay")
            << QByteArray("[fltsim.1]\r\ntitle=Caf\xe9 \x80\x81\x8d\xff\r\n")
            << QByteArray("[fltsim.0]\r\ntitle=Caf\xe9 \x80\x81\x8d\xff\r\n");
        QTest::newRow("already in order")
            << QByteArray("[fltsim.0]\r\n[fltsim.1]\r\n") << QByteArray("[fltsim.0]\r\n[fltsim.1]\r\n");
        QTest::newRow("UTF-16LE file")
            << utf16(u"[fltsim.2]\r\ntitle=\u20ac\r\n"_qs) << utf16(u"[fltsim.0]\r\ntitle=\u20ac\r\n"_qs);
    }
    void renumber()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        Cfg cfg(before);
        const Rewrite plan = planRenumber(cfg.path);
        QCOMPARE(plan.changed, before != after); // a file in order is not rewritten
        land(plan);
        QCOMPARE(cfg.bytes(), after);
    }

    void deleteEntries_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QByteArray>("after");
        const QByteArray five = "[fltsim.0]\r\ntitle=A\r\n[fltsim.1]\r\ntitle=B\r\n[fltsim.2]\r\ntitle=C\r\n"
                                "[fltsim.3]\r\ntitle=D\r\n[fltsim.4]\r\ntitle=E\r\n";
        QTest::newRow("rows 1 and 3 of five")
            << five << QList<int>{1, 3}
            << QByteArray("[fltsim.0]\r\ntitle=A\r\n[fltsim.1]\r\ntitle=C\r\n[fltsim.2]\r\ntitle=E\r\n");
        QTest::newRow("General before the entries")
            << QByteArray("[General]\r\natc_type=X\r\n[fltsim.0]\r\ntitle=A\r\n[fltsim.1]\r\ntitle=B\r\n")
            << QList<int>{0} << QByteArray("[General]\r\natc_type=X\r\n[fltsim.0]\r\ntitle=B\r\n");
        QTest::newRow("comments of a deleted entry stay")
            << QByteArray("[fltsim.0]\r\n; old\r\ntitle=A\r\n\r\n[fltsim.1]\r\ntitle=B") << QList<int>{0}
            << QByteArray("; old\r\n\r\n[fltsim.0]\r\ntitle=B");
        QTest::newRow("the second of two same names")
            << QByteArray("[fltsim.1]\r\ntitle=A\r\n[fltsim.1]\r\ntitle=B\r\n[fltsim.2]\r\ntitle=C\r\n")
            << QList<int>{1} << QByteArray("[fltsim.0]\r\ntitle=A\r\n[fltsim.1]\r\ntitle=C\r\n");
    }
    void deleteEntries()
    {
        QFETCH(QByteArray, before);
        QFETCH(QList<int>, rows);
        QFETCH(QByteArray, after);
        Cfg cfg(before);
        const QList<AircraftCfg::EntryRef> present = entries(platform::profile::readLines(cfg.path).lines);
        QList<EntryRef> drop;
        for (int row : rows)
            drop.append({row, present[row].section.toUpper()});
        land(planRenumber(cfg.path, drop));
        QCOMPARE(cfg.bytes(), after);
    }

    void refusedRewrites_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::newRow("grid no longer matches the file") << "stale";
        QTest::newRow("row beyond the file's entries") << "beyond";
        QTest::newRow("file vanished") << "vanished";
        QTest::newRow("file read-only") << "read-only";
    }
    void refusedRewrites()
    {
        QFETCH(QString, situation);
        const QByteArray bytes = "[fltsim.3]\r\nTitle=A // x\r\nmodel=\r\n[fltsim.7]\r\ntitle=B\r\n";
        Cfg cfg(bytes);
        QList<EntryRef> drop{{1, QStringLiteral("FLTSIM.7")}};
        if (situation == u"stale")
            drop = {{1, QStringLiteral("FLTSIM.8")}};
        else if (situation == u"beyond")
            drop = {{2, QStringLiteral("FLTSIM.7")}};
        else if (situation == u"vanished")
            QVERIFY(QFile::remove(cfg.path));
        else
            testutil::setMode(cfg.path, 0444);

        const Rewrite renumbered = planRenumber(cfg.path, drop);
        QVERIFY(!renumbered.ok || !apply(renumbered).ok);
        if (situation != u"stale" && situation != u"beyond") {
            QVERIFY(!apply(planSortKeys(cfg.path)).ok);
            QVERIFY(!apply(planRemoveKeys(cfg.path, {QStringLiteral("title")})).ok);
        }
        if (situation == u"vanished")
            QVERIFY(!QFileInfo::exists(cfg.path));
        else
            QCOMPARE(cfg.bytes(), bytes);
    }

    void sortArray_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("empty") << QStringList{} << QStringList{};
        QTest::newRow("one") << QStringList{"x"} << QStringList{"x"};
        QTest::newRow("entry keys") << QStringList{"ui_type", "description",       "atc_parking_types",
                                                   "atc_id",  "atc_parking_codes", "atc_heavy"}
                                    << QStringList{"atc_heavy",         "atc_id",      "atc_parking_codes",
                                                   "atc_parking_types", "description", "ui_type"};
        QTest::newRow("character codes: digit, underscore, letter")
            << QStringList{"ab", "a_", "a1", "", "Zz", "a"} << QStringList{"", "Zz", "a", "a1", "a_", "ab"};
        QTest::newRow("equal keys") << QStringList{"b", "a", "b", "a", "c"}
                                    << QStringList{"a", "a", "b", "b", "c"};
    }
    void sortArray()
    {
        QFETCH(QStringList, keys);
        QFETCH(QStringList, sorted);
        QList<QStringList> table;
        for (const QString& k : keys)
            table.append({QStringLiteral("v"), k}); // rows move whole, on the column asked for
        SortArray(table, 1);
        QStringList got;
        for (const QStringList& row : table) {
            QCOMPARE(row.value(0), QStringLiteral("v"));
            got.append(row.value(1));
        }
        QCOMPARE(got, sorted);
    }

    void sortKeys_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("fixed keys first, empty files as a blank")
            << QByteArray("[fltsim.0]\r\nTitle=My Plane\r\nTexture=\r\nModel=\r\nATC_ID=N123\r\nsim=b737\r\n")
            << QByteArray(
                   "[fltsim.0]\r\ntitle=My Plane\r\nmodel= \r\nsim=b737\r\ntexture= \r\natc_id=N123\r\n");
        QTest::newRow("a key twice comes out once, first value")
            << QByteArray("[fltsim.0]\r\nui_type=A\r\nTitle=T\r\nUI_TYPE=B\r\ntitle=U\r\n")
            << QByteArray("[fltsim.0]\r\ntitle=T\r\nui_type=A\r\n");
        QTest::newRow("no texture, $$$ and empty names dropped")
            << QByteArray("[fltsim.0]\r\n$$$=x\r\n=y\r\nsim=S\r\n") << QByteArray("[fltsim.0]\r\nsim=S\r\n");
        QTest::newRow("quoted values keep their text, comment kept")
            << QByteArray("[fltsim.0]\r\nui_type = \"737\" \r\natc_id=N1 // old\r\n")
            << QByteArray("[fltsim.0]\r\natc_id=N1 // old\r\nui_type=\"737\"\r\n");
        QTest::newRow("quoted values: the pair a read removes stays, in every entry")
            << QByteArray("[fltsim.0]\r\natc_id_color = \"\" ; tail colour \"#ffff00ff\"\r\ntexture=''\r\n"
                          "[fltsim.1]\r\natc_id_color = \"\" ; tail colour \"#ffff00ff\"\r\nb='x\"\r\n")
            << QByteArray("[fltsim.0]\r\ntexture=''\r\natc_id_color=\"\" ; tail colour \"#ffff00ff\"\r\n"
                          "[fltsim.1]\r\natc_id_color=\"\" ; tail colour \"#ffff00ff\"\r\nb='x\"\r\n");
        QTest::newRow("other lines follow the keys; other sections stay")
            << QByteArray(
                   "[General]\r\nZ=1\r\nA=2\r\n[fltsim.0]\r\n; c\r\nb=1\r\n\r\nA=2\r\n[effects]\r\nz=1\r\n")
            << QByteArray(
                   "[General]\r\nZ=1\r\nA=2\r\n[fltsim.0]\r\na=2\r\nb=1\r\n; c\r\n\r\n[effects]\r\nz=1\r\n");
        QTest::newRow("entry without keys stays") << QByteArray("[fltsim.0]\r\n; nothing\r\n[fltsim.1]")
                                                  << QByteArray("[fltsim.0]\r\n; nothing\r\n[fltsim.1]");
        QTest::newRow("LF file, last key without line end")
            << QByteArray("[fltsim.0]\nb=1\na=2") << QByteArray("[fltsim.0]\na=2\nb=1\n");
        // Not as the profile calls would do it: those reach only the first of
        // two same-named sections, and cut values at 4095 characters.
        QTest::newRow("both of two same-named entries")
            << QByteArray("[fltsim.1]\r\nb=1\r\na=2\r\n[fltsim.1]\r\nd=1\r\nc=2\r\n")
            << QByteArray("[fltsim.1]\r\na=2\r\nb=1\r\n[fltsim.1]\r\nc=2\r\nd=1\r\n");
        const QByteArray longText(5000, 'd');
        QTest::newRow("a long description stays whole")
            << QByteArray("[fltsim.0]\r\ndescription=" + longText + "\r\natc_id=1\r\n")
            << QByteArray("[fltsim.0]\r\natc_id=1\r\ndescription=" + longText + "\r\n");
    }
    void sortKeys()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        Cfg cfg(before);
        land(planSortKeys(cfg.path));
        QCOMPARE(cfg.bytes(), after);

        // Where the key-by-key profile calls can do it, they give the same file.
        // Nor do they keep the quotes a read removes.
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        if (tag.startsWith(u"both") || tag.startsWith(u"a long") || tag.startsWith(u"quoted"))
            return;
        Cfg reference(before);
        sortThroughProfileCalls(reference.path);
        QCOMPARE(reference.bytes(), after);
    }

    void removeKeys_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("after");
        QByteArray ten, tenAfter;
        for (int i = 0; i < 10; ++i) {
            const QByteArray head = "[fltsim." + QByteArray::number(i) + "]\r\ntitle=T\r\n";
            ten += head + "ui_variation=V\r\n" + (i % 4 == 0 ? "description=D\r\n" : "");
            tenAfter += head;
        }
        QTest::newRow("10 entries, description in 3")
            << ten << QStringList{"description", "ui_variation"} << 20 << tenAfter;
        QTest::newRow("any spelling; other sections keep theirs")
            << QByteArray("[General]\r\ntexture=G\r\n[fltsim.0]\r\nTexture=A\r\n[fltsim.1]\r\nTEXTURE =B\r\n"
                          "[effects]\r\ntexture=E\r\n")
            << QStringList{"texture"} << 2
            << QByteArray("[General]\r\ntexture=G\r\n[fltsim.0]\r\n[fltsim.1]\r\n[effects]\r\ntexture=E\r\n");
        QTest::newRow("first of two lines") << QByteArray("[fltsim.0]\r\na=1\r\nA=2\r\n") << QStringList{"a"}
                                            << 1 << QByteArray("[fltsim.0]\r\nA=2\r\n");
        QTest::newRow("nothing marked")
            << QByteArray("[fltsim.0]\r\na=1") << QStringList{} << 0 << QByteArray("[fltsim.0]\r\na=1");
        QTest::newRow("no entries") << QByteArray("[General]\r\na=1\r\n") << QStringList{"a"} << 0
                                    << QByteArray("[General]\r\na=1\r\n");
    }
    void removeKeys()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, keys);
        QFETCH(int, count);
        QFETCH(QByteArray, after);
        Cfg cfg(before);
        const Rewrite plan = planRemoveKeys(cfg.path, keys);
        land(plan);
        QCOMPARE(plan.deletions, count);
        QCOMPARE(cfg.bytes(), after);
    }

    void rewriteJoinsAnOpenBatch_data()
    {
        QTest::addColumn<bool>("commit");
        QTest::newRow("committed") << true;
        QTest::newRow("abandoned") << false;
    }
    void rewriteJoinsAnOpenBatch()
    {
        QFETCH(bool, commit);
        const QByteArray before = "[fltsim.4]\r\nb=1\r\n";
        Cfg cfg(before);
        {
            platform::profile::Batch batch(cfg.path);
            clsIniFile ini;
            ini.setPath(cfg.path);
            ini.setSection(QStringLiteral("fltsim.4"));
            ini.setKey(QStringLiteral("a"));
            ini.setValue(QStringLiteral("2"));
            land(planSortKeys(cfg.path)); // sees the pending key
            land(planRenumber(cfg.path));
            QCOMPARE(cfg.bytes(), before);
            if (commit)
                QVERIFY(batch.commit().ok);
        }
        QCOMPARE(cfg.bytes(), commit ? QByteArray("[fltsim.0]\r\na=2\r\nb=1\r\n") : before);
    }
};

QTEST_GUILESS_MAIN(TestSectionOps)
#include "tst_sectionops.moc"
