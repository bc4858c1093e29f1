#include "mainwindow/widgets/DescriptionEdit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpression>

namespace {

QString oneLine(QString text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|[\r\n\u2028\u2029]"));
    return text.replace(lineBreak, QStringLiteral(" "));
}

} // namespace

DescriptionEdit::DescriptionEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setTabChangesFocus(true);
}

void DescriptionEdit::setText(const QString& text)
{
    setPlainText(oneLine(text));
}

QString DescriptionEdit::shownText(const QString& text)
{
    // The box's plain text: frame marks read as line breaks, no-break spaces as blanks.
    QString shown = oneLine(text);
    for (QChar& c : shown) {
        if (c == QChar(0xFDD0) || c == QChar(0xFDD1))
            c = u'\n';
        else if (c == QChar::Nbsp)
            c = u' ';
    }
    return shown;
}

void DescriptionEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void DescriptionEdit::insertFromMimeData(const QMimeData* source)
{
    if (source && source->hasText())
        insertPlainText(oneLine(source->text()));
}
