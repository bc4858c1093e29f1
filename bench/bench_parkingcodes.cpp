// Times the reading of the bundled parking-code list (data/parkingspecs.mdb),
// which the parking-code picker does each time it opens, from the call to the
// airline rows in memory. The read runs the Access reader fernquill-mdbread
// as a process of its own; for comparison, the start and end of a process
// that does nothing (/bin/true) on the same machine.
//
// Usage: bench_parkingcodes [runs]   (default 21)
#include "BenchCommon.h"

#include "editing/ParkingCodes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const bench::Scratch scratch;
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const QString database = QString::fromUtf8(FQ_SOURCE_DIR "/data/parkingspecs.mdb");

    ParkingCodes::Listing first = ParkingCodes::readDatabase(database); // warms the page cache
    if (!first.ok) {
        std::fprintf(stderr, "bench_parkingcodes: %s\n", qPrintable(first.error));
        return 1;
    }
    std::vector<double> times;
    QElapsedTimer t;
    bool same = true;
    for (int i = 0; i < runs; ++i) {
        t.start();
        const ParkingCodes::Listing listing = ParkingCodes::readDatabase(database);
        times.push_back(t.nsecsElapsed() / 1e6);
        same = same && listing.ok && listing.rows.size() == first.rows.size();
    }
    const double ms = bench::median(times);
    // The picker opens on a click: a tenth of a second goes unnoticed.
    bench::result(
        QStringLiteral("parking-code list read (%1 rows, median of %2)").arg(first.rows.size()).arg(runs),
        QStringLiteral("%1 ms").arg(ms, 0, 'f', 2), QStringLiteral("<= 100 ms"), same && ms <= 100.0);

    std::vector<double> bare;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        t.start();
        process.start(QStringLiteral("/bin/true"), QStringList{});
        process.waitForFinished();
        bare.push_back(t.nsecsElapsed() / 1e6);
    }
    bench::result(QStringLiteral("a process that does nothing (/bin/true, median of %1)").arg(runs),
                  QStringLiteral("%1 ms").arg(bench::median(bare), 0, 'f', 2), QStringLiteral("-"), true,
                  QStringLiteral("info"));
    return same ? 0 : 1;
}
