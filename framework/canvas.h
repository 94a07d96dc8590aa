#pragma once

#include <QImage>
#include <QWidget>

// A drawing area: its backdrop picture first, then whatever the paint signal draws over it.
class Canvas : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Canvas)

public:
    explicit Canvas(QWidget *parent = nullptr);

    // A null picture leaves the canvas without a backdrop.
    void setBackdrop(const QImage &picture);
    const QImage &backdrop() const { return m_backdrop; }
    // Exchanges the backdrop with picture without a repaint: for rendering the canvas over
    // another backdrop off screen, exchanged back before the screen is painted again.
    void swapBackdrop(QImage &picture) { m_backdrop.swap(picture); }

    // True repaints before returning; False only schedules the repaint.
    void refresh(bool immediately = true);

Q_SIGNALS:
    void paint(QPainter *g);
    void mouseEnter();
    void mouseExit();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QImage m_backdrop;
};
