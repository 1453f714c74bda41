// Tables in the control: a row is one paragraph marked PFE_TABLE with its cells apart by TABs,
// one display line for the line messages, laid out as a grid at its cell widths, edited cell
// by cell with Tab moving between cells, and saved as a table that reads back cell for cell.

#include <cstring>

#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

// Two rows of two cells, 1500 and 3000 twips (100 and 200 pixels) wide, with 60 twips (4
// pixels) of padding; the first row's second cell wraps over several lines.
const char* const kTable =
    "{\\rtf1\\deff0{\\fonttbl{\\f0 DejaVu Sans;}}\\fs20 Before\\par"
    "\\trowd\\trgaph60\\trleft0\\clbrdrt\\brdrs\\clbrdrb\\brdrs\\clbrdrl\\brdrs\\clbrdrr\\brdrs"
    "\\cellx1500\\clbrdrt\\brdrs\\cellx4500"
    "\\pard\\intbl Day\\cell Sit and stay five times in the garden before breakfast\\cell\\row"
    "\\trowd\\trgaph60\\trleft0\\cellx1500\\cellx4500\\pard\\intbl Monday\\cell Recall\\cell\\row"
    "\\pard After\\par}";

DWORD appendOut(DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), size_t(cb));
  *pcb = cb;
  return 0;
}

class TableTest : public RichEditTest {
 protected:
  TableTest() {
    control.resize(400, 300);
    setText(kTable);
  }
  QPoint posOf(LONG pos) {
    POINT at{};
    send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), pos);
    return {int(at.x), int(at.y)};
  }
  PARAFORMAT2 paraAt(LONG pos) {
    select(pos, pos);
    PARAFORMAT2 p{};
    p.cbSize = sizeof p;
    send(EM_GETPARAFORMAT, 0, &p);
    return p;
  }
  std::string rtfOut() {
    std::string out;
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&out), 0, appendOut};
    send(EM_STREAMOUT, SF_RTF, &es);
    return out;
  }
  std::string line(int index) {
    char buffer[256] = {};
    const WORD capacity = sizeof buffer;
    std::memcpy(buffer, &capacity, sizeof capacity);
    return std::string(buffer, size_t(send(EM_GETLINE, WPARAM(index), buffer)));
  }
};

// "Before" CR, row "Day" TAB "Sit ... breakfast" CR, row "Monday" TAB "Recall" CR, "After".
constexpr LONG kRow1 = 7;
constexpr LONG kSit = kRow1 + 4;
constexpr LONG kRow2 = kSit + 55;
constexpr LONG kAfter = kRow2 + 14;

TEST_F(TableTest, RowsArePositionsAndOneDisplayLineEach) {
  EXPECT_EQ(range(kRow1, kAfter),
            "Day\tSit and stay five times in the garden before breakfast\rMonday\tRecall\r");
  EXPECT_EQ(send(EM_GETLINECOUNT), 4);
  EXPECT_EQ(send(EM_LINEINDEX, 1), kRow1);
  EXPECT_EQ(send(EM_LINEINDEX, 2), kRow2);
  EXPECT_EQ(send(EM_EXLINEFROMCHAR, 0, kSit + 40), 1);  // in the wrapped cell's last line
  EXPECT_EQ(send(EM_LINELENGTH, kSit + 40), 58);
  EXPECT_EQ(line(2), "Monday\tRecall\r");
}

TEST_F(TableTest, ParagraphRecordSaysTableRowWithTheCellEdges) {
  const PARAFORMAT2 row = paraAt(kSit);
  EXPECT_TRUE(row.dwMask & PFM_TABLE);
  EXPECT_EQ(row.wEffects & PFE_TABLE, PFE_TABLE);
  ASSERT_EQ(row.cTabCount, 2);
  EXPECT_EQ(row.rgxTabs[0], 1500);
  EXPECT_EQ(row.rgxTabs[1], 4500);
  EXPECT_EQ(paraAt(0).wEffects & PFE_TABLE, 0);

  // Clearing the mark makes the row a paragraph of tab-separated text again.
  PARAFORMAT2 plain{};
  plain.cbSize = sizeof plain;
  plain.dwMask = PFM_TABLE;
  select(kRow2, kRow2);
  send(EM_SETPARAFORMAT, 0, &plain);
  EXPECT_EQ(paraAt(kRow2).wEffects & PFE_TABLE, 0);
  EXPECT_EQ(send(EM_GETLINECOUNT), 4);
  EXPECT_EQ(paraAt(kRow1).wEffects & PFE_TABLE, PFE_TABLE);
}

TEST_F(TableTest, CellsAreShownAtTheirWidthsAndTheRowAsTallAsItsTallestCell) {
  const QPoint day = posOf(kRow1);
  const QPoint sit = posOf(kSit);
  const QPoint monday = posOf(kRow2);
  const QPoint recall = posOf(kRow2 + 7);
  // Cells begin at their left edges plus the padding: 0 + 4 and 100 + 4 pixels, past the
  // control's inset of one pixel.
  EXPECT_EQ(sit.x() - day.x(), 100);
  EXPECT_EQ(recall.x() - monday.x(), 100);
  EXPECT_EQ(sit.y(), day.y());
  // The second cell wraps inside its 192 pixels: its later words lie below its first line
  // and never right of the cell's edge.
  const QPoint breakfast = posOf(kRow2 - 1);
  EXPECT_GT(breakfast.y(), sit.y());
  EXPECT_LT(breakfast.x(), day.x() + 300);
  // The next row starts below the tallest cell's last line.
  EXPECT_GT(monday.y(), breakfast.y());
}

TEST_F(TableTest, TabMovesToTheNextCellAndEditsStayInTheirCell) {
  view()->setFocus();
  select(kRow1 + 1, kRow1 + 1);
  key(Qt::Key_Tab, "\t");
  EXPECT_EQ(selection().cpMin, kSit);
  key(Qt::Key_Tab, "\t");  // in the last cell Tab does nothing
  EXPECT_EQ(selection().cpMin, kSit);
  key(Qt::Key_Backtab, {}, Qt::ShiftModifier);
  EXPECT_EQ(selection().cpMin, kRow1);

  type("Mon ");
  key(Qt::Key_Tab, "\t");
  type("Gently: ");
  key(Qt::Key_Backspace);
  type(" ");
  select(kRow1, kRow1);
  key(Qt::Key_Backspace);  // at a cell's start nothing is taken
  select(kRow1 + 7, kRow1 + 7);
  key(Qt::Key_Delete);           // nor its separator at its end
  const LONG row2 = kRow2 + 12;  // after the 12 characters typed
  select(row2 + 3, row2 + 3);
  key(Qt::Key_Return);  // a new line inside the cell
  EXPECT_EQ(range(row2, row2 + 14), "Mon\vday\tRecall");
  EXPECT_EQ(range(kRow1, kRow1 + 20), "Mon Day\tGently: Sit ");
  EXPECT_EQ(send(EM_GETLINECOUNT), 4);

  // Saved and read again: the same text, still two rows of two cells.
  const std::string saved = rtfOut();
  EXPECT_NE(saved.find("\\cellx1500\\clbrdrt\\brdrs\\brdrw10\\cellx4500"), std::string::npos)
      << saved;
  setText("");
  setText(saved);
  EXPECT_EQ(range(kRow1, kRow1 + 20), "Mon Day\tGently: Sit ");
  EXPECT_EQ(paraAt(kRow1).cTabCount, 2);
  EXPECT_EQ(range(row2, row2 + 14), "Mon\vday\tRecall");
  EXPECT_EQ(paraAt(row2).wEffects & PFE_TABLE, PFE_TABLE);
}

TEST_F(TableTest, EnterAtTheEndOfARowStartsAParagraphAfterIt) {
  setText("{\\rtf1\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row}");
  ASSERT_EQ(range(0, -1), "a\tb");
  select(3, 3);
  key(Qt::Key_Return);
  type("after");
  EXPECT_EQ(range(0, -1), "a\tb\rafter");
  EXPECT_EQ(paraAt(0).wEffects & PFE_TABLE, PFE_TABLE);
  EXPECT_EQ(paraAt(5).wEffects & PFE_TABLE, 0);
}

}  // namespace
}  // namespace richedit::test
