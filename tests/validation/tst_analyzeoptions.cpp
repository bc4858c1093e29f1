// The report options window: how the stored options become check boxes and
// how Save, Cancel and the close box treat them.
#include "shared/Globals.h"
#include "shared/MessageBox.h"
#include "shared/modSettings.h"
#include "validation/AnalyzeOptions.h"
#include "validation/frm_AnalyzeOptions.h"

#include "BoxRecorder.h"
#include "MainWindowFixture.h"
#include "TestUtil.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

namespace {

const QChar kBar(0xA6);

QString flags(const char* zerosAndOnes)
{
    QStringList f;
    for (const char* c = zerosAndOnes; *c; ++c)
        f.append(QString(QChar::fromLatin1(*c)));
    return f.join(kBar);
}

const QString kAllOn = QStringList(23, "1").join(kBar);

// "1"/"0" per box, "-" for a disabled box.
QString boxesText(const frm_AnalyzeOptions& w)
{
    QString s;
    for (const QCheckBox* b : w.Check1)
        s += !b->isEnabled() ? (b->isChecked() ? "+" : "-") : (b->isChecked() ? "1" : "0");
    return s;
}

} // namespace

class TestAnalyzeOptions : public QObject
{
    Q_OBJECT

    frm_AnalyzeOptions* open(const QMap<QString, QString>& settings, bool airlines)
    {
        testutil::resetSettings(settings);
        globals::gbAirlinesFS9Found = airlines;
        globals::gbAirlinesFSXFound = false;
        globals::gsAnalyzeFlags = QStringList(23, "1");
        globals::gsAnalyzeOptions = kAllOn;
        return frm_AnalyzeOptions::showWindow();
    }

private slots:
    void cleanup()
    {
        delete frm_AnalyzeOptions::existing();
    }

    void loadsTheBoxes_data()
    {
        QTest::addColumn<QString>("stored"); // "<absent>" for a missing key
        QTest::addColumn<bool>("airlines");
        QTest::addColumn<QString>("boxes");      // per box: 1/0 enabled, - disabled and unticked
        QTest::addColumn<QString>("flagsAfter"); // gsAnalyzeFlags afterwards, 23 characters
        QTest::addColumn<QString>("saved");      // the setting afterwards
        QTest::newRow("all on") << kAllOn << true << "11111111111111111111111"
                                << "11111111111111111111111" << kAllOn;
        QTest::newRow("all on, no airlines.cfg") << kAllOn << false << "111111111---11111111111"
                                                 << "11111111111111111111111" << kAllOn;
        QTest::newRow("airline flags stored off, no airlines.cfg")
            << flags("11111111100011111111111") << false << "111111111---11111111111"
            << "11111111100011111111111" << flags("11111111100011111111111");
        QTest::newRow("only box 0") << flags("10000000000000000000000") << true << "10000000000000000000000"
                                    << "10000000000000000000000" << flags("10000000000000000000000");
        // Flags other than 1 leave the box unticked, as validation reads them as off.
        QTest::newRow("odd numbers") << flags("21111111111111111111110") << true << "01111111111111111111110"
                                     << "21111111111111111111110" << flags("21111111111111111111110");
        // A short list: the missing flags count as on, as start-up pads them.
        QTest::newRow("two flags") << flags("10") << true << "10111111111111111111111"
                                   << "10111111111111111111111" << flags("10");
        QTest::newRow("key missing: 22 flags") << "<absent>" << true << "11111111111111111111111"
                                               << "11111111111111111111111"
                                               << "<absent>";
        // An empty setting: everything on that can work, stored at once; the
        // running program's flags are left alone.
        QTest::newRow("empty, airlines.cfg found") << "" << true << "11111111111111111111111"
                                                   << "11111111111111111111111" << kAllOn;
        QTest::newRow("empty, no airlines.cfg")
            << "" << false << "111111111---11111111111"
            << "11111111111111111111111" << flags("11111111100011111111111");
    }
    void loadsTheBoxes()
    {
        QFETCH(QString, stored);
        QFETCH(bool, airlines);
        QFETCH(QString, boxes);
        QFETCH(QString, flagsAfter);
        QFETCH(QString, saved);
        QMap<QString, QString> settings;
        if (stored != "<absent>")
            settings.insert("AnalyzeOptions", stored);
        frm_AnalyzeOptions* w = open(settings, airlines);
        QVERIFY(w->isVisible());
        QCOMPARE(boxesText(*w), boxes);
        QCOMPARE(globals::gsAnalyzeFlags.join(""), flagsAfter);
        QCOMPARE(testutil::storedSetting("AnalyzeOptions"), saved == "<absent>" ? QString() : saved);
    }

    void saveStoresTheBoxes_data()
    {
        QTest::addColumn<bool>("airlines");
        QTest::addColumn<QString>("clicks"); // "all", "none", or box indexes to toggle
        QTest::addColumn<QString>("stored");
        QTest::newRow("only box 0 ticked") << true << "none,0"
                                           << "1" + QString("\u00A60").repeated(22);
        // Disabled boxes are saved with their value like the others.
        QTest::newRow("select all with the airline boxes disabled") << false << "all" << kAllOn;
        QTest::newRow("no airlines.cfg: airline flags saved off")
            << false << "" << flags("11111111100011111111111");
        QTest::newRow("untick 22") << true << "22" << flags("11111111111111111111110");
    }
    void saveStoresTheBoxes()
    {
        QFETCH(bool, airlines);
        QFETCH(QString, clicks);
        QFETCH(QString, stored);
        frm_AnalyzeOptions* w = open({{"AnalyzeOptions", kAllOn}}, airlines);
        for (const QString& c : clicks.split(',', Qt::SkipEmptyParts)) {
            if (c == "all")
                QTest::mouseClick(w->cmd_All, Qt::LeftButton);
            else if (c == "none")
                QTest::mouseClick(w->cmd_None, Qt::LeftButton);
            else
                w->Check1[c.toUInt()]->click();
        }
        testutil::BoxRecorder boxes;
        QTest::mouseClick(w->cmd_Save, Qt::LeftButton);
        QVERIFY(boxes.calls().empty());
        QVERIFY(!w->isVisible());
        QCOMPARE(testutil::storedSetting("AnalyzeOptions"), stored);
        QCOMPARE(globals::gsAnalyzeOptions, stored);
        QCOMPARE(globals::gsAnalyzeFlags, stored.split(kBar));
    }

    void cancelAndCloseBoxSaveNothing_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close box") << true;
    }
    void cancelAndCloseBoxSaveNothing()
    {
        QFETCH(bool, closeBox);
        frm_AnalyzeOptions* w = open({{"AnalyzeOptions", kAllOn}}, true);
        QTest::mouseClick(w->cmd_None, Qt::LeftButton);
        if (closeBox)
            w->close();
        else
            QTest::mouseClick(w->cmd_Close, Qt::LeftButton);
        QVERIFY(!w->isVisible());
        QCOMPARE(testutil::storedSetting("AnalyzeOptions"), kAllOn);
        QCOMPARE(globals::gsAnalyzeFlags, QStringList(23, "1"));
        // The next opening shows the stored options again.
        frm_AnalyzeOptions::showWindow();
        QCOMPARE(boxesText(*w), QString(23, u'1'));
    }

    void openingAgainWhileOpenKeepsTheTicks()
    {
        frm_AnalyzeOptions* w = open({{"AnalyzeOptions", kAllOn}}, true);
        w->Check1[3]->click();
        QCOMPARE(frm_AnalyzeOptions::showWindow(), w);
        QVERIFY(!w->Check1[3]->isChecked());
    }

    void aRefusedSaveIsToldAndStillApplies()
    {
        frm_AnalyzeOptions* w = open({{"AnalyzeOptions", kAllOn}}, true);
        // A folder where the options file should be: no one can replace it.
        const QString file = modSettings::SettingsFilePath();
        QVERIFY(QFile::remove(file));
        testutil::makeDir(file + "/blocked");
        QTest::mouseClick(w->cmd_None, Qt::LeftButton);
        w->Check1[0]->click();
        testutil::BoxRecorder boxes;
        QTest::mouseClick(w->cmd_Save, Qt::LeftButton);
        const bool stillFolder = QFileInfo(file).isDir();
        QDir(file).removeRecursively();
        testutil::resetSettings();
        QVERIFY(stillFolder);
        QCOMPARE(boxes.calls().size(), size_t(1));
        QVERIFY(boxes.calls().front().prompt.startsWith("The report options could not be saved in "));
        QCOMPARE(boxes.calls().front().style, msgbox::vbOKOnly | msgbox::vbCritical);
        // The user's choice serves the rest of the run.
        QCOMPARE(globals::gsAnalyzeFlags.join(""), QStringLiteral("10000000000000000000000"));
        QVERIFY(!w->isVisible());
    }
};

QTEST_MAIN(TestAnalyzeOptions)
#include "tst_analyzeoptions.moc"
