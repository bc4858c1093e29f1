// Painting during long work: waiting events run at once, the windows'
// repaints wait until the work has gone on for a while, and none is lost.
#include "shared/modGlobal.h"

#include "TestUtil.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {

class PaintCounter : public QWidget
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// A shown window that has painted, and a pause that ends any earlier work.
void showPainted(PaintCounter& w)
{
    w.resize(200, 100);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_VERIFY(w.paints > 0);
    QTest::qWait(400);
}

} // namespace

class TestKeepPainting : public QObject
{
    Q_OBJECT

private slots:
    void shortReadPaintsAfterwards()
    {
        PaintCounter w;
        showPainted(w);
        const int before = w.paints;
        w.update();
        bool ran = false;
        QTimer::singleShot(0, this, [&ran] { ran = true; });
        QTemporaryDir tmp;
        const QString f = testutil::writeFileIn(tmp, "model.cfg", "[models]\r\nnormal=m\r\n");
        std::optional<QStringList> lines;
        QVERIFY(modGlobal::FileToArray(f, lines).ok);
        QVERIFY(ran);
        QCOMPARE(w.paints, before);
        QTRY_VERIFY(w.paints > before);
    }

    void longWorkPaintsMeanwhile()
    {
        PaintCounter w;
        showPainted(w);
        const int before = w.paints;
        QElapsedTimer t;
        t.start();
        while (w.paints == before && t.elapsed() < 20000) {
            w.update();
            QElapsedTimer busy;
            busy.start();
            while (busy.elapsed() < 5) {
            }
            modGlobal::KeepPainting();
        }
        QVERIFY(w.paints > before);
    }
};

QTEST_MAIN(TestKeepPainting)
#include "tst_keeppainting.moc"
