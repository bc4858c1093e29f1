#include "MainUiFixture.h"

#include "mainwindow/widgets/ListView.h"
#include "mainwindow/widgets/StatusPanels.h"
#include "mainwindow/widgets/VbColors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using testutil::captionOf;

// The main window's layout at the designed size, and the controls whose
// behaviour the design itself fixes.
class tst_MainLayout : public testutil::MainUiTest
{
    Q_OBJECT

private slots:
    void aircraftTypeCanBeCleared()
    {
        m_ui.SSTab1->setEnabled(true);
        m_ui.SSTab1->setCurrentIndex(3);
        QCoreApplication::processEvents();
        const QList<QRadioButton*> types = {m_ui.opt_ac_Normal, m_ui.opt_ac_Helicopter, m_ui.opt_ac_AI,
                                            m_ui.opt_ac_Nok};
        for (QRadioButton* type : types)
            type->setEnabled(true);

        // A click (on the indicator) selects one and unselects the others, as
        // option buttons do.
        const auto click = [](QRadioButton* button) {
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        };
        click(m_ui.opt_ac_Normal);
        click(m_ui.opt_ac_AI);
        QVERIFY(m_ui.opt_ac_AI->isChecked());
        QVERIFY(!m_ui.opt_ac_Normal->isChecked());

        m_ui.clearAircraftTypeOptions();
        for (QRadioButton* type : types) {
            QVERIFY(!type->isChecked());
            QVERIFY(type->autoExclusive());
        }
        // Still one group after clearing.
        click(m_ui.opt_ac_Helicopter);
        click(m_ui.opt_ac_Nok);
        QVERIFY(!m_ui.opt_ac_Helicopter->isChecked());
        QVERIFY(m_ui.opt_ac_Nok->isChecked());

        m_ui.clearAircraftTypeOptions();
        for (QRadioButton* type : types)
            type->setEnabled(false);
        m_ui.SSTab1->setEnabled(false);
    }

    void parkingDropDownFloatsUnderItsFrame()
    {
        QStringList items;
        for (int i = 0; i < m_ui.lstParking->count(); ++i) {
            QListWidgetItem* item = m_ui.lstParking->item(i);
            QVERIFY(item->flags() & Qt::ItemIsUserCheckable);
            QCOMPARE(item->checkState(), Qt::Unchecked);
            items << item->text();
        }
        QCOMPARE(items, (QStringList{"CARGO", "DOCK", "GATE", "MIL_CARGO", "MIL_COMBAT", "RAMP"}));
        QCOMPARE(m_ui.lstParking->parentWidget(), m_window->centralWidget());

        m_ui.SSTab1->setCurrentIndex(0);
        m_ui.lstParking->show();
        QCoreApplication::processEvents();
        const QPoint below =
            m_ui.picCombo->mapTo(m_window->centralWidget(), QPoint(0, m_ui.picCombo->height()));
        QCOMPARE(m_ui.lstParking->geometry().topLeft(), below);
        QCOMPARE(m_ui.lstParking->width(), m_ui.picCombo->width());
        // All six types fit without scrolling, and the list lies on top.
        QVERIFY(m_ui.lstParking->visualItemRect(m_ui.lstParking->item(5)).bottom() <=
                m_ui.lstParking->viewport()->height());
        QCOMPARE(m_window->centralWidget()->childAt(m_ui.lstParking->geometry().center())->window(),
                 m_window.get());
        QWidget* top = m_window->centralWidget()->childAt(m_ui.lstParking->geometry().center());
        QVERIFY(top == m_ui.lstParking || m_ui.lstParking->isAncestorOf(top));

        // It follows its frame when the window changes size.
        m_window->resize(1300, 800);
        QCoreApplication::processEvents();
        QCOMPARE(m_ui.lstParking->width(), m_ui.picCombo->width());
        m_ui.lstParking->hide();
        m_window->resize(1100, 760);
        QCoreApplication::processEvents();
    }

    void layoutIsTidyAtDesignedSize_data()
    {
        QTest::addColumn<int>("tab");
        for (int tab = 0; tab < 4; ++tab)
            QTest::newRow(qPrintable(QStringLiteral("tab %1").arg(tab))) << tab;
    }
    void layoutIsTidyAtDesignedSize()
    {
        QFETCH(int, tab);
        QCOMPARE(m_window->size(), QSize(1100, 760));
        QVERIFY(m_window->minimumSizeHint().width() <= 1100);
        QVERIFY(m_window->minimumSizeHint().height() <= 760);
        m_ui.SSTab1->setCurrentIndex(tab);
        QCoreApplication::processEvents();

        // Every visible control lies inside the window, overlaps no other control
        // and shows its caption whole.
        QList<QWidget*> controls;
        for (QWidget* w : m_window->findChildren<QWidget*>()) {
            const bool leaf = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                              qobject_cast<QComboBox*>(w) || qobject_cast<QLabel*>(w) ||
                              qobject_cast<QAbstractItemView*>(w) || qobject_cast<QAbstractScrollArea*>(w);
            if (leaf && w->isVisible() && w != m_ui.lstParking &&
                !w->objectName().startsWith(QLatin1String("qt_")) &&
                qobject_cast<QTabWidget*>(w->parentWidget()) == nullptr)
                controls << w;
        }
        QVERIFY(controls.size() > 20);
        const QRect client = m_window->rect();
        QHash<QWidget*, QRect> rects;
        for (QWidget* w : std::as_const(controls)) {
            const QRect r(w->mapTo(m_window.get(), QPoint()), w->size());
            rects.insert(w, r);
            QVERIFY2(client.contains(r), qPrintable(w->objectName() + u' ' + captionOf(w)));
            if (auto* label = qobject_cast<QLabel*>(w))
                QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
            if (auto* button = qobject_cast<QPushButton*>(w)) {
                const int text = button->fontMetrics().horizontalAdvance(button->text().remove(u'&'));
                QVERIFY2(button->width() >= text + 8, qPrintable(button->objectName()));
            }
        }
        for (QWidget* a : std::as_const(controls)) {
            for (QWidget* b : std::as_const(controls)) {
                if (a == b || a->isAncestorOf(b) || b->isAncestorOf(a))
                    continue;
                QVERIFY2(!rects.value(a).intersects(rects.value(b)),
                         qPrintable(captionOf(a) + a->objectName() + QStringLiteral(" / ") + captionOf(b) +
                                    b->objectName()));
            }
        }
    }

    void exitTicksIgnoreTheMouse()
    {
        m_ui.SSTab1->setEnabled(true);
        // Clicked through the window, as the user would, so the click is routed by position.
        const auto clickThroughWindow = [this](QCheckBox* box) {
            const QPoint at = box->mapTo(m_window.get(), QPoint(6, box->height() / 2));
            QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, at);
        };
        m_ui.SSTab1->setCurrentIndex(1);
        QCoreApplication::processEvents();
        clickThroughWindow(m_ui.chk_Effect.at(0));
        QVERIFY(m_ui.chk_Effect.at(0)->isChecked()); // an ordinary box takes the click
        m_ui.chk_Effect.at(0)->setChecked(false);

        m_ui.SSTab1->setCurrentIndex(2);
        QCoreApplication::processEvents();
        clickThroughWindow(m_ui.chk_Exit_0);
        QVERIFY(!m_ui.chk_Exit_0->isChecked());
        QCOMPARE(m_ui.chk_Exit_0->focusPolicy(), Qt::NoFocus);
        m_ui.chk_Exit_0->setChecked(true); // the program still sets it
        QVERIFY(m_ui.chk_Exit_0->isChecked());
        m_ui.chk_Exit_0->setChecked(false);
        m_ui.SSTab1->setEnabled(false);
    }

    // Renders every page of the window into PNGs beside the test binary, so the
    // layout can be looked at; the files are not part of the sources.
    void grabForReview()
    {
        m_ui.SSTab1->setEnabled(true);
        for (int i = 0; i < 5; ++i)
            m_ui.ListView1->addRow({QStringLiteral("FLTSIM.%1").arg(i), QStringLiteral("Liner %1").arg(i),
                                    QStringLiteral("GATE"), QStringLiteral("AB"), QStringLiteral("me")});
        m_ui.ListView1->setTicked(1, true);
        m_ui.ListView1->selectRow(2);
        m_ui.StatusBar1->setPanel(2, QStringLiteral("found"), paletteGreen(), paletteWhite(), 2);
        m_ui.StatusBar1->setPanel(3, QStringLiteral("ATC"), paletteRed(), paletteWhite(), 2);
        m_ui.StatusBar1->setPanel(9, QStringLiteral("AC Status: OK"), paletteGreen(), paletteWhite(), 2);
        m_ui.StatusBar1->setPanelText(10, QStringLiteral("5 aircraft variations defined"));
        setBackColor(m_ui.txt_Jetways, vbColor(vbcolor::Red));
        m_ui.txt_Jetways->setText(QStringLiteral("Jetways possible: no"));
        const QString folder = QCoreApplication::applicationDirPath();
        for (int tab = 0; tab < m_ui.SSTab1->count(); ++tab) {
            m_ui.SSTab1->setCurrentIndex(tab);
            if (tab == 0)
                m_ui.lstParking->show();
            QCoreApplication::processEvents();
            QVERIFY(m_window->grab().save(folder + QStringLiteral("/mainui-tab%1.png").arg(tab)));
            m_ui.lstParking->hide();
        }
    }
};

QTEST_MAIN(tst_MainLayout)
#include "tst_mainlayout.moc"
