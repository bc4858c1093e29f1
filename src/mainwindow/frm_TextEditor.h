#pragma once

#include "mainwindow/EditorText.h"

#include <QByteArray>
#include <QMainWindow>
#include <QString>

#include <array>

class QAction;
class QCloseEvent;
class QMenu;
class QPlainTextEdit;

// The program's own plain-text editor for aircraft.cfg, the simulators'
// airlines.cfg and the validation reports. The opener sets
// globals::giEditorMode (and globals::gsEditFile for mode 3) and calls
// showEditor(). One window serves the run; it is created when shown and
// deleted when it closes, so every opening starts with an empty recent-file
// list, while the last search text lasts for the whole run.
class frm_TextEditor final : public QMainWindow
{
    Q_OBJECT

public:
    // The editor window, created on first use. `owner` (usually the main
    // window) keeps it above itself and deletes it at the end of the run.
    static frm_TextEditor* instance(QWidget* owner = nullptr);
    // The editor window when it is open, else null.
    static frm_TextEditor* existing();
    // What happens when the file to open cannot be read: the editor tells
    // the user and shows an empty text, or (for an opener that reports
    // errors itself) it raises a runtimeerror::RuntimeError and shows nothing
    // new.
    enum class LoadFailure
    {
        Tell,
        Raise,
    };
    // Opens the file giEditorMode names and shows the window. When the window
    // is open already it asks about unsaved changes first and then loads the
    // newly asked-for file (or keeps its text when the user cancels).
    static frm_TextEditor* showEditor(QWidget* owner = nullptr, LoadFailure onFailure = LoadFailure::Tell);

    ~frm_TextEditor() override;

    // --- controls ---------------------------------------------------------------
    QPlainTextEdit* txtData = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuFileNew = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    // Item 0 is the separator above the recent files; items 1..4 exist once used.
    std::array<QAction*, 5> mnuFileMRU{};
    QAction* mnuFileSep = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuSelectAll = nullptr;
    QAction* mnuEditCut = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditPaste = nullptr;
    QMenu* mnuSearch = nullptr;
    QAction* mnuSearchFind = nullptr;
    QAction* mnuSearchFindAgain = nullptr;

    // --- state --------------------------------------------------------------------
    bool bChanged = false;
    QString sFileName;
    int iMRUCount = 0;
    // The last search text; kept across openings of the window.
    static QString sSearch;

    // --- events -------------------------------------------------------------------
    void Form_Load();
    void Form_QueryUnload(bool& Cancel);
    void Form_Unload();
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileMRU_Click(int index);
    void mnuFileExit_Click();
    void mnuSelectAll_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuSearchFind_Click();
    void mnuSearchFindAgain_Click();
    void txtData_Change();

    // The text as the editor holds it, lines separated by LF.
    QString text() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class SaveResult
    {
        Saved,
        Cancelled,
        Failed
    };

    explicit frm_TextEditor(QWidget* owner);
    void buildUi();
    void reopen();
    void loadModeFile();

    void CheckSaveChanges(bool& bGoOn);
    SaveResult SaveFile();
    void AddToMRU(const QString& sFile);
    // Reads `path` into the editor and makes it the current file; on failure
    // reports it and leaves text and file name as they were.
    bool LoadFile(const QString& path);
    void clearText();
    void searchFrom(qsizetype from);

    // Line ends and bytes of the file as loaded or last saved: saving a text
    // nobody changed writes exactly these bytes again.
    editortext::LineEnd m_lineEnd = editortext::LineEnd::CrLf;
    QByteArray m_fileBytes;
    QString m_fileText;
    bool m_haveFileBytes = false;

    // Which airline caches this window's files belong to; closing reads them again.
    bool m_reloadFS9 = false;
    bool m_reloadFSX = false;
    // The editor mode of the file the opener last had loaded.
    int m_mode = 0;
    // While showEditor loads for an opener that reports a failed read itself.
    bool m_loadFailureRaises = false;
};
