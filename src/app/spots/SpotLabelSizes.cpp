#include "SpotLabelSizes.h"

#include "spots/SpotLabel.h"

namespace brindle {

SpotLabelSizes::SpotLabelSizes()
{
    m_measure.setAlignment(Qt::AlignCenter);
}

void SpotLabelSizes::place(SpotLabel& label, int x, int bottom)
{
    label.placeCentredAt(x, bottom, sizeOf(label));
}

QSize SpotLabelSizes::sizeOf(SpotLabel& label)
{
    if (label.font() != m_font || m_sizes.size() > MaxKept) {
        m_font = label.font();
        m_sizes.clear();
        m_measure.setFont(m_font);
        m_measure.setText(label.text());
        m_measureAgrees = m_measure.sizeHint() == label.sizeHint();
    }
    auto known = m_sizes.constFind(label.text());
    if (known != m_sizes.constEnd()) {
        return *known;
    }
    QSize size;
    if (m_measureAgrees) {
        m_measure.setText(label.text());
        size = m_measure.sizeHint();
    } else {
        size = label.sizeHint();
    }
    m_sizes.insert(label.text(), size);
    return size;
}

} // namespace brindle
