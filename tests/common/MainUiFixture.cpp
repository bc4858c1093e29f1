#include "MainUiFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTest>

namespace testutil {

void MainUiTest::initTestCase()
{
    m_window = std::make_unique<QMainWindow>();
    m_ui.setupUi(m_window.get());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void MainUiTest::cleanupTestCase()
{
    m_window.reset();
}

QObject* MainUiTest::find(const QString& name) const
{
    return m_window->findChild<QObject*>(name);
}

QString captionOf(QObject* object)
{
    if (auto* button = qobject_cast<QAbstractButton*>(object))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(object))
        return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(object))
        return group->title();
    if (auto* action = qobject_cast<QAction*>(object))
        return action->text();
    if (auto* menu = qobject_cast<QMenu*>(object))
        return menu->title();
    return QStringLiteral("<no caption>");
}

} // namespace testutil
