#include "reconnectline.h"

#include "boarddisplay.h"
#include "hintrequester.h"
#include "playablecards.h"

ReconnectLine::ReconnectLine(BoardDisplay& display, PlayableCards& playable, HintRequester& hints)
    : m_display(display), m_playable(playable), m_hints(hints)
{
}

void ReconnectLine::lost()
{
    m_reconnecting = true;
    m_display.showReconnecting();
    m_playable.setOffline(true);
    m_hints.setOffline(true);
}

void ReconnectLine::seated()
{
    if (!m_reconnecting)
        return;
    m_reconnecting = false;
    m_playable.setOffline(false);
    m_hints.setOffline(false);
    m_display.showTurnLine();
}
