#pragma once

class MainWindowLogic;

// The value-file dialog without a toolkit.
class ValueFileLogic
{
public:
    explicit ValueFileLogic(MainWindowLogic &main);

    void open();
    void close();
    bool isOpen() const { return m_open; }

private:
    MainWindowLogic &m_main;
    bool m_open = false;
};
