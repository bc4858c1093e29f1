// Helpers the benchmarks share: the machine-readable result line, a private
// scratch environment, and a generated system.reg the size of a busy Wine prefix's.
#pragma once

#include "shared/MessageBox.h"
#include "shared/modSettings.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace bench {

// One figure for bench/run-all: "RESULT<TAB>name<TAB>measured<TAB>goal<TAB>ok|FAIL<TAB>peak memory".
// `verdict` replaces ok/FAIL for a figure printed for information only;
// `memory` is the peak memory of the measured command, where it was taken.
inline void result(const QString& name, const QString& measured, const QString& goal, bool ok,
                   const QString& verdict = QString(), const QString& memory = QString())
{
    std::printf("RESULT\t%s\t%s\t%s\t%s\t%s\n", qPrintable(name), qPrintable(measured), qPrintable(goal),
                !verdict.isEmpty() ? qPrintable(verdict) : ok ? "ok" : "FAIL", qPrintable(memory));
    std::fflush(stdout);
}

// Bytes this process has read through read() and its kin so far (rchar of
// /proc/self/io); -1 when the kernel does not tell.
inline qint64 bytesReadByProcess()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n')) {
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    }
    return -1;
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// A temporary folder that holds the run's settings, runtime folder and Wine
// prefix, never the user's own. Made before the application, so that Qt and
// the settings store see them; a run without one ends with status 1.
class Scratch
{
public:
    Scratch()
    {
        if (!m_dir.isValid()) {
            std::fprintf(stderr, "cannot make a scratch folder\n");
            std::exit(1);
        }
        const QString scratch = m_dir.path();
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch + "/config"));
        qputenv("WINEPREFIX", QFile::encodeName(scratch + "/no-prefix"));
        if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
            QDir().mkpath(scratch + "/runtime");
            QFile::setPermissions(scratch + "/runtime",
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(scratch + "/runtime"));
        }
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// Writes `bytes` to `path`, making its folder first; a failed write ends the run.
inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(path.section(u'/', 0, -2));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// A copy of the sample Wine prefix of the source tree (examples/) at `to`.
inline void copySamplePrefix(const QString& to)
{
    QDir().mkpath(to.section(u'/', 0, -2));
    const QString from = QString::fromUtf8(FQ_SOURCE_DIR "/examples/wineprefix");
    if (QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), from, to}) != 0)
        qFatal("cannot copy the sample prefix to %s", qPrintable(to));
}

// Keys as a Wine 8 prefix's system.reg holds them, from COM classes to
// services and fonts: strings with escapes, str(2), str(7), dwords, hex lists
// over continuation lines, options lines. Appended to `out` until it holds
// `bytes` bytes; the keys' names are unique.
inline void appendRegistryBulk(QByteArray& out, qsizetype bytes)
{
    const auto hexList = [](int count, int seed, int firstLine) {
        // Wine breaks hex lists near 80 columns and indents the rest by two.
        QByteArray s;
        int column = firstLine;
        for (int i = 0; i < count; ++i) {
            s += QByteArray::number((seed * 31 + i * 7) & 0xFF, 16).rightJustified(2, '0');
            column += 3;
            if (i + 1 < count) {
                s += ',';
                if (column > 76) {
                    s += "\\\n  ";
                    column = 2;
                }
            }
        }
        return s;
    };
    for (int k = 0; out.size() < bytes; ++k) {
        const QByteArray n = QByteArray::number(k);
        const QByteArray guid = "{" + QByteArray::number(0x1000000u + k * 2654435761u % 0xEFFFFFFu, 16).toUpper() +
                                "-1234-5678-9ABC-DEF0" + QByteArray::number(k % 65536, 16).rightJustified(8, '0') + "}";
        switch (k % 8) {
        case 0:
        case 1:
            out += "[Software\\\\Classes\\\\CLSID\\\\" + guid + "] 1700000000\n#time=1da2b3c4d5e6f70\n@=\"Wine class " +
                   n + "\"\n\n[Software\\\\Classes\\\\CLSID\\\\" + guid +
                   "\\\\InprocServer32] 1700000000\n#time=1da2b3c4d5e6f70\n@=\"C:\\\\windows\\\\system32\\\\ole" +
                   n + ".dll\"\n\"ThreadingModel\"=\"Both\"\n\n";
            break;
        case 2:
            out += "[Software\\\\Classes\\\\Interface\\\\" + guid + "\\\\ProxyStubClsid32] 1700000000\n"
                   "#time=1da2b3c4d5e6f70\n@=\"" + guid + "\"\n\n";
            break;
        case 3:
            out += "[System\\\\CurrentControlSet\\\\Services\\\\Svc" + n + "] 1700000000\n#time=1da2b3c4d5e6f70\n"
                   "\"Description\"=\"Service \\\"" + n + "\\\" for caf\\xe9 \\x20ac tests\"\n"
                   "\"DisplayName\"=\"Svc" + n + "\"\n\"ErrorControl\"=dword:00000001\n"
                   "\"ImagePath\"=str(2):\"%SystemRoot%\\\\system32\\\\drivers\\\\svc" + n + ".sys\"\n"
                   "\"DependOnService\"=str(7):\"RPCSS\\0PlugPlay\\0\"\n"
                   "\"Start\"=dword:00000003\n\"Type\"=dword:00000001\n"
                   "\"FailureActions\"=hex:" + hexList(40, k, 20) + "\n\n";
            break;
        case 4:
            out += "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\Fonts\\\\Set" + n + "] 1700000000\n"
                   "#time=1da2b3c4d5e6f70\n\"Arial (TrueType)\"=\"arial.ttf\"\n\"Courier New (TrueType)\"=\"cour.ttf\"\n"
                   "\"Tahoma (TrueType)\"=\"tahoma.ttf\"\n\"Symbol (TrueType)\"=\"symbol.ttf\"\n\n";
            break;
        case 5:
            out += "[Software\\\\Wine\\\\Settings" + n + "\\\\Odd\\[Name\\]] 1700000000\n#time=1da2b3c4d5e6f70\n"
                   "#class=\"Wine\"\n\"Path\"=hex(2):" + hexList(60, k, 16) + "\n\"Qword\"=hex(b):" + hexList(8, k, 16) +
                   "\n\"List\"=hex(7):" + hexList(48, k, 16) + "\n\n";
            break;
        case 6:
            out += "[System\\\\CurrentControlSet\\\\Control\\\\Class\\\\" + guid + "\\\\" +
                   n.rightJustified(4, '0') + "] 1700000000\n#time=1da2b3c4d5e6f70\n"
                   "\"DriverDesc\"=\"Generic device " + n + "\"\n\"ProviderName\"=\"Wine\"\n"
                   "\"InfSection\"=\"Install\"\n\n";
            break;
        default:
            out += "[Software\\\\Classes\\\\.ext" + n + "] 1700000000\n#time=1da2b3c4d5e6f70\n"
                   "@=\"extfile" + n + "\"\n\"Content Type\"=\"application/x-ext" + n + "\"\n\n"
                   "[Software\\\\Classes\\\\.ext" + n + "\\\\OpenWithProgids] 1700000000\n#link\n"
                   "\"extfile" + n + "\"=hex(0):\n\n";
            break;
        }
    }
}

// One [fltsim.N] entry of the generated packs, with the keys a real one has.
inline QByteArray entry(int i)
{
    const QByteArray n = QByteArray::number(i);
    return "[fltsim." + n + "]\r\ntitle=Heather Jet 100 livery " + n + " //house\r\nsim=HJ100\r\nmodel=\r\n"
           "panel=\r\nsound=\r\ntexture=" + QByteArray::number(i % 5) +
           "\r\nkb_checklists=HJ100_check\r\natc_id=HJ-" + n + "\r\natc_airline=HEATHER\r\natc_flight_number=" + n +
           "\r\natc_heavy=0\r\natc_parking_types=GATE,RAMP\r\natc_parking_codes=HJ\r\n"
           "ui_manufacturer=Heather Aircraft\r\nui_type=HJ 100\r\nui_variation=Livery " + n +
           "\r\nui_typerole=Commercial Airliner\r\nui_createdby=Fernquill bench\r\n"
           "description=Short-haul twin, livery " + n + ".\r\nvisual_damage=1\r\n\r\n";
}

// A small aircraft as AI packs have them: a few liveries sharing a model.
inline void makeSmallAircraft(const QString& folder, int index)
{
    const QByteArray n = QByteArray::number(index);
    QByteArray cfg = "[General]\r\natc_type=BOEING\r\natc_model=B738\r\n\r\n";
    for (int i = 0; i < 4; ++i) {
        const QByteArray e = QByteArray::number(i);
        cfg += "[fltsim." + e + "]\r\ntitle=Pack " + n + " livery " + e + "\r\nsim=B738\r\nmodel=\r\n"
               "panel=\r\nsound=\r\ntexture=L" + QByteArray::number(i % 2) + "\r\natc_id=N" + n + e +
               "\r\natc_airline=" + (i == 3 ? "UNKNOWNAIR" : "BRACKENHOLD") + "\r\natc_flight_number=" + e +
               "\r\natc_parking_types=GATE,RAMP\r\nui_manufacturer=Boeing\r\nui_type=737-800\r\n"
               "ui_variation=Livery " + e + "\r\ndescription=Batch pack aircraft\r\n\r\n";
    }
    cfg += "[effects]\r\nwake=1\r\nwater=fx_spray\r\ntouchdown=fx_tchdwn, 1\r\n";
    bench::writeFile(folder + "/aircraft.cfg", cfg);
    bench::writeFile(folder + "/B738.air", QByteArray(1024, 'a'));
    for (int t = 0; t < 2; ++t)
        for (const char* f : {"fuse.bmp", "wing.bmp", "thumbnail.jpg"})
            bench::writeFile(folder + QStringLiteral("/Texture.L%1/").arg(t) + QLatin1String(f), "x");
    bench::writeFile(folder + "/model/Model.cfg", "[models]\r\nnormal=B738\r\n");
    bench::writeFile(folder + "/model/B738.mdl", QByteArray(1024, 'm'));
}

// The main window as a bench runs it: opening `folder`, no update check, no
// backups, no questions asked (every message box takes its first button).
class QuietWindow
{
public:
    explicit QuietWindow(const QString& folder)
    {
        modSettings::SaveSetting(QStringLiteral("Path"), folder);
        modSettings::SaveSetting(QStringLiteral("IsMerrow"), QStringLiteral("1"));
        modSettings::SaveSetting(QStringLiteral("Update"), QStringLiteral("0"));
        modSettings::SaveSetting(QStringLiteral("AutoUpdate"), QStringLiteral("0"));
        modSettings::SaveSetting(QStringLiteral("AutoBackup"), QStringLiteral("0"));
        m_answers.setResponder([](const msgbox::Call& call) {
            return msgbox::Answer::withButton(msgbox::buttonsOf(call.style).value(0, msgbox::vbOK));
        });
    }

private:
    msgbox::ScriptedAnswers m_answers;
};

} // namespace bench
