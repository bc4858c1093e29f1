#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>

// Small factories for building the main window's controls: each sets the
// control's name, caption and tooltip in one call.
namespace mainui {

inline QString arrayName(const QString& name, int index)
{
    return name + u'[' + QString::number(index) + u']';
}

inline QLineEdit* lineEdit(QWidget* parent, const QString& name, const QString& tip = {},
                           bool readOnly = false)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setToolTip(tip);
    edit->setReadOnly(readOnly);
    return edit;
}

inline QPushButton* button(QWidget* parent, const QString& name, const QString& caption,
                           const QString& tip = {})
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

inline QLabel* label(QWidget* parent, const QString& text, const QString& name = {})
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

inline QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& caption,
                           const QString& tip = {})
{
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(name);
    c->setToolTip(tip);
    return c;
}

inline QRadioButton* option(QWidget* parent, const QString& name, const QString& caption,
                            const QString& tip = {})
{
    auto* o = new QRadioButton(caption, parent);
    o->setObjectName(name);
    o->setToolTip(tip);
    return o;
}

// A check box the user cannot change; the program still sets it.
inline void makeReadOnly(QCheckBox* box)
{
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->setFocusPolicy(Qt::NoFocus);
}

} // namespace mainui
