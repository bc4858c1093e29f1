#include "mainwindow/widgets/DescriptionEdit.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "mainwindow/widgets/VbColors.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

// The main window's status panels, description box and the colour helpers.
class tst_MainWidgets : public QObject
{
    Q_OBJECT

private slots:
    void statusDesignedPanels_data()
    {
        QTest::addColumn<int>("panel");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tag");
        QTest::newRow("1") << 1 << "FS9 :"
                           << "Aircraft configuration status: green 'OK' = great, red 'NOK' = error";
        QTest::newRow("2") << 2 << "n/a"
                           << "\"found\" if FS9 installation detected, else \"n/a\"";
        QTest::newRow("3")
            << 3 << "FS9 ATC"
            << "Green background if FS9 airlines.cfg was found & loaded, else red. Double-click to "
               "edit file.";
        QTest::newRow("4") << 4 << "FSX :"
                           << "";
        QTest::newRow("5") << 5 << "n/a"
                           << "\"found\" if FSX installation detected, else \"n/a\"";
        QTest::newRow("7") << 7 << "Aircraft :"
                           << "";
        QTest::newRow("8") << 8 << "AC Folder"
                           << "Green background if current folder is an aircraft folder, else red";
        QTest::newRow("9")
            << 9 << ""
            << "Basic aircraft status. Checks only section and title uniqueness and model files "
               "availability. Green means passed, red means error. NOTE: You still may have other "
               "errors in your configuration. Double-click here for a detailed analysis.";
        QTest::newRow("10") << 10 << ""
                            << "Shows how many aircraft are defined in this folder & aircraft.cfg";
        QTest::newRow("12") << 12 << "<time>"
                            << "current time";
        QTest::newRow("no panel 0") << 0 << ""
                                    << "";
        QTest::newRow("no panel 13") << 13 << ""
                                     << "";
    }
    void statusDesignedPanels()
    {
        QFETCH(int, panel);
        QFETCH(QString, text);
        QFETCH(QString, tag);
        StatusPanels status;
        if (text != u"<time>")
            QCOMPARE(status.panelText(panel), text);
        QCOMPARE(status.panelTag(panel), tag);
        QVERIFY(!status.hasPanelPicture(panel));
    }

    void statusSetPanel_data()
    {
        QTest::addColumn<int>("panel");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("back");
        QTest::addColumn<int>("alignment");
        QTest::newRow("found") << 2 << "found" << paletteGreen() << 2;
        QTest::newRow("ATC red") << 6 << "ATC" << paletteRed() << 2;
        QTest::newRow("n/a status") << 9 << "AC Status: n/a" << paletteGrey() << 2;
        QTest::newRow("left") << 8 << "AC Folder" << paletteGreen() << 0;
        QTest::newRow("right") << 10 << "x" << paletteRed() << 1;
    }
    void statusSetPanel()
    {
        QFETCH(int, panel);
        QFETCH(QString, text);
        QFETCH(QColor, back);
        QFETCH(int, alignment);
        StatusPanels status;
        status.resize(1100, 26);
        status.show();
        QVERIFY(QTest::qWaitForWindowExposed(&status));
        const QString plain = status.panelText(panel);

        status.setPanel(panel, text, back, paletteWhite(), alignment);
        QVERIFY(status.hasPanelPicture(panel));
        QCOMPARE(status.panelPictureText(panel), text);
        QCOMPARE(status.panelBackColor(panel), back);
        QCOMPARE(status.panelForeColor(panel), paletteWhite());
        QCOMPARE(status.panelAlignment(panel), alignment);
        QCOMPARE(status.panelText(panel), plain); // the picture leaves the plain text alone

        // The picture covers the panel in its back colour.
        const QImage image = status.grab().toImage();
        const QRect r = status.panelRect(panel);
        QCOMPARE(QColor(image.pixel(r.left() + 1, r.top() + 1)), back);
        QCOMPARE(QColor(image.pixel(r.right() - 1, r.bottom() - 1)), back);
        // ... with the text on it in white.
        int whitish = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x)
                whitish += QColor(image.pixel(x, y)).lightness() > 220 ? 1 : 0;
        }
        QVERIFY(whitish > 5);

        status.clearPanelPicture(panel);
        QVERIFY(!status.hasPanelPicture(panel));
        const QImage cleared = status.grab().toImage();
        QVERIFY(QColor(cleared.pixel(r.left() + 1, r.center().y())) != back);

        status.setPanel(0, text, back, paletteWhite(), 2); // no such panel: ignored
        QVERIFY(!status.hasPanelPicture(0));
    }

    void statusPanelAt()
    {
        StatusPanels status;
        status.resize(1100, 26);
        for (int i = 2; i <= StatusPanels::PanelCount; ++i)
            QVERIFY(status.panelRect(i).left() > status.panelRect(i - 1).right());
        QVERIFY(status.panelRect(12).right() < 1100);

        const QRect third = status.panelRect(3);
        QCOMPARE(status.panelAt(third.left()), 3);
        QCOMPARE(status.panelAt(third.center().x()), 3);
        QCOMPARE(status.panelAt(third.left() + third.width()), 3); // the right edge still counts
        QCOMPARE(status.panelAt(status.panelRect(4).left()), 4);
        QCOMPARE(status.panelAt(-5), 0);
        QCOMPARE(status.panelAt(5000), 0);

        // Panel 10 takes the width the others leave.
        const int narrow = status.panelRect(10).width();
        status.resize(1400, 26);
        QCOMPARE(status.panelRect(10).width(), narrow + 300);
        QCOMPARE(status.panelRect(2).width(), status.panelRect(5).width());
    }

    void statusDateAndTime()
    {
        StatusPanels status;
        const QLocale locale = QLocale::system();
        QDateTime now(QDate(2024, 2, 29), QTime(23, 59, 59));
        status.setClock([&now] { return now; });
        QCOMPARE(status.panelText(11), locale.toString(QDate(2024, 2, 29), QLocale::ShortFormat));
        QCOMPARE(status.panelText(12), locale.toString(QTime(23, 59, 59), QLocale::ShortFormat));

        // The status bar keeps them current itself.
        now = QDateTime(QDate(2024, 3, 1), QTime(0, 1, 0));
        QTRY_COMPARE_WITH_TIMEOUT(status.panelText(11),
                                  locale.toString(QDate(2024, 3, 1), QLocale::ShortFormat), 3000);
        QCOMPARE(status.panelText(12), locale.toString(QTime(0, 1, 0), QLocale::ShortFormat));

        // The real clock by default.
        StatusPanels real;
        const QDate today = QDate::currentDate();
        const QString shown = real.panelText(11);
        QVERIFY(shown == locale.toString(today, QLocale::ShortFormat) ||
                shown == locale.toString(today.addDays(-1), QLocale::ShortFormat));
    }

    void statusMouse()
    {
        StatusPanels status;
        status.resize(1100, 26);
        status.show();
        QVERIFY(QTest::qWaitForWindowExposed(&status));
        QSignalSpy doubleClicked(&status, &StatusPanels::panelDoubleClicked);
        QSignalSpy moved(&status, &StatusPanels::mouseMoved);

        const QPoint over5 = status.panelRect(5).center();
        QMouseEvent move(QEvent::MouseMove, over5, status.mapToGlobal(over5), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&status, &move);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.last().at(1).toPoint(), over5);
        QCOMPARE(status.panelAt(moved.last().at(1).toPoint().x()), 5);
        QCOMPARE(moved.last().at(0).value<Qt::MouseButtons>(), Qt::NoButton);

        QTest::mouseDClick(&status, Qt::LeftButton, {}, status.panelRect(6).center());
        QCOMPARE(doubleClicked.count(), 1);
        QCOMPARE(doubleClicked.at(0).at(0).toInt(), 6);
        QTest::mouseDClick(&status, Qt::LeftButton, {}, status.panelRect(9).center());
        QCOMPARE(doubleClicked.at(1).at(0).toInt(), 9);

        // Hovering shows the panel's tag, unless tag tips are switched off; a panel
        // without a tag shows nothing.
        const auto hover = [&status](int panel) {
            const QPoint at = status.panelRect(panel).center();
            QHelpEvent help(QEvent::ToolTip, at, status.mapToGlobal(at));
            QCoreApplication::sendEvent(&status, &help);
        };
        hover(9);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), status.panelTag(9));
        hover(4);
        QTRY_VERIFY(!QToolTip::isVisible());
        status.setTagTipsEnabled(false);
        hover(9);
        QVERIFY(!QToolTip::isVisible());
    }

    void statusFont()
    {
        StatusPanels status;
        QCOMPARE(status.font().family(), QStringLiteral("Arial"));
        QCOMPARE(status.font().pointSize(), 10);
        QVERIFY(status.font().bold());
        QVERIFY(!status.isSizeGripEnabled());
    }

    void descriptionStaysOneLine()
    {
        DescriptionEdit edit;
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        edit.setText(QStringLiteral("first\r\nsecond\nthird"));
        QCOMPARE(edit.text(), QStringLiteral("first second third"));

        edit.setFocus();
        edit.moveCursor(QTextCursor::End);
        QTest::keyClick(&edit, Qt::Key_Return);
        QTest::keyClick(&edit, Qt::Key_Enter);
        QTest::keyClicks(&edit, QStringLiteral(" x"));
        QCOMPARE(edit.text(), QStringLiteral("first second third x"));

        QGuiApplication::clipboard()->setText(QStringLiteral(" pasted\nline"));
        edit.paste();
        QCOMPARE(edit.text(), QStringLiteral("first second third x pasted line"));

        // The text as shown, worked out without the box.
        for (const QString& s : {QStringLiteral("a\r\nb\rc\u2028d\u2029e"),
                                 QStringLiteral("no\u00A0break \uFDD0x\uFDD1y\tz"), QString()}) {
            edit.setText(s);
            QCOMPARE(DescriptionEdit::shownText(s), edit.text());
        }
    }

    void colours_data()
    {
        QTest::addColumn<QColor>("actual");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("bbggrr: red in the low byte") << vbColor(0x0000FF) << QColor(255, 0, 0);
        QTest::newRow("light apricot") << vbColor(0xC0E0FF) << QColor(255, 224, 192);
        QTest::newRow("light yellow") << vbColor(vbcolor::LightYellow) << QColor(255, 255, 192);
        QTest::newRow("grey") << vbColor(vbcolor::Grey) << QColor(224, 224, 224);
        QTest::newRow("high byte ignored") << vbColor(0xFF00FF00) << QColor(0, 255, 0);
        QTest::newRow("palette 2") << paletteGreen() << QColor(0, 128, 0);
        QTest::newRow("palette 4") << paletteRed() << QColor(128, 0, 0);
        QTest::newRow("palette 8") << paletteGrey() << QColor(128, 128, 128);
        QTest::newRow("palette 15") << paletteWhite() << QColor(255, 255, 255);
        QTest::newRow("palette 1 is blue") << qbColor(1) << QColor(0, 0, 128);
        QTest::newRow("palette 7") << qbColor(7) << QColor(192, 192, 192);
        QTest::newRow("outside the palette") << qbColor(16) << QColor(0, 0, 0);
        QTest::newRow("negative index") << qbColor(-1) << QColor(0, 0, 0);
    }
    void colours()
    {
        QFETCH(QColor, actual);
        QFETCH(QColor, expected);
        QCOMPARE(actual, expected);
    }

    void backColorShows_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("enabled");
        for (const char* kind :
             {"QLineEdit", "QLabel", "QCheckBox", "QFrame", "DescriptionEdit", "QListWidget"}) {
            QTest::newRow(kind) << QString::fromLatin1(kind) << true;
            QTest::newRow(qPrintable(QString::fromLatin1(kind) + QStringLiteral(" disabled")))
                << QString::fromLatin1(kind) << false;
        }
    }
    void backColorShows()
    {
        QFETCH(QString, kind);
        QFETCH(bool, enabled);
        QWidget host;
        QWidget* w = nullptr;
        if (kind == u"QLineEdit")
            w = new QLineEdit(&host);
        else if (kind == u"QLabel")
            w = new QLabel(QStringLiteral("x"), &host);
        else if (kind == u"QCheckBox")
            w = new QCheckBox(QStringLiteral("x"), &host);
        else if (kind == u"QFrame")
            w = new QFrame(&host);
        else if (kind == u"DescriptionEdit")
            w = new DescriptionEdit(&host);
        else
            w = new QListWidget(&host);
        w->setGeometry(0, 0, 160, 60);
        w->setEnabled(enabled);
        host.resize(200, 100);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));

        for (const quint32 value : {vbcolor::Grey, vbcolor::White, vbcolor::Red}) {
            setBackColor(w, vbColor(value));
            QCOMPARE(backColor(w), vbColor(value));
            // Read back from the screen: a point away from borders, indicator and text.
            const QImage image = w->grab().toImage();
            QCOMPARE(QColor(image.pixel(image.width() - 20, image.height() / 2 + 10)), vbColor(value));
        }
        setBackColor(nullptr, Qt::red); // ignored
        QCOMPARE(backColor(nullptr), QColor());
    }
};

QTEST_MAIN(tst_MainWidgets)
#include "tst_mainwidgets.moc"
