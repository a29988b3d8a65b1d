#pragma once

class MainWindowLogic;

// The description chooser without a toolkit.
class ChooserLogic
{
public:
    explicit ChooserLogic(MainWindowLogic &main);

    void open();
    void close();
    bool isOpen() const { return m_open; }

private:
    MainWindowLogic &m_main;
    bool m_open = false;
};
