#include "reconnectline.h"

#include "boarddisplay.h"
#include "hintrequester.h"
#include "playablecards.h"
#include "tableaccessibility.h"

ReconnectLine::ReconnectLine(BoardDisplay& display, PlayableCards& playable, HintRequester& hints,
                             TableAccessibility& access)
    : m_display(display), m_playable(playable), m_hints(hints), m_access(access)
{
}

void ReconnectLine::lost()
{
    m_reconnecting = true;
    m_display.showReconnecting();
    m_playable.setOffline(true);
    m_hints.setOffline(true);
    m_access.setOffline(true);
}

void ReconnectLine::seated()
{
    if (!m_reconnecting)
        return;
    m_reconnecting = false;
    m_playable.setOffline(false);
    m_hints.setOffline(false);
    m_display.showTurnLine();
    m_access.setOffline(false);
}
