#pragma once

#include <QDialog>
#include <QString>
#include <QVariantMap>

#include <functional>

class vcUPDATECTL;

// The modal "Brackenhold Live Update" window: it holds the live-update
// control and closes when the user is done with it. Every showing starts a
// fresh check.
class frm_Update : public QDialog
{
    Q_OBJECT

public:
    explicit frm_Update(QWidget* parent = nullptr);
    ~frm_Update() override;

    vcUPDATECTL* vcUPDATECTL1 = nullptr;

    // The control's stored properties; "ConfigFileURL" is the address of the
    // version file (the build's appinfo::versionFileUrl() unless changed here).
    void setStoredProperty(const QString& key, const QVariant& value);
    QVariantMap storedProperties() const { return m_properties; }

    // Loads the window: the control reads its properties and starts the check.
    void Form_Load();
    // Loads the window and shows it modally; returns when it is closed.
    int showModal();

    void vcUPDATECTL1_Finish(const QString& text);

    // While one of these lives, showModal() hands the window to `drive` instead
    // of loading it and running its own event loop, so nothing blocks and no
    // download starts unless `drive` asks for it. The newest living one answers.
    class ScriptedShow
    {
    public:
        explicit ScriptedShow(std::function<void(frm_Update&)> drive = {});
        ~ScriptedShow();
        ScriptedShow(const ScriptedShow&) = delete;
        ScriptedShow& operator=(const ScriptedShow&) = delete;
        // How often the window was asked to show.
        int shows() const { return m_shows; }

    private:
        friend class frm_Update;
        std::function<void(frm_Update&)> m_drive;
        int m_shows = 0;
    };

private:
    QVariantMap m_properties;
};
