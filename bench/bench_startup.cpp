// Times the program's start-up up to the shown main window with the sample
// Wine prefix (examples/) and with the same prefix whose system.reg has grown
// to 20 MB, as in prefixes with many programs installed. Both kinds alternate
// in one run; each start-up reads the registry afresh.
//
// Usage: bench_startup [runs]   (default 7 of each)
#include "BenchCommon.h"

#include "mainwindow/frm_Main.h"
#include "shared/modSettings.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Start-up with `prefix`, in ms, up to the window being shown and painted.
double startUp(const QString& prefix, int run)
{
    // New file times: the registry files count as changed and are read again.
    const QDateTime stamp = QDateTime::currentDateTime().addSecs(run);
    for (const char* name : {"/system.reg", "/user.reg"}) {
        QFile f(prefix + QLatin1String(name));
        if (!f.open(QIODevice::ReadWrite) || !f.setFileTime(stamp, QFileDevice::FileModificationTime))
            qFatal("cannot touch %s", qPrintable(f.fileName()));
    }
    qputenv("WINEPREFIX", QFile::encodeName(prefix));
    QApplication::processEvents();

    QElapsedTimer t;
    t.start();
    auto w = std::make_unique<frm_Main>();
    w->Form_Load();
    w->show();
    while (!w->windowHandle() || !w->windowHandle()->isExposed())
        QApplication::processEvents();
    QApplication::processEvents();
    const double ms = t.nsecsElapsed() / 1e6;
    if (!w->isVisible())
        qFatal("the main window did not show");
    w.reset();
    QApplication::processEvents();
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    const bench::Scratch scratch;
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    // No weekly update check: its window would wait for a click.
    modSettings::SaveSetting(QStringLiteral("AutoUpdate"), QStringLiteral("0"));

    const QString sample = scratch.path() + "/sample";
    const QString big = scratch.path() + "/big";
    bench::copySamplePrefix(sample);
    bench::copySamplePrefix(big);
    {
        QFile f(big + "/system.reg");
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        QByteArray text = f.readAll();
        f.close();
        bench::appendRegistryBulk(text, 20'000'000);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text) != text.size())
            return 1;
    }

    startUp(sample, 0); // the first window of the process pays for fonts and styles
    startUp(big, 0);
    std::vector<double> small, large;
    for (int r = 1; r <= runs; ++r) {
        small.push_back(startUp(sample, r));
        large.push_back(startUp(big, r));
    }
    const double s = bench::median(small);
    const double l = bench::median(large);
    std::printf("start-up to the shown window, median of %d: sample prefix %.1f ms, 20 MB system.reg %.1f ms "
                "(ratio %.2f)\n",
                runs, s, l, l / s);
    bench::result("start-up with 20 MB system.reg / sample prefix",
                  QStringLiteral("%1x (%2 ms vs %3 ms)").arg(l / s, 0, 'f', 2).arg(l, 0, 'f', 1).arg(s, 0, 'f', 1),
                  QStringLiteral("<= 2x"), l / s <= 2.0);
    return l / s <= 2.0 ? 0 : 1;
}
