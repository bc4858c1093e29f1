#include "validation/ValidationReport.h"

#include "validation/AnalyzeOptions.h"
#include "validation/ReportText.h"

#include <QLocale>

#include <array>
#include <initializer_list>

namespace ValidationReport {

using FolderValidation::Result;

namespace {

const QString kZero = QStringLiteral("0");

bool isPlaceholder(const QStringList& list)
{
    return list.isEmpty() || (list.size() == 1 && list[0] == kZero);
}

// Collects the lines and notes whether a finding was printed.
class Printer
{
public:
    explicit Printer(const Result& r) : m_r(r) {}

    double value(int flag) const
    {
        return AnalyzeOptions::flagValue(m_r.flags, flag);
    }
    bool on(int flag) const { return AnalyzeOptions::isOn(m_r.flags, flag); }

    void line(const QString& text) { m_lines.append(text); }

    // Label and the number of items, then every item indented; "0" alone
    // when the list is empty.
    void countForm(const QString& text, const QStringList& items)
    {
        line(label(text) + QString::number(items.size()));
        for (const QString& item : items)
            line(QString(kLabelWidth, u' ') + item);
        if (!items.isEmpty())
            m_errors = true;
    }

    // Label and the first item, every further item indented below it; an
    // empty list holds the item "0". `note` ends every line.
    void firstItemForm(const QString& text, const QStringList& items, const QString& note = {})
    {
        const QStringList shown = items.isEmpty() ? QStringList{kZero} : items;
        line(label(text) + shown[0] + note);
        for (qsizetype i = 1; i < shown.size(); ++i)
            line(QString(kLabelWidth, u' ') + shown[i] + note);
        if (!isPlaceholder(items))
            m_errors = true;
    }

    // Every item after its own label; the label and "0" for an empty list.
    void labelPerLine(const QString& text, const QStringList& items)
    {
        if (items.isEmpty()) {
            line(label(text) + kZero);
            return;
        }
        for (const QString& item : items)
            line(label(text) + item);
        m_errors = true;
    }

    // Label and "0" unless `found`; then the list in count form.
    void undefinedForm(const QString& text, bool found, const QStringList& items)
    {
        if (found)
            countForm(text, items);
        else
            line(label(text) + kZero);
    }

    void failed(const QString& text)
    {
        line(text);
        m_errors = true;
    }

    // The separator closes a group when the group printed something and at
    // least two options of the later blocks are on.
    void separatorRule(std::initializer_list<int> group, std::initializer_list<int> later,
                       const QString& separator)
    {
        bool any = false;
        for (int f : group)
            any = any || on(f);
        double sum = value(21) + value(22);
        for (int f : later)
            sum += value(f);
        if (any && sum > 1)
            line(separator);
    }

    QStringList lines() const { return m_lines; }
    bool errors() const { return m_errors; }

private:
    const Result& m_r;
    QStringList m_lines;
    bool m_errors = false;
};

} // namespace

QString label(const QString& text)
{
    return text.size() >= kLabelWidth ? text : text + QString(kLabelWidth - text.size(), u' ');
}

QString headerText(const QString& aircraftFolder, const QString& date, const QString& time)
{
    return ReportText::headerPrefix(date, time) + QStringLiteral("Report for \"") + aircraftFolder +
           QStringLiteral("\" *");
}

QString separatorLine(qsizetype headerLength)
{
    // Half the length, a half rounded to the even neighbour.
    qsizetype n = headerLength / 2;
    if (headerLength % 2 == 1 && n % 2 == 1)
        ++n;
    return QStringLiteral("-:").repeated(n);
}

QStringList buildLines(const Result& r, const QString& date, const QString& time, bool* reportErrors)
{
    Printer p(r);
    const QString h = headerText(r.aircraftFolderText, date, time);
    const QString stars(h.size(), u'*');
    const QString s = separatorLine(h.size());

    p.line(stars);
    p.line(h);
    p.line(stars);
    p.line(QString());

    // Group 1: entries.
    if (p.on(0)) {
        QString t = label(QStringLiteral("[fltsim.x] sections:")) + QString::number(r.entries.size());
        if (r.notInSequentialOrder)
            t += QStringLiteral("   ==> not in sequential order - consider renumbering");
        p.line(t);
    }
    if (p.on(17))
        p.undefinedForm(QStringLiteral("[fltsim.x] title undefined:"), r.undefinedTitleFound,
                        r.undefinedTitles);
    if (p.on(1)) {
        if (r.duplicateTitlesFound) {
            p.failed(label(QStringLiteral("[fltsim.x] title unique:")) + QStringLiteral("failed"));
            p.firstItemForm(QStringLiteral("[fltsim.x] title duplicate:"), r.duplicateTitles);
        } else {
            p.line(label(QStringLiteral("[fltsim.x] title unique:")) + QStringLiteral("passed"));
        }
    }
    if (p.on(2)) {
        if (r.misnumberedFound) {
            p.failed(label(QStringLiteral("[fltsim.x] sections numbering:")) +
                     QStringLiteral("failed (duplicates will cause title unique errors above)"));
            p.firstItemForm(QStringLiteral("[fltsim.x] sections misnumbered:"), r.misnumbered);
        } else {
            p.line(label(QStringLiteral("[fltsim.x] sections numbering:")) + QStringLiteral("passed"));
        }
    }
    p.separatorRule({0, 17, 1, 2}, {12, 18, 15, 14, 16, 13, 6, 19, 8, 7, 3, 20, 5, 4, 9, 10, 11}, s);

    // Group 2: textures.
    if (p.on(12))
        p.line(label(QStringLiteral("Textures found in folder:")) + QString::number(r.texturesFound));
    if (p.on(18))
        p.undefinedForm(QStringLiteral("Textures undefined in [fltsim.x]:"), r.undefinedTextureFound,
                        r.undefinedTextures);
    if (p.on(15)) {
        if (!isPlaceholder(r.missingTextures))
            p.countForm(QStringLiteral("Textures missing in folder:"), r.missingTextures);
        else
            p.line(label(QStringLiteral("Textures missing in folder:")) + kZero);
    }
    if (p.on(14))
        p.firstItemForm(QStringLiteral("Textures unused in folder:"), r.unusedTextures, r.aliasingNote);
    if (p.on(16))
        p.firstItemForm(QStringLiteral("Textures used more than once:"), r.texturesUsedMoreThanOnce);
    if (p.on(13))
        p.line(label(QStringLiteral("Texture format:")) + r.textureFormat);
    p.separatorRule({12, 18, 15, 14, 16, 13}, {6, 19, 8, 7, 3, 20, 5, 4, 9, 10, 11}, s);

    // Group 3: models.
    if (p.on(6))
        p.line(label(QStringLiteral("Models found in folder:")) + QString::number(r.modelsFound));
    if (p.on(19))
        p.undefinedForm(QStringLiteral("Models undefined in [fltsim.x]:"), r.undefinedModelFound,
                        r.undefinedModels);
    if (p.on(8))
        p.firstItemForm(QStringLiteral("Models missing in folder:"), r.missingModels);
    if (p.on(7))
        p.firstItemForm(QStringLiteral("Models unused in folder:"), r.unusedModels);
    p.separatorRule({6, 19, 8, 7}, {3, 20, 5, 4, 9, 10, 11}, s);

    // Group 4: air files.
    if (p.on(3))
        p.line(label(QStringLiteral("Airfiles found in folder:")) + QString::number(r.airFilesFound));
    if (p.on(20))
        p.undefinedForm(QStringLiteral("Airfiles undefined in [fltsim.x]:"), r.undefinedAirFileFound,
                        r.undefinedAirFiles);
    if (p.on(5))
        p.firstItemForm(QStringLiteral("Airfiles missing in folder:"), r.missingAirFiles);
    if (p.on(4))
        p.firstItemForm(QStringLiteral("Airfiles unused in folder:"), r.unusedAirFiles);
    p.separatorRule({3, 20, 5, 4}, {9, 10, 11}, s);

    // Group 5: airlines.
    if (p.on(9) || p.on(10) || p.on(11))
        p.line(label(QStringLiteral("atc_airlines compared against:")) +
               FolderValidation::simulatorName(r.simulator));
    if (p.on(9))
        p.line(label(QStringLiteral("atc_airlines found:")) + QString::number(r.airlinesFound));
    if (p.on(10))
        p.undefinedForm(QStringLiteral("atc_airlines undefined [fltsim.x]:"), r.airlineKeyRead,
                        r.airlinesWithoutValue);
    if (p.on(11))
        p.countForm(QStringLiteral("atc_airlines unknown:"), r.unknownAirlines);
    p.separatorRule({9, 10, 11}, {}, s);

    // Effects and empty folders.
    if (p.on(21))
        p.labelPerLine(QStringLiteral("Missing effect files:"), r.missingEffectFiles);
    if (p.on(22)) {
        p.line(s);
        p.labelPerLine(QStringLiteral("Empty folders found:"), r.emptyFolders);
    }
    // A texture.cfg or Model.cfg that still starts with a byte-order mark the
    // run could not remove is always told, whatever the options.
    if (!r.marksKept.isEmpty())
        p.labelPerLine(QStringLiteral("Byte-order mark not removed:"), r.marksKept);

    p.line(QString());
    p.line(stars);
    if (reportErrors)
        *reportErrors = p.errors();
    return p.lines();
}

Report build(const Result& result, const QString& date, const QString& time)
{
    Report report;
    report.bytes = ReportText::encodeLines(buildLines(result, date, time, &report.reportErrors));
    return report;
}

DateTimeTexts nowTexts(const QDateTime& moment)
{
    const QLocale system = QLocale::system();
    return {system.toString(moment.date(), QLocale::ShortFormat),
            system.toString(moment.time(), QLocale::ShortFormat)};
}

platform::fileio::Result writeReport(const QString& path, const QByteArray& bytes, bool durable)
{
    return platform::fileio::writeNew(path, bytes, durable);
}

QString unwrittenSkipMessage(const QString& error)
{
    return QStringLiteral("The report could not be written (") + error + QStringLiteral(") in folder ");
}

} // namespace ValidationReport
