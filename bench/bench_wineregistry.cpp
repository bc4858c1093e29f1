// Times the reading of generated registry files the size of a fresh Wine 8
// prefix's system.reg (1.7 MB) and of a prefix with many programs (20 MB)
// against a plain read of the same bytes, and the cached second read that
// start-up relies on. "Reading" is the parse plus the look-ups start-up makes.
//
// Usage: bench_wineregistry [runs]   (default 21)
#include "BenchCommon.h"

#include "platform/WineRegistry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using platform::wine::WineRegistry;

namespace {

const QByteArray kHead = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";

const QByteArray kSimulators =
    "[Software\\\\Wow6432Node\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\10.0] 1700000000\n"
    "#time=1da2b3c4d5e6f70\n"
    "\"SetupPath\"=\"C:\\\\Program Files (x86)\\\\Microsoft Games\\\\Microsoft Flight Simulator X\\\\\"\n\n"
    "[Software\\\\Wow6432Node\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\9.0] 1700000000\n"
    "#time=1da2b3c4d5e6f70\n"
    "\"EXE Path\"=\"C:\\\\Program Files (x86)\\\\Microsoft Games\\\\Flight Simulator 9\"\n\n"
    "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1700000000\n#time=1da2b3c4d5e6f70\n"
    "\"CurrentVersion\"=\"6.1\"\n\"ProductName\"=\"Windows 7 Professional\"\n\n";

// What start-up asks of system.reg: both simulators and the Windows version.
bool lookups(const WineRegistry& reg)
{
    const auto text = [&reg](const char* key, const char* name) {
        const auto* k = reg.key(QString::fromLatin1(key));
        const auto* v = k ? k->value(QString::fromLatin1(name)) : nullptr;
        return v ? v->toText() : QString();
    };
    return reg.isWin64() &&
           !text("SOFTWARE\\Wow6432Node\\Microsoft\\Microsoft Games\\Flight Simulator\\10.0", "SetupPath")
                .isEmpty() &&
           !text("SOFTWARE\\Wow6432Node\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0", "EXE Path")
                .isEmpty() &&
           !text("Software\\Microsoft\\Windows NT\\CurrentVersion", "ProductName").isEmpty() &&
           !reg.key(u"System\\CurrentControlSet\\Control\\ProductOptions");
}

// Median times of a plain read and of a registry read of one file; false
// when the registry read misses a value.
bool measure(const char* label, const QString& path, int runs, double& plainMs, double& regMs, qsizetype& keys)
{
    std::vector<double> plain, reg;
    QElapsedTimer t;
    bool ok = true;
    // The plain read copies the bytes from the page cache into memory the
    // process already has: a fresh buffer each time would add the cost of
    // the kernel handing out new pages, which varies from run to run.
    QByteArray buffer(QFileInfo(path).size(), '\0');
    for (int r = 0; r < runs; ++r) {
        t.start();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        const qint64 got = f.read(buffer.data(), buffer.size());
        plain.push_back(t.nsecsElapsed() / 1e6);
        if (got != buffer.size())
            return false;

        t.start();
        const WineRegistry parsed = WineRegistry::load(path);
        ok = ok && lookups(parsed);
        reg.push_back(t.nsecsElapsed() / 1e6);
        keys = parsed.keyCount();
    }
    plainMs = bench::median(plain);
    regMs = bench::median(reg);
    std::printf("%-8s %10.2f MB %8lld keys: plain read %8.3f ms, registry read %8.3f ms, ratio %6.1f\n", label,
                QFileInfo(path).size() / 1e6, static_cast<long long>(keys), plainMs, regMs, regMs / plainMs);
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    QTemporaryDir tmp;
    if (!tmp.isValid())
        return 1;

    struct Size
    {
        const char* label;
        const char* figure;
        qsizetype bytes;
    };
    const Size sizes[] = {{"1.7 MB", "registry read 1.7 MB / plain read", 1'700'000},
                          {"20 MB", "registry read 20 MB / plain read", 20'000'000}};
    bool allOk = true;
    for (const Size& s : sizes) {
        QByteArray text = kHead + kSimulators;
        bench::appendRegistryBulk(text, s.bytes);
        const QString path = tmp.path() + QStringLiteral("/system-%1.reg").arg(s.bytes);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
            return 1;
        f.close();

        double plainMs = 0, regMs = 0;
        qsizetype keys = 0;
        const bool found = measure(s.label, path, s.bytes > 10'000'000 ? std::max(3, runs / 3) : runs, plainMs,
                                   regMs, keys);
        if (!found)
            std::printf("  the registry read missed a value it should find\n");
        const double ratio = regMs / plainMs;
        const bool ok = found && ratio <= 20.0;
        allOk = allOk && ok;
        bench::result(s.figure, QStringLiteral("%1x (%2 ms vs %3 ms)").arg(ratio, 0, 'f', 1).arg(regMs, 0, 'f', 2).arg(plainMs, 0, 'f', 2),
                      QStringLiteral("<= 20x"), ok);

        // The cached read start-up makes a second time.
        const auto first = WineRegistry::loadCached(path);
        QElapsedTimer t;
        t.start();
        const auto second = WineRegistry::loadCached(path);
        std::printf("         cached second read %.3f ms%s\n", t.nsecsElapsed() / 1e6,
                    first == second ? "" : " (cache missed!)");
    }
    return allOk ? 0 : 1;
}
