#include "valuefilelogic.h"

#include "mainwindowlogic.h"
#include "chooserlogic.h"

ValueFileLogic::ValueFileLogic(MainWindowLogic &main)
    : m_main(main)
{}

void ValueFileLogic::open()
{
    if (m_open)
        return;
    m_main.chooser().close();
    m_open = true;
}

void ValueFileLogic::close()
{
    m_open = false;
}
