// Validating the folder the main window shows; opening text files.
#include "mainwindow/frm_Main.h"

#include "mainwindow/frm_TextEditor.h"
#include "mainwindow/widgets/ListView.h"
#include "platform/PathResolver.h"
#include "shared/Globals.h"
#include "shared/MessageBox.h"
#include "shared/modGlobal.h"
#include "shared/modSystem.h"
#include "validation/AnalyzeOptions.h"
#include "validation/FolderValidation.h"
#include "validation/ValidationReport.h"
#include "validation/ValidationSetup.h"

#include <QLineEdit>

void frm_Main::openTextFile(int editorMode, const QString& path, bool readFailureRaises)
{
    if (globals::gbUseEditor) {
        globals::giEditorMode = editorMode;
        if (editorMode == 3)
            globals::gsEditFile = path;
        frm_TextEditor::showEditor(this, readFailureRaises ? frm_TextEditor::LoadFailure::Raise
                                                           : frm_TextEditor::LoadFailure::Tell);
    } else if (!modSystem::OpenWithDesktop(path)) {
        msgbox::MsgBox(QStringLiteral("The file could not be shown: no program for text files was found.") +
                           msgbox::vbCrLf + msgbox::vbCrLf + path + msgbox::vbCrLf +
                           msgbox::vbCrLf +
                           QStringLiteral("Switch on 'Use internal Editor' in the Settings menu to show it in "
                                          "the program's own editor."),
                       msgbox::vbOKOnly | msgbox::vbExclamation);
    }
}

void frm_Main::mnuCFG_Click()
{
    if (ui.ListView1->rowCount() == 0) {
        msgbox::MsgBox(QStringLiteral("No aircraft.cfg file found in this folder. Exiting here..."),
                       msgbox::vbOKOnly | msgbox::vbCritical);
        return;
    }
    globals::gsEditFile = oIni.path();
    openTextFile(3, globals::gsEditFile);
}

void frm_Main::mnuValidate_Click()
{
    const bool batch = globals::gbBatchValidate;
    const auto stop = [batch](const QString& skipMessage, const QString& message) {
        if (batch)
            globals::gsSkipMessage = skipMessage;
        else
            msgbox::MsgBox(message, msgbox::vbOKOnly | msgbox::vbCritical);
    };

    globals::gbReportErrors = false;
    m_batchReport.reset();
    // Without any airlines.cfg a run turns the airline options off for the
    // rest of the program run. A batch judges the options as the user set
    // them, so each of its folders gets its report like the first.
    if (ValidationSetup::allOptionsOff(batch ? AnalyzeOptions::flagsOf(globals::gsAnalyzeOptions)
                                             : globals::gsAnalyzeFlags)) {
        msgbox::MsgBox(ValidationSetup::kAllOptionsOffMessage, msgbox::vbOKOnly | msgbox::vbInformation);
        return;
    }

    FolderValidation::Input input;
    input.airlinesFound = globals::gbAirlinesFS9Found || globals::gbAirlinesFSXFound;
    ValidationSetup::Choice choice = ValidationSetup::simulatorChoice(
        globals::gsAnalyzeFlags, globals::gbAirlinesFS9Found, globals::gbAirlinesFSXFound, batch,
        m_batchChoosesFS9);
    if (choice == ValidationSetup::Choice::Ask) {
        const int answer =
            msgbox::MsgBoxEx(this, QStringLiteral("Validate Aircraft: Select FS-Version for ATC/Effects Analysis"),
                             QStringLiteral("Select which flightsim version should be used..."),
                             QStringLiteral("FS9"), QStringLiteral("FSX"));
        if (answer == msgbox::vbYes)
            choice = ValidationSetup::Choice::FS9;
        else if (answer == msgbox::vbNo)
            choice = ValidationSetup::Choice::FSX;
        else
            return;
    }
    if (choice == ValidationSetup::Choice::NoAirlines) // for the rest of the run, not saved
        ValidationSetup::forceAirlineOptionsOff(globals::gsAnalyzeFlags);
    ValidationSetup::applyChoice(choice,
                                 {globals::gsAirlinesFS9, globals::gsEffectsFS9Path, globals::gsAirlinesFSX,
                                  globals::gsEffectsFSXPath},
                                 input);

    // The report goes into the private temporary folder or nowhere.
    if (const QString problem = modSystem::TempFolderProblem(); !problem.isEmpty()) {
        stop(QStringLiteral("No report could be written (") + problem + QStringLiteral(") in folder "), problem);
        return;
    }

    const QString folder = folderPath();
    const QString cfg = platform::paths::resolveUnder(folder, u"aircraft.cfg");
    if (!platform::paths::regularFileExists(cfg)) {
        stop(QStringLiteral("No aircraft.cfg file found in folder "),
             QStringLiteral("No aircraft.cfg file found in this folder. Exiting here..."));
        return;
    }
    if (!m_cfgReadError.isEmpty()) {
        stop(QStringLiteral("The aircraft.cfg could not be read (") + m_cfgReadError + QStringLiteral(") in folder "),
             QStringLiteral("The file:") + cfg + msgbox::vbCrLf + msgbox::vbCrLf +
                 QStringLiteral(" could not be read. ") + m_cfgReadError);
        return;
    }
    if (ui.ListView1->rowCount() == 0) {
        stop(QStringLiteral("An aircraft.cfg file without any [fltsim.x] section found in folder "),
             QStringLiteral("An aircraft.cfg file without any [fltsim.x] section found in folder . Exiting here..."));
        return;
    }

    input.aircraftFolder = folder;
    input.aircraftCfg = cfg;
    input.flags = globals::gsAnalyzeFlags;
    input.textureFormat = ValidationSetup::textureFormat(ui.txt_FSXVersion->text());
    input.yield = modGlobal::KeepPainting;
    input.tempFolder = globals::gsTempPath;

    // While it walks the folders the validation keeps the windows painting
    // but takes no clicks; a start that still comes in meanwhile is refused.
    const FolderValidation::Result result = FolderValidation::validate(input);

    switch (result.status) {
    case FolderValidation::Status::Ok:
        break;
    case FolderValidation::Status::Busy:
        // Never a batch's own folder (it validates one after the other): the
        // batch's record of the folder under way stays as it is.
        if (!batch)
            msgbox::MsgBox(QStringLiteral("Another validation is still running."),
                           msgbox::vbOKOnly | msgbox::vbCritical);
        return;
    case FolderValidation::Status::NoFltsimSection:
        stop(QStringLiteral("No [fltsim.x] section found in aircraft.cfg in folder "),
             QStringLiteral("This aircraft.cfg does not contain a [fltsim.x] section. Exiting here..."));
        return;
    case FolderValidation::Status::FileSystemError:
        stop(QStringLiteral("Validation stopped (") + result.error + QStringLiteral(") in folder "),
             QStringLiteral("The validation stopped and wrote no report:") + msgbox::vbCrLf + result.error);
        return;
    }

    globals::gsEmptyFolders = result.emptyFolders.join(QChar(0xA6));
    globals::gsEmptyFolderBase = result.emptyFolderBase;
    const auto now = ValidationReport::nowTexts();
    const ValidationReport::Report report = ValidationReport::build(result, now.date, now.time);
    if (batch && m_keepBatchReports) {
        // The batch window writes the file once, with its last folder's report.
        m_batchReport = report.bytes;
        globals::gbReportErrors = report.reportErrors;
        return;
    }
    const QString reportPath = globals::gsTempPath + ValidationReport::kFileName;
    // The report is read at once and written anew by every run: the file
    // system's cache holds it for the viewer, nothing waits for the disk.
    if (const auto written = ValidationReport::writeReport(reportPath, report.bytes, false); !written) {
        stop(ValidationReport::unwrittenSkipMessage(written.error),
             QStringLiteral("The report file could not be written:") + msgbox::vbCrLf + written.error);
        return;
    }
    globals::gbReportErrors = report.reportErrors;

    if (!batch) {
        globals::gsEditFile = reportPath;
        openTextFile(3, reportPath);
    }
}
