// Times the main window's folder load (Dir1_Change) on generated aircraft
// folders of 10, 100 and 1,000 entries and prints the median time per load
// and per entry: with the file parsed afresh (as after opening a folder or
// writing it), with the parse cached, and including the repaint that shows it.
//
// The section names of aircraft.cfg are listed through the 8192-character
// buffer of the profile functions, so a file with more than about 750 entries
// shows only the first ones; the "rows" column says how many were shown and
// the times per entry are per row shown.
//
// Usage: bench_folderload [runs] [entries...]   (defaults: 9 runs; 10 100 750 1000)
#include "BenchCommon.h"
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/ListView.h"
#include "platform/ProfileEngine.h"
#include "shared/modSettings.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// An entry as aircraft makers write them: about twenty keys, a description,
// a texture folder of its own among a few shared ones.
QByteArray entry(int i)
{
    const QByteArray n = QByteArray::number(i);
    const QByteArray texture = i % 7 == 0 ? QByteArray() : QByteArray::number(i % 5);
    const QByteArray model = i % 3 == 0 ? QByteArray("cargo") : QByteArray();
    return "[fltsim." + n + "]\r\ntitle=Heather Jet 100 livery " + n +
           " //house\r\nsim=HJ100\r\nmodel=" + model + "\r\npanel=\r\nsound=\r\ntexture=" + texture +
           "\r\nkb_checklists=HJ100_check\r\nkb_reference=HJ100_ref\r\natc_id=HJ-" + n +
           "\r\natc_airline=HEATHER\r\natc_flight_number=" + n +
           "\r\natc_heavy=0\r\natc_parking_types=GATE,RAMP\r\natc_parking_codes=HJ,QC\r\n"
           "ui_manufacturer=Heather Aircraft\r\nui_type=HJ 100\r\nui_variation=Livery " +
           n +
           "\r\nui_typerole=Commercial Airliner\r\nui_createdby=Fernquill bench\r\n"
           "description=Short-haul twin, livery " +
           n +
           ". Seats 120 in two classes.\r\n"
           "atc_id_color=0xffffffff\r\nvisual_damage=1\r\n\r\n";
}

QByteArray mdl9()
{
    QByteArray b(64, '\x11');
    b.replace(0, 4, "RIFF");
    b.replace(8, 4, "MDL9");
    b[28] = char(40);
    return b;
}

QByteArray air()
{
    QByteArray b(12, '\0');
    qToLittleEndian<qint32>(0x105, b.data());
    qToLittleEndian<qint32>(4, b.data() + 4);
    qToLittleEndian<qint32>(0, b.data() + 8);
    return b + QByteArray(4096, '\0');
}

QString makeAircraft(const QString& folder, int entries)
{
    QByteArray cfg = "[General]\r\natc_type=HEATHER\r\natc_model=HJ1\r\nperformance=Cruise 450 kt\r\n\r\n";
    for (int i = 0; i < entries; ++i)
        cfg += entry(i);
    cfg += "[airplane_geometry]\r\nwing_span=112.6\r\nwing_area=1341.0\r\n\r\n"
           "[exits]\r\nnumber_of_exits=3\r\nexit.0=0.4, 27.0, -4.0, 4.5, 0 //Main door\r\n"
           "exit.1=0.4, -40.0, -4.0, 4.5, 0\r\nexit.2=0.5, 10.0, 4.0, 4.5, 1 //Cargo door\r\n\r\n"
           "[effects]\r\nwake=fx_wake\r\nwater=fx_spray\r\ndirt=fx_tchdrt\r\nconcrete=fx_sparks\r\n"
           "touchdown=fx_tchdwn, 1\r\ncontrail=fx_contrail_l\r\nstartup=fx_engstrt\r\n";
    bench::writeFile(folder + "/aircraft.cfg", cfg);
    bench::writeFile(folder + "/model/model.cfg", "[models]\r\nnormal=hj100.mdl\r\n");
    bench::writeFile(folder + "/model/hj100.mdl", mdl9());
    bench::writeFile(folder + "/model.cargo/model.cfg", "[models]\r\nnormal=hj100f.mdl\r\n");
    bench::writeFile(folder + "/model.cargo/hj100f.mdl", mdl9());
    bench::writeFile(folder + "/texture/texture.cfg", "[fltsim]\r\nfallback.1=..\\texture\r\n");
    for (int t = 0; t < 5; ++t)
        bench::writeFile(folder + QStringLiteral("/texture.%1/texture.cfg").arg(t),
                         "[fltsim]\r\nfallback.1=..\\texture\r\n");
    bench::writeFile(folder + "/HJ100.air", air());
    bench::writeFile(folder + "/panel/panel.cfg", "[Window Titles]\r\n");
    bench::writeFile(folder + "/sound/sound.cfg", "[Config]\r\n");
    return folder;
}

} // namespace

int main(int argc, char** argv)
{
    // The load saves the folder in the settings, and start-up reads them:
    // keep both away from the user's own settings and Wine prefix.
    const bench::Scratch scratch;

    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int runs = args.size() > 1 ? std::max(1, args.at(1).toInt()) : 9;
    std::vector<int> sizes;
    for (qsizetype i = 2; i < args.size(); ++i)
        sizes.push_back(args.at(i).toInt());
    if (sizes.empty())
        sizes = {10, 100, 750, 1000};

    // No weekly update check: its window would wait for a click.
    modSettings::SaveSetting(QStringLiteral("AutoUpdate"), QStringLiteral("0"));
    frm_Main w;
    w.Form_Load();
    w.show();
    QApplication::processEvents();

    std::printf("median of %d runs; 'fresh' parses aircraft.cfg anew, 'cached' reuses the parse\n", runs);
    std::printf("%8s %6s %10s %10s %14s %10s %10s %14s\n", "entries", "rows", "cfg bytes", "fresh ms",
                "fresh+show ms", "cached ms", "us/row", "us/row+show");
    std::fflush(stdout);
    double lastFreshShown = 0;
    int lastRows = 0;
    for (int entries : sizes) {
        const QString folder =
            makeAircraft(scratch.path() + QStringLiteral("/aircraft_%1").arg(entries), entries);
        w.ui.Dir1->setPath(folder); // the first load, not timed
        QApplication::processEvents();
        const int rows = w.ui.ListView1->rowCount();
        if (rows == 0)
            qFatal("nothing loaded from %s", qPrintable(folder));

        std::vector<double> fresh, freshShown, cached;
        QElapsedTimer t;
        for (int r = 0; r < runs; ++r) {
            platform::profile::clearCache();
            t.start();
            w.RunChange();
            fresh.push_back(t.nsecsElapsed() / 1e6);
            QApplication::processEvents(); // paints the grid and fields
            freshShown.push_back(t.nsecsElapsed() / 1e6);

            t.start();
            w.RunChange();
            cached.push_back(t.nsecsElapsed() / 1e6);
            QApplication::processEvents();
        }
        const double f = bench::median(fresh);
        const double fs = bench::median(freshShown);
        std::printf("%8d %6d %10lld %10.2f %14.2f %10.2f %10.1f %14.1f\n", entries, rows,
                    static_cast<long long>(QFileInfo(folder + "/aircraft.cfg").size()), f, fs,
                    bench::median(cached), f * 1000.0 / rows, fs * 1000.0 / rows);
        std::fflush(stdout);
        lastFreshShown = fs;
        lastRows = rows;
    }
    if (sizes.back() == 1000)
        std::printf("goal: 1,000 entries loaded and shown in under 150 ms: %s (%d rows shown, %.1f ms)\n",
                    lastFreshShown < 150.0 && lastRows == 1000 ? "met" : "MISSED", lastRows, lastFreshShown);
    return 0;
}
