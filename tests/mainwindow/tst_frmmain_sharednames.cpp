// Packs that hold an entry section name two or three times: every grid row
// shows its own section, and each command that writes an entry writes the
// row's own section, leaving every other byte of the file as it was.
#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DescriptionEdit.h"
#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"

#include "AircraftScene.h"
#include "TestUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {

using Scene = testutil::AircraftScene;

// Every key the commands write is present without a comment, so a write
// that keeps a value keeps its line byte for byte.
QByteArray entry(const QByteArray& number, const QByteArray& name)
{
    return "[fltsim." + number + "]\r\ntitle=" + name + "\r\nsim=B738\r\nmodel=\r\ntexture=" + name +
           "\r\natc_parking_types=GATE\r\natc_parking_codes=C\r\nui_createdby=me\r\nui_typerole=R\r\n"
           "ui_manufacturer=M\r\nui_type=T\r\nui_variation=" +
           name + "\r\natc_id=I\r\natc_flight_number=1\r\natc_airline=AL\r\natc_model=AM\r\natc_heavy=0\r\n"
                  "description=About " +
           name + "\r\n\r\n";
}

const QByteArray kHead = "[General]\r\natc_type=T\r\natc_model=M\r\n\r\n[effects]\r\nwake=a\r\nwater=b\r\n"
                         "dirt=c\r\nconcrete=d\r\ntouchdown=e,1\r\ncontrail=f\r\nstartup=g,1\r\n"
                         "vaportrail_l=h\r\nvaportrail_r=i\r\nl_wingtipvortice=j\r\nr_wingtipvortice=k\r\n\r\n";

// The entries of a pack: (section number, livery name) in file order.
using Pack = QList<QPair<QByteArray, QByteArray>>;

QByteArray cfgOf(const Pack& pack, int changedRow = -1, const QByteArray& from = {}, const QByteArray& to = {})
{
    QByteArray out = kHead;
    for (int i = 0; i < pack.size(); ++i) {
        QByteArray e = entry(pack[i].first, pack[i].second);
        if (i == changedRow)
            e.replace(from, to);
        out += e;
    }
    return out;
}

const Pack kTwo = {{"0", "Zero"}, {"2", "TwoA"}, {"1", "One"}, {"2", "TwoB"}};
const Pack kThree = {{"0", "Zero"}, {"2", "TwoA"}, {"2", "TwoB"}, {"1", "One"}, {"2", "TwoC"}};

using Command = std::function<void(frm_Main&)>;

void show(frm_Main& w, int row)
{
    w.ui.ListView1->selectRow(row);
    w.ListView1_DblClick();
}

} // namespace

Q_DECLARE_METATYPE(Pack)

class TestFrmMainSharedNames : public QObject
{
    Q_OBJECT

private slots:
    void eachCopyIsItsOwnEntry_data()
    {
        QTest::addColumn<Pack>("pack");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("from"); // the line of the row's section that changes
        QTest::addColumn<QByteArray>("to");

        for (const auto& [packName, pack] : {std::pair{"two", kTwo}, std::pair{"three", kThree}}) {
            for (int row = 0; row < pack.size(); ++row) {
                const QByteArray name = pack[row].second;
                const auto tag = [&](const char* command) -> QByteArray {
                    return QByteArray(packName) + ", row " + QByteArray::number(row) + ", " + command;
                };
                QTest::newRow(tag("update 1").constData())
                    << pack << row << "update1" << "title=" + name + "\r\n" << QByteArray("title=Edited\r\n");
                QTest::newRow(tag("update 2").constData())
                    << pack << row << "update2" << "description=About " + name << QByteArray("description=Edited");
                QTest::newRow(tag("update all, row ticked").constData())
                    << pack << row << "updateAll" << QByteArray("atc_airline=AL") << QByteArray("atc_airline=Edited");
                QTest::newRow(tag("texture assigned").constData())
                    << pack << row << "assign" << "texture=" + name + "\r\n" << QByteArray("texture=New\r\n");
            }
        }
    }
    void eachCopyIsItsOwnEntry()
    {
        QFETCH(Pack, pack);
        QFETCH(int, row);
        QFETCH(QString, command);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        Scene s(cfgOf(pack), {{"Plane/texture.New/t.bmp", "t"}});
        frm_Main& w = s.start();
        QCOMPARE(w.ui.StatusBar1->panelPictureText(9), QStringLiteral("AC Status: NOK"));

        // The grid and the display show the row's own section.
        for (int r = 0; r < pack.size(); ++r)
            QCOMPARE(w.ui.ListView1->rowText(r, 1), QString::fromLatin1(pack[r].second));
        show(w, row);
        const QString name = QString::fromLatin1(pack[row].second);
        QCOMPARE(w.ui.txt_Title->text(), name);
        QCOMPARE(w.ui.txt_Description->text(), QStringLiteral("About ") + name);
        QCOMPARE(w.ui.txt_CurrentTexture->text(), name);

        if (command == u"update1") {
            w.ui.txt_Title->setText(QStringLiteral("Edited"));
            QTest::mouseClick(w.ui.cmd_cfg_Update, Qt::LeftButton);
        } else if (command == u"update2") {
            w.ui.txt_Description->setText(QStringLiteral("Edited"));
            QTest::mouseClick(w.ui.cmd_Effect_Update, Qt::LeftButton);
        } else if (command == u"updateAll") {
            w.ui.ListView1->setTicked(row, true);
            w.ui.txt_atc_Airline->setText(QStringLiteral("Edited"));
            QTest::mouseClick(w.ui.cmd_Update_all_atc_airline, Qt::LeftButton);
        } else {
            w.ui.ListView1->selectRow(row);
            w.ListView1_Click();
            const int i = w.ui.combo_Texture->findText(QStringLiteral("New"));
            QVERIFY(i >= 0);
            w.ui.combo_Texture->setCurrentIndex(i);
            emit w.ui.combo_Texture->activated(i);
            QTest::mouseClick(w.ui.cmd_Associate, Qt::LeftButton);
        }

        QVERIFY(s.answers.calls().empty());
        QCOMPARE(s.cfg(), cfgOf(pack, row, from, to));
        QCOMPARE(w.ui.StatusBar1->panelPictureText(9), QStringLiteral("AC Status: NOK"));
    }
};

QTEST_MAIN(TestFrmMainSharedNames)
#include "tst_frmmain_sharednames.moc"
