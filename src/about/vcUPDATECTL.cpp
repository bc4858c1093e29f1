#include "about/vcUPDATECTL.h"

#include "about/ProgramIcon.h"
#include "platform/FileIo.h"
#include "shared/AppInfo.h"
#include "shared/MessageBox.h"
#include "shared/modSystem.h"
#include "shared/RuntimeError.h"

#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace {

// 5970 by 3735 twips at 15 twips a pixel.
constexpr int kWidth = 398;
constexpr int kHeight = 249;

QLabel* textLabel(QWidget* parent, const QString& name, const QString& text = {})
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    return l;
}

} // namespace

vcUPDATECTL::vcUPDATECTL(QWidget* parent) : QWidget(parent), m_network(new QNetworkAccessManager(this))
{
    buildUi();
    UserControl_Initialize();
}

vcUPDATECTL::~vcUPDATECTL()
{
    cancelDownload();
}

void vcUPDATECTL::buildUi()
{
    setObjectName(QStringLiteral("vcUPDATECTL1"));
    QFont font(QStringLiteral("Verdana"));
    font.setPointSize(8);
    setFont(font);
    setFixedSize(kWidth, kHeight);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(programicon::pixmap(48));
    Image1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    fraFRAME = new QGroupBox(this);
    fraFRAME->setObjectName(QStringLiteral("fraFRAME"));
    lblSTEP2 = textLabel(fraFRAME, QStringLiteral("lblSTEP2"),
                         QStringLiteral("Connect 'Brackenhold' and retrieve version information..."));
    lblPROGRESS = textLabel(fraFRAME, QStringLiteral("lblPROGRESS"));
    lblVERSION = textLabel(fraFRAME, QStringLiteral("lblVERSION"));
    lblResult = textLabel(fraFRAME, QStringLiteral("lblResult"));
    auto* frameLayout = new QVBoxLayout(fraFRAME);
    frameLayout->addWidget(lblSTEP2);
    frameLayout->addWidget(lblPROGRESS);
    frameLayout->addWidget(lblVERSION);
    frameLayout->addWidget(lblResult, 1);

    cmdNEXT = new QPushButton(QStringLiteral("&Update"), this);
    cmdNEXT->setObjectName(QStringLiteral("cmdNEXT"));
    cmdCANCEL = new QPushButton(QStringLiteral("&Close"), this);
    cmdCANCEL->setObjectName(QStringLiteral("cmdCANCEL"));

    auto* top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addWidget(fraFRAME, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdNEXT);
    buttons->addWidget(cmdCANCEL);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    connect(cmdNEXT, &QPushButton::clicked, this, &vcUPDATECTL::cmdNEXT_Click);
    connect(cmdCANCEL, &QPushButton::clicked, this, &vcUPDATECTL::cmdCANCEL_Click);
}

void vcUPDATECTL::setConfigFileURL(const QString& url)
{
    m_configFileUrl = url;
    m_propertyChanged = true;
}

void vcUPDATECTL::UserControl_Initialize()
{
    m_tempFolder =
        updatecheck::temporaryFolder(qEnvironmentVariable("TEMP"), modSystem::PrivateTempFolder().path);
    m_currentVersion = appinfo::versionText();
}

void vcUPDATECTL::UserControl_ReadProperties(const QVariantMap& properties)
{
    // A window shown again starts a fresh check.
    cancelDownload();
    m_webVersion.clear();
    m_downloadAddress.clear();
    m_result = updatecheck::Comparison::Unreadable;
    lblPROGRESS->clear();
    lblVERSION->clear();
    lblResult->clear();

    m_configFileUrl = properties.value(QStringLiteral("ConfigFileURL")).toString();
    m_propertyChanged = false;
    cmdCANCEL->setFocus();
    cmdNEXT->setEnabled(false);

    if (m_configFileUrl.isEmpty()) {
        msgbox::MsgBox(
            QStringLiteral("A configuration download URL was not provided.  Live Update cannot continue."),
            msgbox::vbOKOnly + msgbox::vbCritical, QStringLiteral("Error"));
        return;
    }
    if (!updatecheck::isWebAddress(m_configFileUrl)) {
        const int number = runtimeerror::kInvalidCall;
        msgbox::MsgBox(QString::number(number) + QStringLiteral(":Error in call to BeginDownload().") +
                           msgbox::vbCrLf + msgbox::vbCrLf + QStringLiteral("Error Description: ") +
                           runtimeerror::standardDescription(number),
                       msgbox::vbOKOnly + msgbox::vbCritical, QStringLiteral("Warning"));
        return;
    }

    QNetworkRequest request{QUrl(m_configFileUrl.trimmed())};
    // Always the file as it is on the server now, never a cached copy.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    m_received.clear();
    m_tooLarge = false;
    QNetworkReply* reply = m_network->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::downloadProgress, this, &vcUPDATECTL::AsyncReadProgress);
    connect(reply, &QNetworkReply::readyRead, this, &vcUPDATECTL::readMore);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { AsyncReadComplete(reply); });
}

void vcUPDATECTL::cancelDownload()
{
    if (!m_reply)
        return;
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    reply->deleteLater();
    m_received.clear();
}

void vcUPDATECTL::AsyncReadProgress(qint64 bytesRead, qint64 bytesTotal)
{
    // A server that does not say how much is coming gives no progress line;
    // nor does news of a download that has ended (it would hide the error).
    if (m_reply && !m_tooLarge && bytesTotal > 0)
        lblPROGRESS->setText(updatecheck::progressText(bytesRead, bytesTotal));
}

void vcUPDATECTL::readMore()
{
    if (!m_reply || m_tooLarge)
        return;
    m_received += m_reply->readAll();
    if (m_received.size() > updatecheck::kMaxVersionFileBytes) {
        // Far too much for a version file: whatever answered, it is not ours.
        m_tooLarge = true;
        m_received.clear();
        m_reply->abort();
    }
}

void vcUPDATECTL::AsyncReadComplete(QNetworkReply* reply)
{
    if (reply != m_reply)
        return;
    m_reply = nullptr;
    reply->deleteLater();
    if (!m_tooLarge) {
        m_received += reply->readAll();
        // The whole answer may arrive at once, with no readyRead before this.
        if (m_received.size() > updatecheck::kMaxVersionFileBytes)
            m_tooLarge = true;
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool httpOk = status == 0 || (status >= 200 && status < 300);
    const QByteArray bytes = std::exchange(m_received, QByteArray());
    // An error page is no version file, and nothing received means no answer.
    if (reply->error() != QNetworkReply::NoError || m_tooLarge || !httpOk || bytes.isEmpty()) {
        showConnectionError();
        return;
    }
    workOutResult(bytes);
}

void vcUPDATECTL::showConnectionError()
{
    lblPROGRESS->setText(updatecheck::connectionErrorText());
}

void vcUPDATECTL::workOutResult(const QByteArray& bytes)
{
    // The file lives in the temporary folder only while it is read. Whatever
    // has that name already goes first, and the file is made new (never
    // through a link someone left there). Should the folder refuse it, the
    // bytes received are read directly.
    QByteArray content = bytes;
    const QString path = m_tempFolder + QString::fromLatin1(updatecheck::kVersionFileName);
    if (!m_tempFolder.isEmpty())
        QFile::remove(path);
    QFile file(path);
    if (!m_tempFolder.isEmpty() && file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        const bool written = file.write(bytes) == bytes.size();
        file.close();
        QByteArray readBack;
        if (written && platform::fileio::readAll(path, &readBack))
            content = readBack;
        QFile::remove(path);
    }

    const updatecheck::VersionFile version = updatecheck::parseVersionFile(content);
    m_webVersion = version.webVersion;
    m_downloadAddress = version.downloadAddress;
    lblVERSION->setText(updatecheck::versionsText(m_currentVersion, m_webVersion));
    m_result = updatecheck::resultOf(version, m_currentVersion);
    lblResult->setText(updatecheck::resultText(m_result));
    if (m_result == updatecheck::Comparison::Newer) {
        cmdNEXT->setVisible(true);
        cmdNEXT->setEnabled(true);
        cmdNEXT->setFocus();
    } else {
        cmdCANCEL->setFocus();
    }
}

void vcUPDATECTL::cmdNEXT_Click()
{
    modSystem::OpenURL(updatecheck::addressToOpen(m_downloadAddress, appinfo::downloadPageUrl()));
    emit Finish(QString());
}

void vcUPDATECTL::cmdCANCEL_Click()
{
    cancelDownload();
    emit Finish(QString());
}
