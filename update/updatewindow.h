#pragma once

// update/: the update check. "Check Now" shows selfTest (selftest.h) with the running version;
// its button shows updateWindow modally and waits there. The update window sends one GET for
// the manifest through its HTTPSocket hp and closes selfTest; the reply's body is read by a
// plain text search (manifest.h) and its version compared with the running one: the user is
// told the version is current, or askUpgrade offers the new one. A failure to connect is
// reported with its code. Closing the window drops the request.

#include "framework/httpreplyparser.h"
#include "framework/window.h"

class HTTPSocket;
class QLabel;
class QProgressBar;
class QPushButton;

class updateWindow final : public Window
{
    Q_OBJECT

public:
    // The open update window, or a new one, which starts a check as it opens.
    static updateWindow *instance();
    // The open update window, or nullptr.
    static updateWindow *openInstance();

    // Where the check fetches its manifest: the build's address, unless a test points it at
    // a server of its own.
    static QString manifestAddress();
    static void setManifestAddress(const QString &address);

    // When set, a current version closes the window without telling so. Nothing sets it.
    bool automaticCheck = false;

    QLabel *StaticText1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    HTTPSocket *hp = nullptr;
    QPushButton *PushButton1 = nullptr;

    void hp_PageReceived(const QString &address, int status, const InternetHeaders &headers,
                         const QByteArray &content);
    void hp_Error(int code);
    void PushButton1_Action();
    void askUpgrade(const QString &version, const QString &description,
                    const QString &downloadAddress, bool free);

protected:
    void Event_Open() override;
    void Event_Close() override;

private:
    template <class T> friend T *windowInstance(QPointer<T> &slot);

    updateWindow();
    void Layout();
    void CreateControls();
    void CreateControls0();
};
