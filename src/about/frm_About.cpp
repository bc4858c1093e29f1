#include "about/frm_About.h"

#include "about/OperatingSystem.h"
#include "about/ProgramIcon.h"
#include "shared/AppInfo.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {

QLabel* namedLabel(QWidget* parent, const QString& name, const QString& text = {})
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    return l;
}

} // namespace

frm_About::frm_About(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frm_About"));
    setWindowTitle(QStringLiteral("About Fernquill"));
    setWindowIcon(programicon::icon());
    setFont(QFont(QStringLiteral("Arial"), 9));
    setFocusPolicy(Qt::StrongFocus);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);

    imgLogo = new QLabel(Frame1);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(programicon::pixmap(128));
    imgLogo->setFixedSize(128, 128);

    lblProductName = namedLabel(Frame1, QStringLiteral("lblProductName"), QStringLiteral("Fernquill"));
    QFont big = font();
    big.setPointSize(18);
    big.setBold(true);
    lblProductName->setFont(big);
    lblVERSION = namedLabel(Frame1, QStringLiteral("lblVERSION"));
    lblPlatform = namedLabel(Frame1, QStringLiteral("lblPlatform"));
    lblCopyright = namedLabel(Frame1, QStringLiteral("lblCopyright"), appinfo::makerNotice());

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblProductName);
    texts->addWidget(lblVERSION);
    texts->addSpacing(8);
    texts->addWidget(lblPlatform);
    texts->addStretch(1);
    texts->addWidget(lblCopyright);
    auto* inside = new QHBoxLayout(Frame1);
    inside->addWidget(imgLogo, 0, Qt::AlignTop);
    inside->addSpacing(12);
    inside->addLayout(texts, 1);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(Frame1);
    setFixedWidth(600);

    // A click on any part of the window closes it, as does any key.
    for (QWidget* w : {static_cast<QWidget*>(Frame1), static_cast<QWidget*>(imgLogo),
                       static_cast<QWidget*>(lblProductName), static_cast<QWidget*>(lblVERSION),
                       static_cast<QWidget*>(lblPlatform), static_cast<QWidget*>(lblCopyright)})
        w->installEventFilter(this);
}

void frm_About::Form_Load()
{
    lblVERSION->setText(QStringLiteral("Version ") + appinfo::versionText());
    const OperatingSystem os;
    lblPlatform->setText(osinfo::platformLine(os.info()));
    adjustSize();
}

bool frm_About::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frm_About::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    close();
}

void frm_About::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    close();
}
