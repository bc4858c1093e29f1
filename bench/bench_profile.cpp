// Reads every key of generated aircraft.cfg files through clsIniFile, the way
// the folder load does, and prints the time per file and per key.
#include "platform/ProfileEngine.h"
#include "shared/clsIniFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QByteArray makeCfg(int entries)
{
    QByteArray out = "[General]\r\natc_type=BOEING\r\natc_model=B738\r\n\r\n";
    for (int i = 0; i < entries; ++i) {
        const QByteArray n = QByteArray::number(i);
        out += "[fltsim." + n + "]\r\ntitle=Brackenhold 737-800 livery " + n +
               "\r\nsim=B738\r\nmodel=\r\npanel=\r\nsound=\r\ntexture=L" + n +
               "\r\nkb_checklists=\r\nkb_reference=\r\natc_id=N" + n +
               "BH\r\natc_airline=BRACKENHOLD\r\natc_flight_number=" + n +
               "\r\natc_heavy=0\r\natc_parking_types=GATE,RAMP\r\natc_parking_codes=BHA\r\n"
               "ui_manufacturer=Boeing\r\nui_type=737-800\r\nui_variation=Livery " + n +
               "\r\nui_typerole=Commercial Airliner\r\nui_createdby=Brackenhold\r\n"
               "description=Sample entry // generated\r\n\r\n";
    }
    out += "[effects]\r\nwake=fx_wake\r\nwater=fx_spray\r\n\r\n[exits]\r\nexit.0=0.4, 27.0, -4.0, 4.5, 0\r\n";
    return out;
}

// One full read: every section, every key, every value.
int readAll(clsIniFile& ini)
{
    QStringList sections;
    qint32 count = 0;
    ini.EnumerateAllSections(sections, count);
    int keys = 0;
    for (const QString& s : sections) {
        ini.setSection(s);
        QStringList names;
        qint32 n = 0;
        ini.EnumerateCurrentSection(names, n);
        for (const QString& k : names) {
            ini.setKey(k);
            (void)ini.Value();
            ++keys;
        }
    }
    return keys;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    std::printf("%8s %8s %14s %14s %14s\n", "entries", "keys", "first ms", "warm ms", "us/key (warm)");
    for (int entries : {10, 100, 1000}) {
        const QString path = tmp.path() + QStringLiteral("/aircraft_%1.cfg").arg(entries);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(makeCfg(entries));
        f.close();
        clsIniFile ini;
        ini.setPath(path);

        platform::profile::clearCache();
        QElapsedTimer t;
        t.start();
        const int keys = readAll(ini);
        const double first = t.nsecsElapsed() / 1e6;

        const int rounds = entries >= 1000 ? 5 : 20;
        t.restart();
        for (int r = 0; r < rounds; ++r)
            readAll(ini);
        const double warm = t.nsecsElapsed() / 1e6 / rounds;
        std::printf("%8d %8d %14.2f %14.2f %14.2f\n", entries, keys, first, warm, warm * 1000.0 / keys);
    }
    return 0;
}
