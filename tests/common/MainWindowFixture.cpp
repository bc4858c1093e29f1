#include "MainWindowFixture.h"

#include "mainwindow/frm_Main.h"
#include "platform/ProfileEngine.h"
#include "shared/modSettings.h"

#include <QSettings>

namespace testutil {

void resetSettings(const QMap<QString, QString>& values)
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, modSettings::kOrganisation, modSettings::kApplication);
    s.clear();
    s.sync();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        modSettings::SaveSetting(it.key(), it.value());
}

QString storedSetting(const QString& key)
{
    if (!modSettings::HasSetting(key))
        return QString();
    return modSettings::GetSetting(key, QString());
}

MainWindowFixture::MainWindowFixture(const PrefixSpec& spec, const QMap<QString, QString>& settings)
    : m_prefix(spec)
{
    platform::profile::clearCache();
    resetSettings(settings);
}

MainWindowFixture::~MainWindowFixture() = default;

frm_Main& MainWindowFixture::start()
{
    m_window = std::make_unique<frm_Main>();
    m_window->Form_Load();
    return *m_window;
}

} // namespace testutil
