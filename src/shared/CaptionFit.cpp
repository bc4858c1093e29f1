#include "shared/CaptionFit.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace captionfit {

namespace {

// A line edit keeps this much room between its frame and its text on either
// side (horizontally), and this much above and below.
constexpr int kLineEditHorizontalMargin = 2;
constexpr int kLineEditVerticalMargin = 1;

QSize labelNeeds(const QLabel* label, const QFontMetrics& fm)
{
    if (label->text().isEmpty() || label->textFormat() == Qt::RichText)
        return {};
    const QSize text = fm.size(Qt::TextShowMnemonic, label->text());
    const QMargins m = label->contentsMargins();
    const int margin = 2 * label->margin();
    return text + QSize(m.left() + m.right() + margin, m.top() + m.bottom() + margin);
}

// The label of a push button is drawn inside its contents rectangle, which
// lies a fixed frame inside the button.
QSize pushButtonNeeds(const QPushButton* button, const QFontMetrics& fm)
{
    if (button->text().isEmpty())
        return {};
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.fontMetrics = fm;
    opt.text = button->text();
    if (button->isDefault())
        opt.features |= QStyleOptionButton::DefaultButton;
    if (button->autoDefault())
        opt.features |= QStyleOptionButton::AutoDefaultButton;
    const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button);
    const QSize frame = opt.rect.size() - contents.size();
    return fm.size(Qt::TextShowMnemonic, button->text()) + frame;
}

QSize checkNeeds(const QAbstractButton* button, const QFontMetrics& fm, QStyle::ContentsType type)
{
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.fontMetrics = fm;
    opt.text = button->text();
    const QSize text =
        button->style()->itemTextRect(fm, QRect(), Qt::TextShowMnemonic, false, button->text()).size();
    return button->style()->sizeFromContents(type, &opt, text, button);
}

QSize groupBoxNeeds(const QGroupBox* box, const QFontMetrics& fm)
{
    if (box->title().isEmpty())
        return {};
    QStyleOptionGroupBox opt;
    opt.initFrom(box);
    opt.fontMetrics = fm;
    opt.text = box->title();
    opt.lineWidth = 1;
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QSize title(fm.horizontalAdvance(box->title() + u' '), fm.height());
    return box->style()->sizeFromContents(QStyle::CT_GroupBox, &opt, title, box);
}

QSize lineEditNeeds(const QLineEdit* edit, const QFontMetrics& fm)
{
    int textWidth = 0;
    const QStringList texts = edit->property(kFixedTexts).toStringList();
    for (const QString& text : texts)
        textWidth = std::max(textWidth, fm.horizontalAdvance(text));
    const QMargins tm = edit->textMargins();
    const QSize inner(textWidth + 2 * kLineEditHorizontalMargin + tm.left() + tm.right(),
                      fm.height() + 2 * kLineEditVerticalMargin + tm.top() + tm.bottom());
    QStyleOptionFrame opt;
    opt.initFrom(edit);
    opt.fontMetrics = fm;
    opt.lineWidth =
        edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit) : 0;
    return edit->style()->sizeFromContents(QStyle::CT_LineEdit, &opt, inner, edit);
}

} // namespace

QSize NeededSize(const QWidget* control, const QFont& font)
{
    const QFontMetrics fm(font);
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return labelNeeds(label, fm);
    if (const auto* button = qobject_cast<const QPushButton*>(control))
        return pushButtonNeeds(button, fm);
    if (const auto* box = qobject_cast<const QCheckBox*>(control))
        return checkNeeds(box, fm, QStyle::CT_CheckBox);
    if (const auto* option = qobject_cast<const QRadioButton*>(control))
        return checkNeeds(option, fm, QStyle::CT_RadioButton);
    if (const auto* box = qobject_cast<const QGroupBox*>(control))
        return groupBoxNeeds(box, fm);
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return lineEditNeeds(edit, fm);
    return {};
}

QFont Resized(QFont font, int size, bool pixels)
{
    if (pixels)
        font.setPixelSize(size);
    else
        font.setPointSize(size);
    return font;
}

} // namespace captionfit
