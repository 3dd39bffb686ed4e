#include "QtTestCard.h"
#include "QtTestSupport.h"

#include "platform/qt/QtDeviceContext.h"

#include <QFile>
#include <QFontInfo>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QWidget>

#include <gtest/gtest.h>

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

QRgb Rgb(win::COLORREF c) { return qRgb(win::GetRValue(c), win::GetGValue(c), win::GetBValue(c)); }

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
            EXPECT_EQ(quarter(qttest::kUprightPicture, column, row), Rgb(qttest::kPictureColours[row][column]));
            EXPECT_EQ(quarter(qttest::kFlippedPicture, column, row),
                      Rgb(qttest::kPictureColours[1 - row][column]));
        }
    // The picture covers its rectangle exactly.
    for (const QRect& r : { qttest::kUprightPicture, qttest::kFlippedPicture }) {
        EXPECT_EQ(qttest::InkBounds(card, r.adjusted(-5, -5, 5, 5), qttest::NotWhite), r);
    }
}

TEST_F(QtTestCardTest, TextInkLiesInTheQuadrantOfItsEscapement)
{
    for (const auto& text : qttest::kCardTexts) {
        const QPoint o = text.origin;
        const QRect window(o.x() - qttest::kTextWindow, o.y() - qttest::kTextWindow, 2 * qttest::kTextWindow + 1,
                           2 * qttest::kTextWindow + 1);
        const QRect ink = qttest::InkBounds(card, window, TextInk);
        ASSERT_TRUE(ink.isValid()) << text.escapement;
        // Along the run the ink reaches far (the word is about 180 pixels long), across it
        // stays within the cell; all of it on the expected side of the corner (2 pixels slack
        // for smoothing).
        if (text.signX > 0)
            EXPECT_GE(ink.left(), o.x() - 2) << text.escapement;
        else
            EXPECT_LE(ink.right(), o.x() + 2) << text.escapement;
        if (text.signY > 0)
            EXPECT_GE(ink.top(), o.y() - 2) << text.escapement;
        else
            EXPECT_LE(ink.bottom(), o.y() + 2) << text.escapement;
        const bool runsAcross = text.escapement == 0 || text.escapement == 1800;
        const int along = runsAcross ? ink.width() : ink.height();
        const int across = runsAcross ? ink.height() : ink.width();
        EXPECT_GT(along, 100) << text.escapement;
        EXPECT_LT(across, 50) << text.escapement;
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

TEST(QtDeviceContext, PdfWriterGivesOnePageOfTheTestCard)
{
    EnsureApplication();
    const auto path = qttest::OutputPath("qt-test-card.pdf");
    std::filesystem::remove(path);
    {
        QPdfWriter writer(QString::fromStdString(path.string()));
        writer.setResolution(254);
        writer.setPageSize(QPageSize(QPageSize::A5));
        writer.setPageOrientation(QPageLayout::Landscape);
        QtDeviceContext dc(writer);
        ASSERT_TRUE(dc.IsActive());
        EXPECT_TRUE(dc.IsPrinting());
        EXPECT_EQ(dc.GetDeviceCaps(gdi::LOGPIXELSX), 254);
        EXPECT_GT(dc.GetDeviceCaps(gdi::HORZRES), dc.GetDeviceCaps(gdi::VERTRES));
        qttest::DrawTestCard(dc);
    }
    QFile file(QString::fromStdString(path.string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    const auto pages = QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)")));
    EXPECT_EQ(pages, 1);
}

TEST(QtDeviceContext, PrinterReportsItsPrintableAreaAndResolution)
{
    EnsureApplication();
    const auto path = qttest::OutputPath("qt-printer.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path.string()));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setResolution(600);
    QtDeviceContext dc(printer);
    ASSERT_TRUE(dc.IsActive());
    EXPECT_TRUE(dc.IsPrinting());
    EXPECT_EQ(dc.GetDeviceCaps(gdi::LOGPIXELSY), 600);
    // An A4 page is 8.27 inches across; the printable area is at most that.
    EXPECT_GT(dc.GetDeviceCaps(gdi::HORZRES), 4000);
    EXPECT_LE(dc.GetDeviceCaps(gdi::HORZRES), 4961);
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

TEST(QtDeviceContext, DragFrameInvertsItsBorderAndErasesThePreviousOne)
{
    EnsureApplication();
    QImage image = qttest::WhiteImage(60, 60, 96);
    QtDeviceContext dc(image);
    const win::RECT first { 10, 10, 40, 40 };
    const win::RECT second { 15, 12, 45, 42 };
    dc.DrawDragRect(first, { 3, 3 }, nullptr, {});
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(12, 25), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(13, 25), qRgb(255, 255, 255)) << "inside the border";
    dc.DrawDragRect(second, { 3, 3 }, &first, { 3, 3 });
    dc.DrawDragRect(second, { 3, 3 }, nullptr, {}); // erase the second as well
    EXPECT_EQ(qttest::InkBounds(image, image.rect(), qttest::NotWhite), QRect());
}

} // namespace
