#pragma once

#include <QListWidget>
#include <QStringList>

// The folder list, laid out like the classic one: the folders from the root
// down to the current folder (open folders, each indented one step further),
// then the current folder's subfolders (closed folders, sorted without regard
// to case).
//
// Entries are numbered the classic way: 0 .. listCount()-1 are the subfolders,
// -1 is the current folder, -2 its parent and so on up to the root.
class DirList : public QListWidget
{
    Q_OBJECT

public:
    explicit DirList(QWidget* parent = nullptr);

    // The current folder (absolute, no trailing "/" except for the root).
    QString path() const;
    // Moves to a folder. A folder that does not exist (or is not a folder)
    // returns false and changes nothing. Moving to another folder rebuilds the
    // list and raises changed(); moving to the current folder does neither.
    bool setPath(const QString& path);
    // Reads the current folder's subfolders again; raises nothing.
    void refresh();
    // While held, a move changes the folder and raises changed() but the
    // list keeps showing what it showed; releasing lists the folder reached.
    // A batch goes through many folders and only the last list is seen.
    void holdList(bool hold);

    // Number of subfolders listed.
    int listCount() const;
    // Full path of entry i (see the numbering above); empty when there is none.
    QString listPath(int index) const;
    // The highlighted entry; -1 right after a move (the current folder).
    int listIndex() const;
    // Highlights an entry without moving to it.
    void setListIndex(int index);

signals:
    void changed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void rebuild();
    void enter(int row);
    int rowOf(int index) const;

    QString m_path;
    QStringList m_chain;      // root .. current folder
    QStringList m_subfolders; // full paths, in list order
    bool m_held = false;
    bool m_stale = false; // held while the folder changed
};
