#include "chooserlogic.h"

#include "mainwindowlogic.h"
#include "valuefilelogic.h"

ChooserLogic::ChooserLogic(MainWindowLogic &main)
    : m_main(main)
{}

void ChooserLogic::open()
{
    if (m_open)
        return;
    m_main.valueFiles().close();
    m_open = true;
}

void ChooserLogic::close()
{
    m_open = false;
}
