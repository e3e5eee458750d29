// The schedule grid's model: every row operation is announced so that views
// and their current index move with the entries, under Qt's own checks.

#include "gui/ScheduleGridModel.h"

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace {

int modelWarnings = 0;

void CountModelWarnings(QtMsgType type, const QMessageLogContext& context, const QString&)
{
    if (type != QtDebugMsg && QByteArray(context.category).startsWith("qt.modeltest")) {
        ++modelWarnings;
    }
}

TEST(ScheduleGridModel, RowOperationsMoveIndexesWithTheirEntries)
{
    QTemporaryDir dir;
    const std::filesystem::path path = std::filesystem::path(dir.path().toStdString()) / "schedule.txt";
    // Twenty entries a … t, so that deleting is allowed.
    std::ofstream out(path, std::ios::binary);
    for (char c = 'a'; c <= 't'; ++c) {
        out << "\"\",\"" << c << "\",\"\"\r\n";
    }
    out.close();
    schedule::TScheduleTable table(path);
    gui::ScheduleGridModel model(
        [&table](int, int row, std::string text) { table.SetDate(static_cast<std::size_t>(row), text); });
    model.SetTable(&table);
    modelWarnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(CountModelWarnings);
    {
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
        const auto date = [&model](int row) { return model.index(row, 0).data().toString().toStdString(); };
        const QPersistentModelIndex c = model.index(2, 0);
        const QPersistentModelIndex j = model.index(9, 1);

        EXPECT_TRUE(model.InsertRow(0));
        EXPECT_EQ(c.row(), 3);
        EXPECT_TRUE(model.MoveRowDown(3));
        EXPECT_EQ(c.row(), 4);
        EXPECT_TRUE(model.MoveRowUp(4));
        EXPECT_TRUE(model.MoveRowUp(3));
        EXPECT_EQ(c.row(), 2);
        EXPECT_EQ(date(2), "c");
        EXPECT_EQ(date(3), "b");
        EXPECT_TRUE(model.DeleteRow(1));
        EXPECT_EQ(j.row(), 9);
        EXPECT_EQ(j.column(), 1);
        // Refused operations announce nothing.
        EXPECT_FALSE(model.MoveRowUp(0));
        EXPECT_FALSE(model.MoveRowDown(model.rowCount() - 1));
        EXPECT_FALSE(model.InsertRow(model.rowCount()));
        EXPECT_FALSE(model.DeleteRow(-1));

        EXPECT_TRUE(model.setData(model.index(0, 0), QStringLiteral("x")));
        EXPECT_EQ(table.Entries()[0].date, "x");
        EXPECT_EQ(model.headerData(8, Qt::Vertical).toString(), QStringLiteral(" 9"));
        EXPECT_EQ(model.headerData(9, Qt::Vertical).toString(), QStringLiteral("10"));
        model.SetTable(nullptr);
        EXPECT_EQ(model.rowCount(), 0);
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(modelWarnings, 0);
}

TEST(ScheduleGridModel, DeleteOnAShortTableAnnouncesTheRowAddedAtTheEnd)
{
    QTemporaryDir dir;
    // No file: the table's first nine entries.
    schedule::TScheduleTable table(std::filesystem::path(dir.path().toStdString()) / "schedule.txt");
    for (std::size_t i = 0; i < 9; ++i) {
        table.SetDate(i, std::string(1, static_cast<char>('a' + i)));
    }
    gui::ScheduleGridModel model([](int, int, std::string) {});
    model.SetTable(&table);
    modelWarnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(CountModelWarnings);
    {
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
        const QPersistentModelIndex c = model.index(2, 0);
        const QPersistentModelIndex b = model.index(1, 0);
        EXPECT_TRUE(model.DeleteRow(1));
        EXPECT_FALSE(b.isValid());
        EXPECT_EQ(c.row(), 1);
        EXPECT_EQ(model.rowCount(), 9);
        EXPECT_EQ(model.index(8, 0).data().toString(), QString());
        EXPECT_EQ(model.index(7, 0).data().toString(), QStringLiteral("i"));
        model.SetTable(nullptr);
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(modelWarnings, 0);
}

} // namespace
