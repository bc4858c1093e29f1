#include "about/frm_Update.h"
#include "about/UpdateCheck.h"
#include "about/vcUPDATECTL.h"
#include "shared/AppInfo.h"
#include "shared/MessageBox.h"

#include "TestUtil.h"
#include "UrlRecorder.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// A one-file web server on the loopback interface. Each request is answered
// with `body` (after the headers for `status`), or, while `hold` is set, with
// the headers and then a few bytes every 150 ms, the last byte never coming
// (progress reports come at most every 100 ms, so they need a slow sender).
class VersionServer : public QObject
{
    Q_OBJECT
public:
    QByteArray body;
    int status = 200;
    bool hold = false;
    bool sendLength = true;
    int requests = 0;
    QByteArray lastRequest;

    VersionServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, &VersionServer::accept);
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
    }
    QString url() const
    {
        return QStringLiteral("http://127.0.0.1:%1/live/version.txt").arg(m_server.serverPort());
    }

private:
    void accept()
    {
        while (QTcpSocket* s = m_server.nextPendingConnection()) {
            connect(s, &QTcpSocket::readyRead, this, [this, s] { answer(s); });
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        }
    }
    void answer(QTcpSocket* s)
    {
        QByteArray& got = m_pending[s];
        got += s->readAll();
        if (!got.contains("\r\n\r\n"))
            return;
        ++requests;
        lastRequest = got;
        QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: text/plain\r\n";
        if (sendLength)
            head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
        else
            head += "Connection: close\r\n";
        head += "\r\n";
        if (hold) {
            s->write(head + body.left(10));
            auto* drip = new QTimer(s);
            connect(drip, &QTimer::timeout, s, [this, s, sent = qsizetype(10)]() mutable {
                if (sent + 10 < body.size()) {
                    s->write(body.mid(sent, 10));
                    sent += 10;
                }
            });
            drip->start(150);
            return;
        }
        s->write(head + body);
        s->flush();
        if (!sendLength)
            s->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_pending;
};

QByteArray versionFile(const QString& version,
                       const QByteArray& address = "https://dl.brackenhold.example/fq")
{
    return "Fernquill\r\n" + version.toLatin1() + "\r\n" + address + "\r\n";
}

QString olderVersion()
{
    if (appinfo::kMajor > 0)
        return QString("%1.99.99").arg(appinfo::kMajor - 1);
    return QString("0.%1.99").arg(appinfo::kMinor - 1);
}

} // namespace

class TestVcUpdateCtl : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_temp;
    QString versionFilePath() const { return m_temp.path() + "/_vclu.txt"; }

    // A control pointed at `url` with its check started, waiting for the answer.
    std::unique_ptr<vcUPDATECTL> started(const QString& url)
    {
        auto ctl = std::make_unique<vcUPDATECTL>();
        ctl->UserControl_ReadProperties({{"ConfigFileURL", url}});
        return ctl;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_temp.isValid());
        qputenv("TEMP", m_temp.path().toLocal8Bit());
    }
    void init()
    {
        appinfo::setUpdateAddressesForTests("https://www.brackenhold.example/fq/version.txt",
                                            "https://www.brackenhold.example/fq/");
    }

    void result_data()
    {
        QTest::addColumn<QString>("web");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("update");
        const QString own = appinfo::versionText();
        QTest::newRow("newer")
            << QString("%1.0.0").arg(appinfo::kMajor + 1)
            << "A new version is available. Click on the 'Update' button to open Brackenhold in "
               "your webbrowser and download the update."
            << true;
        QTest::newRow("same") << own
                              << "You already have the most current version. Click 'Close' to continue."
                              << false;
        QTest::newRow("older") << olderVersion()
                               << "For unknown reasons your version is more recent than the official version."
                               << false;
        QTest::newRow("two-part web version")
            << "99.1"
            << "The version information could not be read. Click 'Close' to "
               "continue."
            << false;
    }
    void result()
    {
        QFETCH(QString, web);
        QFETCH(QString, text);
        QFETCH(bool, update);
        VersionServer server;
        server.body = versionFile(web);
        auto ctl = started(server.url());
        QVERIFY(ctl->downloading());
        QVERIFY(!ctl->cmdNEXT->isEnabled());
        QTRY_VERIFY(!ctl->downloading());

        QCOMPARE(ctl->lblResult->text(), text);
        QCOMPARE(ctl->lblVERSION->text(),
                 "Your version: " + appinfo::versionText() + "    Web version: " + web);
        QCOMPARE(ctl->cmdNEXT->isEnabled(), update);
        QCOMPARE(ctl->lblPROGRESS->text(),
                 QString("%1 bytes of %1 bytes configuration data retreived").arg(server.body.size()));
        // The file lived only while it was read.
        QVERIFY(!QFile::exists(versionFilePath()));
        // Asked past any cache.
        QVERIFY(server.lastRequest.toLower().contains("cache-control: no-cache"));
    }

    void shortVersionFile()
    {
        VersionServer server;
        server.body = "Fernquill\r\n99.0.0\r\n";
        auto ctl = started(server.url());
        QTRY_VERIFY(!ctl->downloading());
        QCOMPARE(ctl->lblVERSION->text(),
                 "Your version: " + appinfo::versionText() + "    Web version: 99.0.0");
        QCOMPARE(ctl->lblResult->text(),
                 QString("The version information could not be read. Click 'Close' to continue."));
        QVERIFY(!ctl->cmdNEXT->isEnabled());
        QSignalSpy finish(ctl.get(), &vcUPDATECTL::Finish);
        ctl->cmdCANCEL->click();
        QCOMPARE(finish.count(), 1);
        QCOMPARE(finish.first().first().toString(), QString());
    }

    void connectionErrors_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("refused");
        QTest::newRow("nobody listening") << 200 << QByteArray() << true;
        QTest::newRow("not found") << 404 << versionFile("99.0.0") << false;
        QTest::newRow("server error") << 500 << QByteArray("oops") << false;
        QTest::newRow("empty answer") << 200 << QByteArray() << false;
        QTest::newRow("far too large") << 200 << QByteArray(200 * 1024, 'x') << false;
    }
    void connectionErrors()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, refused);
        QString url;
        auto server = std::make_unique<VersionServer>();
        server->status = status;
        server->body = body;
        url = server->url();
        if (refused)
            server.reset(); // the port is free again: the connection is refused
        auto ctl = started(url);
        QTRY_VERIFY(!ctl->downloading());
        QCOMPARE(ctl->lblPROGRESS->text(),
                 QString("Error connecting to host.  Unable to complete Live Update."));
        QCOMPARE(ctl->lblResult->text(), QString());
        QVERIFY(!ctl->cmdNEXT->isEnabled());
        QVERIFY(!QFile::exists(versionFilePath()));
    }

    void missingOrUnusableAddress_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("title");
        QTest::newRow("empty")
            << ""
            << "A configuration download URL was not provided.  Live Update cannot continue."
            << "Error";
        QTest::newRow("not a web address")
            << "ftp://brackenhold.example/v.txt"
            << "5:Error in call to BeginDownload().\r\n\r\nError Description: Invalid "
               "procedure call or argument"
            << "Warning";
    }
    void missingOrUnusableAddress()
    {
        QFETCH(QString, url);
        QFETCH(QString, prompt);
        QFETCH(QString, title);
        msgbox::ScriptedAnswers boxes;
        boxes.button(msgbox::vbOK);
        auto ctl = started(url);
        QCOMPARE(boxes.prompts(), QStringList{prompt});
        QCOMPARE(boxes.calls().front().title, title);
        QCOMPARE(boxes.calls().front().style, msgbox::vbOKOnly + msgbox::vbCritical);
        QVERIFY(!ctl->downloading());
        QVERIFY(!ctl->cmdNEXT->isEnabled());
        QVERIFY(ctl->cmdCANCEL->isEnabled());
    }

    void updateOpensTheDownloadPage_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<QString>("opened");
        QTest::newRow("web address") << QByteArray("https://dl.brackenhold.example/fq-9.zip")
                                     << "https://dl.brackenhold.example/fq-9.zip";
        QTest::newRow("local program: the maker's site instead")
            << QByteArray("/usr/bin/xterm") << appinfo::downloadPageUrl();
    }
    void updateOpensTheDownloadPage()
    {
        QFETCH(QByteArray, address);
        QFETCH(QString, opened);
        VersionServer server;
        server.body = versionFile("99.0.0", address);
        auto ctl = started(server.url());
        QTRY_VERIFY(ctl->cmdNEXT->isEnabled());
        testutil::UrlRecorder urls({"http", "https"});
        QSignalSpy finish(ctl.get(), &vcUPDATECTL::Finish);
        ctl->cmdNEXT->click();
        QCOMPARE(urls.opened, QList<QUrl>{QUrl(opened)});
        QCOMPARE(finish.count(), 1);
    }

    void staleLinkInTheTemporaryFolderIsNotFollowed()
    {
        QTemporaryDir other;
        const QString victim = other.path() + "/precious.txt";
        testutil::writeFile(victim, "keep me");
        QVERIFY(QFile::link(victim, versionFilePath()));
        VersionServer server;
        server.body = versionFile("99.0.0");
        auto ctl = started(server.url());
        QTRY_VERIFY(!ctl->downloading());
        QVERIFY(ctl->cmdNEXT->isEnabled());
        QCOMPARE(testutil::readFile(victim), QByteArray("keep me"));
        QVERIFY(!QFileInfo(versionFilePath()).isSymLink());
        QVERIFY(!QFile::exists(versionFilePath()));
    }

    void unusableTemporaryFolderStillGivesTheResult()
    {
        // TEMP names something that is no folder: the file cannot be saved.
        QTemporaryDir other;
        const QString notAFolder = other.path() + "/plain-file";
        testutil::writeFile(notAFolder, "x");
        const QByteArray old = qgetenv("TEMP");
        qputenv("TEMP", notAFolder.toLocal8Bit());
        VersionServer server;
        server.body = versionFile("99.0.0");
        auto ctl = started(server.url());
        qputenv("TEMP", old);
        QCOMPARE(ctl->temporaryFolder(), notAFolder + "/");
        QTRY_VERIFY(!ctl->downloading());
        QVERIFY(ctl->cmdNEXT->isEnabled());
        QCOMPARE(testutil::readFile(notAFolder), QByteArray("x"));
    }

    void closeDuringTheDownloadClosesAtOnce()
    {
        VersionServer server;
        server.body = versionFile("99.0.0") + QByteArray(400, '\n');
        server.hold = true;
        frm_Update window;
        window.setStoredProperty("ConfigFileURL", server.url());
        QElapsedTimer clock;
        bool sawProgress = false;
        // Close once some bytes are in, while the last one never comes.
        QTimer poll;
        connect(&poll, &QTimer::timeout, &window, [&] {
            if (window.vcUPDATECTL1->lblPROGRESS->text().endsWith(
                    QString(" bytes of %1 bytes configuration data retreived").arg(server.body.size()))) {
                sawProgress = true;
                poll.stop();
                clock.start();
                window.vcUPDATECTL1->cmdCANCEL->click();
            }
        });
        poll.start(10);
        QTimer::singleShot(20000, &window, [&] { window.reject(); }); // never hang the run
        window.showModal();
        QVERIFY(sawProgress);
        QVERIFY(clock.elapsed() < 2000);
        QVERIFY(!window.isVisible());
        QVERIFY(!window.vcUPDATECTL1->downloading());
        // Nothing of the abandoned download turns up later.
        QTest::qWait(200);
        QCOMPARE(window.vcUPDATECTL1->lblResult->text(), QString());
        QVERIFY(!QFile::exists(versionFilePath()));
    }

    void showingAgainStartsAFreshCheck()
    {
        VersionServer server;
        server.body = versionFile("99.0.0");
        frm_Update window;
        window.setStoredProperty("ConfigFileURL", server.url());
        window.Form_Load();
        QTRY_VERIFY(window.vcUPDATECTL1->cmdNEXT->isEnabled());
        server.body = versionFile(appinfo::versionText());
        window.Form_Load();
        QVERIFY(!window.vcUPDATECTL1->cmdNEXT->isEnabled());
        QCOMPARE(window.vcUPDATECTL1->lblResult->text(), QString());
        QTRY_VERIFY(!window.vcUPDATECTL1->downloading());
        QCOMPARE(window.vcUPDATECTL1->lblResult->text(),
                 QString("You already have the most current version. Click 'Close' to continue."));
        QCOMPARE(server.requests, 2);
    }

    void builtInAddresses()
    {
        // The build's addresses, as a packager sets them: the window checks
        // the version file address, and an unusable download line opens the
        // download page instead.
        VersionServer server;
        server.body = versionFile("99.0.0", "not an address");
        appinfo::setUpdateAddressesForTests(server.url(), "http://127.0.0.1/fq/download");
        frm_Update window;
        window.Form_Load();
        QTRY_VERIFY(window.vcUPDATECTL1->cmdNEXT->isEnabled());
        testutil::UrlRecorder urls({"http", "https"});
        window.vcUPDATECTL1->cmdNEXT->click();
        QCOMPARE(urls.opened, QList<QUrl>{QUrl("http://127.0.0.1/fq/download")});
        QCOMPARE(server.requests, 1);
    }

    void defaults()
    {
        frm_Update window;
        QCOMPARE(window.storedProperties().value("ConfigFileURL").toString(), appinfo::versionFileUrl());
        QCOMPARE(window.vcUPDATECTL1->temporaryFolder(), m_temp.path() + "/");
    }
};

QTEST_MAIN(TestVcUpdateCtl)
#include "tst_vcupdatectl.moc"
