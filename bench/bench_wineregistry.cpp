// Times the parse of a registry file the size of a busy 64-bit prefix's
// system.reg, and the cached second read start-up relies on.
#include "platform/WineRegistry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString path = tmp.path() + "/system.reg";
    QByteArray text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";
    for (int k = 0; k < 20000; ++k) {
        text +=
            "[Software\\\\Classes\\\\CLSID\\\\{" + QByteArray::number(k, 16).rightJustified(8, '0') +
            "-1234-5678-9ABC-DEF012345678}\\\\InprocServer32] 1796790195\n#time=1d9f3c2a8b7e6f0\n"
            "@=\"C:\\\\windows\\\\system32\\\\ole32.dll\"\n\"ThreadingModel\"=\"Both\"\n"
            "\"Blob\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\n  16,17,18\n\n";
    }
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
        return 1;
    f.close();

    QTextStream out(stdout);
    QElapsedTimer timer;
    timer.start();
    const auto first = platform::wine::WineRegistry::loadCached(path);
    const qint64 parseMs = timer.restart();
    const auto second = platform::wine::WineRegistry::loadCached(path);
    const qint64 cachedMs = timer.elapsed();
    out << "file " << text.size() / 1024 << " KiB, " << first->keyCount() << " keys: parse " << parseMs
        << " ms, cached read " << cachedMs << " ms" << (first == second ? "" : " (cache missed!)") << "\n";
    return 0;
}
