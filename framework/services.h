#pragma once

#include <QMessageBox>
#include <QString>

class QPrinter;

// What the program asks of the person at the screen, or shows outside its windows.
// The system implementation uses Qt's dialogs and the desktop; tests install their own.
class Services
{
public:
    struct MessageDialog
    {
        QString title;
        QString message;
        QString explanation;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString actionCaption; // empty: the platform's default caption
        bool cancelVisible = false;
        QString cancelCaption; // empty: the platform's default caption
        bool alternateVisible = false;
        QString alternateCaption;
    };
    enum class Choice { Action, Cancel, Alternate };

    virtual ~Services() = default;

    virtual void msgBox(const QString &text) = 0;
    virtual void beep() = 0;
    // True when a program took the address; false when none would, or none is there.
    virtual bool showURL(const QString &address) = 0;
    virtual Choice messageDialog(const MessageDialog &dialog) = 0;
    // True when the person confirmed; the printer then holds what they chose.
    virtual bool pageSetupDialog(QPrinter &printer) = 0;
    virtual bool printDialog(QPrinter &printer) = 0;

    static Services &current();
    // nullptr puts the system implementation back. The caller keeps ownership.
    static void install(Services *services);
};

// The modal notice, the system beep and the browser, as the program calls them. ShowURL beeps
// when no browser or mail program took the address.
void MsgBox(const QString &text);
void Beep();
void ShowURL(const QString &address);
