#pragma once

#include <QDialog>
#include "state/appstate.h"
#include "yeargraph/ezgraph.h"
#include "yeargraph/monthtally.h"

#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace platform {
class Prompts;
}
namespace skin {
struct SkinImages;
}

namespace yeargraph {

// 月別収入・支出グラフ: one bar per accounting month of the page date's year, for the total
// expense, the total income or one category, with the budget as a line across the bars.
class Tmonthgraph : public QDialog {
    Q_OBJECT
public:
    Tmonthgraph(const skin::SkinImages& skin, platform::Prompts& prompts,
                QWidget* parent = nullptr);

    // Tallies the page date's year from the month files as they stand, picks a scale and
    // draws, until the user closes the window. The chosen series is kept for the next time.
    void Run(const state::AppState& state);

    int selectedSeries() const { return selectedSeries_; }
    const MonthTally& tally() const { return tally_; }
    // The chart as last drawn, at one pixel per unit.
    QImage ChartImage() const;

private:
    void TallyTheYear();  // the year's tally from the month files
    void AutoScale();
    // The budget of the chosen series for each month: the month graph's limit line.
    std::vector<std::optional<double>> BudgetLine() const;
    void DrawChart();  // グラフ描画: draws with the scale typed
    void ChooseSeries(int index);
    void Draw(long long scale);

    // The controls; their designer names are their object names (the constructor's table).
    QLabel* title_;             // Label1: dragging it moves the window
    QLabel* chart_;             // Image2
    QSpinBox* scale_;           // SpinEdit1
    QComboBox* series_;         // ComboBox1
    QPushButton* drawButton_;   // SpeedButton1: グラフ描画
    QPushButton* closeButton_;  // SpeedButton2: 閉じる
    QToolButton* closeCross_;   // SpeedButton6: close, top right

    platform::Prompts& prompts_;
    std::optional<state::AppState> book_;  // a copy of what the window reads
    yeargraph::TezGraph graph_;
    MonthTally tally_;
    int selectedSeries_ = 0;
    bool filling_ = false;
};

}  // namespace yeargraph
