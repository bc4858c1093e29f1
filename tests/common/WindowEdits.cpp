#include "WindowEdits.h"

#include "AircraftScene.h"

#include "mainwindow/frm_Main.h"
#include "mainwindow/widgets/DescriptionEdit.h"
#include "mainwindow/widgets/ListView.h"
#include "shared/MessageBox.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace testutil {

void applyEdits(frm_Main& w, const Edits& edits)
{
    for (auto it = edits.cbegin(); it != edits.cend(); ++it) {
        if (auto* box = w.findChild<QLineEdit*>(it.key()))
            box->setText(it.value());
        else if (auto* check = w.findChild<QCheckBox*>(it.key()))
            check->setChecked(it.value() == u"1");
        else if (auto* label = w.findChild<QLabel*>(it.key()))
            label->setText(it.value());
        else if (it.key() == u"txt_Description")
            w.ui.txt_Description->setText(it.value());
        else
            QFAIL(qPrintable(QStringLiteral("no control %1").arg(it.key())));
    }
}

frm_Main& runUpdateRow(AircraftScene& scene, const QString& update)
{
    QFETCH(int, row);
    QFETCH(Edits, edits);
    QFETCH(QByteArray, expected);
    frm_Main& w = scene.start();
    w.ui.ListView1->selectRow(row);
    w.ListView1_DblClick();
    applyEdits(w, edits);
    QTest::mouseClick(w.findChild<QPushButton*>(update), Qt::LeftButton);
    [&] {
        QVERIFY(scene.answers.calls().empty());
        QCOMPARE(scene.cfg(), expected);
        QCOMPARE(w.ui.ListView1->selectedRow(), row);
    }();
    return w;
}

void addConfirmationRows()
{
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("written");
    QTest::newRow("option off: no question") << false << 0 << true;
    QTest::newRow("Yes") << true << int(msgbox::vbYes) << true;
    QTest::newRow("No") << true << int(msgbox::vbNo) << false;
}

frm_Main& startForConfirmationRow(AircraftScene& scene)
{
    QFETCH(bool, confirm);
    QFETCH(int, answer);
    if (answer)
        scene.answers.button(answer);
    return scene.start(confirm, /*autoBackup*/ true);
}

void verifyAskedSure(const msgbox::ScriptedAnswers& answers, bool asked)
{
    QCOMPARE(answers.calls().size(), size_t(asked ? 1 : 0));
    if (!asked)
        return;
    const msgbox::Call& box = answers.calls().front();
    QCOMPARE(box.prompt, QStringLiteral("Are you sure?"));
    QCOMPARE(box.style, int(msgbox::vbYesNo | msgbox::vbQuestion));
    QCOMPARE(box.title, msgbox::programTitle());
}

void addYesNoRows()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes") << int(msgbox::vbYes);
    QTest::newRow("No") << int(msgbox::vbNo);
}

void ageFile(const QString& path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC),
                          QFileDevice::FileModificationTime));
}

QDateTime mtime(const QString& path)
{
    return QFileInfo(path).lastModified();
}

} // namespace testutil
