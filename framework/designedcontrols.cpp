#include "framework/designedcontrols.h"

#include <QLabel>
#include <QPushButton>

QLabel *staticText(QWidget *parent, const char *name, const Place &at, const QString &text,
                   Qt::Alignment align, bool bold)
{
    auto *label = place(new QLabel(text, parent), name, at);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(align);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

QPushButton *pushButton(QWidget *parent, const char *name, const Place &at, const QString &text)
{
    auto *button = place(new QPushButton(text, parent), name, at);
    QFont font = button->font();
    font.setBold(true);
    button->setFont(font);
    button->setAutoDefault(false);
    return button;
}
