#pragma once

#include "reports/BandPlan.h"

#include <QDialog>

#include <array>
#include <string>

class QFrame;
class QLabel;
class QPushButton;

namespace brindle {

class FileSystem;
class OperatorDialogs;

// The privileges chart: for one licence class at a time, a row for each band the class may use, with its
// CW and phone segments laid over a bar for the whole band. The band plan is read once, when the window
// opens; "Extra" is shown first.
class BandPlanDialog : public QDialog
{
    Q_OBJECT

public:
    BandPlanDialog(FileSystem& fs, const std::string& workingDir, OperatorDialogs& dialogs, QWidget* parent = nullptr);

    // A class button: its heading, then its chart. index follows LicenceClasses (0 Novice ... 5 Extra).
    void showClass(std::size_t index);
    // Draws the chart of a class code, removing every label of the previous chart first.
    void drawChart(const std::string& licenceClass);

    const BandPlan& plan() const;
    const std::string& currentClass() const;

    QLabel* m_headingLabel = nullptr;
    std::array<QPushButton*, LicenceClasses.size()> m_classButtons {}; // in the order of LicenceClasses
    QPushButton* m_doneButton = nullptr;
    QFrame* m_headerLine = nullptr;
    QLabel* m_cwLegendCaption = nullptr;
    QLabel* m_phoneLegendCaption = nullptr;
    QLabel* m_effectiveDateLabel = nullptr; // "Frequencies Effective: ..."

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildForm();
    void placeControls();
    void removeChartLabels();
    QLabel* addChartLabel(const QString& name, const QString& caption, const ChartBox& box);

    OperatorDialogs& m_dialogs;
    BandPlan m_plan;
    std::string m_class;
    double m_fontScale = 1.0;
};

} // namespace brindle
