#include "FormScroller.h"

#include <QScrollBar>
#include <QWidget>

#include <memory>

namespace {

constexpr int WheelLines = 5;
constexpr int WheelNotch = 120;
constexpr int VerticalPageLines = 10;
constexpr int HorizontalPageLines = 5;

} // namespace

CFormScroller::CFormScroller(QWidget& form, const QList<int>& sizes) : m_form(form)
{
    m_height = sizes.value(0);
    m_vertical = MakeBar(true, m_height);
    if (sizes.size() > 1) {
        m_width = sizes.at(1);
        m_horizontal = MakeBar(false, m_width);
    }
    PlaceBars();
}

QScrollBar* CFormScroller::MakeBar(bool vertical, int area)
{
    auto* bar = new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, &m_form);
    bar->setSingleStep(1);
    bar->setPageStep(vertical ? VerticalPageLines : HorizontalPageLines);
    UpdateRange(bar, area, vertical ? m_form.height() : m_form.width(), false);
    bar->setValue(0);
    // Each change of position moves the controls by the lines it passed.
    auto position = std::make_shared<int>(0);
    QObject::connect(bar, &QScrollBar::valueChanged, bar, [this, vertical, position](int value) {
        const int pixels = (*position - value) * m_nScrollStep;
        *position = value;
        if (vertical)
            m_form.scroll(0, pixels);
        else
            m_form.scroll(pixels, 0);
        PlaceBars();
    });
    bar->show();
    return bar;
}

void CFormScroller::UpdateRange(QScrollBar* bar, int area, int clientSize, bool onlyWhenLarger)
{
    const int page = clientSize / m_nScrollStep;
    const int last = qMax(0, area / m_nScrollStep - page + 1);
    if (onlyWhenLarger && last <= bar->value())
        return;
    bar->setRange(0, last);
    // A bar with nothing to scroll stays, disabled.
    bar->setEnabled(last > 0);
}

void CFormScroller::OnResize()
{
    UpdateRange(m_vertical, m_height, m_form.height(), true);
    if (m_horizontal)
        UpdateRange(m_horizontal, m_width, m_form.width(), true);
    PlaceBars();
}

void CFormScroller::OnWheel(int delta)
{
    const qint64 rest = qint64(m_wheelRest) + delta;
    m_wheelRest = int(rest % WheelNotch);
    if (rest > -WheelNotch && rest < WheelNotch)
        return;
    m_vertical->setValue(m_vertical->value() + (rest < 0 ? WheelLines : -WheelLines));
    m_form.update();
}

void CFormScroller::PlaceBars()
{
    const int thick = m_vertical->sizeHint().width();
    const int bottomGap = m_horizontal ? thick : 0;
    m_vertical->setGeometry(m_form.width() - thick, 0, thick, m_form.height() - bottomGap);
    m_vertical->raise();
    if (m_horizontal) {
        m_horizontal->setGeometry(0, m_form.height() - thick, m_form.width() - thick, thick);
        m_horizontal->raise();
    }
}
