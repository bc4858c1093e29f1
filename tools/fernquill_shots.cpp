// Takes the pictures of the manual: starts the main window offscreen on a
// scratch copy of the bundled sample (Wine prefix and aircraft folder), opens
// the windows the manual shows and saves what each one draws as a PNG.
//
//     fernquill_shots <examples folder> <data folder> <output folder>
#include "editing/frm_ParkingCode.h"
#include "editing/frm_Remove.h"
#include "mainwindow/frm_ListViewOptions.h"
#include "mainwindow/frm_Main.h"
#include "mainwindow/frm_TextEditor.h"
#include "mainwindow/widgets/DirList.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"
#include "validation/frm_AnalyzeOptions.h"
#include "validation/frm_ValidateAll.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

const char* const kAircraft =
    "/wineprefix/drive_c/Program Files (x86)/Microsoft Games/Microsoft Flight Simulator X/SimObjects/"
    "Airplanes/Brackenhold_B738";

bool copyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString target = to + u'/' + QDir(from).relativeFilePath(info.filePath());
        if (info.isSymLink()) {
            if (!QFile::link(info.symLinkTarget(), target))
                return false;
        } else if (info.isDir()) {
            if (!QDir().mkpath(target))
                return false;
        } else if (!QFile::copy(info.filePath(), target)) {
            return false;
        }
    }
    return true;
}

bool save(QWidget* window, const QString& folder, const QString& name)
{
    QCoreApplication::processEvents();
    const QString path = folder + u'/' + name + QStringLiteral(".png");
    if (window->grab().save(path))
        return true;
    std::fprintf(stderr, "fernquill_shots: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: fernquill_shots <examples folder> <data folder> <output folder>\n");
        return 2;
    }
    QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/fernquill-sample-XXXXXX"));
    const QString sample = scratch.path() + QStringLiteral("/sample");
    const QString examples = QString::fromLocal8Bit(argv[1]);
    const QString data = QString::fromLocal8Bit(argv[2]);
    const QString out = QString::fromLocal8Bit(argv[3]);
    if (!scratch.isValid() || !QDir().mkpath(sample) || !copyTree(examples, sample) || !QDir().mkpath(out)) {
        std::fprintf(stderr, "fernquill_shots: cannot copy the sample to a scratch folder\n");
        return 1;
    }
    const QString aircraft = sample + QString::fromUtf8(kAircraft);
    // The sample has a link for the c: drive; a checkout without links gets one.
    QFile::link(QStringLiteral("../drive_c"), sample + QStringLiteral("/wineprefix/dosdevices/c:"));

    // Settings, prefix and temporary files of the scratch copy only; the
    // weekly update check stays off.
    const QString config = scratch.path() + QStringLiteral("/config");
    QDir().mkpath(config + QStringLiteral("/\u00A9 Brackenhold Tools"));
    QFile ini(config + QStringLiteral("/\u00A9 Brackenhold Tools/Fernquill.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        return 1;
    QTextStream(&ini) << "[Fernquill]\nIsMerrow=1\nAutoUpdate=0\nToolTips=0\nPath=" << aircraft << "\n";
    ini.close();
    const QString runtime = scratch.path() + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    qputenv("WINEPREFIX", (sample + QStringLiteral("/wineprefix")).toLocal8Bit());
    qputenv("TEMP", runtime.toLocal8Bit());

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fernquill"));
    QApplication::setOrganizationName(QStringLiteral("\u00A9 Brackenhold Tools"));
    // No box may wait for an answer: each takes its first button, and
    // validation compares with FSX.
    msgbox::ScriptedAnswers boxes;
    boxes.setResponder([](const msgbox::Call& call) {
        if (call.kind == msgbox::Kind::MsgBox)
            return msgbox::Answer::withButton(msgbox::buttonsOf(call.style).first());
        if (call.kind == msgbox::Kind::MsgBoxEx)
            return msgbox::Answer::withButton(msgbox::vbNo);
        return msgbox::Answer::withText(QString());
    });

    frm_Main w;
    w.Form_Load();
    w.show();
    bool ok = w.ui.ListView1->rowCount() > 0;
    if (!ok)
        std::fprintf(stderr, "fernquill_shots: the sample aircraft folder did not load\n");

    // The second entry, shown in the editor, on each page of the tabs.
    w.ui.ListView1->selectRow(1);
    w.ListView1_DblClick();
    const char* const pages[] = {"main-entry", "main-effects", "main-values", "main-files"};
    for (int i = 0; i < 4; ++i) {
        w.ui.SSTab1->setCurrentIndex(i);
        ok = save(&w, out, QString::fromLatin1(pages[i])) && ok;
    }
    w.ui.SSTab1->setCurrentIndex(0);

    frm_ParkingCode picker(w.ui.txt_atc_ParkingCodes, &w);
    picker.Form_Load(data);
    picker.show();
    ok = save(&picker, out, QStringLiteral("parking-codes")) && ok;
    picker.close();

    frm_Remove* remove = w.removeKeysWindow();
    remove->Form_Load();
    remove->show();
    ok = save(remove, out, QStringLiteral("remove-keys")) && ok;
    remove->hide();

    ok = save(frm_ListViewOptions::showOptions(w.ui.ListView1, &w), out, QStringLiteral("grid-columns")) && ok;
    ok = save(frm_AnalyzeOptions::showWindow(&w), out, QStringLiteral("report-options")) && ok;
    ok = save(frm_ValidateAll::showWindow(&w), out, QStringLiteral("batch-validation")) && ok;

    // The report of the sample made to fail, in the internal text editor.
    w.ui.Dir1->setPath(aircraft.left(aircraft.lastIndexOf(u'/')) + QStringLiteral("/Brackenhold_A320_Faults"));
    w.mnuValidate_Click();
    QCoreApplication::processEvents();
    frm_TextEditor* editor = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* e = qobject_cast<frm_TextEditor*>(top); e && e->isVisible())
            editor = e;
    }
    if (editor)
        ok = save(editor, out, QStringLiteral("report")) && ok;
    else
        ok = false, std::fprintf(stderr, "fernquill_shots: the validation report did not open\n");
    return ok ? 0 : 1;
}
