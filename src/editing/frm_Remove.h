#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

// "Remove keys in all [fltsim.x] sections": lists every key name that occurs
// in an entry of the main window's aircraft.cfg; the user marks keys and
// deletes them from every entry in one command. Shown modally by the main
// window; when it closes after a deletion the main window loads the folder
// again.
class frm_Remove : public QDialog
{
    Q_OBJECT

public:
    explicit frm_Remove(QWidget* parent = nullptr);

    QListWidget* List1 = nullptr;
    QPushButton* cmd_Wipe = nullptr;
    QPushButton* cmd_All = nullptr;
    QPushButton* cmd_None = nullptr;

    // At least one key deletion was carried out since the window loaded.
    bool bChanged = false;

    // Loads the window afresh and shows it modally; returns when it closes.
    void showModal();

    // Fills List1 with the entries' key names, trimmed and in lower case, each
    // once, in order of first occurrence.
    void LoadList();
    // Normalises `item` in place (trimmed, lower case), then tells whether
    // some entry of `list`, normalised the same way, equals it.
    static bool FindInList(QListWidget* list, QString& item);

    void Form_Load();
    void Form_Unload();
    void cmd_Wipe_Click();
    void cmd_All_Click();
    void cmd_None_Click();

    // Closing by any means (close box, Escape) unloads the window.
    void done(int result) override;

private:
    void applyToolTips();
};
