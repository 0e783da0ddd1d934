#pragma once

#include "reports/RateGraph.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <optional>

class QLabel;
class QPushButton;

namespace brindle {

class ContestLog;
class OperatorDialogs;

// The QSO rate graph of the whole log, drawn when the window opens and again at each change of
// background. The log is read, never changed.
class RateGraphDialog : public QDialog
{
    Q_OBJECT

public:
    RateGraphDialog(const ContestLog& log, OperatorDialogs& dialogs, QWidget* parent = nullptr);

    // Works the graph out from the log and draws it; with fewer than seven contacts the operator is told
    // so instead.
    void drawGraph();
    // Toggles the background between black and white, then draws the graph again.
    void toggleBackground();

    std::uint32_t backgroundColour() const;
    // What the last drawing reached: the axis labels and the plot, or less after a failure.
    const RateGraph& graph() const;
    // Where the plot lies in the window at its present size.
    RateGraphFrame plotFrame() const;

    QPushButton* m_backgroundButton = nullptr; // names the current background
    QLabel* m_bandLegendCaption = nullptr; // "Band "
    std::array<QLabel*, GraphBands.size()> m_bandLegendLabels {};
    std::array<QLabel*, RateGraphTimeLabels> m_timeLabels {};
    std::array<QLabel*, RateGraphTimeLabels> m_dateLabels {};
    std::array<QLabel*, RateGraphValueLabels> m_rateLabels {};

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildForm();
    void placeControls();
    QLabel* addLabel(const QString& name, const QString& text, Qt::Alignment alignment);
    void applyBackground();

    const ContestLog& m_log;
    OperatorDialogs& m_dialogs;
    bool m_whiteBackground = false;
    RateGraph m_graph;
};

} // namespace brindle
