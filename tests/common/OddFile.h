#pragma once

#include <QString>

#include <atomic>
#include <thread>

// An entry that is not a regular file, made where the program expects one: a
// pipe, a socket, a link to a device, or a folder. A pipe is watched while
// the object lives: whatever opens it for reading is let through to the end
// of the file at once (so a program that wrongly reads it gets nothing
// instead of waiting forever) and counted.
namespace testutil {

class OddFile
{
public:
    // `kind` is "fifo", "socket", "device" or "folder". The parent folder
    // must exist; whatever stood at `path` is removed first.
    OddFile(const QString& path, const QString& kind);
    ~OddFile();
    OddFile(const OddFile&) = delete;
    OddFile& operator=(const OddFile&) = delete;

    // Whether the entry could be made (a failure names why in the log).
    bool made() const { return m_made; }
    // How often the pipe was opened for reading; 0 for the other kinds.
    int readerOpens() const { return m_opens.load(); }

private:
    QString m_path;
    bool m_made = false;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_opens{0};
    std::thread m_watch;
};

// The four kinds as data rows' values, for a column named "kind".
inline const char* const kOddKinds[] = {"fifo", "socket", "device", "folder"};

} // namespace testutil
