#pragma once

#include "WineFixture.h"

#include "about/frm_Update.h"

#include <QMap>
#include <QString>

#include <memory>

class frm_Main;

// Builds what a main-window test needs: a Wine prefix of its own, a settings
// store holding exactly the given values, and a started frm_Main.
namespace testutil {

// Empties the settings store of the test process, then writes `values`.
void resetSettings(const QMap<QString, QString>& values = {});

// The settings store's value of a key; a null QString when it is absent.
QString storedSetting(const QString& key);

class MainWindowFixture
{
public:
    explicit MainWindowFixture(const PrefixSpec& spec = {}, const QMap<QString, QString>& settings = {});
    ~MainWindowFixture();

    // Creates the window and runs its start-up (Form_Load).
    frm_Main& start();
    frm_Main& window() { return *m_window; }
    FakePrefix& prefix() { return m_prefix; }

private:
    FakePrefix m_prefix;
    // The weekly update check must never open its modal window (and go on
    // the network) in a test that merely shows the main window.
    frm_Update::ScriptedShow m_noUpdateWindow;
    std::unique_ptr<frm_Main> m_window;
};

} // namespace testutil
