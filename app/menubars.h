#pragma once

#include "framework/menuitem.h"

// The main window's bar: File, Edit, Check for Update, Help. Built once, kept for the run.
class MenuBar1 final : public MenuBar
{
    Q_OBJECT

public:
    static MenuBar1 *instance();

private:
    MenuBar1();
    void Untitled0();
    void Untitled1();
    void Untitled2();
    void Untitled3();
};

// The help window's bar: File without Quit, and Edit. Built once, kept for the run.
class MenuBar2 final : public MenuBar
{
    Q_OBJECT

public:
    static MenuBar2 *instance();

private:
    MenuBar2();
    void Untitled0();
    void Untitled1();
};
