#include "validation/BatchReport.h"

#include "platform/FileIo.h"
#include "platform/PathResolver.h"
#include "validation/ReportText.h"

namespace BatchReport {

QString headerText(const QString& root, Mode mode, const QString& date, const QString& time)
{
    const QString kind =
        mode == Mode::ErrorsOnly ? QStringLiteral(" (error report) *") : QStringLiteral(" (full report) *");
    return ReportText::headerPrefix(date, time) + QStringLiteral("Validate all aircraft below folder : \"") + root +
           u'"' + kind;
}

QStringList framed(const QString& line)
{
    const QString stars(line.size(), u'*');
    return {stars, line, stars};
}

QStringList skipBlock(const QString& skipMessage, const QString& folder)
{
    return framed(skipMessage + folder + QStringLiteral(" *"));
}

QByteArray blockFor(Mode mode, const FolderOutcome& outcome)
{
    if (!outcome.skipMessage.isEmpty())
        return ReportText::encodeLines(skipBlock(outcome.skipMessage, outcome.folder));
    if (!outcome.reportWritten)
        return {};
    if (mode == Mode::ErrorsOnly && !outcome.reportErrors)
        return {};
    return outcome.report;
}

QByteArray combine(const QString& root, Mode mode, const QString& date, const QString& time,
                   const QList<FolderOutcome>& outcomes)
{
    const QByteArray header = ReportText::encodeLines(framed(headerText(root, mode, date, time)));
    QList<QByteArray> blocks;
    blocks.reserve(outcomes.size());
    qsizetype size = header.size();
    for (const FolderOutcome& outcome : outcomes) {
        blocks.append(blockFor(mode, outcome));
        size += blocks.back().size();
    }
    // Reports of thousands of folders: one allocation, not one per doubling.
    QByteArray out;
    out.reserve(size);
    out += header;
    for (const QByteArray& block : blocks)
        out += block;
    return out;
}

QStringList foldersBelow(const QString& root)
{
    QStringList out;
    if (root.isEmpty())
        return out;
    for (const QString& name : platform::paths::matchEntries(root, u"*", platform::paths::EntryKind::Dirs))
        out.append(platform::paths::join(root, name));
    return out;
}

bool removeFolderLog(const QString& folder)
{
    bool removed = false;
    for (const QString& name :
         platform::paths::matchEntries(folder, u"zibcheck.log", platform::paths::EntryKind::Files))
        removed = platform::fileio::remove(platform::paths::join(folder, name)) || removed;
    return removed;
}

platform::fileio::Result write(const QString& path, const QByteArray& bytes)
{
    return platform::fileio::writeNew(path, bytes);
}

} // namespace BatchReport
