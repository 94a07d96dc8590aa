#pragma once

#include <QColor>
#include <QWidget>

// A filled box with a one-pixel border whose top-left and bottom-right edges have their own
// colours, as a bevel would.
class Rectangle : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Rectangle)

public:
    explicit Rectangle(QWidget *parent = nullptr);

    void setFillColor(const QColor &color)
    {
        m_fill = color;
        update();
    }
    void setBorderWidth(int width)
    {
        m_borderWidth = width;
        update();
    }
    void setTopLeftColor(const QColor &color)
    {
        m_topLeft = color;
        update();
    }
    void setBottomRightColor(const QColor &color)
    {
        m_bottomRight = color;
        update();
    }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fill = Qt::white;
    QColor m_topLeft = Qt::black;
    QColor m_bottomRight = Qt::black;
    int m_borderWidth = 1;
};
