// Validates generated aircraft folders (50 entries, 20 texture folders, 5
// models each) over and over, the way a batch validation goes from folder to
// folder, and prints folders per second. Build it in Release without
// sanitizers for figures worth comparing.
#include "validation/FolderValidation.h"
#include "validation/ValidationReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

void put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::abort();
}

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
    put(ac + "/aircraft.cfg", cfg);
    put(ac + "/B738.air", QByteArray(4096, 'a'));
    for (int t = 0; t < 20; ++t) {
        const QString dir = ac + QStringLiteral("/Texture.L%1").arg(t);
        for (const char* f : {"fuse.bmp", "wing.bmp", "tail.bmp", "thumbnail.jpg"})
            put(dir + u'/' + QLatin1String(f), "x");
    }
    put(ac + "/texture.unused/fuse.bmp", "x");
    for (int m = 0; m < 5; ++m) {
        const QString dir = ac + QStringLiteral("/Model.M%1").arg(m);
        put(dir + "/Model.cfg", "[models]\r\nnormal=B738_" + QByteArray::number(m) + "\r\n");
        put(dir + QStringLiteral("/B738_%1.mdl").arg(m), QByteArray(1024, 'm'));
    }
    QDir().mkpath(ac + "/panel");
    return ac;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    if (!tmp.isValid())
        return 1;
    const int folders = 8;
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 50;

    QStringList airlines;
    for (int i = 0; i < 2000; ++i)
        airlines << QStringLiteral("AIRLINE%1").arg(i);
    airlines << QStringLiteral("BRACKENHOLD");
    const QString effects = tmp.path() + "/Effects";
    for (const char* f : {"fx_wake.fx", "fx_spray.fx", "fx_tchdrt.fx", "fx_engstrt.fx"})
        put(effects + u'/' + QLatin1String(f), "x");

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
    return 0;
}
