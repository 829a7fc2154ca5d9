// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/report/reportdocument.h"

#include "core/platform/outputfile.h"
#include "gui/scheme/schemepainter.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextObjectInterface>
#include <QTextTable>

#include <cmath>
#include <optional>
#include <vector>

namespace kelsa
{

namespace
{

constexpr double kMillimetresPerInch = 25.4;

// Liberation Sans is installed with the program and has the Cyrillic letters; the platform's
// sans-serif stands in where it is missing.
QFont reportFont(double points)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(points);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

double millimetres(double mm, const QPaintDevice &device)
{
    return mm / kMillimetresPerInch * device.logicalDpiY();
}

} // namespace

// The drawings of the support as the images of the text: each stands where the engine's HTML
// put the image reportSchemeUrl() + N, as wide as the text, and is painted as vectors. The
// report has no other images.
class SchemeObjects : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    SchemeObjects(std::vector<SupportScheme> schemes, double width, double captionHeight)
        : m_schemes(std::move(schemes))
        , m_width(width)
        , m_captionHeight(captionHeight)
    {
    }

    QSizeF intrinsicSize(QTextDocument *, int, const QTextFormat &format) override
    {
        const SupportScheme *drawn = scheme(format);
        return drawn ? QSizeF(m_width, m_width * schemeHeight(*drawn) / 170 + m_captionHeight)
                     : QSizeF();
    }

    // The drawing with its caption under it, in one piece that a page break cannot part.
    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int,
        const QTextFormat &format) override
    {
        const SupportScheme *drawn = scheme(format);
        if (!drawn)
            return;
        const QRectF drawing = rect.adjusted(0, 0, 0, -m_captionHeight);
        paintSupportScheme(*painter, drawing, *drawn);
        painter->save();
        QFont caption = document->defaultFont();
        caption.setPointSizeF(9);
        caption.setItalic(true);
        painter->setFont(caption);
        painter->setPen(Qt::black);
        painter->drawText(QRectF(rect.left(), drawing.bottom(), rect.width(), m_captionHeight),
            Qt::AlignCenter, schemeCaption(*drawn));
        painter->restore();
    }

private:
    const SupportScheme *scheme(const QTextFormat &format) const
    {
        const QString name = format.toImageFormat().name();
        if (!name.startsWith(reportSchemeUrl()))
            return nullptr;
        bool number = false;
        const int index = name.mid(reportSchemeUrl().size()).toInt(&number);
        return number && index >= 0 && std::size_t(index) < m_schemes.size()
            ? &m_schemes[std::size_t(index)]
            : nullptr;
    }

    std::vector<SupportScheme> m_schemes;
    double m_width;
    double m_captionHeight;
};

namespace
{

std::vector<SupportScheme> schemesOf(const std::vector<ReportBlock> &blocks)
{
    std::vector<SupportScheme> schemes;
    for (const ReportBlock &block : blocks)
        if (block.kind == ReportBlock::Kind::Scheme && block.scheme)
            schemes.push_back(*block.scheme);
    return schemes;
}

// A piece of the root frame as laid out: a paragraph or a table.
struct Piece {
    QTextBlock block; // the paragraph, or the first block of the table
    bool heading;
    double top;
    double bottom;
    double firstLine; // bottom of its first line, or of the table's first rows
};

std::vector<Piece> pieces(QTextDocument &document)
{
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    // The layout goes on lazily; the positions below are those of the whole document.
    document.pageCount();
    std::vector<Piece> found;
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (QTextFrame *frame = it.currentFrame()) {
            const QRectF box = layout->frameBoundingRect(frame);
            const QTextBlock first = frame->firstCursorPosition().block();
            // The header and the first row: about three lines of the report's text.
            found.push_back({ first, false, box.top(), box.bottom(),
                std::min(box.bottom(),
                    box.top()
                        + 3
                            * QFontMetricsF(document.defaultFont(), layout->paintDevice())
                                  .lineSpacing()) });
            continue;
        }
        const QTextBlock block = it.currentBlock();
        const QRectF box = layout->blockBoundingRect(block);
        const QTextLayout *lines = block.layout();
        const double firstLine = lines && lines->lineCount() > 0
            ? box.top() + lines->lineAt(0).rect().bottom()
            : box.bottom();
        found.push_back(
            { block, block.blockFormat().headingLevel() > 0, box.top(), box.bottom(), firstLine });
    }
    return found;
}

} // namespace

void setReportPage(QPagedPaintDevice &device)
{
    // 25 mm on the left for binding; the footer stands inside the bottom margin's 20 mm.
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(25, 15, 15, 8), QPageLayout::Millimeter));
}

PrintedReport::PrintedReport(const ReportInput &input, QPagedPaintDevice &device)
    : m_footerTitle(reportFooterTitle(input))
    , m_bodyHeight(device.height() - millimetres(12, device))
    , m_footerHeight(millimetres(12, device))
    , m_document(std::make_unique<QTextDocument>())
{
    // Laid out on the device itself: fonts in points and lengths in pixels of the HTML are
    // taken at its resolution, and the drawings are painted as vectors.
    const std::vector<ReportBlock> blocks = buildReport(input);
    m_document->documentLayout()->setPaintDevice(&device);
    m_document->setDefaultFont(reportFont(10));
    m_document->setDocumentMargin(0);
    m_document->setPageSize(QSizeF(device.width(), m_bodyHeight));
    m_schemes = std::make_unique<SchemeObjects>(
        schemesOf(blocks), device.width(), millimetres(6, device));
    m_document->documentLayout()->registerHandler(QTextFormat::ImageObject, m_schemes.get());
    m_document->setHtml(reportHtml(blocks));
    m_document->setMetaInformation(
        QTextDocument::DocumentTitle, QStringLiteral("Расчет изгибающих моментов опоры"));
    keepSectionsTogether();
}

PrintedReport::~PrintedReport() = default;

int PrintedReport::pageCount() const
{
    return m_document->pageCount();
}

// Each heading starts a section that runs to the next heading; headings one after another
// belong to the section of the last. A section that would run over a page break while it fits
// on one page starts on a new page; so does one whose heading and first line would be parted.
// Breaks only push the text down, so one pass from the top settles every section.
void PrintedReport::keepSectionsTogether()
{
    const auto pageOf = [this](double y) { return int(std::floor(y / m_bodyHeight)); };
    for (std::size_t k = 0;; ++k) {
        const std::vector<Piece> all = pieces(*m_document);
        if (k >= all.size())
            return;
        if (!all[k].heading || (k > 0 && all[k - 1].heading))
            continue;
        std::size_t content = k;
        while (content < all.size() && all[content].heading)
            ++content;
        std::size_t end = content;
        while (end < all.size() && !all[end].heading)
            ++end;
        const double top = all[k].top;
        const double bottom = all[end - 1].bottom;
        const double firstLine = content < all.size() ? all[content].firstLine : bottom;
        const bool fits = bottom - top <= m_bodyHeight;
        const bool runsOver = pageOf(top) != pageOf(bottom - 1);
        const bool parted = pageOf(top) != pageOf(firstLine - 1);
        if (pageOf(top) * m_bodyHeight == top || !((fits && runsOver) || parted))
            continue;
        QTextCursor cursor(all[k].block);
        QTextBlockFormat format;
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.mergeBlockFormat(format);
    }
}

void PrintedReport::print(QPagedPaintDevice &device) const
{
    QPainter painter(&device);
    const double width = device.width();
    const int pages = pageCount();
    const QFont footerFont = reportFont(8);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device.newPage();
        painter.save();
        painter.setClipRect(QRectF(0, 0, width, m_bodyHeight));
        painter.translate(0, -page * m_bodyHeight);
        QAbstractTextDocumentLayout::PaintContext context;
        // A line the layout moved to the next page starts right at this page's end: it must not
        // be drawn here too, where the painter's clip would hide it but its text would stay.
        context.clip
            = QRectF(0, page * m_bodyHeight, width, m_bodyHeight - millimetres(0.5, device));
        context.palette.setColor(QPalette::Text, Qt::black);
        m_document->documentLayout()->draw(&painter, context);
        painter.restore();

        // The footer: a thin rule, the object and support on the left, the page on the right.
        painter.save();
        painter.setFont(footerFont);
        const QFontMetricsF metrics(footerFont, &device);
        const double rule = m_bodyHeight + m_footerHeight * 0.35;
        painter.setPen(QPen(Qt::gray, millimetres(0.2, device)));
        painter.drawLine(QPointF(0, rule), QPointF(width, rule));
        painter.setPen(Qt::black);
        const double baseline = rule + metrics.ascent() + millimetres(1.2, device);
        const QString number = reportPageNumber(page + 1, pages);
        const double numberWidth = metrics.horizontalAdvance(number);
        painter.drawText(QPointF(width - numberWidth, baseline), number);
        painter.drawText(QPointF(0, baseline),
            metrics.elidedText(
                m_footerTitle, Qt::ElideRight, width - numberWidth - millimetres(5, device)));
        painter.restore();
    }
}

QString writeReportPdf(const ReportInput &input, const QString &path)
{
    OutputFile file(path,
        input.calculationPath.isEmpty() ? QStringList() : QStringList { input.calculationPath });
    if (!file.open()) {
        if (file.failure().kind == OutputFailure::Kind::SameAsInput)
            return QStringLiteral("это файл самого расчета, отчет не записан поверх него");
        return QStringLiteral("не удается создать файл: %1").arg(file.errorString());
    }
    // QPdfWriter writes front to back without seeking, so a FIFO or the standard output takes
    // the PDF as well as a file does.
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Kelsa"));
        writer.setTitle(QStringLiteral("Расчет изгибающих моментов опоры"));
        writer.setResolution(300);
        setReportPage(writer);
        const PrintedReport report(input, writer);
        report.print(writer);
    }
    if (!file.commit())
        return QStringLiteral("не удается записать файл: %1").arg(file.errorString());
    return {};
}

} // namespace kelsa

#include "reportdocument.moc"
