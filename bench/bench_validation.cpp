// Validates generated aircraft folders (50 entries, 20 texture folders, 5
// models each) over and over, the way a batch validation goes from folder to
// folder, and prints folders per second. Then runs the batch validation
// window itself (folder load, validation, report) over 2,000 generated
// folders below one root with a warm file cache (median of three runs).
// Build it in Release without sanitizers for figures worth comparing.
//
// Usage: bench_validation [rounds] [batch folders]   (defaults: 50, 2000)
#include "BenchCommon.h"

#include "mainwindow/frm_Main.h"
#include "mainwindow/frm_MainUi.h"
#include "mainwindow/widgets/DirList.h"
#include "shared/Globals.h"
#include "shared/modSettings.h"
#include "validation/FolderValidation.h"
#include "validation/ValidationReport.h"
#include "validation/frm_ValidateAll.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

QString makeAircraft(const QString& root, int index)
{
    const QString ac = root + QStringLiteral("/Aircraft %1").arg(index);
    QByteArray cfg = "[General]\r\natc_type=BOEING\r\natc_model=B738\r\n\r\n";
    for (int i = 0; i < 50; ++i) {
        const QByteArray n = QByteArray::number(i);
        cfg += "[fltsim." + n + "]\r\ntitle=Brackenhold 737-800 livery " + n + "\r\nsim=B738\r\nmodel=M" +
               QByteArray::number(i % 5) + "\r\npanel=\r\nsound=\r\ntexture=L" + QByteArray::number(i % 20) +
               "\r\natc_id=N" + n + "BH\r\natc_airline=" + (i % 7 == 0 ? "UNKNOWNAIR" : "BRACKENHOLD") +
               "\r\natc_flight_number=" + n +
               "\r\natc_parking_types=GATE,RAMP\r\nui_manufacturer=Boeing\r\n"
               "ui_type=737-800\r\nui_variation=Livery " +
               n + "\r\ndescription=Sample entry // generated\r\n\r\n";
    }
    cfg += "[effects]\r\nwake=1\r\nwater=fx_spray\r\ndirt=1\r\nconcrete=1\r\ntouchdown=fx_tchdwn, 1\r\n"
           "contrail=fx_contrail_l\r\nstartup=1\r\nwindshield_rain_effect_available=1\r\n";
    bench::writeFile(ac + "/aircraft.cfg", cfg);
    bench::writeFile(ac + "/B738.air", QByteArray(4096, 'a'));
    for (int t = 0; t < 20; ++t) {
        const QString dir = ac + QStringLiteral("/Texture.L%1").arg(t);
        for (const char* f : {"fuse.bmp", "wing.bmp", "tail.bmp", "thumbnail.jpg"})
            bench::writeFile(dir + u'/' + QLatin1String(f), "x");
    }
    bench::writeFile(ac + "/texture.unused/fuse.bmp", "x");
    for (int m = 0; m < 5; ++m) {
        const QString dir = ac + QStringLiteral("/Model.M%1").arg(m);
        bench::writeFile(dir + "/Model.cfg", "[models]\r\nnormal=B738_" + QByteArray::number(m) + "\r\n");
        bench::writeFile(dir + QStringLiteral("/B738_%1.mdl").arg(m), QByteArray(1024, 'm'));
    }
    QDir().mkpath(ac + "/panel");
    return ac;
}


// The batch validation window run over `count` folders below a root, as the
// user starts it from the main window; folders per second.
double batchFoldersPerSecond(const QString& scratch, int count, bool* reportOk)
{
    const QString prefix = scratch + "/prefix";
    bench::copySamplePrefix(prefix);
    qputenv("WINEPREFIX", QFile::encodeName(prefix));
    modSettings::SaveSetting(QStringLiteral("AutoUpdate"), QStringLiteral("0"));
    modSettings::SaveSetting(QStringLiteral("Editor"), QStringLiteral("1"));

    const QString warmRoot = scratch + "/warm";
    const QString root = scratch + "/pack";
    for (int i = 0; i < 20; ++i)
        bench::makeSmallAircraft(warmRoot + QStringLiteral("/Aircraft %1").arg(i), i);
    for (int i = 0; i < count; ++i)
        bench::makeSmallAircraft(root + QStringLiteral("/Aircraft %1").arg(i, 4, 10, QLatin1Char('0')), i);

    frm_Main w;
    w.Form_Load();
    w.show();
    QApplication::processEvents();
    globals::gbUseEditor = true; // the combined report opens in the program's own editor

    // A warm-up over a few folders, then the timed runs over all of them: the
    // median of three, as one run on a shared machine can be slowed by others.
    const auto run = [&w](const QString& r) {
        w.ui.Dir1->setPath(r);
        QApplication::processEvents();
        frm_ValidateAll* batch = frm_ValidateAll::showWindow(&w);
        QApplication::processEvents();
        QElapsedTimer t;
        t.start();
        batch->cmdStart_Click();
        const double s = static_cast<double>(t.nsecsElapsed()) / 1e9;
        batch->close();
        QApplication::processEvents();
        return s;
    };
    run(warmRoot);
    std::vector<double> runs;
    for (int i = 0; i < 3; ++i) {
        runs.push_back(run(root));
        std::printf("  run %d: %.2f s\n", i + 1, runs.back());
    }
    const double seconds = bench::median(runs);
    QByteArray report;
    QFile f(globals::gsTempPath + QStringLiteral("zibcheckall.log"));
    const auto folderName = [](int i) { return QStringLiteral("Aircraft %1").arg(i, 4, 10, QLatin1Char('0')); };
    *reportOk = f.open(QIODevice::ReadOnly) && (report = f.readAll()).contains(folderName(0).toUtf8()) &&
                report.contains(folderName(count - 1).toUtf8());
    std::printf("batch validation of %d folders (4 entries each): %.2f s, %.0f folders per second, report %lld "
                "bytes\n",
                count, seconds, count / seconds, static_cast<long long>(report.size()));
    return count / seconds;
}

} // namespace

int main(int argc, char** argv)
{
    const bench::Scratch tmp;
    QApplication app(argc, argv);
    const int folders = 8;
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 50;
    const int batchFolders = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2000;

    QStringList airlines;
    for (int i = 0; i < 2000; ++i)
        airlines << QStringLiteral("AIRLINE%1").arg(i);
    airlines << QStringLiteral("BRACKENHOLD");
    const QString effects = tmp.path() + "/Effects";
    for (const char* f : {"fx_wake.fx", "fx_spray.fx", "fx_tchdrt.fx", "fx_engstrt.fx"})
        bench::writeFile(effects + u'/' + QLatin1String(f), "x");

    QList<FolderValidation::Input> inputs;
    for (int i = 0; i < folders; ++i) {
        FolderValidation::Input in;
        in.aircraftFolder = makeAircraft(tmp.path(), i);
        in.aircraftCfg = in.aircraftFolder + "/aircraft.cfg";
        for (int f = 0; f < FolderValidation::kFlagCount; ++f)
            in.flags << QStringLiteral("1");
        in.airlinesFound = true;
        in.airlineLines = airlines;
        in.effectsFolder = effects;
        inputs.append(in);
    }

    qsizetype bytes = 0;
    QElapsedTimer timer;
    timer.start();
    int done = 0;
    for (int r = 0; r < rounds; ++r) {
        for (const FolderValidation::Input& in : inputs) {
            const FolderValidation::Result result = FolderValidation::validate(in);
            if (result.status != FolderValidation::Status::Ok) {
                std::fprintf(stderr, "validation failed: %s\n", qPrintable(result.error));
                return 1;
            }
            bytes += ValidationReport::build(result, QStringLiteral("01/02/2024"), QStringLiteral("13:45"))
                         .bytes.size();
            ++done;
        }
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    std::printf("%d folders in %.3f s: %.1f folders per second (%.2f ms each, report %lld bytes)\n", done,
                seconds, done / seconds, 1000.0 * seconds / done, static_cast<long long>(bytes / done));

    bool reportOk = false;
    const double perSecond = batchFoldersPerSecond(tmp.path() + "/batch", batchFolders, &reportOk);
    if (!reportOk)
        std::printf("  the combined report misses folders\n");
    const bool ok = reportOk && perSecond >= 1000.0;
    bench::result("batch validation, warm cache", QStringLiteral("%1 folders/s").arg(perSecond, 0, 'f', 0),
                  QStringLiteral(">= 1000 folders/s"), ok);
    return ok ? 0 : 1;
}
