// The aircraft-type switch writes only into the air file of the aircraft
// whose type the buttons show.
#include "editing/AirTypeSwitch.h"

#include "TestUtil.h"

#include <QFile>
#include <QTest>

namespace {

// One type record of type 1 (Helicopter).
const QByteArray kAir("\x05\x01\0\0\x04\0\0\0\x01\0\0\0", 12);

QByteArray withType(quint8 type)
{
    QByteArray b = kAir;
    b[8] = char(type);
    return b;
}

} // namespace

class TestAirTypeSwitch : public QObject
{
    Q_OBJECT

private slots:
    void guards_data()
    {
        QTest::addColumn<QString>("target"); // relative to the temporary folder
        QTest::addColumn<QString>("shown");  // the file the buttons were read from
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("written");
        using S = AirTypeSwitch::Status;
        QTest::newRow("the shown file") << "Plane/Jet.air"
                                        << "Plane/Jet.air" << int(S::Written) << true;
        QTest::newRow("another file than shown") << "Plane/Jet.air"
                                                 << "Plane/Other.air" << int(S::NotShown) << false;
        QTest::newRow("nothing shown") << "Plane/Jet.air"
                                       << "" << int(S::NotShown) << false;
        QTest::newRow("outside the folder") << "Outside.air"
                                            << "Outside.air" << int(S::Outside) << false;
        QTest::newRow("link out of the folder") << "Plane/Link.air"
                                                << "Plane/Link.air" << int(S::Outside) << false;
        QTest::newRow("..\\ out of the folder") << "Plane/../Outside.air"
                                                << "Outside.air" << int(S::Outside) << false;
        QTest::newRow("missing") << "Plane/Gone.air"
                                 << "Plane/Gone.air" << int(S::Missing) << false;
        QTest::newRow("a folder") << "Plane/Dir.air"
                                  << "Plane/Dir.air" << int(S::Missing) << false;
    }

    void guards()
    {
        QFETCH(QString, target);
        QFETCH(QString, shown);
        QFETCH(int, status);
        QFETCH(bool, written);
        QTemporaryDir tmp;
        const QString root = tmp.path() + u'/';
        for (const char* name : {"Plane/Jet.air", "Plane/Other.air", "Outside.air"})
            testutil::writeFile(root + name, kAir);
        testutil::makeDir(root + "Plane/Dir.air");
        QVERIFY(QFile::link(root + "Outside.air", root + "Plane/Link.air"));

        const AirTypeSwitch::Outcome out = AirTypeSwitch::write(
            root + target, shown.isEmpty() ? QString() : root + shown, root + "Plane", 2);
        QCOMPARE(int(out.status), status);
        QCOMPARE(out.airTypeIndex, written ? 3 : 0);
        QCOMPARE(testutil::readFile(root + "Plane/Jet.air"), written ? withType(2) : kAir);
        QCOMPARE(testutil::readFile(root + "Outside.air"), kAir);
    }
};

QTEST_GUILESS_MAIN(TestAirTypeSwitch)
#include "tst_airtypeswitch.moc"
