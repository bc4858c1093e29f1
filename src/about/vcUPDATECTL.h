#pragma once

#include "about/UpdateCheck.h"

#include <QByteArray>
#include <QNetworkReply>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <QWidget>

class QGroupBox;
class QLabel;
class QNetworkAccessManager;

class QPushButton;

// The live-update control: downloads the maker's version file, compares the
// version in it with the program's own and offers the download page. It
// starts when its stored properties are read (UserControl_ReadProperties);
// everything after that arrives through the event loop, so the window that
// holds it stays responsive and Close works at any time.
class vcUPDATECTL : public QWidget
{
    Q_OBJECT

public:
    explicit vcUPDATECTL(QWidget* parent = nullptr);
    ~vcUPDATECTL() override;

    // --- controls ----------------------------------------------------------------
    QPushButton* cmdCANCEL = nullptr;
    QPushButton* cmdNEXT = nullptr;
    QGroupBox* fraFRAME = nullptr;
    QLabel* lblSTEP2 = nullptr;
    QLabel* lblPROGRESS = nullptr;
    QLabel* lblVERSION = nullptr;
    QLabel* lblResult = nullptr;
    QLabel* Image1 = nullptr;

    // The address of the version file (stored property "ConfigFileURL").
    QString ConfigFileURL() const { return m_configFileUrl; }
    void setConfigFileURL(const QString& url);
    // Whether the property was set since the properties were last read.
    bool propertyChanged() const { return m_propertyChanged; }

    // Creation: the temporary folder and the program's version.
    void UserControl_Initialize();
    // Reads "ConfigFileURL" from the stored properties and starts the check:
    // the window's texts are reset, Update is disabled and the version file is
    // requested. A missing or unusable address is reported in a message box.
    void UserControl_ReadProperties(const QVariantMap& properties);

    // Stops a running download; nothing of it is written or shown afterwards.
    void cancelDownload();
    bool downloading() const { return m_reply != nullptr; }

    QString temporaryFolder() const { return m_tempFolder; }
    QString currentVersion() const { return m_currentVersion; }
    QString webVersion() const { return m_webVersion; }
    QString downloadAddress() const { return m_downloadAddress; }
    // The result of the last completed check (Unreadable before one completes).
    updatecheck::Comparison result() const { return m_result; }

    void cmdNEXT_Click();
    void cmdCANCEL_Click();

signals:
    // The user is done with the control (either button); the text is always empty.
    void Finish(const QString& text);

private:
    void buildUi();
    void AsyncReadProgress(qint64 bytesRead, qint64 bytesTotal);
    void AsyncReadComplete(QNetworkReply* reply);
    void readMore();
    void showConnectionError();
    // Saves the version file, reads it back, deletes it and shows the result.
    void workOutResult(const QByteArray& bytes);

    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_received;
    bool m_tooLarge = false;

    QString m_tempFolder;
    QString m_configFileUrl;
    bool m_propertyChanged = false;
    QString m_currentVersion;
    QString m_webVersion;
    QString m_downloadAddress;
    updatecheck::Comparison m_result = updatecheck::Comparison::Unreadable;
};
