// The entry display of the main window on real widgets: the delete caption of
// a click, the model lookup and header of a double click, the aircraft type of
// the entry's .air file, the air-file list and the column autosize.
#include "editing/frm_RightClick.h"
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "mainwindow/widgets/VbColors.h"
#include "shared/MessageBox.h"

#include "AircraftScene.h"
#include "DataRows.h"
#include "OddFile.h"
#include "SimFiles.h"
#include "TestUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

using testutil::airRecord;
using testutil::Files;
using testutil::mdlBytes;

QByteArray le32(qint32 v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((static_cast<quint32>(v) >> (8 * i)) & 0xFF);
    return b;
}

// Files named relative to the aircraft folder "Plane".
Files inPlane(const Files& files)
{
    Files out;
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        out.insert(QStringLiteral("Plane/") + it.key(), it.value());
    return out;
}

// An aircraft folder with its aircraft.cfg and further files (paths relative
// to the folder), and a main window started on it. Boxes are recorded from
// before the start-up on and get their first button.
class Scene : public testutil::AircraftScene
{
public:
    Scene(const QByteArray& cfg, const Files& files = {}) : AircraftScene(cfg, inPlane(files)) {}
};

const QString kNok = QStringLiteral("AC Status: NOK");
const QString kOk = QStringLiteral("AC Status: OK");

} // namespace

class TestFrmMainEntry : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void emptyGridIgnoresEveryHandler()
    {
        Scene s("[general]\r\natc_type=BOEING\r\n");
        frm_Main& w = s.start();
        QCOMPARE(w.ui.ListView1->rowCount(), 0);
        QCOMPARE(w.rightClick()->mnuDelete->text(), QStringLiteral("&Delete [fltsim.x]"));
        w.rightClick()->mnuDelete->setText(QStringLiteral("untouched"));

        w.ListView1_Click();
        w.ListView1_DblClick();
        w.ListView1_MouseDown(Qt::RightButton, QPoint(5, 5));

        QCOMPARE(w.rightClick()->mnuDelete->text(), QStringLiteral("untouched"));
        QVERIFY(!w.rightClick()->mnuListView1->isVisible());
        QCOMPARE(w.ui.txt_Title->text(), QString());
        QCOMPARE(backColor(w.ui.txt_Title), vbColor(vbcolor::Grey));
        QVERIFY(!w.ui.chk_atc_heavy->isEnabled());
        QVERIFY(s.answers.calls().empty());
    }

    void rightButtonPopsTheGridMenu_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("shown");
        QTest::newRow("right") << int(Qt::RightButton) << true;
        QTest::newRow("left") << int(Qt::LeftButton) << false;
        QTest::newRow("middle") << int(Qt::MiddleButton) << false;
    }

    void rightButtonPopsTheGridMenu()
    {
        QFETCH(int, button);
        QFETCH(bool, shown);
        Scene s("[fltsim.0]\r\ntitle=A\r\n[fltsim.1]\r\ntitle=B\r\n");
        frm_Main& w = s.start();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QSignalSpy popped(w.rightClick(), &frm_RightClick::poppingUp);
        ListView* grid = w.ui.ListView1;
        const QPoint at = grid->visualItemRect(grid->topLevelItem(1)).center() + QPoint(7, 0);
        QTest::mouseClick(grid->viewport(), static_cast<Qt::MouseButton>(button), {}, at);
        QCOMPARE(w.rightClick()->mnuListView1->isVisible(), shown);
        QCOMPARE(popped.count(), shown ? 1 : 0);
        if (shown) {
            // At the pointer, the way the press came in.
            QCOMPARE(popped.at(0).at(0).value<QMenu*>(), w.rightClick()->mnuListView1);
            QCOMPARE(popped.at(0).at(1).toPoint(), grid->viewport()->mapToGlobal(at));
        }
        w.rightClick()->mnuListView1->hide();
    }

    // A right click selects the row under the pointer: the menu's delete
    // item names what choosing it deletes, and the question (or, with
    // confirming off, the file) agrees.
    void rightClickDeleteNamesItsTarget_data()
    {
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("question"); // with confirming on
        QTest::addColumn<QByteArray>("left");  // titles left in the file, with confirming off

        QTest::newRow("row 2, asked") << QList<int>{} << true << "&Delete [FLTSIM.2]"
                                      << "About to delete section [FLTSIM.2] = C. Are you sure?" << QByteArray();
        QTest::newRow("row 2, not asked") << QList<int>{} << false << "&Delete [FLTSIM.2]" << QString()
                                          << QByteArray("ABD");
        QTest::newRow("one row ticked since the click")
            << QList<int>{3} << true << "&Delete [fltsim.3]"
            << "About to delete section [3] = D. Are you sure?" << QByteArray();
        QTest::newRow("two rows ticked since the click")
            << QList<int>{1, 3} << false << "&Delete [fltsim.x]" << QString() << QByteArray("AC");
    }

    void rightClickDeleteNamesItsTarget()
    {
        QFETCH(QList<int>, ticked);
        QFETCH(bool, confirm);
        QFETCH(QString, caption);
        QFETCH(QString, question);
        QFETCH(QByteArray, left);
        Scene s("[fltsim.0]\r\ntitle=A\r\n[fltsim.1]\r\ntitle=B\r\n[fltsim.2]\r\ntitle=C\r\n"
                "[fltsim.3]\r\ntitle=D\r\n");
        frm_Main& w = s.start(confirm);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ListView* grid = w.ui.ListView1;
        // On the section name, clear of the tick box.
        const auto rowPoint = [grid](int row) {
            return QPoint(grid->columnWidth(0) - 5, grid->visualItemRect(grid->topLevelItem(row)).center().y());
        };
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowPoint(0));
        QCOMPARE(w.rightClick()->mnuDelete->text(), QStringLiteral("&Delete [FLTSIM.0]"));
        for (int row : ticked)
            grid->setTicked(row, true);

        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, rowPoint(2));
        QMenu* menu = w.rightClick()->mnuListView1;
        QVERIFY(menu->isVisible());
        QCOMPARE(grid->selectedRow(), 2);
        QCOMPARE(w.rightClick()->mnuDelete->text(), caption);

        s.answers.button(msgbox::vbNo);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(w.rightClick()->mnuDelete).center());
        QTRY_VERIFY(!menu->isVisible());
        if (confirm) {
            QCOMPARE(s.answers.prompts(), QStringList{question});
            return;
        }
        QVERIFY(s.answers.calls().empty());
        QByteArray titles;
        for (const QByteArray& line : s.cfg().split('\n')) {
            if (line.startsWith("title="))
                titles += line.mid(6, 1);
        }
        QCOMPARE(titles, left);
    }

    void deleteCaption_data()
    {
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("caption");
        // The 0-based position counts, not the section's own number.
        QTest::newRow("one ticked, fourth row") << QList<int>{3} << 0 << "&Delete [fltsim.3]";
        QTest::newRow("one ticked, first row") << QList<int>{0} << 4 << "&Delete [fltsim.0]";
        QTest::newRow("two ticked") << QList<int>{1, 3} << 2 << "&Delete [fltsim.x]";
        QTest::newRow("all ticked") << QList<int>{0, 1, 2, 3, 4} << 2 << "&Delete [fltsim.x]";
        QTest::newRow("none ticked, FLTSIM.7 selected") << QList<int>{} << 4 << "&Delete [FLTSIM.7]";
        QTest::newRow("none ticked, FLTSIM.9 selected") << QList<int>{} << 1 << "&Delete [FLTSIM.9]";
    }

    void deleteCaption()
    {
        QFETCH(QList<int>, ticked);
        QFETCH(int, selected);
        QFETCH(QString, caption);
        Scene s("[fltsim.3]\r\ntitle=A\r\n[fltsim.9]\r\ntitle=B\r\n[fltsim.0]\r\ntitle=C\r\n"
                "[fltsim.5]\r\ntitle=D\r\n[fltsim.7]\r\ntitle=E\r\n");
        frm_Main& w = s.start();
        QCOMPARE(w.ui.ListView1->rowCount(), 5);
        for (int row : ticked)
            w.ui.ListView1->setTicked(row, true);
        w.ui.ListView1->selectRow(selected);
        w.ListView1_Click();
        QCOMPARE(w.rightClick()->mnuDelete->text(), caption);
        QVERIFY(s.answers.calls().empty());
    }

    void modelName_data()
    {
        // An empty mdlName: no model file found.
        // Every case offers the files it might wrongly pick.
        const testutil::TextRows<QByteArray, QString, QString> row({"modelCfg", "mdlName", "radius"});
        row("blank before Normal, blanks around '='", "  Normal = x.mdl\r\n", "", "");
        row("normal=MyPlane.MDL", "normal=MyPlane.MDL\r\n", "MyPlane.mdl", "7");
        row("two normal lines: the first wins", "normal=First\r\nnormal=Second\r\n", "First.mdl", "1");
        row("capitals, no extension", "NORMAL=Second\r\n", "Second.mdl", "2");
        row("comment after the name", "normal=First.mdl // lod 0\r\n", "First.mdl", "1");
        row("name line after other lines", "[models]\r\n; list\r\nnormal=Second.MdL\r\ninterior=First\r\n",
            "Second.mdl", "2");
        row("no name after '='", "normal=\r\n", "", "");
        row("model.cfg of one empty line", "\r\n", "", "");
    }

    void modelName()
    {
        QFETCH(QByteArray, modelCfg);
        QFETCH(QString, mdlName);
        QFETCH(QString, radius);
        Scene s("[fltsim.0]\r\ntitle=A\r\nmodel=\r\n", {{"model/model.cfg", modelCfg},
                                                        {"model/x.mdl", mdlBytes("MDL9", 42)},
                                                        {"model/MyPlane.mdl", mdlBytes("MDL9", 7)},
                                                        {"model/First.mdl", mdlBytes("MDL9", 1)},
                                                        {"model/Second.mdl", mdlBytes("MDL9", 2)}});
        frm_Main& w = s.start();
        QCOMPARE(w.ui.ListView1->rowText(0, 9), QStringLiteral("<default>"));
        // No model name is no error: no box, only the status panel.
        QVERIFY(s.answers.calls().empty());
        QCOMPARE(QFileInfo(w.sMdlFile).fileName(), mdlName);
        QCOMPARE(w.ui.txt_FS9Radius->text(), radius);
        QCOMPARE(w.vRadiusOrg, radius);
        QCOMPARE(w.ui.StatusBar1->panelPictureText(9), mdlName.isEmpty() ? kNok : kOk);
        if (mdlName.isEmpty()) {
            QCOMPARE(w.ui.StatusBar1->panelBackColor(9), paletteRed());
            QCOMPARE(w.ui.StatusBar1->panelForeColor(9), paletteWhite());
            QVERIFY(w.ui.txt_FS9Radius->isReadOnly());
        }
        // The display went on to its end.
        QVERIFY(w.ui.cmd_ParkingCodes->isEnabled());
        QVERIFY(w.ui.cmdDropDown->isEnabled());
    }

    void modelFolder_data()
    {
        const testutil::TextRows<QByteArray, QString, QString, QString> row(
            {"modelValue", "column", "mdlFolder", "radius"});
        row("empty value is <default>", "", "<default>", "model", "10");
        row("A300", "A300", "A300", "model.A300", "20");
        row("A300/lod", "A300/lod", "A300\\lod", "model.A300/lod", "30");
        row("A300\\lod", "A300\\lod", "A300\\lod", "model.A300/lod", "30");
        row("other letter case", "a300/LOD", "a300\\LOD", "model.A300/lod", "30");
        row("missing folder", "B747", "B747", "", "");
    }

    void modelFolder()
    {
        QFETCH(QByteArray, modelValue);
        QFETCH(QString, column);
        QFETCH(QString, mdlFolder);
        QFETCH(QString, radius);
        Scene s("[fltsim.0]\r\ntitle=A\r\nmodel=" + modelValue + "\r\n",
                {{"model/model.cfg", "normal=Plane\r\n"},
                 {"model/Plane.mdl", mdlBytes("MDL9", 10)},
                 {"model.A300/model.cfg", "normal=Plane\r\n"},
                 {"model.A300/Plane.mdl", mdlBytes("MDL9", 20)},
                 {"model.A300/lod/model.cfg", "normal=Plane\r\n"},
                 {"model.A300/lod/Plane.mdl", mdlBytes("MDL9", 30)}});
        frm_Main& w = s.start();
        QCOMPARE(w.ui.ListView1->rowText(0, 9), column);
        QCOMPARE(w.ui.txt_FS9Radius->text(), radius);
        QCOMPARE(w.sMdlFile, mdlFolder.isEmpty() ? QString() : s.folder() + u'/' + mdlFolder + "/Plane.mdl");
        QCOMPARE(w.ui.StatusBar1->panelPictureText(9), mdlFolder.isEmpty() ? kNok : kOk);
        QVERIFY(s.answers.calls().empty());
    }

    void entryKeyFields_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("shown");
        QTest::newRow("title") << QByteArray("title=Liner") << "txt_Title"
                               << "Liner";
        QTest::newRow("parking types") << QByteArray("title=A\r\natc_parking_types=gate") << "lblSelections"
                                       << "GATE";
        QTest::newRow("heavy") << QByteArray("title=A\r\natc_heavy=1") << "chk_atc_heavy"
                               << "1";
    }

    void entryKeyFields()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QString, field);
        QFETCH(QString, shown);
        Scene s("[fltsim.0]\r\n" + keys + "\r\n");
        frm_Main& w = s.start();
        const QWidget* shownIn = w.findChild<QWidget*>(field);
        QVERIFY(shownIn);
        if (const auto* box = qobject_cast<const QCheckBox*>(shownIn))
            QCOMPARE(box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"), shown);
        else
            QCOMPARE(shownIn->property("text").toString(), shown);
    }

    void atcHeavy_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("ticked");
        QTest::newRow("1") << QByteArray("1") << true;
        QTest::newRow("2") << QByteArray("2") << false;
        QTest::newRow("0") << QByteArray("0") << false;
        QTest::newRow("empty") << QByteArray("") << false;
        QTest::newRow("1 with a comment") << QByteArray("1 // heavy") << true;
        QTest::newRow("1.0") << QByteArray("1.0") << true;
        QTest::newRow("1.5") << QByteArray("1.5") << false;
        QTest::newRow("yes") << QByteArray("yes") << false;
    }

    void atcHeavy()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, ticked);
        // Row 0 ticks the box first, so an unticked result is the display's own.
        Scene s("[fltsim.0]\r\ntitle=A\r\natc_heavy=1\r\n[fltsim.1]\r\ntitle=B\r\natc_heavy=" + value +
                "\r\n");
        frm_Main& w = s.start();
        QVERIFY(w.ui.chk_atc_heavy->isChecked());
        w.ui.ListView1->selectRow(1);
        w.ListView1_DblClick();
        QCOMPARE(w.ui.chk_atc_heavy->isChecked(), ticked);
        QVERIFY(w.ui.chk_atc_heavy->isEnabled());
    }

    void modelHeader_data()
    {
        QTest::addColumn<QByteArray>("mdl");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("radius");
        QTest::addColumn<bool>("editable");
        QTest::newRow("MDLX") << mdlBytes("MDLX", 42) << "FSX"
                              << "n/a" << false;
        QTest::newRow("MDLX, 12 bytes") << mdlBytes("MDLX", 0, 12) << "FSX"
                                        << "n/a" << false;
        QTest::newRow("MDL9 radius 42") << mdlBytes("MDL9", 42) << "FS8/9"
                                        << "42" << true;
        QTest::newRow("MDL9 radius 0xC8") << mdlBytes("MDL9", 0xC8) << "FS8/9"
                                          << "200" << true;
        QTest::newRow("MDL8 radius 0, 29 bytes") << mdlBytes("MDL8", 0, 29) << "FS8/9"
                                                 << "0" << true;
        QTest::newRow("MDL9 radius 255") << mdlBytes("MDL9", 255) << "FS8/9"
                                         << "255" << true;
        QTest::newRow("mdl9 in small letters") << mdlBytes("mdl9", 42) << "n/a"
                                               << "n/a" << false;
        QTest::newRow("unknown tag") << mdlBytes("RIFX", 42) << "n/a"
                                     << "n/a" << false;
    }

    void modelHeader()
    {
        QFETCH(QByteArray, mdl);
        QFETCH(QString, version);
        QFETCH(QString, radius);
        QFETCH(bool, editable);
        Scene s("[fltsim.0]\r\ntitle=A\r\nmodel=\r\n",
                {{"model/model.cfg", "normal=Plane\r\n"}, {"model/Plane.mdl", mdl}});
        frm_Main& w = s.start();
        QCOMPARE(w.ui.txt_FSXVersion->text(), version);
        QCOMPARE(w.ui.txt_FS9Radius->text(), radius);
        QCOMPARE(w.ui.txt_FS9Radius->isReadOnly(), !editable);
        QCOMPARE(backColor(w.ui.txt_FS9Radius), vbColor(editable ? vbcolor::White : vbcolor::LightYellow));
        QCOMPARE(w.vRadiusOrg, editable ? radius : QString());
        QCOMPARE(w.sMdlFile, s.folder() + "/model/Plane.mdl");
        QCOMPARE(w.ui.StatusBar1->panelPictureText(9), kOk);
        QVERIFY(s.answers.calls().empty());
    }

    void modelCfgThatCannotBeRead()
    {
        // The file opens but its reading fails (the process's own memory file).
        Scene s("[fltsim.0]\r\ntitle=A\r\n[fltsim.1]\r\ntitle=B\r\nmodel=bad\r\n", {{"model.bad/x.mdl", "x"}});
        if (!QFile::link(QStringLiteral("/proc/self/mem"), s.folder() + "/model.bad/model.cfg"))
            QSKIP("no /proc here");
        frm_Main& w = s.start();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(s.answers.calls().empty());
        ListView* grid = w.ui.ListView1;
        const QPoint at(grid->columnViewportPosition(1) + 3, grid->visualItemRect(grid->topLevelItem(1)).center().y());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);

        QCOMPARE(s.answers.calls().size(), size_t(1));
        const QString box = s.answers.prompts().front();
        QVERIFY2(box.contains(u"Procedure FileToArray") && box.contains(u"model.cfg"), qPrintable(box));
        // The display went on to its end.
        QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("B"));
        QCOMPARE(w.ui.StatusBar1->panelPictureText(9), kNok);
        QVERIFY(w.ui.cmd_ParkingCodes->isEnabled());
        QCOMPARE(w.ui.txt_CurrentModel->text(), QStringLiteral("bad"));
    }

    // An empty model.cfg leaves no lines to search: the display ends in the
    // runtime-error box, and nothing of another entry's model stays behind.
    void emptyModelCfgEndsTheDisplay_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("first entry, shown by the folder load") << 0;
        QTest::newRow("second entry, double-clicked after one with a radius") << 1;
    }

    void emptyModelCfgEndsTheDisplay()
    {
        QFETCH(int, row);
        Scene s("[fltsim.0]\r\ntitle=A\r\nmodel=" + QByteArray(row == 0 ? "empty" : "") +
                    "\r\n[fltsim.1]\r\ntitle=B\r\nmodel=empty\r\n",
                {{"model/model.cfg", "normal=Plane\r\n"},
                 {"model/Plane.mdl", mdlBytes("MDL9", 42)},
                 {"model.empty/model.cfg", ""},
                 {"model.empty/Plane.mdl", mdlBytes("MDL9", 7)}});
        frm_Main& w = s.start();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        if (row == 1) {
            QVERIFY(s.answers.calls().empty());
            QCOMPARE(w.ui.txt_FS9Radius->text(), QStringLiteral("42"));
            ListView* grid = w.ui.ListView1;
            const QPoint at(grid->columnViewportPosition(1) + 3,
                            grid->visualItemRect(grid->topLevelItem(1)).center().y());
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        }

        QCOMPARE(s.answers.calls().size(), size_t(1));
        const msgbox::Call& box = s.answers.calls().front();
        QVERIFY2(box.prompt.startsWith(u"A runtime error has occured\r\n\r\nError number: 9\r\n"
                                       "Error description: Subscript out of range\r\n"
                                       "Procedure ListView1_DblClick\r\n"),
                 qPrintable(box.prompt));
        QCOMPARE(box.style, int(msgbox::vbOKOnly));
        // The fields before the model lookup are filled, the steps after it skipped.
        QCOMPARE(w.ui.txt_Title->text(), row == 0 ? QStringLiteral("A") : QStringLiteral("B"));
        if (row == 0)
            QVERIFY(!w.ui.cmd_ParkingCodes->isEnabled());
        QVERIFY(w.sMdlFile.isEmpty());
        QCOMPARE(w.vRadiusOrg, QString());
        QVERIFY(w.ui.txt_FS9Radius->text().isEmpty());
        QVERIFY(w.ui.txt_FS9Radius->isReadOnly());
    }

    void unreadableModelFile_data()
    {
        QTest::addColumn<QByteArray>("mdl");
        QTest::addColumn<bool>("locked");
        QTest::newRow("11 bytes: no whole tag") << mdlBytes("MDLX", 0, 11) << false;
        QTest::newRow("MDL9 cut before the radius") << mdlBytes("MDL9", 42, 28) << false;
        QTest::newRow("MDL8 of 20 bytes") << mdlBytes("MDL8", 42, 20) << false;
        QTest::newRow("empty file") << QByteArray("") << false;
        QTest::newRow("no read permission") << mdlBytes("MDL9", 42) << true;
    }

    void unreadableModelFile()
    {
        QFETCH(QByteArray, mdl);
        QFETCH(bool, locked);
        if (locked && testutil::runningAsRoot())
            QSKIP("root reads files without read permission");
        Scene s("[fltsim.0]\r\ntitle=Liner\r\nmodel=\r\n",
                {{"model/model.cfg", "normal=Plane\r\n"}, {"model/Plane.mdl", mdl}});
        const QString mdlPath = s.folder() + "/model/Plane.mdl";
        if (locked)
            testutil::setMode(mdlPath, 0);
        frm_Main& w = s.start();

        QCOMPARE(s.answers.calls().size(), size_t(1));
        const msgbox::Call& box = s.answers.calls().front();
        QCOMPARE(box.prompt,
                 QStringLiteral("The model file:") + mdlPath +
                     QStringLiteral("\r\n\r\n could not be opened for write access. Please make sure "
                                    "that the sim is not running and no other program access this "
                                    "file."));
        QCOMPARE(box.style, int(msgbox::vbOKOnly | msgbox::vbCritical));
        QCOMPARE(box.title, msgbox::programTitle());
        QCOMPARE(w.ui.StatusBar1->panelPictureText(9), kNok);
        // The fields before the model were filled; the steps after it were skipped.
        QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("Liner"));
        QVERIFY(!w.ui.cmd_ParkingCodes->isEnabled());
        QVERIFY(!w.ui.cmdDropDown->isEnabled());
        // Nothing read from this file may be written back.
        QCOMPARE(w.vRadiusOrg, QString());
        QVERIFY(w.ui.txt_FS9Radius->isReadOnly());
        if (locked)
            testutil::setMode(mdlPath, 0644);
    }

    void oddModelAndAirFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name"); // the file that is not a regular file
        for (const char* name : {"model/model.cfg", "model/Plane.mdl", "Jet.air"}) {
            for (const char* kind : testutil::kOddKinds)
                QTest::addRow("%s %s", kind, name) << QString::fromLatin1(kind) << QString::fromLatin1(name);
        }
    }

    void oddModelAndAirFiles()
    {
        // A pipe, socket, device or folder where a model or air file should be
        // is a missing file: no box blames a lock, and it is never read.
        QFETCH(QString, kind);
        QFETCH(QString, name);
        Scene s("[fltsim.0]\r\ntitle=Liner\r\nmodel=\r\nsim=Jet\r\n",
                {{"model/model.cfg", "normal=Plane\r\n"},
                 {"model/Plane.mdl", mdlBytes("MDL9", 42)},
                 {"Jet.air", testutil::airTypeRecord(2)}});
        const testutil::OddFile odd(s.file(name), kind);
        QVERIFY(odd.made());
        frm_Main& w = s.start();

        QVERIFY(s.answers.calls().empty());
        QCOMPARE(odd.readerOpens(), 0);
        QCOMPARE(w.ui.txt_Title->text(), QStringLiteral("Liner"));
        QVERIFY(w.ui.cmd_ParkingCodes->isEnabled());
        if (name.endsWith(u".air")) {
            QCOMPARE(w.ui.txt_FS9Radius->text(), QStringLiteral("42"));
            QVERIFY(!w.ui.opt_ac_AI->isChecked());
            QVERIFY(!w.ui.opt_ac_Nok->isChecked());
        } else {
            QCOMPARE(w.ui.StatusBar1->panelPictureText(9), kNok);
            QCOMPARE(w.vRadiusOrg, QString());
            QVERIFY(w.ui.txt_FS9Radius->isReadOnly());
            QVERIFY(w.ui.opt_ac_AI->isChecked());
        }
    }

    void modelOfPreviousEntryIsForgotten()
    {
        // Row 0 has a radius; row 1 has no model.cfg: its display must not keep
        // row 0's model file or radius for the write-back.
        Scene s("[fltsim.0]\r\ntitle=A\r\nmodel=\r\n[fltsim.1]\r\ntitle=B\r\nmodel=Ghost\r\n",
                {{"model/model.cfg", "normal=Plane\r\n"}, {"model/Plane.mdl", mdlBytes("MDL9", 42)}});
        frm_Main& w = s.start();
        QCOMPARE(w.vRadiusOrg, QStringLiteral("42"));
        w.ui.ListView1->selectRow(1);
        w.ListView1_DblClick();
        QCOMPARE(w.vRadiusOrg, QString());
        QCOMPARE(w.sMdlFile, QString());
        QVERIFY(w.ui.txt_FS9Radius->isReadOnly());
        QCOMPARE(w.ui.StatusBar1->panelPictureText(9), kNok);
    }

    void airFileListSelection_data()
    {
        QTest::addColumn<QByteArray>("sim");
        QTest::addColumn<QString>("selected"); // empty: nothing selected
        QTest::newRow("exact name") << QByteArray("B738") << "B738";
        QTest::newRow("second item") << QByteArray("A320") << "A320";
        QTest::newRow("other letter case") << QByteArray("b738") << "";
        QTest::newRow("no such file") << QByteArray("Ghost") << "";
        QTest::newRow("empty sim") << QByteArray("") << "";
    }

    void airFileListSelection()
    {
        QFETCH(QByteArray, sim);
        QFETCH(QString, selected);
        Scene s("[fltsim.0]\r\ntitle=A\r\nsim=A320\r\n[fltsim.1]\r\ntitle=B\r\nsim=" + sim + "\r\n",
                {{"A320.air", airRecord(0x105, le32(0))}, {"B738.air", airRecord(0x105, le32(2))}});
        frm_Main& w = s.start();
        QCOMPARE(w.ui.lst_Airfile->count(), 2);
        w.ui.ListView1->selectRow(1);
        w.ListView1_Click();
        const QList<QListWidgetItem*> items = w.ui.lst_Airfile->selectedItems();
        if (selected.isEmpty()) {
            QVERIFY(items.isEmpty());
            QCOMPARE(w.ui.lst_Airfile->currentRow(), -1);
        } else {
            QCOMPARE(items.size(), 1);
            QCOMPARE(items.first()->text(), selected);
            QCOMPARE(w.ui.lst_Airfile->currentItem()->text(), selected);
        }
        QCOMPARE(w.ui.txt_CurrentAirfile->text(), sim.isEmpty() ? QStringLiteral("<none>") : QString(sim));
        QCOMPARE(w.ui.combo_Airfile->currentIndex(), -1);
    }

    void airTypeButtons_data()
    {
        QTest::addColumn<QByteArray>("sim");
        QTest::addColumn<QByteArray>("air"); // null: no file
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<bool>("typesEnabled");
        QTest::addColumn<int>("airType");
        const QByteArray other = airRecord(0x100, QByteArray(10, 'a')) + airRecord(0x101, {});
        // Row 0 shows a helicopter first (iAirType 2); row 1 is the case.
        QTest::newRow("type 0") << QByteArray("Row1") << airRecord(0x105, le32(0)) << false << "opt_ac_Normal"
                                << true << 1;
        QTest::newRow("type 2") << QByteArray("Row1") << airRecord(0x105, le32(2)) << false << "opt_ac_AI"
                                << true << 3;
        QTest::newRow("type record third, at offset 26")
            << QByteArray("Row1") << other + airRecord(0x105, le32(0)) << false << "opt_ac_Normal" << true
            << 1;
        QTest::newRow("type 3: no button changes")
            << QByteArray("Row1") << airRecord(0x105, le32(3)) << false << "opt_ac_Helicopter" << true << 2;
        QTest::newRow("01 00 05 00: no known type")
            << QByteArray("Row1") << airRecord(0x105, QByteArray("\x01\x00\x05\x00", 4)) << false
            << "opt_ac_Helicopter" << true << 2;
        QTest::newRow("no type record") << QByteArray("Row1") << other << false << "opt_ac_Nok" << false << 2;
        QTest::newRow("id 0x1050 is not 0x105")
            << QByteArray("Row1") << airRecord(0x1050, le32(0)) << false << "opt_ac_Nok" << false << 2;
        QTest::newRow("empty .air file")
            << QByteArray("Row1") << QByteArray("") << false << "opt_ac_Nok" << false << 2;
        QTest::newRow("unreadable .air file")
            << QByteArray("Row1") << airRecord(0x105, le32(0)) << true << "opt_ac_Nok" << false << 2;
        QTest::newRow("empty sim changes nothing")
            << QByteArray("") << airRecord(0x105, le32(0)) << false << "opt_ac_Helicopter" << true << 2;
        QTest::newRow("missing .air file changes nothing")
            << QByteArray("Ghost") << airRecord(0x105, le32(0)) << false << "opt_ac_Helicopter" << true << 2;
    }

    void airTypeButtons()
    {
        QFETCH(QByteArray, sim);
        QFETCH(QByteArray, air);
        QFETCH(bool, locked);
        QFETCH(QString, checked);
        QFETCH(bool, typesEnabled);
        QFETCH(int, airType);
        if (locked && testutil::runningAsRoot())
            QSKIP("root reads files without read permission");
        Scene s("[fltsim.0]\r\ntitle=A\r\nsim=Heli\r\n[fltsim.1]\r\ntitle=B\r\nsim=" + sim + "\r\n",
                {{"Heli.air", airRecord(0x105, le32(1))}, {"Row1.air", air}});
        if (locked)
            testutil::setMode(s.folder() + "/Row1.air", 0);
        frm_Main& w = s.start();
        QVERIFY(w.ui.opt_ac_Helicopter->isChecked());
        QCOMPARE(w.iAirType, 2);

        w.ui.ListView1->selectRow(1);
        w.ListView1_DblClick();
        QRadioButton* const buttons[] = {w.ui.opt_ac_Normal, w.ui.opt_ac_Helicopter, w.ui.opt_ac_AI,
                                         w.ui.opt_ac_Nok};
        for (QRadioButton* b : buttons)
            QCOMPARE(b->isChecked(), b->objectName() == checked);
        for (QRadioButton* b : {w.ui.opt_ac_Normal, w.ui.opt_ac_Helicopter, w.ui.opt_ac_AI})
            QCOMPARE(b->isEnabled(), typesEnabled);
        QCOMPARE(w.iAirType, airType);
        QVERIFY(w.bAirReady);
        QVERIFY(s.answers.calls().empty());
        if (locked)
            testutil::setMode(s.folder() + "/Row1.air", 0644);
    }

    void resizeGridShowsHiddenLastColumn()
    {
        Scene s("[fltsim.0]\r\ntitle=A rather long title that needs room\r\nui_type=Boeing 737-800\r\n"
                "texture=Livery\r\n");
        frm_Main& w = s.start();
        ListView* grid = w.ui.ListView1;
        const int last = ListView::ColumnCount - 1;
        grid->setColumnWidth(last, 0);
        grid->setColumnWidth(5, 0);
        grid->setColumnWidth(1, 3);

        w.ResizeGrid();

        QCOMPARE(grid->columnWidth(5), 0); // hidden columns other than the last stay hidden
        QCOMPARE(grid->columnWidth(1), std::max(grid->sizeHintForIndex(grid->model()->index(0, 1)).width(),
                                                grid->header()->sectionSizeHint(1)));
        int others = 0;
        for (int c = 0; c < last; ++c)
            others += grid->columnWidth(c);
        QVERIFY(grid->columnWidth(last) > 0);
        QVERIFY(grid->columnWidth(last) >= grid->header()->sectionSizeHint(last));
        // The last column takes whatever width the others leave.
        QVERIFY(others + grid->columnWidth(last) >= grid->viewport()->width());
    }
};

QTEST_MAIN(TestFrmMainEntry)
#include "tst_frmmain_entry.moc"
