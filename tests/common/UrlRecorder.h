#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

namespace testutil {

// Stands in for the desktop: keeps every address the program asks it to open
// for the given schemes ("file", "https"...) while it lives.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    explicit UrlRecorder(QStringList schemes) : m_schemes(std::move(schemes))
    {
        for (const QString& scheme : m_schemes)
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~UrlRecorder() override
    {
        for (const QString& scheme : m_schemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }
    UrlRecorder(const UrlRecorder&) = delete;
    UrlRecorder& operator=(const UrlRecorder&) = delete;

    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }

private:
    QStringList m_schemes;
};

} // namespace testutil
