// Builds the manual: docs/manual/manual.md as CorvanRIP.pdf (A4, every
// chapter on a new page) and CorvanRIP.pages, the page each chapter starts
// on ("page<TAB>chapter title" per line), which the Help buttons use.
// Usage: make_manual MANUAL.md OUT.pdf OUT.pages
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_manual MANUAL.md OUT.pdf OUT.pages\n");
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_manual: cannot read %s\n", argv[1]);
        return 1;
    }
    QPdfWriter pdf(QString::fromLocal8Bit(argv[2]));
    pdf.setTitle(QStringLiteral("CorvanRIP manual"));
    pdf.setCreator(QStringLiteral("CorvanRIP"));
    pdf.setResolution(300);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));

    QTextDocument doc;
    // Fonts are measured at the writer's resolution, as they are printed.
    doc.documentLayout()->setPaintDevice(&pdf);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10.5);
    doc.setDefaultFont(font);
    doc.setMarkdown(QString::fromUtf8(in.readAll()));
    // Every chapter on a page of its own, so a chapter's page is stable.
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() != 1 || b == doc.begin()) continue;
        QTextCursor c(b);
        QTextBlockFormat f = b.blockFormat();
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        c.setBlockFormat(f);
    }
    // Lay out at the printable area in device pixels, as print() does.
    const QRectF area = pdf.pageLayout().paintRectPixels(pdf.resolution());
    doc.setPageSize(area.size());
    doc.documentLayout();  // lays the document out for the page size

    QFile pages(QString::fromLocal8Bit(argv[3]));
    if (!pages.open(QIODevice::WriteOnly | QIODevice::Text)) {
        std::fprintf(stderr, "make_manual: cannot write %s\n", argv[3]);
        return 1;
    }
    QTextStream out(&pages);
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() != 1) continue;
        const QRectF r = doc.documentLayout()->blockBoundingRect(b);
        const int page = static_cast<int>(r.top() / area.height()) + 1;
        out << page << '\t' << b.text() << '\n';
    }
    doc.print(&pdf);
    return 0;
}
