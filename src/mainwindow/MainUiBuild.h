#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>

#include "shared/FormControls.h"

// Small factories for building the main window's controls: each sets the
// control's name, caption and tooltip in one call.
namespace mainui {

using formcontrols::named;

inline QString arrayName(const QString& name, int index)
{
    return name + u'[' + QString::number(index) + u']';
}

inline QLineEdit* lineEdit(QWidget* parent, const QString& name, const QString& tip = {},
                           bool readOnly = false)
{
    auto* edit = named(new QLineEdit(parent), name);
    edit->setToolTip(tip);
    edit->setReadOnly(readOnly);
    return edit;
}

inline QPushButton* button(QWidget* parent, const QString& name, const QString& caption,
                           const QString& tip = {})
{
    auto* b = named(new QPushButton(caption, parent), name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

inline QLabel* label(QWidget* parent, const QString& text, const QString& name = {})
{
    return named(new QLabel(text, parent), name);
}

// A control with a caption of its own (check box, option button).
template <class T>
T* captioned(QWidget* parent, const QString& name, const QString& caption, const QString& tip)
{
    auto* c = named(new T(caption, parent), name);
    c->setToolTip(tip);
    return c;
}

inline QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& caption,
                           const QString& tip = {})
{
    return captioned<QCheckBox>(parent, name, caption, tip);
}

inline QRadioButton* option(QWidget* parent, const QString& name, const QString& caption,
                            const QString& tip = {})
{
    return captioned<QRadioButton>(parent, name, caption, tip);
}

// A check box the user cannot change; the program still sets it.
inline void makeReadOnly(QCheckBox* box)
{
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->setFocusPolicy(Qt::NoFocus);
}

} // namespace mainui
