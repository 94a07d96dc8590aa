#include "framework/services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QUrl>

namespace {

// A key held down from before a box came up (the key that brought it up, or that closed the
// box before it) repeats into it and would answer it unseen: only a fresh press answers.
class HeldKeyFilter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Space:
            return key->isAutoRepeat();
        default:
            return false;
        }
    }
};

// Runs box to its end, answered by fresh key presses only. Its buttons get the keys first.
void exec(QMessageBox &box)
{
    auto *filter = new HeldKeyFilter(&box);
    box.installEventFilter(filter);
    for (QAbstractButton *button : box.buttons())
        button->installEventFilter(filter);
    box.exec();
}

class SystemServices final : public Services
{
public:
    void msgBox(const QString &text) override
    {
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                        QMessageBox::Ok);
        exec(box);
    }

    void beep() override { QApplication::beep(); }

    bool showURL(const QString &address) override
    {
        return QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode));
    }

    Choice messageDialog(const MessageDialog &dialog) override
    {
        QMessageBox box(dialog.icon, dialog.title, dialog.message);
        box.setInformativeText(dialog.explanation);
        // The texts may come from outside (the update manifest): show them as written, never
        // as markup with links that the box would open.
        box.setTextFormat(Qt::PlainText);
        for (QLabel *label : box.findChildren<QLabel *>())
            label->setTextFormat(Qt::PlainText);
        QAbstractButton *action =
            dialog.actionCaption.isEmpty()
                ? box.addButton(QMessageBox::Ok)
                : box.addButton(dialog.actionCaption, QMessageBox::AcceptRole);
        QAbstractButton *cancel = nullptr;
        if (dialog.cancelVisible) {
            cancel = dialog.cancelCaption.isEmpty()
                         ? box.addButton(QMessageBox::Cancel)
                         : box.addButton(dialog.cancelCaption, QMessageBox::RejectRole);
        }
        QAbstractButton *alternate = nullptr;
        if (dialog.alternateVisible)
            alternate = box.addButton(dialog.alternateCaption, QMessageBox::ActionRole);
        box.setDefaultButton(qobject_cast<QPushButton *>(action));
        if (cancel)
            box.setEscapeButton(cancel);
        exec(box);
        if (alternate && box.clickedButton() == alternate)
            return Choice::Alternate;
        if (box.clickedButton() == action)
            return Choice::Action;
        return Choice::Cancel;
    }

    bool pageSetupDialog(QPrinter &printer) override
    {
        QPageSetupDialog dialog(&printer);
        return dialog.exec() == QDialog::Accepted;
    }

    bool printDialog(QPrinter &printer) override
    {
        QPrintDialog dialog(&printer);
        return dialog.exec() == QDialog::Accepted;
    }
};

SystemServices s_system;
Services *s_current = &s_system;

} // namespace

Services &Services::current()
{
    return *s_current;
}

void Services::install(Services *services)
{
    s_current = services ? services : &s_system;
}

void MsgBox(const QString &text)
{
    Services::current().msgBox(text);
}

void Beep()
{
    Services::current().beep();
}

void ShowURL(const QString &address)
{
    // Without a browser or mail program the request would otherwise pass unnoticed.
    if (!Services::current().showURL(address))
        Beep();
}
