#include <string>

#include "app/Game.h"
#include "app/Palette.h"
#include "app/Layout.h"

namespace sudoku {

namespace {

// Geometry is compared as single-precision numbers.
bool Differs(int have, int want) { return static_cast<float>(have) != static_cast<float>(want); }

// A cell label that must move, resize or change font is hidden before the write.
void MoveCell(Label& cell, int have, int want, void (Label::*set)(int)) {
    if (!Differs(have, want)) return;
    cell.SetVisible(false);
    (cell.*set)(want);
}

bool CaptionShows(const std::string& caption, int v) {
    return caption.size() == 1 && caption[0] == static_cast<char>('0' + v);
}

}  // namespace

void Game::DrawBoard() {
    const int s = layout::CellSize(st.FontSizePt);
    const float pt = st.FontSizePt;
    st.SelCell = 0;

    int n = 0;
    for (int r = 1; r <= 9; ++r) {
        for (int k = 1; k <= 9; ++k) {
            Label& cell = *ui_.lblSudoku[++n];
            const int left = layout::Edge(k, s);
            const int top = layout::Edge(r, s);
            MoveCell(cell, cell.Left(), left, &Label::SetLeft);
            MoveCell(cell, cell.Top(), top, &Label::SetTop);
            MoveCell(cell, cell.Width(), s, &Label::SetWidth);
            MoveCell(cell, cell.Height(), s, &Label::SetHeight);
            if (cell.FontSize() != pt) { cell.SetVisible(false); cell.SetFontSize(pt); }
            if (st.Busy != 1) {
                const Rgb base = st.Givens(r, k) != 0 ? palette::kCellClue : palette::kCellPlain;
                if (cell.BackColor() != base) cell.SetBackColor(base);
                const int v = st.Grid(r, k);
                if (v != 0) {
                    if (!CaptionShows(cell.Caption(), v)) cell.SetCaption(std::to_string(v));
                } else if (!cell.Caption().empty()) {
                    cell.SetCaption("");
                }
            }
            cell.SetVisible(true);
        }
    }

    if (ui_.mnuRightDigOk->Checked()) {
        for (int k = 1; k <= 10; ++k) {
            Label& pick = *ui_.lblSetNum[k];
            const int left = layout::PickerLeft(k, s);
            const int top = layout::PickerTop(k, s);
            if (Differs(pick.Left(), left)) pick.SetLeft(left);
            if (Differs(pick.Top(), top)) pick.SetTop(top);
            if (Differs(pick.Width(), s)) pick.SetWidth(s);
            if (Differs(pick.Height(), s)) pick.SetHeight(s);
            if (pick.FontSize() != pt) pick.SetFontSize(pt);
            if (!pick.Visible()) pick.SetVisible(true);
        }
    } else {
        for (int k = 1; k <= 10; ++k)
            if (ui_.lblSetNum[k]->Visible()) ui_.lblSetNum[k]->SetVisible(false);
    }

    Label& info = *ui_.lblInfo;
    if (info.Left() != 6) info.SetLeft(6);
    const int infoTop = ui_.lblSudoku[81]->Top() + s + 3;
    if (info.Top() != infoTop) info.SetTop(infoTop);

    MarkConflicts();
}

}  // namespace sudoku
