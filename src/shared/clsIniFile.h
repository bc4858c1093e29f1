#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// A cursor over one profile file (aircraft.cfg, fsx.cfg, texture.cfg ...):
// set path(), then Section(), then Key(), then read or write Value(). Nothing
// of the file is held here; every read goes to the file (through the profile
// engine's cache, which notices any change on disk), so a value written is
// seen by the next read and edits made by other programs are seen at once.
class clsIniFile
{
public:
    // Buffer sizes of the Windows calls: 4096 characters for a value (at most
    // 4095 come back) and 8192 for a list of names.
    static constexpr int kValueBuffer = 4096;
    static constexpr int kListBuffer = 8192;
    static constexpr int kUnlimited = 0x7FFFFFF0;

    QString path() const { return m_sPath; }
    void setPath(const QString& path) { m_sPath = path; }

    QString Key() const { return m_sKey; }
    void setKey(const QString& key) { m_sKey = key; }

    QString Section() const { return m_sSection; }
    // Names the first section of that name, as the Windows calls find it.
    void setSection(const QString& section)
    {
        m_sSection = section;
        m_occurrence = 0;
    }
    // Names one section among those that share a name: 0 the first, 1 the
    // second... (a pack may hold [fltsim.2] twice; each is an entry).
    void setSection(const QString& section, int occurrence)
    {
        m_sSection = section;
        m_occurrence = occurrence;
    }

    // The value of Key() in Section(); empty text when the file, the section
    // or the key is missing.
    QString Value() const;

    // Writes the value of Key() in Section(), without NUL characters; a null
    // QString deletes the key instead, while an empty one writes "key=".
    // Line breaks cannot be stored in a profile line: they become blanks.
    void setValue(const QString& value);

    void DeleteKey();
    void DeleteSection();

    // The key names of Section(), each followed by a NUL, in file order.
    QString INISection() const;
    // Deletes Section(); the given text is not written.
    void setINISection(const QString& unused);

    // All section names of the file, each followed by a NUL, in file order.
    QString Sections() const;

    // Key names of Section() in file order, all of them. An empty key name (a
    // line that begins with '=') gives an empty element. Element 0 here is the
    // first name.
    void EnumerateCurrentSection(QStringList& names, qint32& count) const;

    // The key names of Section() in file order (as EnumerateCurrentSection),
    // each with the text Value() reads for it: one look-up for all of them.
    QList<QPair<QString, QString>> SectionValues() const;

    // Section names of the file in file order, all of them; empty names ("[]")
    // are left out.
    void EnumerateAllSections(QStringList& names, qint32& count) const;

    // Whether the last write (setValue, DeleteKey, DeleteSection) was carried
    // out, and why not. A refused write leaves the file unchanged.
    bool lastWriteOk() const { return m_lastWriteOk; }
    QString lastError() const { return m_lastError; }

private:
    void write(const QString& key, const QString& value);

    QString m_sPath;
    QString m_sKey;
    QString m_sSection;
    int m_occurrence = 0;
    QString m_sDefault;
    bool m_lastWriteOk = true;
    QString m_lastError;
};
