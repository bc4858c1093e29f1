// Times the commands as the user meets them, from the action to the finished,
// painted result, each in a process of its own so that its peak memory can be
// told apart from the program's fixed footprint:
//
// - folder load into the shown main window, first open (the folder's files
//   dropped from the OS file cache, a process that never read them) and again
//   (warm), against one parse of aircraft.cfg plus the same rows put into the
//   grid directly and painted (for the first open: as the first thing of a
//   fresh process, from the disk, as a first open meets fonts and caches);
//   packs of 1,000 and 10,000 entries, and their cost per entry at 10,000
//   over that at 1,000;
// - the whole Validate command with its report (the report goes to the
//   desktop's viewer, which here only records it) against the check alone;
// - batch validation of a generated library against a plain read of every
//   file below it (warm cache);
// - start-up of the program binary with a sample Wine prefix and settings, up
//   to its first painted window, against a bare Qt window process (bare_window)
//   started the same way;
// - peak memory of a load of a large aircraft.cfg beyond the fixed footprint.
//
// First open: each file below the folder is written to disk (fdatasync) and
// dropped from the page cache with posix_fadvise(POSIX_FADV_DONTNEED), so its
// next read comes from the disk; folder entries and inodes stay cached.
// Peak memory: a child reads VmRSS before the command, resets the peak with
// /proc/self/clear_refs ("5") and reads VmHWM after it; where the reset is
// refused, the peak of the whole child (wait4's ru_maxrss) is taken instead.
//
// Usage: bench_user [part]   (load, validate, batch, startup, memory; default all)
//        bench_user --child <mode> <args>   (run by the parent only)
#include "BenchCommon.h"

#include "mainwindow/FolderLoad.h"
#include "mainwindow/frm_Main.h"
#include "shared/clsIniFile.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/ListView.h"
#include "platform/ProfileEngine.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"
#include "shared/modGlobal.h"
#include "shared/modSettings.h"
#include "validation/FolderValidation.h"
#include "validation/ValidationSetup.h"
#include "validation/frm_ValidateAll.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryFile>
#include <QUrl>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <map>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

double msSince(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// ---------------------------------------------------------------- the child

qint64 statusKb(const char* field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Peak memory of what runs between start() and peakBeyondKb(), beyond the
// memory the process held before it.
class PeakMeter
{
public:
    void start()
    {
        m_fixed = statusKb("VmRSS:");
        QFile f(QStringLiteral("/proc/self/clear_refs"));
        m_reset = f.open(QIODevice::WriteOnly) && f.write("5") == 1;
    }
    qint64 peakBeyondKb() const { return m_reset ? statusKb("VmHWM:") - m_fixed : -1; }
    qint64 fixedKb() const { return m_fixed; }

private:
    qint64 m_fixed = 0;
    bool m_reset = false;
};

void dropFromCache(const QString& folder)
{
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QByteArray path = QFile::encodeName(it.next());
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        (void)::fdatasync(fd);
        (void)::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

// Counts the paint events of one window's widgets.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* window) : m_window(window) { qApp->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            auto* w = qobject_cast<QWidget*>(watched);
            if (w && w->window() == m_window)
                ++paints;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_window;
};

// Lets the window paint what the command changed.
void painted()
{
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

void showMain(frm_Main& w)
{
    w.Form_Load();
    w.show();
    while (!w.windowHandle() || !w.windowHandle()->isExposed())
        QApplication::processEvents();
    painted();
}

void open(frm_Main& w, const QString& folder)
{
    const QString before = w.ui.Dir1->path();
    if (!w.ui.Dir1->setPath(folder))
        qFatal("cannot open %s", qPrintable(folder));
    if (w.ui.Dir1->path() == before)
        w.Dir1_Change();
}

void say(const char* key, double value)
{
    std::printf("%s %.4f\n", key, value);
    std::fflush(stdout);
}

// load <folder> <empty folder>: first open, open again, parse + direct fill.
int childLoad(frm_Main& w, const QString& folder, const QString& other, bool full)
{
    PaintCounter paints(&w);
    PeakMeter meter;
    dropFromCache(folder);
    meter.start();
    QElapsedTimer t;
    t.start();
    open(w, folder);
    painted();
    say("first_ms", msSince(t));
    say("first_peak_kb", double(meter.peakBeyondKb()));
    say("fixed_kb", double(meter.fixedKb()));
    say("first_paints", paints.paints);
    if (w.ui.ListView1->rowCount() == 0)
        qFatal("the folder showed no rows");
    if (!full)
        return 0;

    std::vector<double> again;
    for (int i = 0; i < 5; ++i) {
        open(w, other);
        painted();
        t.restart();
        open(w, folder);
        painted();
        again.push_back(msSince(t));
    }
    say("again_ms", bench::median(again));

    QList<QStringList> rows;
    for (int r = 0; r < w.ui.ListView1->rowCount(); ++r) {
        QStringList texts;
        for (int col = 0; col < w.ui.ListView1->columnCount(); ++col)
            texts.append(w.ui.ListView1->rowText(r, col));
        rows.append(texts);
    }
    const QString cfg = folder + QStringLiteral("/aircraft.cfg");
    const auto parse = [&cfg] {
        platform::profile::clearCache();
        (void)platform::profile::getString(QStringLiteral("fltsim.0"), QStringLiteral("title"), QString(), {4096},
                                           cfg);
    };
    dropFromCache(folder);
    t.restart();
    parse();
    say("parse_cold_ms", msSince(t));
    std::vector<double> warm, fill;
    for (int i = 0; i < 5; ++i) {
        t.restart();
        parse();
        warm.push_back(msSince(t));
        w.ui.ListView1->clearRows();
        painted();
        t.restart();
        for (const QStringList& r : rows)
            w.ui.ListView1->addRow(r);
        w.ui.ListView1->selectRow(0);
        painted();
        fill.push_back(msSince(t));
    }
    say("parse_warm_ms", bench::median(warm));
    say("fill_ms", bench::median(fill));
    return 0;
}

// direct <folder>: what a folder load cannot do without, done directly as the
// first thing of a process, as the first open is: one parse of the file from
// the disk and its rows put into the shown grid and painted.
int childDirect(frm_Main& w, const QString& folder)
{
    QList<QStringList> rows;
    {
        clsIniFile ini;
        for (const FolderLoad::GridRow& row : FolderLoad::load(folder, ini).rows) {
            QStringList texts{row.text};
            for (const QString& t : row.subItems)
                texts.append(t);
            rows.append(texts);
        }
    }
    const QString cfg = folder + QStringLiteral("/aircraft.cfg");
    platform::profile::clearCache();
    dropFromCache(folder);
    PeakMeter meter;
    meter.start();
    QElapsedTimer t;
    t.start();
    (void)platform::profile::getString(QStringLiteral("fltsim.0"), QStringLiteral("title"), QString(), {4096}, cfg);
    say("parse_ms", msSince(t));
    for (const QStringList& r : rows)
        w.ui.ListView1->addRow(r);
    w.ui.ListView1->selectRow(0);
    painted();
    say("direct_ms", msSince(t));
    say("direct_peak_kb", double(meter.peakBeyondKb()));
    return 0;
}

// The input the Validate command gives the check, made the same way.
FolderValidation::Input commandInput(frm_Main& w, const QString& folder)
{
    FolderValidation::Input input;
    input.airlinesFound = globals::gbAirlinesFS9Found || globals::gbAirlinesFSXFound;
    ValidationSetup::Choice choice = ValidationSetup::simulatorChoice(
        globals::gsAnalyzeFlags, globals::gbAirlinesFS9Found, globals::gbAirlinesFSXFound, false, false);
    if (choice == ValidationSetup::Choice::Ask)
        choice = ValidationSetup::Choice::FS9; // the first button of the question
    ValidationSetup::applyChoice(choice,
                                 {globals::gsAirlinesFS9, globals::gsEffectsFS9Path, globals::gsAirlinesFSX,
                                  globals::gsEffectsFSXPath},
                                 input);
    input.aircraftFolder = folder;
    input.aircraftCfg = folder + QStringLiteral("/aircraft.cfg");
    input.flags = globals::gsAnalyzeFlags;
    input.textureFormat = ValidationSetup::textureFormat(w.ui.txt_FSXVersion->text());
    input.yield = modGlobal::KeepPainting;
    input.tempFolder = globals::gsTempPath;
    return input;
}

// Takes what the program hands the desktop to show.
class Viewer : public QObject
{
    Q_OBJECT
public:
    Viewer() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "show"); }
    ~Viewer() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    int shown = 0;
public slots:
    void show(const QUrl&) { ++shown; }
};

int childValidate(frm_Main& w, const QString& folder)
{
    Viewer viewer;
    globals::gbUseEditor = false;
    open(w, folder);
    painted();
    const FolderValidation::Input input = commandInput(w, folder);
    (void)FolderValidation::validate(input); // warm caches for both
    w.mnuValidate_Click();
    painted();
    std::vector<double> command, check;
    PeakMeter meter;
    meter.start();
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        w.mnuValidate_Click();
        painted();
        command.push_back(msSince(t));
        t.restart();
        const FolderValidation::Result r = FolderValidation::validate(input);
        check.push_back(msSince(t));
        if (r.status != FolderValidation::Status::Ok)
            qFatal("the check failed");
    }
    if (viewer.shown != 6)
        qFatal("the report was shown %d times, not 6", viewer.shown);
    say("command_ms", bench::median(command));
    say("check_ms", bench::median(check));
    say("command_peak_kb", double(meter.peakBeyondKb()));
    return 0;
}

// Every file below `root` read whole with the system's calls, folder by folder.
qint64 plainReadIn(const QByteArray& dir, std::vector<char>& buffer)
{
    DIR* d = ::opendir(dir.constData());
    if (!d)
        return 0;
    qint64 bytes = 0;
    while (const dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        const QByteArray path = dir + '/' + e->d_name;
        if (e->d_type == DT_DIR) {
            bytes += plainReadIn(path, buffer);
            continue;
        }
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        ssize_t got = 0;
        while ((got = ::read(fd, buffer.data(), buffer.size())) > 0)
            bytes += got;
        ::close(fd);
    }
    ::closedir(d);
    return bytes;
}

qint64 plainRead(const QString& root)
{
    std::vector<char> buffer(64 * 1024);
    return plainReadIn(QFile::encodeName(root), buffer);
}

int childBatch(frm_Main& w, const QString& root, const QString& warmRoot)
{
    Viewer viewer;
    globals::gbUseEditor = false;
    const auto run = [&w](const QString& r) {
        w.ui.Dir1->setPath(r);
        painted();
        frm_ValidateAll* batch = frm_ValidateAll::showWindow(&w);
        painted();
        QElapsedTimer t;
        t.start();
        batch->cmdStart_Click();
        painted();
        const double ms = msSince(t);
        batch->close();
        painted();
        return ms;
    };
    run(warmRoot);
    (void)plainRead(root);
    std::vector<double> batch, read;
    PeakMeter meter;
    meter.start();
    for (int i = 0; i < 3; ++i) {
        batch.push_back(run(root));
        QElapsedTimer t;
        t.start();
        if (plainRead(root) <= 0)
            qFatal("nothing read");
        read.push_back(msSince(t));
    }
    say("batch_ms", bench::median(batch));
    say("read_ms", bench::median(read));
    say("batch_peak_kb", double(meter.peakBeyondKb()));
    return 0;
}

int child(int argc, char** argv)
{
    const bench::Scratch tmp; // only for what Scratch sets up when the parent did not
    QApplication app(argc, argv);
    const QString mode = QString::fromLocal8Bit(argv[2]);
    const auto arg = [&](int i) { return i < argc ? QFile::decodeName(argv[i]) : QString(); };
    const bench::QuietWindow quiet(arg(4).isEmpty() ? arg(3) : arg(4));
    frm_Main w;
    showMain(w);
    if (mode == u"load")
        return childLoad(w, arg(3), arg(4), true);
    if (mode == u"load-once")
        return childLoad(w, arg(3), arg(4), false);
    if (mode == u"direct")
        return childDirect(w, arg(3));
    if (mode == u"validate")
        return childValidate(w, arg(3));
    if (mode == u"batch")
        return childBatch(w, arg(3), arg(4));
    return 3;
}

// --------------------------------------------------------------- the parent

struct Run
{
    double ms = 0;
    qint64 maxRssKb = 0;
    std::map<QByteArray, double> said;
};

// Starts `argv` with `env` extra variables, waits for it, and takes its
// "key value" lines.
Run spawn(const QStringList& args, const QStringList& env = {})
{
    QTemporaryFile out;
    if (!out.open())
        qFatal("no output file");
    std::vector<QByteArray> argBytes, envBytes;
    for (const QString& a : args)
        argBytes.push_back(QFile::encodeName(a));
    for (char** e = environ; *e; ++e) { // the variables `env` sets replace the inherited ones
        const QByteArray inherited(*e);
        const QByteArray name = inherited.left(inherited.indexOf('=') + 1);
        if (std::none_of(env.begin(), env.end(), [&name](const QString& v) { return v.toLocal8Bit().startsWith(name); }))
            envBytes.push_back(inherited);
    }
    for (const QString& e : env)
        envBytes.push_back(e.toLocal8Bit());
    std::vector<char*> argv, envp;
    for (QByteArray& a : argBytes)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (QByteArray& e : envBytes)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out.handle(), 1);
    Run run;
    QElapsedTimer t;
    t.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
        qFatal("cannot start %s", argv[0]);
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid)
        qFatal("lost %s", argv[0]);
    run.ms = msSince(t);
    posix_spawn_file_actions_destroy(&actions);
    run.maxRssKb = usage.ru_maxrss;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        qFatal("%s ended with status %d", argv[0], status);
    out.seek(0);
    for (const QByteArray& line : out.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            run.said[parts[0]] = parts[1].toDouble();
    }
    return run;
}

double said(const Run& r, const char* key)
{
    const auto it = r.said.find(key);
    if (it == r.said.end())
        qFatal("the child did not say %s", key);
    return it->second;
}

QString mb(double kb) { return QStringLiteral("%1 MB").arg(kb / 1024.0, 0, 'f', 1); }

bool allOk = true;

void figure(const QString& name, double value, const QString& detail, double goal, const QString& memory,
            bool information = false)
{
    const bool ok = value <= goal;
    if (!information)
        allOk = allOk && ok;
    bench::result(name, QStringLiteral("%1 (%2)").arg(value, 0, 'f', 2).arg(detail),
                  information ? QStringLiteral("information") : QStringLiteral("<= %1").arg(goal), ok,
                  information ? QStringLiteral("info") : QString(), memory);
}


// An aircraft folder of `entries` entries, or of at least `bytes` bytes.
QString makePack(const QString& folder, int entries, qsizetype bytes = 0)
{
    QByteArray cfg = "[General]\r\natc_type=HEATHER\r\natc_model=HJ100\r\n\r\n"
                     "[airplane_geometry]\r\nwing_span=112.6\r\n\r\n"
                     "[effects]\r\nwake=fx_wake\r\nwater=fx_spray\r\ntouchdown=fx_tchdwn,1\r\n\r\n";
    for (int i = 0; i < entries || cfg.size() < bytes; ++i)
        cfg += bench::entry(i);
    cfg += "[exits]\r\nexit.0=0.4, 27.0, -4.0, 4.5, 0 // main\r\n";
    bench::writeFile(folder + QStringLiteral("/aircraft.cfg"), cfg);
    for (int t = 0; t < 5; ++t)
        bench::writeFile(folder + QStringLiteral("/texture.%1/t.bmp").arg(t), "x");
    bench::writeFile(folder + QStringLiteral("/model/model.cfg"), "[models]\r\nnormal=HJ100\r\n");
    bench::writeFile(folder + QStringLiteral("/model/HJ100.mdl"), QByteArray(1024, 'm'));
    bench::writeFile(folder + QStringLiteral("/HJ100.air"), QByteArray(64, '\0'));
    return folder;
}


template <typename F>
Run medianRun(int runs, const char* key, F start)
{
    std::vector<Run> all;
    for (int i = 0; i < runs; ++i)
        all.push_back(start());
    std::sort(all.begin(), all.end(), [key](const Run& a, const Run& b) {
        return (key ? said(a, key) : a.ms) < (key ? said(b, key) : b.ms);
    });
    return all[all.size() / 2];
}

int parent(const QString& part, const QString& self)
{
    const bench::Scratch tmp;
    const auto runs = [&part](const char* name) { return part == u"all" || part == QLatin1StringView(name); };
    const QString empty = tmp.path() + QStringLiteral("/empty");
    QDir().mkpath(empty);
    const auto childArgs = [&self](const QStringList& rest) { return QStringList{self, QStringLiteral("--child")} + rest; };

    if (runs("load") || runs("validate")) {
        std::map<int, QString> packs;
        for (int n : {1000, 10000})
            packs[n] = makePack(tmp.path() + QStringLiteral("/pack%1/Plane").arg(n), n);
        std::map<int, Run> loads, checks;
        if (runs("load")) {
            std::printf("folder load into the shown window, median of 3 processes each (ms)\n");
            std::printf(" entries  first open  direct (cold parse+fill)  again  warm parse+fill  paints  peak beyond fixed\n");
            for (const auto& [n, folder] : packs) {
                const Run r = medianRun(3, "first_ms", [&] {
                    return spawn(childArgs({QStringLiteral("load"), folder, empty}));
                });
                const Run d = medianRun(3, "direct_ms", [&] {
                    return spawn(childArgs({QStringLiteral("direct"), folder, empty}));
                });
                loads[n] = r;
                const double cold = said(d, "direct_ms");
                const double warm = said(r, "parse_warm_ms") + said(r, "fill_ms");
                std::printf(" %7d  %10.1f  %24.1f  %5.1f  %15.1f  %6.0f  %s (direct %s)\n", n, said(r, "first_ms"),
                            cold, said(r, "again_ms"), warm, said(r, "first_paints"),
                            qPrintable(mb(said(r, "first_peak_kb"))), qPrintable(mb(said(d, "direct_peak_kb"))));
                const QString peak = mb(said(r, "first_peak_kb"));
                figure(QStringLiteral("first open %1 entries / (cold parse + grid fill)").arg(n),
                       said(r, "first_ms") / cold,
                       QStringLiteral("%1 ms vs %2 ms").arg(said(r, "first_ms"), 0, 'f', 1).arg(cold, 0, 'f', 1), 3,
                       peak);
                figure(QStringLiteral("open again %1 entries / (warm parse + grid fill)").arg(n),
                       said(r, "again_ms") / warm,
                       QStringLiteral("%1 ms vs %2 ms").arg(said(r, "again_ms"), 0, 'f', 1).arg(warm, 0, 'f', 1), 3,
                       peak);
            }
            const auto perEntry = [&](const char* key) {
                return (said(loads[10000], key) / 10000) / (said(loads[1000], key) / 1000);
            };
            figure(QStringLiteral("first open per-entry ratio 10000/1000"), perEntry("first_ms"),
                   QStringLiteral("per entry"), 1.5, mb(said(loads[10000], "first_peak_kb")));
            figure(QStringLiteral("open again per-entry ratio 10000/1000"), perEntry("again_ms"),
                   QStringLiteral("per entry"), 1.5, mb(said(loads[10000], "first_peak_kb")));
        }
        if (runs("validate")) {
            std::printf("Validate command with its report against the check alone, median of 5 (ms)\n");
            for (const auto& [n, folder] : packs) {
                const Run r = spawn(childArgs({QStringLiteral("validate"), folder}));
                checks[n] = r;
                std::printf(" %7d entries: command %.1f, check %.1f\n", n, said(r, "command_ms"),
                            said(r, "check_ms"));
                figure(QStringLiteral("Validate command %1 entries / check alone").arg(n),
                       said(r, "command_ms") / said(r, "check_ms"),
                       QStringLiteral("%1 ms vs %2 ms")
                           .arg(said(r, "command_ms"), 0, 'f', 1)
                           .arg(said(r, "check_ms"), 0, 'f', 1),
                       1.5, mb(said(r, "command_peak_kb")));
            }
            const double ratio = (said(checks[10000], "command_ms") / 10000) / (said(checks[1000], "command_ms") / 1000);
            figure(QStringLiteral("Validate command per-entry ratio 10000/1000"), ratio, QStringLiteral("per entry"),
                   1.5, mb(said(checks[10000], "command_peak_kb")));
        }
    }

    if (runs("batch")) {
        const int folders = 400;
        const QString root = tmp.path() + QStringLiteral("/library");
        const QString warmRoot = tmp.path() + QStringLiteral("/warm");
        for (int i = 0; i < folders; ++i)
            bench::makeSmallAircraft(root + QStringLiteral("/Aircraft %1").arg(i, 4, 10, QLatin1Char('0')), i);
        for (int i = 0; i < 10; ++i)
            bench::makeSmallAircraft(warmRoot + QStringLiteral("/Aircraft %1").arg(i), i);
        const Run r = spawn(childArgs({QStringLiteral("batch"), root, warmRoot}));
        const double batch = said(r, "batch_ms"), read = said(r, "read_ms");
        std::printf("batch validation of %d folders: %.1f ms (%.0f folders/s), plain read of their files %.1f ms\n",
                    folders, batch, folders * 1000.0 / batch, read);
        figure(QStringLiteral("batch validation %1 folders / plain read (warm)").arg(folders), batch / read,
               QStringLiteral("%1 ms vs %2 ms, %3 folders/s")
                   .arg(batch, 0, 'f', 1)
                   .arg(read, 0, 'f', 1)
                   .arg(folders * 1000.0 / batch, 0, 'f', 0),
               4, mb(said(r, "batch_peak_kb")));
    }

    if (runs("startup")) {
        // The program as the samples start it: a Wine prefix with both
        // simulators and settings that open a sample aircraft.
        const QString home = tmp.path() + QStringLiteral("/start");
        QDir().mkpath(home);
        const QByteArray script = "source '" FQ_SOURCE_DIR "/scripts/sample-copy.sh' && sample_copy '" FQ_SOURCE_DIR
                                  "' \"$1\"";
        if (QProcess::execute(QStringLiteral("bash"), {QStringLiteral("-c"), QString::fromUtf8(script),
                                                       QStringLiteral("sample"), home}) != 0)
            qFatal("cannot copy the samples");
        const QStringList env{QStringLiteral("WINEPREFIX=") + home + QStringLiteral("/wineprefix"),
                              QStringLiteral("XDG_CONFIG_HOME=") + home + QStringLiteral("/config"),
                              QStringLiteral("HOME=") + home, QStringLiteral("FERNQUILL_FIRST_PAINT=1")};
        const QString program = QStringLiteral(FQ_PROGRAM), bare = QStringLiteral(FQ_BARE_WINDOW);
        (void)spawn({program}, env); // libraries and fonts into the cache
        (void)spawn({bare}, env);
        std::vector<Run> p, b;
        for (int i = 0; i < 7; ++i) {
            p.push_back(spawn({program}, env));
            b.push_back(spawn({bare}, env));
        }
        const auto med = [](std::vector<Run> v) {
            std::sort(v.begin(), v.end(), [](const Run& x, const Run& y) { return x.ms < y.ms; });
            return v[v.size() / 2];
        };
        const Run pm = med(p), bm = med(b);
        std::printf("start-up to the first painted window, median of 7 processes: program %.1f ms (peak %s), "
                    "bare Qt window %.1f ms (peak %s)\n",
                    pm.ms, qPrintable(mb(double(pm.maxRssKb))), bm.ms, qPrintable(mb(double(bm.maxRssKb))));
        figure(QStringLiteral("start-up to first paint / bare Qt window"), pm.ms / bm.ms,
               QStringLiteral("%1 ms vs %2 ms").arg(pm.ms, 0, 'f', 1).arg(bm.ms, 0, 'f', 1), 1.5,
               mb(double(pm.maxRssKb)) + QStringLiteral(" vs ") + mb(double(bm.maxRssKb)));
    }

    if (runs("memory")) {
        const qsizetype bytes = 64 * 1024 * 1024;
        const QString folder = makePack(tmp.path() + QStringLiteral("/big/Plane"), 0, bytes);
        const qint64 size = QFileInfo(folder + QStringLiteral("/aircraft.cfg")).size();
        const Run r = spawn(childArgs({QStringLiteral("load-once"), folder, empty}));
        const double beyond = said(r, "first_peak_kb") * 1024.0;
        std::printf("first open of a %.0f MB aircraft.cfg: %.0f ms, peak %s beyond the fixed %s\n", size / 1048576.0,
                    said(r, "first_ms"), qPrintable(mb(said(r, "first_peak_kb"))),
                    qPrintable(mb(said(r, "fixed_kb"))));
        figure(QStringLiteral("peak memory of a %1 MB file's load / file size").arg(size / 1048576),
               beyond / double(size), QStringLiteral("%1 ms").arg(said(r, "first_ms"), 0, 'f', 0), 3,
               mb(said(r, "first_peak_kb")));
    }
    return allOk ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::strcmp(argv[1], "--child") == 0)
        return child(argc, argv);
    const QString self = QFile::decodeName(argv[0]);
    const QString part = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("all");
    if (!QFileInfo(self).isAbsolute())
        return parent(part, QFileInfo(self).absoluteFilePath());
    return parent(part, self);
}

#include "bench_user.moc"
