#include "shared/clsIniFile.h"

#include "platform/ProfileEngine.h"

namespace {

// Splits a NUL-terminated name list. Only names followed by a NUL count: the
// cut-off last name of an overflowing list is dropped.
void splitNames(const QString& list, QStringList& names, qint32& count, bool skipEmpty)
{
    names.clear();
    count = 0;
    qsizetype start = 0;
    for (;;) {
        const qsizetype nul = list.indexOf(QChar(0), start);
        if (nul < 0)
            break;
        const QString name = list.mid(start, nul - start);
        if (!(skipEmpty && name.isEmpty())) {
            names.append(name);
            ++count;
        }
        start = nul + 1;
    }
}

// The engine reads a null section or key as "list the names"; the cursor's
// names are always names, even before anything was set.
QString nz(const QString& s) { return s.isNull() ? QStringLiteral("") : s; }

} // namespace

QString clsIniFile::Value() const
{
    return platform::profile::getString(nz(m_sSection), nz(m_sKey), m_sDefault, {kValueBuffer}, m_sPath,
                                        m_occurrence);
}

void clsIniFile::setValue(const QString& value)
{
    if (value.isNull()) {
        write(m_sKey, QString());
        return;
    }
    QString v = value;
    v.remove(QChar(0));
    v.replace(u'\r', u' ');
    v.replace(u'\n', u' ');
    write(m_sKey, v);
}

void clsIniFile::DeleteKey() { write(m_sKey, QString()); }

void clsIniFile::DeleteSection()
{
    const auto r = platform::profile::writeString(nz(m_sSection), QString(), QString(), m_sPath, m_occurrence);
    m_lastWriteOk = r.ok;
    m_lastError = r.error;
}

void clsIniFile::write(const QString& key, const QString& value)
{
    const auto r = platform::profile::writeString(nz(m_sSection), nz(key), value, m_sPath, m_occurrence);
    m_lastWriteOk = r.ok;
    m_lastError = r.error;
}

QString clsIniFile::INISection() const
{
    return platform::profile::getString(nz(m_sSection), QString(), m_sDefault, {kListBuffer}, m_sPath,
                                        m_occurrence);
}

void clsIniFile::setINISection(const QString&) { DeleteSection(); }

QString clsIniFile::Sections() const
{
    return platform::profile::getString(QString(), QString(), m_sDefault, {kListBuffer}, m_sPath);
}

// The enumerations take every name, however long the list: a list cut at the
// 8192-character buffer would silently hide the entries of a large livery
// pack (about 750 [fltsim.N] sections fit), and every command that walks the
// entries would skip them. The raw list getters keep the buffer's limit.
void clsIniFile::EnumerateCurrentSection(QStringList& names, qint32& count) const
{
    splitNames(platform::profile::getString(nz(m_sSection), QString(), m_sDefault, {kUnlimited}, m_sPath,
                                                  m_occurrence),
               names, count, false);
}

void clsIniFile::EnumerateAllSections(QStringList& names, qint32& count) const
{
    names = platform::profile::sectionNames(m_sPath);
    names.removeIf([](const QString& name) { return name.isEmpty(); });
    count = static_cast<qint32>(names.size());
}

QList<QPair<QString, QString>> clsIniFile::SectionValues() const
{
    return platform::profile::sectionKeys(nz(m_sSection), {kValueBuffer}, m_sPath, m_occurrence);
}
