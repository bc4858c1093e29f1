#pragma once

#include <QWidget>

class ListView;
class QListWidget;
class QPushButton;

// The grid column options: one check-marked item per optional column of the
// entry grid ("parking_type" .. "texture"); a marked column is hidden. Every
// change of a mark applies all marks to the grid at once; "&Save && Close"
// also stores them as the "DataGrid" setting. Modeless; one window serves the
// run and reads the grid's widths again each time it is opened.
class frm_ListViewOptions final : public QWidget
{
    Q_OBJECT

public:
    // A shown column is 1150 twips wide: 77 pixels at 96 dots per inch
    // (15 twips a pixel), whatever width it had before it was hidden.
    static constexpr int kShownColumnWidth = 77;
    // List item j stands for grid column j + 2 (0-based): the first two
    // columns are always shown.
    static constexpr int kFirstOptionalColumn = 2;

    // The window for `grid`, created on first use; `owner` keeps it above itself.
    static frm_ListViewOptions* instance(ListView* grid, QWidget* owner);
    // Loads the marks from the grid and shows the window; an open window is
    // only brought to the front.
    static frm_ListViewOptions* showOptions(ListView* grid, QWidget* owner);

    QListWidget* List1 = nullptr;
    QPushButton* cmd_All = nullptr;
    QPushButton* cmd_None = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdSave = nullptr;

    // True while Form_Load fills the list.
    bool bLoading = false;

    void Form_Load();
    void List1_Click();
    void cmd_All_Click();
    void cmd_None_Click();
    void cmdClose_Click();
    void cmdSave_Click();

private:
    frm_ListViewOptions(ListView* grid, QWidget* owner);
    void setAllMarks(bool marked);

    ListView* m_grid;
};
