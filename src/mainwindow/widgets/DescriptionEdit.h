#pragma once

#include <QPlainTextEdit>

// The description box: long text wrapped over several lines, but one value in
// aircraft.cfg, so it never holds a line break. Enter is ignored and line
// breaks in pasted text become blanks.
class DescriptionEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit DescriptionEdit(QWidget* parent = nullptr);

    QString text() const { return toPlainText(); }
    // Sets the text with every line break turned into a blank.
    void setText(const QString& text);
    // What text() gives after setText(text), without a box.
    static QString shownText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
};
