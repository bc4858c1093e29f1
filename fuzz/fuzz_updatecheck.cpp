// Feeds arbitrary bytes to the update check as the downloaded version file.
// The lines it takes must be the file's lines 2 and 3 (line ends CR LF, CR or
// LF), trimmed; the version comparison must be consistent both ways; the
// address it would open must be a web address or the fallback.
#include "FuzzSupport.h"

#include "about/UpdateCheck.h"
#include "platform/Cp1252.h"

#include <QRegularExpression>

using fuzz::check;
namespace uc = updatecheck;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes = fuzz::bytesOf(data, size);
    const uc::VersionFile file = uc::parseVersionFile(bytes);

    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = platform::cp1252::decode(bytes).split(lineEnd);
    if (lines.last().isEmpty()) // the text after the last line end is a line only when it is not empty
        lines.removeLast();
    check(file.lineCount == qMin<qsizetype>(3, lines.size()), "the version file's lines are miscounted");
    check(file.webVersion == (lines.size() > 1 ? lines[1].trimmed() : QString()),
          "the web version is not line 2");
    check(file.downloadAddress == (lines.size() > 2 ? lines[2].trimmed() : QString()),
          "the download address is not line 3");

    const QString current = QStringLiteral("1.0.0");
    const uc::Comparison result = uc::resultOf(file, current);
    check(file.lineCount == 3 || result == uc::Comparison::Unreadable, "a short version file is read");
    check(!uc::resultText(result).isEmpty(), "a result has no text");
    check(uc::versionsText(current, file.webVersion).endsWith(file.webVersion),
          "the web version is not shown");

    const uc::Comparison self = uc::compareVersions(file.webVersion, file.webVersion);
    const bool parts = file.webVersion.count(u'.') >= 2;
    check(self == (parts ? uc::Comparison::Same : uc::Comparison::Unreadable),
          "a version differs from itself");
    for (const QString& other :
         {current, file.downloadAddress, QString(file.webVersion + QStringLiteral(".1"))}) {
        const uc::Comparison there = uc::compareVersions(file.webVersion, other);
        const uc::Comparison back = uc::compareVersions(other, file.webVersion);
        check((there == uc::Comparison::Newer) == (back == uc::Comparison::Ahead) &&
                  (there == uc::Comparison::Same) == (back == uc::Comparison::Same),
              "comparing two versions both ways disagrees");
    }
    for (const QString& part : file.webVersion.split(u'.')) {
        const qint64 n = uc::numericValue(part);
        check(n >= 0 && n <= 999'999'999, "a version part's value is out of range");
    }

    const QString fallback = QStringLiteral("https://example.org/");
    const QString open = uc::addressToOpen(file.downloadAddress, fallback);
    check(open == fallback || (uc::isWebAddress(open) && open == file.downloadAddress.trimmed()),
          "the update would open an address that is no web address");

    if (const std::optional<int> week = uc::storedWeek(file.webVersion)) {
        check(*week >= -32768 && *week <= 32767, "a stored week is out of range");
        check(!uc::checkDue(file.webVersion, *week), "a check is due in the stored week");
    }
    return 0;
}
