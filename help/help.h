#pragma once

// help/: the help window, page setup and printing, and the about box. Help shows the fixed,
// styled help text in EditField1 under its own menu bar (MenuBar2); "Print Help" (printing.h)
// takes that field's styled text through the Help accessor and prints it page by page, with
// the page setup that "Page Setup" keeps in prefModule::PageSetup for the run. AboutBox shows
// the version and hands the author's mail address or the web site to ShowURL.

#include "framework/window.h"

class EditField;
class MenuItem;
class QPushButton;

class Help final : public Window
{
    Q_OBJECT

public:
    // The open help window, or a new one, built and styled, when none is open.
    static Help *instance();
    // The open help window, or nullptr.
    static Help *openInstance();

    EditField *EditField1 = nullptr;
    // Lies beyond the right edge of the content area: only the keyboard can reach it.
    QPushButton *PushButton1 = nullptr;

protected:
    void Event_Open() override;
    void showEvent(QShowEvent *event) override;

private:
    template <class T> friend T *windowInstance(QPointer<T> &slot);

    Help();
    void Layout();
    void CreateControls();
    void CreateControls0();
    void EditField1_Open();
    void PushButton1_Action();
    MenuItem *EditSelectAll() const;
    MenuItem *EditCopy() const;
    void AddMenuHandlers();
    bool EditCopy_Action();
    bool EditSelectAll_Action();

    bool m_shown = false;
};
