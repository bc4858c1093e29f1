#include "AircraftScene.h"

#include "TestUtil.h"
#include "mainwindow/frm_Main.h"

namespace testutil {

AircraftScene::AircraftScene(const QByteArray& cfg, const Files& files, const QString& folderName)
{
    m_folder = m_tmp.path() + u'/' + folderName;
    makeDir(m_folder);
    if (!cfg.isNull())
        writeFile(cfgPath(), cfg);
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        writeFile(m_tmp.path() + u'/' + it.key(), it.value());
    answers.setResponder([](const msgbox::Call& call) {
        return msgbox::Answer::withButton(msgbox::buttonsOf(call.style).value(0, msgbox::vbOK));
    });
}

AircraftScene::~AircraftScene() = default;

frm_Main& AircraftScene::start(bool confirm, bool autoBackup)
{
    m_fixture = std::make_unique<MainWindowFixture>(
        PrefixSpec{}, QMap<QString, QString>{{QStringLiteral("Path"), m_folder},
                                             {QStringLiteral("Update"), confirm ? "1" : "0"},
                                             {QStringLiteral("AutoBackup"), autoBackup ? "1" : "0"}});
    m_window = &m_fixture->start();
    return *m_window;
}

QByteArray AircraftScene::cfg() const { return readFile(cfgPath()); }

} // namespace testutil
