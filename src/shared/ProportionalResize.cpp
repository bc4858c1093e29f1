#include "shared/ProportionalResize.h"

#include "shared/FormControls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace modGlobal {

std::vector<FormRecord> gFormRecords;
std::vector<ControlRecord> gControlRecords;
bool gbResizing = false;

namespace {

// The window's client area: a main window's menu bar is not part of it.
QSize innerSize(const QWidget* window)
{
    QSize size = window->size();
    if (const auto* main = qobject_cast<const QMainWindow*>(window)) {
        const QWidget* menu = main->menuWidget();
        if (menu && menu->isVisibleTo(window))
            size.rheight() -= menu->height();
    }
    return size.expandedTo(QSize(0, 0));
}

qint32 roundHalfEven(double value)
{
    return static_cast<qint32>(std::nearbyint(value));
}

qint32 scaled(qint32 stored, qint32 percent)
{
    return static_cast<qint32>(qint64(stored) * percent / 100);
}

// Records of windows that are gone would only ever match nothing.
void forgetClosedWindows()
{
    std::erase_if(gControlRecords, [](const ControlRecord& r) { return !r.window || !r.control; });
    std::erase_if(gFormRecords, [](const FormRecord& r) { return !r.window; });
}

} // namespace

qint32 Percent(qint32 now, qint32 reference)
{
    if (reference == 0)
        return 0;
    return static_cast<qint32>(qint64(now) * 100 / reference);
}

qint32 FixHiddenLeft(qint32 value)
{
    return value < 0 ? value + kHiddenLeftOffset : value;
}

Placement ScaledPlacement(const ControlRecord& record, qint32 widthPercent, qint32 heightPercent,
                          bool currentLeftNegative, qint32 currentHeight)
{
    Placement p;
    p.left = scaled(record.left, widthPercent);
    if (currentLeftNegative)
        p.left -= kHiddenLeftOffset;
    p.top = scaled(record.top, heightPercent);
    p.width = scaled(record.width, widthPercent);
    p.height = record.keepsHeight ? currentHeight : scaled(record.height, heightPercent);
    p.fontSize = scaled(record.fontSize, widthPercent);
    return p;
}

FontKind FontKindOf(const QWidget* control)
{
    // The folder list is a list of its own kind, not a list box.
    if (qobject_cast<const QListWidget*>(control))
        return control->inherits("DirList") ? FontKind::Unchanged : FontKind::ListBox;
    if (qobject_cast<const QLabel*>(control) || qobject_cast<const QAbstractButton*>(control) ||
        qobject_cast<const QGroupBox*>(control) || qobject_cast<const QLineEdit*>(control) ||
        qobject_cast<const QTextEdit*>(control) || qobject_cast<const QPlainTextEdit*>(control) ||
        qobject_cast<const QComboBox*>(control))
        return FontKind::Scaled;
    return FontKind::Unchanged;
}

qint32 FindFormIndex(const QWidget* window)
{
    for (size_t i = 0; i < gFormRecords.size(); ++i) {
        if (gFormRecords[i].window == window)
            return static_cast<qint32>(i);
    }
    return -1;
}

qint32 RegisterForm(QWidget* window)
{
    FormRecord r;
    r.window = window;
    r.name = window->objectName();
    const QRect frame = window->frameGeometry();
    r.left = frame.left();
    r.top = frame.top();
    r.width = frame.width();
    r.height = frame.height();
    const QSize inner = innerSize(window);
    r.innerHeight = inner.height();
    r.innerWidth = inner.width();
    gFormRecords.push_back(r);
    const auto index = static_cast<qint32>(gFormRecords.size() - 1);
    for (QWidget* control : formcontrols::ControlsOf(window)) {
        if (FindControlIndex(control, window) < 0)
            RegisterControl(control, window);
    }
    return index;
}

qint32 FindControlIndex(const QWidget* control, const QWidget* window)
{
    for (size_t i = 0; i < gControlRecords.size(); ++i) {
        const ControlRecord& r = gControlRecords[i];
        if (r.control == control && r.window == window)
            return static_cast<qint32>(i);
    }
    return -1;
}

qint32 RegisterControl(QWidget* control, QWidget* window)
{
    ControlRecord r;
    r.control = control;
    r.window = window;
    r.name = control->objectName();
    const QRect g = control->geometry();
    r.top = g.top();
    r.left = FixHiddenLeft(g.left());
    r.height = g.height();
    r.width = g.width();
    const QFont font = control->font();
    r.pixelFont = font.pointSizeF() <= 0;
    r.fontSize = r.pixelFont ? font.pixelSize() : roundHalfEven(font.pointSizeF());
    r.fontKind = FontKindOf(control);
    r.keepsHeight = qobject_cast<QComboBox*>(control) != nullptr;
    gControlRecords.push_back(r);
    return static_cast<qint32>(gControlRecords.size() - 1);
}

qint32 FormWidthPercent(QWidget* window)
{
    qint32 index = FindFormIndex(window);
    if (index < 0)
        index = RegisterForm(window);
    return Percent(innerSize(window).width(), gFormRecords[size_t(index)].innerWidth);
}

qint32 FormHeightPercent(QWidget* window)
{
    qint32 index = FindFormIndex(window);
    if (index < 0)
        index = RegisterForm(window);
    return Percent(innerSize(window).height(), gFormRecords[size_t(index)].innerHeight);
}

void ResizeControl(QWidget* control, QWidget* window)
{
    const qint32 w = FormWidthPercent(window);
    const qint32 h = FormHeightPercent(window);
    const qint32 index = FindControlIndex(control, window);
    if (index < 0 || w <= 0 || h <= 0)
        return;
    const ControlRecord& r = gControlRecords[size_t(index)];
    if (r.fontKind == FontKind::Unchanged || r.fontSize <= 0)
        return;
    const Placement p = ScaledPlacement(r, w, h, control->geometry().left() < 0, control->height());
    // A font has at least one unit, however small the window gets.
    const int size = std::max(1, int(p.fontSize));
    QFont font = control->font();
    if (r.fontKind == FontKind::ListBox) {
        font.setFamily(QStringLiteral("Courier New"));
        font.setBold(true);
    }
    if (r.pixelFont)
        font.setPixelSize(size);
    else
        font.setPointSize(size);
    control->setFont(font);
}

void ResizeForm(QWidget* window)
{
    if (gbResizing || !window)
        return;
    const QSize inner = innerSize(window);
    if (window->isMinimized() || inner.width() <= 0 || inner.height() <= 0)
        return;
    gbResizing = true;
    forgetClosedWindows();
    if (FindFormIndex(window) < 0)
        RegisterForm(window);
    for (QWidget* control : formcontrols::ControlsOf(window))
        ResizeControl(control, window);
    gbResizing = false;
}

} // namespace modGlobal
