// Table rows: read into one paragraph per row with TAB-separated cells and the row's grid,
// written back as \trowd rows, and every broken table a file can hold read as its text.
#include <gtest/gtest.h>

#include <QTextBlock>

#include "RtfTestSupport.h"
#include "platform/richedit/document/DocumentFormat.h"
#include "platform/richedit/document/TableFormat.h"

namespace richedit::rtf::test {
namespace {

struct Row {
  QString text;
  QList<int> edges;
};

// The table rows of a document, in order, with their text and cell edges.
std::vector<Row> rowsOf(const QTextDocument& doc) {
  std::vector<Row> rows;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    if (fmt::isTableRow(b.blockFormat()))
      rows.push_back({b.text(), fmt::cellEdgesOf(b.blockFormat())});
  }
  return rows;
}

QList<int> bordersOf(const QTextBlock& block) {
  return block.blockFormat().property(fmt::BlockCellBorders).value<QList<int>>();
}

TEST(RtfTable, RowsBecomeParagraphsWithTheirGridAndTheTextAroundStaysOutside) {
  const auto read = readRtf(
      "{\\rtf1 Before\\par"
      "\\trowd\\trgaph108\\trleft-108\\clbrdrt\\brdrs\\brdrw10\\clbrdrb\\brdrs\\cellx1500"
      "\\clbrdrl\\brdrs\\clbrdrr\\brdrnone\\cellx4000"
      "\\pard\\intbl\\qc Day\\cell Exercise\\cell\\row"
      "\\trowd\\trgaph108\\trleft-108\\cellx1500\\cellx4000"
      "\\pard\\intbl Monday\\cell Sit\\par and stay\\cell\\row"
      "\\pard After\\par}");
  ASSERT_TRUE(read.result.ok);
  EXPECT_EQ(textOf(*read.doc),
            QStringLiteral("Before\rDay\tExercise\rMonday\tSit\u2028and stay\rAfter"));
  const QTextBlock header = read.doc->findBlockByNumber(1);
  const QTextBlockFormat f = header.blockFormat();
  EXPECT_FALSE(fmt::isTableRow(read.doc->findBlockByNumber(0).blockFormat()));
  EXPECT_TRUE(fmt::isTableRow(f));
  EXPECT_EQ(fmt::cellEdgesOf(f), (QList<int>{1500, 4000}));
  EXPECT_EQ(f.intProperty(fmt::BlockStartIndent), -108);
  EXPECT_EQ(f.intProperty(fmt::BlockCellPadding), 108);
  EXPECT_EQ(f.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_EQ(bordersOf(header),
            (QList<int>{fmt::CellBorderTop | fmt::CellBorderBottom, fmt::CellBorderLeft}));
  EXPECT_EQ(f.intProperty(fmt::BlockCellBorderWidth), 10);
  EXPECT_TRUE(fmt::isTableRow(read.doc->findBlockByNumber(2).blockFormat()));
  EXPECT_FALSE(fmt::isTableRow(read.doc->findBlockByNumber(3).blockFormat()));
}

TEST(RtfTable, RowBordersAreDrawnAsTheBordersOfTheCellsAlongThem) {
  const auto read = readRtf(
      "{\\rtf1\\trowd\\trbrdrt\\brdrs\\trbrdrl\\brdrs\\trbrdrb\\brdrs\\trbrdrr\\brdrs"
      "\\trbrdrv\\brdrs\\cellx1000\\cellx2000\\cellx3000\\intbl a\\cell b\\cell c\\cell\\row}");
  constexpr int tb = fmt::CellBorderTop | fmt::CellBorderBottom;
  EXPECT_EQ(bordersOf(read.doc->firstBlock()),
            (QList<int>{tb | fmt::CellBorderLeft | fmt::CellBorderRight,
                        tb | fmt::CellBorderLeft | fmt::CellBorderRight,
                        tb | fmt::CellBorderLeft | fmt::CellBorderRight}));
}

struct BrokenTable {
  const char* name;
  QByteArray body;         // between {\rtf1 and }
  QString text;            // the document's text, CR between paragraphs
  std::vector<int> cells;  // the cell count of each table row, in order
};

void PrintTo(const BrokenTable& c, std::ostream* os) {
  *os << c.name;
}

class RtfBrokenTable : public ::testing::TestWithParam<BrokenTable> {};

// Every one loads the text that is there, keeps a usable grid (as many TABs as cells less one,
// edges ascending within the page's reach) and saves to a file that reads the same.
TEST_P(RtfBrokenTable, LoadsTheTextThatIsThere) {
  const BrokenTable& c = GetParam();
  const auto read = readRtf("{\\rtf1 " + c.body + "}");
  ASSERT_TRUE(read.result.ok);
  EXPECT_EQ(textOf(*read.doc), c.text);
  const std::vector<Row> rows = rowsOf(*read.doc);
  ASSERT_EQ(rows.size(), c.cells.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].edges.size(), c.cells[i]) << "row " << i;
    EXPECT_EQ(rows[i].text.count(u'\t'), c.cells[i] - 1) << "row " << i;
    for (qsizetype e = 0; e < rows[i].edges.size(); ++e) {
      EXPECT_LE(rows[i].edges[e], fmt::kMaxCellEdge + fmt::kMaxTableCells * fmt::kMinCellWidth);
      if (e > 0) {
        EXPECT_GT(rows[i].edges[e], rows[i].edges[e - 1]);
      }
    }
  }
  const auto again = readRtf(writeAll(*read.doc));
  EXPECT_EQ(textOf(*again.doc), c.text);
  EXPECT_EQ(rowsOf(*again.doc).size(), rows.size());
}

QByteArray cellsOf(int count, const char* cellx) {
  QByteArray definition = "\\trowd";
  QByteArray cells = "\\intbl ";
  for (int i = 1; i <= count; ++i) {
    definition += cellx + QByteArray::number(i * 300);
    cells += 'c' + QByteArray::number(i) + "\\cell ";
  }
  return definition + cells + "\\row ";
}

QString joinedCells(int count) {
  QString text;
  for (int i = 1; i <= count; ++i) {
    if (i > 1) text += i <= fmt::kMaxTableCells ? u'\t' : u' ';
    text += QStringLiteral("c%1").arg(i);
  }
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Files, RtfBrokenTable,
    ::testing::Values(
        BrokenTable{"forty cells: those past 32 join the last",
                    cellsOf(40, "\\cellx"),
                    joinedCells(40),
                    {32}},
        BrokenTable{"cells without a row at the end",
                    "\\trowd\\cellx900\\cellx1800\\intbl A\\cell B",
                    "A\tB",
                    {2}},
        BrokenTable{"cells without a row before a paragraph",
                    "\\trowd\\cellx900\\cellx1800\\intbl A\\cell B\\cell\\pard C\\par D",
                    "A\tB\tC\rD",
                    {3}},
        BrokenTable{
            "a row without cells", "x\\par\\trowd\\cellx1000\\row\\row\\pard y", "x\ry", {}},
        BrokenTable{
            "cells and no definition", "\\intbl A\\cell B\\cell C\\cell\\row", "A\tB\tC", {3}},
        BrokenTable{"fewer cells than defined",
                    "\\trowd\\cellx900\\cellx1800\\cellx2700\\intbl A\\cell\\row",
                    "A\t\t",
                    {3}},
        BrokenTable{
            "negative and huge edges",
            "\\trowd\\trleft-99999999\\cellx-5000\\cellx99999999999\\cellx-1\\intbl A\\cell "
            "B\\cell C\\cell\\row",
            "A\tB\tC",
            {3}},
        BrokenTable{"a tab inside a cell",
                    "\\trowd\\cellx900\\cellx1800\\intbl a\\tab b\\cell c\\cell\\row",
                    "a b\tc",
                    {2}},
        BrokenTable{"a table inside a cell",
                    "\\trowd\\cellx3000\\cellx6000\\pard\\intbl\\itap1 outer\\cell"
                    "\\pard\\intbl\\itap2 a\\nestcell b\\nestcell"
                    "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}"
                    "{\\nonesttables\\par}"
                    "\\pard\\intbl\\itap2 c\\nestcell d\\nestcell"
                    "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}"
                    "\\pard\\intbl\\itap1 \\cell\\row",
                    QStringLiteral("outer\ta b \u2028c d "),
                    {2}},
        BrokenTable{"a cell's last paragraph mark",
                    "\\intbl one\\par\\cell two\\cell\\row",
                    "one\ttwo",
                    {2}}));

TEST(RtfTableWriter, WritesRowsAsTableRowsThatReadBackCellForCell) {
  const auto read = readRtf(
      "{\\rtf1\\trowd\\trgaph60\\trleft0\\clbrdrt\\brdrs\\brdrw15\\clbrdrr\\brdrs\\cellx2000"
      "\\cellx5000\\intbl\\b Day\\b0\\cell \\ul Walk\\ulnone\\par twice\\cell\\row"
      "\\pard After\\par}");
  const QByteArray written = writeAll(*read.doc);
  EXPECT_TRUE(
      written.contains("\\trowd\\trgaph60\\trleft0\\clbrdrt\\brdrs\\brdrw15\\clbrdrr"
                       "\\brdrs\\brdrw15\\cellx2000\\cellx5000\\pard\\intbl"))
      << written.toStdString();
  EXPECT_TRUE(written.contains("\\cell\\row")) << written.toStdString();
  EXPECT_FALSE(written.contains("\\tx")) << written.toStdString();

  const auto again = readRtf(written);
  EXPECT_EQ(textOf(*again.doc), textOf(*read.doc));
  const QTextBlock a = read.doc->firstBlock();
  const QTextBlock b = again.doc->firstBlock();
  EXPECT_EQ(b.blockFormat().property(fmt::BlockTabs), a.blockFormat().property(fmt::BlockTabs));
  EXPECT_EQ(bordersOf(b), bordersOf(a));
  EXPECT_EQ(b.blockFormat().intProperty(fmt::BlockCellPadding), 60);
  EXPECT_TRUE(charFormatAt(*again.doc, 0).fontWeight() >= QFont::Bold);
  EXPECT_FALSE(fmt::isTableRow(b.next().blockFormat()));
  EXPECT_EQ(writeAll(*again.doc), written);
}

}  // namespace
}  // namespace richedit::rtf::test
