#include "shared/modSettings.h"

#include "TestUtil.h"

#include <QFile>
#include <QScopeGuard>
#include <QSettings>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace modSettings;

namespace {

QString flags(const QString& flag, int count)
{
    QStringList l;
    for (int i = 0; i < count; ++i)
        l.append(flag);
    return l.join(u'\u00A6');
}

} // namespace

class TestModSettings : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_config;

    static void clearStore()
    {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, kOrganisation, kApplication);
        s.clear();
        s.sync();
    }

private slots:
    void initTestCase()
    {
        // Must happen before the first QSettings of the process fixes the location.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        QCOMPARE(SettingsFilePath(), m_config.path() + "/\u00a9 Brackenhold Tools/Fernquill.ini");
    }
    void init() { clearStore(); }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("path with comma") << "C:\\Flight Sim, 2004\\Aircraft";
        QTest::newRow("linux path with comma") << "/home/me/fs9, old/Aircraft/B737";
        QTest::newRow("flag list") << flags("1", 23);
        QTest::newRow("copyright sign") << "\u00a9 Brackenhold";
        QTest::newRow("blanks at both ends") << "  padded  ";
        QTest::newRow("empty") << "";
        QTest::newRow("quotes") << "say \"hi\"";
        QTest::newRow("backslashes") << "\\\\server\\share\\";
        QTest::newRow("at sign start") << "@Variant(x)";
        QTest::newRow("semicolon equals hash") << "a;b=c#d";
        QTest::newRow("brackets") << "[Fernquill]";
        QTest::newRow("line breaks and tab") << "a\r\nb\tc";
        QTest::newRow("comma only") << ",";
        QTest::newRow("non-BMP") << QString::fromUtf8("\xf0\x9f\x9b\xab");
        QTest::newRow("minus one") << "-1";
    }
    void roundTrip()
    {
        QFETCH(QString, value);
        QVERIFY(SaveSetting("Path", value));
        QVERIFY(HasSetting("Path"));
        QCOMPARE(GetSetting("Path", "default"), value);
        // A fresh object reads the file, not a cache of this one.
        QSettings fresh(SettingsFilePath(), QSettings::IniFormat);
        QCOMPARE(fresh.value("Fernquill/Path").toString(), value);
    }

    void absentAndEmpty()
    {
        QVERIFY(!HasSetting("Path"));
        QCOMPARE(GetSetting("Path", "fallback"), "fallback");
        QVERIFY(SaveSetting("Path", ""));
        QCOMPARE(GetSetting("Path", "fallback"), ""); // present but empty is not absent
    }

    void handEditedList()
    {
        testutil::writeFile(SettingsFilePath(), "[Fernquill]\nPath=/data/a,b\n");
        QCOMPARE(GetSetting("Path", ""), "/data/a,b");
    }

    // Every folder load saves its folder: the same value leaves the file
    // alone, and what another program wrote meanwhile is not taken for it.
    void sameValueLeavesTheFileAlone()
    {
        // Qt writes the file anew and renames it over the old one.
        const auto inode = [] {
            struct stat st{};
            return ::stat(QFile::encodeName(SettingsFilePath()).constData(), &st) == 0 ? st.st_ino : ino_t(0);
        };
        QVERIFY(SaveSetting("Path", "/packs/a"));
        const auto written = inode();
        QVERIFY(SaveSetting("Path", "/packs/a"));
        QCOMPARE(inode(), written);
        testutil::writeFile(SettingsFilePath(), "[Fernquill]\nPath=/packs/other\n");
        QVERIFY(SaveSetting("Path", "/packs/a"));
        QCOMPARE(QSettings(SettingsFilePath(), QSettings::IniFormat).value("Fernquill/Path").toString(), "/packs/a");
        // A hand-edited list is rewritten as the text it stands for.
        testutil::writeFile(SettingsFilePath(), "[Fernquill]\nPath=/data/a,b\n");
        QVERIFY(SaveSetting("Path", "/data/a,b"));
        QVERIFY(testutil::readFile(SettingsFilePath()).contains("Path=\"/data/a,b\""));
        // A file made read-only since is written to, and the failure told.
        QVERIFY(QFile::setPermissions(SettingsFilePath(), QFileDevice::ReadOwner | QFileDevice::ReadUser));
        const auto writable = qScopeGuard([] {
            QFile::setPermissions(SettingsFilePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        });
        QCOMPARE(SaveSetting("Path", "/data/a,b"), ::geteuid() == 0);
    }

    void keyTable_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("defaultValue");
        QTest::newRow("AnalyzeOptions") << "AnalyzeOptions" << int(Kind::FlagList) << flags("1", 22);
        QTest::newRow("AutoBackup") << "AutoBackup" << int(Kind::Switch) << "1";
        QTest::newRow("AutoUpdate") << "AutoUpdate" << int(Kind::Switch) << "1";
        QTest::newRow("DataGrid") << "DataGrid" << int(Kind::FlagList) << flags("0", 15);
        QTest::newRow("Editor") << "Editor" << int(Kind::Switch) << "1";
        QTest::newRow("IsMerrow") << "IsMerrow" << int(Kind::Switch) << "1";
        QTest::newRow("LastCheck") << "LastCheck" << int(Kind::Text) << "0";
        QTest::newRow("Path") << "Path" << int(Kind::Text) << "";
        QTest::newRow("Resizeable") << "Resizeable" << int(Kind::Switch) << "0";
        QTest::newRow("ToolTips") << "ToolTips" << int(Kind::Switch) << "1";
        QTest::newRow("Update") << "Update" << int(Kind::Switch) << "1";
    }
    void keyTable()
    {
        QFETCH(QString, key);
        QFETCH(int, kind);
        QFETCH(QString, defaultValue);
        QCOMPARE(Keys().size(), 11);
        const auto it =
            std::find_if(Keys().cbegin(), Keys().cend(), [&](const KeyInfo& k) { return k.key == key; });
        QVERIFY(it != Keys().cend());
        QCOMPARE(int(it->kind), kind);
        QCOMPARE(it->defaultValue, defaultValue);
        QCOMPARE(DefaultFor(key), defaultValue);
        QCOMPARE(GetSetting(key, DefaultFor(key)), defaultValue);
    }

    void switchValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // 0 off, 1 on, -1 cannot be converted
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("-1") << "-1" << 1;
        QTest::newRow("2") << "2" << 1;
        QTest::newRow("fraction") << "0.5" << 1;
        QTest::newRow("zero fraction") << "0.0" << 0;
        QTest::newRow("blanks") << " 1 " << 1;
        QTest::newRow("exponent") << "1e3" << 1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("word") << "yes" << -1;
        QTest::newRow("True") << "True" << -1;
        QTest::newRow("number then text") << "1x" << -1;
        QTest::newRow("nan") << "nan" << -1;
        QTest::newRow("inf") << "inf" << -1;
    }
    void switchValue()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const std::optional<bool> v = SwitchValue(text);
        QCOMPARE(v.has_value(), expected >= 0);
        if (v)
            QCOMPARE(int(*v), expected);
    }

    void switchesReadAndToggle()
    {
        QCOMPARE(GetSwitch("Resizeable"), std::optional<bool>(false)); // defaults
        QCOMPARE(GetSwitch("ToolTips"), std::optional<bool>(true));
        QVERIFY(SaveSetting("Update", "0"));
        QCOMPARE(GetSwitch("Update"), std::optional<bool>(false));
        QVERIFY(SaveSwitch("Update", !*GetSwitch("Update")));
        QCOMPARE(GetSetting("Update", ""), "1");
        QVERIFY(SaveSetting("Editor", "on"));
        QVERIFY(!GetSwitch("Editor").has_value()); // start-up reports this
    }

    void padding_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("padded");
        QTest::addColumn<bool>("changed");
        QTest::newRow("default 22") << flags("1", 22) << flags("1", 23) << true;
        QTest::newRow("22 ending in 0") << flags("1", 21) + "\u00a6"
                                                            "0"
                                        << flags("1", 21) + "\u00a6"
                                                            "0\u00a6"
                                                            "1"
                                        << true;
        QTest::newRow("one flag") << "0"
                                  << "0\u00a6" + flags("1", 22) << true;
        QTest::newRow("23") << flags("0", 23) << flags("0", 23) << false;
        QTest::newRow("24") << flags("0", 24) << flags("0", 24) << false;
        QTest::newRow("empty counts as absent") << "" << flags("1", 23) << true;
    }
    void padding()
    {
        QFETCH(QString, stored);
        QFETCH(QString, padded);
        QFETCH(bool, changed);
        const PaddedFlags p = PadAnalyzeOptions(stored);
        QCOMPARE(p.value, padded);
        QCOMPARE(p.changed, changed);
        QCOMPARE(SplitFlags(p.value).size(), std::max<qsizetype>(23, SplitFlags(stored).size()));
    }

    void firstStartStoresOnlyAnalyzeOptions()
    {
        QCOMPARE(LoadAnalyzeOptions(), flags("1", 23));
        QSettings s(SettingsFilePath(), QSettings::IniFormat);
        QCOMPARE(s.allKeys(), QStringList({"Fernquill/AnalyzeOptions"}));
        QCOMPARE(s.value("Fernquill/AnalyzeOptions").toString(), flags("1", 23));
    }

    void storedOptionsPaddedOrLeft_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("after");
        QTest::newRow("22 flags gain a 23rd") << flags("0", 22)
                                              << flags("0", 22) + "\u00a6"
                                                                  "1";
        QTest::newRow("24 flags untouched") << flags("0", 24) << flags("0", 24);
    }
    void storedOptionsPaddedOrLeft()
    {
        QFETCH(QString, stored);
        QFETCH(QString, after);
        QVERIFY(SaveSetting("AnalyzeOptions", stored));
        const QByteArray before = testutil::readFile(SettingsFilePath());
        QCOMPARE(LoadAnalyzeOptions(), after);
        QCOMPARE(GetSetting("AnalyzeOptions", ""), after);
        if (stored == after)
            QCOMPARE(testutil::readFile(SettingsFilePath()), before);
    }

    void flagLists_data()
    {
        QTest::addColumn<QList<bool>>("states");
        QTest::addColumn<bool>("listRows");
        QTest::addColumn<QString>("expected");
        QTest::newRow("check boxes") << QList<bool>{true, false, true} << false
                                     << "1\u00a6"
                                        "0\u00a6"
                                        "1";
        QTest::newRow("list rows") << QList<bool>{false, true, false} << true
                                   << "0\u00a6-1\u00a6"
                                      "0";
        QTest::newRow("one") << QList<bool>{true} << false << "1";
        QTest::newRow("none") << QList<bool>{} << false << "";
    }
    void flagLists()
    {
        QFETCH(QList<bool>, states);
        QFETCH(bool, listRows);
        QFETCH(QString, expected);
        QCOMPARE(BuildFlagList(states, listRows), expected);
    }
};

QTEST_GUILESS_MAIN(TestModSettings)
#include "tst_modsettings.moc"
