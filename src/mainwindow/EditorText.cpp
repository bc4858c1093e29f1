#include "mainwindow/EditorText.h"

#include "platform/Cp1252.h"

namespace editortext {

LineEnd detectLineEnd(QStringView fileText)
{
    qsizetype crlf = 0, lf = 0, cr = 0;
    for (qsizetype i = 0; i < fileText.size(); ++i) {
        if (fileText[i] == u'\r') {
            if (i + 1 < fileText.size() && fileText[i + 1] == u'\n') {
                ++crlf;
                ++i;
            } else {
                ++cr;
            }
        } else if (fileText[i] == u'\n') {
            ++lf;
        }
    }
    if (crlf >= lf && crlf >= cr)
        return LineEnd::CrLf;
    return lf >= cr ? LineEnd::Lf : LineEnd::Cr;
}

QString toEditorText(QStringView fileText)
{
    // Written in place: reports of several megabytes come through here.
    QString out(fileText.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    const QChar* src = fileText.data();
    const QChar* const end = src + fileText.size();
    while (src != end) {
        const QChar c = *src++;
        if (c == u'\r') {
            if (src != end && *src == u'\n')
                ++src;
            *dst++ = u'\n';
        } else {
            *dst++ = c;
        }
    }
    out.truncate(dst - out.constData());
    return out;
}

QString withLineEnds(QStringView editorText, LineEnd lineEnd)
{
    QString out = editorText.toString();
    switch (lineEnd) {
    case LineEnd::CrLf:
        out.replace(u'\n', QStringLiteral("\r\n"));
        break;
    case LineEnd::Cr:
        out.replace(u'\n', u'\r');
        break;
    case LineEnd::Lf:
        break;
    }
    return out;
}

qsizetype firstUnencodable(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!platform::cp1252::canEncode(text.sliced(i, 1)))
            return i;
    }
    return -1;
}

qsizetype findText(QStringView text, QStringView what, qsizetype from)
{
    if (what.isEmpty())
        return -1;
    return text.indexOf(what, from < 0 ? 0 : from, Qt::CaseInsensitive);
}

qsizetype findAgainStart(qsizetype selectionStart, qsizetype selectionLength)
{
    // The classic search starts at the 1-based position start + length, which
    // is the selection's last character; 0-based that is one less. With no
    // selection at the start of the text this would be -1: start at the top.
    const qsizetype start = selectionStart + selectionLength - 1;
    return start < 0 ? 0 : start;
}

QString mruCaption(int number, QStringView path)
{
    return u'&' + QString::number(number) + u' ' + path;
}

QString mruPath(QStringView caption)
{
    return caption.size() > 3 ? caption.sliced(3).toString() : QString();
}

QString mruMovedCaption(int number, QStringView caption)
{
    const qsizetype blank = caption.indexOf(u' ');
    return mruCaption(number, blank < 0 ? QStringView() : caption.sliced(blank + 1));
}

} // namespace editortext
