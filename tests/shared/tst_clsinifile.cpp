#include "shared/clsIniFile.h"

#include "platform/ProfileEngine.h"

#include "TestUtil.h"

#include <QTest>

class TestClsIniFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    int m_n = 0;

    clsIniFile open(const QByteArray& content)
    {
        clsIniFile ini;
        ini.setPath(m_tmp.path() + QStringLiteral("/f%1/aircraft.cfg").arg(++m_n));
        testutil::writeFile(ini.path(), content);
        return ini;
    }

private slots:
    void enumerateCurrentSection_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("no keys") << QByteArray("[s]\r\n[t]\r\nk=1\r\n") << "s" << QStringList();
        QTest::newRow("missing section") << QByteArray("[s]\r\nk=1\r\n") << "x" << QStringList();
        QTest::newRow("empty key name") << QByteArray("[s]\r\na=1\r\n=2\r\nb=3\r\n") << "s"
                                        << QStringList{"a", "", "b"};
        QTest::newRow("capitals find small letters") << QByteArray("[fltsim.0]\r\nTitle=x\r\nMODEL=\r\n")
                                                     << "FLTSIM.0" << QStringList{"Title", "MODEL"};
    }
    void enumerateCurrentSection()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QStringList, names);
        clsIniFile ini = open(content);
        ini.setSection(section);
        QStringList got{"stale"};
        qint32 count = -1;
        ini.EnumerateCurrentSection(got, count);
        QCOMPARE(got, names);
        QCOMPARE(count, qint32(names.size()));
    }

    void enumerateAllSectionsSkipsEmptyNames()
    {
        clsIniFile ini = open("[]\r\n[General]\r\n[fltsim.0]\r\n[]\r\n[fltsim.0]\r\n");
        QStringList got;
        qint32 count = 0;
        ini.EnumerateAllSections(got, count);
        QCOMPARE(got, (QStringList{"General", "fltsim.0", "fltsim.0"}));
        QCOMPARE(count, 3);
    }

    void longListsAreCutOnlyInTheRawText()
    {
        QByteArray content;
        for (int i = 0; i < 1000; ++i)
            content += "[section_" + QByteArray::number(i).rightJustified(4, '0') + "]\r\n";
        clsIniFile ini = open(content);
        // The raw list is cut like the 8192-character buffer: 8190 characters,
        // 630 whole names of 12 characters and a NUL.
        const QString raw = ini.Sections();
        QCOMPARE(raw.size(), 8190);
        QCOMPARE(raw.count(QChar(0)), 630);
        // The enumeration has every section, so no entry of a large pack is lost.
        QStringList got;
        qint32 count = 0;
        ini.EnumerateAllSections(got, count);
        QCOMPARE(count, 1000);
        QCOMPARE(got.last(), QStringLiteral("section_0999"));
    }

    void writesKeepPlace()
    {
        clsIniFile ini = open("[fltsim.0]\r\ntitle=A\r\nmodel=\r\n\r\n[general]\r\natc_type=X\r\n");
        ini.setSection("FLTSIM.0");
        ini.setKey("atc_id");
        ini.setValue("N123");
        ini.setKey("title");
        ini.setValue("B");
        QVERIFY(ini.lastWriteOk());
        QCOMPARE(testutil::readFile(ini.path()),
                 QByteArray("[fltsim.0]\r\ntitle=B\r\nmodel=\r\natc_id=N123\r\n\r\n[general]\r\natc_type=X\r\n"));
    }

    void nullDeletesEmptyWrites()
    {
        clsIniFile ini = open("[s]\r\na=1\r\nb=2\r\n");
        ini.setSection("s");
        ini.setKey("a");
        ini.setValue(QString(""));
        QVERIFY(!QString("").isNull());
        ini.setKey("b");
        ini.setValue(QString());
        QCOMPARE(testutil::readFile(ini.path()), QByteArray("[s]\r\na=\r\n"));
    }

    void valueCutAt4095()
    {
        clsIniFile ini = open("[s]\r\nk=" + QByteArray(5000, 'v') + "\r\n");
        ini.setSection("s");
        ini.setKey("k");
        QCOMPARE(ini.Value(), QString(4095, u'v'));
    }

    void nulsAndLineBreaksAreNotWritten()
    {
        clsIniFile ini = open("[s]\r\n");
        ini.setSection("s");
        ini.setKey("k");
        ini.setValue(QString("a") + QChar(0) + "b" + QChar(0));
        ini.setKey("m");
        ini.setValue("x\r\n[evil]\ny");
        QCOMPARE(testutil::readFile(ini.path()), QByteArray("[s]\r\nk=ab\r\nm=x  [evil] y\r\n"));
    }

    void deleteSectionThenReads()
    {
        clsIniFile ini = open("[a]\r\nk=1\r\n[b]\r\nk=2\r\n");
        ini.setSection("A");
        ini.DeleteSection();
        QCOMPARE(ini.Sections(), QString("b") + QChar(0));
        ini.setKey("k");
        QCOMPARE(ini.Value(), QString());
        ini.setSection("b");
        QCOMPARE(ini.Value(), QStringLiteral("2"));
    }

    void deleteKeyAndINISectionSetter()
    {
        clsIniFile ini = open("[a]\r\nk=1\r\nj=2\r\n[b]\r\nk=2\r\n");
        ini.setSection("a");
        ini.setKey("K");
        ini.DeleteKey();
        QCOMPARE(ini.INISection(), QString("j") + QChar(0));
        ini.setINISection("ignored");
        QCOMPARE(testutil::readFile(ini.path()), QByteArray("[b]\r\nk=2\r\n"));
    }

    void missingFileReadsEmpty()
    {
        clsIniFile ini;
        ini.setPath(m_tmp.path() + "/nowhere/aircraft.cfg");
        ini.setSection("s");
        ini.setKey("k");
        QCOMPARE(ini.Value(), QString());
        QStringList names{"x"};
        qint32 count = 5;
        ini.EnumerateAllSections(names, count);
        QVERIFY(names.isEmpty());
        QCOMPARE(count, 0);
        ini.setValue("v");
        QVERIFY(!ini.lastWriteOk());
        QVERIFY(!ini.lastError().isEmpty());
    }

    void refusedWriteIsReported()
    {
        clsIniFile ini = open("[s]\r\nk=1\r\n");
        testutil::setMode(ini.path(), 0444);
        ini.setSection("s");
        ini.setKey("k");
        ini.setValue("2");
        QVERIFY(!ini.lastWriteOk());
        QCOMPARE(ini.Value(), QStringLiteral("1"));
        testutil::setMode(ini.path(), 0644);
        ini.setValue("3");
        QVERIFY(ini.lastWriteOk());
        QCOMPARE(ini.Value(), QStringLiteral("3"));
    }

    void unsetCursorNamesAreNames()
    {
        // Before Section/Key are set the cursor still names a value, never a list.
        clsIniFile ini = open("[s]\r\nk=1\r\n");
        QCOMPARE(ini.Value(), QString());
    }
};

QTEST_GUILESS_MAIN(TestClsIniFile)
#include "tst_clsinifile.moc"
