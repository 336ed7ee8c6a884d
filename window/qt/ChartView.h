// The finder chart in the comparison-star dialog: the very SVG of --chart, drawn by Qt SVG to fit
// the widget, with a star's id and magnitudes as a tooltip where the pointer rests on its dot.
#pragma once

#include <QByteArray>
#include <QSvgRenderer>
#include <QWidget>

#include "ChartDots.h"

class ChartView : public QWidget {
    Q_OBJECT

public:
    explicit ChartView(QWidget* parent = nullptr);

    // Draws the chart; an empty one clears it.
    void SetChart(const QByteArray& svg);
    // The title of the star at a point of the widget, as its tooltip shows it; empty for none.
    QString StarAt(const QPoint& point) const;
    // Where a point of the chart, in its own units, lies in the widget.
    QPointF ToWidget(double x, double y) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Where the chart is drawn in the widget: as large as fits, its shape kept, centred.
    QRectF Drawn() const;

    QSvgRenderer renderer;
    ChartDots dots;
};
