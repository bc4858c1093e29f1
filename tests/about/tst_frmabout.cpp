#include "about/frm_About.h"
#include "shared/AppInfo.h"

#include "TestUtil.h"

#include <QFrame>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

class TestFrmAbout : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_prefix;
    QByteArray m_oldPrefix;

    void writeRegistry(const QByteArray& body)
    {
        testutil::writeFile(m_prefix.path() + "/system.reg",
                            "WINE REGISTRY Version 2\n#arch=win64\n\n" + body);
    }

private slots:
    void initTestCase()
    {
        m_oldPrefix = qgetenv("WINEPREFIX");
        qputenv("WINEPREFIX", m_prefix.path().toLocal8Bit());
    }
    void cleanupTestCase() { qputenv("WINEPREFIX", m_oldPrefix); }

    void showsVersionAndTheDeclaredWindows()
    {
        writeRegistry(
            "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1\n"
            "\"CSDVersion\"=\"Service Pack 1\"\n\"CurrentBuildNumber\"=\"7601\"\n"
            "\"CurrentVersion\"=\"6.1\"\n\"EditionID\"=\"Ultimate\"\n\n"
            "[System\\\\CurrentControlSet\\\\Control\\\\ProductOptions] 1\n\"ProductType\"=\"WinNT\"\n\n"
            "[System\\\\CurrentControlSet\\\\Control\\\\Windows] 1\n\"CSDVersion\"=dword:00000100\n");
        frm_About about;
        about.Form_Load();
        QCOMPARE(about.lblProductName->text(), QString("Fernquill"));
        QCOMPARE(about.lblVERSION->text(), "Version " + appinfo::versionText());
        QCOMPARE(about.lblPlatform->text(),
                 QString("Microsoft Windows 7 Ultimate - Service Pack 1 (1.0) - 6.1.7601 (64 Bit)"));
        QVERIFY(!about.lblCopyright->text().isEmpty());
        QCOMPARE(about.imgLogo->pixmap().size(), QSize(128, 128));
        QVERIFY(!about.isModal());

        // Each loading reads the host again.
        writeRegistry("");
        about.Form_Load();
        QCOMPARE(about.lblPlatform->text(), QString("Microsoft Windows - unknown - unknown (64 Bit)"));
    }

    void closesOnAClickOrAKey_data()
    {
        QTest::addColumn<QString>("target"); // empty: the window itself
        QTest::addColumn<bool>("key");
        for (const char* name :
             {"", "Frame1", "imgLogo", "lblProductName", "lblVERSION", "lblPlatform", "lblCopyright"})
            QTest::newRow(*name ? name : "window") << QString(name) << false;
        QTest::newRow("a key") << QString() << true;
        QTest::newRow("Escape") << QString() << true;
    }
    void closesOnAClickOrAKey()
    {
        QFETCH(QString, target);
        QFETCH(bool, key);
        writeRegistry("");
        frm_About about;
        about.Form_Load();
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QWidget* w = target.isEmpty() ? &about : about.findChild<QWidget*>(target);
        QVERIFY(w);
        if (key)
            QTest::keyClick(&about,
                            QTest::currentDataTag() == QByteArray("Escape") ? Qt::Key_Escape : Qt::Key_A);
        else
            QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
