// Renders the manual from its Markdown source to PDF, with Qt's own Markdown
// reader and PDF writer.
//
//     fernquill_manual <manual.md> <picture folder> <output.pdf>
//
// Pictures named in the Markdown are read from the picture folder (relative
// names, as the Markdown gives them) and shrunk to the width of the page.
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <cstdio>

namespace {

// The widest picture, in the document's pixels (96 to the inch): the text
// width of an A4 page between 2 cm margins.
constexpr double kTextWidth = (210.0 - 40.0) / 25.4 * 96.0;

// Loads every picture the document names and sets its shown size. False when
// one is missing.
bool placeImages(QTextDocument& doc, const QString& folder)
{
    bool ok = true;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QImage image(folder + u'/' + format.name());
            if (image.isNull()) {
                std::fprintf(stderr, "fernquill_manual: no picture %s in %s\n", qPrintable(format.name()),
                             qPrintable(folder));
                ok = false;
                continue;
            }
            doc.addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
            const double scale = qMin(1.0, kTextWidth / image.width());
            format.setWidth(image.width() * scale);
            format.setHeight(image.height() * scale);
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: fernquill_manual <manual.md> <picture folder> <output.pdf>\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "fernquill_manual: cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument doc;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(10);
    doc.setDefaultFont(font);
    doc.setMarkdown(QString::fromUtf8(source.readAll()), QTextDocument::MarkdownDialectGitHub);
    if (!placeImages(doc, QString::fromLocal8Bit(argv[2])))
        return 1;

    const QString target = QString::fromLocal8Bit(argv[3]);
    QPdfWriter writer(target);
    writer.setTitle(QStringLiteral("Fernquill manual"));
    writer.setCreator(QStringLiteral("Fernquill"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(300);
    // QTextDocument::print lays the pages out with 2 cm margins and numbers them.
    doc.print(&writer);
    if (!QFileInfo(target).size()) {
        std::fprintf(stderr, "fernquill_manual: cannot write %s\n", qPrintable(target));
        return 1;
    }
    return 0;
}
