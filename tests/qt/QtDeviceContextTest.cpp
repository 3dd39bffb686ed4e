#include "QtTestCard.h"
#include "QtTestSupport.h"

#include "platform/qt/QtDeviceContext.h"

#include <QFile>
#include <QFontInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include <unistd.h>
#include <zlib.h>

namespace {

using gdi::QtDeviceContext;
using qttest::EnsureApplication;

// Dark, nearly grey pixels: the black text and its smoothed edges, not the coloured marks.
bool TextInk(QRgb p)
{
    const int hi = std::max({ qRed(p), qGreen(p), qBlue(p) });
    const int lo = std::min({ qRed(p), qGreen(p), qBlue(p) });
    return hi < 180 && hi - lo < 40;
}

QRgb Rgb(win::COLORREF c)
{
    return qRgb(win::GetRValue(c), win::GetGValue(c), win::GetBValue(c));
}

class QtTestCardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        card = qttest::WhiteImage(qttest::kCardWidth, qttest::kCardHeight, 254);
        {
            QtDeviceContext dc(card);
            ASSERT_TRUE(dc.IsActive());
            qttest::DrawTestCard(dc);
            EXPECT_TRUE(dc.ObjectFaults().empty());
        }
    }
    QImage card;
};

TEST_F(QtTestCardTest, FillsCoverExactlyTheirPixels)
{
    card.save(QString::fromStdString(qttest::OutputPath("qt-test-card.png").string()));
    for (const auto& fill : qttest::kCardFills) {
        const QRgb colour = Rgb(fill.color);
        const QRect around = fill.device.adjusted(-2, -2, 2, 2);
        for (int y = around.top(); y <= around.bottom(); ++y)
            for (int x = around.left(); x <= around.right(); ++x) {
                if (fill.device.contains(x, y))
                    ASSERT_EQ(card.pixel(x, y), colour) << x << "," << y;
                else
                    ASSERT_NE(card.pixel(x, y), colour) << x << "," << y;
            }
    }
}

TEST_F(QtTestCardTest, PictureIsUprightWithNegativeLogicalHeightAndFlippedWithPositive)
{
    // Sample the centre of each quarter of the drawn picture.
    auto quarter = [this](const QRect& r, int column, int row) {
        return card.pixel(r.left() + r.width() / 4 + column * r.width() / 2,
            r.top() + r.height() / 4 + row * r.height() / 2);
    };
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column) {
            EXPECT_EQ(
                quarter(qttest::kUprightPicture, column, row), Rgb(qttest::kPictureColours[row][column]));
            EXPECT_EQ(
                quarter(qttest::kFlippedPicture, column, row), Rgb(qttest::kPictureColours[1 - row][column]));
        }
    // The picture covers its rectangle exactly.
    for (const QRect& r : { qttest::kUprightPicture, qttest::kFlippedPicture }) {
        EXPECT_EQ(qttest::InkBounds(card, r.adjusted(-5, -5, 5, 5), qttest::NotWhite), r);
    }
}

TEST_F(QtTestCardTest, TextInkLiesInItsMeasuredCellTurnedByTheEscapement)
{
    // The word's extent in the card's font, measured as the drawing code measures it.
    QImage scratch = qttest::WhiteImage(10, 10, 254);
    QtDeviceContext measuring(scratch);
    gdi::LOGFONT lf;
    lf.lfHeight = -qttest::kTextHeight;
    gdi::SetFaceName(lf, "Arial");
    gdi::CFont font;
    font.CreateFontIndirect(&lf);
    gdi::CFont* old = measuring.SelectObject(&font);
    const win::SIZE extent = measuring.GetTextExtent(qttest::kCardWord);
    measuring.SelectObject(old);
    ASSERT_GT(extent.cx, 150);
    ASSERT_NEAR(extent.cy, 45, 1); // Arial's cell is 1.117 em

    for (const auto& text : qttest::kCardTexts) {
        const QPoint o = text.origin;
        const QRect window(o.x() - qttest::kTextWindow, o.y() - qttest::kTextWindow,
            2 * qttest::kTextWindow + 1, 2 * qttest::kTextWindow + 1);
        const QRect ink = qttest::InkBounds(card, window, TextInk);
        ASSERT_TRUE(ink.isValid()) << text.escapement;
        // The cell: the run along one axis, the height across the other, on the sides of the
        // corner that the escapement turns them to.
        const bool runsAcross = text.escapement == 0 || text.escapement == 1800;
        const int w = runsAcross ? extent.cx : extent.cy;
        const int h = runsAcross ? extent.cy : extent.cx;
        const QRect cell(text.signX > 0 ? o.x() : o.x() - w, text.signY > 0 ? o.y() : o.y() - h, w, h);
        // Two pixels of slack for smoothed edges.
        EXPECT_TRUE(cell.adjusted(-2, -2, 2, 2).contains(ink)) << text.escapement;
        // The ink fills most of the run and more than half of the height.
        const int along = runsAcross ? ink.width() : ink.height();
        const int across = runsAcross ? ink.height() : ink.width();
        EXPECT_GT(along, extent.cx * 9 / 10) << text.escapement;
        EXPECT_GT(across, extent.cy / 2) << text.escapement;
    }
}

TEST(QtDeviceContext, ArialIsDrawnInLiberationSansWithArialsMetrics)
{
    EnsureApplication();
    QImage image = qttest::WhiteImage(10, 10, 96);
    QtDeviceContext dc(image);
    gdi::LOGFONT lf;
    lf.lfHeight = -100;
    gdi::SetFaceName(lf, "Arial");
    EXPECT_EQ(QFontInfo(dc.ToQFont(dc.ToDeviceFont(lf))).family(), "Liberation Sans");
    gdi::CFont font;
    font.CreateFontIndirect(&lf);
    gdi::CFont* old = dc.SelectObject(&font);
    // Arial's advance of "H" is 1479/2048 em and its cell (ascent plus descent) 2288/2048 em.
    EXPECT_EQ(dc.GetTextExtent("HHHHHHHHHH").cx, 722);
    EXPECT_NEAR(dc.GetTextExtent("H").cy, 112, 1);
    // Bytes are code page 1252: 0x80 is the euro sign (Arial: 1139/2048 em), not a control.
    EXPECT_EQ(dc.GetTextExtent(std::string(10, '\x80')).cx, 556);
    dc.SelectObject(old);
}

// The image XObjects of a PDF file: the filter of each and, for a Flate stream, its bytes as zlib
// inflates them.
struct PdfPicture {
    QByteArray filter;
    QByteArray pixels;
};

QByteArray Inflate(const QByteArray& stream)
{
    z_stream z {};
    if (inflateInit(&z) != Z_OK)
        return {};
    QByteArray out;
    std::array<char, 4096> chunk {};
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
    z.avail_in = static_cast<uInt>(stream.size());
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(chunk.data());
        z.avail_out = static_cast<uInt>(chunk.size());
        status = inflate(&z, Z_NO_FLUSH);
        out.append(chunk.data(), static_cast<qsizetype>(chunk.size() - z.avail_out));
    }
    inflateEnd(&z);
    return status == Z_STREAM_END ? out : QByteArray();
}

std::vector<PdfPicture> PdfPictures(const QByteArray& pdf)
{
    std::vector<PdfPicture> pictures;
    const QByteArray image = "/Subtype /Image";
    for (qsizetype at = pdf.indexOf(image); at >= 0; at = pdf.indexOf(image, at + 1)) {
        const qsizetype streamAt = pdf.indexOf("stream", at);
        const qsizetype endAt = pdf.indexOf("endstream", streamAt);
        if (streamAt < 0 || endAt < 0)
            break;
        const QByteArray dictionary = pdf.mid(at, streamAt - at);
        const QRegularExpressionMatch filter
            = QRegularExpression(QStringLiteral("/Filter\\s*(/\\w+)")).match(QString::fromLatin1(dictionary));
        PdfPicture picture { filter.captured(1).toLatin1(), {} };
        qsizetype dataAt = streamAt + 6;
        dataAt += pdf.at(dataAt) == '\r' ? 2 : 1; // the line end after the keyword
        if (picture.filter == "/FlateDecode")
            picture.pixels = Inflate(pdf.mid(dataAt, endAt - dataAt));
        pictures.push_back(picture);
    }
    return pictures;
}

// The 2 x 2 picture's RGB bytes, top row first, upright or upside down.
QByteArray PictureBytes(bool flipped)
{
    QByteArray bytes;
    for (int row = 0; row < 2; ++row)
        for (const win::COLORREF c : qttest::kPictureColours[flipped ? 1 - row : row])
            for (const int channel : { win::GetRValue(c), win::GetGValue(c), win::GetBValue(c) })
                bytes.append(static_cast<char>(channel));
    return bytes;
}

// The test card on one PDF page, drawn by the device's own painter or through a caller's painter
// (as the print loop does). Pictures are stored losslessly, so the viewer shows their exact colours:
// no JPEG stream, and each Flate stream inflates to the picture's bytes.
TEST(QtDeviceContext, PdfWriterGivesOnePageOfTheTestCardWithLosslessPictures)
{
    EnsureApplication();
    for (const bool callersPainter : { false, true }) {
        SCOPED_TRACE(callersPainter ? "caller's painter" : "own painter");
        const auto path
            = qttest::OutputPath(callersPainter ? "qt-test-card-painter.pdf" : "qt-test-card.pdf");
        std::filesystem::remove(path);
        {
            QPdfWriter writer(QString::fromStdString(path.string()));
            writer.setResolution(254);
            writer.setPageSize(QPageSize(QPageSize::A5));
            writer.setPageOrientation(QPageLayout::Landscape);
            QPainter painter;
            if (callersPainter) {
                ASSERT_TRUE(painter.begin(&writer));
            }
            const auto dc = callersPainter ? std::make_unique<QtDeviceContext>(painter, true)
                                           : std::make_unique<QtDeviceContext>(writer);
            ASSERT_TRUE(dc->IsActive());
            EXPECT_TRUE(dc->IsPrinting());
            EXPECT_EQ(dc->GetDeviceCaps(gdi::LOGPIXELSX), 254);
            EXPECT_GT(dc->GetDeviceCaps(gdi::HORZRES), dc->GetDeviceCaps(gdi::VERTRES));
            qttest::DrawTestCard(*dc);
        }
        QFile file(QString::fromStdString(path.string()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        ASSERT_TRUE(pdf.startsWith("%PDF-"));
        const auto pages
            = QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)")));
        EXPECT_EQ(pages, 1);
        EXPECT_FALSE(pdf.contains("/DCTDecode"));
        const std::vector<PdfPicture> pictures = PdfPictures(pdf);
        ASSERT_EQ(pictures.size(), 2u);
        for (std::size_t k = 0; k < pictures.size(); ++k) {
            EXPECT_EQ(pictures[k].filter.toStdString(), "/FlateDecode") << k;
            EXPECT_EQ(pictures[k].pixels.toHex().toStdString(), PictureBytes(k == 1).toHex().toStdString())
                << k;
        }
    }
}

// 32-bit rows in a PDF file (printed photographs reach it so): stored either way up, drawn upright
// or upside down, each picture is stored as the page shows it, top row first, and opaque whatever
// the rows' fourth byte holds.
TEST(QtDeviceContext, PdfKeepsThirtyTwoBitRowsAsThePageShowsThem)
{
    EnsureApplication();
    const auto path = qttest::OutputPath("qt-32-bit-rows.pdf");
    std::filesystem::remove(path);
    struct Case {
        bool topDown;
        bool drawnUpsideDown;
    };
    const std::vector<Case> cases { { false, false }, { false, true }, { true, false }, { true, true } };
    {
        QPdfWriter writer(QString::fromStdString(path.string()));
        writer.setResolution(254);
        QtDeviceContext dc(writer);
        ASSERT_TRUE(dc.IsActive());
        dc.SetStretchBltMode(gdi::COLORONCOLOR);
        for (std::size_t k = 0; k < cases.size(); ++k) {
            std::vector<uint8_t> bits(16, 0); // the fourth bytes stay 0
            for (int row = 0; row < 2; ++row)
                for (int x = 0; x < 2; ++x) {
                    const win::COLORREF c = qttest::kPictureColours[row][x];
                    uint8_t* px = bits.data() + (cases[k].topDown ? row : 1 - row) * 8 + 4 * x;
                    px[0] = win::GetBValue(c);
                    px[1] = win::GetGValue(c);
                    px[2] = win::GetRValue(c);
                }
            const gdi::DibView picture { 2, cases[k].topDown ? -2 : 2, 32, nullptr, 0, bits.data(),
                bits.size() };
            const int left = 100 + 300 * static_cast<int>(k);
            if (cases[k].drawnUpsideDown)
                dc.StretchDIBits(left, 300, 200, -200, 0, 0, 2, 2, picture, gdi::SRCCOPY);
            else
                dc.StretchDIBits(left, 100, 200, 200, 0, 0, 2, 2, picture, gdi::SRCCOPY);
        }
    }
    QFile file(QString::fromStdString(path.string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::vector<PdfPicture> pictures = PdfPictures(file.readAll());
    ASSERT_EQ(pictures.size(), cases.size());
    for (std::size_t k = 0; k < cases.size(); ++k)
        EXPECT_EQ(pictures[k].pixels.toHex().toStdString(),
            PictureBytes(cases[k].drawnUpsideDown).toHex().toStdString())
            << "top-down " << cases[k].topDown << ", upside down " << cases[k].drawnUpsideDown;
}

TEST(QtDeviceContext, PrinterReportsItsPrintableAreaAndResolution)
{
    EnsureApplication();
    // Not a picture for a person to look at: a temporary file, removed afterwards.
    const auto path
        = std::filesystem::temp_directory_path() / ("orvanel-printer-" + std::to_string(getpid()) + ".pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path.string()));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setResolution(600);
    {
        QtDeviceContext dc(printer);
        ASSERT_TRUE(dc.IsActive());
        EXPECT_TRUE(dc.IsPrinting());
        EXPECT_EQ(dc.GetDeviceCaps(gdi::LOGPIXELSY), 600);
        // An A4 page is 8.27 inches across; the printable area is at most that.
        EXPECT_GT(dc.GetDeviceCaps(gdi::HORZRES), 4000);
        EXPECT_LE(dc.GetDeviceCaps(gdi::HORZRES), 4961);
        dc.FillSolidRect({ 0, 0, 100, 100 }, win::RGB(0, 0, 0));
    }
    EXPECT_TRUE(std::filesystem::exists(path));
    std::filesystem::remove(path);
}

class PaintedWidget : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QtDeviceContext dc(*this);
        dc.FillSolidRect({ 10, 10, 30, 20 }, win::RGB(0, 0, 200));
    }
};

TEST(QtDeviceContext, DrawsOnAWidgetInsideItsPaintEvent)
{
    EnsureApplication();
    PaintedWidget widget;
    widget.resize(40, 40);
    const QImage shot = widget.grab().toImage();
    EXPECT_EQ(shot.pixel(10, 10), qRgb(0, 0, 200));
    EXPECT_EQ(shot.pixel(29, 19), qRgb(0, 0, 200));
    EXPECT_NE(shot.pixel(30, 19), qRgb(0, 0, 200));
}

// The drag frame inverts every other pixel of its 3-pixel border (x + y odd), over black and white
// alike, and leaves the rest; drawn again it is gone.
TEST(QtDeviceContext, DragFrameInvertsHalfItsBorderAndErasesThePreviousOne)
{
    EnsureApplication();
    for (const QRgb under : { qRgb(255, 255, 255), qRgb(0, 0, 0) }) {
        QImage image = qttest::WhiteImage(60, 60, 96);
        image.fill(under);
        const QImage before = image;
        QtDeviceContext dc(image);
        dc.SetMapMode(gdi::MM_LOMETRIC); // the frame is in device pixels whatever the mapping
        const win::RECT first { 10, 10, 40, 40 };
        const win::RECT second { 15, 12, 45, 42 };
        dc.DrawDragRect(first, { 3, 3 }, nullptr, {});
        const QRect inner(13, 13, 24, 24);
        for (int y = 8; y < 42; ++y) {
            for (int x = 8; x < 42; ++x) {
                const bool inBorder = QRect(10, 10, 30, 30).contains(x, y) && !inner.contains(x, y);
                const QRgb expected = inBorder && (x + y) % 2 == 1 ? under ^ 0x00FFFFFFu : under;
                ASSERT_EQ(image.pixel(x, y), expected) << x << ", " << y;
            }
        }
        dc.DrawDragRect(second, { 3, 3 }, &first, { 3, 3 });
        dc.DrawDragRect(second, { 3, 3 }, nullptr, {}); // erase the second as well
        EXPECT_EQ(image, before);
    }
}

} // namespace
