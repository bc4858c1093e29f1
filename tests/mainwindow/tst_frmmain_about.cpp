#include "about/frm_About.h"
#include "about/frm_Update.h"
#include "about/UpdateCheck.h"
#include "about/vcUPDATECTL.h"
#include "mainwindow/frm_Main.h"
#include "shared/AppInfo.h"
#include "shared/modSettings.h"

#include "BoxRecorder.h"
#include "MainWindowFixture.h"
#include "TestUtil.h"
#include "UrlRecorder.h"

#include <QAction>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QString thisWeek()
{
    return QString::number(updatecheck::weekOfYear(QDate::currentDate()));
}

QString otherWeek()
{
    return QString::number(updatecheck::weekOfYear(QDate::currentDate()) % 54 + 1);
}

void activate(frm_Main& w)
{
    QEvent activation(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&w, &activation);
    // The check opens once the activation has been handled.
    QCoreApplication::processEvents();
}

} // namespace

class TestFrmMainAbout : public QObject
{
    Q_OBJECT
private slots:
    // A build with both update addresses set; noUpdateAddress covers one without.
    void init()
    {
        appinfo::setUpdateAddressesForTests("https://www.brackenhold.example/fq/version.txt",
                                            "https://www.brackenhold.example/fq/");
    }

    void noUpdateAddress_data()
    {
        QTest::addColumn<QString>("versionFile");
        QTest::addColumn<QString>("downloadPage");
        QTest::newRow("none") << QString() << QString();
        QTest::newRow("no version file") << QString() << "https://www.brackenhold.example/fq/";
    }
    void noUpdateAddress()
    {
        QFETCH(QString, versionFile);
        QFETCH(QString, downloadPage);
        appinfo::setUpdateAddressesForTests(versionFile, downloadPage);
        testutil::MainWindowFixture f({}, {{"AutoUpdate", "1"}, {"LastCheck", otherWeek()}});
        frm_Main& w = f.start();
        frm_Update::ScriptedShow updates;
        testutil::BoxRecorder boxes;
        activate(w);
        QVERIFY(w.bAutoUpdate);
        QCOMPARE(testutil::storedSetting("LastCheck"), otherWeek());

        // The menu's command says why nothing happens.
        w.ui.mnu_AppUpdate->trigger();
        QCOMPARE(
            boxes.prompts(),
            QStringList{"This build of Fernquill has no update address, so it cannot check for updates."});
        QCOMPARE(boxes.calls().front().style, msgbox::vbOKOnly | msgbox::vbInformation);
        QCOMPARE(updates.shows(), 0);
        QCOMPARE(w.ui.Zib[1]->isEnabled(), !downloadPage.isEmpty());
    }

    void weeklyTrigger_data()
    {
        QTest::addColumn<QString>("autoUpdate"); // null: not stored
        QTest::addColumn<QString>("lastCheck");  // null: not stored
        QTest::addColumn<bool>("checked");
        QTest::addColumn<int>("shows");
        QTest::addColumn<QString>("storedWeek"); // null: not stored
        QTest::newRow("first run: check") << QString() << QString() << true << 1 << thisWeek();
        QTest::newRow("another week: check") << "1" << otherWeek() << true << 1 << thisWeek();
        QTest::newRow("same week: no check") << "1" << thisWeek() << true << 0 << thisWeek();
        QTest::newRow("last check no number: check, replaced") << "1"
                                                               << "someday" << true << 1 << thisWeek();
        QTest::newRow("auto-update off: only the check mark")
            << "0" << otherWeek() << false << 0 << otherWeek();
        QTest::newRow("auto-update off, nothing stored") << "0" << QString() << false << 0 << QString();
    }
    void weeklyTrigger()
    {
        QFETCH(QString, autoUpdate);
        QFETCH(QString, lastCheck);
        QFETCH(bool, checked);
        QFETCH(int, shows);
        QFETCH(QString, storedWeek);
        QMap<QString, QString> settings;
        if (!autoUpdate.isNull())
            settings.insert("AutoUpdate", autoUpdate);
        if (!lastCheck.isNull())
            settings.insert("LastCheck", lastCheck);
        testutil::MainWindowFixture f({}, settings);
        frm_Main& w = f.start();
        w.ui.mnu_AutoUpdate->setChecked(!checked);
        frm_Update::ScriptedShow updates;

        activate(w);
        QCOMPARE(w.ui.mnu_AutoUpdate->isChecked(), checked);
        QCOMPARE(w.bAutoUpdate, checked);
        QCOMPARE(updates.shows(), shows);
        QCOMPARE(testutil::storedSetting("LastCheck"), storedWeek);

        // The activation that follows the window's closing starts no second check.
        activate(w);
        QCOMPARE(updates.shows(), shows);
    }

    void unreadableSwitchKeepsTheMenuItem()
    {
        testutil::MainWindowFixture f({}, {{"AutoUpdate", "yes"}, {"LastCheck", otherWeek()}});
        frm_Main& w = f.start();
        w.ui.mnu_AutoUpdate->setChecked(false);
        frm_Update::ScriptedShow updates;
        activate(w);
        QVERIFY(!w.bAutoUpdate);
        QCOMPARE(updates.shows(), 0);
    }

    void unwritableStoreChecksOncePerRun()
    {
        testutil::MainWindowFixture f;
        frm_Main& w = f.start();
        // A folder where the settings file should be: nothing can be stored
        // (not even by root). The week asked for must still not come back on
        // every activation.
        const QString file = modSettings::SettingsFilePath();
        QFile::remove(file);
        testutil::makeDir(file);
        frm_Update::ScriptedShow updates;
        activate(w);
        activate(w);
        activate(w);
        QVERIFY(QDir(file).removeRecursively());
        QCOMPARE(updates.shows(), 1);
    }

    void checkForUpdateIgnoresTheWeek()
    {
        testutil::MainWindowFixture f({}, {{"AutoUpdate", "0"}, {"LastCheck", thisWeek()}});
        frm_Main& w = f.start();
        frm_Update* seen = nullptr;
        frm_Update::ScriptedShow updates([&](frm_Update& window) { seen = &window; });
        w.ui.mnu_AppUpdate->trigger();
        w.ui.mnu_AppUpdate->trigger();
        QCOMPARE(updates.shows(), 2);
        QCOMPARE(seen, w.updateWindow()); // one window serves the run
        QCOMPARE(seen->parent(), static_cast<QObject*>(&w));
        QCOMPARE(testutil::storedSetting("LastCheck"), thisWeek());
    }

    void updateWindowIsModalAndClosesWithClose()
    {
        // Built by hand: the fixture keeps the update window from opening.
        testutil::FakePrefix prefix({});
        testutil::resetSettings({{"AutoUpdate", "0"}});
        frm_Main w;
        w.Form_Load();
        frm_Update* window = w.updateWindow();
        // No address: the window says so and keeps only Close.
        window->setStoredProperty("ConfigFileURL", QString());
        testutil::BoxRecorder boxes;
        bool wasModal = false;
        QTimer::singleShot(0, window, [&] {
            wasModal = window->isVisible() && window->isModal();
            window->vcUPDATECTL1->cmdCANCEL->click();
        });
        w.mnu_AppUpdate_Click();
        QVERIFY(wasModal);
        QVERIFY(!window->isVisible());
        QCOMPARE(boxes.prompts(),
                 QStringList{"A configuration download URL was not provided.  Live Update cannot continue."});
    }

    void visitWebSite()
    {
        testutil::MainWindowFixture f;
        frm_Main& w = f.start();
        testutil::UrlRecorder urls({"https"});
        w.ui.Zib[1]->trigger();
        QCOMPARE(urls.opened, QList<QUrl>{QUrl(appinfo::downloadPageUrl())});
    }

    void aboutWindowIsModeless()
    {
        testutil::MainWindowFixture f;
        frm_Main& w = f.start();
        w.ui.mnuAboutProg->trigger();
        frm_About* about = w.aboutWindow();
        QVERIFY(about->isVisible());
        QVERIFY(!about->isModal());
        QCOMPARE(about->lblVERSION->text(), "Version " + appinfo::versionText());
        // The fixture's prefix declares no Windows version.
        QCOMPARE(about->lblPlatform->text(), QString("Microsoft Windows - unknown - unknown (64 Bit)"));
        QTest::keyClick(about, Qt::Key_Escape);
        QVERIFY(!about->isVisible());
        w.ui.mnuAboutProg->trigger();
        QCOMPARE(w.aboutWindow(), about);
        QVERIFY(about->isVisible());
    }
};

QTEST_MAIN(TestFrmMainAbout)
#include "tst_frmmain_about.moc"
