// Centring an item, the sort arrow and the CSV export of a report-view list control.
#include "ApplicationFixture.h"

#include "platform/qt/fw/ImageList.h"
#include "platform/qt/fw/ListCtrl.h"
#include "util/window/ListControlFunctions.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <sstream>

namespace {

class ListControlFunctions : public ApplicationFixture {
protected:
    ListControlFunctions()
    {
        list_.InsertColumn(0, "Name", fw::LVCFMT_LEFT, 120);
        list_.InsertColumn(1, "Size", fw::LVCFMT_RIGHT, 80);
        list_.InsertColumn(2, "Taken", fw::LVCFMT_CENTER, 90);
    }
    void FillRows(int count)
    {
        for (int row = 0; row < count; ++row) {
            list_.InsertItem(row, "photo" + std::to_string(row) + ".jpg");
            list_.SetItemText(row, 1, std::to_string(1000 + row));
            list_.SetItemText(row, 2, "2024-03-05");
        }
        list_.resize(320, 240);
        list_.show();
    }
    static QPixmap Arrow(bool up)
    {
        QPixmap picture(9, 5);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setBrush(Qt::black);
        const QPolygon triangle = up ? QPolygon({ QPoint(0, 4), QPoint(8, 4), QPoint(4, 0) })
                                     : QPolygon({ QPoint(0, 0), QPoint(8, 0), QPoint(4, 4) });
        painter.drawPolygon(triangle);
        return picture;
    }

    fw::ListCtrl list_;
};

TEST_F(ListControlFunctions, CentresAnItemInTheView)
{
    FillRows(100);
    const int perPage = list_.GetCountPerPage();
    ASSERT_GT(perPage, 3);
    ASSERT_LT(perPage, 40);
    // Forward from the top, back up, and the ends of the list.
    for (const int index : { 50, 20, 99, 0, 60 }) {
        EXPECT_EQ(CentreListItem(list_, index, false), 1) << index;
        const int top = list_.GetTopIndex();
        EXPECT_GE(index, top) << index;
        EXPECT_LT(index, top + perPage) << index;
        if (index >= perPage && index < 100 - perPage) {
            EXPECT_LE(std::abs(index - (top + perPage / 2)), 1) << index << " top " << top;
        }
    }
    // An item in view stays where it is with onlyIfHidden; the top index comes back.
    const int top = list_.GetTopIndex();
    EXPECT_EQ(CentreListItem(list_, top + 1, true), top);
    EXPECT_EQ(list_.GetTopIndex(), top);
    EXPECT_EQ(CentreListItem(list_, 5, true), 1);
    EXPECT_LE(list_.GetTopIndex(), 5);

    fw::ListCtrl empty;
    EXPECT_EQ(CentreListItem(empty, 3, false), 0);
}

TEST_F(ListControlFunctions, SortArrowMovesToTheSortedColumn)
{
    FillRows(4);
    fw::ImageList arrows;
    arrows.Add(Arrow(true));
    arrows.Add(Arrow(false));
    list_.GetHeaderCtrl()->SetImageList(&arrows);

    struct Step {
        int previous, column, direction, stateIn;
        int stateOut, image;
    };
    const Step steps[] = {
        { 0, 1, 0, 0, 1, 0 }, // another column: state 1, picture 0
        { 1, 1, 1, 0, 2, 1 }, // the same column, direction 1: state 2, picture 1
        { 1, 1, 0, 0, 1, 0 }, { 1, 2, 1, 2, 2, 1 }, // a state given stays
    };
    for (const Step& step : steps) {
        int state = step.stateIn;
        SetListSortArrow(list_, step.previous, step.column, step.direction, state);
        EXPECT_EQ(state, step.stateOut);
        fw::HDITEM item;
        item.mask = fw::HDI_FORMAT | fw::HDI_IMAGE;
        ASSERT_TRUE(list_.GetHeaderCtrl()->GetItem(step.column, &item));
        const int alignment = step.column == 1 ? fw::HDF_RIGHT : fw::HDF_CENTER;
        EXPECT_EQ(item.fmt, 0x5800 | alignment);
        EXPECT_EQ(item.iImage, step.image);
        if (step.previous != step.column) {
            ASSERT_TRUE(list_.GetHeaderCtrl()->GetItem(step.previous, &item));
            EXPECT_EQ(item.fmt, fw::HDF_STRING | (step.previous == 1 ? fw::HDF_RIGHT : fw::HDF_LEFT));
        }
    }
    EXPECT_FALSE(list_.headerItem()->icon(2).isNull());
    EXPECT_TRUE(list_.headerItem()->icon(1).isNull());
    EXPECT_TRUE(list_.grab().save(QString::fromStdString(OutputPath("list-sort-arrow.png"))));
}

TEST_F(ListControlFunctions, ExportsHeaderAndRowsAsCsv)
{
    list_.InsertItem(0, "Smith, \"Anna\"");
    list_.SetItemText(0, 1, "12");
    list_.InsertItem(1, "caf\xE9");
    // A header text longer than any fixed buffer comes out whole.
    fw::HDITEM heading;
    heading.mask = fw::HDI_TEXT;
    heading.text = std::string(3000, 'h');
    ASSERT_TRUE(list_.GetHeaderCtrl()->SetItem(2, &heading));

    std::ostringstream csv;
    ExportListToCsv(csv, list_);
    EXPECT_EQ(csv.str(),
        "\"Name\",\"Size\",\"" + std::string(3000, 'h') + "\"\r\n"
            + "\"Smith, \"\"Anna\"\"\",\"12\",\"\"\r\n"
              "\"caf\xE9\",\"\",\"\"\r\n");
}

} // namespace
