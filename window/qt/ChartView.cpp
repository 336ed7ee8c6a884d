#include "ChartView.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(320, 380);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMouseTracking(true);
}

void ChartView::SetChart(const QByteArray& svg) {
    renderer.load(svg);
    dots = ReadChartDots(std::string_view(svg.constData(), static_cast<std::size_t>(svg.size())));
    update();
}

QRectF ChartView::Drawn() const {
    if (dots.width <= 0 || dots.height <= 0) return {};
    const double scale = std::min(width() / dots.width, height() / dots.height);
    const QSizeF size(dots.width * scale, dots.height * scale);
    return {QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size};
}

QPointF ChartView::ToWidget(double x, double y) const {
    const QRectF drawn = Drawn();
    if (drawn.isEmpty()) return {};
    const double scale = drawn.width() / dots.width;
    return {drawn.left() + x * scale, drawn.top() + y * scale};
}

QString ChartView::StarAt(const QPoint& point) const {
    const QRectF drawn = Drawn();
    if (drawn.isEmpty()) return {};
    const double scale = drawn.width() / dots.width;
    const std::optional<std::string> title =
        DotAt(dots, (point.x() - drawn.left()) / scale, (point.y() - drawn.top()) / scale);
    return title ? QString::fromStdString(*title) : QString();
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (renderer.isValid()) renderer.render(&painter, Drawn());
}

bool ChartView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString star = StarAt(help->pos());
        if (star.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), star, this);
        }
        return true;
    }
    return QWidget::event(event);
}
