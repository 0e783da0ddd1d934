#pragma once

#include <QFont>
#include <QHash>
#include <QLabel>
#include <QSize>
#include <QString>

namespace brindle {

class SpotLabel;

// Where a map puts a spot label: centred on its frequency, its bottom on the axis, at the size its text
// takes. A label that the keyboard can reach keeps a text document, and asked for its size it lays that
// out again, several times over; a map places up to fifty at every redraw, and a busy cluster redraws it
// several times a second. So a text's size is measured on a plain label of the same font, which measures
// it as the spot label would, without a document, and kept for the next label that shows the same text.
class SpotLabelSizes
{
public:
    SpotLabelSizes();

    // The label centred on x with its bottom at the given height.
    void place(SpotLabel& label, int x, int bottom);

private:
    QSize sizeOf(SpotLabel& label);

    // Map labels are short prefixes, a few hundred in a contest; past this many they are measured afresh.
    static constexpr qsizetype MaxKept = 2000;

    QLabel m_measure;
    // Should a style make the plain label measure otherwise, each spot label measures itself.
    bool m_measureAgrees = false;
    QFont m_font;
    QHash<QString, QSize> m_sizes;
};

} // namespace brindle
